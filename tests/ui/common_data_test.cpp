// The checks of preselected tools and the validation order of the common machining data.
#include <gtest/gtest.h>

#include "model/registry.h"
#include "support.h"
#include "tooldb/database.h"
#include "ui/common_data.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class CommonDataTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        SetToolDataExt("R10", kEndMillRough, 10, 0, 30, 4, 0, "");
        SetToolDataExt("R20", kEndMillRough, 20, 0, 30, 4, 0, "");
        SetToolDataExt("SHORT", kEndMillRough, 6, 0, 3, 4, 0, "");
        SetToolDataExt("F8", kEndMillFine, 8, 0, 30, 4, 0, "");
        SetToolDataExt("DRILL", kDrillTool, 8, 0, 60, 2, 0, "");
        int place = 1;
        for (const char* name : {"R10", "R20", "SHORT", "F8", "DRILL"})
            Type("ATTTOOL " + std::to_string(place++) + " " + name + " 0 0 0");
        Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
        // A bulge whose smallest concave corner has radius 5.
        Type("BULGE 2 1 0 0 8 0 0 0 -1 0 0");
        Type("LINETO 40 0");
        Type("LINETO 40 30");
        Type("CWTO 30 20 5");
        Type("LINETO 0 20");
        Type("LINETO 0 0");
        Type("END");
        Type("BORE 3 1 15 10 70 40 0 0 0 -1 0");
        int type;
        FindID(2, type, bulge_);
        FindID(3, type, bore_);
        Messages();
    }
    int bulge_ = -1, bore_ = -1;
};

TEST_F(CommonDataTest, RoughToolThatJustFitsNeedsConfirmation) {
    SetHeadlessAnswer(kIdNo);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 1, 0), 0);
    SetHeadlessAnswer(kIdYes);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 1, 0), 1);
    EXPECT_EQ(Messages(),
              V(2, "[Warning!] Selected rough milling tool T1 diameter too big.\nTool suitable "
                   "for this bulge only without finishing\nAccept selection anyway?"));
}

TEST_F(CommonDataTest, ErrorsRefuseAndWarningsAsk) {
    SetHeadlessAnswer(kIdYes);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 2, 0), 0);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 3, 0), 0);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 0, 4), 1);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBulge, bulge_, 5, 0), 1); // accepted anyway
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBore, bore_, 2, 0), 0);
    EXPECT_EQ(CheckToolCombatibility(CommonObject::kBlock, 0, 4, 1), 1);
    EXPECT_EQ(Messages(),
              (V{"[Error] Selected rough milling tool T2 diameter too big for this bulge",
                 "[Error] Selected rough milling tool T3 too short for this bulge",
                 "[Warning!] Selected rough milling tool T5 seems unsuitable\nAccept selection "
                 "anyway?",
                 "[Error] Selected rough milling tool T2 diameter too big for this bore",
                 "[Warning!] Selected rough milling tool T4 unsuitable\nAccept selection anyway?",
                 "[Warning!] Selected fine milling tool T1 unsuitable\nAccept selection anyway?"}));
}

TEST_F(CommonDataTest, ValidationOrder) {
    CommonData data;
    data.size = 8;
    data.tol_offset = 200;
    data.chamfer = 3;
    EXPECT_EQ(ValidateCommonData(CommonObject::kBulge, bulge_, data),
              CommonDataCheck::kToleranceOutOfRange);
    data.tol_offset = -199;
    EXPECT_EQ(ValidateCommonData(CommonObject::kBulge, bulge_, data),
              CommonDataCheck::kChamferOutOfRange);
    data.chamfer = 2;
    data.size = 0;
    EXPECT_EQ(ValidateCommonData(CommonObject::kBulge, bulge_, data),
              CommonDataCheck::kSizeNotPositive);
    data.size = 8;
    data.fine_tool = 17;
    EXPECT_EQ(ValidateCommonData(CommonObject::kBulge, bulge_, data),
              CommonDataCheck::kToolPlaceEmpty);
    data.fine_tool = 4;
    EXPECT_EQ(ValidateCommonData(CommonObject::kBulge, bulge_, data), CommonDataCheck::kOk);
    EXPECT_EQ(Messages(),
              (V{"[Tolerance offset out of range] Nominal range from -199 to 199 (-0.199 to "
                 "0.199)",
                 "[Chamfer out of range] Valid range: 0 - 2.000",
                 "[Tool missing] No tool is attached to place T17"}));
}

TEST_F(CommonDataTest, QualityCodesToolListsAndScans) {
    for (int code = 0; code <= 5; ++code)
        EXPECT_EQ(BoxesToQuality(QualityToBoxes(code)), code);
    EXPECT_EQ(BoxesToQuality({false, false, true}), 4);
    EXPECT_EQ(BoxesToQuality({false, true, true}), 5);
    Type("QUALITY 2");
    EXPECT_TRUE(QualityToBoxes(-1).side);
    EXPECT_FALSE(QualityToBoxes(-1).rough_bottom);
    EXPECT_EQ(ScanDirections(true, true), 3);
    EXPECT_EQ(ScanDirections(false, true), 2);
    Type("TOOLHOLDER 12");
    std::vector<std::string> list = ToolListEntries();
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(list[0], "AUTO SELECT");
    EXPECT_EQ(list[1], "T01 R10 (End Mill, Rough)");
    EXPECT_EQ(list[4], "T04 F8 (End Mill, Fine)");
    EXPECT_EQ(list[6], "T06");
    EXPECT_EQ(list[12], "T12");
}

} // namespace
} // namespace korvel
