// The database tables: keys, slots, selections, capacities and cutting-data look-ups.
#include <gtest/gtest.h>

#include <cmath>

#include "support.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

using DatabaseTest = test::KorvelTest;

ToolRecord Tool(const std::string& name, int type, double dia = 6) {
    ToolRecord t;
    t.name = name;
    t.type = type;
    t.dia = dia;
    t.length = 30;
    return t;
}

TEST_F(DatabaseTest, ToolsAreKeptByName) {
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(RegisterTool(Tool("T" + std::to_string(i), kDrillTool)), i);
    ToolRecord changed = Tool("T5", kEndMillRough, 10);
    changed.flutes = 4;
    EXPECT_EQ(RegisterTool(changed), 5);
    EXPECT_EQ(ToolCount(), 10);
    ToolRecord back;
    EXPECT_EQ(RetrieveTool("T5", back), 5);
    EXPECT_EQ(back.type, kEndMillRough);
    EXPECT_EQ(back.flutes, 4);
    EXPECT_EQ(FindTool("t5"), -1); // names are compared exactly
    EXPECT_EQ(DeleteTool("T3"), 3);
    EXPECT_EQ(NewTool(), 3);
    EXPECT_EQ(RegisterTool(Tool("NEW", kTap)), 3);
    EXPECT_EQ(DeleteTool("NOPE"), -1);
    EXPECT_EQ(FindToolType("NEW"), kTap);
    EXPECT_EQ(FindToolType(""), -1);
}

TEST_F(DatabaseTest, AttachedToolsCannotBeDeleted) {
    RegisterTool(Tool("HELD", kDrillTool));
    SetToolInUseCheck([](const std::string& name) { return name == "HELD"; });
    EXPECT_EQ(DeleteTool("HELD"), -1);
    EXPECT_GE(FindTool("HELD"), 0);
    SetToolInUseCheck(nullptr);
    EXPECT_EQ(DeleteTool("HELD"), 0);
}

TEST_F(DatabaseTest, SetToolDataKeepsFlutesAndPitch) {
    SetToolDataExt("TAP M6", kTap, 6, 0, 20, 3, 1.0, "HSS");
    SetToolData("TAP M6", kTap, 6, 0, 25, "HSS-E");
    int type, flutes;
    double dia, dia2, length, pitch;
    std::string text;
    ASSERT_GE(GetToolDataExt("TAP M6", type, dia, dia2, length, flutes, pitch, &text), 0);
    EXPECT_EQ(flutes, 3);
    EXPECT_EQ(pitch, 1.0);
    EXPECT_EQ(length, 25);
    EXPECT_EQ(text, "HSS-E");
    SetToolData("NEW", kDrillTool, 5, 0, 50, "");
    ASSERT_GE(GetToolDataExt("NEW", type, dia, dia2, length, flutes, pitch, nullptr), 0);
    EXPECT_EQ(flutes, 0);
}

TEST_F(DatabaseTest, SelectionsAndEnumerators) {
    RegisterTool(Tool("D1", kDrillTool));
    RegisterTool(Tool("M1", kEndMillFine));
    RegisterTool(Tool("D2", kDrillTool));
    EXPECT_EQ(SelectTools(0), 3);
    EXPECT_EQ(SelectTools(-1), 3);
    EXPECT_EQ(SelectTools(kDrillTool), 2);
    std::string name;
    std::vector<std::string> names;
    GetSelectedToolName(name, 0);
    while (GetSelectedToolName(name, 1) >= 0)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"D1", "D2"}));
    EXPECT_EQ(GetSelectedToolName(name, 1), -1); // past the end until reset
    EXPECT_EQ(name, "");
    EXPECT_EQ(GetToolName(name, 7), -1);

    std::vector<std::string> types;
    GetToolType(name, 0);
    while (GetToolType(name, 1) >= 0)
        types.push_back(name);
    ASSERT_EQ(types.size(), 12u);
    EXPECT_EQ(types[5], "End Mill, Rough");
    EXPECT_EQ(tooltype(11), "Special");
    EXPECT_EQ(tooltype(0), "All");
    EXPECT_EQ(tooltype(16), "All");
    EXPECT_EQ(tooltype(12), "");

    RegisterMaterialGroup(11, "STEEL", "Unalloyed");
    RegisterMaterialGroup(41, "ALUMINIUM", "Wrought");
    RegisterToolMatGroup("D1", 41, 3000, 0, 0, 300, 0, 0);
    EXPECT_EQ(SelectAssosiatedMaterialGroups("D1"), 1);
    GetSelectedMaterialGroup(name, 0);
    EXPECT_GE(GetSelectedMaterialGroup(name, 1), 0);
    EXPECT_EQ(name, "4.1 Wrought");
    ReverseMaterialGroupSelection();
    GetSelectedMaterialGroup(name, 0);
    GetSelectedMaterialGroup(name, 1);
    EXPECT_EQ(name, "1.1 Unalloyed");
}

