// Machining times of paths: the formulas on hand-computed paths.
#include <gtest/gtest.h>

#include "geometry/primitives.h"
#include "paths/path_table.h"
#include "paths/path_time.h"
#include "support.h"

namespace korvel {
namespace {

class PathTime : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        // Block top at 0, corridor 25: the safe height is 25.
        TypeAll({"BLOCK 1 100 100 20 0 0 -20 0 0 -1", "CORRIDOR 25"});
    }
    static void Fill(PathRef p, std::initializer_list<PathPoint> points) {
        *p.count = 0;
        for (const PathPoint& q : points)
            AppendPathPoint(p, q);
    }
};

TEST_F(PathTime, ClosedSquareOfTheWorkedExample) {
    // Side 10 at feed 100, plunge feed 50, z = top - 5: the plunge from 25 down to -5 takes
    // 30 / 50 = 0.6 minutes, the four sides 40 / 100 = 0.4.
    Fill(GetPath(1), {{0, 0, 0, kRapid},
                      {10, 0, 0, kLine},
                      {10, 10, 0, kLine},
                      {0, 10, 0, kLine},
                      {0, 0, 0, kLine}});
    EXPECT_NEAR(CalcPathTime(1, -5, 100, 50), 1.0, 1e-12);
    // Without a plunge feed the descent costs nothing.
    EXPECT_NEAR(CalcPathTime(1, -5, 100, 0), 0.4, 1e-12);
    // No feed in XY, no estimate; path 0 and 33 are not emitted.
    EXPECT_EQ(CalcPathTime(1, -5, 0, 50), 0);
    EXPECT_EQ(CalcPathTime(0, -5, 100, 50), 0);
    EXPECT_EQ(CalcPathTime(33, -5, 100, 50), 0);
}

TEST_F(PathTime, ArcsTakeTheirLength) {
    // A half circle of radius 10 (length 10 pi) and a clockwise quarter of radius 5, at z = 0.
    Fill(GetPath(2), {{10, 0, 0, kRapid}, {-10, 0, 10, kCcwArc}, {-5, -5, 5, kCwArc}});
    double cut = (10 * kPi + 5 * kPi / 2) / 200;
    EXPECT_NEAR(CalcPathTime(2, 0, 200, 100), 25.0 / 100 + cut, 1e-12);
}

TEST_F(PathTime, MovesCostNothingAndEachPlungeCountsFromTheSafeHeight) {
    Fill(GetPath(3), {{0, 0, 0, kRapid}, {50, 0, 0, kRapid}, {60, 60, 0, kRapid}});
    EXPECT_EQ(CalcPathTime(3, -5, 100, 50), 0);
    // Two cuts of 10 separated by a move: two plunges of 30, and equal points skipped.
    Fill(GetXLPath(), {{0, 0, 0, kRapid},
                       {10, 0, 0, kLine},
                       {10, 0, 0, kLine},
                       {20, 0, 0, kRapid},
                       {30, 0, 0, kLine}});
    EXPECT_NEAR(CalcXLPathTime(-5, 100, 50), 2 * 0.6 + 20.0 / 100, 1e-12);
    // A cutting height above the safe height is no descent: no plunge time, never less.
    Fill(GetXLPath(), {{0, 0, 0, kRapid}, {10, 0, 0, kLine}});
    EXPECT_NEAR(CalcXLPathTime(30, 100, 50), 10.0 / 100, 1e-12);
    // A single point is no path.
    Fill(GetXLPath(), {{0, 0, 0, kRapid}});
    EXPECT_EQ(CalcXLPathTime(-5, 100, 50), 0);
}

} // namespace
} // namespace korvel
