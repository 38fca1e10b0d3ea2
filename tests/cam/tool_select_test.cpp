// Automatic tool selection over a magazine built from the shipped database.
#include <gtest/gtest.h>

#include "cam/tool_select.h"
#include "cam_support.h"
#include "model/atttool.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "paths/pocket_path.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class ToolSelectTest : public test::CamTest {
protected:
    void SetUp() override {
        CamTest::SetUp();
        TypeAll({"BLOCK 1 200 100 40 0 0 -40 0 0 -1", "MATERIAL ST37-2"});
    }
    void Attach(int place, const std::string& tool) {
        ASSERT_EQ(Type("ATTTOOL " + std::to_string(place) + " " + tool + " 0 0 0"), 1) << tool;
    }
    // A tool of our own with cutting data for one material group only.
    void Define(const std::string& line, const std::string& data) {
        ASSERT_EQ(Type("DEFTOOL " + line), 1);
        ASSERT_EQ(Type("DEFTOOLMAT " + data), 1);
    }
};

TEST_F(ToolSelectTest, DrillsByDiameterLengthAndMaterial) {
    Attach(1, "DRILL_8");
    Attach(2, "DRILL_6.8");
    Attach(3, "DRILL_6");
    Attach(4, "DRILL_6.8");
    // The smallest diameter at least 6.2, among equals the lowest place.
    EXPECT_EQ(GetClosestDrillTool(6.2, 20), 2);
    EXPECT_EQ(GetClosestDrillTool(6, 20), 3);
    EXPECT_EQ(GetClosestDrillTool(8.01, 20), -1);
    EXPECT_EQ(GetClosestDrillTool(6.2, 80), 1); // the 6.8 drills are 78 long
    // Exact drills: within 0.1, long enough.
    EXPECT_EQ(GetFirstExactDrillTool(6.75, 20), 2);
    EXPECT_EQ(GetFirstExactDrillTool(6.69, 20), -1);
    EXPECT_EQ(GetFirstExactDrillTool(8, 91), -1);
    EXPECT_EQ(GetSuitableDrillTool(7, 6.5, 20), 2);
    EXPECT_EQ(GetSuitableDrillTool(5.9, 5, 20), -1);
    // A drill without cutting data for the block's material group is never chosen.
    Define("DRILL_7.5_C45 2 7.5 0 90 2 0", "DRILL_7.5_C45 13 1000 0 0 90 0 0");
    Attach(5, "DRILL_7.5_C45");
    EXPECT_EQ(GetFirstExactDrillTool(7.5, 20), -1);
    EXPECT_EQ(GetClosestDrillTool(7, 20), 1);
    TypeAll({"MATERIAL C45"});
    EXPECT_EQ(GetFirstExactDrillTool(7.5, 20), 5);
    EXPECT_EQ(GetClosestDrillTool(7, 20), 5);
}

TEST_F(ToolSelectTest, OnlyTheToolHoldersPlacesAreScanned) {
    Attach(12, "DRILL_6");
    EXPECT_EQ(GetSuitableDrillTool(7, 5, 20), 12);
    MutableSettings().toolholder = 10;
    EXPECT_EQ(GetSuitableDrillTool(7, 5, 20), -1);
    EXPECT_EQ(GetFirstExactDrillTool(6, 20), -1);
}

TEST_F(ToolSelectTest, MillsBySizeAndType) {
    Attach(1, "END_MILL_R16");
    Attach(2, "END_MILL_R10");
    Attach(3, "END_MILL_R12");
    Attach(4, "END_MILL_F8");
    Attach(5, "END_MILL_R12");
    EXPECT_EQ(GetBestMill(5, 12, 20), 3);
    EXPECT_EQ(GetBestMill(5, 11, 20), 2);
    EXPECT_EQ(GetBestMill(5, 0, 20), 1); // no limit: up to 1000
    EXPECT_EQ(GetBestMill(5, 12, 40), -1);
    EXPECT_EQ(GetBestMill(6, 12, 20), 4);
    EXPECT_EQ(GetFirstSuitableMill(5, 12, 20), 2);
    EXPECT_EQ(GetNextSuitableMill(), 3);
    EXPECT_EQ(GetNextSuitableMill(), 5);
    EXPECT_EQ(GetNextSuitableMill(), -1);
    EXPECT_EQ(GetMillingTool(5, 0, 20), 1);
}

TEST_F(ToolSelectTest, FaceMillForABoreMustBeSmallEnough) {
    Attach(1, "FACE_MILL_50"); // 50 mm with a 20 mm dead zone; MINBTXD 1.5
    EXPECT_EQ(GetBestBoringFaceMill(74.9, 10), -1);
    EXPECT_EQ(GetBestBoringFaceMill(75, 10), 1);
    Define("FACE_MILL_40_DZ40 7 40 40 40 4 0", "FACE_MILL_40_DZ40 11 1500 600 0 0 2 0");
    Define("FACE_MILL_40_DZ30 7 40 30 40 4 0", "FACE_MILL_40_DZ30 11 1500 600 0 0 2 0");
    Attach(2, "FACE_MILL_40_DZ40");
    Attach(3, "FACE_MILL_40_DZ30");
    // 65 mm: no mill enters without a pre-drill; the one that needs the smallest hole.
    EXPECT_EQ(GetBestBoringFaceMill(65, 10), 3);
    // 70 mm: the 30 mm dead zone enters by itself and is taken at once.
    EXPECT_EQ(GetBestBoringFaceMill(70, 10), 3);
    // 80 mm: the first that needs no pre-drill, in place order.
    EXPECT_EQ(GetBestBoringFaceMill(80, 10), 1);
}

