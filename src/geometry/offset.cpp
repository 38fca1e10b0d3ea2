// Sideways offsets of lines, arcs and circles.
#include "geometry/offset.h"

#include <cmath>

#include "geometry/primitives.h"
#include "platform/platform.h"

namespace korvel {

namespace {

// Moves (x, y) by d along the ray from (cx, cy) through it (radius > 0 is its distance).
void MoveRadially(double cx, double cy, double radius, double d, double& x, double& y) {
    x += d * (x - cx) / radius;
    y += d * (y - cy) / radius;
}

int OffsetArc(Element& e, double d) {
    double cx, cy;
    if (!ArcCenter(e, cx, cy))
        return 0;
    // The centre of a clockwise arc lies to the right of its direction of travel, long arc or
    // short, so moving right brings a clockwise arc closer to its centre.
    double grow = e.kind == kCwArc ? -d : d;
    double new_r = double_abs(e.r) + grow;
    if (!(new_r > 0))
        return 0;
    double r1 = distance(cx, cy, e.x1, e.y1), r2 = distance(cx, cy, e.x2, e.y2);
    MoveRadially(cx, cy, r1, grow, e.x1, e.y1);
    MoveRadially(cx, cy, r2, grow, e.x2, e.y2);
    e.r = e.r < 0 ? -new_r : new_r;
    return 1;
}

} // namespace

int OffsetElement(Element& e, double d) {
    switch (e.kind) {
    case kLine: {
        double theta = std::atan2(e.y2 - e.y1, e.x2 - e.x1) - kPi / 2;
        double dx = d * std::cos(theta), dy = d * std::sin(theta);
        e.x1 += dx;
        e.y1 += dy;
        e.x2 += dx;
        e.y2 += dy;
        return 1;
    }
    case kCcwArc:
    case kCwArc:
        return OffsetArc(e, d);
    case kCircle:
        if (!(e.r + d > 0))
            return 0;
        e.r += d;
        return 1;
    default:
        ShowMessage("Illegal element type", "Element not offset", kMbOk | kMbIconExclamation);
        return 0;
    }
}

} // namespace korvel
