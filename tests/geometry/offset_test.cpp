// Offsets of single elements: edge cases, and properties over thousands of random elements.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/offset.h"
#include "geometry/primitives.h"
#include "random_geometry.h"
#include "support.h"

namespace korvel {
namespace {

using test::KorvelTest;

void ExpectSame(const Element& a, const Element& b) {
    EXPECT_EQ(a.x1, b.x1);
    EXPECT_EQ(a.y1, b.y1);
    EXPECT_EQ(a.x2, b.x2);
    EXPECT_EQ(a.y2, b.y2);
    EXPECT_EQ(a.r, b.r);
    EXPECT_EQ(a.kind, b.kind);
}

class Offset : public KorvelTest {};

TEST_F(Offset, LinesMoveToTheRightOfTheirDirection) {
    Element e{0, 0, 10, 0, 0, kLine, 1};
    ASSERT_EQ(OffsetElement(e, 2), 1);
    EXPECT_NEAR(e.y1, -2, 1e-12);
    EXPECT_NEAR(e.y2, -2, 1e-12);
    EXPECT_NEAR(e.x1, 0, 1e-12);
    EXPECT_NEAR(e.x2, 10, 1e-12);
    Element up{0, 0, 0, 10, 0, kLine, 1};
    ASSERT_EQ(OffsetElement(up, -3), 1); // to the left
    EXPECT_NEAR(up.x1, -3, 1e-12);
    EXPECT_NEAR(up.x2, -3, 1e-12);
}

TEST_F(Offset, ArcsKeepTheirCentreAndRadiusSign) {
    // Counter-clockwise half circle about the origin: moving right moves outwards.
    Element ccw{10, 0, -10, 0, 10, kCcwArc, 1};
    ASSERT_EQ(OffsetElement(ccw, 2), 1);
    EXPECT_NEAR(ccw.x1, 12, 1e-9);
    EXPECT_NEAR(ccw.x2, -12, 1e-9);
    EXPECT_DOUBLE_EQ(ccw.r, 12);
    Element cw{-10, 0, 10, 0, 10, kCwArc, 1};
    ASSERT_EQ(OffsetElement(cw, 2), 1);
    EXPECT_NEAR(cw.x1, -8, 1e-9);
    EXPECT_DOUBLE_EQ(cw.r, 8);
    // A long clockwise arc (three quarters about (-10, -10)) stays long: its centre lies to
    // the right too.
    Element lng{0, -10, -10, 0, -10, kCwArc, 1};
    ASSERT_EQ(OffsetElement(lng, 1), 1);
    EXPECT_DOUBLE_EQ(lng.r, -9);
    EXPECT_NEAR(lng.x1, -1, 1e-9);
    EXPECT_NEAR(lng.y1, -10, 1e-9);
    EXPECT_NEAR(dist(lng), 9 * 1.5 * kPi, 1e-9);
    Element lccw{0, -10, -10, 0, -10, kCcwArc, 1};
    ASSERT_EQ(OffsetElement(lccw, -4), 1);
    EXPECT_DOUBLE_EQ(lccw.r, -6);
}

TEST_F(Offset, RadiusThatWouldVanishLeavesTheArcUnchanged) {
    Element cw{-5, 0, 5, 0, 5, kCwArc, 1};
    Element before = cw;
    EXPECT_EQ(OffsetElement(cw, 5), 0);
    ExpectSame(cw, before);
    Element ccw{5, 0, -5, 0, 5, kCcwArc, 1};
    before = ccw;
    EXPECT_EQ(OffsetElement(ccw, -5), 0);
    ExpectSame(ccw, before);
    Element longcw{0, -5, -5, 0, -5, kCwArc, 1};
    before = longcw;
    EXPECT_EQ(OffsetElement(longcw, 6), 0);
    ExpectSame(longcw, before);
    Element nocentre{0, 0, 30, 0, 5, kCwArc, 1};
    before = nocentre;
    EXPECT_EQ(OffsetElement(nocentre, 1), 0);
    ExpectSame(nocentre, before);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Offset, CirclesGrowWithDistance) {
    Element c{1, 2, 1, 2, 5, kCircle, 1};
    ASSERT_EQ(OffsetElement(c, 1.5), 1);
    EXPECT_DOUBLE_EQ(c.r, 6.5);
    EXPECT_EQ(c.x1, 1);
    EXPECT_EQ(OffsetElement(c, -6.5), 0);
    EXPECT_DOUBLE_EQ(c.r, 6.5);
}

TEST_F(Offset, OtherKindsAreRefusedWithAMessage) {
    for (int kind : {0, 3, 16}) {
        Element e{0, 0, 10, 0, 0, kind, 1};
        Element before = e;
        EXPECT_EQ(OffsetElement(e, 1), 0);
        ExpectSame(e, before);
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{"[Element not offset] Illegal element type"});
    }
}

TEST(OffsetProperties, LinesStayParallelAtTheDistance) {
    test::Rng rng(16001);
    for (int i = 0; i < 5000; ++i) {
        Element e = test::RandomLine(rng, 100);
        double d = rng.Uniform(-20, 20);
        Element o = e;
        ASSERT_EQ(OffsetElement(o, d), 1);
        double dx = e.x2 - e.x1, dy = e.y2 - e.y1, len = std::hypot(dx, dy);
        // Same direction and length, every point d to the right of the original carrier.
        EXPECT_NEAR(o.x2 - o.x1, dx, 1e-9);
        EXPECT_NEAR(o.y2 - o.y1, dy, 1e-9);
        for (auto [px, py] : {std::pair{o.x1, o.y1}, std::pair{o.x2, o.y2}}) {
            double right = ((px - e.x1) * dy - (py - e.y1) * dx) / len; // signed, right > 0
            ASSERT_NEAR(right, d, 1e-9) << i;
        }
    }
}

TEST(OffsetProperties, ArcsKeepTheirCentreAndChangeTheirRadiusByTheDistance) {
    test::Rng rng(16002);
    int done = 0, refused = 0;
    for (int i = 0; i < 5000; ++i) {
        Element e = test::RandomArc(rng, 100);
        double cx, cy;
        ASSERT_EQ(ArcCenter(e, cx, cy), 1);
        double radius = std::fabs(e.r);
        double d = rng.Uniform(-radius, 1.5 * radius);
        double expected = e.kind == kCcwArc ? radius + d : radius - d;
        Element o = e;
        if (!(expected > 0)) {
            ASSERT_EQ(OffsetElement(o, d), 0) << i;
            ASSERT_EQ(o.r, e.r);
            ++refused;
            continue;
        }
        ASSERT_EQ(OffsetElement(o, d), 1) << i;
        ++done;
        ASSERT_NEAR(std::fabs(o.r), expected, 1e-9 * radius);
        ASSERT_EQ(o.r < 0, e.r < 0) << i;
        double ox, oy;
        ASSERT_EQ(ArcCenter(o, ox, oy), 1) << i;
        ASSERT_NEAR(ox, cx, 1e-6 * radius) << i;
        ASSERT_NEAR(oy, cy, 1e-6 * radius) << i;
        // The ends stay on their radii, at the new radius.
        ASSERT_NEAR(distance(cx, cy, o.x1, o.y1), expected, 1e-9 * radius);
        ASSERT_NEAR(distance(cx, cy, o.x2, o.y2), expected, 1e-9 * radius);
        ASSERT_NEAR(std::atan2(o.y1 - cy, o.x1 - cx), std::atan2(e.y1 - cy, e.x1 - cx), 1e-9);
        // The swept angle does not change.
        ASSERT_NEAR(dist(o) / expected, dist(e) / radius, 1e-6) << i;
    }
    EXPECT_GT(done, 2000);
    EXPECT_GT(refused, 300);
}

} // namespace
} // namespace korvel
