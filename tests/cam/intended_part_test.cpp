// The intended part painted from the model: heights and limits where each kind of object
// stands, and outlines on the grid against the model's own inside test.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cam/intended_part.h"
#include "cam_support.h"
#include "model/block.h"
#include "model/heights.h"
#include "model/pocket.h"
#include "model/shape.h"
#include "support.h"

namespace korvel::test {
namespace {

class IntendedPartTest : public CamTest {
protected:
    // The block 100 x 60 x 20 with its top at Z 0, in cells of 0.1 centred on the 0.05s.
    void SetUp() override {
        CamTest::SetUp();
        TypeAll({"BLOCK 1 100 60 20 0 0 -20 0 0 -1", "TOPFACE 0 0"});
    }
    void Build() {
        RecalcZ();
        GridFrame f{0, 0, 0.1, 1000, 600};
        ASSERT_TRUE(BuildIntendedPart(f, part_));
    }
    std::size_t Cell(double x, double y) const {
        return part_.frame.Index(static_cast<int>(x / 0.1), static_cast<int>(y / 0.1));
    }
    float Lo(double x, double y) const { return part_.lo[Cell(x, y)]; }
    float Hi(double x, double y) const { return part_.hi[Cell(x, y)]; }
    int Owner(double x, double y) const { return part_.owner[Cell(x, y)]; }

