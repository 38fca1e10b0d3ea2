// Pocket paths: the wall contour, the scan-line segments, their worked example and edge cases,
// the capacity of the segment path, islands, and properties over random pockets.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/tolerance.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "path_checks.h"
#include "paths/contour_path.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "paths/pocket_path.h"
#include "script/project.h"
#include "support.h"

namespace korvel {
namespace {

using test::FreeContour;
using test::Rng;
using test::Vertex;

class PocketPath : public test::KorvelTest {
protected:
    static Shape OutlineOf(int k) {
        Pocket p;
        GetPocket(k, p);
        return p.shape;
    }
    // A few round islands inside the pocket, clear of its outline and of each other.
    void AddIslands(Rng& rng, const Shape& pocket, double r, int pid) {
        auto outline = test::ShapeOutline(pocket);
        std::vector<std::array<double, 3>> placed;
        int id = 10;
        for (int tries = 0; tries < 40 && placed.size() < 3; ++tries) {
            double x = rng.Uniform(100, 300), y = rng.Uniform(60, 240), radius = rng.Uniform(2, 8);
            if (!test::Inside(outline, x, y) ||
                test::DistanceToAll(outline, x, y) < radius + 2 * r + 1)
                continue;
            bool clear = true;
            for (const auto& p : placed)
                clear &= distance(x, y, p[0], p[1]) > radius + p[2] + 2 * r + 1;
            if (!clear)
                continue;
            placed.push_back({x, y, radius});
            TypeAll({Sprintf("CBULGE %d %d %g 5 %g %g 0 0 0 -1 0 0", id++, pid, 2 * radius, x, y)});
        }
    }
    // The cut segments of path 2 as (x1, y1) to (x2, y2).
    static std::vector<Element> Cuts() {
        std::vector<Element> cuts;
        for (const Element& e : test::PathElements(GetPath(2)))
            if (e.kind == kLine)
                cuts.push_back(e);
        return cuts;
    }
};

TEST_F(PocketPath, ScanLinesOfTheWorkedExample) {
    // A 40 x 20 pocket filling a 40 x 20 block, r = 5, overlap 0.8: N = 3, step 20 / 3, lines
    // at -3.33, 3.33, 10, 16.67 and 23.33; only y = 10 crosses the wall contour (5..15).
    TypeAll({"BLOCK 1 40 20 10 0 0 -10 0 0 -1", "RPOCKET 2 1 40 20 5 0 0 5 0 0 0 -1 0 0"});
    int k = IndexOf(2);
    ASSERT_EQ(MakePocketPathsX(k, 5, 0.8), 1);
    PathRef wall = GetPath(1);
    ASSERT_EQ(wall.size(), 5); // the corner arcs of radius 5 become sharp corners
    EXPECT_NEAR(PathArea(wall.points, wall.size()), 30 * 10, 1e-9);
    PathRef scan = GetPath(2);
    ASSERT_EQ(scan.size(), 2);
    EXPECT_EQ(scan[0].kind, kRapid);
    EXPECT_NEAR(scan[0].x, 5, 1e-9);
    EXPECT_NEAR(scan[0].y, 10, 1e-9);
    EXPECT_EQ(scan[1].kind, kLine);
    EXPECT_NEAR(scan[1].x, 35, 1e-9);
    // Path 0 (twice the radius) has nothing left inside: it stays empty.
    EXPECT_EQ(PathCount(0), 0);
    EXPECT_TRUE(Messages().empty());
    double x = 0, y = 0;
    ASSERT_EQ(GetPocketPathDrillPoint(1, x, y), 1);
    EXPECT_EQ(x, wall[0].x);
    EXPECT_EQ(y, wall[0].y);
    EXPECT_EQ(GetPocketPathDrillPoint(0, x, y), 0);
    EXPECT_EQ(GetPocketPathDrillPoint(33, x, y), 0);
}

TEST_F(PocketPath, EveryScanLineOfAWiderBlockSegmentsThePocket) {
    // The block 100 wide, r = 5, overlap 0.95: N = 11, step 9.0909, lines at -4.55 + 9.09 k;
    // the lines k = 3..5 lie inside the wall contour (y 15..45), each one move and one cut
    // from x = 15 to x = 75.
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1", "RPOCKET 2 1 70 40 5 10 10 6 0 0 0 -1 0 0"});
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 5, 0.95), 1);
    PathRef scan = GetPath(2);
    double step = 100.0 / 11;
    int line = 0;
    for (int i = 0; i < scan.size(); i += 2, ++line) {
        double y = -step / 2 + step * (3 + line);
        ASSERT_EQ(scan[i].kind, kRapid);
        EXPECT_NEAR(scan[i].y, y, 1e-9);
        EXPECT_NEAR(scan[i].x, 15, 1e-6);
        EXPECT_EQ(scan[i + 1].kind, kLine);
        EXPECT_NEAR(scan[i + 1].x, 75, 1e-6);
    }
    EXPECT_EQ(line, 3);
    // Along Y the lines run over the block length: k = 3..8 lie in x 15..75.
    ASSERT_EQ(MakePocketPathsY(IndexOf(2), 5, 0.95), 1);
    scan = GetPath(2);
    ASSERT_EQ(scan.size(), 12);
    EXPECT_NEAR(scan[0].x, -step / 2 + 3 * step, 1e-9);
    EXPECT_NEAR(scan[0].y, 15, 1e-6);
    EXPECT_NEAR(scan[1].y, 45, 1e-6);
}

