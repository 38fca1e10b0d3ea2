// Making G-code: korvelc make on every example (the whole process, start-up included), and the
// compile pipeline on a large drilled project: 700 drills, 100 tapped threads and 100 bores,
// whose pre-drills bring the drill table near its 1,024 slots. Bores themselves are cut by a
// generator of a later version; here a trivial one stands in, so that everything up to it (tool
// choice, pre-drills, coincident drills, spots, drilling, chamfers, tapping, writing) is
// measured.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "cam/compile.h"
#include "cam/generators.h"
#include "model/bore.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/project_state.h"
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

int BoreMilled(int index) { return DeclareObjectProcessed(Bore_id(index)); }
int Nothing() { return 1; }

int Save(const std::string& path) { return SaveProject(path); }

void BM_MakeLargeDrilledProject(benchmark::State& state) {
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    if (StartUp() != StartupResult::kOk) {
        state.SkipWithError("start-up failed");
        return;
    }
    PhaseGenerators g = Generators();
    g.GThisBore = g.GThisBore_NEMR = BoreMilled;
    g.GFineAllBores = g.GChamferAllBores = Nothing;
    InstallGenerators(g);
    std::string project = Scratch() + "/large.kvp";
    if (std::FILE* f = std::fopen(project.c_str(), "w")) {
        std::string text = LargeDrilledProject();
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    LoadCfgValues();
    OpenProject(project);
    RecalcZ();
    SetGCodeOutputFile(Scratch() + "/large.cnc");
    RecordMessages(true);
    int drills = 0;
    for (auto _ : state) {
        SetCompiled(false);
        if (!MakeGCode(Save)) {
            std::vector<ShownMessage> shown = TakeRecordedMessages();
            state.SkipWithError(shown.empty() ? "refused" : shown.back().text.c_str());
            break;
        }
        TakeRecordedMessages();
    }
    // The holes one run drills: the user's, and the pre-drills of threads and bores.
    if (std::FILE* f = std::fopen((Scratch() + "/large.cnc").c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            drills += std::string(line).find(" G83 ") != std::string::npos;
        std::fclose(f);
    }
    state.counters["holes_drilled"] = drills;
    RecordMessages(false);
}
BENCHMARK(BM_MakeLargeDrilledProject)->Unit(benchmark::kMillisecond);

// korvelc make, from spawn to exit, on each example.
void BM_KorvelcMake(benchmark::State& state, const std::string& example) {
    std::string home = std::string(KORVELC_PATH);
    home = home.substr(0, home.rfind('/'));
    std::string output = Scratch() + "/example.cnc";
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
