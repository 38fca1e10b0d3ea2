// The path table and the in-place edits: clearing, insertion, rotation, deletion, the block
// test and node avoidance.
#include <gtest/gtest.h>

#include "cad/dots.h"
#include "paths/contour_path.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "support.h"

namespace korvel {
namespace {

class PathTable : public test::KorvelTest {
protected:
    // Path p as the closed square (0,0) (10,0) (10,10) (0,10) of lines.
    static void Square(int p) {
        ClearPath(p);
        PathRef path = GetPath(p);
        for (PathPoint q :
             {PathPoint{0, 0, 0, kRapid}, PathPoint{10, 0, 0, kLine}, PathPoint{10, 10, 0, kLine},
              PathPoint{0, 10, 0, kLine}, PathPoint{0, 0, 0, kLine}})
            ASSERT_EQ(AppendPathPoint(path, q), 1);
    }
};

TEST_F(PathTable, ClearingAndCapacity) {
    EXPECT_FALSE(GetPath(-1).valid());
    EXPECT_FALSE(GetPath(33).valid());
    EXPECT_EQ(GetPath(32).capacity, kPathCapacity);
    EXPECT_EQ(GetXLPath().capacity, kXLPathCapacity);
    PathRef p = GetPath(7);
    for (int i = 0; i < kPathCapacity; ++i)
        ASSERT_EQ(AppendPathPoint(p, PathPoint{1.0 * i, 1, 0, kLine}), 1);
    EXPECT_EQ(AppendPathPoint(p, PathPoint{}), 0); // full: nothing written
    EXPECT_EQ(PathCount(7), kPathCapacity);
    EXPECT_EQ(PathCount(8), 0);
    ClearPath(7);
    EXPECT_EQ(PathCount(7), 0);
    EXPECT_EQ(GetPath(7)[511].x, 0);
    ClearPath(40); // nothing
    PathRef xl = GetXLPath();
    ASSERT_EQ(AppendPathPoint(xl, PathPoint{1, 2, 0, kLine}), 1);
    Square(3);
    ClearPaths();
    EXPECT_EQ(PathCount(3), 0);
    EXPECT_EQ(XLPathCount(), 1);
    ClearXLPath();
    EXPECT_EQ(XLPathCount(), 0);
    EXPECT_EQ(PathCount(-1), 0);
}

// Paths are zeroed only where they were handed out since their last clear: a path filled,
// cleared, filled again and cleared again is all zeros, and so are its neighbours.
TEST_F(PathTable, EveryClearZeroesWhatWasWrittenSinceTheLast) {
    for (int round = 0; round < 3; ++round) {
        Square(5);
        PathRef xl = GetXLPath();
        ASSERT_EQ(AppendPathPoint(xl, PathPoint{1, 2, 3, kCwArc}), 1);
        if (round == 1) {
            ClearPath(5);
            ClearXLPath();
        } else {
            ClearPaths();
            ClearXLPath();
        }
        PathRef p = GetPath(5);
        EXPECT_EQ(p.size(), 0);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(p[i].x, 0) << round;
            EXPECT_EQ(p[i].y, 0) << round;
            EXPECT_EQ(p[i].kind, 0) << round;
        }
        xl = GetXLPath();
        EXPECT_EQ(xl.size(), 0);
        EXPECT_EQ(xl[0].x, 0) << round;
        EXPECT_EQ(xl[0].radius, 0) << round;
        EXPECT_EQ(GetPath(4)[0].x, 0);
        EXPECT_EQ(GetPath(6)[1].y, 0);
    }
}

TEST_F(PathTable, InsertingAPointSplitsItsElement) {
    Square(2);
    // (10, 4) lies on the right edge, element 2: it becomes point 2.
    EXPECT_EQ(InsertPathPointX(10, 4, 2), 2);
    PathRef p = GetPath(2);
    ASSERT_EQ(p.size(), 6);
    EXPECT_EQ(p[2].x, 10);
    EXPECT_EQ(p[2].y, 4);
    EXPECT_EQ(p[2].kind, kLine);
    EXPECT_EQ(p[3].y, 10);
    // An existing point is found, not added again.
    EXPECT_EQ(InsertPathPointX(10, 4, 2), 2);
    EXPECT_EQ(InsertPathPointX(10, 10, 2), 3);
    EXPECT_EQ(p.size(), 6);
    // Along Y: (6, 10) on the top edge.
    EXPECT_EQ(InsertPathPointY(6, 10, 2), 4);
    EXPECT_EQ(p.size(), 7);
    // Points on no element, and bad path numbers.
    EXPECT_EQ(InsertPathPointX(5, 5, 2), -1);
    EXPECT_EQ(InsertPathPointX(10, 4, 33), -1);
    EXPECT_EQ(InsertPathPointY(10, 4, -1), -1);
}

TEST_F(PathTable, InsertingIntoAnArcKeepsItsCentre) {
    // A counter-clockwise circle of radius 10 about the origin as one long arc and one short.
    ClearPath(1);
    PathRef p = GetPath(1);
    AppendPathPoint(p, PathPoint{10, 0, 0, kRapid});
    AppendPathPoint(p, PathPoint{0, -10, -10, kCcwArc}); // three quarters round
    AppendPathPoint(p, PathPoint{10, 0, 10, kCcwArc});
    // (-10, 0) lies on the long arc; both halves are half circles or less: radius +10.
    int at = InsertPathPointX(-10, 0, 1);
    ASSERT_EQ(at, 1);
    EXPECT_EQ(p[1].radius, 10);
    EXPECT_EQ(p[2].radius, 10);
    // (0, 10) splits the first half into two quarters.
    ASSERT_EQ(InsertPathPointX(0, 10, 1), 1);
    EXPECT_EQ(p.size(), 5);
    for (int i = 1; i < p.size(); ++i) {
        EXPECT_EQ(p[i].radius, 10);
        EXPECT_EQ(p[i].kind, kCcwArc);
    }
}

TEST_F(PathTable, FullPathTakesNoMorePoints) {
    ClearPath(4);
    PathRef p = GetPath(4);
    AppendPathPoint(p, PathPoint{0, 0, 0, kRapid});
    for (int i = 1; i <= 510; ++i)
        AppendPathPoint(p, PathPoint{0, 1.0 * i, 0, kLine});
    // 511 points: more than 510, the insertion is refused.
    EXPECT_EQ(InsertPathPointX(0, 0.5, 4), -1);
    DeleteLastPathElement(p.points, *p.count);
    EXPECT_EQ(InsertPathPointX(0, 0.5, 4), 1);
    EXPECT_EQ(p.size(), 511);
}

TEST_F(PathTable, RotatingAClosedPath) {
    Square(5);
    EXPECT_EQ(ChangeBulgePathStartPoint(0, 5), 1);
    EXPECT_EQ(GetPath(5)[0].x, 0);
    EXPECT_EQ(ChangeBulgePathStartPoint(5, 5), 1); // k = count: nothing to do
    EXPECT_EQ(ChangeBulgePathStartPoint(6, 5), 0);
    EXPECT_EQ(ChangeBulgePathStartPoint(-1, 5), 0);
    EXPECT_EQ(ChangeBulgePathStartPoint(1, 33), 0);
    ASSERT_EQ(ChangeBulgePathStartPoint(2, 5), 1);
    PathRef p = GetPath(5);
    ASSERT_EQ(p.size(), 5);
    double expect[5][2] = {{10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(p[i].x, expect[i][0]) << i;
        EXPECT_EQ(p[i].y, expect[i][1]) << i;
    }
}

TEST_F(PathTable, DeletingElements) {
    Square(6);
    PathRef p = GetPath(6);
    EXPECT_EQ(DeletePathElements(p.points, *p.count, 1, 3), 4);
    EXPECT_EQ(p[2].y, 10);
    EXPECT_EQ(p[2].x, 0);
    EXPECT_EQ(p[4].x, 0);                                       // cleared
    EXPECT_EQ(DeletePathElements(p.points, *p.count, 2, 2), 4); // nothing between
    EXPECT_EQ(DeletePathElements(p.points, *p.count, 3, 1), 4);
    EXPECT_EQ(DeletePathElements(p.points, *p.count, 0, 9), 4);
    EXPECT_EQ(DeleteLastPathElement(p.points, *p.count), 3);
    int none = 0;
    EXPECT_EQ(DeleteLastPathElement(p.points, none), 0);
}

TEST_F(PathTable, InBlockTellsSegmentsOutsideOneEdge) {
    TypeAll({"BLOCK 1 100 50 10 0 0 -10 0 0 -1"});
    EXPECT_EQ(InBlock(10, 10, 20, 20), 1);
    EXPECT_EQ(InBlock(-5, -5, -1, 60), 0);   // left of the left edge
    EXPECT_EQ(InBlock(0, 10, 0, 20), 0);     // on it counts as outside
    EXPECT_EQ(InBlock(-5, 10, 105, 10), 1);  // crosses the block
    EXPECT_EQ(InBlock(100, 10, 120, 10), 0); // at or right of the right edge
    EXPECT_EQ(InBlock(10, -1, 90, 0), 0);    // at or below the lower edge
    EXPECT_EQ(InBlock(10, 50, 90, 70), 0);   // at or above the upper edge
    EXPECT_EQ(InBlock(-5, 60, 50, 25), 1);   // outside two edges, not one
}

TEST_F(PathTable, ScanLinesAreMovedOffTheNodes) {
    TypeAll({"BLOCK 1 100 100 10 0 0 -10 0 0 -1", "RBULGE 2 1 20 20 5 10 10 0 0 0 0 -1 0 0",
             "RPOCKET 3 1 20 20 5 50 50 2 0 0 0 -1 0 0"});
    double x = 30, y = 10;
    AvoidBulgeNodes(IndexOf(2), x, y);
    EXPECT_DOUBLE_EQ(x, 29.999);
    EXPECT_DOUBLE_EQ(y, 9.999);
    x = 25;
    y = 10.001; // one step off a node moves on to the next free value
    AvoidBulgeNodes(IndexOf(2), x, y);
    EXPECT_EQ(x, 25);
    EXPECT_EQ(y, 10.001);
    x = 52;
    y = 68;
    AvoidPocketNodes(IndexOf(3), x, y);
    EXPECT_DOUBLE_EQ(x, 51.999);
    EXPECT_DOUBLE_EQ(y, 67.999);
    AvoidPocketNodes(63, x, y); // a free slot: nothing
    EXPECT_DOUBLE_EQ(x, 51.999);
}

TEST_F(PathTable, CrossingsBetweenTwoPathsAreMarked) {
    Square(1);
    ClearPath(2);
    PathRef b = GetPath(2);
    AppendPathPoint(b, PathPoint{5, -5, 0, kRapid});
    AppendPathPoint(b, PathPoint{5, 15, 0, kLine});
    PathRef a = GetPath(1);
    EXPECT_EQ(CheckForExternalPathIntersections(a.points, b.points, *a.count, *b.count), 1);
    ASSERT_EQ(DotCount(), 3);
    EXPECT_EQ(DotAt(2).cls, 16);
    EXPECT_EQ(DotAt(2).x, 5);
    EXPECT_EQ(DotAt(2).y, 0);
    b[1].x = 20;
    b[0].x = 20;
    EXPECT_EQ(CheckForExternalPathIntersections(a.points, b.points, *a.count, *b.count), 0);
    // A square does not cross itself.
    EXPECT_EQ(CheckForInternalPathIntersections(a.points, *a.count), 0);
    EXPECT_EQ(EliminatePathIntersections(a.points, *a.count), 0);
}

} // namespace
} // namespace korvel