TEST_F(PocketPath, ToolLargerThanTheInsideArcsIsRefused) {
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1", "RPOCKET 2 1 70 40 5 10 10 4 0 0 0 -1 0 0"});
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 5, 0.8), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Tool selection error] Tool diameter too big"});
    EXPECT_EQ(PathCount(1), 0);
    // A tool of exactly the arcs' radius fits: the corners become sharp.
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 4, 0.8), 1);
    for (int i = 1; i < PathCount(1); ++i)
        EXPECT_EQ(GetPath(1)[i].kind, kLine);
}

TEST_F(PocketPath, PocketTooNarrowForTheToolIsRefused) {
    // A slot 8 wide with sharp corners: no arc limits the tool, but a radius of 4.5 fits
    // nowhere in it.
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1"});
    TypeAll(FreeContour("POCKET", 2, 1, {{10, 10}, {60, 10}, {60, 18}, {10, 18}}, {}));
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 4.5, 0.8), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"[Tool selection error] Tool diameter too big",
                                                    "[Internal error] Error code 22"}));
    EXPECT_EQ(MakePocketPath(1, IndexOf(2), 4.5), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Tool selection error] Tool diameter too big"});
    EXPECT_EQ(MakePocketPath(1, IndexOf(2), 3.9), 1);
}

TEST_F(PocketPath, ShortSegmentsBecomeMovesAndMovesCollapse) {
    // A triangle: towards its apex the scan lines cross the wall contour ever closer together.
    // A line whose two crossings lie less than r apart yields no cut, and its move is dropped
    // with the move before it: the path never holds two moves in a row nor ends with one.
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1"});
    TypeAll(FreeContour("POCKET", 2, 1, {{10, 10}, {90, 10}, {50, 70}}, {}));
    const double r = 3;
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), r, 0.3), 1);
    auto wall = test::PathElements(GetPath(1));
    PathRef scan = GetPath(2);
    for (int i = 1; i < scan.size(); ++i) {
        if (scan[i].kind == kRapid) {
            EXPECT_EQ(scan[i - 1].kind, kLine) << i;
        }
    }
    EXPECT_EQ(scan[scan.size() - 1].kind, kLine);
    // Every line that crosses the contour: a cut exactly when its chord is r or longer.
    double step = 100.0 / (static_cast<int>(100 / (2 * r * 0.3)) + 1);
    int short_lines = 0;
    for (double y = -step / 2; y <= 100 + step / 2; y += step) {
        std::vector<double> xs;
        for (const Element& e : wall) {
            double a, b;
            int n = IntersectionsLR(-1000, y, e, a, b);
            if (n >= 1)
                xs.push_back(a);
            if (n == 2)
                xs.push_back(b);
        }
        if (xs.size() != 2)
            continue;
        double chord = std::fabs(xs[1] - xs[0]);
        int cuts = 0;
        for (const Element& c : Cuts())
            cuts += c.y1 == y;
        EXPECT_EQ(cuts, chord >= r ? 1 : 0) << "y " << y << " chord " << chord;
        short_lines += chord < r;
    }
    EXPECT_GE(short_lines, 1);
}

