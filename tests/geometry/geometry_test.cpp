// Tolerances, arc centres, point transformations and ray crossings.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "base/units.h"

namespace korvel {
namespace {

TEST(Tolerance, InclusiveAndInInchProjects) {
    ResetUnits();
    EXPECT_EQ(equal(1.0, 1.001), 1);
    EXPECT_EQ(equal(1.0, 1.0011), 0);
    EXPECT_EQ(equal(NAN, NAN), 0);
    EXPECT_EQ(approx_equal(2.0, 2.09), 1);
    EXPECT_EQ(approx_equal(2.0, 2.11), 0);
    EXPECT_EQ(r_equal(10, 10.026), 0);
    SetUserUnit(kUnitInch);
    EXPECT_EQ(equal(1.0, 1.001), 0);
    EXPECT_EQ(equal(1.0, 1.0 + 0.0009 / 25.4), 1);
    ResetUnits();
}

TEST(ArcCenterTest, ShortAndLongArcsAndHalfCircles) {
    double cx, cy;
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, 10, kCwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10, 1e-9); // clockwise, positive radius: centre right of the chord
    EXPECT_NEAR(cy, 0, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, 10, kCcwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 0, 1e-9);
    EXPECT_NEAR(cy, 10, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, -10, kCcwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 20.04, 0, 10, kCwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10.02, 1e-9);
    EXPECT_EQ(ArcCenter(0, 0, 20.04, 0, 9.9, kCwArc, cx, cy), 0);
    EXPECT_EQ(ArcCenter(0, 0, 10, 0, 10, kLine, cx, cy), 0);
    EXPECT_EQ(ArcCenter(3, 3, 3, 3, 10, kCwArc, cx, cy), 0);
    EXPECT_DOUBLE_EQ(cx, 3);
}

TEST(PointTransforms, TurnAndScale) {
    double x = 10, y = 0;
    EXPECT_EQ(TurnPoint(0, 0, 90, x, y), 1);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 10, 1e-12);
    double cx = 5, cy = 5;
    EXPECT_EQ(TurnPoint(5, 5, 45, cx, cy), 0);
    EXPECT_EQ(cx, 5);
    x = 3;
    y = 4;
    ScalePoint(1, 1, 2, x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7);
}

// The number of crossings of a +X ray from (x, y) with a closed diamond around (5, 5),
// element by element.
int DiamondCrossings(double x, double y) {
    const double px[] = {5, 10, 5, 0}, py[] = {0, 5, 10, 5};
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        double xa;
        count += IntersectLR(x, y, px[i], py[i], px[j], py[j], 0, kLine, xa);
    }
    return count;
}

TEST(RayCrossing, VerticesCountOnceAndHorizontalLinesNever) {
    EXPECT_EQ(DiamondCrossings(-5, 5), 2); // through two vertices, each once
    EXPECT_EQ(DiamondCrossings(5, 5), 1);
    EXPECT_EQ(DiamondCrossings(-5, 2), 2);
    EXPECT_EQ(DiamondCrossings(7, 2), 1);
    EXPECT_EQ(DiamondCrossings(-5, 0), 1); // the bottom vertex starts one element only
    EXPECT_EQ(DiamondCrossings(-5, 11), 0);
    double xa, xb;
    EXPECT_EQ(IntersectionsLR(0, 0, -5, 0, 5, 0, 0, kLine, xa, xb), 0);
    EXPECT_EQ(IntersectionsDU(0, 0, 0, -5, 0, 5, 0, kLine, xa, xb), 0);
    EXPECT_EQ(IntersectionsDU(0, -10, -5, 0, 5, 0.5, 0, kLine, xa, xb), 1);
    EXPECT_NEAR(xa, 0.25, 1e-12);
}

TEST(RayCrossing, ArcsBothWays) {
    double xa, xb;
    // Upper half circle from (10, 0) to (-10, 0), counter-clockwise about the origin.
    EXPECT_EQ(IntersectionsLR(-20, 5, 10, 0, -10, 0, 10, kCcwArc, xa, xb), 2);
    EXPECT_LT(xa, xb);
    EXPECT_NEAR(xb, std::sqrt(75.0), 1e-9);
    EXPECT_EQ(IntersectionsLR(0, 5, 10, 0, -10, 0, 10, kCcwArc, xa, xb), 1);
    EXPECT_EQ(IntersectionsLR(-20, -5, 10, 0, -10, 0, 10, kCcwArc, xa, xb), 0);
    // The same arc run clockwise from (-10, 0) to (10, 0).
    EXPECT_EQ(IntersectionsLR(-20, 5, -10, 0, 10, 0, 10, kCwArc, xa, xb), 2);
    // Its lower twin: the clockwise arc with negative radius is the long way round.
    EXPECT_EQ(IntersectionsLR(-20, 5, -10, 0, 0, -10, -10, kCwArc, xa, xb), 2);
}

} // namespace
} // namespace korvel
