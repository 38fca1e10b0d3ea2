// Ray crossings: the vertex rules, arcs, and the parity over random closed contours against a
// finely polygonised reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/intersect.h"
#include "geometry/ray_crossing.h"
#include "random_geometry.h"

namespace korvel {
namespace {

using Contour = std::vector<Element>;

Contour Polygon(const std::vector<Point>& p) {
    Contour c;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Point& q = p[(i + 1) % p.size()];
        c.push_back(Element{p[i].x, p[i].y, q.x, q.y, 0, kLine, 1});
    }
    return c;
}

int CrossingsLR(const Contour& c, double x, double y) {
    int n = 0;
    for (const Element& e : c) {
        double xa, xb;
        n += IntersectionsLR(x, y, e, xa, xb);
    }
    return n;
}

int CrossingsDU(const Contour& c, double x, double y) {
    int n = 0;
    for (const Element& e : c) {
        double ya, yb;
        n += IntersectionsDU(x, y, e, ya, yb);
    }
    return n;
}

TEST(RayCrossing, AVertexPassedThroughCountsOnceATurningVertexTwiceOrNever) {
    // A diamond around (5, 5): rays through its left and right vertices pass through the
    // contour; those through its bottom and top vertices only touch it.
    Contour diamond = Polygon({{5, 0}, {10, 5}, {5, 10}, {0, 5}});
    EXPECT_EQ(CrossingsLR(diamond, -5, 5), 2);
    EXPECT_EQ(CrossingsLR(diamond, 5, 5), 1);
    EXPECT_EQ(CrossingsLR(diamond, 2, 5), 1);
    EXPECT_EQ(CrossingsLR(diamond, -5, 2), 2);
    EXPECT_EQ(CrossingsLR(diamond, 7, 2), 1);
    EXPECT_EQ(CrossingsLR(diamond, -5, 0), 2); // touches the bottom vertex: outside
    EXPECT_EQ(CrossingsLR(diamond, -5, 10), 0);
    EXPECT_EQ(CrossingsLR(diamond, -5, 11), 0);
    EXPECT_EQ(CrossingsDU(diamond, 5, -5), 2);
    EXPECT_EQ(CrossingsDU(diamond, 0, -5), 2);
    EXPECT_EQ(CrossingsDU(diamond, 10, -5), 0);
    EXPECT_EQ(CrossingsDU(diamond, 5, 5), 1);

    // A contour running up through a vertex and one running down through it.
    Contour zig = Polygon({{0, 0}, {4, 5}, {0, 10}, {-5, 10}, {-5, 0}});
    EXPECT_EQ(CrossingsLR(zig, -10, 5), 2);
    EXPECT_EQ(CrossingsLR(zig, 2, 5), 1);
    EXPECT_EQ(CrossingsLR(zig, 4, 5), 1); // the vertex itself: X >= x
    EXPECT_EQ(CrossingsLR(zig, 4.5, 5), 0);
}

TEST(RayCrossing, LinesAlongTheRayNeverCrossIt) {
    double xa = -1, xb = -1;
    EXPECT_EQ(IntersectionsLR(0, 0, Element{-5, 0, 5, 0, 0, kLine, 1}, xa, xb), 0);
    EXPECT_EQ(IntersectionsDU(0, 0, Element{0, -5, 0, 5, 0, kLine, 1}, xa, xb), 0);
    EXPECT_EQ(IntersectionsDU(0, -10, Element{-5, 0, 5, 0.5, 0, kLine, 1}, xa, xb), 1);
    EXPECT_NEAR(xa, 0.25, 1e-12);
    EXPECT_EQ(IntersectionsLR(0, 0, Element{1, 1, 1, 1, 0, kLine, 1}, xa, xb), 0);
    EXPECT_EQ(IntersectionsLR(0, 0, Element{1, -1, 1, 1, 0, kRapid, 1}, xa, xb), 0);
    EXPECT_EQ(IntersectionsLR(0, 0, Element{1, -1, 1, 1, 5, kCircle, 1}, xa, xb), 0);
    // A line behind the start of the ray: no crossing, but its X is written.
    EXPECT_EQ(IntersectionsLR(0, 0, Element{-1, -1, -1, 1, 0, kLine, 1}, xa, xb), 0);
    EXPECT_EQ(xa, -1);
}

TEST(RayCrossing, ArcsBothWays) {
    double xa, xb;
    // Upper half circle from (10, 0) to (-10, 0), counter-clockwise about the origin.
    Element upper{10, 0, -10, 0, 10, kCcwArc, 1};
    EXPECT_EQ(IntersectionsLR(-20, 5, upper, xa, xb), 2);
    EXPECT_NEAR(xa, -std::sqrt(75.0), 1e-9);
    EXPECT_NEAR(xb, std::sqrt(75.0), 1e-9);
    EXPECT_EQ(IntersectionsLR(0, 5, upper, xa, xb), 1);
    EXPECT_EQ(xa, xb);
    EXPECT_EQ(IntersectionsLR(-20, -5, upper, xa, xb), 0);
    // Tangent at the top: touched twice or not at all, as rounding puts the centre.
    EXPECT_EQ(IntersectionsLR(-20, 10, upper, xa, xb) % 2, 0);
    EXPECT_EQ(IntersectionsLR(std::sqrt(75.0), 5, upper, xa, xb), 0); // arcs count at X > x
    // The same arc run clockwise from (-10, 0) to (10, 0).
    EXPECT_EQ(IntersectionsLR(-20, 5, Element{-10, 0, 10, 0, 10, kCwArc, 1}, xa, xb), 2);
    // A long clockwise arc: three quarters about (-10, -10) from (0, -10) to (-10, 0).
    Element lng{0, -10, -10, 0, -10, kCwArc, 1};
    EXPECT_EQ(IntersectionsLR(-30, -15, lng, xa, xb), 2);
    EXPECT_EQ(IntersectionsLR(-30, -5, lng, xa, xb), 1); // the quarter left out is top right
    EXPECT_NEAR(xa, -10 - std::sqrt(75.0), 1e-9);
    EXPECT_EQ(IntersectionsDU(-15, -30, lng, xa, xb), 2);
    EXPECT_EQ(IntersectionsDU(-5, -30, lng, xa, xb), 1);
    EXPECT_NEAR(xa, -10 - std::sqrt(75.0), 1e-9);

    // A circle of two half arcs: rays through the joints pass through the contour once each.
    Contour circle{upper, Element{-10, 0, 10, 0, 10, kCcwArc, 1}};
    EXPECT_EQ(CrossingsLR(circle, -20, 0), 2);
    EXPECT_EQ(CrossingsLR(circle, 0, 0), 1);
    EXPECT_EQ(CrossingsLR(circle, -20, 10) % 2, 0);
    EXPECT_EQ(CrossingsLR(circle, -20, -10), 2); // tangent at the bottom: twice
    EXPECT_EQ(CrossingsDU(circle, 0, -20), 2);
    EXPECT_EQ(CrossingsDU(circle, -10, -20), 2);
    EXPECT_EQ(CrossingsDU(circle, 10, -20), 0);
}

// ---------------------------------------------------------------------------------------------
// Parity over random contours.

// A closed contour of lines and arcs through vertices on a 0.5 grid (so that many rays pass
// through vertices and many edges are level), winding around the origin.
Contour RandomContour(test::Rng& rng) {
    int n = rng.Int(3, 9);
    std::vector<double> angles;
    for (int i = 0; i < n; ++i)
        angles.push_back(rng.Uniform(0, 2 * kPi));
    std::sort(angles.begin(), angles.end());
    std::vector<Point> v;
    for (double a : angles) {
        double r = rng.Uniform(10, 40);
        Point p{std::round(2 * r * std::cos(a)) / 2, std::round(2 * r * std::sin(a)) / 2};
        if (!v.empty() && rng.Int(0, 4) == 0)
            p.y = v.back().y; // a level edge
        if (!v.empty() && p.x == v.back().x && p.y == v.back().y)
            continue;
        v.push_back(p);
    }
    Contour c;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point& q = v[(i + 1) % v.size()];
        if (q.x == v[i].x && q.y == v[i].y)
            continue;
        if (rng.Coin())
            c.push_back(Element{v[i].x, v[i].y, q.x, q.y, 0, kLine, 1});
        else
            c.push_back(test::RandomArcBetween(rng, v[i], q));
    }
    return c;
}

