// Grid operations against brute force: distance transforms, disk filters, capsule rows and the
// tool sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "cam/sim_grid.h"
#include "cam/sim_stock.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

TEST(SimGridTest, DistanceTransformIsExactAgainstBruteForce) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        int w = 1 + static_cast<int>(rng() % 37), h = 1 + static_cast<int>(rng() % 29);
        std::vector<unsigned char> mask(static_cast<std::size_t>(w) * h);
        int density = static_cast<int>(rng() % 20);
        for (auto& m : mask)
            m = static_cast<int>(rng() % 100) < density;
        std::vector<float> d = SquaredDistanceToMarked(mask, w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                double best = HUGE_VAL;
                for (int jj = 0; jj < h; ++jj)
                    for (int ii = 0; ii < w; ++ii)
                        if (mask[static_cast<std::size_t>(jj) * w + ii])
                            best = std::min(best,
                                            double(ii - i) * (ii - i) + double(jj - j) * (jj - j));
                float got = d[static_cast<std::size_t>(j) * w + i];
                if (best == HUGE_VAL)
                    EXPECT_GT(got, 1e20f);
                else
                    EXPECT_FLOAT_EQ(got, static_cast<float>(best)) << i << "," << j;
            }
    }
}

TEST(SimGridTest, DiskFiltersTakeTheExtremeOverTheDiskWithinTheGrid) {
    std::mt19937 rng(11);
    for (int radius = 1; radius <= 4; ++radius) {
        GridFrame f{0, 0, 1, 23, 17};
        std::vector<float> v(f.Cells());
        for (auto& x : v)
            x = static_cast<float>(rng() % 1000);
        std::vector<float> lo = v, hi = v;
        MinOverDisk(f, lo, radius);
        MaxOverDisk(f, hi, radius);
        for (int j = 0; j < f.ny; ++j)
            for (int i = 0; i < f.nx; ++i) {
                float mn = HUGE_VALF, mx = -HUGE_VALF;
                for (int jj = 0; jj < f.ny; ++jj)
                    for (int ii = 0; ii < f.nx; ++ii)
                        if ((ii - i) * (ii - i) + (jj - j) * (jj - j) <= radius * radius) {
                            mn = std::min(mn, v[f.Index(ii, jj)]);
                            mx = std::max(mx, v[f.Index(ii, jj)]);
                        }
                EXPECT_EQ(lo[f.Index(i, j)], mn);
                EXPECT_EQ(hi[f.Index(i, j)], mx);
            }
    }
}

TEST(SimGridTest, ColumnsAndRowsClipAndRefuseWhatIsNotThere) {
    GridFrame f{10, 20, 0.5, 8, 4};
    int a, b;
    ASSERT_TRUE(f.Columns(10.25, 10.25, a, b)); // exactly a centre
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(f.Columns(10.3, 10.7, a, b)); // between two centres
    ASSERT_TRUE(f.Columns(-HUGE_VAL, HUGE_VAL, a, b));
    EXPECT_EQ(b, 7);
    EXPECT_FALSE(f.Columns(std::nan(""), 12, a, b));
    EXPECT_FALSE(f.Rows(5, 19, a, b));
    EXPECT_FALSE(f.Rows(3, 1, a, b));
}

TEST(SimGridTest, CapsuleRowSpansHoldExactlyThePointsWithinReach) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-10, 10);
    for (int round = 0; round < 500; ++round) {
        double ax = u(rng), ay = u(rng), bx = round % 5 ? u(rng) : ax, by = round % 7 ? u(rng) : ay;
        double r = std::fabs(u(rng)) / 2 + 0.01, y = u(rng);
        double xl, xr;
        bool any = CapsuleRowSpan(ax, ay, bx, by, r, y, xl, xr);
        for (double x = -20; x <= 20; x += 0.013) {
            double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
            double t = l2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0) : 0;
            double d = std::hypot(x - ax - t * dx, y - ay - t * dy);
            if (d < r - 1e-9) {
                EXPECT_TRUE(any && x >= xl - 1e-9 && x <= xr + 1e-9) << round << " x " << x;
            }
            if (d > r + 1e-9 && any) {
                EXPECT_FALSE(x > xl + 1e-9 && x < xr - 1e-9) << round << " x " << x;
            }
        }
    }
}

