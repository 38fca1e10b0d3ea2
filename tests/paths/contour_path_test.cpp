// Bulge contour paths: the worked examples, the mends (loops cut, fillets the tool just fits,
// arcs too tight for it, clockwise outlines), capacities, and properties over random outlines.
#include <gtest/gtest.h>

#include <cmath>

#include "cad/dots.h"
#include "model/block.h"
#include "model/bulge.h"
#include "path_checks.h"
#include "paths/contour_path.h"
#include "paths/offset_contour.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "support.h"

namespace korvel {
namespace {

using test::FreeContour;
using test::Vertex;

class ContourPath : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(Type("BLOCK 1 400 300 40 0 0 -40 0 0 -1"), 1);
    }
    // Types the lines of a bulge and returns its slot.
    int Bulge(const std::vector<std::string>& lines, int id) {
        TypeAll(lines);
        return IndexOf(id);
    }
    static Shape OutlineOf(int b) {
        korvel::Bulge bulge;
        GetBulge(b, bulge);
        return bulge.shape;
    }
};

void ExpectPoint(const PathPoint& p, double x, double y, int kind, double radius) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_EQ(p.kind, kind);
    EXPECT_NEAR(p.radius, radius, 1e-9);
}

TEST_F(ContourPath, SquareGivesFourLinesAndFourCornerArcs) {
    int b = Bulge({"RBULGE 2 1 40 40 10 100 100 0 0 0 0 -1 0 0"}, 2);
    ASSERT_EQ(MakeBulgePath(3, b, 5), 1);
    PathRef p = GetPath(3);
    ASSERT_EQ(p.size(), 9);
    ExpectPoint(p[0], 100, 95, kRapid, 0);
    ExpectPoint(p[1], 140, 95, kLine, 0);
    ExpectPoint(p[2], 145, 100, kCcwArc, 5);
    ExpectPoint(p[3], 145, 140, kLine, 0);
    ExpectPoint(p[4], 140, 145, kCcwArc, 5);
    ExpectPoint(p[5], 100, 145, kLine, 0);
    ExpectPoint(p[6], 95, 140, kCcwArc, 5);
    ExpectPoint(p[7], 95, 100, kLine, 0);
    ExpectPoint(p[8], 100, 95, kCcwArc, 5); // the closing corner repeats the first point
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContourPath, RoundedRectangleIsClosedWithoutAnExtraPoint) {
    // Corner radius 4 offset by 5: the corner arcs grow to 9 and meet the lines exactly.
    int b = Bulge({"RBULGE 2 1 40 30 10 100 100 4 0 0 0 -1 0 0"}, 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    ASSERT_EQ(p.size(), 9);
    ExpectPoint(p[0], 104, 95, kRapid, 0);
    ExpectPoint(p[2], 145, 104, kCcwArc, 9);
    ExpectPoint(p[8], 104, 95, kCcwArc, 9);
}

TEST_F(ContourPath, ToleranceOffsetWidensTheOffset) {
    int b = Bulge({"RBULGE 2 1 40 40 10 100 100 0 0 0 0 -1 250 0"}, 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    EXPECT_NEAR(GetPath(0)[0].y, 100 - 5.25, 1e-9);
    EXPECT_NEAR(GetPath(0)[2].radius, 5.25, 1e-9);
}

// An L-shaped bulge: its one concave corner at (120, 120).
std::vector<std::string> LShape() {
    return FreeContour("BULGE", 2, 1,
                       {{100, 100}, {140, 100}, {140, 120}, {120, 120}, {120, 140}, {100, 140}},
                       {});
}

TEST_F(ContourPath, ConcaveCornerLoopIsCutInOneCall) {
    int b = Bulge(LShape(), 2);
    ASSERT_EQ(Type("FOPI"), 1); // the raw offset, loop and all
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    int raw = p.size();
    // At (120, 120) the offsets overlap: the corner arc from (125, 125) to (125, 125)... runs
    // out past them and back.
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, *p.count), 1);
    ASSERT_EQ(EliminatePathIntersections(p.points, *p.count), 1);
    EXPECT_EQ(EliminatePathIntersections(p.points, *p.count), 0);
    EXPECT_EQ(p.size(), raw - 1);
    // The offset lines now meet in the sharp corner (125, 125).
    bool corner = false;
    for (int i = 0; i < p.size(); ++i)
        corner |= std::fabs(p[i].x - 125) < 1e-9 && std::fabs(p[i].y - 125) < 1e-9;
    EXPECT_TRUE(corner);
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, *p.count), 0);
    // Both the crossing the check found and the cut are marked.
    ASSERT_EQ(DotCount(), 3);
    EXPECT_EQ(DotAt(2).cls, 4);
    EXPECT_NEAR(DotAt(2).x, 125, 1e-9);
}