// Even-odd inside test of the polygonised contour, with X and Y swapped when `du`.
bool ReferenceInside(const std::vector<Point>& poly, double x, double y, bool du) {
    bool inside = false;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        Point a = poly[i], b = poly[(i + 1) % poly.size()];
        if (du) {
            std::swap(a.x, a.y);
            std::swap(b.x, b.y);
        }
        double px = du ? y : x, py = du ? x : y;
        if ((a.y > py) != (b.y > py)) {
            double xi = a.x + (b.x - a.x) * (py - a.y) / (b.y - a.y);
            if (xi > px)
                inside = !inside;
        }
    }
    return inside;
}

double DistanceToContour(const Contour& c, double x, double y) {
    double d = INFINITY;
    for (const Element& e : c)
        d = std::fmin(d, test::DistanceTo(e, x, y));
    return d;
}

// Each reported crossing lies on its element and beyond the ray's start.
void CheckCrossingPoints(const Contour& c, double x, double y) {
    for (const Element& e : c) {
        double xa, xb;
        int n = IntersectionsLR(x, y, e, xa, xb);
        if (n > 0) {
            ASSERT_LT(test::DistanceTo(e, xa, y), 1e-7);
            ASSERT_LT(test::DistanceTo(e, xb, y), 1e-7);
            ASSERT_GE(xa, x);
            ASSERT_LE(xa, xb);
            ASSERT_EQ(n == 1, xa == xb);
        }
    }
}

