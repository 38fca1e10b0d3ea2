// Arc centres and point transformations.
#include "geometry/primitives.h"

#include <cmath>

#include "geometry/tolerance.h"

namespace korvel {

double distance(double x1, double y1, double x2, double y2) {
    return std::sqrt(sqr(x2 - x1) + sqr(y2 - y1));
}

int ArcCenter(double x1, double y1, double x2, double y2, double r, int kind, double& cx,
              double& cy) {
    cx = (x1 + x2) / 2;
    cy = (y1 + y2) / 2;
    double h = distance(x1, y1, x2, y2) / 2;
    if (equal(r, 0) || (kind != kCcwArc && kind != kCwArc) || h == 0)
        return 0;
    double big_r = std::fabs(r);
    // A chord slightly longer than the diameter comes from rounding: take the half circle.
    if (h > big_r && r_equal(big_r, h))
        big_r = h;
    if (h > big_r)
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

} // namespace korvel
