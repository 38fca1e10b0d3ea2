// Top face milling: the pass spacing and its time, meander and one-way lines, the stock that
// leaves nothing to mill, the top of the top bulge as the part's top, and the tools chosen.
#include <gtest/gtest.h>

#include <cmath>

#include "cam/code_buffer.h"
#include "cam/gen_topface.h"
#include "cam/program_frame.h"
#include "cam_support.h"
#include "model/bulge.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "platform/platform.h"
#include "standins.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class TopFaceTest : public test::CamTest {
protected:
    int OpenWith(const std::string& body) {
        SetCompiled(false); // each project is compiled afresh
        return OpenText("VER 2.05\nPROJECTUNIT MM\nCOMMENTS OFF\nLABELING OFF\nRPLANE 5\n"
                        "QPLANE 5\nCORRIDOR 25\nOVERLAP 5\n" +
                        body + "ENDOFFILE\n");
    }
    // One pass into a fresh buffer: its time and its lines.
    double PassX(double d, double overlap, double z, double F, double Fz, V* lines) {
        InitCodeBuffers();
        int buffer = NewCodeBuffer(-1);
        double time = GMillTopX(buffer, d, overlap, z, F, Fz);
        *lines = CodeLines(buffer);
        CloseCodeBuffers();
        return time;
    }
};

TEST_F(TopFaceTest, LinesAreSpacedEvenlyAndTheirTimeChargesTheApproachAtThePlungeFeed) {
    // Block 100 x 60 at (-50, 10), its top at Z -5 (origin Z -25): a tool of 50 with overlap
    // 0.95 needs int(60 / 47.5) + 1 = 2 lines, at Y 10 + 15 and 10 + 45.
    ASSERT_EQ(OpenWith("BLOCK 1 100 60 20 -50 10 -25 0 0 0\nTOPFACE 0 0\n"), 1);
    V lines;
    double time = PassX(50, 0.95, -6, 600, 300, &lines);
    EXPECT_EQ(lines,
              (V{"G00 Z20.0000", "G00 X-80.0000 Y25.0000", "G00 Z-1.0000", "G01 Z-6.0000 F300.0000",
                 "G01 X80.0000 F600.0000", "G00 Z20.0000", "G00 X-80.0000 Y55.0000", "G00 Z-1.0000",
                 "G01 Z-6.0000 F300.0000", "G01 X80.0000 F600.0000", "G00 Z20.0000"}));
    // Each line: (100 + 50 + 2 x 5) / 600 across, and the plunge of RPLANE 5 at 300 (the
    // block's Z origin, -25, would give a negative time).
    EXPECT_DOUBLE_EQ(time, 2 * (160.0 / 600 + 5.0 / 300));
    // Without a plunge feed the tool drops at rapid to the cutting height.
    PassX(50, 0.95, -6, 600, 0, &lines);
    EXPECT_EQ(lines[2], "G00 Z-6.0000");
    EXPECT_EQ(lines[3], "G01 X80.0000 F600.0000");
}

TEST_F(TopFaceTest, APassAtOrAboveTheTopOrWithoutToolWritesNothing) {
    ASSERT_EQ(OpenWith("BLOCK 1 100 60 20 0 0 -20 0 0 0\nTOPFACE 0 0\n"), 1);
    V lines;
    EXPECT_EQ(PassX(50, 0.95, 0.5, 600, 300, &lines), 0);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(PassX(50, 0.95, 0, 600, 300, &lines), 0);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(PassX(0, 0.95, -1, 600, 300, &lines), -1);
    EXPECT_EQ(PassX(50, 0, -1, 600, 300, &lines), -1);
    EXPECT_TRUE(lines.empty());
}

TEST_F(TopFaceTest, MeanderPassesGoToAndFroAndAlongYTheAxesChangePlaces) {
    // Continuous passes (flags 128): 100 x 60 with a tool of 20 at overlap 0.95: int(60 / 19)
    // + 1 = 4 lines 15 apart; rapid to depth beside the block, then X 100, 0, 100, 0.
    ASSERT_EQ(OpenWith("BLOCK 1 100 60 20 0 0 -20 0 0 0\nTOPFACE 0 128\n"), 1);
    InitCodeBuffers();
    int buffer = NewCodeBuffer(-1);
    double time = GMillTopX(buffer, 20, 0.95, -1, 500, 250);
    EXPECT_EQ(CodeLines(buffer),
              (V{"G00 Z25.0000", "G00 X-15.0000 Y7.5000", "G00 Z-1.0000", "G01 X100.0000 F500.0000",
                 "G01 Y22.5000 F500.0000", "G01 X0.0000 F500.0000", "G01 Y37.5000 F500.0000",
                 "G01 X100.0000 F500.0000", "G01 Y52.5000 F500.0000", "G01 X0.0000 F500.0000",
                 "G00 Z25.0000"}));
    EXPECT_DOUBLE_EQ(time, 4 * 100.0 / 500 + 3 * 15.0 / 500);
    // Along Y the lines are spaced over the length: int(100 / 19) + 1 = 6 lines.
    int along_y = NewCodeBuffer(-1);
    GMillTopY(along_y, 20, 0.95, -1, 500, 250);
    const V& y_lines = CodeLines(along_y);
    EXPECT_EQ(y_lines[1], "G00 X8.3333 Y-15.0000");
    EXPECT_EQ(y_lines[3], "G01 Y60.0000 F500.0000");
    EXPECT_EQ(y_lines[4], "G01 X25.0000 F500.0000");
    EXPECT_EQ(y_lines[y_lines.size() - 2], "G01 Y0.0000 F500.0000");
    CloseCodeBuffers();
}