TEST(RayCrossingProperties, ParityTellsInsideFromOutsideOverRandomContours) {
    test::Rng rng(16003);
    int checked = 0, inside = 0, through_vertices = 0;
    for (int shape = 0; shape < 400; ++shape) {
        Contour c = RandomContour(rng);
        if (c.size() < 2)
            continue;
        std::vector<Point> poly;
        for (const Element& e : c) {
            std::vector<Point> p = test::Polygonise(e, 1e-4);
            poly.insert(poly.end(), p.begin(), p.end() - 1);
        }
        for (int k = 0; k < 60; ++k) {
            bool du = k % 2 == 1;
            double x = rng.Uniform(-60, 60), y = rng.Uniform(-60, 60);
            // Two thirds of the rays run through a vertex.
            const Element& at = c[rng.Int(0, static_cast<int>(c.size()) - 1)];
            if (k % 3 != 0) {
                (du ? x : y) = du ? at.x1 : at.y1;
                ++through_vertices;
            }
            if (DistanceToContour(c, x, y) < 1e-3)
                continue;
            bool expected = ReferenceInside(poly, x, y, du);
            int n = du ? CrossingsDU(c, x, y) : CrossingsLR(c, x, y);
            ASSERT_EQ(n % 2 == 1, expected)
                << "shape " << shape << " point " << x << "," << y << (du ? " DU" : " LR");
            if (!du)
                CheckCrossingPoints(c, x, y);
            ++checked;
            inside += expected;
        }
    }
    EXPECT_GT(checked, 20000);
    EXPECT_GT(inside, 4000);
    EXPECT_GT(through_vertices, 14000);
}

} // namespace
} // namespace korvel
