// Tolerances, element lengths, arc centres, midpoints, three-point circles, point
// transformations and the quadratic solver.
#include <gtest/gtest.h>

#include <cmath>

#include "base/units.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "random_geometry.h"

namespace korvel {
namespace {

class Primitives : public ::testing::Test {
protected:
    void SetUp() override { ResetUnits(); }
    void TearDown() override { ResetUnits(); }
};

TEST_F(Primitives, TolerancesAreInclusiveAndShrinkInInchProjects) {
    EXPECT_EQ(equal(1.0, 1.001), 1);
    EXPECT_EQ(equal(1.0, 1.0011), 0);
    EXPECT_EQ(equal(NAN, NAN), 0);
    EXPECT_EQ(equal(INFINITY, INFINITY), 0);
    EXPECT_EQ(intol(5, 5.5, 0.5), 1);
    EXPECT_EQ(intol(5, 5.51, 0.5), 0);
    EXPECT_EQ(approx_equal(2.0, 2.09), 1);
    EXPECT_EQ(approx_equal(2.0, 2.11), 0);
    EXPECT_EQ(r_equal(10, 10.0249), 1);
    EXPECT_EQ(r_equal(10, 10.026), 0);

    SetUserUnit(kUnitInch);
    EXPECT_EQ(equal(1.0, 1.001), 0);
    EXPECT_EQ(equal(1.0, 1.0 + 0.0009 / 25.4), 1);
    EXPECT_EQ(intol(5, 0.49 / 25.4 + 5, 0.5), 1);
    EXPECT_EQ(intol(5, 0.51 / 25.4 + 5, 0.5), 0);
    EXPECT_EQ(approx_equal(2.0, 2.0 + 0.09 / 25.4), 1);
    EXPECT_EQ(approx_equal(2.0, 2.0 + 0.11 / 25.4), 0);
    EXPECT_EQ(r_equal(1.0, 1.0 + 0.024 / 25.4), 1);
    EXPECT_EQ(r_equal(1.0, 1.0 + 0.026 / 25.4), 0);
}

TEST_F(Primitives, ArcCentresForShortLongAndHalfCircleArcs) {
    double cx, cy;
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, 10, kCwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10, 1e-9); // clockwise, positive radius: centre right of the chord
    EXPECT_NEAR(cy, 0, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, 10, kCcwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 0, 1e-9);
    EXPECT_NEAR(cy, 10, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, -10, kCcwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 10, 10, -10, kCwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 0, 1e-9);

    // A chord up to 0.025 longer than the diameter snaps to a half circle about its midpoint.
    ASSERT_EQ(ArcCenter(0, 0, 20.04, 0, 10, kCwArc, cx, cy), 1);
    EXPECT_NEAR(cx, 10.02, 1e-9);
    EXPECT_NEAR(cy, 0, 1e-9);
    ASSERT_EQ(ArcCenter(0, 0, 20.048, 0, 10, kCwArc, cx, cy), 1);
    EXPECT_EQ(ArcCenter(0, 0, 20.06, 0, 10, kCwArc, cx, cy), 0);
    EXPECT_EQ(ArcCenter(0, 0, 20.04, 0, 9.9, kCwArc, cx, cy), 0);
    EXPECT_DOUBLE_EQ(cx, 10.02); // the chord midpoint on failure

