// Level milling: the compile pipeline on a project at the bulge table's capacity (32 bulges, in
// 4 levels: 8 stepped towers of a rectangle, a rounded rectangle, a cylinder and a polygon) at
// quality 5 with chamfers, so that every pass runs: rough milling, rough finishing, walls and
// floors finished; and on a small one-level example (a rectangular and a cylindrical boss).
#include <string>

#include "base/text.h"
#include "bench_support.h"

using namespace korvel;

namespace {

const char* const kTools = "ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_R6 0 0 0\n"
                           "ATTTOOL 3 END_MILL_F6 0 0 0\nATTTOOL 4 COUNTERSINK_90_D12.4 0 0 0\n";

std::string CapacityProject() {
    std::string text = std::string("VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\n"
                                   "CENTERDRILLING OFF\nQUALITY 5\n") +
                       kTools + "BLOCK 1 400 200 40 0 0 -40 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";
    int id = 2;
    for (int t = 0; t < 8; ++t) {
        double x = 20 + t % 4 * 95, y = 20 + t / 4 * 90;
        int base = id;
        text += Sprintf("RBULGE %d 1 70 60 5 %g %g 0 0.5 0 0 -1 0 0\n", id++, x, y);
        int second = id;
        text +=
            Sprintf("RBULGE %d %d 50 40 5 %g %g 6 0.5 0 0 -1 0 1\n", id++, base, x + 10, y + 10);
        int third = id;
        text += Sprintf("CBULGE %d %d 30 5 %g %g 0.5 0 0 -1 0 2\n", id++, second, x + 35, y + 30);
        text += Sprintf("POLYGON %d %d 6 8 5 %g %g 0.5 0 0 -1 0 3\n", id++, third, x + 35, y + 30);
    }
    return text + "ENDOFFILE\n";
}

std::string ExampleProject() {
    return std::string("VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\n"
                       "CENTERDRILLING OFF\n") +
           kTools +
           "BLOCK 1 60 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
           "RBULGE 2 1 16 12 5 8 14 0 0 0 0 2 0 0\nCBULGE 3 1 12 5 42 20 0 0 0 2 0 0\nENDOFFILE\n";
}

void MakeProject(benchmark::State& state, const std::string& name, const std::string& text) {
    std::string program = bench::MakeProject(state, name, text);
    if (!program.empty())
        state.counters["program_lines"] = static_cast<double>(bench::CountLines(program));
}

void BM_MakeLevelsAtCapacity(benchmark::State& state) {
    MakeProject(state, "capacity", CapacityProject());
}
BENCHMARK(BM_MakeLevelsAtCapacity)->Unit(benchmark::kMillisecond);

void BM_MakeLevelExample(benchmark::State& state) {
    MakeProject(state, "example", ExampleProject());
}
BENCHMARK(BM_MakeLevelExample)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
