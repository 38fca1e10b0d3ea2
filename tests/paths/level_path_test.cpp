// Level paths: the scan lines, each contour followed once, the edge cases, the capacity of the
// XL path, the filters and the optimiser, and properties over random bosses.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/bulge.h"
#include "path_checks.h"
#include "paths/level_path.h"
#include "paths/path_filter.h"
#include "paths/path_table.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using test::Rng;

class LevelPath : public test::KorvelTest {
protected:
    // The Y of each scan line: where the moves of the XL path lie.
    static std::set<double> LinesY() {
        std::set<double> ys;
        PathRef xl = GetXLPath();
        for (int i = 0; i < xl.size(); ++i)
            if (xl[i].kind == kRapid)
                ys.insert(xl[i].y);
        return ys;
    }
    static std::vector<Element> Cuts() {
        std::vector<Element> cuts;
        for (const Element& e : test::PathElements(GetXLPath()))
            if (e.kind != kRapid)
                cuts.push_back(e);
        return cuts;
    }
};

TEST_F(LevelPath, SpacingOfTheWorkedExample) {
    // Block width 100, r = 5, overlap 0.95: s = 9.5, N = 11, step 9.0909, first line 4.5454.
    TypeAll({"BLOCK 1 200 100 20 0 0 -20 0 0 -1", "RBULGE 2 1 10 10 5 150 60 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathX(0, 5, 0.95), 1);
    std::set<double> ys = LinesY();
    double step = 100.0 / 11;
    ASSERT_GE(ys.size(), 9u);
    EXPECT_NEAR(*ys.begin(), step / 2, 1e-9);
    EXPECT_NEAR(*ys.rbegin(), 100 - step / 2, 1e-9);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LevelPath, SquareBulgeInTheMiddle) {
    // Block 100 x 60, a square 20 x 20 at (40, 20), r = 5, QPLANE 5: lines missing the bulge's
    // contour (y 15..45) are one cut from -10 to 100; the first line that meets it ends its cut
    // there and carries the whole contour; the later ones jump over it.
    TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "RBULGE 2 1 20 20 5 40 20 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathX(0, 5, 0.8), 1);
    PathRef xl = GetXLPath();
    ASSERT_GT(xl.size(), 10);
    EXPECT_EQ(xl[0].kind, kRapid);
    EXPECT_NEAR(xl[0].x, -10, 1e-9);
    EXPECT_EQ(xl[1].kind, kLine);
    EXPECT_NEAR(xl[1].x, 100, 1e-9);
    EXPECT_EQ(xl[1].y, xl[0].y);
    // The contour appears once: its corner arcs of radius 5 turn once round.
    double turned = 0;
    for (const Element& e : test::PathElements(xl)) {
        test::ArcShape a;
        if (e.kind == kCcwArc && test::ShapeOfArc(e, a))
            turned += a.sweep;
    }
    EXPECT_NEAR(turned, 2 * kPi, 1e-9);
    // A line through the contour: cut to x = 35, move to 65, cut to 100.
    int jumps = 0;
    for (int i = 2; i < xl.size(); ++i)
        if (xl[i].kind == kRapid && std::fabs(xl[i].x - 65) < 1e-9) {
            ++jumps;
            EXPECT_NEAR(xl[i - 1].x, 35, 1e-9);
            EXPECT_EQ(xl[i + 1].kind, kLine);
            EXPECT_NEAR(xl[i + 1].x, 100, 1e-9);
        }
    EXPECT_GE(jumps, 2);
    EXPECT_EQ(xl[xl.size() - 1].kind, kLine);
}

TEST_F(LevelPath, ShortCutBetweenFollowedContoursBecomesAMove) {
    // Two squares 6 apart, r = 2.5: between their contours (x 42.5 and 43.5) a scan line has a
    // cut of 1, shorter than r. The first line there cuts it to reach the second contour, which
    // it then follows; on the later lines, both contours followed, it becomes a move.
    TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "RBULGE 2 1 20 20 5 20 20 0 0 0 0 -1 0 0",
             "RBULGE 3 1 20 20 5 46 20 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathX(0, 2.5, 0.9), 2);
    int cuts = 0, jumps = 0;
    for (const Element& e : test::PathElements(GetXLPath())) {
        bool across_gap = e.y1 == e.y2 && e.y1 > 17.5 && e.y1 < 42.5 &&
                          std::fmin(e.x1, e.x2) < 43 && std::fmax(e.x1, e.x2) > 43;
        if (across_gap)
            (e.kind == kRapid ? jumps : cuts)++;
    }
    EXPECT_EQ(cuts, 1);
    EXPECT_GT(jumps, 3);
}

TEST_F(LevelPath, ScanLineThroughANodeMovesDown) {
    TypeAll({"BLOCK 1 100 99 20 0 0 -20 0 0 -1"});
    // r = 5, overlap 1: N = 10, step 9.9; the third line lies where the bulge's corner is.
    double step = 99.0 / 10, y = step / 2;
    y += step;
    y += step;
    TypeAll({Sprintf("RBULGE 2 1 20 20 5 40 %.17g 0 0 0 0 -1 0 0", y)});
    ASSERT_EQ(MakeLevelPathX(0, 5, 1.0), 1);
    std::set<double> ys = LinesY();
    EXPECT_EQ(ys.count(y), 0u);
    EXPECT_EQ(ys.count(y - 0.001), 1u);
    // The nudge carries over to the following lines.
    EXPECT_EQ(ys.count(y - 0.001 + step), 1u);
}

TEST_F(LevelPath, StepNeverExceedsTheToolDiameter) {
    // r = 5.5 is a tool of 10 with an allowance of 1; with overlap 1 the step would come out
    // 105 / 10 = 10.5, wider than the tool. It is held below the tool's diameter.
    TypeAll({"BLOCK 1 100 105 20 0 0 -20 0 0 -1", "RBULGE 2 1 10 10 5 80 80 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathX(0, 5.5, 1.0, 10), 1);
    std::set<double> lines = LinesY();
    std::vector<double> ys(lines.begin(), lines.end());
    ASSERT_GE(ys.size(), 3u);
    for (std::size_t i = 1; i < ys.size(); ++i)
        EXPECT_NEAR(ys[i] - ys[i - 1], 105.0 / 11, 1e-9);
}

TEST_F(LevelPath, AlongYAndTheFilters) {
    TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "RBULGE 2 1 20 20 5 40 20 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathY(0, 5, 0.8), 1);
    PathRef xl = GetXLPath();
    EXPECT_NEAR(xl[0].y, -10, 1e-9);
    EXPECT_NEAR(xl[1].y, 60, 1e-9);
    EXPECT_EQ(xl[1].x, xl[0].x);
    // The old filter runs the cuts out beyond the block.
    ASSERT_EQ(Type("USE OLDFILTER"), 1);
    ASSERT_EQ(MakeLevelPathY(0, 5, 0.8), 1);
    EXPECT_NEAR(GetXLPath()[1].y, 70, 1e-9);
}

TEST_F(LevelPath, ContoursThatCrossWarn) {
    TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "RBULGE 2 1 20 20 5 20 20 0 0 0 0 -1 0 0",
             "RBULGE 3 1 20 20 5 45 20 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakeLevelPathX(0, 5, 0.8), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[WARNING! Path intersection] Please check "
                                                   "part for producability or select a smaller "
                                                   "tool"});
}

TEST_F(LevelPath, FullXLPathFailsTheLevel) {
    // 0.5 wide steps over 4100: more than 8192 points.
    TypeAll({"BLOCK 1 10 4100 20 0 0 -20 0 0 -1", "RBULGE 2 1 2 2 5 4 4 0 0 0 0 -1 0 0"});
    EXPECT_EQ(MakeLevelPathX(0, 0.25, 1.0), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Internal error] Error code 8"});
    EXPECT_EQ(XLPathCount(), kXLPathCapacity);
    // Half as high fits.
    TypeAll({"BLOCK 1 10 2000 20 0 0 -20 0 0 -1"});
    EXPECT_EQ(MakeLevelPathX(0, 0.25, 1.0), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(MakeLevelPathX(0, 0, 1.0), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Internal error] Error code 10"});
}

TEST_F(LevelPath, SortKeepsTheOrderOfEqualValues) {
    double v[] = {3, 1, 2, 1, 3};
    int t[] = {0, 1, 2, 3, 4};
    sort_ixy(v, t, 5);
    EXPECT_EQ(std::vector<double>(v, v + 5), (std::vector<double>{1, 1, 2, 3, 3}));
    EXPECT_EQ(std::vector<int>(t, t + 5), (std::vector<int>{1, 3, 2, 0, 4}));
}

TEST_F(LevelPath, EdgeCodesOfLinesAndCorners) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1"});
    EXPECT_EQ(PathLine_Block(-5, 0, -5, 50, 5), kLeftOfBlock);
    EXPECT_EQ(PathLine_Block(-4.9995, 0, -4.9995, 50, 5), kLeftOfBlock); // equal to the limit
    EXPECT_EQ(PathLine_Block(-4, 0, -4, 50, 5), kInsideBlock);
    EXPECT_EQ(PathLine_Block(105, 50, 105, 0, 5), kRightOfBlock);
    EXPECT_EQ(PathLine_Block(0, -5, 100, -5, 5), kBelowBlock);
    EXPECT_EQ(PathLine_Block(100, 56, 0, 56, 5), kAboveBlock);
    EXPECT_EQ(PathLine_Block(0, 0, 10, 10, 5), kInsideBlock);
    // The corner arc round the block's upper left corner, counter-clockwise.
    EXPECT_EQ(PathCcw_Block(0, 55, -5, 50, 5), kUpperLeftCorner);
    EXPECT_EQ(PathCcw_Block(105, 50, 100, 55, 5), kUpperRightCorner);
    EXPECT_EQ(PathCcw_Block(-5, 0, 0, -5, 5), kLowerLeftCorner);
    EXPECT_EQ(PathCcw_Block(100, -5, 105, 0, 5), kLowerRightCorner);
    EXPECT_EQ(PathCcw_Block(10, 5, 5, 10, 5), kInsideBlock);
}

TEST_F(LevelPath, NewFilterTurnsLinesAlongTheOutsideIntoMoves) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1"});
    // In to the corner arc of radius 5 below the block's lower left corner, up the left side
    // outside the block (x = -5), round the next corner arc, and away.
    PathRef xl = GetXLPath();
    for (PathPoint p :
         {PathPoint{10, -20, 0, kRapid}, PathPoint{0, -5, 0, kLine}, PathPoint{-5, 0, 5, kCcwArc},
          PathPoint{-5, 50, 0, kLine}, PathPoint{0, 55, 5, kCcwArc}, PathPoint{40, 70, 0, kLine}})
        AppendPathPoint(xl, p);
    PathFilter_Block_new(xl.points, *xl.count, 5);
    ASSERT_EQ(xl.size(), 6);
    EXPECT_EQ(xl[1].kind, kLine);
    EXPECT_EQ(xl[2].kind, kRapid); // the arc before the left side
    EXPECT_EQ(xl[3].kind, kRapid); // the left side, ending at the next arc's Y
    EXPECT_EQ(xl[3].x, -5);
    EXPECT_EQ(xl[3].y, 55);
    EXPECT_EQ(xl[4].kind, kLine); // the arc after it, now a line to its end
    EXPECT_EQ(xl[5].kind, kLine);
}

TEST_F(LevelPath, OldFilterRunsOutAndComesBack) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1", "QPLANE 5"});
    PathRef xl = GetXLPath();
    for (PathPoint p :
         {PathPoint{-5, 10, 0, kRapid}, PathPoint{-5, 40, 0, kLine}, PathPoint{20, 40, 0, kLine}})
        AppendPathPoint(xl, p);
    ASSERT_EQ(PathFilter_Block_old(xl.points, *xl.count, 5), 1);
    ASSERT_EQ(xl.size(), 4);
    EXPECT_EQ(xl[1].kind, kRapid);
    EXPECT_EQ(xl[1].x, -10);      // pushed out to the run-out limit, r + QPLANE beyond the edge
    EXPECT_EQ(xl[2].kind, kLine); // back to where the next cut starts
    EXPECT_EQ(xl[2].x, -5);
    EXPECT_EQ(xl[2].y, 40);
    EXPECT_EQ(xl[3].x, 20);
}

