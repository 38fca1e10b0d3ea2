// Element intersections and the point-on-element test: edge cases, and every reported point
// lying on both elements over random pairs.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "random_geometry.h"

namespace korvel {
namespace {

Element Line(double x1, double y1, double x2, double y2) {
    return Element{x1, y1, x2, y2, 0, kLine, 1};
}
Element Circle(double cx, double cy, double r) { return Element{cx, cy, cx, cy, r, kCircle, 1}; }

TEST(ValidCLAPoint, LinesWithinToleranceAndInclusiveSpans) {
    Element l = Line(0, 0, 10, 5);
    EXPECT_EQ(ValidCLAPoint(l, 4, 2), 1);
    EXPECT_EQ(ValidCLAPoint(l, 4, 2.001), 1);
    EXPECT_EQ(ValidCLAPoint(l, 4, 2.0011), 0);
    EXPECT_EQ(ValidCLAPoint(l, 10, 5), 1);
    EXPECT_EQ(ValidCLAPoint(l, 10.0005, 5.0002), 1); // equal to the end point
    EXPECT_EQ(ValidCLAPoint(l, 10.002, 5.001), 0);   // on the carrier, beyond the end
    Element v = Line(3, 0, 3.0005, 10);              // ends equal in X: a vertical line
    EXPECT_EQ(ValidCLAPoint(v, 3.0009, 5), 1);
    EXPECT_EQ(ValidCLAPoint(v, 3.0011, 5), 0);
    EXPECT_EQ(ValidCLAPoint(v, 3, 10), 1);
    EXPECT_EQ(ValidCLAPoint(v, 3, 10.002), 0);
    EXPECT_EQ(ValidCLAPoint(v, NAN, 5), 0);
}

TEST(ValidCLAPoint, CirclesAndArcs) {
    Element c = Circle(0, 0, 10);
    EXPECT_EQ(ValidCLAPoint(c, 6, 8), 1);
    EXPECT_EQ(ValidCLAPoint(c, 0, 10.00004), 1); // squares within 0.001
    EXPECT_EQ(ValidCLAPoint(c, 0, 10.0001), 0);
    EXPECT_EQ(ValidCLAPoint(c, 0, 0), 0);
    Element upper{10, 0, -10, 0, 10, kCcwArc, 1};
    EXPECT_EQ(ValidCLAPoint(upper, 6, 8), 1);
    EXPECT_EQ(ValidCLAPoint(upper, 6, -8), 0);
    EXPECT_EQ(ValidCLAPoint(upper, -10, 0), 1);
    Element lower_cw{10, 0, -10, 0, 10, kCwArc, 1};
    EXPECT_EQ(ValidCLAPoint(lower_cw, 6, -8), 1);
    EXPECT_EQ(ValidCLAPoint(lower_cw, 6, 8), 0);
    Element lng{0, -10, -10, 0, -10, kCwArc, 1}; // three quarters about (-10, -10)
    EXPECT_EQ(ValidCLAPoint(lng, -20, -10), 1);
    EXPECT_EQ(ValidCLAPoint(lng, -10 + 6, -10 + 8), 0);
    EXPECT_EQ(ValidCLAPoint(Element{0, 0, 30, 0, 5, kCwArc, 1}, 15, 0), 0); // no centre
}

TEST(Intersect, LinePairs) {
    double xa = 0, ya = 0, xb = 99, yb = 99;
    EXPECT_EQ(Intersect(Line(0, 0, 10, 10), Line(0, 10, 10, 0), xa, ya, xb, yb), 1);
    EXPECT_NEAR(xa, 5, 1e-12);
    EXPECT_NEAR(ya, 5, 1e-12);
    EXPECT_EQ(xb, 99);
    EXPECT_EQ(Intersect(Line(0, 0, 4, 4), Line(0, 10, 10, 0), xa, ya, xb, yb), 0);
    EXPECT_EQ(Intersect(Line(5, -5, 5, 5), Line(0, 2, 10, 4), xa, ya, xb, yb), 1);
    EXPECT_EQ(xa, 5);
    EXPECT_NEAR(ya, 3, 1e-12);
    EXPECT_EQ(Intersect(Line(0, 2, 10, 4), Line(5, -5, 5, 5), xa, ya, xb, yb), 1);
    EXPECT_EQ(Intersect(Line(5, -5, 5, 5), Line(5, 0, 5, 10), xa, ya, xb, yb), 0); // both vertical
    EXPECT_EQ(Intersect(Line(0, 0, 10, 5), Line(0, 1, 10, 6), xa, ya, xb, yb), 0); // parallel
    EXPECT_EQ(Intersect(Line(0, 0, 10, 5), Line(2, 1, 12, 6), xa, ya, xb, yb), 0); // overlapping
    // Lines meeting at a shared end meet there.
    EXPECT_EQ(Intersect(Line(0, 0, 10, 0), Line(10, 0, 10, 10), xa, ya, xb, yb), 1);
    EXPECT_EQ(xa, 10);
    EXPECT_EQ(ya, 0);
}

TEST(Intersect, LinesCirclesAndArcs) {
    double xa, ya, xb, yb;
    EXPECT_EQ(Intersect(Line(-20, 0, 20, 0), Circle(0, 0, 10), xa, ya, xb, yb), 2);
    EXPECT_NEAR(xa, -10, 1e-9);
    EXPECT_NEAR(xb, 10, 1e-9);
    EXPECT_EQ(Intersect(Circle(0, 0, 10), Line(0, 0, 20, 0), xa, ya, xb, yb), 1);
    EXPECT_NEAR(xa, 10, 1e-9);
    EXPECT_EQ(Intersect(Line(3, -20, 3, 20), Circle(0, 0, 5), xa, ya, xb, yb), 2);
    EXPECT_NEAR(ya, -4, 1e-9);
    EXPECT_NEAR(yb, 4, 1e-9);
    EXPECT_EQ(Intersect(Line(-20, 5, 20, 5), Circle(0, 0, 5), xa, ya, xb, yb), 1); // tangent
    EXPECT_NEAR(xa, 0, 1e-9);
    EXPECT_EQ(Intersect(Line(-20, 6, 20, 6), Circle(0, 0, 5), xa, ya, xb, yb), 0);
    // The line meets the full circle twice and the upper half once.
    Element upper{10, 0, -10, 0, 10, kCcwArc, 1};
    EXPECT_EQ(Intersect(upper, Line(-20, -5, 20, 5), xa, ya, xb, yb), 1);
    EXPECT_GT(ya, 0);
    EXPECT_EQ(Intersect(Line(-20, -5, 20, -5), upper, xa, ya, xb, yb), 0);
    EXPECT_EQ(Intersect(Line(0, 0, 0, 20), upper, xa, ya, xb, yb), 1);
    EXPECT_NEAR(ya, 10, 1e-9);
}

TEST(Intersect, CirclePairs) {
    double xa, ya, xb, yb;
    // Touching circles give two equal points.
    ASSERT_EQ(Intersect(Circle(0, 0, 5), Circle(10, 0, 5), xa, ya, xb, yb), 2);
    EXPECT_NEAR(xa, 5, 1e-9);
    EXPECT_NEAR(xb, 5, 1e-9);
    EXPECT_NEAR(ya, yb, 1e-9);
    ASSERT_EQ(Intersect(Circle(0, 0, 10), Circle(5, 0, 5), xa, ya, xb, yb), 2); // inside
    EXPECT_NEAR(xa, 10, 1e-9);
    EXPECT_EQ(Intersect(Circle(0, 0, 5), Circle(10.01, 0, 5), xa, ya, xb, yb), 0);
    EXPECT_EQ(Intersect(Circle(0, 0, 10), Circle(1, 0, 5), xa, ya, xb, yb), 0);
    EXPECT_EQ(Intersect(Circle(3, 4, 5), Circle(3, 4, 5), xa, ya, xb, yb), 0); // coincident
    EXPECT_EQ(Intersect(Circle(3, 4, 5), Circle(3, 4, 2), xa, ya, xb, yb), 0); // concentric
    ASSERT_EQ(Intersect(Circle(0, 0, 5), Circle(8, 0, 5), xa, ya, xb, yb), 2);
    EXPECT_NEAR(xa, 4, 1e-9);
    EXPECT_NEAR(std::fabs(ya), 3, 1e-9);
    EXPECT_NEAR(ya, -yb, 1e-9);
    // Arcs keep what lies on them.
    Element upper{5, 0, -5, 0, 5, kCcwArc, 1};
    EXPECT_EQ(Intersect(Circle(8, 0, 5), upper, xa, ya, xb, yb), 1);
    EXPECT_NEAR(ya, 3, 1e-9);
    Element other_upper{13, 0, 3, 0, 5, kCcwArc, 1};
    EXPECT_EQ(Intersect(upper, other_upper, xa, ya, xb, yb), 1);
    Element other_lower{3, 0, 13, 0, 5, kCcwArc, 1};
    EXPECT_EQ(Intersect(upper, other_lower, xa, ya, xb, yb), 0);
}

TEST(Intersect, UnusedSlotsAndOtherKindsMeetNothing) {
    double xa = 7, ya = 7, xb = 7, yb = 7;
    Element a = Line(0, 0, 10, 10), b = Line(0, 10, 10, 0);
    b.in_use = 0;
    EXPECT_EQ(Intersect(a, b, xa, ya, xb, yb), 0);
    EXPECT_EQ(Intersect(b, a, xa, ya, xb, yb), 0);
    EXPECT_EQ(xa, 7);
    b.in_use = 1;
    b.kind = kRapid;
    EXPECT_EQ(Intersect(a, b, xa, ya, xb, yb), 0);
    // The pair routines refuse operands of other kinds.
    Element c = Circle(0, 0, 5), arc{5, 0, -5, 0, 5, kCcwArc, 1};
    EXPECT_EQ(LineLineIntersections(a, c, xa, ya, xb, yb), -1);
    EXPECT_EQ(LineCircleIntersections(c, a, xa, ya, xb, yb), -1);
    EXPECT_EQ(LineArcIntersections(arc, a, xa, ya, xb, yb), -1);
    EXPECT_EQ(CircleCircleIntersections(c, arc, xa, ya, xb, yb), -1);
    EXPECT_EQ(CircleArcIntersections(arc, c, xa, ya, xb, yb), -1);
    EXPECT_EQ(ArcArcIntersections(arc, a, xa, ya, xb, yb), -1);
    EXPECT_EQ(LineCircleIntersections(a, c, xa, ya, xb, yb), 1);
}

// ---------------------------------------------------------------------------------------------

Element RandomElement(test::Rng& rng) {
    switch (rng.Int(0, 2)) {
    case 0:
        return test::RandomLine(rng, 20);
    case 1:
        return test::RandomCircle(rng, 15);
    default:
        return test::RandomArc(rng, 20);
    }
}

// Whether a point lies on the element within `equal`, measured independently of the code
// under test.
bool OnElement(const Element& e, double x, double y) {
    return test::DistanceTo(e, x, y) <= 0.0015; // 0.001 in X and in Y
}

TEST(IntersectProperties, EveryPointReportedLiesOnBothElements) {
    test::Rng rng(16004);
    int points = 0, pairs_meeting = 0;
    for (int i = 0; i < 20000; ++i) {
        Element a = RandomElement(rng), b = RandomElement(rng);
        double xa, ya, xb, yb;
        int n = Intersect(a, b, xa, ya, xb, yb);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 2);
        if (n >= 1) {
            ASSERT_TRUE(OnElement(a, xa, ya) && OnElement(b, xa, ya)) << i;
            ++pairs_meeting;
        }
        if (n == 2) {
            ASSERT_TRUE(OnElement(a, xb, yb) && OnElement(b, xb, yb)) << i;
        }
        points += n;
        double xa2, ya2, xb2, yb2;
        ASSERT_EQ(Intersect(b, a, xa2, ya2, xb2, yb2), n) << i;
    }
    EXPECT_GT(pairs_meeting, 5000);
    EXPECT_GT(points, 8000);
}

TEST(IntersectProperties, ProperCrossingsAreFound) {
    // Lines that cross well inside both, and circles that overlap clearly, are never missed.
    test::Rng rng(16005);
    int found = 0;
    for (int i = 0; i < 5000; ++i) {
        Element a = test::RandomLine(rng, 20), b = test::RandomLine(rng, 20);
        double dax = a.x2 - a.x1, day = a.y2 - a.y1, dbx = b.x2 - b.x1, dby = b.y2 - b.y1;
        double den = dax * dby - day * dbx;
        double t = ((b.x1 - a.x1) * dby - (b.y1 - a.y1) * dbx) / den;
        double u = ((b.x1 - a.x1) * day - (b.y1 - a.y1) * dax) / den;
        double xa, ya, xb, yb;
        if (t > 0.01 && t < 0.99 && u > 0.01 && u < 0.99 && std::fabs(den) > 1) {
            ASSERT_EQ(Intersect(a, b, xa, ya, xb, yb), 1) << i;
            ASSERT_NEAR(xa, a.x1 + t * dax, 1e-6);
            ++found;
        }
        Element c1 = test::RandomCircle(rng, 15), c2 = test::RandomCircle(rng, 15);
        double dc = distance(c1.x1, c1.y1, c2.x1, c2.y1);
        if (dc < c1.r + c2.r - 0.01 && dc > std::fabs(c1.r - c2.r) + 0.01) {
            ASSERT_EQ(Intersect(c1, c2, xa, ya, xb, yb), 2) << i;
        }
    }
    EXPECT_GT(found, 500);
}

} // namespace
} // namespace korvel
