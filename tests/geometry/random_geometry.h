// Random elements with fixed seeds, and exact reference geometry for the property tests.
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "geometry/primitives.h"
#include "geometry/types.h"

namespace korvel::test {

class Rng {
public:
    explicit Rng(unsigned long long seed) : gen_(seed) {}
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(gen_); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen_); }
    bool Coin() { return Int(0, 1) == 1; }

private:
    std::mt19937_64 gen_;
};

// An arc from p to q of random direction, between a sliver and a near-full circle.
inline Element RandomArcBetween(Rng& rng, Point p, Point q) {
    double h = distance(p.x, p.y, q.x, q.y) / 2;
    // The half angle at the centre: from nearly flat to a half circle.
    double beta = rng.Uniform(0.05, kPi / 2);
    double r = h / std::sin(beta);
    if (rng.Coin())
        r = -r;
    return Element{p.x, p.y, q.x, q.y, r, rng.Coin() ? kCcwArc : kCwArc, 1};
}

inline Point RandomPoint(Rng& rng, double half) {
    return Point{rng.Uniform(-half, half), rng.Uniform(-half, half)};
}

inline Element RandomLine(Rng& rng, double half) {
    Point p = RandomPoint(rng, half), q = RandomPoint(rng, half);
    return Element{p.x, p.y, q.x, q.y, 0, kLine, 1};
}

inline Element RandomArc(Rng& rng, double half) {
    return RandomArcBetween(rng, RandomPoint(rng, half), RandomPoint(rng, half));
}

inline Element RandomCircle(Rng& rng, double half) {
    Point c = RandomPoint(rng, half);
    return Element{c.x, c.y, c.x, c.y, rng.Uniform(0.5, half), kCircle, 1};
}

// Centre, radius, start angle and signed sweep of an arc, or of a circle (sweep 2 pi).
struct ArcShape {
    double cx = 0, cy = 0, radius = 0, start = 0, sweep = 0;
};

inline bool ShapeOfArc(const Element& e, ArcShape& a) {
    if (e.kind == kCircle) {
        a = ArcShape{e.x1, e.y1, std::fabs(e.r), 0, 2 * kPi};
        return true;
    }
    if (!ArcCenter(e, a.cx, a.cy))
        return false;
    a.radius = distance(a.cx, a.cy, e.x1, e.y1);
    a.start = std::atan2(e.y1 - a.cy, e.x1 - a.cx);
    double s = std::atan2(e.y2 - a.cy, e.x2 - a.cx) - a.start;
    if (e.kind == kCcwArc && s < 0)
        s += 2 * kPi;
    if (e.kind == kCwArc && s > 0)
        s -= 2 * kPi;
    a.sweep = s;
    return true;
}

// The angle of (px, py) measured from the arc's start in its direction of travel, in
// [0, 2 pi).
inline double AlongArc(const ArcShape& a, double px, double py) {
    double t = std::atan2(py - a.cy, px - a.cx) - a.start;
    if (a.sweep < 0)
        t = -t;
    t = std::fmod(t, 2 * kPi);
    return t < 0 ? t + 2 * kPi : t;
}

// The exact distance from a point to a finite line, arc or circle.
inline double DistanceTo(const Element& e, double px, double py) {
    if (e.kind == kLine) {
        double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((px - e.x1) * dx + (py - e.y1) * dy) / len2 : 0;
        t = t < 0 ? 0 : t > 1 ? 1 : t;
        return distance(px, py, e.x1 + t * dx, e.y1 + t * dy);
    }
    ArcShape a;
    if (!ShapeOfArc(e, a))
        return INFINITY;
    if (e.kind == kCircle || AlongArc(a, px, py) <= std::fabs(a.sweep))
        return std::fabs(distance(px, py, a.cx, a.cy) - a.radius);
    return std::fmin(distance(px, py, e.x1, e.y1), distance(px, py, e.x2, e.y2));
}

// The element as a polyline (its start first, its end last, exactly) whose chords stay within
// `sagitta` of an arc.
inline std::vector<Point> Polygonise(const Element& e, double sagitta) {
    std::vector<Point> pts{{e.x1, e.y1}};
    ArcShape a;
    if (e.kind != kLine && ShapeOfArc(e, a)) {
        double step = 2 * std::acos(1 - sagitta / a.radius);
        int n = static_cast<int>(std::ceil(std::fabs(a.sweep) / step));
        for (int i = 1; i < n; ++i) {
            double t = a.start + a.sweep * i / n;
            pts.push_back({a.cx + a.radius * std::cos(t), a.cy + a.radius * std::sin(t)});
        }
    }
    pts.push_back({e.x2, e.y2});
    return pts;
}

} // namespace korvel::test