TEST_F(ToolSelectTest, EngravingFallsBackToARoughEndMillWithoutMinimumDrill) {
    Attach(1, "END_MILL_R3");
    Attach(2, "ENGRAVER_0.5");
    EXPECT_EQ(GetEngravingTool(0.5, 1), 2);
    EXPECT_EQ(GetEngravingTool(3, 1), 1);
    Define("END_MILL_R3_PD2 5 3 2 9 3 0", "END_MILL_R3_PD2 11 12000 792 0 238 1.5 0");
    DetachTool(1);
    Attach(1, "END_MILL_R3_PD2");
    EXPECT_EQ(GetEngravingTool(3, 1), -1);
}

TEST_F(ToolSelectTest, TapsBySignedPitchThreadMillsByItsSize) {
    Attach(1, "TAP_M10");
    Attach(2, "THREAD_MILL_D8_P1.5");
    Attach(3, "TAP_M10");
    EXPECT_EQ(GetFirstTapperTool(10, 1.5, 20), 1);
    EXPECT_EQ(GetNextTapperTool(), 3);
    EXPECT_EQ(GetNextTapperTool(), -1);
    EXPECT_EQ(GetFirstTapperTool(10, -1.5, 20), -1); // a right-hand tap for a left-hand thread
    EXPECT_EQ(GetFirstTapperTool(10, 1.5, 40), -1);
    // The thread mill (8 mm, needs an 8.5 mm hole: the core hole of an M10) for a 12 mm hole,
    // either hand.
    EXPECT_EQ(GetFirstThreadMill(12, 1.5, 15), 2);
    EXPECT_EQ(GetNextThreadMill(), -1);
    EXPECT_EQ(GetFirstThreadMill(12, -1.5, 15), 2);
    EXPECT_EQ(GetFirstThreadMill(8.5, 1.5, 15), 2);
    EXPECT_EQ(GetFirstThreadMill(8.4, 1.5, 15), -1);
    EXPECT_EQ(GetFirstThreadMill(12, 1.25, 15), -1);
    // Pitches as a project file keeps them (five decimals) still find the mill; a pitch off by
    // more than the coincidence tolerance does not.
    EXPECT_EQ(GetFirstThreadMill(12, 1.50001, 15), 2);
    EXPECT_EQ(GetFirstThreadMill(12, -1.49999, 15), 2);
    EXPECT_EQ(GetFirstThreadMill(12, 1.502, 15), -1);
    // A mill entered with a negative pitch is never chosen, for either hand.
    Define("THREAD_MILL_LH 4 8 8.5 20 3 -1.5", "THREAD_MILL_LH 11 3979 477 0.9 0 0 0");
    Attach(2, "THREAD_MILL_LH");
    EXPECT_EQ(GetFirstThreadMill(12, 1.5, 15), -1);
    EXPECT_EQ(GetFirstThreadMill(12, -1.5, 15), -1);
}

TEST_F(ToolSelectTest, FirstCentreDrillAndCountersink) {
    EXPECT_EQ(GetFirstSpotTool(), -1);
    EXPECT_EQ(GetChamferingTool(), -1);
    Attach(4, "NC_SPOT_DRILL_10");
    Attach(6, "CENTER_DRILL_3.15");
    Attach(7, "COUNTERSINK_90_D12.4");
    EXPECT_EQ(GetFirstSpotTool(), 4);
    EXPECT_EQ(GetChamferingTool(), 7);
}

// Pockets: RPOCKET id pid length width depth x y corner-radius ...
class PocketToolsTest : public ToolSelectTest {
protected:
    int Pocket(const std::string& line) {
        EXPECT_EQ(Type(line), 1);
        return IndexOf(2);
    }
    static std::array<int, 3> Chosen(int index) {
        korvel::Pocket p;
        GetPocket(index, p);
        return {p.chosen_rough, p.chosen_fine, p.chosen_predrill};
    }
};