TEST_F(ContourPath, LoopsAreCutUnlessFopiSwitchedItOff) {
    int b = Bulge(LShape(), 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, *p.count), 0);
    int cleaned = p.size();
    ASSERT_EQ(Type("FOPI"), 1);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    EXPECT_EQ(p.size(), cleaned + 1);
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, *p.count), 1);
}

TEST_F(ContourPath, ConcaveCornerAtTheStartIsCutRoundTheStart) {
    // The same L started at its concave corner: the loop spans the path's closing point.
    int b = Bulge(
        FreeContour("BULGE", 2, 1,
                    {{120, 120}, {120, 140}, {100, 140}, {100, 100}, {140, 100}, {140, 120}}, {}),
        2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, *p.count), 0);
    ExpectPoint(p[0], 125, 125, kRapid, 0);
    EXPECT_NEAR(p[p.size() - 1].x, 125, 1e-9);
    EXPECT_NEAR(p[p.size() - 1].y, 125, 1e-9);
    EXPECT_GT(PathArea(p.points, p.size()), 0);
}

TEST_F(ContourPath, FilletTheToolJustFitsBecomesASharpCorner) {
    // An inside fillet of radius 5 (a clockwise arc) and a tool of radius 5: the path passes
    // through the fillet's centre (125, 125) and does not follow the fillet.
    int b = Bulge(FreeContour("BULGE", 2, 1,
                              {{100, 100},
                               {140, 100},
                               {140, 120},
                               {125, 120},
                               {120, 125, kCwArc, 5},
                               {120, 140},
                               {100, 140}},
                              {}),
                  2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    int at_centre = 0;
    for (int i = 0; i < p.size(); ++i) {
        EXPECT_NE(p[i].kind, kCwArc);
        at_centre += std::fabs(p[i].x - 125) < 1e-9 && std::fabs(p[i].y - 125) < 1e-9;
    }
    EXPECT_EQ(at_centre, 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContourPath, FilletTooTightForTheToolIsStillCutAtTheRightDistance) {
    // An inside fillet of radius 2 and a tool of radius 5: the offset lines meet at (125, 125),
    // 5 from both walls; no point of the path comes nearer the outline than 5.
    int b = Bulge(FreeContour("BULGE", 2, 1,
                              {{100, 100},
                               {140, 100},
                               {140, 120},
                               {122, 120},
                               {120, 122, kCwArc, 2},
                               {120, 140},
                               {100, 140}},
                              {}),
                  2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    auto outline = test::ShapeOutline(OutlineOf(b));
    for (const Point& q : test::PointsAlong(test::PathElements(p), 0.5))
        EXPECT_NEAR(test::DistanceToAll(outline, q.x, q.y), 5, 0.01) << q.x << " " << q.y;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ContourPath, NotchTooNarrowForTheToolIsBridgedAtToolDistance) {
    // A half-round notch of radius 3 in the bottom edge; a tool of radius 5 cannot enter it and
    // passes under its mouth through (130, 96), where it touches both edges of the mouth.
    int b = Bulge(
        FreeContour(
            "BULGE", 2, 1,
            {{100, 100}, {127, 100}, {133, 100, kCwArc, 3}, {160, 100}, {160, 140}, {100, 140}},
            {}),
        2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    auto outline = test::ShapeOutline(OutlineOf(b));
    double highest_under_notch = -1e9;
    for (const Point& q : test::PointsAlong(test::PathElements(p), 0.1)) {
        EXPECT_NEAR(test::DistanceToAll(outline, q.x, q.y), 5, 0.01) << q.x << " " << q.y;
        if (std::fabs(q.x - 130) < 0.05 && q.y < 100)
            highest_under_notch = std::fmax(highest_under_notch, q.y);
    }
    EXPECT_NEAR(highest_under_notch, 96, 0.01);
}

TEST_F(ContourPath, ClockwiseOutlineIsOffsetOutwardsToo) {
    // The square typed clockwise: the path still runs outside it, counter-clockwise.
    int b =
        Bulge(FreeContour("BULGE", 2, 1, {{100, 100}, {100, 140}, {140, 140}, {140, 100}}, {}), 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    EXPECT_EQ(p.size(), 9);
    EXPECT_NEAR(PathArea(p.points, p.size()), 50 * 50 - (100 - 25 * kPi), 1e-6);
    auto outline = test::ShapeOutline(OutlineOf(b));
    for (const Point& q : test::PointsAlong(test::PathElements(p), 1))
        EXPECT_NEAR(test::DistanceToAll(outline, q.x, q.y), 5, 1e-6);
}

TEST_F(ContourPath, LongArcStaysLong) {
    // A bulge of one line and a three-quarter circle (radius -20): the offset arc keeps the
    // minus sign, the arc of more than half a turn.
    int b =
        Bulge(FreeContour("BULGE", 2, 1, {{200, 100}, {220, 120}}, {200, 100, kCcwArc, -20}), 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    PathRef p = GetPath(0);
    bool long_arc = false;
    for (int i = 1; i < p.size(); ++i)
        long_arc |= p[i].kind == kCcwArc && std::fabs(p[i].radius + 25) < 1e-9;
    EXPECT_TRUE(long_arc);
    auto outline = test::ShapeOutline(OutlineOf(b));
    for (const Point& q : test::PointsAlong(test::PathElements(p), 1))
        EXPECT_NEAR(test::DistanceToAll(outline, q.x, q.y), 5, 1e-6);
}

TEST_F(ContourPath, BadNumbersAreInternalErrors) {
    int b = Bulge({"RBULGE 2 1 40 40 10 100 100 0 0 0 0 -1 0 0"}, 2);
    EXPECT_EQ(MakeBulgePath(32, b, 5), 0);
    EXPECT_EQ(MakeBulgePath(-1, b, 5), 0);
    EXPECT_EQ(MakeBulgePath(0, 32, 5), 0);
    EXPECT_EQ(MakeBulgePath(0, b + 1, 5), 0); // a free slot
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "[Internal error] Error code 1", "[Internal error] Error code 1",
                              "[Internal error] Error code 2", "[Internal error] Error code 2"}));
}

// A polygon of n vertices round (200, 150): each convex corner adds an arc to its line.
std::vector<std::string> Polygon(int n) {
    std::vector<Vertex> v;
    for (int i = 0; i < n; ++i)
        v.push_back({200 + 100 * std::cos(2 * kPi * i / n), 150 + 100 * std::sin(2 * kPi * i / n)});
    return FreeContour("BULGE", 2, 1, v, {});
}

TEST_F(ContourPath, LargestOutlineFitsEasily) {
    // 127 vertices, each a convex corner: a line and an arc each, 255 points in all.
    int b = Bulge(Polygon(127), 2);
    ASSERT_EQ(MakeBulgePath(0, b, 5), 1);
    EXPECT_EQ(PathCount(0), 255);
}

// A zig-zag chain of n teeth closed below: every corner adds an arc, so the offset needs about
// four points a tooth. (An outline of a shape has at most 128 vertices and never comes near the
// limit; the builder takes any chain.)
std::vector<Element> Zigzag(int teeth) {
    std::vector<Element> e;
    double x = 0;
    for (int i = 0; i < teeth; ++i) {
        e.push_back(Element{x + 2, 0, x + 1, 3, 0, kLine, 1});
        e.push_back(Element{x + 1, 3, x, 0, 0, kLine, 1});
        x -= 2;
    }
    std::vector<Element> chain{Element{x + 2, 0, x + 2, -5, 0, kLine, 1},
                               Element{x + 2, -5, 2, -5, 0, kLine, 1},
                               Element{2, -5, 2, 0, 0, kLine, 1}};
    // Counter-clockwise: along the bottom to the right, up, then the teeth back to the left.
    std::vector<Element> out;
    out.push_back(chain[1]);
    out.push_back(chain[2]);
    for (const Element& t : e)
        out.push_back(t);
    out.push_back(chain[0]);
    return out;
}

TEST_F(ContourPath, ContourOfMoreThan509PointsIsInternalError3) {
    const OffsetContourCodes codes{kErrBulgePathFull, kErrBulgePathNoRoom, kErrBulgePathElement};
    PathRef path = GetPath(5);
    // 127 teeth: 4 points each and a few more, up to 509 and closed.
    ASSERT_EQ(BuildOffsetContour(Zigzag(126), 0.2, 1, path, codes), 1);
    EXPECT_LE(path.size(), kPathCapacity);
    int fits = path.size();
    EXPECT_GT(fits, 500);
    // One tooth more crosses 509 before the closing element.
    ASSERT_EQ(BuildOffsetContour(Zigzag(128), 0.2, 1, path, codes), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Internal error] Error code 3"});
    EXPECT_LE(path.size(), kPathBuildLimit + 2);
    // Nothing was written past the path: the next path is untouched.
    EXPECT_EQ(PathCount(6), 0);
    EXPECT_EQ(GetPath(6)[0].x, 0);
}

} // namespace
} // namespace korvel
