// Code buffers, tool changes, the writer's numbering and the number normaliser.
#include <gtest/gtest.h>

#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/program_frame.h"
#include "cam_support.h"
#include "model/atttool.h"
#include "model/settings.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class CodeBufferTest : public test::CamTest {
protected:
    void SetUp() override {
        CamTest::SetUp();
        InitCodeBuffers();
        ResetMillTime();
        NoTool();
    }
    void TearDown() override {
        CloseCodeBuffers();
        CamTest::TearDown();
    }
    static std::string Normalised(int unit, const std::string& line) {
        std::string out;
        IJFXYZR_mm_to_inch(unit, line, out);
        return out;
    }
    static std::string Written(int buffer) {
        std::string out;
        EXPECT_EQ(WriteCode(&out, buffer), 1);
        return out;
    }
};

TEST_F(CodeBufferTest, AnIdenticalLineNeverFollowsItself) {
    int a = NewCodeBuffer(-1), b = NewCodeBuffer(-1);
    EXPECT_EQ(AppendCode(a, "G00 Z25.0000"), 1);
    EXPECT_EQ(AppendCode(a, "G00 Z25.0000"), 1);
    EXPECT_EQ(AppendCode(b, "G00 Z25.0000"), 1);
    EXPECT_EQ(AppendCode(a, "G80"), 1);
    EXPECT_EQ(AppendCode(a, "G00   Z25.0000"), 1); // after another line: stored again
    EXPECT_EQ(AppendCode(a, "G00 Z25.0000"), 1);   // the same line once its blanks are folded
    EXPECT_EQ(AppendCode(a, ""), 1);
    EXPECT_EQ(CodeLines(a), (V{"G00 Z25.0000", "G80", "G00 Z25.0000"}));
    EXPECT_EQ(CodeLines(b), (V{"G00 Z25.0000"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CodeBufferTest, BufferMisuseIsReportedAndNothingIsWrittenPastTheTable) {
    for (int i = 0; i < kCodeBuffers; ++i)
        ASSERT_EQ(NewCodeBuffer(i % 5), i);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(NewCodeBuffer(3), -1);
    EXPECT_EQ(Messages(), V{"[FATAL ERROR] Too many code buffers opened"});
    EXPECT_EQ(CodeBufferCount(), kCodeBuffers);

    std::string out;
    for (int bad : {-1, kCodeBuffers}) {
        EXPECT_EQ(AppendCode(bad, "M30"), 0);
        EXPECT_EQ(CodeTool(bad), -1);
        EXPECT_EQ(_FreeCodeBuffer(bad), 0);
        EXPECT_EQ(WriteCode(&out, bad), 0);
        EXPECT_TRUE(CodeLines(bad).empty());
    }
    EXPECT_EQ(Messages(), V(8, "[FATAL ERROR] Buffer number out of range"));
    EXPECT_EQ(out, "");
    EXPECT_EQ(WriteCode(nullptr, 0), 0);
    EXPECT_EQ(Messages(), V{"[FATAL ERROR] Target file pointer is NULL"});
}

TEST_F(CodeBufferTest, ClosingTwiceIsHarmless) {
    int b = NewCodeBuffer(-1);
    AppendCode(b, "M30");
    EXPECT_EQ(CloseCodeBuffers(), 1);
    EXPECT_EQ(CloseCodeBuffers(), 1);
    EXPECT_TRUE(CodeLines(b).empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CodeBufferTest, TheLastOpenedBufferSurvivesNewToolBuffers) {
    int a = NewCodeBuffer(2), b = NewCodeBuffer(3);
    EXPECT_EQ(CodeTool(a), 2);
    EXPECT_EQ(CodeTool(b), 3);
    UseNewToolBuffers();
    EXPECT_EQ(CodeTool(a), -1);
    EXPECT_EQ(CodeTool(b), 3);
    EXPECT_EQ(CodeTool(b + 1), -1); // not opened yet
}

// A magazine: a centre drill in place 1, drills of 5 and 8.5 in 3 and 2, the 5 with the
// extra-code flag; the block in C45.
class ToolChangeTest : public CodeBufferTest {
protected:
    void SetUp() override {
        CodeBufferTest::SetUp();
        TypeAll({"ATTTOOL 1 CENTER_DRILL_3.15 0 0 0", "ATTTOOL 2 DRILL_8.5 0 0 0",
                 "ATTTOOL 3 DRILL_5 1 0 0", "BLOCK 1 80 60 20 0 0 -20 0 0 -1", "MATERIAL C45",
                 "CORRIDOR 20", "COMMENTS OFF"});
    }
};

TEST_F(ToolChangeTest, OneToolChangePerToolAndPhase) {
    ASSERT_EQ(NewCodeBuffer(-1), 0); // the opening buffer, which belongs to no tool
    int first = OpenToolCodeBuffer(2);
    EXPECT_EQ(OpenToolCodeBuffer(2), first);
    EXPECT_EQ(CodeLines(first), (V{"T2 M06", "S824 M03", "G43 H2 M08"})); // no G28 before it
    int second = OpenToolCodeBuffer(3);
    EXPECT_EQ(CodeLines(second), (V{"G28 Z20.0000", "T3 M06", "S1401 M03", "G43 H3 M08", "M88"}));
    EXPECT_EQ(CurrentToolPlace(), 3);
    // Back to the first tool in the same phase: its buffer, no tool change.
    EXPECT_EQ(OpenToolCodeBuffer(2), first);
    EXPECT_EQ(CurrentToolPlace(), 3);
    // A new phase: the last tool goes on in its buffer, an earlier tool is changed again.
    UseNewToolBuffers();
    EXPECT_EQ(OpenToolCodeBuffer(3), second);
    int again = OpenToolCodeBuffer(2);
    EXPECT_GT(again, second);
    EXPECT_EQ(CodeLines(again), (V{"M89", "G28 Z20.0000", "T2 M06", "S824 M03", "G43 H2 M08"}));
    EXPECT_EQ(NoTool(), -1);
    EXPECT_EQ(CurrentToolPlace(), -1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ToolChangeTest, ManualChangeWithPositionCommentsAndOptions) {
    TypeAll({"TOOLCHANGE MANUAL 100 -50", "COMMENTS ON", "USE G00_BEFORE_TOOL_COMP", "USE G44"});
    int b = OpenToolCodeBuffer(3);
    EXPECT_EQ(CodeLines(b),
              (V{"G00 X100.0000 Y-50.0000", "M00", "(NEW TOOL: DRILL 5)", "T3 M06 (DRILL 5)",
                 "S1401 M03", "G00 G91 X0 Y0", "G90", "G44 H3 M08", "M88"}));
}

TEST_F(ToolChangeTest, AToolNameCannotCloseTheComment) {
    TypeAll({"COMMENTS ON"});
    ToolRecord tool;
    tool.name = "DRILL (LONG)";
    tool.type = kDrillTool;
    tool.dia = 5;
    tool.length = 80;
    ASSERT_GE(RegisterTool(tool), 0);
    ASSERT_GE(RegisterToolMatGroup(tool.name, 13, 1400, 0, 0, 90, 0, 0), 0);
    PutAttachedTool(4, {tool.name, 0, 0, 0});
    int b = OpenToolCodeBuffer(4);
    ASSERT_GE(b, 0);
    EXPECT_EQ(CodeLines(b)[0], "T4 M06 (DRILL [LONG])");
}

TEST_F(ToolChangeTest, MissingCuttingDataOrSpeedStopsTheToolChange) {
    TypeAll({"MATERIAL TI6AL4V"});
    EXPECT_EQ(OpenToolCodeBuffer(2), -1);
    EXPECT_EQ(Messages(), V{"[DRILL 8.5] Missing tool-material data"});
    TypeAll({"MATERIAL C45", "DEFTOOL DRILL_7 2 7 0 80 2 0", "DEFTOOLMAT DRILL_7 13 0 0 0 90 0 0",
             "ATTTOOL 4 DRILL_7 0 0 0"});
    EXPECT_EQ(OpenToolCodeBuffer(4), -1);
    EXPECT_EQ(Messages(), V{"[DRILL 7] Speed S out of range"});
    EXPECT_EQ(CodeBufferCount(), 0);
}

TEST_F(ToolChangeTest, EndOfProgramSwitchesOffTheExtraCodeOfAUsedTool) {
    AddMillTime(2, 0.5); // a tool without the flag
    GEnd();
    EXPECT_EQ(CodeLines(0), (V{"M09", "M30", "%"}));
    AddMillTime(3, 0.5);
    GEnd();
    EXPECT_EQ(CodeLines(1), (V{"M09", "M89", "M30", "%"}));
}

TEST_F(CodeBufferTest, EveryWrittenLineConsumesANumber) {
    TypeAll({"LABELING ON", "NUM_C_LINES OFF"});
    InitCodeBuffers();
    int b = NewCodeBuffer(-1);
    for (const char* line : {"\n%", "O1000", "(HEADER)", "G54 G90 G98 G21", "(COMMENT)", "M30"})
        AppendCode(b, line);
    EXPECT_EQ(Written(b),
              "\n%  \nO1000  \n(HEADER)  \nN3 G54 G90 G98 G21  \n(COMMENT)  \nN5 M30  \n");
    TypeAll({"NUM_C_LINES ON"});
    SetLineNumbering(true);
    EXPECT_EQ(Written(b), "\n%  \nO1000  \nN2 (HEADER)  \nN3 G54 G90 G98 G21  \nN4 (COMMENT)  \n"
                          "N5 M30  \n");
    SetLineNumbering(false);
    EXPECT_EQ(Written(b), "\n%  \nO1000  \n(HEADER)  \nG54 G90 G98 G21  \n(COMMENT)  \nM30  \n");
}

TEST_F(CodeBufferTest, NormaliserRewritesLongNumbersAfterAddressLetters) {
    // The example of a millimetre line: each rewritten number gets a blank of its own.
    EXPECT_EQ(Normalised(kUnitMM, "G01 X10.0000 Y-5.1234 F200.0000  "),
              "G01 X10.  Y-5.123  F200.   ");
    // Runs of one to four characters are copied, longer ones rewritten.
    EXPECT_EQ(Normalised(kUnitMM, "X12.5 Y1 Z-1.5"), "X12.5 Y1 Z-1.5");
    EXPECT_EQ(Normalised(kUnitMM, "X12.50"), "X12.5 ");
    EXPECT_EQ(Normalised(kUnitInch, "X12.50"), "X12.5 ");
    EXPECT_EQ(Normalised(kUnitInch, "X1.23456 Y0.50000"), "X1.2346  Y0.5 ");
    EXPECT_EQ(Normalised(kUnitMM, "X1.23456"), "X1.235 ");
    // The trailing point stays; a value that rounds to zero loses its sign.
    EXPECT_EQ(Normalised(kUnitMM, "Z100.0000 X-0.0001"), "Z100.  X0. ");
    // R, Q, I and J are addresses too; G, M, S, T, H, N, P, O are not.
    EXPECT_EQ(Normalised(kUnitMM, "G83 R5.0000 Z-28.0000 Q4.0000 F83.0000"),
              "G83 R5.  Z-28.  Q4.  F83. ");
    EXPECT_EQ(Normalised(kUnitMM, "G03 X17.6000 Y25.0000 I-1.2000 J0.0000"),
              "G03 X17.6  Y25.  I-1.2  J0. ");
    EXPECT_EQ(Normalised(kUnitMM, "N10000 G59.2 S12000 M03 T12345 H12345 G04 P30000"),
              "N10000 G59.2 S12000 M03 T12345 H12345 G04 P30000");
    std::string out;
    EXPECT_EQ(IJFXYZR_mm_to_inch(kUnitMM, "X12.5", out), 0);
    EXPECT_EQ(IJFXYZR_mm_to_inch(kUnitMM, "X12.50", out), 1);
}

TEST_F(CodeBufferTest, NormaliserLeavesCommentsAsTheUserWroteThem) {
    EXPECT_EQ(Normalised(kUnitMM, "T2 M06 (DRILL X10.00000 F1.23456)"),
              "T2 M06 (DRILL X10.00000 F1.23456)");
    EXPECT_EQ(Normalised(kUnitMM, "(A (NESTED Z1.00000) TEXT) X2.00000"),
              "(A (NESTED Z1.00000) TEXT) X2. ");
    EXPECT_EQ(CommentText("Bracket (left) 12-7"), "Bracket [left] 12-7");
}

} // namespace
} // namespace korvel