// The lowest surface of the tool over a cell, by following the move in tiny steps.
constexpr int kSamples = 1500;
double SampledEnvelope(const SimTool& t, const Vec3& a, const Vec3& b, double px, double py) {
    double best = HUGE_VAL;
    for (int k = 0; k <= kSamples; ++k) {
        double s = static_cast<double>(k) / kSamples;
        double x = a.x + (b.x - a.x) * s, y = a.y + (b.y - a.y) * s, z = a.z + (b.z - a.z) * s;
        double d = std::hypot(px - x, py - y);
        if (d <= t.radius)
            best = std::min(best, z + t.Lift(d));
    }
    return best;
}

TEST(SimStockTest, SweepsFollowTheToolsLowerSurfaceAlongAnyMove) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 10);
    GridFrame f{0, 0, 0.625, 16, 16};
    for (int type : {kEndMillRough, kDrillTool, kCountersink, kCenterDrill}) {
        SimTool t = MakeSimTool(type, 4, 1, 10, 0);
        for (int round = 0; round < 8; ++round) {
            Vec3 a{u(rng), u(rng), u(rng) - 5}, b{u(rng), u(rng), u(rng) - 5};
            if (round % 4 == 1)
                b.z = a.z; // level
            if (round % 4 == 2)
                b.x = a.x, b.y = a.y; // vertical
            SimStock s;
            s.Init(f, 10, -20);
            s.Sweep(t, a, b, 1, false);
            double step = std::hypot(b.x - a.x, b.y - a.y) / kSamples * (1 + t.slope) +
                          std::fabs(b.z - a.z) / kSamples;
            for (int j = 0; j < f.ny; ++j)
                for (int i = 0; i < f.nx; ++i) {
                    double expect = std::min(10.0, SampledEnvelope(t, a, b, f.X(i), f.Y(j)));
                    EXPECT_NEAR(s.Heights()[f.Index(i, j)], expect, step + 1e-4)
                        << type << " round " << round << " cell " << i << "," << j;
                }
        }
    }
}

TEST(SimStockTest, ChainsOfShortLevelMovesCutWhatOneLongMoveCuts) {
    GridFrame f{0, 0, 0.1, 200, 100};
    SimTool t = MakeSimTool(kEndMillRough, 6, 0, 20, 0);
    SimStock one, chain;
    one.Init(f, 0, -10);
    chain.Init(f, 0, -10);
    one.Sweep(t, {2, 2, -1}, {18, 8, -1}, 1, false);
    Vec3 p{2, 2, -1};
    for (int k = 1; k <= 400; ++k) {
        Vec3 q{2 + 16.0 * k / 400, 2 + 6.0 * k / 400, -1};
        chain.Sweep(t, p, q, 1, false);
        p = q;
    }
    EXPECT_EQ(one.Heights(), chain.Heights());
}

// The rows of a capsule worked out together come out bit for bit as Span has them, along,
// across and aslant the rows, with and without the start's disc, on a grid whose rows fall on
// the discs' edges.
TEST(SimGridTest, CapsuleReachesAreSpanRowByRow) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-10, 10);
    GridFrame f{-12, -12.5, 0.25, 96, 100};
    for (int round = 0; round < 2000; ++round) {
        double ax = u(rng), ay = std::round(u(rng)), bx = u(rng), by = u(rng);
        if (round % 4 == 1)
            by = ay; // along the rows
        if (round % 4 == 2)
            bx = ax; // across them
        if (round % 16 == 3)
            bx = ax, by = ay; // no band
        double r = round % 3 ? std::fabs(u(rng)) / 2 + 0.01 : 2.5;
        CapsuleRows c(ax, ay, bx, by, r);
        ASSERT_TRUE(c.Regular());
        const int rows = f.ny;
        std::vector<double> sw(rows), ew(rows), xl(rows), xr(rows);
        DiscHalfWidths(f, 0, rows, ay, r, sw.data());
        DiscHalfWidths(f, 0, rows, by, r, ew.data());
        for (bool start : {true, false}) {
            c.Reaches(f, 0, rows, start, sw.data(), ew.data(), xl.data(), xr.data());
            for (int j = 0; j < rows; ++j) {
                double l, h;
                bool any = c.Span(f.Y(j), l, h, start);
                EXPECT_EQ(any, xl[j] <= xr[j]) << round << " row " << j;
                if (any) {
                    EXPECT_EQ(l, xl[j]) << round << " row " << j;
                    EXPECT_EQ(h, xr[j]) << round << " row " << j;
                }
            }
        }
    }
}

