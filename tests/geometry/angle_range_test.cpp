// The quick direction-in-range test: wherever it answers, the atan2 tests of the arc code
// (from the lower end included to the upper end excluded, and along a signed sweep with both
// ends included) answer the same; near the ends it declines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/angle_range.h"
#include "geometry/primitives.h"
#include "random_geometry.h"

namespace korvel {
namespace {

// The range test of the intersection routines, on atan2 angles.
bool LowerToUpper(double lower, double upper, double x, double y) {
    double t = std::atan2(y, x);
    if (t < lower)
        t += 2 * kPi;
    return lower <= t && t < upper;
}

// The arc test of the outline distances: along a signed sweep from the start.
bool AlongSweep(double start, double sweep, double x, double y) {
    double t = std::atan2(y, x) - start;
    if (sweep < 0)
        t = -t;
    t = std::fmod(t, 2 * kPi);
    if (t < 0)
        t += 2 * kPi;
    return t <= std::fabs(sweep);
}

TEST(DiamondAngle, GrowsRoundTheCircle) {
    EXPECT_DOUBLE_EQ(DiamondAngle(1, 0), 0);
    EXPECT_DOUBLE_EQ(DiamondAngle(1, 1), 0.5);
    EXPECT_DOUBLE_EQ(DiamondAngle(0, 2), 1);
    EXPECT_DOUBLE_EQ(DiamondAngle(-3, 0), 2);
    EXPECT_DOUBLE_EQ(DiamondAngle(0, -1), 3);
    double last = -1;
    for (int k = 0; k < 3600; ++k) {
        double a = 2 * kPi * k / 3600;
        double d = DiamondAngle(5 * std::cos(a), 5 * std::sin(a));
        EXPECT_GT(d, last) << k;
        EXPECT_LT(d, 4);
        last = d;
    }
    EXPECT_TRUE(std::isnan(DiamondAngle(0, 0)));
}

TEST(QuickInRange, DeclinesDegenerateRanges) {
    EXPECT_EQ(MakeDiamondRange(1, 0, 0, 1, 0).span, 0);           // no angle
    EXPECT_EQ(MakeDiamondRange(1, 0, 1, 1e-9, 1e-9).span, 0);     // a sliver
    EXPECT_EQ(MakeDiamondRange(1, 0, 1, -1e-9, 2 * kPi).span, 0); // the whole circle
    EXPECT_EQ(MakeDiamondRange(0, 0, 0, 1, kPi / 2).span, 0);     // no direction
    DiamondRange none;
    EXPECT_EQ(QuickInRange(none, 1, 1), -1);
    DiamondRange quarter = MakeDiamondRange(1, 0, 0, 1, kPi / 2);
    EXPECT_EQ(QuickInRange(quarter, 1, 1), 1);
    EXPECT_EQ(QuickInRange(quarter, -1, -1), 0);
    EXPECT_EQ(QuickInRange(quarter, 1, 0), -1); // an end
    EXPECT_EQ(QuickInRange(quarter, 0, 1), -1);
    EXPECT_EQ(QuickInRange(quarter, 0, 0), -1);
    EXPECT_EQ(QuickInRange(quarter, std::numeric_limits<double>::quiet_NaN(), 1), -1);
}

// Random arcs about random centres, asked about random directions and about directions on,
// just beside and far beside their ends.
TEST(QuickInRange, AgreesWithTheAtan2Tests) {
    test::Rng rng(20261207);
    int answered = 0, asked = 0;
    for (int n = 0; n < 20000; ++n) {
        double cx = rng.Uniform(-500, 500), cy = rng.Uniform(-500, 500);
        double r = std::exp(rng.Uniform(std::log(0.01), std::log(1000)));
        double a1 = rng.Uniform(-kPi, kPi), a2 = rng.Uniform(-kPi, kPi);
        double sx = cx + r * std::cos(a1), sy = cy + r * std::sin(a1);
        double ex = cx + r * std::cos(a2), ey = cy + r * std::sin(a2);
        // As the arc code has them: the angles of the ends about the centre.
        double start = std::atan2(sy - cy, sx - cx), end = std::atan2(ey - cy, ex - cx);
        bool ccw = rng.Coin();
        double lower = ccw ? start : end, upper = ccw ? end : start;
        if (upper < lower)
            upper += 2 * kPi;
        DiamondRange round =
            ccw ? MakeDiamondRange(sx - cx, sy - cy, ex - cx, ey - cy, upper - lower)
                : MakeDiamondRange(ex - cx, ey - cy, sx - cx, sy - cy, upper - lower);
        double sweep = ccw ? upper - lower : lower - upper;
        for (int k = 0; k < 12; ++k) {
            double px, py;
            if (k < 6) {
                double a = rng.Uniform(-kPi, kPi);
                px = cx + r * std::cos(a);
                py = cy + r * std::sin(a);
            } else {
                // On an end, or off it by a few units in the last place up to a millionth.
                bool at_start = k % 2 == 0;
                double bx = at_start ? sx : ex, by = at_start ? sy : ey;
                double off = k < 8 ? 0 : std::pow(10.0, rng.Uniform(-16, -6)) * r;
                px = std::nextafter(bx + rng.Uniform(-off, off), rng.Coin() ? 1e9 : -1e9);
                py = by + rng.Uniform(-off, off);
            }
            double x = px - cx, y = py - cy;
            ++asked;
            int quick = QuickInRange(round, x, y);
            if (quick < 0)
                continue;
            ++answered;
            ASSERT_EQ(quick == 1, LowerToUpper(lower, upper, x, y)) << n << " " << k;
            ASSERT_EQ(quick == 1, AlongSweep(start, sweep, x, y)) << n << " " << k;
        }
    }
    // The quick test stands in for nearly every question away from the ends.
    EXPECT_GT(answered, asked / 2);
}

} // namespace
} // namespace korvel
