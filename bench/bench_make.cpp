// Making G-code: korvelc make on every example (the whole process, start-up included), and the
// compile pipeline on a large drilled project: 700 drills, 100 tapped threads and 100 bores,
// whose pre-drills bring the drill table near its 1,024 slots: tool choice, pre-drills,
// coincident drills, spots, drilling, bores, chamfers, tapping and writing are measured.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "cam/compile.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/startup.h"

using namespace korvel;

namespace {

std::string LargeDrilledProject() {
    std::string text = "VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING ON\nCENTERDRILLING ON 2\n"
                       "PECKDRILL ON 100\nBORING ENDMILL\n"
                       "DEFTOOL END_MILL_R16_PD8 5 16 8 60 4 0\n"
                       "DEFTOOLMAT END_MILL_R16_PD8 11 2000 500 0 150 5 0\n";
    const char* tools[] = {
        "CENTER_DRILL_3.15", "DRILL_5",  "DRILL_6.8",        "DRILL_8",
        "DRILL_8.5",         "DRILL_10", "END_MILL_R16_PD8", "COUNTERSINK_90_D12.4"};
    for (int i = 0; i < 8; ++i)
        text += "ATTTOOL " + std::to_string(i + 1) + " " + tools[i] + " 0 0 0\n";
    text += "ATTTOOL 9 TAP_M10 0 0 0\n";
    text += "BLOCK 1 1200 1000 40 0 0 -40 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";
    int id = 2;
    const char* dias[] = {"5", "6.8", "10"};
    for (int i = 0; i < 700; ++i, ++id)
        text += "DRILL " + std::to_string(id) + " 1 " + dias[i % 3] + " 15 " +
                std::to_string(10 + i % 35 * 20) + " " + std::to_string(10 + i / 35 * 20) +
                (i % 4 == 0 ? " 0.5" : " 0") + " 0 0 1 -1\n";
    for (int i = 0; i < 100; ++i, ++id)
        text += "THREAD " + std::to_string(id) + " 1 10 1.5 12 " +
                std::to_string(720 + i % 10 * 25) + " " + std::to_string(20 + i / 10 * 25) +
                " 0.5 0 0\n";
    for (int i = 0; i < 100; ++i, ++id)
        text += "BORE " + std::to_string(id) + " 1 30 10 " + std::to_string(720 + i % 10 * 45) +
                " " + std::to_string(300 + i / 10 * 45) + " 0 0 0 0 0\n";
    return text + "ENDOFFILE\n";
}

void BM_MakeLargeDrilledProject(benchmark::State& state) {
    std::string program = bench::MakeProject(state, "large", LargeDrilledProject());
    // The holes one run drills: the user's, and the pre-drills of threads and bores.
    if (!program.empty())
        state.counters["holes_drilled"] = static_cast<double>(bench::CountLines(program, " G83 "));
}
BENCHMARK(BM_MakeLargeDrilledProject)->Unit(benchmark::kMillisecond);

// korvelc make, from spawn to exit, on each example.
void BM_KorvelcMake(benchmark::State& state, const std::string& example) {
    std::string home = std::string(KORVELC_PATH);
    home = home.substr(0, home.rfind('/'));
    std::string output = bench::Scratch() + "/example.cnc";
    const char* argv[] = {KORVELC_PATH,    "--home", home.c_str(),   "make",
                          example.c_str(), "-o",     output.c_str(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    int status = 0;
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, argv[0], &quiet, nullptr, const_cast<char**>(argv), environ) != 0 ||
            waitpid(pid, &status, 0) < 0) {
            state.SkipWithError("cannot run korvelc");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
    // 0: a program was written; 1: the example needs machining of a later version.
    state.counters["exit_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RegisterExamples() {
    std::string dir = std::string(KORVEL_SOURCE_DIR) + "/examples";
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".kvp")
                benchmark::RegisterBenchmark(("BM_KorvelcMake/" + name).c_str(), BM_KorvelcMake,
                                             dir + "/" + name)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
        }
        closedir(d);
    }
    return 0;
}
const int g_registered = RegisterExamples();

} // namespace

BENCHMARK_MAIN();