// A chain of short level moves, back and forth and round a corner, leaves every cell at the
// height and with the line that one move at a time over a fresh grid gives it.
TEST(SimStockTest, ChainsOfLevelMovesKeepTheLineThatFirstReachedEachCell) {
    GridFrame f{0, 0, 0.1, 120, 80};
    SimTool t = MakeSimTool(kEndMillRough, 3, 0, 20, 0);
    SimStock chain, single;
    chain.Init(f, 0, -10);
    single.Init(f, 0, -10);
    Vec3 p{1, 2, -1};
    std::vector<Vec3> path;
    for (int k = 1; k <= 300; ++k)
        path.push_back(Vec3{1 + 0.033 * k, 2, -1});
    for (int k = 1; k <= 200; ++k)
        path.push_back(Vec3{10.9 - 0.021 * k, 2 + 0.017 * k, -1});
    for (int k = 1; k <= 100; ++k)
        path.push_back(Vec3{6.7, 5.4 - 0.02 * k, k % 50 ? -1.0 : -2.0});
    int line = 0;
    for (const Vec3& q : path) {
        chain.Sweep(t, p, q, ++line, false);
        // The same move alone: a fresh stock, then the cells it lowered, one at a time.
        SimStock one;
        one.Init(f, 0, -10);
        one.Sweep(t, p, q, line, false);
        for (std::size_t k = 0; k < f.Cells(); ++k)
            if (one.Heights()[k] < single.Heights()[k]) {
                EXPECT_EQ(chain.Heights()[k], one.Heights()[k]) << line << " cell " << k;
                EXPECT_EQ(chain.Lines()[k], line) << line << " cell " << k;
            }
        single = chain;
        p = q;
    }
}

// A run of moves along X (axis 0) or Y (axis 1): its start, its ends on that axis and their
// lines.
struct TestRun {
    Vec3 start;
    int axis = 0;
    std::vector<double> ends;
    std::vector<int> lines;
};

// A run of 1 to 40 moves of random lengths (some tiny, some longer than the tool), along a row
// or column of cell centres, a disc's edge away from one or anywhere; one in eight turns back
// somewhere. Half the runs go by sixteenths: their reach often ends right on a cell centre.
TestRun RandomRun(std::mt19937& rng, const GridFrame& f, double r, int axis, int first_line) {
    std::uniform_real_distribution<double> u(0, 1);
    TestRun run;
    run.axis = axis;
    double p[2] = {u(rng) * f.nx * f.res + f.x0, u(rng) * f.ny * f.res + f.y0};
    const int across = 1 - axis;
    const int cell = static_cast<int>(rng() % 32);
    const double centre = across == 0 ? f.X(cell) : f.Y(cell);
    if (rng() % 3 == 0)
        p[across] = centre;
    else if (rng() % 2 == 0)
        p[across] = centre + r;
    const bool sixteenths = rng() % 2;
    if (sixteenths)
        p[axis] = std::round(p[axis] * 16) / 16;
    run.start = Vec3{p[0], p[1], -u(rng) * 4};
    const double dir = rng() % 2 ? 1 : -1;
    const int n = 1 + static_cast<int>(rng() % 40);
    double at = p[axis];
    for (int k = 0; k < n; ++k) {
        double step = rng() % 4 == 0 ? u(rng) * 1e-3 : u(rng) * 2 * r;
        if (sixteenths)
            step = (1 + static_cast<int>(rng() % 40)) / 16.0;
        at += (rng() % 8 == 0 && k == n / 2 ? -3 : 1) * dir * step;
        run.ends.push_back(at);
        run.lines.push_back(first_line + k);
    }
    return run;
}

void SweepTogether(SimStock& s, const SimTool& t, const TestRun& run) {
    s.SweepRun(t, run.start, run.axis, run.ends.data(), run.lines.data(),
               static_cast<int>(run.ends.size()));
}

// Each move of a run by itself, one after the other.
void SweepOneAtATime(SimStock& s, const SimTool& t, const TestRun& run) {
    Vec3 a = run.start;
    for (std::size_t k = 0; k < run.ends.size(); ++k) {
        Vec3 b = a;
        (run.axis == 0 ? b.x : b.y) = run.ends[k];
        s.Sweep(t, a, b, run.lines[k], false);
        a = b;
    }
}