TEST_F(LevelPath, OptimiserAndJoinJumps) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1"});
    PathRef xl = GetXLPath();
    // A line wholly left of the block between two moves becomes a move; the moves collapse.
    for (PathPoint p :
         {PathPoint{-20, 10, 0, kRapid}, PathPoint{-10, 10, 0, kLine}, PathPoint{10, 10, 0, kRapid},
          PathPoint{90, 10, 0, kLine}, PathPoint{95, 20, 0, kRapid}})
        AppendPathPoint(xl, p);
    ASSERT_EQ(PathOptimiser(xl.points, *xl.count, 5), 1);
    ASSERT_EQ(xl.size(), 2);
    EXPECT_EQ(xl[0].x, 10);
    EXPECT_EQ(xl[0].kind, kRapid);
    EXPECT_EQ(xl[1].x, 90);
    int one = 1;
    PathPoint lone{0, 0, 0, kRapid};
    EXPECT_EQ(PathOptimiser_old(&lone, one), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Internal error] Error code 7"});
    int none = 0;
    EXPECT_EQ(JoinJumps(&lone, none), 0);
}

TEST_F(LevelPath, OptimiseOnFiltersTheLevelPath) {
    // A bulge against the block's left edge: its contour's left side runs outside the block.
    TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "RBULGE 2 1 20 20 5 0 20 0 0 0 0 -1 0 0",
             "OPTIMISE ON"});
    ASSERT_EQ(MakeLevelPathX(0, 5, 0.8), 1);
    for (const Element& e : Cuts())
        EXPECT_FALSE(std::fabs(e.x1 + 5) < 1e-9 && std::fabs(e.x2 + 5) < 1e-9);
    EXPECT_GT(Cuts().size(), 5u);
}