    EXPECT_EQ(ArcCenter(0, 0, 10, 0, 10, kLine, cx, cy), 0);
    EXPECT_EQ(ArcCenter(0, 0, 10, 0, 0.001, kCwArc, cx, cy), 0); // radius equal to 0
    EXPECT_EQ(ArcCenter(3, 3, 3, 3, 10, kCwArc, cx, cy), 0);
    EXPECT_DOUBLE_EQ(cx, 3);
    EXPECT_EQ(ArcCenter(0, 0, 10, 0, NAN, kCwArc, cx, cy), 0);
}

TEST_F(Primitives, ElementLengths) {
    // A clockwise quarter arc of radius 10 is 5 pi, whichever way its angles wrap.
    EXPECT_NEAR(dist(-10, 0, 0, 10, 10, kCwArc), 5 * kPi, 1e-9);
    EXPECT_NEAR(dist(0, -10, -10, 0, 10, kCwArc), 5 * kPi, 1e-9); // across the +-pi seam
    EXPECT_NEAR(dist(-10, 0, 0, -10, 10, kCcwArc), 5 * kPi, 1e-9);
    // Arcs of more than 180 degrees run the long way round.
    EXPECT_NEAR(dist(-10, 0, 0, 10, -10, kCwArc), 15 * kPi, 1e-9);
    EXPECT_NEAR(dist(0, -10, -10, 0, -10, kCwArc), 15 * kPi, 1e-9);
    EXPECT_NEAR(dist(10, 0, -10, 0, 10, kCcwArc), 10 * kPi, 1e-9);
    EXPECT_NEAR(dist(10, 0, -10, 0, -10, kCcwArc), 10 * kPi, 1e-9);
    EXPECT_NEAR(dist(5, 5, 5, 5, 3, kCircle), 6 * kPi, 1e-12);
    EXPECT_DOUBLE_EQ(dist(0, 0, 3, 4, 0, kLine), 5);
    EXPECT_DOUBLE_EQ(dist(0, 0, 3, 4, 7, kRapid), 5);
    EXPECT_DOUBLE_EQ(dist(0, 0, 3, 4, 0, kCwArc), 5); // an arc without radius is a chord
    EXPECT_DOUBLE_EQ(dist(0, 0, 3, 4, -2, kCircle), 5);
    EXPECT_EQ(dist(0, 0, 30, 0, 10, kCcwArc), 0); // no centre
    EXPECT_DOUBLE_EQ(dist(Element{0, 0, 3, 4, 0, kLine, 1}), 5);
}

TEST_F(Primitives, ArcLengthsAreRadiusTimesSweep) {
    test::Rng rng(1601);
    for (int i = 0; i < 5000; ++i) {
        Element e = test::RandomArc(rng, 50);
        test::ArcShape a;
        ASSERT_TRUE(test::ShapeOfArc(e, a));
        double expected = std::fabs(a.sweep) * a.radius;
        ASSERT_NEAR(dist(e), expected, 1e-9 * expected) << i << " r=" << e.r;
    }
    // And a few against their polylines.
    for (int i = 0; i < 20; ++i) {
        Element e = test::RandomArc(rng, 50);
        std::vector<Point> pts = test::Polygonise(e, 1e-6);
        double length = 0;
        for (std::size_t k = 1; k < pts.size(); ++k)
            length += distance(pts[k - 1].x, pts[k - 1].y, pts[k].x, pts[k].y);
        ASSERT_NEAR(dist(e), length, 1e-5 * length) << i;
    }
}

TEST_F(Primitives, QuadraticRoots) {
    double x1 = 7, x2 = 7;
    EXPECT_EQ(SolveQuadraticEquation(0, 0, 5, x1, x2), 0);
    EXPECT_EQ(x1, 7);
    EXPECT_EQ(SolveQuadraticEquation(0, 2, -4, x1, x2), 1);
    EXPECT_EQ(x1, 2);
    EXPECT_EQ(SolveQuadraticEquation(1, 0, 1, x1, x2), 0);
    EXPECT_EQ(SolveQuadraticEquation(1, -4, 4, x1, x2), 1);
    EXPECT_EQ(x1, 2);
    EXPECT_EQ(SolveQuadraticEquation(1, -3, 2, x1, x2), 2);
    EXPECT_DOUBLE_EQ(x1, 1);
    EXPECT_DOUBLE_EQ(x2, 2);
    EXPECT_EQ(SolveQuadraticEquation(-1, 3, -2, x1, x2), 2);
    EXPECT_DOUBLE_EQ(x1, 2); // a < 0: the first root is the larger
    EXPECT_DOUBLE_EQ(x2, 1);
}

TEST_F(Primitives, ThreePointCircles) {
    double cx = -1, cy = -1;
    ASSERT_EQ(Arc_3P_Center(0, 0, 10, 0, 5, 5, cx, cy), 1);
    EXPECT_NEAR(cx, 5, 1e-12);
    EXPECT_NEAR(cy, 0, 1e-12);
    EXPECT_NEAR(Arc_3P_Radious(0, 0, 10, 0, 5, 5), 5, 1e-12);
    ASSERT_EQ(Arc_3P_Center(3, 4, -4, 3, 0, -5, cx, cy), 1);
    EXPECT_NEAR(cx, 0, 1e-12);
    EXPECT_NEAR(cy, 0, 1e-12);
    EXPECT_EQ(Arc_3P_Center(0, 0, 5, 5, 10, 10, cx, cy), 0);      // collinear
    EXPECT_EQ(Arc_3P_Center(0, 0, 0.0005, 0, 10, 10, cx, cy), 0); // two points coincide
    EXPECT_EQ(Arc_3P_Center(0, 0, 10, 10, 10.0009, 10, cx, cy), 0);
    EXPECT_EQ(Arc_3P_Radious(0, 0, 5, 5, 10, 10), 0);
}

TEST_F(Primitives, Midpoints) {
    double mx, my;
    EXPECT_EQ(MiddPoint(Element{0, 0, 4, 2, 0, kLine, 1}, mx, my), 1);
    EXPECT_DOUBLE_EQ(mx, 2);
    EXPECT_DOUBLE_EQ(my, 1);
    ASSERT_EQ(MiddPoint(Element{10, 0, -10, 0, 10, kCcwArc, 1}, mx, my), 1);
    EXPECT_NEAR(mx, 0, 1e-9);
    EXPECT_NEAR(my, 10, 1e-9);
    ASSERT_EQ(MiddPoint(Element{10, 0, -10, 0, 10, kCwArc, 1}, mx, my), 1);
    EXPECT_NEAR(my, -10, 1e-9);
    // Across the +-pi seam, and the long way round.
    double c = 10 * std::cos(kPi * 0.9), s = 10 * std::sin(kPi * 0.9);
    ASSERT_EQ(MiddPoint(Element{c, s, c, -s, 10, kCcwArc, 1}, mx, my), 1);
    EXPECT_NEAR(mx, -10, 1e-9);
    EXPECT_NEAR(my, 0, 1e-9);
    ASSERT_EQ(MiddPoint(Element{c, s, c, -s, -10, kCwArc, 1}, mx, my), 1);
    EXPECT_NEAR(mx, 10, 1e-9);
    EXPECT_NEAR(my, 0, 1e-9);
    EXPECT_EQ(MiddPoint(Element{0, 0, 30, 0, 10, kCwArc, 1}, mx, my), 0);
    EXPECT_EQ(MiddPoint(Element{0, 0, 0, 0, 10, kCircle, 1}, mx, my), 0);
}

TEST_F(Primitives, TurnAndScalePoints) {
    double x = 10, y = 0;
    EXPECT_EQ(TurnPoint(0, 0, 90, x, y), 1);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 10, 1e-12);
    EXPECT_EQ(TurnPoint(0, 0, -45, x, y), 1);
    EXPECT_NEAR(x, 10 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(y, 10 / std::sqrt(2.0), 1e-12);
    double cx = 5.0005, cy = 5;
    EXPECT_EQ(TurnPoint(5, 5, 45, cx, cy), 0); // on the centre within tolerance
    EXPECT_EQ(cx, 5.0005);
    EXPECT_EQ(cy, 5);
    x = 3;
    y = 4;
    ScalePoint(1, 1, 2, x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7);
}

} // namespace
} // namespace korvel