// Runs of level moves along X or Y, swept together, leave each cell with the height and line
// that the moves one at a time leave it; for a flat tool these are, cell centre by cell
// centre, the height of the first move within the radius that goes below the cell, and its
// line (centres on the edge itself may go either way). Over material cut unevenly before, at
// the edges of the grid, and with tools whose runs are swept one move at a time.
TEST(SimStockTest, RunsAlongXOrYCutWhatTheirMovesCutOneAtATime) {
    std::mt19937 rng(17);
    GridFrame f{-1, -2, 0.25, 48, 40};
    for (int round = 0; round < 800; ++round) {
        const int type = round % 8 == 7 ? kDrillTool : kEndMillRough;
        const double dia = round % 4 == 0 ? 5 : 0.25 + (rng() % 100) * 0.125;
        SimTool t = MakeSimTool(type, dia, 0, 20, 0);
        SimStock together, apart, reference;
        together.Init(f, 0, -10);
        const TestRun before = RandomRun(rng, f, t.radius, static_cast<int>(rng() % 2), 1);
        SweepTogether(together, t, before);
        apart = together;
        reference = together;
        const TestRun run = RandomRun(rng, f, t.radius, round % 2, 100);
        SweepTogether(together, t, run);
        SweepOneAtATime(apart, t, run);
        ASSERT_EQ(together.Heights(), apart.Heights()) << round;
        ASSERT_EQ(together.Lines(), apart.Lines()) << round;
        if (!t.Flat())
            continue;
        // Against the cell centres, from the stock the run started on.
        const double across = run.axis == 0 ? run.start.y : run.start.x;
        const float z = static_cast<float>(run.start.z);
        for (int j = 0; j < f.ny; ++j)
            for (int i = 0; i < f.nx; ++i) {
                const std::size_t c = f.Index(i, j);
                const double along_c = run.axis == 0 ? f.X(i) : f.Y(j);
                const double across_c = run.axis == 0 ? f.Y(j) : f.X(i);
                float height = reference.Heights()[c];
                int line = reference.Lines()[c];
                bool edge = false;
                double from = run.axis == 0 ? run.start.x : run.start.y;
                for (std::size_t k = 0; k < run.ends.size(); ++k) {
                    double lo = std::min(from, run.ends[k]), hi = std::max(from, run.ends[k]);
                    double d =
                        std::hypot(std::max({lo - along_c, 0.0, along_c - hi}), across_c - across);
                    edge |= std::fabs(d - t.radius) < 1e-9;
                    if (d <= t.radius && z < height) {
                        height = z;
                        line = run.lines[k];
                    }
                    from = run.ends[k];
                }
                if (edge)
                    continue;
                EXPECT_EQ(together.Heights()[c], height) << round << " cell " << i << "," << j;
                EXPECT_EQ(together.Lines()[c], line) << round << " cell " << i << "," << j;
            }
    }
}

TEST(SimStockTest, ContactIsTheDepthOfMaterialTheMovePassedThrough) {
    GridFrame f{0, 0, 0.25, 40, 40};
    SimTool t = MakeSimTool(kEndMillRough, 4, 0, 20, 0);
    SimStock s;
    s.Init(f, 0, -5);
    SweepContact c = s.Sweep(t, {5, 5, 2}, {5, 5, -3}, 1, true);
    EXPECT_NEAR(c.depth, 3, 1e-6);
    c = s.Sweep(t, {5, 5, -3}, {5, 5, -8}, 2, true); // through the bottom: 2 more of material
    EXPECT_NEAR(c.depth, 2, 1e-6);
    c = s.Sweep(t, {5, 5, -8}, {5, 5, 2}, 3, true); // back up the hole it made
    EXPECT_EQ(c.depth, 0);
    EXPECT_EQ(s.Lines()[f.Index(20, 20)], 2);
    // Along the block's top or above it nothing is met and nothing lowered, whatever the tool.
    for (int type : {kEndMillRough, kDrillTool}) {
        SimTool tool = MakeSimTool(type, 4, 0, 20, 0);
        s.Init(f, 0.1, -5);
        EXPECT_EQ(s.Sweep(tool, {1, 1, 0.1}, {9, 8, 0.1}, 4, true).depth, 0);
        EXPECT_EQ(s.Sweep(tool, {1, 8, 3}, {9, 1, 0.1}, 5, true).depth, 0);
        for (std::size_t k = 0; k < f.Cells(); ++k)
            ASSERT_EQ(s.Lines()[k], 0) << k;
    }
}

} // namespace
} // namespace korvel