TEST_F(PocketToolsTest, CornerRadiusLimitsTheMillsLessTheFineAllowance) {
    Attach(1, "END_MILL_R8");
    Attach(2, "END_MILL_R6");
    Attach(3, "END_MILL_F8");
    Attach(4, "END_MILL_F10");
    // Corner radius 4: mills up to 8; quality 2 finishes the walls with the 8 mm fine mill and
    // leaves FFDXY (0.2) for it, so the rough mill must stay within 7.8.
    int p = Pocket("RPOCKET 2 1 60 40 10 20 20 4 0 0 0 2 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{2, 3, -1}));
    // Quality 0: no fine tool, no allowance; the 8 mm rough mill fits.
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 4 0 0 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, -1, -1}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PocketToolsTest, MillsThatCannotPlungeGetAPreDrill) {
    Define("END_MILL_R10_PD5 5 10 5 30 4 0", "END_MILL_R10_PD5 11 3000 600 0 150 5 0");
    Attach(1, "END_MILL_R10_PD5");
    Attach(2, "DRILL_4");
    Attach(3, "DRILL_6");
    int p = Pocket("RPOCKET 2 1 60 40 10 20 20 6 0 0 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, -1, 3}));
    // Preselected: the same pre-drill rule.
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 6 0 1 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, -1, 3}));
    // A sharp-cornered pocket sets no limit; the pre-drill stays within the mill's diameter.
    TypeAll({"POCKET 2 1 20 20 10 0 0 0 0 0 0", "LINETO 80 20", "LINETO 80 60", "LINETO 20 60",
             "LINETO 20 20", "END"});
    p = IndexOf(2);
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, -1, 3}));
    DetachTool(3);
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(), V{"[Tool(s) missing] No suitable end mill/drill tool pair found for "
                            "pocket 2"});
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 6 0 1 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(),
              V{"[Tool missing] No suitable drill found for preselected mill, pocket 2"});
}

TEST_F(PocketToolsTest, APreDrillFitsWhereItIsDrilled) {
    // The pre-drill stands on the roughing contour, half the mill's diameter (5) inside the
    // wall: a 16 mm drill there would cut 3 mm into the wall, though the corners (radius 8)
    // would take a 16 mm tool.
    Define("END_MILL_R10_PD5 5 10 5 30 4 0", "END_MILL_R10_PD5 11 3000 600 0 150 5 0");
    Attach(1, "END_MILL_R10_PD5");
    Attach(2, "DRILL_16");
    Attach(3, "DRILL_6");
    int p = Pocket("RPOCKET 2 1 60 40 10 20 20 8 0 0 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, -1, 3}));
    DetachTool(3);
    EXPECT_EQ(SelectPocketTools(p), 0);
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 8 0 1 0 0 0 0");
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(),
              (V{"[Tool(s) missing] No suitable end mill/drill tool pair found for pocket 2",
                 "[Tool missing] No suitable drill found for preselected mill, pocket 2"}));
    // With a fine allowance of 0.4 the contour is 5.4 inside: up to 10.8 fits.
    ASSERT_EQ(Type("FFDXY 0.4"), 1);
    Attach(4, "END_MILL_F8");
    Attach(5, "DRILL_12");
    Attach(6, "DRILL_10.2");
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 8 0 0 0 2 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{1, 4, 6}));
}

TEST_F(PocketToolsTest, TheRoughMillLeavesRoomForTheAllowanceOnBothSides) {
    // Corner radius 4 and an allowance of 0.4: the roughing path runs D / 2 + 0.4 inside the
    // wall and must still round the corner, so D <= 8 - 0.8. A 7.5 mm mill would need 4.15.
    Define("END_MILL_R7.5 5 7.5 0 24 4 0", "END_MILL_R7.5 11 6000 800 0 250 3 0");
    ASSERT_EQ(Type("FFDXY 0.4"), 1);
    Attach(1, "END_MILL_R7.5");
    Attach(2, "END_MILL_R6");
    Attach(3, "END_MILL_F8");
    int p = Pocket("RPOCKET 2 1 60 40 10 20 20 4 0 0 0 2 0 0");
    EXPECT_EQ(SelectPocketTools(p), 1);
    EXPECT_EQ(Chosen(p), (std::array<int, 3>{2, 3, -1}));
    EXPECT_EQ(MakePocketPathsX(p, 6 / 2.0 + 0.4, 0.95), 1);
    EXPECT_EQ(MakePocketPathsX(p, 7.5 / 2 + 0.4, 0.95), 0);
    EXPECT_EQ(Messages(), V{"[Tool selection error] Tool diameter too big"});
    // An allowance of half the corner's diameter leaves no mill at all, not any mill.
    Define("END_MILL_F2_WIDE 6 2 0 6 2 0", "END_MILL_F2_WIDE 11 8000 400 1 200 1 0");
    ASSERT_EQ(Type("FFDXY 1"), 1);
    Attach(3, "END_MILL_F2_WIDE");
    Attach(4, "END_MILL_R20");
    p = Pocket("RPOCKET 2 1 60 40 10 20 20 1 0 0 3 2 0 0");
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(),
              V{"[Tool(s) missing] No suitable end mill/drill tool pair found for pocket 2"});
}

TEST_F(PocketToolsTest, RefusalsNameThePocket) {
    Attach(1, "END_MILL_R8");
    int p = Pocket("RPOCKET 2 1 60 40 10 20 20 4 0 0 0 3 0 0");
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(), V{"[Tool(s) missing] No suitable finishing tool for pocket 2"});
    korvel::Pocket record;
    GetPocket(p, record);
    record.wz = 0;
    PutPocket(p, record);
    EXPECT_EQ(SelectPocketTools(p), 0);
    EXPECT_EQ(Messages(), V{"[Invalid pocket 2] Zero or negative pocket depth!"});
}

} // namespace
} // namespace korvel
