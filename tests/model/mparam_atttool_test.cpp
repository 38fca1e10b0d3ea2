// Milling parameters and attached tools through their script lines.
#include <gtest/gtest.h>

#include "model/atttool.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/mparam.h"
#include "model/object_kind.h"
#include "model/registry.h"
#include "model/settings.h"
#include "script/project.h"
#include "support.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

using MParamTest = test::KorvelTest;

TEST_F(MParamTest, LinesKindsAndOrder) {
    ASSERT_EQ(Type("MPARAM_TM 12 800 100 0.5 0 0"), 1);
    ASSERT_EQ(Type("MPARAM_X 4 1000 200 3 50 2"), 1);
    ASSERT_EQ(Type("MPARAM_X 4 2000 400 6 100 4"), 1);
    EXPECT_EQ(WriteMParams(), "$103 12 800 100.00000 0.50000 0.00000 0.00000\n"
                              "$99 4 1000 200.00000 3.00000 50.00000 2.00000\n"
                              "$99 4 2000 400.00000 6.00000 100.00000 4.00000\n");
    int speed;
    double v[4];
    ASSERT_EQ(RetrieveMParam(4, kRoughMilling, speed, v), 1);
    EXPECT_EQ(speed, 1000); // the first of two
    EXPECT_EQ(RetrieveMParam(12, kThreadMilling, speed, v), 1);
    EXPECT_EQ(RetrieveMParam(12, kThreadCutting, speed, v), 0);
    EXPECT_EQ(Type("MPARAM_F 4 1000 200 3 50"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Syntax error"});
    Type("PROJECTUNIT INCH");
    Type("MPARAM_D 5 900 10 0 2 0");
    RetrieveMParam(5, kDrilling, speed, v);
    EXPECT_DOUBLE_EQ(v[2], 50.8);
    EXPECT_EQ(DeleteMParam(4, kRoughMilling), 2);
    InitID(); // clearing the registry clears the parameters
    EXPECT_EQ(MParamCount(), 0);
}

TEST_F(MParamTest, TheTableIsFull) {
    for (int i = 0; i < kMaxMParams; ++i)
        ASSERT_GE(RegisterMParam(1 + i % 100, kDrilling, 100, 0, 0, 1, 0), 0);
    EXPECT_EQ(Type("MPARAM_D 5 900 10 0 2 0"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many Milling Parameters"});
}

TEST_F(MParamTest, LevelsEditsAndCopies) {
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    Type("RBULGE 2 1 20 10 5 0 0 0 0 0 0 -1 0 0");
    Type("RBULGE 3 1 20 10 5 50 0 0 0 0 0 -1 0 0");
    Type("RBULGE 4 2 5 5 2 0 0 0 0 0 0 -1 0 0");
    ASSERT_GE(RegisterLevelMParam(IndexOf(2), kRoughMilling, 5000, 800, 5, 200, 2), 0);
    int speed;
    double v[4];
    EXPECT_EQ(RetrieveMParam(3, kRoughMilling, speed, v), 1); // the whole level
    EXPECT_EQ(RetrieveMParam(4, kRoughMilling, speed, v), 0);
    EXPECT_EQ(RetrieveLevelMParam(IndexOf(3), kRoughMilling, speed, v), 1);
    int copy = CopyBulgeTo(IndexOf(2), 0, 30);
    EXPECT_EQ(RetrieveMParam(copy, kRoughMilling, speed, v), 1);
    ScaleBulgeBy(IndexOf(4), 0, 0, 2); // another level: untouched
    EXPECT_EQ(RetrieveMParam(2, kRoughMilling, speed, v), 1);
    ScaleBulgeBy(IndexOf(2), 0, 0, 2);
    EXPECT_EQ(RetrieveLevelMParam(IndexOf(2), kRoughMilling, speed, v), 0);

    Type("DRILL 8 1 8 10 5 5 0 0 0 1 -1");
    Type("MPARAM_D 8 900 0 0 90 0");
    int drill_copy = CopyDrillTo(IndexOf(8), 10, 0);
    EXPECT_EQ(RetrieveMParam(drill_copy, kDrilling, speed, v), 1);
    ScaleDrillBy(IndexOf(8), 0, 0, 2);
    EXPECT_EQ(RetrieveMParam(8, kDrilling, speed, v), 0);
}

class AttToolTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        SetToolDataExt("END MILL 10", kEndMillRough, 10, 0, 30, 4, 0, "");
    }
};

TEST_F(AttToolTest, PlacesAndTheToolHolder) {
    ASSERT_EQ(Type("ATTTOOL 3 END_MILL_10 1 0.02 7"), 1);
    EXPECT_EQ(WriteAttToolData(3), "$11 3 END_MILL_10 1 0.02000 7.00000\n");
    int type;
    double dia, length;
    EXPECT_EQ(GetAttToolData(3, type, dia, length), kEndMillRough);
    EXPECT_DOUBLE_EQ(dia, 9.98); // less the wear
    EXPECT_EQ(GetAttToolData(4, type, dia, length), -1);
    EXPECT_EQ(GetAttToolData(100, type, dia, length), -1);
    EXPECT_EQ(DeleteTool("END MILL 10"), -1); // attached
    EXPECT_EQ(Type("ATTTOOL 0 X 0 0 0"), 0);
    EXPECT_EQ(Type("ATTTOOL 3 X 0 0"), 0);
    Type("TOOLHOLDER 10");
    EXPECT_EQ(Type("ATTTOOL 12 END_MILL_10 0 0 0"), 0);
    MutableSettings().machine_name = "VMC-850";
    EXPECT_EQ(Type("ATTTOOL 12 END_MILL_10 0 0 0"), 0);
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Value(s) out of range", "[Errors found] Syntax error",
                 "[Data out of range!] Toolholder has been defined to have 10 tool slots.\n"
                 "Can't attach tool T12",
                 "[Data out of range!] VMC-850 has a toolholder with 10 slots.\n"
                 "Can't attach tool T12"}));
}

