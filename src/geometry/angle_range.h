// A quick test of whether a direction lies within an angular range, without trigonometry. The
// arc tests compare atan2 angles; most directions they are asked about lie far from both ends
// of the range, and for those this test gives the same answer for a division. Near an end it
// declines and the caller makes its own atan2 test.
#pragma once

namespace korvel {

// The diamond angle of the direction (x, y): 0 at +X, 1 at +Y, 2 at -X, 3 at -Y, below 4
// round the circle counter-clockwise. It grows with the true angle, at between 1/2 and 1 times
// its rate, so a difference of m in diamond angle is one of at least m in radians. NaN for the
// zero vector.
inline double DiamondAngle(double x, double y) {
    if (y >= 0)
        return x >= 0 ? y / (x + y) : 1 - x / (y - x);
    return x < 0 ? 2 - y / (-x - y) : 3 + x / (x - y);
}

// A counter-clockwise range of directions, from the direction `from` to the direction `to`
// (vectors, any length), in diamond angles. `span` is 0 (no quick test) unless the range's
// true angle `radians` (the caller's, from atan2) lies well inside (0, 2 pi): a range that
// nearly closes the circle or nearly vanishes is left to the exact test.
struct DiamondRange {
    double lower = 0, span = 0;
};

inline DiamondRange MakeDiamondRange(double from_x, double from_y, double to_x, double to_y,
                                     double radians) {
    constexpr double kTwoPi = 6.28318530717958647692;
    DiamondRange d;
    if (!(radians > 1e-6 && radians < kTwoPi - 1e-6))
        return d;
    double lower = DiamondAngle(from_x, from_y), upper = DiamondAngle(to_x, to_y);
    double span = upper - lower;
    if (span < 0)
        span += 4;
    if (!(span > 1e-7 && span < 4 - 1e-7)) // NaN included
        return d;
    d.lower = lower;
    d.span = span;
    return d;
}

// 1 when the direction (x, y) lies inside the range by more than 1e-9 radians, 0 when it lies
// outside by more than that, -1 when it is nearer an end, the range has no quick test or the
// direction is the zero vector. The margin is many orders above the rounding of atan2 and of
// the angle sums the exact tests make, so where this answers they answer the same.
inline int QuickInRange(const DiamondRange& d, double x, double y) {
    constexpr double kMargin = 1e-9;
    if (d.span == 0)
        return -1;
    double rel = DiamondAngle(x, y) - d.lower;
    if (rel < 0)
        rel += 4;
    if (rel > kMargin && rel < d.span - kMargin)
        return 1;
    if (rel > d.span + kMargin && rel < 4 - kMargin)
        return 0;
    return -1;
}

} // namespace korvel
