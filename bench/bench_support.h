// What the compile benchmarks share: a scratch folder of their own, and the compile of a
// project written from text, timed once per iteration.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cam/compile.h"
#include "model/heights.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/startup.h"

namespace korvel::bench {

inline std::string Scratch() {
    static std::string dir = [] {
        char pattern[] = "/tmp/korvel-bench-XXXXXX";
        const char* d = mkdtemp(pattern);
        return std::string(d ? d : "/tmp");
    }();
    return dir;
}

inline int Save(const std::string& path) { return SaveProject(path); }

// Starts up with the shipped data, opens the project `text` and compiles it in every
// iteration into Scratch()/name.cnc. The program's path; "" after a failure, which the state
// reports.
inline std::string MakeProject(benchmark::State& state, const std::string& name,
                               const std::string& text) {
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    if (StartUp() != StartupResult::kOk) {
        state.SkipWithError("start-up failed");
        return "";
    }
    std::string project = Scratch() + "/" + name + ".kvp";
    if (std::FILE* f = std::fopen(project.c_str(), "w")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    LoadCfgValues();
    OpenProject(project);
    RecalcZ();
    std::string program = Scratch() + "/" + name + ".cnc";
    SetGCodeOutputFile(program);
    RecordMessages(true);
    for (auto _ : state) {
        SetCompiled(false);
        if (!MakeGCode(Save)) {
            std::vector<ShownMessage> shown = TakeRecordedMessages();
            state.SkipWithError(shown.empty() ? "refused" : shown.back().text.c_str());
            RecordMessages(false);
            return "";
        }
        TakeRecordedMessages();
    }
    RecordMessages(false);
    return program;
}

// The lines of a file that hold `part` (every line for "").
inline long CountLines(const std::string& path, const std::string& part = "") {
    std::ifstream in(path);
    long n = 0;
    for (std::string line; std::getline(in, line);)
        n += line.find(part) != std::string::npos;
    return n;
}

} // namespace korvel::bench