TEST_F(AttToolTest, NamesReadBackTheSame) {
    // Found by fuzzing: a name of one unquoted token ending in quotes lost one at every reading.
    ASSERT_EQ(Type("ATTTOOL 7 FACE" + std::string(90, '"') + " 0 0 0"), 1);
    std::string first = WriteAttToolData(7);
    std::string line = first.substr(0, first.size() - 1);
    ASSERT_EQ(Type(line), 1);
    EXPECT_EQ(WriteAttToolData(7), first);
    SetToolDataExt("MILL #3 (LONG)", kEndMillFine, 3, 0, 30, 2, 0, "");
    ASSERT_EQ(Type("ATTTOOL 8 \"MILL_#3_(LONG)\" 0 0 0"), 1);
    EXPECT_EQ(GetAttachedTool(8).name, "MILL #3 (LONG)");
    EXPECT_EQ(WriteAttToolData(8), "$11 8 \"MILL_#3_(LONG)\" 0 0.00000 0.00000\n");
}

TEST_F(AttToolTest, PreselectionsOfAPlace) {
    Type("ATTTOOL 5 END_MILL_10 0 0 0");
    Type("BLOCK 1 100 80 20 0 0 -20 5 0 -1");
    Type("RBULGE 2 1 20 10 5 0 0 0 0 0 5 -1 0 0");
    Type("THREAD 3 1 10 1.5 10 50 50 0 0 5");
    Type("MPARAM_F 2 9000 500 0.1 0 0");
    Type("MPARAM_D 3 900 0 0 90 0");
    EXPECT_TRUE(ToolManualySelected(5));
    EXPECT_FALSE(ToolManualySelected(6));
    ClearToolManualSelections(5);
    EXPECT_FALSE(ToolManualySelected(5));
    EXPECT_EQ(MParamCount(), 0);
    EXPECT_NE(AllObjectLines().find("$3 1 100.00000 80.00000 20.00000 0.00000 0.00000 "
                                    "-20.00000 0 0 -1"),
              std::string::npos);
}

TEST_F(AttToolTest, AnotherMachineDropsToolsItCannotHold) {
    WriteFile("small.mach", "TOOLHOLDER 4\n");
    SetProgramDirectory(ScratchDir());
    Type("CNC BIG none.mach");
    Messages();
    Type("CNC SMALL small.mach");
    Type("ATTTOOL 2 END_MILL_10 0 0 0");
    Type("ATTTOOL 8 END_MILL_10 0 0 0");
    Type("ATTTOOL 9 END_MILL_10 0 0 0");
    EXPECT_EQ(Type("CNC SMALL"), 1);
    EXPECT_EQ(Messages(), V{"[Toolholder too small!] 2 tool(s) could not be loaded"});
    EXPECT_FALSE(GetAttachedTool(2).name.empty());
    EXPECT_TRUE(GetAttachedTool(8).name.empty());
}

} // namespace
} // namespace korvel
