// Pocket milling: the compile pipeline on a project at the pocket table's capacity: 64
// free-contour pockets of 100 vertices each (a wavy outline of lines), at quality 3, so that
// every pocket is rough-milled in depth steps, rough-finished and finished at its walls.
#include <cmath>
#include <string>

#include "base/text.h"
#include "bench_support.h"

using namespace korvel;

namespace {

constexpr int kVertices = 100;

// A pocket round (cx, cy): 100 vertices on a circle of radius 18 with five waves of 2 mm.
std::string WavyPocket(int id, double cx, double cy) {
    auto point = [&](int i, double& x, double& y) {
        double a = 2 * M_PI * i / kVertices;
        double r = 18 + 2 * std::sin(5 * a);
        x = cx + r * std::cos(a);
        y = cy + r * std::sin(a);
    };
    double x0 = 0, y0 = 0;
    point(0, x0, y0);
    std::string text = Sprintf("POCKET %d 1 %.4f %.4f 5 0 0 0 3 0 0\n", id, x0, y0);
    for (int i = 1; i < kVertices; ++i) {
        double x = 0, y = 0;
        point(i, x, y);
        text += Sprintf("LINETO %.4f %.4f\n", x, y);
    }
    return text + Sprintf("LINETO %.4f %.4f\nEND\n", x0, y0);
}

std::string CapacityProject() {
    std::string text = "VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\n"
                       "CENTERDRILLING OFF\nATTTOOL 1 END_MILL_R10 0 0 0\n"
                       "ATTTOOL 2 END_MILL_F6 0 0 0\n"
                       "BLOCK 1 400 400 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";
    for (int k = 0; k < 64; ++k)
        text += WavyPocket(2 + k, 25 + k % 8 * 50, 25 + k / 8 * 50);
    return text + "ENDOFFILE\n";
}

void MakeProject(benchmark::State& state, const std::string& name, const std::string& text) {
    std::string program = bench::MakeProject(state, name, text);
    if (!program.empty())
        state.counters["program_lines"] = static_cast<double>(bench::CountLines(program));
}

void BM_MakePocketsAtCapacity(benchmark::State& state) {
    MakeProject(state, "pockets", CapacityProject());
}
BENCHMARK(BM_MakePocketsAtCapacity)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
