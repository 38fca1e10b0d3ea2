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

// The hole, text and fixture tables full, on the block of a large project, from ID `id` on:
// 1,024 drills, 128 threads, bores, long holes and engraving texts each, 16 fixtures.
inline void AddHoleTables(std::string& text, int& id) {
    auto add = [&](const std::string& line) { text += line + "\n"; };
    for (int i = 0; i < 1024; ++i, ++id)
        add("DRILL " + std::to_string(id) + " 1 8.5 20 " + std::to_string(i % 100 * 15) + " " +
            std::to_string(200 + i / 100 * 15) + " 0.5 0 0 1 -1");
    for (int i = 0; i < 128; ++i) {
        std::string x = std::to_string(i * 12), y = std::to_string(i % 7 * 13);
        add("THREAD " + std::to_string(id++) + " 1 10 1.5 15 " + x + " 500 0.5 0 0");
        add("BORE " + std::to_string(id++) + " 1 30 10 " + x + " 600 1 0 0 -1 0");
        add("LONGHOLE " + std::to_string(id++) + " 1 10 5 20 0 " + x + " 700");
        add("ENG_TEXT " + std::to_string(id++) + " 1 \"PART " + y + "\" " + x +
            " 800 0 5 0.5 0.2 1 1 0");
    }
    for (int i = 0; i < 16; ++i, ++id)
        add("FIXTURE " + std::to_string(id) + " 40 100 -10 " + std::to_string(i * 50) + " -120");
}

} // namespace korvel::bench