TEST_F(PocketPath, ScanPathFullIsAnInternalErrorNotASilentStop) {
    // 255 scan lines of one segment each need 510 points: they fit. Two more lines do not.
    TypeAll({"BLOCK 1 100 255 10 0 0 -10 0 0 -1", "RPOCKET 2 1 100 255 5 0 0 0.5 0 0 0 -1 0 0"});
    // r = 0.5, overlap 1: N = 256 lines of step 0.996; the first and the last miss the contour.
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 0.5, 1.0), 1);
    EXPECT_EQ(PathCount(2), 2 * 254);
    TypeAll({"BLOCK 1 100 260 10 0 0 -10 0 0 -1", "RPOCKET 2 1 100 260 5 0 0 0.5 0 0 0 -1 0 0"});
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 0.5, 1.0), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Internal error] Error code 23"});
    EXPECT_EQ(PathCount(2), kPathCapacity);
    EXPECT_EQ(PathCount(3), 0); // nothing written past path 2
    EXPECT_EQ(GetPath(3)[0].x, 0);
}

TEST_F(PocketPath, BadNumbersAreInternalErrors) {
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1", "RPOCKET 2 1 70 40 5 10 10 6 0 0 0 -1 0 0"});
    EXPECT_EQ(MakePocketPath(32, IndexOf(2), 5), 0);
    EXPECT_EQ(MakePocketPath(0, 64, 5), 0);
    EXPECT_EQ(MakePocketPath(0, IndexOf(2) + 1, 5), 0);
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 0, 0.8), 0);
    EXPECT_EQ(MakePocketPathsX(IndexOf(2), 5, 0), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "[Internal error] Error code 16", "[Internal error] Error code 17",
                              "[Internal error] Error code 17", "[Internal error] Error code 25",
                              "[Internal error] Error code 25"}));
}

TEST_F(PocketPath, SharpCornersOfTheExamplePocketAreNotOvercut) {
    // The free pocket of the shipped example has sharp corners at (110, 20) and (170, 20).
    // Cleaned, its wall contour keeps the tool radius (less the pocket's tolerance offset of
    // 0.010) from the outline everywhere; the raw offset (FOPI) runs past each corner by the
    // radius.
    OpenProject(std::string(KORVEL_SOURCE_DIR) + "/examples/pocket-plate.kvp");
    Messages();
    int k = IndexOf(3);
    ASSERT_GE(k, 0);
    auto outline = test::ShapeOutline(OutlineOf(k));
    ASSERT_EQ(MakePocketPathsX(k, 5, 0.95), 1);
    double nearest = 1e9;
    for (const Point& q : test::PointsAlong(test::PathElements(GetPath(1)), 0.2))
        nearest = std::fmin(nearest, test::DistanceToAll(outline, q.x, q.y));
    EXPECT_NEAR(nearest, 4.99, 1e-6);
    ASSERT_EQ(Type("FOPI"), 1);
    ASSERT_EQ(MakePocketPathsX(k, 5, 0.95), 1);
    nearest = 1e9;
    for (const Point& q : test::PointsAlong(test::PathElements(GetPath(1)), 0.2))
        nearest = std::fmin(nearest, test::DistanceToAll(outline, q.x, q.y));
    EXPECT_LT(nearest, 0.5); // the tool's centre reaches the wall: cut 5 too far
}