// Random convex bosses on the block, apart by more than the tool: the level path never cuts
// into one, and every point of the floor lies within the tool's radius of a cut.
TEST_F(LevelPath, CutsKeepOffTheBossesAndCoverTheFloor) {
    Rng rng(9182);
    int checked = 0;
    for (int c = 0; c < 16; ++c) {
        InitAllTables();
        TypeAll({"BLOCK 1 120 80 20 0 0 -20 0 0 -1"});
        double r = rng.Uniform(1.5, 5);
        std::vector<std::array<double, 3>> placed; // centre and circumscribed radius
        int id = 2;
        for (int tries = 0; tries < 30 && placed.size() < 4; ++tries) {
            double size = rng.Uniform(6, 20), x = rng.Uniform(10, 110), y = rng.Uniform(10, 70);
            bool clear = true;
            for (const auto& p : placed)
                clear &= distance(x, y, p[0], p[1]) > size + p[2] + 2 * r + 1;
            if (!clear)
                continue;
            int kind = rng.Int(0, 2);
            if (kind == 0)
                TypeAll({Sprintf("RBULGE %d 1 %g %g 5 %g %g %g 0 0 0 -1 0 0", id, size, size * 0.8,
                                 x - size / 2, y - size * 0.4, rng.Uniform(0, size * 0.4))});
            else if (kind == 1)
                TypeAll({Sprintf("CBULGE %d 1 %g 5 %g %g 0 0 0 -1 0 0", id, size, x, y)});
            else
                TypeAll({Sprintf("POLYGON %d 1 %d %g 5 %g %g 0 0 0 -1 0 0", id, rng.Int(3, 9),
                                 size / 2, x, y)});
            placed.push_back({x, y, size / 2});
            ++id;
        }
        bool along_y = rng.Coin();
        double overlap = rng.Uniform(0.5, 1);
        int made = along_y ? MakeLevelPathY(0, r, overlap) : MakeLevelPathX(0, r, overlap);
        ASSERT_EQ(made, static_cast<int>(placed.size())) << "case " << c;
        EXPECT_TRUE(Messages().empty()) << "case " << c;
        std::vector<std::vector<Element>> bosses;
        for (int b = 0; b < kMaxBulges; ++b) {
            Bulge bulge;
            if (GetBulge(b, bulge))
                bosses.push_back(test::ShapeOutline(bulge.shape));
        }
        std::vector<Element> cuts = Cuts();
        for (const Point& q : test::PointsAlong(cuts, 0.5))
            for (const auto& boss : bosses) {
                ASSERT_FALSE(test::Inside(boss, q.x, q.y)) << "case " << c;
                ASSERT_GE(test::DistanceToAll(boss, q.x, q.y), r - 1e-6) << "case " << c;
            }
        for (double x = 0.25; x < 120; x += 1.5)
            for (double y = 0.25; y < 80; y += 1.5) {
                bool on_boss = false;
                for (const auto& boss : bosses)
                    on_boss |= test::Inside(boss, x, y);
                if (!on_boss) {
                    ASSERT_LE(test::DistanceToAll(cuts, x, y), r + 0.01)
                        << "case " << c << " at " << x << " " << y;
                }
            }
        ++checked;
    }
    EXPECT_EQ(checked, 16);
}

} // namespace
} // namespace korvel
