// Opening and saving a large project, against reading and writing the same bytes with plain
// buffered I/O; and the program's start-up with the shipped data.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "bench_support.h"
#include "model/heights.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/startup.h"

using namespace korvel;

namespace {

std::string Scratch() {
    static std::string dir = [] {
        char pattern[] = "/tmp/korvel-bench-XXXXXX";
        const char* d = mkdtemp(pattern);
        return std::string(d ? d : "/tmp");
    }();
    return dir;
}

// A project with every feature table full (the objects the model can hold without drawing
// elements) and a milling-parameter line for each of them.
std::string LargeProject() {
    std::string text = "$66 2.05\n$127 MM\nBLOCK 1 2000 2000 40 0 0 -40 0 0 -1\n";
    int id = 2;
    auto add = [&](const std::string& line) { text += line + "\n"; };
    for (int i = 0; i < 32; ++i, ++id)
        add("RBULGE " + std::to_string(id) + " 1 40 30 5 " + std::to_string(i * 60) +
            " 10 3 0.5 0 0 -1 0 0");
    for (int i = 0; i < 64; ++i, ++id)
        add("RPOCKET " + std::to_string(id) + " 1 30 20 4 " + std::to_string(i * 30) +
            " 100 5 0 0 0 -1 0 0");
    bench::AddHoleTables(text, id);
    for (int owner = 2; owner < id; ++owner)
        add("MPARAM_D " + std::to_string(owner) + " 900 0 0 90 0");
    text += "$128\n";
    return text;
}

std::string Write(const std::string& name, const std::string& text) {
    std::string path = Scratch() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

// The file as the program writes it.
const std::string& SavedProjectPath() {
    static std::string path = [] {
        RecordMessages(true);
        InitAllTables();
        OpenProject(Write("source.kvp", LargeProject()));
        std::string saved = Scratch() + "/large.kvp";
        SaveProject(saved);
        return saved;
    }();
    return path;
}

void BM_OpenProject(benchmark::State& state) {
    const std::string& path = SavedProjectPath();
    int objects = 0;
    InitAllTables();
    for (auto _ : state) {
        OpenProject(path); // clears the project itself, as opening in the program does
        RecalcZ();
        int id;
        objects = 0;
        for (int ok = GetFirstRegisteredObject(id); ok; ok = GetNextRegisteredObject(id))
            ++objects;
    }
    state.counters["objects"] = objects;
    TakeRecordedMessages();
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
    InitAllTables();
    OpenProject(SavedProjectPath());
    std::string out = Scratch() + "/out.kvp";
    for (auto _ : state)
        SaveProject(out);
    TakeRecordedMessages();
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_PlainRead(benchmark::State& state) {
    const std::string& path = SavedProjectPath();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        char line[256];
        std::size_t bytes = 0;
        while (std::fgets(line, sizeof line, f))
            bytes += std::string(line).size();
        std::fclose(f);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_PlainWrite(benchmark::State& state) {
    std::string text;
    {
        std::FILE* f = std::fopen(SavedProjectPath().c_str(), "rb");
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    std::string out = Scratch() + "/plain.kvp";
    for (auto _ : state) {
        // The same safety as the program's save: a temporary file, flushed, then renamed.
        WriteFileAtomically(out, text);
    }
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& state) {
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    RecordMessages(true);
    for (auto _ : state) {
        StartupResult r = StartUp();
        benchmark::DoNotOptimize(r);
    }
    TakeRecordedMessages();
    SetProgramDirectory("");
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// The whole korvelc process: loading, start-up with the shipped data, checking the smallest
// project and exiting.
void BM_KorvelcProcess(benchmark::State& state) {
    std::string project = Write("tiny.kvp", "$66 2.05\n$127 MM\n");
    std::string home = std::string(KORVEL_SOURCE_DIR) + "/data";
    const char* argv[] = {KORVELC_PATH, "--home", home.c_str(), "check", project.c_str(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        int status = -1;
        if (posix_spawn(&pid, argv[0], &quiet, nullptr, const_cast<char**>(argv), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("korvelc check failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
}
BENCHMARK(BM_KorvelcProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