    IntendedPart part_;
};

TEST_F(IntendedPartTest, TheBlockIsItsBaseLevelBelowTopFaceAndBulges) {
    TypeAll({"TOPFACE 0.5 0", "RBULGE 2 1 20 20 4 10 10 0 0 0 0 0 0 0",
             "CBULGE 3 2 10 3 20 20 1 0 0 0 0 0"}); // a cylinder on the rectangle, chamfered 1
    Build();
    EXPECT_FLOAT_EQ(Lo(50.05, 50.05), -7.5); // 0.5 milled off, the bulges 7 high
    EXPECT_FLOAT_EQ(Hi(50.05, 50.05), -7.5);
    EXPECT_EQ(Owner(50.05, 50.05), 1);
    EXPECT_FLOAT_EQ(Hi(12.05, 12.05), -3.5);
    EXPECT_EQ(Owner(12.05, 12.05), 2);
    EXPECT_FLOAT_EQ(Hi(20.05, 20.05), -0.5); // the cylinder's top is the top face
    // The chamfer: 0.55 in from the cylinder's edge, 0.45 below its top.
    EXPECT_NEAR(Hi(20.05, 15.55), -0.5 - 0.45, 1e-3);
    EXPECT_EQ(Owner(20.05, 15.55), 3);
    // The floors milled: the block's base, both bulge tops, all cut down from the top face.
    ASSERT_EQ(part_.floors.size(), 3u);
    EXPECT_DOUBLE_EQ(part_.floors[0].z, -7.5);
    EXPECT_DOUBLE_EQ(part_.floors[0].rim, -0.5);
}

TEST_F(IntendedPartTest, PocketsGrowByTheirToleranceOffsetAndChamferTheirEdge) {
    // 40 x 30 at (30, 15), 5 deep, corners 5, chamfer 1, tolerance offset +100 (0.1 wider).
    TypeAll({"RPOCKET 2 1 40 30 5 30 15 5 1 0 0 0 100 0"});
    Build();
    EXPECT_FLOAT_EQ(Hi(50.05, 30.05), -5);
    EXPECT_FLOAT_EQ(Hi(29.95, 30.05), -5);      // 0.05 outside the drawn wall, inside the grown
    EXPECT_NEAR(Hi(29.45, 30.05), -0.55, 1e-5); // the chamfer: 0.45 out of the grown wall
    EXPECT_FLOAT_EQ(Hi(28.85, 30.05), 0);       // beyond it
    EXPECT_FLOAT_EQ(Hi(30.45, 15.45), 0);       // the rounded corner is not the pocket's
    EXPECT_EQ(Owner(50.05, 30.05), 2);
}

TEST_F(IntendedPartTest, AChamferMayStayRoundedInASharpCornerOnly) {
    // 40 x 30 at (30, 15) with sharp corners, chamfer 1. The countersink's axis runs inside the
    // wall and turns at the corner of its path: beside the pocket's corner its cone cannot
    // reach the sharp chamfer, so the part may keep material up to the cone there.
    TypeAll({"POCKET 2 1 30 15 5 1 0 0 0 0 0", "LINETO 70 15", "LINETO 70 45", "LINETO 30 45",
             "LINETO 30 15", "END"});
    float sharp = -(1 - 0.25f * std::sqrt(2.0f)); // 0.25 out from the corner along the diagonal
    Build();
    EXPECT_NEAR(Hi(29.75, 14.75), sharp, 1e-4); // no countersink: nothing to excuse
    TypeAll({"MATERIAL ST37-2", "ATTTOOL 7 COUNTERSINK_90_D12.4 0 0 0"});
    Build();
    EXPECT_NEAR(Lo(29.75, 14.75), sharp, 1e-4);
    EXPECT_GT(Hi(29.75, 14.75), sharp + 0.1);
    EXPECT_LE(Hi(29.75, 14.75), 0);
    EXPECT_EQ(Owner(29.75, 14.75), 2);
    // Along the walls the chamfer is asked for exactly.
    for (auto [x, y] : {std::pair{29.45, 30.05}, {50.05, 14.45}, {70.55, 30.05}, {50.05, 45.55}}) {
        EXPECT_NEAR(Hi(x, y), -0.45, 1e-5) << x << " " << y;
        EXPECT_NEAR(Lo(x, y), -0.45, 1e-5) << x << " " << y;
    }
}

TEST_F(IntendedPartTest, HolesAllowTheirPointAndAskForTheirChamfer) {
    TypeAll({"DRILL 2 1 8 12 20.05 20.05 0.5 0 0 1 -1", "BORE 3 1 20 6 70.05 30.05 1 0 0 0 0",
             "LONGHOLE 4 1 6 3 20 0 30 50"});
    Build();
    // The drill: down to its tip, and the material above its 118 degree point must go.
    EXPECT_FLOAT_EQ(Lo(20.05, 20.05), -12);
    EXPECT_FLOAT_EQ(Hi(20.05, 20.05), -12);
    EXPECT_NEAR(Lo(23.05, 20.05), -12, 1e-5);
    EXPECT_NEAR(Hi(23.05, 20.05), -12 + 3 * 0.6009, 1e-3);
    EXPECT_NEAR(Hi(24.25, 20.05), -0.3, 1e-5); // the chamfer, 0.3 in from its edge at 4.5
    // The bore: a flat floor with its chamfer; the long hole: a slot with round ends.
    EXPECT_FLOAT_EQ(Hi(70.05, 30.05), -6);
    EXPECT_FLOAT_EQ(Hi(79.95, 30.05), -6);
    EXPECT_NEAR(Hi(80.55, 30.05), -0.5, 1e-5);
    EXPECT_FLOAT_EQ(Hi(32.95, 50.05), -3);
    EXPECT_FLOAT_EQ(Hi(52.95, 50.05), -3);
    EXPECT_FLOAT_EQ(Hi(53.15, 50.05), 0);
    EXPECT_FLOAT_EQ(Hi(50.05, 52.95), -3);
}

TEST_F(IntendedPartTest, ThreadsNeedTheirCoreHoleAndMayCutTheirFlanks) {
    TypeAll({"THREADTYPE M10 10 1.5 8.5 MM", "THREAD 2 1 10 1.5 15 50.05 30.05 0 0 0"});
    Build();
    // The core to the thread depth at least, at most to the pre-drill's point:
    // 15 + 0.75 + 0.3 x 8.5 + 1 (the tap-drill extension) = 19.3.
    EXPECT_FLOAT_EQ(Hi(50.05, 30.05), -15);
    EXPECT_NEAR(Lo(50.05, 30.05), -19.3, 1e-5);
    // The flanks between 4.25 and 5: the thread depth at most, nothing required.
    EXPECT_FLOAT_EQ(Lo(54.65, 30.05), -15);
    EXPECT_FLOAT_EQ(Hi(54.65, 30.05), 0);
}

TEST_F(IntendedPartTest, TextsMayBeEngravedInTheirBoxOnly) {
    Type("ENG_TEXT 2 1 \"AB\" 10 40 0 8 0.5 0.3 1 1 0");
    Build();
    EXPECT_FLOAT_EQ(Lo(12.05, 43.05), -0.3);
    EXPECT_FLOAT_EQ(Hi(12.05, 43.05), 0); // engraving is allowed, not required
    EXPECT_FLOAT_EQ(Lo(12.05, 55.05), 0);
}

TEST_F(IntendedPartTest, CellsOutsideTheBlockAreNoConcernOfTheModel) {
    Build();
    GridFrame wider{-1, -1, 0.1, 1020, 620};
    ASSERT_TRUE(BuildIntendedPart(wider, part_));
    std::size_t k = wider.Index(5, 5); // at (-0.45, -0.45)
    EXPECT_EQ(part_.owner[k], 0);
    EXPECT_TRUE(std::isinf(part_.lo[k]) && part_.lo[k] < 0);
    EXPECT_TRUE(std::isinf(part_.hi[k]) && part_.hi[k] > 0);
}

TEST_F(IntendedPartTest, FreeOutlinesAreInsideWhereTheModelSaysTheyAre) {
    // A free pocket with lines, a clockwise and two counter-clockwise arcs; every cell of the
    // grid is inside exactly when the model's own test says so (away from the outline).
    TypeAll({"POCKET 2 1 10 10 5 0 0 0 0 0 0", "LINETO 60 10", "CCWTO 80 30 20", "LINETO 80 50",
             "CWTO 60 40 15", "LINETO 30 50", "CCWTO 10 30 -20", "LINETO 10 10", "END"});
    Build();
    Pocket p;
    ASSERT_TRUE(GetPocket(IndexOf(2), p));
    int checked = 0;
    for (int j = 0; j < 600; j += 3)
        for (int i = 0; i < 1000; i += 3) {
            double x = part_.frame.X(i), y = part_.frame.Y(j);
            bool inside = part_.owner[part_.frame.Index(i, j)] == 2;
            bool model = ShapeClicked(p.shape, x, y);
            if (inside != model) {
                // Only right on the outline may the two disagree.
                ADD_FAILURE() << "at " << x << ", " << y << " grid " << inside << " model "
                              << model;
            }
            ++checked;
        }
    EXPECT_GT(checked, 60000);
}

} // namespace
} // namespace korvel::test
