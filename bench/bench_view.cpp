// Drawing the whole view of the largest project the model holds onto a recording canvas, in the
// top and the isometric view: a redraw must fit in one frame. The project: every feature table
// full, and the rest of the object IDs taken by engraving and drawing elements (lines, quarter
// arcs and circles in turn; the drawing elements in 64 groups).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "bench_support.h"
#include "model/cla.h"
#include "model/heights.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/canvas.h"
#include "ui/startup.h"
#include "ui/view.h"
#include "ui/view_draw.h"

using namespace korvel;

namespace {

// Counts what it is given: the drawing's own cost without keeping the lines.
class CountingCanvas : public Canvas {
public:
    void SetPen(const Pen&) override { ++ops; }
    void MoveTo(double, double) override { ++ops; }
    void LineTo(double, double) override { ++ops; }
    void ArcTo(double, double, double, double, bool) override { ++ops; }
    std::size_t ops = 0;
};

// Every feature table full: bulges and pockets with the most vertices a contour can have.
// Bulges stand 60 apart, pockets 30 apart (their polygons are 24 across).
std::string LargeProject() {
    std::string text = "$66 2.05\n$127 MM\nBLOCK 1 2000 2000 40 0 0 -40 0 0 -1\n";
    int id = 2;
    auto add = [&](const std::string& line) { text += line + "\n"; };
    // A polygon of as many vertices as a contour takes, closed by its last line.
    auto contour = [&](const char* kind, double x0, double y0) {
        constexpr double kR = 12;
        constexpr int kLines = 127;
        add(std::string(kind) + " " + std::to_string(id++) + " 1 " + std::to_string(x0 + kR) + " " +
            std::to_string(y0) + " 5 0 0 0 -1 0 0");
        for (int k = 1; k <= kLines; ++k) {
            double a = 2 * 3.14159265358979323846 * k / kLines;
            add("LINETO " + std::to_string(x0 + kR * std::cos(a)) + " " +
                std::to_string(y0 + kR * std::sin(a)));
        }
        add("END");
    };
    for (int i = 0; i < 32; ++i)
        contour("BULGE", i * 60, 20);
    for (int i = 0; i < 64; ++i)
        contour("POCKET", i * 30, 100);
    bench::AddHoleTables(text, id);
    // Elements on a 16 mm grid above the holes, engraving and drawing ones in turn.
    for (int i = 0; id <= kMaxObjectId; ++i, ++id) {
        double x = i % 122 * 16, y = 900 + i / 122 * 16;
        auto at = [](double v) { return std::to_string(v); };
        std::string geometry;
        switch (i / 2 % 3) {
        case 0: // a line
            geometry = at(x) + " " + at(y) + " " + at(x + 12) + " " + at(y + 8);
            break;
        case 1: // a counter-clockwise quarter about (x, y)
            geometry = at(x + 12) + " " + at(y) + " " + at(x) + " " + at(y + 12) + " 12";
            break;
        default: // a circle
            geometry = at(x + 6) + " " + at(y + 6) + " 5";
            break;
        }
        if (i % 2 == 0)
            add("ENG_CLA " + std::to_string(id) + " 1 " + geometry + " 0.5 0.2");
        else
            add("INFO_CLA " + std::to_string(id) + " -1 " + geometry + " L" +
                std::to_string(i / 2 % 64));
    }
    text += "$128\n";
    return text;
}

std::size_t Ops(const RecordingCanvas& canvas) { return canvas.size(); }
std::size_t Ops(const CountingCanvas& canvas) { return canvas.ops; }

bool LoadLargeProject() {
    static bool loaded = [] {
        InitAllTables();
        char pattern[] = "/tmp/korvel-bench-view-XXXXXX.kvp";
        int fd = mkstemps(pattern, 4);
        if (fd < 0)
            return false;
        std::string text = LargeProject();
        bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        close(fd);
        ok = ok && OpenProject(pattern);
        std::remove(pattern);
        RecalcZ();
        MutableSettings().view_bits = 127;
        // Every line was taken: all IDs are in use, and the elements fill the rest.
        int objects = 0;
        for (int id : RegisteredObjects())
            objects += id > 0;
        int elements = 0;
        for (int i = 0; i < kMaxCLA; ++i)
            elements += CLA_valid(i);
        std::fprintf(stderr, "project: %d objects, %d of them elements\n", objects, elements);
        return ok && objects == kMaxObjectId;
    }();
    return loaded;
}

template <class Surface> void DrawAll(benchmark::State& state, int mode) {
    if (!LoadLargeProject()) {
        state.SkipWithError("the large project could not be opened");
        return;
    }
    InitView();
    GetViewCoef(1600, 1000);
    ViewBlock();
    SetViewMode(mode);
    std::size_t ops = 0;
    for (auto _ : state) {
        Surface canvas;
        draw_all(canvas);
        ops = Ops(canvas);
        benchmark::DoNotOptimize(ops);
    }
    state.counters["canvas_ops"] = static_cast<double>(ops);
}

void BM_DrawAllTop(benchmark::State& state) { DrawAll<RecordingCanvas>(state, kViewTop); }
void BM_DrawAllIsometric(benchmark::State& state) { DrawAll<RecordingCanvas>(state, kViewIsoSW); }
void BM_DrawAllTopCounted(benchmark::State& state) { DrawAll<CountingCanvas>(state, kViewTop); }

} // namespace

BENCHMARK(BM_DrawAllTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawAllIsometric)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawAllTopCounted)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
