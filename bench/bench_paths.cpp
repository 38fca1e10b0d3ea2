// Tool paths for a full project: the contour path of each of 32 bulges in 4 levels and the
// wall contour and scan lines of each of 64 pockets of 100 vertices, with their loops cut; and
// the area paths of the four levels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "base/text.h"
#include "model/bulge.h"
#include "model/heights.h"
#include "model/pocket.h"
#include "paths/contour_path.h"
#include "paths/level_path.h"
#include "paths/pocket_path.h"
#include "platform/platform.h"
#include "script/interpreter.h"
#include "ui/startup.h"

using namespace korvel;

namespace {

constexpr double kPiD = 3.14159265358979323846;

void Line(const std::string& text) {
    std::string line = text;
    IntrepretLine(line, nullptr, 0);
}

// A pocket of 100 vertices round (cx, cy): a five-petalled outline, a free-form curve as a
// drawing would bring it, with its waists concave and every tenth edge an arc.
void PetalPocket(int id, double cx, double cy) {
    auto at = [&](int i) {
        double a = 2 * kPiD * i / 100, r = 22 + 4 * std::cos(5 * a);
        return std::make_pair(cx + r * std::cos(a), cy + r * std::sin(a));
    };
    auto [x0, y0] = at(0);
    Line(Sprintf("POCKET %d 1 %.6f %.6f 5 0 0 0 -1 0 0", id, x0, y0));
    for (int i = 1; i <= 100; ++i) {
        auto [x, y] = at(i % 100);
        if (i % 10 == 0)
            Line(Sprintf("CWTO %.6f %.6f 10", x, y));
        else
            Line(Sprintf("LINETO %.6f %.6f", x, y));
    }
    Line("END");
}

// 8 stacks of 4 bulges, each standing on the one below: levels 0 to 3.
void BulgeStacks(int& id) {
    for (int s = 0; s < 8; ++s) {
        double x = 560 + (s % 4) * 110, y = 60 + (s / 4) * 300;
        int parent = 1;
        for (int level = 0; level < 4; ++level, ++id) {
            double size = 90 - 20 * level, o = 10 * level;
            if (level % 2 == 0)
                Line(Sprintf("RBULGE %d %d %g %g 5 %g %g 4 0 0 0 -1 0 0", id, parent, size,
                             size * 2, x + o, y + o));
            else
                Line(Sprintf("POLYGON %d %d 24 %g 5 %g %g 0 0 0 -1 0 0", id, parent, size / 2,
                             x + o + size / 2, y + o + size));
            parent = id;
        }
    }
}

void MakeProject() {
    InitAllTables();
    RecordMessages(true);
    Line("BLOCK 1 1000 700 60 0 0 -60 0 0 -1");
    int id = 2;
    for (int k = 0; k < 64; ++k, ++id)
        PetalPocket(id, 35 + (k % 8) * 60, 35 + (k / 8) * 60);
    BulgeStacks(id);
    RecalcZ();
}

void BM_PathsOfAFullProject(benchmark::State& state) {
    MakeProject();
    int made = 0;
    for (auto _ : state) {
        made = 0;
        for (int b = 0; b < kMaxBulges; ++b)
            made += Bulge_valid(b) && MakeBulgePath(0, b, 5);
        for (int k = 0; k < kMaxPockets; ++k)
            made += Pocket_valid(k) && MakePocketPathsX(k, 3, 0.95);
    }
    if (made != 96)
        state.SkipWithError("not every path was made");
    state.counters["paths"] = made;
}
BENCHMARK(BM_PathsOfAFullProject)->Unit(benchmark::kMillisecond);

// The area paths of the same project's four bulge levels, scan lines across the whole block.
void BM_LevelPathsOfAFullProject(benchmark::State& state) {
    MakeProject();
    int made = 0;
    for (auto _ : state) {
        made = 0;
        for (int level = 0; level < 4; ++level)
            made += MakeLevelPathX(level, 5, 0.95);
    }
    if (made != 32)
        state.SkipWithError("not every contour was made");
    state.counters["contours"] = made;
}
BENCHMARK(BM_LevelPathsOfAFullProject)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
