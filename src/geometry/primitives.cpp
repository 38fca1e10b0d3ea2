// Lengths, arc centres, midpoints, three-point circles, point transformations and the
// quadratic solver.
#include "geometry/primitives.h"

#include <cmath>

#include "geometry/tolerance.h"

namespace korvel {

double distance(double x1, double y1, double x2, double y2) {
    return std::sqrt(sqr(x2 - x1) + sqr(y2 - y1));
}

double dist(double x1, double y1, double x2, double y2, double r, int kind) {
    if (kind == kCircle && r > 0)
        return 2 * r * kPi;
    if ((kind != kCcwArc && kind != kCwArc) || r == 0)
        return distance(x1, y1, x2, y2);
    double cx, cy;
    if (!ArcCenter(x1, y1, x2, y2, r, kind, cx, cy))
        return 0;
    // The smaller angle between the two radii is the sweep of the short arc; an arc with a
    // negative radius is the other one, and its length must count the long way round.
    double d = double_abs(std::atan2(y2 - cy, x2 - cx) - std::atan2(y1 - cy, x1 - cx));
    if (d > kPi)
        d = 2 * kPi - d;
    if (r < 0)
        d = 2 * kPi - d;
    return double_abs(r) * d;
}

double dist(const Element& e) { return dist(e.x1, e.y1, e.x2, e.y2, e.r, e.kind); }

int ArcCenter(double x1, double y1, double x2, double y2, double r, int kind, double& cx,
              double& cy) {
    cx = (x1 + x2) / 2;
    cy = (y1 + y2) / 2;
    double h = distance(x1, y1, x2, y2) / 2;
    if (equal(r, 0) || (kind != kCcwArc && kind != kCwArc) || h == 0)
        return 0;
    double big_r = double_abs(r);
    // A chord slightly longer than the diameter comes from rounding: take the half circle.
    if (h > big_r && r_equal(big_r, h))
        big_r = h;
    if (!(h <= big_r)) // also refuses a radius or chord that is not a number
        return 0;
    double alpha = std::acos(h / big_r);
    double phi = std::atan2(y2 - y1, x2 - x1);
    // A clockwise arc with a positive radius has its centre to the right of the chord.
    double dir =
        ((kind == kCwArc && r > 0) || (kind == kCcwArc && r < 0)) ? phi - alpha : phi + alpha;
    cx = x1 + big_r * std::cos(dir);
    cy = y1 + big_r * std::sin(dir);
    return 1;
}

int ArcCenter(const Element& e, double& cx, double& cy) {
    return ArcCenter(e.x1, e.y1, e.x2, e.y2, e.r, e.kind, cx, cy);
}

int TurnPoint(double cx, double cy, double angle_deg, double& x, double& y) {
    double d = distance(cx, cy, x, y);
    if (equal(d, 0))
        return 0;
    double a = std::atan2(y - cy, x - cx) + angle_deg * kPi / 180;
    x = cx + d * std::cos(a);
    y = cy + d * std::sin(a);
    return 1;
}

void ScalePoint(double cx, double cy, double f, double& x, double& y) {
    x = cx + (x - cx) * f;
    y = cy + (y - cy) * f;
}

int SolveQuadraticEquation(double a, double b, double c, double& x1, double& x2) {
    if (a == 0 && b == 0)
        return 0;
    if (a == 0) {
        x1 = x2 = -c / b;
        return 1;
    }
    double d = b * b - 4 * a * c;
    if (d < 0)
        return 0;
    if (d == 0) {
        x1 = x2 = -b / (2 * a);
        return 1;
    }
    double s = std::sqrt(d) / (2 * a);
    x1 = -b / (2 * a) - s;
    x2 = x1 + 2 * s;
    return 2;
}

int Arc_3P_Center(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                  double& cy) {
    auto same = [](double ax, double ay, double bx, double by) {
        return equal(ax, bx) && equal(ay, by);
    };
    if (same(x1, y1, x2, y2) || same(x1, y1, x3, y3) || same(x2, y2, x3, y3))
        return 0;
    double d1x = x2 - x1, d1y = y2 - y1;
    double d2x = x3 - x1, d2y = y3 - y1;
    if (equal(d1x * d2y, d2x * d1y))
        return 0;
    // The centre relative to the first point lies on both perpendicular bisectors.
    double den = 2 * (d1x * d2y - d1y * d2x);
    double s1 = sqr(d1x) + sqr(d1y), s2 = sqr(d2x) + sqr(d2y);
    cx = x1 + (d2y * s1 - d1y * s2) / den;
    cy = y1 + (d1x * s2 - d2x * s1) / den;
    return 1;
}

double Arc_3P_Radious(double x1, double y1, double x2, double y2, double x3, double y3) {
    double cx, cy;
    if (!Arc_3P_Center(x1, y1, x2, y2, x3, y3, cx, cy))
        return 0;
    return distance(cx, cy, x1, y1);
}

int MiddPoint(const Element& e, double& mx, double& my) {
    mx = (e.x1 + e.x2) / 2;
    my = (e.y1 + e.y2) / 2;
    if (e.kind == kLine)
        return 1;
    double cx, cy;
    if ((e.kind != kCcwArc && e.kind != kCwArc) || !ArcCenter(e, cx, cy))
        return 0;
    double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
    double a2 = std::atan2(e.y2 - cy, e.x2 - cx);
    if (e.kind == kCcwArc && a2 < a1)
        a2 += 2 * kPi;
    if (e.kind == kCwArc && a1 < a2)
        a1 += 2 * kPi;
    double a = (a1 + a2) / 2;
    double radius = distance(cx, cy, e.x1, e.y1);
    mx = cx + radius * std::cos(a);
    my = cy + radius * std::sin(a);
    return 1;
}

} // namespace korvel
