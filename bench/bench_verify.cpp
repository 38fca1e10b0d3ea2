// Verifying a long program: 1,000,000 G01 segments clearing a 200 x 200 mm block in five
// layers with a 10 mm end mill, on a grid of 0.1 mm (4,000,000 cells), as a whole verification
// and as the simulation alone (with the rows along X, and along Y); and a program of arcs,
// drilling cycles and tool changes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "base/text.h"
#include "cam/sim_program.h"
#include "cam/verify.h"
#include "model/heights.h"
#include "platform/platform.h"
#include "script/interpreter.h"
#include "tooldb/database.h"
#include "ui/startup.h"

using namespace korvel;

namespace {

constexpr int kSegments = 1000000;
constexpr int kLayers = 5;
constexpr int kRows = 41; // 5 mm apart, over 200 mm

// The block 200 x 200 x 30 (top at Z 0) with a 10 mm end mill and an 8 mm drill attached.
void MakeProject() {
    InitAllTables();
    RecordMessages(true);
    for (const char* line : {"COORDINATES G54 -600 -450 -300", "WORKSPACE -850 -500 -500 MM",
                             "BLOCK 1 200 200 30 0 0 -30 0 0 -1", "TOPFACE 5 0",
                             "DEFTOOL END_MILL_10 5 10 0 40 4 0", "DEFTOOL DRILL_8 2 8 0 90 2 0",
                             "ATTTOOL 1 END_MILL_10 0 0 0", "ATTTOOL 2 DRILL_8 0 0 0"}) {
        std::string l = line;
        IntrepretLine(l, nullptr, 0);
    }
    RecalcZ();
}

// Rows along X (or Y) from outside the block to outside it, each cut into equal short
// segments, one layer 1 mm under the other, 5 mm down in all: the top face milled off.
std::string MakeRasterProgram(bool along_y) {
    std::string p = "%\nO1\nG54 G90 G98 G21\nT1 M06\nS3000 M03\nG43 H1 M08\n";
    const int per_row = kSegments / (kLayers * kRows);
    const double x0 = -6, x1 = 206;
    const char* step = along_y ? "G01 Y%.4f F1200.\n" : "G01 X%.4f F1200.\n";
    for (int layer = 1; layer <= kLayers; ++layer)
        for (int row = 0; row < kRows; ++row) {
            double y = row * 5.0;
            p += Sprintf("G00 Z25.\nG00 X%.3f Y%.3f\nG01 Z%.3f F300.\n", along_y ? y : x0,
                         along_y ? x0 : y, -1.0 * layer);
            for (int k = 1; k <= per_row; ++k)
                p += Sprintf(step, x0 + (x1 - x0) * k / per_row);
        }
    return p + "G00 Z25.\nM30\n%\n";
}

const std::string& RasterProgram(bool along_y = false) {
    static const std::string along_x_program = MakeRasterProgram(false);
    static const std::string along_y_program = MakeRasterProgram(true);
    return along_y ? along_y_program : along_x_program;
}

void BM_VerifyMillionSegments(benchmark::State& state) {
    MakeProject();
    const std::string& program = RasterProgram();
    VerifyOptions options; // the default grid: 0.1 mm
    VerifyResult result;
    for (auto _ : state) {
        VerifyProgram(program, options, result);
        benchmark::DoNotOptimize(result.clean);
    }
    state.counters["moves"] = static_cast<double>(result.run.moves);
    state.counters["cells"] = static_cast<double>(result.frame.Cells());
    state.counters["clean"] = result.clean;
}
BENCHMARK(BM_VerifyMillionSegments)->Unit(benchmark::kMillisecond)->Iterations(3);

// The simulation alone; the argument 1 takes the program whose rows run along Y.
void BM_SimulateMillionSegments(benchmark::State& state) {
    const std::string& program = RasterProgram(state.range(0) == 1);
    SimSetup setup;
    setup.home_z = 25;
    setup.tools[1] = MakeSimTool(kEndMillRough, 10, 0, 40, 0);
    setup.tools[1].place = 1;
    setup.attached[1] = true;
    GridFrame frame{0, 0, 0.1, 2000, 2000};
    SimStock stock;
    SimRun run;
    for (auto _ : state) {
        stock.Init(frame, 0, -30);
        SimulateProgram(program, setup, stock, run);
        benchmark::DoNotOptimize(stock.Heights().data());
    }
    state.counters["moves"] = static_cast<double>(run.moves);
}
BENCHMARK(BM_SimulateMillionSegments)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Arcs of every size, helices, drilling cycles and tool changes: 13,500 lines, 5,000 helical
// turns.
void BM_SimulateArcsAndCycles(benchmark::State& state) {
    std::string p = "%\nG54 G90 G98 G21\n";
    for (int n = 0; n < 500; ++n) {
        double cx = 10 + (n * 37) % 180, cy = 10 + (n * 53) % 180, r = 2 + n % 8;
        p += "T1 M06\nS3000 M03\nG43 H1\n";
        p += Sprintf("G00 X%.3f Y%.3f\nG00 Z2.\nG01 Z0. F200.\n", cx - r, cy);
        for (int k = 1; k <= 10; ++k)
            p += Sprintf("G02 X%.3f Y%.3f I%.3f J0. Z%.3f F800.\n", cx - r, cy, r, -0.5 * k);
        p += Sprintf("G03 X%.3f Y%.3f R%.3f\nG00 Z25.\n", cx + r, cy, r);
        p += "T2 M06\nS1500 M03\nG43 H2\n";
        for (int k = 0; k < 5; ++k)
            p += Sprintf("G81 X%.3f Y%.3f R2. Z-12. F100.\n", cx + k, cy + k);
        p += "G80\n";
    }
    SimSetup setup;
    setup.home_z = 25;
    setup.tools[1] = MakeSimTool(kEndMillRough, 10, 0, 40, 0);
    setup.tools[2] = MakeSimTool(kDrillTool, 8, 0, 90, 0);
    for (int t : {1, 2}) {
        setup.tools[static_cast<std::size_t>(t)].place = t;
        setup.attached[static_cast<std::size_t>(t)] = true;
    }
    setup.arc_error = 0.025;
    GridFrame frame{0, 0, 0.1, 2000, 2000};
    SimStock stock;
    SimRun run;
    for (auto _ : state) {
        stock.Init(frame, 0, -30);
        SimulateProgram(p, setup, stock, run);
    }
    state.counters["lines"] = static_cast<double>(run.lines);
    state.counters["moves"] = static_cast<double>(run.moves);
}
BENCHMARK(BM_SimulateArcsAndCycles)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
