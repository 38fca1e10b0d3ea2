// Outlines on the grid: row crossings and distances.
#include "cam/grid_shapes.h"

#include <algorithm>
#include <cmath>

#include "geometry/primitives.h"

namespace korvel {

namespace {

constexpr double kTwoPi = 2 * kPi;

// The angle a brought into [a0, a0 + 2 pi).
double Unwind(double a, double a0) {
    double d = std::fmod(a - a0, kTwoPi);
    if (d < 0)
        d += kTwoPi;
    return a0 + d;
}

double SegmentDistance(double px, double py, double x1, double y1, double x2, double y2) {
    double dx = x2 - x1, dy = y2 - y1;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((px - x1) * dx + (py - y1) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(px - x1 - t * dx, py - y1 - t * dy);
}

} // namespace

Outline Outline::FromShape(const Shape& shape) {
    Outline o;
    int n = std::clamp(shape.n, 0, kMaxShapeVertices);
    for (int i = 0; i < n && n >= 2; ++i) {
        const ShapeVertex& from = shape.v[static_cast<std::size_t>(i == 0 ? n - 1 : i - 1)];
        const ShapeVertex& to = shape.v[static_cast<std::size_t>(i)];
        if (to.kind == kCwArc || to.kind == kCcwArc)
            o.AddArc(from.x, from.y, to.x, to.y, to.radius, to.kind);
        else
            o.AddLine(from.x, from.y, to.x, to.y);
    }
    return o;
}

Outline Outline::Polygon(const std::vector<Point>& points) {
    Outline o;
    for (std::size_t i = 0; i < points.size() && points.size() >= 3; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        o.AddLine(a.x, a.y, b.x, b.y);
    }
    return o;
}

void Outline::AddLine(double x1, double y1, double x2, double y2) {
    Piece p;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    pieces_.push_back(p);
}

void Outline::AddArc(double x1, double y1, double x2, double y2, double radius, int kind) {
    double cx, cy;
    if (!ArcCenter(x1, y1, x2, y2, radius, kind, cx, cy)) {
        AddLine(x1, y1, x2, y2);
        return;
    }
    Piece p;
    p.arc = true;
    p.cx = cx;
    p.cy = cy;
    p.r = std::hypot(x1 - cx, y1 - cy);
    // Held counter-clockwise: a clockwise arc runs from its end to its start.
    bool ccw = kind == kCcwArc;
    p.x1 = ccw ? x1 : x2;
    p.y1 = ccw ? y1 : y2;
    p.x2 = ccw ? x2 : x1;
    p.y2 = ccw ? y2 : y1;
    p.a0 = std::atan2(p.y1 - cy, p.x1 - cx);
    double a1 = Unwind(std::atan2(p.y2 - cy, p.x2 - cx), p.a0);
    p.sweep = a1 > p.a0 ? a1 - p.a0 : kTwoPi;
    pieces_.push_back(p);
    // Split at the top and bottom of the circle into parts along which y is monotone; their
    // ends are the arc's exact end points or the circle's extremes.
    std::vector<std::pair<double, double>> cuts; // angle, y
    cuts.emplace_back(p.a0, p.y1);
    double first = std::fmod(kPi / 2 - p.a0, kPi); // the first top or bottom from a0 on
    if (first < 0)
        first += kPi;
    for (double a = p.a0 + first; a < p.a0 + p.sweep; a += kPi)
        if (a > p.a0)
            cuts.emplace_back(a, std::sin(a) > 0 ? cy + p.r : cy - p.r);
    cuts.emplace_back(p.a0 + p.sweep, p.y2);
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        double mid = (cuts[k].first + cuts[k + 1].first) / 2;
        monotone_.push_back(Monotone{cx, cy, p.r, std::min(cuts[k].second, cuts[k + 1].second),
                                     std::max(cuts[k].second, cuts[k + 1].second),
                                     std::cos(mid) >= 0});
    }
}

void Outline::Crossings(double y, std::vector<double>& xs) const {
    xs.clear();
    for (const Piece& p : pieces_) {
        if (p.arc)
            continue;
        if ((p.y1 <= y && y < p.y2) || (p.y2 <= y && y < p.y1))
            xs.push_back(p.x1 + (y - p.y1) * (p.x2 - p.x1) / (p.y2 - p.y1));
    }
    for (const Monotone& m : monotone_) {
        if (!(m.ylo <= y && y < m.yhi))
            continue;
        double h = m.r * m.r - (y - m.cy) * (y - m.cy);
        double w = h > 0 ? std::sqrt(h) : 0;
        xs.push_back(m.right ? m.cx + w : m.cx - w);
    }
    std::sort(xs.begin(), xs.end());
}

double Outline::PieceDistance(const Piece& p, double px, double py) {
    if (!p.arc)
        return SegmentDistance(px, py, p.x1, p.y1, p.x2, p.y2);
    double a = Unwind(std::atan2(py - p.cy, px - p.cx), p.a0);
    if (a <= p.a0 + p.sweep)
        return std::fabs(std::hypot(px - p.cx, py - p.cy) - p.r);
    return std::min(std::hypot(px - p.x1, py - p.y1), std::hypot(px - p.x2, py - p.y2));
}

double Outline::Distance(double px, double py) const {
    double best = HUGE_VAL;
    for (const Piece& p : pieces_)
        best = std::min(best, PieceDistance(p, px, py));
    return best;
}

void Outline::Bounds(double& x0, double& y0, double& x1, double& y1) const {
    x0 = y0 = HUGE_VAL;
    x1 = y1 = -HUGE_VAL;
    for (const Piece& p : pieces_) {
        double r = p.arc ? p.r : 0;
        double ax = p.arc ? p.cx : std::min(p.x1, p.x2), bx = p.arc ? p.cx : std::max(p.x1, p.x2);
        double ay = p.arc ? p.cy : std::min(p.y1, p.y2), by = p.arc ? p.cy : std::max(p.y1, p.y2);
        // An arc is bounded by its whole circle: enough for finding the rows to visit.
        x0 = std::min(x0, ax - r);
        x1 = std::max(x1, bx + r);
        y0 = std::min(y0, ay - r);
        y1 = std::max(y1, by + r);
    }
}

} // namespace korvel
