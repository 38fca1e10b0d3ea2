// Reading a long G-code program line by line, as the drawing view replays one: a generated
// 1,000,000-line program held in memory with lines, arcs, full circles, modal words, tool
// changes and comments.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/gcode_reader.h"

using namespace korvel;

namespace {

constexpr int kLines = 1000000;

struct Program {
    std::string text;
    std::vector<std::string_view> lines;
};

// Writes a program the reader accepts throughout: arcs are made about a centre so that their
// ends lie on the circle within the written precision.
class Generator {
public:
    std::string text;
    std::vector<std::size_t> ends;

    void Line(const char* format, auto... values) {
        char buf[160];
        int n = std::snprintf(buf, sizeof buf, format, values...);
        text.append(buf, static_cast<std::size_t>(n));
        text.push_back('\n');
        ends.push_back(text.size() - 1);
    }

    void Step() {
        int pick = Int(0, 99);
        if (pick < 40) {
            Move(Real(-100, 100), Real(-100, 100));
            Line("G01 X%.4f Y%.4f F%.4f", x_, y_, Real(100, 800));
            feeding_ = true;
        } else if (pick < 50) {
            Move(Real(-100, 100), Real(-100, 100));
            if (feeding_)
                Line("X%.4f Y%.4f", x_, y_); // modal motion
            else
                Line("G01 X%.4f Y%.4f", x_, y_);
            feeding_ = true;
        } else if (pick < 62) {
            Arc(true);
        } else if (pick < 70) {
            Arc(false);
        } else if (pick < 72) {
            Line("G0%d I%.4f J0.", Int(2, 3), Real(-10, 10)); // a full circle
            feeding_ = false;
        } else if (pick < 80) {
            Move(Real(-100, 100), Real(-100, 100));
            Line("N%d G00 X%.4f Y%.4f", ++n_, x_, y_);
            feeding_ = false;
        } else if (pick < 86) {
            Line("G00 Z%.4f", Real(2, 10));
            Line("G01 Z%.4f F%.4f", Real(-5, 0), Real(50, 200));
            feeding_ = true;
        } else if (pick < 90) {
            Line("(CONTOUR %d, FINISHING PASS)", Int(1, 500));
        } else if (pick < 94) {
            // Incremental for one line, then back to absolute.
            double dx = Real(-5, 5), dy = Real(-5, 5);
            Line("G91");
            Line("G01 X%.4f Y%.4f", dx, dy);
            Move(x_ + Round(dx), y_ + Round(dy));
            Line("G90");
            feeding_ = true;
        } else if (pick < 96) {
            Line("T%d M06 (DRILL %d)", Int(1, 40), Int(3, 20));
            Line("S%d M03", Int(500, 9000));
        } else if (pick < 98) {
            Line("G21 G90 G17 G40 G49");
        } else {
            Line("M08");
        }
    }

private:
    std::mt19937_64 gen_{2026};
    double x_ = 0, y_ = 0;
    int n_ = 0;
    bool feeding_ = false; // G01 is the modal motion

    int Int(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(gen_); }
    static double Round(double v) { return std::round(v * 1e4) / 1e4; }
    void Move(double x, double y) {
        x_ = Round(x);
        y_ = Round(y);
    }

    void Arc(bool with_ij) {
        double i = Round(Real(-20, 20)), j = Round(Real(-20, 20));
        double cx = x_ + i, cy = y_ + j, radius = std::hypot(i, j);
        double a = Real(-3.14, 3.14);
        int g = Int(2, 3);
        double sx = x_, sy = y_;
        Move(cx + radius * std::cos(a), cy + radius * std::sin(a));
        if (std::hypot(x_ - sx, y_ - sy) < 0.01)
            with_ij = true; // a full circle needs its centre
        if (with_ij)
            Line("G0%d X%.4f Y%.4f I%.4f J%.4f F%.4f", g, x_, y_, i, j, Real(100, 800));
        else
            Line("G0%d X%.4f Y%.4f R%.4f", g, x_, y_, radius);
        feeding_ = false;
    }
};

const Program& TheProgram() {
    static const Program program = [] {
        Generator g;
        g.Line("%%");
        g.Line("O1234 (BENCH)");
        g.Line("T1 M06");
        while (g.ends.size() < kLines)
            g.Step();
        g.ends.resize(kLines);
        Program p;
        p.text = std::move(g.text);
        std::size_t start = 0;
        for (std::size_t end : g.ends) {
            p.lines.emplace_back(p.text.data() + start, end - start);
            start = end + 1;
        }
        return p;
    }();
    return program;
}

void BM_GcodeReader(benchmark::State& state) {
    const Program& program = TheProgram();
    long rejected = 0, moves = 0;
    for (auto _ : state) {
        GcodeReader reader;
        double x, y, z, r, feed;
        int motion;
        rejected = moves = 0;
        for (std::string_view line : program.lines) {
            int result = reader.gline_3D(line, x, y, z, r, feed, motion);
            rejected += result == kGcodeRejected;
            moves += motion >= 0;
        }
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(program.lines.size()));
    state.counters["lines"] = static_cast<double>(program.lines.size());
    state.counters["moves"] = static_cast<double>(moves);
    state.counters["rejected"] = static_cast<double>(rejected);
}
BENCHMARK(BM_GcodeReader)->Unit(benchmark::kMillisecond);

// The scanner alone, for comparison.
void BM_GcodeWords(benchmark::State& state) {
    const Program& program = TheProgram();
    for (auto _ : state) {
        double sum = 0;
        for (std::string_view line : program.lines) {
            int letter;
            double value;
            while (std::optional<std::string_view> rest = gcom(line, letter, value)) {
                sum += value;
                line = *rest;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(program.lines.size()));
}
BENCHMARK(BM_GcodeWords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