TEST_F(TopFaceTest, OnlyThePartOutOfTheBlockIsShownWithoutAnIcon) {
    // Part out of the block (stock within a thousandth of the block height is still milled).
    ASSERT_EQ(OpenWith("ATTTOOL 1 FACE_MILL_50 0 0 0\nBLOCK 1 100 60 20 0 0 -20 0 0 0\n"
                       "TOPFACE 20.002 0\n"),
              1);
    TakeRecordedMessages();
    EXPECT_EQ(Compile(), "");
    std::vector<ShownMessage> shown = TakeRecordedMessages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().caption, "Part is out of block!");
    EXPECT_EQ(shown.back().text, "Check Block height and/or Shape Milling Base settings");
    EXPECT_EQ(shown.back().flags, kMbOk);
    ASSERT_EQ(OpenWith("ATTTOOL 1 FACE_MILL_50 0 0 0\nBLOCK 1 100 60 20 0 0 -20 0 0 0\n"
                       "TOPFACE 20.0005 0\n"),
              1);
    EXPECT_NE(Compile(), "") << Messages().back();
    // Every other refusal: the exclamation icon.
    ASSERT_EQ(OpenWith("ATTTOOL 1 DRILL_8 0 0 0\nBLOCK 1 100 60 20 0 0 -20 0 0 0\n"
                       "TOPFACE 1 0\n"),
              1);
    TakeRecordedMessages();
    EXPECT_EQ(Compile(), "");
    shown = TakeRecordedMessages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().caption, "Tool missing");
    EXPECT_EQ(shown.back().text, "No facemill/endmill attached for topface block milling");
    EXPECT_EQ(shown.back().flags, kMbOk | kMbIconExclamation);
}

TEST_F(TopFaceTest, StockOfLessThanTwoAndAHalfThousandthsIsNotMilled) {
    // 0.002 of stock: no tool is needed, the block is declared processed.
    ASSERT_EQ(OpenWith("BLOCK 1 100 60 20 0 0 -20 0 0 0\nTOPFACE 0.002 0\n"), 1);
    std::string program = Compile();
    ASSERT_NE(program, "");
    EXPECT_EQ(program.find("M06"), std::string::npos);
    EXPECT_EQ(TopFaceRoughTool(), -1);
}

TEST_F(TopFaceTest, TheTopBulgesTopIsWhereThePartBegins) {
    // With bulges the part begins at the top bulge's top: the block's base level lies the
    // mill-down depth and the bulges' heights below the block top. Block 30 high with its top
    // at Z 0, mill-down 2, a bulge 10 high: the bulge's top, and the face, at Z -2.
    ASSERT_EQ(OpenWith("ATTTOOL 1 FACE_MILL_50 0 0 0\nBLOCK 1 100 60 30 0 0 -30 0 0 0\n"
                       "TOPFACE 2 0\nRBULGE 2 1 40 30 10 20 20 0 0 0 0 0 0 0\n"),
              1);
    int top = TopBulgeIndex();
    ASSERT_GE(top, 0);
    double part_top = Bulge_z(top) + Bulge_wz(top);
    ASSERT_DOUBLE_EQ(part_top, -2);
    std::string program = Compile();
    ASSERT_NE(program, "") << Messages().back();
    test::ExpectMachineAccepts(program, "top bulge");
    // The face is milled down to the bulge's top and no deeper, the level around the bulge by
    // the level milling.
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(TopFaceTest, PreselectedToolsComeFirstAndOtherwiseTheLargestFaceMillThenEndMill) {
    // Two face mills of 50 and a larger end mill: the first face mill (a later one replaces it
    // only when strictly larger). Quality 4: the largest fine end mill.
    ASSERT_EQ(OpenWith("ATTTOOL 1 END_MILL_R20 0 0 0\nATTTOOL 2 FACE_MILL_50 0 0 0\n"
                       "ATTTOOL 3 FACE_MILL_50 0 0 0\nATTTOOL 4 END_MILL_F6 0 0 0\n"
                       "ATTTOOL 5 END_MILL_F12 0 0 0\nATTTOOL 6 END_MILL_F10 0 0 0\n"
                       "BLOCK 1 100 60 20 0 0 -20 0 0 4\nTOPFACE 1 0\n"),
              1);
    ASSERT_NE(Compile(), "") << Messages().back();
    EXPECT_EQ(TopFaceRoughTool(), 2);
    EXPECT_EQ(TopFaceFineTool(), 5);
    // Without face mills, the largest rough end mill; preselected tools win.
    ASSERT_EQ(OpenWith("ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_R20 0 0 0\n"
                       "ATTTOOL 3 END_MILL_R16 0 0 0\nATTTOOL 4 END_MILL_F6 0 0 0\n"
                       "ATTTOOL 5 END_MILL_F12 0 0 0\n"
                       "BLOCK 1 100 60 20 0 0 -20 0 0 0\nTOPFACE 1 0\n"),
              1);
    ASSERT_NE(Compile(), "");
    EXPECT_EQ(TopFaceRoughTool(), 2);
    EXPECT_EQ(TopFaceFineTool(), -1); // quality 0 needs none
    ASSERT_EQ(OpenWith("ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_R20 0 0 0\n"
                       "ATTTOOL 4 END_MILL_F6 0 0 0\nATTTOOL 5 END_MILL_F12 0 0 0\n"
                       "BLOCK 1 100 60 20 0 0 -20 1 4 5\nTOPFACE 1 0\n"),
              1);
    std::string program = Compile();
    ASSERT_NE(program, "");
    EXPECT_EQ(TopFaceRoughTool(), 1);
    EXPECT_EQ(TopFaceFineTool(), 4);
    test::ExpectMachineAccepts(program, "preselected top-face tools");
    EXPECT_TRUE(test::VerifiesClean(program));
}

} // namespace
} // namespace korvel
