// Intersections of lines, circles and arcs, and the point-on-element test. Every pair routine
// meets the underlying infinite line or full circle first and then keeps the points that lie
// on both finite elements.
#include "geometry/intersect.h"

#include <algorithm>
#include <cmath>

#include "geometry/primitives.h"
#include "geometry/tolerance.h"

namespace korvel {

namespace {

bool IsArc(const Element& e) { return e.kind == kCcwArc || e.kind == kCwArc; }

// Intersect ranks the kinds so that the line comes first, then the circle, then the arc; -1
// for a kind that meets nothing.
int KindRank(int kind) {
    return kind == kLine ? 0 : kind == kCircle ? 1 : (kind == kCcwArc || kind == kCwArc) ? 2 : -1;
}

using Round = ElementCircle;

bool RoundOf(const Element& e, Round& c) {
    if (e.kind == kCircle) {
        c = Round{};
        c.cx = e.x1;
        c.cy = e.y1;
        c.radius = double_abs(e.r);
        return true;
    }
    if (!IsArc(e) || !ArcCenter(e, c.cx, c.cy))
        return false;
    // The distance to the ends, not |r|: they differ where a chord a little longer than the
    // diameter made the arc a half circle.
    c.radius = distance(c.cx, c.cy, e.x1, e.y1);
    c.is_arc = true;
    c.start = std::atan2(e.y1 - c.cy, e.x1 - c.cx);
    c.end = std::atan2(e.y2 - c.cy, e.x2 - c.cx);
    c.lower = e.kind == kCcwArc ? c.start : c.end;
    c.upper = e.kind == kCcwArc ? c.end : c.start;
    if (c.upper < c.lower)
        c.upper += 2 * kPi;
    double sx = e.x1 - c.cx, sy = e.y1 - c.cy, ex = e.x2 - c.cx, ey = e.y2 - c.cy;
    c.quick = e.kind == kCcwArc ? MakeDiamondRange(sx, sy, ex, ey, c.upper - c.lower)
                                : MakeDiamondRange(ex, ey, sx, sy, c.upper - c.lower);
    return true;
}

bool OnRound(const Round& c, double px, double py) {
    if (!c.is_arc)
        return true;
    int quick = QuickInRange(c.quick, px - c.cx, py - c.cy);
    if (quick >= 0)
        return quick == 1;
    double t = std::atan2(py - c.cy, px - c.cx);
    if (t < c.lower)
        t += 2 * kPi;
    return c.lower <= t && t < c.upper;
}

// Collects the candidate points that pass the filters, in order.
struct Kept {
    int n = 0;
    double x[2] = {0, 0}, y[2] = {0, 0};
    void Add(double px, double py) {
        if (n < 2) {
            x[n] = px;
            y[n] = py;
            ++n;
        }
    }
    int Write(double& xa, double& ya, double& xb, double& yb) const {
        if (n > 0) {
            xa = x[0];
            ya = y[0];
        }
        if (n > 1) {
            xb = x[1];
            yb = y[1];
        }
        return n;
    }
};

// The points of the line's carrier on the circle, kept when on the finite line and on `c`.
int LineRound(const Element& line, const Round& c, double& xa, double& ya, double& xb, double& yb) {
    double r1, r2;
    double px[2], py[2];
    int n;
    if (equal(line.x1, line.x2)) {
        // A vertical line: solve the circle equation in Y at the line's X.
        double dx = line.x1 - c.cx;
        n = SolveQuadraticEquation(1, -2 * c.cy, sqr(c.cy) + sqr(dx) - sqr(c.radius), r1, r2);
        px[0] = px[1] = line.x1;
        py[0] = r1;
        py[1] = r2;
    } else {
        double m = (line.y2 - line.y1) / (line.x2 - line.x1);
        double k = line.y1 - m * line.x1;
        n = SolveQuadraticEquation(1 + sqr(m), 2 * (m * (k - c.cy) - c.cx),
                                   sqr(c.cx) + sqr(k - c.cy) - sqr(c.radius), r1, r2);
        px[0] = r1;
        px[1] = r2;
        py[0] = m * r1 + k;
        py[1] = m * r2 + k;
    }
    Kept kept;
    for (int i = 0; i < n; ++i)
        if (ValidCLAPoint(line, px[i], py[i]) && OnRound(c, px[i], py[i]))
            kept.Add(px[i], py[i]);
    return kept.Write(xa, ya, xb, yb);
}

// The points where two full circles meet, kept when on both (arcs filter by angle).
int RoundRound(const Round& c1, const Round& c2, double& xa, double& ya, double& xb, double& yb) {
    double dx = c2.cx - c1.cx, dy = c2.cy - c1.cy;
    double dc = std::sqrt(sqr(dx) + sqr(dy));
    // Concentric circles meet nowhere, and coincident ones everywhere: neither gives points
    // (the formula below would divide by zero).
    if (dc == 0 || dc > c1.radius + c2.radius || double_abs(c1.radius - c2.radius) > dc)
        return 0;
    double a = (sqr(c1.radius) - sqr(c2.radius) + sqr(dc)) / (2 * dc);
    double h2 = sqr(c1.radius) - sqr(a);
    double h = h2 > 0 ? std::sqrt(h2) : 0; // rounding can make it negative for touching circles
    double bx = c1.cx + a * dx / dc, by = c1.cy + a * dy / dc;
    double px[2] = {bx + h * dy / dc, bx - h * dy / dc};
    double py[2] = {by - h * dx / dc, by + h * dx / dc};
    Kept kept;
    for (int i = 0; i < 2; ++i)
        if (OnRound(c1, px[i], py[i]) && OnRound(c2, px[i], py[i]))
            kept.Add(px[i], py[i]);
    return kept.Write(xa, ya, xb, yb);
}

} // namespace

int ValidCLAPoint(const Element& e, double px, double py) {
    if (e.kind != kCircle &&
        ((equal(px, e.x1) && equal(py, e.y1)) || (equal(px, e.x2) && equal(py, e.y2))))
        return 1;
    if (e.kind == kCircle)
        return equal(sqr(px - e.x1) + sqr(py - e.y1), sqr(e.r));
    if (IsArc(e)) {
        double cx, cy;
        if (!ArcCenter(e, cx, cy) || !equal(sqr(px - cx) + sqr(py - cy), sqr(e.r)))
            return 0;
        auto relative = [](double a, double base) {
            double d = std::fmod(a - base, 2 * kPi);
            return d < 0 ? d + 2 * kPi : d;
        };
        double ap = std::atan2(py - cy, px - cx);
        double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
        double a2 = std::atan2(e.y2 - cy, e.x2 - cx);
        double base = e.kind == kCcwArc ? a1 : a2;
        double other = e.kind == kCcwArc ? a2 : a1;
        return relative(ap, base) <= relative(other, base) ? 1 : 0;
    }
    if (!equal(e.x1, e.x2)) {
        double yl = e.y1 + (e.y2 - e.y1) * (px - e.x1) / (e.x2 - e.x1);
        return equal(py, yl) && px >= std::fmin(e.x1, e.x2) && px <= std::fmax(e.x1, e.x2);
    }
    return equal(px, e.x1) && py >= std::fmin(e.y1, e.y2) && py <= std::fmax(e.y1, e.y2);
}

int LineLineIntersections(const Element& l1, const Element& l2, double& xa, double& ya, double& xb,
                          double& yb) {
    if (l1.kind != kLine || l2.kind != kLine)
        return -1;
    (void)xb;
    (void)yb;
    bool v1 = l1.x1 == l1.x2, v2 = l2.x1 == l2.x2;
    if (v1 && v2)
        return 0;
    double px, py;
    if (v1 || v2) {
        const Element& v = v1 ? l1 : l2;
        const Element& o = v1 ? l2 : l1;
        px = v.x1;
        py = o.y1 + (o.y2 - o.y1) * (px - o.x1) / (o.x2 - o.x1);
    } else {
        double m1 = (l1.y2 - l1.y1) / (l1.x2 - l1.x1), c1 = l1.y1 - m1 * l1.x1;
        double m2 = (l2.y2 - l2.y1) / (l2.x2 - l2.x1), c2 = l2.y1 - m2 * l2.x1;
        if (m1 == m2) // parallel or on one carrier
            return 0;
        px = (c2 - c1) / (m1 - m2);
        py = m1 * px + c1;
    }
    if (!ValidCLAPoint(l1, px, py) || !ValidCLAPoint(l2, px, py))
        return 0;
    xa = px;
    ya = py;
    return 1;
}

int LineCircleIntersections(const Element& line, const Element& circle, double& xa, double& ya,
                            double& xb, double& yb) {
    if (line.kind != kLine || circle.kind != kCircle)
        return -1;
    Round c;
    RoundOf(circle, c);
    return LineRound(line, c, xa, ya, xb, yb);
}

int LineArcIntersections(const Element& line, const Element& arc, double& xa, double& ya,
                         double& xb, double& yb) {
    if (line.kind != kLine || !IsArc(arc))
        return -1;
    Round c;
    if (!RoundOf(arc, c))
        return 0;
    return LineRound(line, c, xa, ya, xb, yb);
}

int CircleCircleIntersections(const Element& circle1, const Element& circle2, double& xa,
                              double& ya, double& xb, double& yb) {
    if (circle1.kind != kCircle || circle2.kind != kCircle)
        return -1;
    Round c1, c2;
    RoundOf(circle1, c1);
    RoundOf(circle2, c2);
    return RoundRound(c1, c2, xa, ya, xb, yb);
}

int CircleArcIntersections(const Element& circle, const Element& arc, double& xa, double& ya,
                           double& xb, double& yb) {
    if (circle.kind != kCircle || !IsArc(arc))
        return -1;
    Round c1, c2;
    RoundOf(circle, c1);
    if (!RoundOf(arc, c2))
        return 0;
    return RoundRound(c1, c2, xa, ya, xb, yb);
}

int ArcArcIntersections(const Element& arc1, const Element& arc2, double& xa, double& ya,
                        double& xb, double& yb) {
    if (!IsArc(arc1) || !IsArc(arc2))
        return -1;
    Round c1, c2;
    if (!RoundOf(arc1, c1) || !RoundOf(arc2, c2))
        return 0;
    return RoundRound(c1, c2, xa, ya, xb, yb);
}

int Intersect(const Element& a, const Element& b, double& xa, double& ya, double& xb, double& yb) {
    if (!a.in_use || !b.in_use)
        return 0;
    int ra = KindRank(a.kind), rb = KindRank(b.kind);
    if (ra < 0 || rb < 0)
        return 0;
    const Element& p = ra <= rb ? a : b;
    const Element& q = ra <= rb ? b : a;
    switch (KindRank(p.kind) * 3 + KindRank(q.kind)) {
    case 0:
        return LineLineIntersections(p, q, xa, ya, xb, yb);
    case 1:
        return LineCircleIntersections(p, q, xa, ya, xb, yb);
    case 2:
        return LineArcIntersections(p, q, xa, ya, xb, yb);
    case 4:
        return CircleCircleIntersections(p, q, xa, ya, xb, yb);
    case 5:
        return CircleArcIntersections(p, q, xa, ya, xb, yb);
    default:
        return ArcArcIntersections(p, q, xa, ya, xb, yb);
    }
}

PreparedElement PrepareElement(const Element& e) {
    PreparedElement p;
    p.e = e;
    p.has_circle = RoundOf(e, p.c);
    return p;
}

// The dispatch of Intersect, with the circles taken from the prepared elements instead of
// worked out again: the pair routines above do nothing else with them.
int Intersect(const PreparedElement& a, const PreparedElement& b, double& xa, double& ya,
              double& xb, double& yb) {
    if (!a.e.in_use || !b.e.in_use)
        return 0;
    int ra = KindRank(a.e.kind), rb = KindRank(b.e.kind);
    if (ra < 0 || rb < 0)
        return 0;
    const PreparedElement& p = ra <= rb ? a : b;
    const PreparedElement& q = ra <= rb ? b : a;
    if (std::max(ra, rb) == 0)
        return LineLineIntersections(p.e, q.e, xa, ya, xb, yb);
    if (!q.has_circle)
        return 0; // an arc without a centre
    if (std::min(ra, rb) == 0)
        return LineRound(p.e, q.c, xa, ya, xb, yb);
    if (!p.has_circle)
        return 0;
    return RoundRound(p.c, q.c, xa, ya, xb, yb);
}

} // namespace korvel