TEST_F(DatabaseTest, CuttingDataFollowTheMaterialGroup) {
    RegisterMaterialGroup(11, "STEEL", "Unalloyed");
    RegisterMaterialGroup(41, "ALUMINIUM", "Wrought");
    RegisterMaterial("ST37-2", 11);
    RegisterMaterial("S235JR", 11);
    RegisterMaterial("ALMG3", 41);
    RegisterTool(Tool("DRILL 6", kDrillTool));
    RegisterToolMatGroup("DRILL 6", 11, 1600, 0, 0, 150, 0, 0);
    EXPECT_EQ(ToolSuitable("DRILL 6", "ST37-2"), 1);
    EXPECT_EQ(ToolSuitable("DRILL 6", "S235JR"), 1); // same group, same data
    EXPECT_EQ(ToolSuitable("DRILL 6", "ALMG3"), 0);
    EXPECT_EQ(ToolSuitable("DRILL 6", "UNKNOWN"), 0);
    int speed;
    double fxy, cutxy, fz, cutz, spare;
    ASSERT_GE(GetToolMatData("DRILL 6", "S235JR", speed, fxy, cutxy, fz, cutz, spare), 0);
    EXPECT_EQ(speed, 1600);
    EXPECT_EQ(fz, 150);
    RegisterToolMatGroup("DRILL 6", 41, 4000, 0, 0, 400, 0, 0);
    EXPECT_EQ(DeleteTM_T("DRILL 6"), 2);
    EXPECT_EQ(DeleteTM_M(), 0);
    EXPECT_EQ(GetMaterialGroup("ALMG3"), 41);
    EXPECT_EQ(GetMaterialGroup("NONE"), -1);
    std::string text;
    EXPECT_EQ(GetMaterialSubGroupName(41, &text), 1);
    EXPECT_EQ(text, "Wrought");
    EXPECT_EQ(GetMaterialGroupName(99, nullptr), 0);
}

TEST_F(DatabaseTest, EveryTableHasItsLimit) {
    for (int i = 0; i < kMaxTools; ++i)
        ASSERT_GE(RegisterTool(Tool("T" + std::to_string(i), kDrillTool)), 0);
    EXPECT_EQ(RegisterTool(Tool("ONE MORE", kDrillTool)), -1);
    for (int i = 0; i < kMaxMaterials; ++i)
        ASSERT_GE(RegisterMaterial("M" + std::to_string(i), 11), 0);
    EXPECT_EQ(RegisterMaterial("ONE MORE", 11), -1);
    EXPECT_GE(RegisterMaterial("M7", 12), 0); // an existing name is still overwritten
    for (int i = 0; i < kMaxMaterialGroups; ++i)
        ASSERT_GE(RegisterMaterialGroup(10 + i, "G", "S"), 0);
    EXPECT_EQ(RegisterMaterialGroup(999, "G", "S"), -1);
    for (int i = 0; i < kMaxToolMats; ++i)
        ASSERT_GE(RegisterToolMatGroup("T" + std::to_string(i % kMaxTools), 10 + i / kMaxTools, 100,
                                       0, 0, 0, 0, 0),
                  0);
    EXPECT_EQ(RegisterToolMatGroup("T0", 70, 100, 0, 0, 0, 0, 0), -1);
    EXPECT_EQ(ClearToolsMaterialsDB(), 1);
    EXPECT_EQ(ToolCount() + MaterialCount() + ToolMatCount(), 0);
    EXPECT_EQ(MaterialGroupCount(), kMaxMaterialGroups);
}

TEST(GroupCodeTest, RoundsToTheNearestTenth) {
    EXPECT_EQ(GroupCode(2.3), 23);
    EXPECT_EQ(GroupCode(static_cast<float>(2.3)), 23); // 22.99999... in single precision
    EXPECT_EQ(GroupCode(1.1), 11);
    EXPECT_EQ(GroupCode(0), -1);
    EXPECT_EQ(GroupCode(-1.5), -1);
    EXPECT_EQ(GroupCode(NAN), -1);
    EXPECT_EQ(GroupCode(1e300), -1);
}

} // namespace
} // namespace korvel
