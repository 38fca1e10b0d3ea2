// Shared helpers of the tool-path tests: outlines typed as script lines, random outlines with
// fixed seeds, and exact measures of where a path lies against an outline.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/text.h"
#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "geometry/random_geometry.h"
#include "geometry/ray_crossing.h"
#include "model/shape.h"
#include "paths/path_table.h"

namespace korvel::test {

// A vertex of an outline as typed: the point and how it is reached.
struct Vertex {
    double x = 0, y = 0;
    int kind = kLine;
    double r = 0;
};

// The lines of a free contour: "BULGE id pid x y height 0 0 0 -1 0 0" (or POCKET with the
// depth), the elements to each vertex, and back to the first with `closing`.
inline std::vector<std::string> FreeContour(const std::string& keyword, int id, int pid,
                                            const std::vector<Vertex>& v, Vertex closing,
                                            double height = 5) {
    std::vector<std::string> lines;
    lines.push_back(Sprintf("%s %d %d %.9f %.9f %g 0 0 0 -1 0 0", keyword.c_str(), id, pid, v[0].x,
                            v[0].y, height));
    auto element = [](const Vertex& p) {
        if (p.kind == kLine)
            return Sprintf("LINETO %.9f %.9f", p.x, p.y);
        return Sprintf("%s %.9f %.9f %.9f", p.kind == kCwArc ? "CWTO" : "CCWTO", p.x, p.y, p.r);
    };
    for (std::size_t i = 1; i < v.size(); ++i)
        lines.push_back(element(v[i]));
    closing.x = v[0].x;
    closing.y = v[0].y;
    lines.push_back(element(closing));
    lines.push_back("END");
    return lines;
}

// The elements of a shape as stored (vertex i + 1's kind and radius, the last back to 0).
inline std::vector<Element> ShapeOutline(const Shape& s) {
    std::vector<Element> out;
    for (int i = 0; i < s.n; ++i) {
        const ShapeVertex& a = s.v[i];
        const ShapeVertex& b = s.v[(i + 1) % s.n];
        out.push_back(Element{a.x, a.y, b.x, b.y, b.radius, b.kind, 1});
    }
    return out;
}

inline std::vector<Element> PathElements(const PathRef& p) {
    std::vector<Element> out;
    for (int i = 1; i < p.size(); ++i)
        out.push_back(ElementBetween(p[i - 1], p[i]));
    return out;
}

inline double DistanceToAll(const std::vector<Element>& elements, double x, double y) {
    double best = INFINITY;
    for (const Element& e : elements)
        best = std::fmin(best, DistanceTo(e, x, y));
    return best;
}

// Whether the point lies inside the closed chain: an odd count of +X ray crossings.
inline bool Inside(const std::vector<Element>& elements, double x, double y) {
    int count = 0;
    for (const Element& e : elements) {
        double a, b;
        count += IntersectionsLR(x, y, e, a, b);
    }
    return count % 2 == 1;
}

// Points on every element of a path no further apart than `spacing`, its ends included. Moves
// are left out.
inline std::vector<Point> PointsAlong(const std::vector<Element>& elements, double spacing) {
    std::vector<Point> pts;
    for (const Element& e : elements) {
        if (e.kind == kRapid)
            continue;
        ArcShape a;
        bool arc = e.kind != kLine && ShapeOfArc(e, a);
        double length = arc ? a.radius * std::fabs(a.sweep) : distance(e.x1, e.y1, e.x2, e.y2);
        int n = static_cast<int>(std::ceil(length / spacing)) + 1;
        for (int t = 0; t < n; ++t) {
            double f = static_cast<double>(t) / n;
            if (arc)
                pts.push_back({a.cx + a.radius * std::cos(a.start + f * a.sweep),
                               a.cy + a.radius * std::sin(a.start + f * a.sweep)});
            else
                pts.push_back({e.x1 + (e.x2 - e.x1) * f, e.y1 + (e.y2 - e.y1) * f});
        }
        pts.push_back({e.x2, e.y2});
    }
    return pts;
}

// A star-shaped outline about (cx, cy): n vertices at random angles and radii between 0.55 and
// 1 times `size`, counter-clockwise; with `arcs`, some edges become arcs bulging out or in.
inline std::vector<Vertex> RandomStar(Rng& rng, double cx, double cy, double size, int n, bool arcs,
                                      Vertex& closing) {
    std::vector<double> angles;
    for (int i = 0; i < n; ++i)
        angles.push_back(2 * kPi * (i + rng.Uniform(0.1, 0.9)) / n);
    std::vector<Vertex> v;
    for (double a : angles) {
        double r = size * rng.Uniform(0.55, 1.0);
        v.push_back(Vertex{cx + r * std::cos(a), cy + r * std::sin(a), kLine, 0});
    }
    auto arcify = [&](Vertex& to, const Vertex& from) {
        if (!arcs || rng.Int(0, 2) != 0)
            return;
        double h = distance(from.x, from.y, to.x, to.y) / 2;
        double beta = rng.Uniform(0.15, 0.7); // half the angle the arc sweeps
        to.r = h / std::sin(beta);
        to.kind = rng.Coin() ? kCcwArc : kCwArc;
    };
    for (int i = 1; i < n; ++i)
        arcify(v[i], v[i - 1]);
    closing = Vertex{v[0].x, v[0].y, kLine, 0};
    arcify(closing, v[n - 1]);
    return v;
}

} // namespace korvel::test