TEST_F(PocketPath, NarrowNeckThatSplitsTheWallContourWarns) {
    // Two squares joined by a neck 6 wide: a tool of radius 4 cannot pass it, and the wall
    // contour can reach only one of the two rooms.
    TypeAll({"BLOCK 1 200 100 10 0 0 -10 0 0 -1"});
    TypeAll(FreeContour("POCKET", 2, 1,
                        {{10, 10},
                         {50, 10},
                         {50, 27},
                         {70, 27},
                         {70, 10},
                         {110, 10},
                         {110, 50},
                         {70, 50},
                         {70, 33},
                         {50, 33},
                         {50, 50},
                         {10, 50}},
                        {}));
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 4, 0.8), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[WARNING! Pocket path intersection] Please "
                                                   "check pocket for producability or select a "
                                                   "smaller tool"});
    // A tool that passes the neck reaches both rooms without a warning.
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 2.5, 0.8), 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PocketPath, SegmentsKeepClearOfIslands) {
    TypeAll({"BLOCK 1 200 100 10 0 0 -10 0 0 -1", "RPOCKET 2 1 120 60 8 20 20 6 0 0 0 -1 0 0",
             "CBULGE 3 2 20 8 60 50 0 0 0 -1 0 0", "RBULGE 4 2 15 20 8 100 35 0 0 0 0 -1 0 0"});
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 3, 0.8), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_GT(PathCount(3), 0);
    EXPECT_GT(PathCount(4), 0);
    Bulge island;
    for (int id : {3, 4}) {
        GetBulge(IndexOf(id), island);
        auto outline = test::ShapeOutline(island.shape);
        for (const Element& cut : Cuts())
            for (const Point& q : test::PointsAlong({cut}, 0.5))
                EXPECT_GE(test::DistanceToAll(outline, q.x, q.y), 3 - 1e-6);
    }
}

TEST_F(PocketPath, SegmentsLieInsideTheWallContourAndOutsideEveryIsland) {
    TypeAll({"BLOCK 1 400 300 40 0 0 -40 0 0 -1"});
    Rng rng(4242);
    int checked = 0;
    for (int c = 0; c < 60; ++c) {
        for (int id = 2; id < 14; ++id)
            if (IndexOf(id) >= 0)
                Type(Sprintf("DELETE %d", id));
        Vertex closing;
        auto v = test::RandomStar(rng, 200, 150, rng.Uniform(50, 110), rng.Int(3, 12), c % 2 == 1,
                                  closing);
        TypeAll(FreeContour("POCKET", 2, 1, v, closing));
        double r = rng.Uniform(1, 6);
        AddIslands(rng, OutlineOf(IndexOf(2)), r, 2);
        bool along_y = rng.Coin();
        int made = along_y ? MakePocketPathsY(IndexOf(2), r, rng.Uniform(0.5, 1))
                           : MakePocketPathsX(IndexOf(2), r, rng.Uniform(0.5, 1));
        Messages(); // warnings of crossing outlines are allowed here
        if (!made)
            continue;
        ++checked;
        auto wall = test::PathElements(GetPath(1));
        std::vector<std::vector<Element>> islands;
        for (int id = 10; id < 14; ++id)
            if (IndexOf(id) >= 0) {
                Bulge b;
                GetBulge(IndexOf(id), b);
                islands.push_back(test::ShapeOutline(b.shape));
            }
        for (const Element& cut : Cuts()) {
            EXPECT_GE(dist(cut), r - 1e-9) << "case " << c;
            // Interior points: the ends lie on the contours themselves.
            for (double f = 0.01; f < 1; f += 0.049) {
                double x = cut.x1 + f * (cut.x2 - cut.x1), y = cut.y1 + f * (cut.y2 - cut.y1);
                EXPECT_TRUE(test::Inside(wall, x, y)) << "case " << c << " at " << x << " " << y;
                for (const auto& island : islands) {
                    EXPECT_FALSE(test::Inside(island, x, y)) << "case " << c;
                    EXPECT_GE(test::DistanceToAll(island, x, y), r - 1e-6) << "case " << c;
                }
            }
        }
    }
    EXPECT_GT(checked, 40);
}

} // namespace
} // namespace korvel
