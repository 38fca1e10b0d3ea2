// Ray crossings with lines and arcs.
#include "geometry/ray_crossing.h"

#include <cmath>

#include "geometry/primitives.h"

namespace korvel {

namespace {

// Whether the piece from height ya to height yb crosses the ray's line: exactly one of its ends
// lies above it. This is the lower-end-included, upper-end-excluded rule, and it gives a
// consistent parity along any chain of pieces whatever the rounding of the heights.
bool Spans(double ya, double yb, double y) { return (ya > y) != (yb > y); }

int LineCrossingsLR(double x, double y, const Element& e, double& xa, double& xb) {
    if (e.y1 == e.y2)
        return 0;
    double xi = e.x1 + (e.x2 - e.x1) * (y - e.y1) / (e.y2 - e.y1);
    xa = xb = xi;
    return xi >= x && Spans(e.y1, e.y2, y) ? 1 : 0;
}

// The signed angle swept by an arc from start angle a1 to end angle a2 (positive
// counter-clockwise).
double Sweep(const Element& e, double a1, double a2) {
    double s = a2 - a1;
    if (e.kind == kCcwArc && s < 0)
        s += 2 * kPi;
    if (e.kind == kCwArc && s > 0)
        s -= 2 * kPi;
    if (s == 0 && e.r < 0) // a long arc whose ends round to one angle
        s = e.kind == kCcwArc ? 2 * kPi : -2 * kPi;
    return s;
}

// An arc is cut at its topmost and bottommost points (angles pi/2 + k pi) into pieces that run
// monotonically in Y, each wholly on the left or on the right of the centre. Each piece counts
// by its end heights like a line; the heights of the arc's ends are the exact input values, so
// neighbouring elements agree at a shared vertex.
int ArcCrossingsLR(double x, double y, const Element& e, double& xa, double& xb) {
    double cx, cy;
    if (!ArcCenter(e, cx, cy))
        return 0;
    double radius = distance(cx, cy, e.x1, e.y1);
    double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
    double sweep = Sweep(e, a1, std::atan2(e.y2 - cy, e.x2 - cx));
    double dk = sweep > 0 ? 1 : -1;
    // The first extreme strictly beyond the start in the direction of travel.
    double k =
        sweep > 0 ? std::floor((a1 - kPi / 2) / kPi) + 1 : std::ceil((a1 - kPi / 2) / kPi) - 1;
    double from = a1, from_y = e.y1;
    int count[2] = {0, 0}; // left, right
    double found[2] = {0, 0};
    for (int piece = 0; piece < 4; ++piece) {
        double to = kPi / 2 + k * kPi;
        bool last = sweep > 0 ? to >= a1 + sweep : to <= a1 + sweep;
        // The extreme at pi/2 + k pi is the top for even k and the bottom for odd k.
        double to_y = last ? e.y2 : (std::fmod(std::fabs(k), 2.0) == 0 ? cy + radius : cy - radius);
        if (last)
            to = a1 + sweep;
        if (Spans(from_y, to_y, y)) {
            int side = std::cos((from + to) / 2) > 0 ? 1 : 0;
            double q = sqr(radius) - sqr(y - cy);
            double xc = cx + (side ? 1 : -1) * std::sqrt(q > 0 ? q : 0);
            if (xc > x) {
                ++count[side];
                found[side] = xc;
            }
        }
        if (last)
            break;
        from = to;
        from_y = to_y;
        k += dk;
    }
    // Two pieces on one side can both count only for a ray that grazes a sliver left by
    // rounding at an end; they cancel, which keeps the parity.
    for (int& c : count)
        if (c == 2)
            c = 0;
    if (count[0] && count[1]) {
        xa = found[0];
        xb = found[1];
        return 2;
    }
    if (count[0] || count[1]) {
        xa = xb = count[0] ? found[0] : found[1];
        return 1;
    }
    return 0;
}

} // namespace

int IntersectionsLR(double x, double y, const Element& e, double& xa, double& xb) {
    if (e.kind == kRapid || (e.x1 == e.x2 && e.y1 == e.y2))
        return 0;
    if (e.kind == kLine)
        return LineCrossingsLR(x, y, e, xa, xb);
    if (e.kind == kCcwArc || e.kind == kCwArc)
        return ArcCrossingsLR(x, y, e, xa, xb);
    return 0;
}

int IntersectionsDU(double x, double y, const Element& e, double& ya, double& yb) {
    // Swapping X and Y mirrors the plane, which turns the arc's direction over.
    int mirrored = e.kind == kCcwArc ? kCwArc : e.kind == kCwArc ? kCcwArc : e.kind;
    Element m{e.y1, e.x1, e.y2, e.x2, e.r, mirrored, e.in_use};
    return IntersectionsLR(y, x, m, ya, yb);
}

int IntersectLR(double x, double y, const Element& e, double& xa) {
    double xb;
    return IntersectionsLR(x, y, e, xa, xb);
}

} // namespace korvel
