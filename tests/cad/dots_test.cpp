// The dot list: the user's two points and the points the program pushes.
#include <gtest/gtest.h>

#include "cad/dots.h"
#include "support.h"

namespace korvel {
namespace {

class Dots : public test::KorvelTest {};

TEST_F(Dots, UserPointsAndTheirClasses) {
    EXPECT_EQ(DotCount(), 2);
    double x = 1, y = 1;
    ASSERT_EQ(Type("UCOORDS 5 6 0"), 1);
    EXPECT_EQ(GetDot(0, x, y), 0); // unset: the user origin
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(SetDot(0, 10, 20), 1);
    EXPECT_EQ(SetDot(1, 30, 40), 1);
    EXPECT_EQ(SetDot(2, 1, 1), 0); // only below the count
    EXPECT_EQ(DotAt(0).cls, 257);
    EXPECT_EQ(DotAt(1).cls, 1);
    ASSERT_EQ(GetDot(1, x, y), 1);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    RemoveDots();
    EXPECT_EQ(GetDot(0, x, y), 0);
    EXPECT_EQ(DotCount(), 2);
}

TEST_F(Dots, PushedPointsAreFoundAndReclassedAndBounded) {
    EXPECT_EQ(PushPoint(1, 2, 16), 1);
    EXPECT_EQ(PushPoint(1.0005, 2, 4), 1); // equal within 0.001: the class changes
    EXPECT_EQ(DotCount(), 3);
    EXPECT_EQ(DotAt(2).cls, 4);
    EXPECT_EQ(FindDot(1, 2.0009), 2);
    EXPECT_EQ(FindDot(1, 2.01), -1);
    SetDot(0, 7, 7);
    EXPECT_EQ(FindDot(7, 7), -1); // the user's dots are not searched
    for (int i = 3; i < kMaxDots; ++i)
        ASSERT_EQ(PushPoint(i, 0, 2), 1);
    EXPECT_EQ(DotCount(), kMaxDots);
    EXPECT_EQ(PushPoint(-50, 0, 2), 0);
    EXPECT_EQ(DotCount(), kMaxDots);
    EXPECT_EQ(PushPoint(3, 0, 8), 1); // an equal entry still takes its new class
    EXPECT_EQ(DotAt(3).cls, 8);
    EXPECT_EQ(DotAt(kMaxDots).cls, 0);
}

} // namespace
} // namespace korvel
