// Ray crossings with lines and arcs.
#include "geometry/intersect.h"

#include <cmath>
#include <initializer_list>

#include "geometry/primitives.h"

namespace korvel {

namespace {

// Whether the angle t lies on the arc from a1 to a2 (start included, end excluded), the
// angles already unwrapped so that the arc runs upwards (ccw) or downwards (cw).
bool OnArc(double t, double a1, double a2, int kind) {
    for (double u : {t, t + 2 * kPi}) {
        if (kind == kCcwArc ? (a1 <= u && u < a2) : (a2 < u && u <= a1))
            return true;
    }
    return false;
}

} // namespace

int IntersectionsLR(double x, double y, double x1, double y1, double x2, double y2, double r,
                    int kind, double& xa, double& xb) {
    if (kind == kRapid || (x1 == x2 && y1 == y2))
        return 0;
    if (kind == kLine) {
        if (y1 == y2)
            return 0;
        double xi = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
        xa = xb = xi;
        bool spans = (y1 <= y && y < y2) || (y2 < y && y <= y1);
        return xi >= x && spans ? 1 : 0;
    }
    if (kind != kCcwArc && kind != kCwArc)
        return 0;
    double cx, cy;
    if (!ArcCenter(x1, y1, x2, y2, r, kind, cx, cy))
        return 0;
    double q = sqr(r) - sqr(y - cy);
    if (q < 0)
        return 0;
    double a1 = std::atan2(y1 - cy, x1 - cx);
    double a2 = std::atan2(y2 - cy, x2 - cx);
    if (kind == kCcwArc && a2 < a1)
        a2 += 2 * kPi;
    if (kind == kCwArc && a1 < a2)
        a1 += 2 * kPi;
    double candidates[2] = {cx - std::sqrt(q), cx + std::sqrt(q)};
    int count = 0;
    double found[2] = {0, 0};
    for (double xc : candidates) {
        if (xc > x && OnArc(std::atan2(y - cy, xc - cx), a1, a2, kind))
            found[count++] = xc;
    }
    if (count == 1)
        xa = xb = found[0];
    else if (count == 2) {
        xa = found[0];
        xb = found[1];
    }
    return count;
}

int IntersectionsDU(double x, double y, double x1, double y1, double x2, double y2, double r,
                    int kind, double& ya, double& yb) {
    // Swapping X and Y mirrors the plane, which turns the arc's direction over.
    int mirrored = kind == kCcwArc ? kCwArc : kind == kCwArc ? kCcwArc : kind;
    return IntersectionsLR(y, x, y1, x1, y2, x2, r, mirrored, ya, yb);
}

int IntersectLR(double x, double y, double x1, double y1, double x2, double y2, double r, int kind,
                double& xa) {
    double xb;
    return IntersectionsLR(x, y, x1, y1, x2, y2, r, kind, xa, xb);
}

} // namespace korvel
