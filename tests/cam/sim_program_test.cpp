// The program simulation on a made-up machine: how a control reads and runs each kind of line,
// and which moves it notes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/text.h"
#include "cam/sim_program.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

// A 40 x 40 block, top at Z 0, bottom at Z -20, in cells of 0.25 centred on the quarter
// millimetres; a 10 mm end mill in place 1, an 8 mm drill in place 2 and a tap in place 3.
class SimProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = GridFrame{-0.125, -0.125, 0.25, 160, 160};
        setup_.home_z = 50;
        setup_.tools[1] = MakeSimTool(kEndMillRough, 10, 0, 30, 0);
        setup_.tools[2] = MakeSimTool(kDrillTool, 8, 0, 90, 0);
        setup_.tools[3] = MakeSimTool(kTap, 10, 0, 30, 1.5);
        for (int p : {1, 2, 3}) {
            setup_.attached[p] = true;
            setup_.tools[p].place = p;
        }
        setup_.arc_error = frame_.res / 4;
    }

    // Runs the program after a tool change to `tool` with the spindle on and compensation.
    void Run(const std::string& body, int tool = 1) {
        stock_.Init(frame_, 0, -20);
        std::string head =
            "T" + std::to_string(tool) + " M06\nS1000 M03\nG43 H" + std::to_string(tool) + "\n";
        SimulateProgram(head + body, setup_, stock_, run_);
    }
    void RunRaw(const std::string& program) {
        stock_.Init(frame_, 0, -20);
        SimulateProgram(program, setup_, stock_, run_);
    }
    double At(double x, double y) const {
        int i = static_cast<int>(std::lround((x - frame_.x0) / frame_.res - 0.5));
        int j = static_cast<int>(std::lround((y - frame_.y0) / frame_.res - 0.5));
        return stock_.Heights()[frame_.Index(i, j)];
    }
    int Count(SimProblem kind) const { return run_.counts[static_cast<std::size_t>(kind)]; }
    const SimEvent* First(SimProblem kind) const {
        for (const SimEvent& e : run_.events)
            if (e.kind == kind)
                return &e;
        return nullptr;
    }
    int Problems() const {
        int n = 0;
        for (int c : run_.counts)
            n += c;
        return n;
    }

    GridFrame frame_;
    SimSetup setup_;
    SimStock stock_;
    SimRun run_;
};

TEST_F(SimProgramTest, ALineCutsToItsDepthUnderTheWholeToolAndNothingBeside) {
    Run("G00 X10. Y20.\nG00 Z2.\nG01 Z-3. F100.\nG01 X30.\nG00 Z50.\n");
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(20, 20), -3);
    EXPECT_FLOAT_EQ(At(20, 24.8), -3);                  // within the radius
    EXPECT_FLOAT_EQ(At(20, 25.3), 0);                   // beyond it
    EXPECT_FLOAT_EQ(At(4.75, 20), 0);                   // behind the start
    EXPECT_EQ(stock_.Lines()[frame_.Index(80, 80)], 7); // the feed along X cut the middle first
}

TEST_F(SimProgramTest, LinesEndWithLFOrCRLFOrALoneCR) {
    const std::string body = "G00 X10. Y20.\nG00 Z2.\nG01 Z-3. F100.\n\nG01 X30.\nG00 Z50.\n";
    for (const char* end : {"\n", "\r\n", "\r"}) {
        std::string program;
        for (char c : body)
            program += c == '\n' ? std::string(end) : std::string(1, c);
        Run(program);
        EXPECT_EQ(Problems(), 0) << (end[0] == '\r' ? "CR" : "LF");
        EXPECT_FLOAT_EQ(At(20, 20), -3);
        EXPECT_EQ(stock_.Lines()[frame_.Index(80, 80)], 8); // the blank line counts too
    }
    // A CR followed by a CR LF: two line ends, each counted.
    std::string program;
    for (char c : body)
        program += c == '\n' ? std::string("\r\r\n") : std::string(1, c);
    Run(program);
    EXPECT_EQ(Problems(), 0);
    EXPECT_EQ(stock_.Lines()[frame_.Index(80, 80)], 12);
}

TEST_F(SimProgramTest, WordsTakeEffectInTheControlsOrderWhateverTheirOrderOnTheLine) {
    // G91 before X0 Y0 on the same line: no move; then back to absolute for the plunge. The
    // plunge's F and G01 come after the Z on its line.
    Run("G00 X10. Y10.\nG00 G91 X0 Y0\nG90\nZ-2. F100. G01\n");
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(10, 10), -2);
    EXPECT_FLOAT_EQ(At(30, 30), 0);
}

TEST_F(SimProgramTest, ArcsWithIJOrRAndHelicesFollowTheCircle) {
    // A full circle of radius 10 about (20, 20), 1 deep: a ring 10 wide, the middle untouched.
    Run("G00 X10. Y20.\nG01 Z-1. F100.\nG02 X10. Y20. I10. J0.\nG00 Z50.\n");
    EXPECT_FLOAT_EQ(At(10.1, 20), -1);
    EXPECT_FLOAT_EQ(At(20, 29.9), -1);
    EXPECT_FLOAT_EQ(At(20, 20), 0);
    // R format, the long way round (negative R): from (10, 20) to (20, 30) counter-clockwise
    // through the bottom and right of the circle.
    Run("G00 X10. Y20.\nG01 Z-1. F100.\nG03 X20. Y30. R-10.\nG00 Z50.\n");
    EXPECT_FLOAT_EQ(At(30, 20.1), -1);
    EXPECT_FLOAT_EQ(At(20, 10.1), -1);
    EXPECT_FLOAT_EQ(At(12.9, 27.1), 0); // the short way was not cut
    // A helix down one full turn: deepest where it ends.
    Run("G00 X10. Y20.\nG01 Z0. F100.\nG03 X10. Y20. I10. J0. Z-4.\nG00 Z50.\n");
    EXPECT_NEAR(At(10.1, 20.1), -4, 0.05);
    // Half way round the tool is over (30, 20), and stays over it a little further down.
    EXPECT_NEAR(At(30, 20), -2 - 0.5 * 4 / (2 * 3.14159), 0.02);
}

TEST_F(SimProgramTest, DrillCyclesPlungeToZAndRetractToROrTheInitialLevel) {
    // G99 returns to R, so the next hole's positioning runs at R 2 over the stock.
    Run("G00 X10. Y10.\nG00 Z20.\nG99 G81 R2. Z-10. F100.\nX30. Y30.\nG80\n", 2);
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(10, 10), -10);                // on the axis: the tip
    EXPECT_NEAR(At(12, 10), -10 + 2 * 0.6009, 0.01); // the 118 degree point
    EXPECT_FLOAT_EQ(At(30, 30), -10);
    // R below the stock's top: the rapid down to R runs into material.
    Run("G00 X10. Y10.\nG00 Z20.\nG98 G81 R-3. Z-10. F100.\nG80\n", 2);
    ASSERT_EQ(Count(SimProblem::kRapidThroughMaterial), 1);
    EXPECT_EQ(First(SimProblem::kRapidThroughMaterial)->line, 6);
    EXPECT_NEAR(First(SimProblem::kRapidThroughMaterial)->depth, 3, 1e-6);
    // In G91, R counts from the initial level (20) and Z from R: the hole is 5 deep.
    Run("G00 X10. Y10.\nG00 Z20.\nG91 G83 R-18. Z-7. Q2. F100.\nG90 G80\n", 2);
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(10, 10), -5);
}

TEST_F(SimProgramTest, TapsNeedTheSpindleTurningTheirWay) {
    Run("G00 X10. Y10.\nG00 Z20.\nG84 R2. Z-10. F1500.\nG80\n", 3);
    EXPECT_EQ(Problems(), 0);
    // The tap is its core cylinder: 8.5 wide at the thread type M10's tap drill, or the
    // diameter less the pitch without the table.
    EXPECT_FLOAT_EQ(At(10 + 4.1, 10), -10);
    EXPECT_FLOAT_EQ(At(10 + 4.4, 10), 0);
    Run("M05\nG00 X10. Y10.\nG00 Z20.\nG84 R2. Z-10. F1500.\nG80\n", 3);
    EXPECT_EQ(Count(SimProblem::kSpindleOff), 1);
    Run("M04\nG00 X10. Y10.\nG00 Z20.\nG84 R2. Z-10. F1500.\nG80\n", 3);
    EXPECT_EQ(Count(SimProblem::kTapDirection), 1);
    Run("M04\nG00 X10. Y10.\nG00 Z20.\nG74 R2. Z-10. F1500.\nG80\n", 3);
    EXPECT_EQ(Problems(), 0);
}

TEST_F(SimProgramTest, FeedMovesNeedSpindleFeedToolAndLengthCompensation) {
    RunRaw("G00 X10. Y10.\nG01 Z-1. F100.\n"); // no tool yet: nothing is cut
    EXPECT_EQ(Count(SimProblem::kNoTool), 1);
    EXPECT_EQ(Count(SimProblem::kSpindleOff), 1);
    EXPECT_FLOAT_EQ(At(10, 10), 0);
    RunRaw("T1 M06\nS1000 M03\nG00 X10. Y10.\nG01 Z-1. F100.\nG01 X20.\n");
    EXPECT_EQ(Count(SimProblem::kLengthComp), 1); // once per tool
    EXPECT_EQ(First(SimProblem::kLengthComp)->detail, -1);
    RunRaw("T1 M06\nS1000 M03\nG43 H2\nG00 X10. Y10.\nG01 Z-1. F100.\n");
    EXPECT_EQ(First(SimProblem::kLengthComp)->detail, 2);
    Run("G00 X10. Y10.\nG01 Z-1.\n"); // no F word yet
    EXPECT_EQ(Count(SimProblem::kNoFeed), 1);
    Run("G00 X10. Y10.\nM05\nG01 Z-1. F100.\nX20.\nX30.\n");
    EXPECT_EQ(Count(SimProblem::kSpindleOff), 3);
    EXPECT_EQ(run_.events.size(), 3u);
}

TEST_F(SimProgramTest, AToolChangeToAnEmptyPlaceIsNoted) {
    RunRaw("T7 M06\nS1000 M03\nG43 H7\nG00 X10. Y10.\nG01 Z-1. F100.\n");
    ASSERT_EQ(Count(SimProblem::kToolNotAttached), 1);
    EXPECT_EQ(First(SimProblem::kToolNotAttached)->detail, 7);
    EXPECT_FLOAT_EQ(At(10, 10), -1); // still followed, as a thin tool
    EXPECT_FLOAT_EQ(At(11, 10), 0);
    EXPECT_EQ(run_.tools, std::vector<int>{7});
}

TEST_F(SimProgramTest, WorkOffsetsWorkingSpaceAndG28) {
    setup_.work_offset = 6; // the project's is G59.1
    Run("G59.1\nG00 X10. Y10.\nG55 G00 X20.\n");
    ASSERT_EQ(Count(SimProblem::kWorkOffset), 1);
    EXPECT_EQ(First(SimProblem::kWorkOffset)->detail, 1);
    EXPECT_EQ(First(SimProblem::kWorkOffset)->line, 6);
    setup_.work_offset = 0;
    setup_.check_workspace = true;
    setup_.zero_x = -400;
    setup_.zero_y = -200;
    setup_.zero_z = -300;
    setup_.travel_x = setup_.travel_y = -450;
    setup_.travel_z = -500;
    Run("G00 X10. Y10.\nG00 X-60.\nG00 Z-250.\n");
    ASSERT_EQ(Count(SimProblem::kWorkspace), 2);
    EXPECT_DOUBLE_EQ(First(SimProblem::kWorkspace)->x, -460);
    // G28 Z goes up to home, so that the next move crosses the block unharmed.
    Run("G00 X10. Y10.\nG00 Z1.\nG01 Z-1. F100.\nG28 Z2.\nG00 X30. Y30.\n");
    EXPECT_EQ(Problems(), 0);
}

TEST_F(SimProgramTest, LinesTheControlCannotRunStopTheMachine) {
    const char* cases[][2] = {
        {"G01 X1. X2.", "X given twice"},
        {"G41 D1", "G41 is not simulated"},
        {"G02 X20. Y10.", "arc without I/J or R"},
        {"G02 X20. Y10. R5. I5.", "arc with both R and I/J"},
        {"G02 X20. Y10. I3. J0.", "arc end 4.000 off its circle"},
        {"G02 X20. Y10. R4.", "arc radius too small for its end points"},
        {"T100", "T100: no such magazine place"},
        {"G01 X5. A10.", "A words are not simulated"},
        {"G01 X1.5.5", "cannot read X1.5.5"},
        {"G01 X-1-2", "cannot read X-1-2"},
        {"G20 G21", "G20 and G21 on one line"},
        {"G54 G59.2", "G54 and G59.2 on one line"},
        {"G00 G01 X5.", "two motion codes on one line"},
        {"G80 X5.", "axis words without a motion (after G80)"},
        {"G81 X5. Y5. Z-1.", "G81 without R and Z"},
        {"G83 X5. Y5. R1. Z-1.", "G83 without a peck depth Q"},
        {"G00 X9999999.", "X word out of range"},
        {"S1000.5", "S1000.5 is not a whole number"},
    };
    for (auto& c : cases) {
        Run(std::string("G00 X10. Y10.\n") + c[0] + "\nG01 Z-1. F100.\n");
        ASSERT_EQ(Count(SimProblem::kProgramError), 1) << c[0];
        const SimEvent* e = First(SimProblem::kProgramError);
        EXPECT_EQ(e->line, 5) << c[0];
        EXPECT_TRUE(e->text.starts_with(c[1])) << c[0] << ": " << e->text;
        EXPECT_TRUE(run_.stopped);
        EXPECT_FLOAT_EQ(At(10, 10), 0) << c[0]; // the line after it never ran
    }
}

TEST_F(SimProgramTest, WhatControlsAcceptIsAccepted) {
    // Decimal work offsets, comments between words, block delete, ';' comments, lower case,
    // an integer word with a zero fraction, and everything after M30 ignored.
    Run("G59.2 (SECOND)\nG54 G00 X10. Y10.\n/G01 Z-1. F100.\ng01 x20. ; along\nS1000. M03\n"
        "M30\nG01 Z-10.\n");
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(15, 10), -1);
    EXPECT_EQ(run_.lines, 9);
}

TEST_F(SimProgramTest, InchProgramsAreConvertedAndThousandthsReadAsTheWordScannerDoes) {
    Run("G20\nG00 X0.4 Y0.4\nG01 Z-0.04 F4.\n"); // 10.16 mm, 1.016 deep
    EXPECT_NEAR(At(10.16, 10.16), -1.016, 1e-5);
    Run("G21\nG00 X10000 Y10000\nG01 Z-1000 F100.\n"); // no decimal point: thousandths
    EXPECT_FLOAT_EQ(At(10, 10), -1);
}

TEST_F(SimProgramTest, APositionUnknownUntilTheFirstXYMoveCutsNothing) {
    Run("G01 Z-5. F100.\nG00 Z10.\nG00 X10. Y10.\n");
    EXPECT_EQ(Problems(), 0);
    EXPECT_FLOAT_EQ(At(0.1, 0.1), 0);
}

TEST_F(SimProgramTest, FixturesAreNotedWithTheirDepth) {
    setup_.fixtures.push_back(SimFixture{9, 50, 10, 20, 20, 5}); // right of the block
    Run("G00 X30. Y20.\nG00 Z8.\nG00 X60.\nG00 Z2.\nG00 X52. Y20.\nG00 Z50.\n");
    // Lowered into it, moving inside it, and up out of it.
    ASSERT_EQ(Count(SimProblem::kFixture), 3);
    EXPECT_EQ(First(SimProblem::kFixture)->line, 7);
    EXPECT_EQ(First(SimProblem::kFixture)->detail, 9);
    EXPECT_NEAR(First(SimProblem::kFixture)->depth, 3, 1e-9);
    // Passing beside it, further than the tool's radius, is no contact.
    Run("G00 X44.9 Y20.\nG00 Z-1.\nG00 Z50.\n");
    EXPECT_EQ(Count(SimProblem::kFixture), 0);
}

// Feed moves along X or Y are gathered and swept together; what comes out is what sweeping
// every move by itself, in program order, leaves: heights, lines, and the depth of a rapid
// through material met in the middle of a chain. Chains turn back, change height, go on after
// a tool change and after moves along neither axis.
TEST_F(SimProgramTest, ChainsAlongXOrYCutWhatTheirMovesCutOneByOne) {
    // The reference: each move swept by itself, as the simulation sweeps a rapid (with the
    // tool's radius less the tolerance) or a feed move. Lines 1 to 3 are Run's tool change.
    std::string body = "G00 X2. Y20.\n";
    SimStock reference;
    reference.Init(frame_, 0, -20);
    const SimTool* tool = &setup_.tools[1];
    Vec3 at{2, 20, setup_.home_z};
    int line = 4;
    double rapid_depth = 0; // of the first rapid into material
    auto move = [&](const char* word, double x, double y, double z) {
        body += Sprintf("%s X%.3f Y%.3f Z%.3f F500.\n", word, x, y, z);
        const Vec3 to{x, y, z};
        if (word[2] == '0') {
            SimTool rapid_tool = *tool;
            rapid_tool.radius -= setup_.tolerance;
            rapid_tool.tip_radius = std::min(rapid_tool.tip_radius, rapid_tool.radius);
            double depth = reference.Sweep(rapid_tool, at, to, ++line, true).depth;
            if (rapid_depth == 0)
                rapid_depth = depth;
        } else {
            reference.Sweep(*tool, at, to, ++line, false);
        }
        at = to;
    };
    move("G00", 2, 20, 1);
    move("G01", 2, 20, -2);
    for (int k = 1; k <= 200; ++k) // along the row, turning back after 120 moves
        move("G01", at.x + (k <= 120 ? 0.125 : -0.125), 20, -2);
    move("G01", at.x, 20, -3); // down, and on at another height
    for (int k = 1; k <= 60; ++k)
        move("G01", at.x + 0.375, 20, -3);
    move("G00", at.x - 30, 20, -3); // back through what the chain left, and beyond
    for (int k = 1; k <= 40; ++k)   // aslant, then along another row
        move("G01", at.x + 0.25, at.y + 0.125, -3);
    for (int k = 1; k <= 80; ++k)
        move("G01", at.x - 0.125, at.y, -3);
    for (int k = 1; k <= 90; ++k) // along Y, down and back up
        move("G01", at.x, at.y + (k <= 60 ? -0.125 : 0.375), -3);
    move("G01", at.x + 7, at.y, -3.5);
    for (int k = 1; k <= 40; ++k)
        move("G01", at.x, at.y + 0.25, -3.5);
    move("G00", at.x, at.y, 5);
    body += "T2 M06\nS1000 M03\nG43 H2\n";
    line += 3;
    tool = &setup_.tools[2];
    move("G00", 30, 10, 1);
    move("G01", 30, 10, -1);
    for (int k = 1; k <= 50; ++k) // a drill's moves are not gathered
        move("G01", at.x - 0.25, 10, -1);
    Run(body);
    ASSERT_FALSE(run_.stopped);
    EXPECT_EQ(run_.lines, line);
    EXPECT_EQ(stock_.Heights(), reference.Heights());
    EXPECT_EQ(stock_.Lines(), reference.Lines());
    ASSERT_GT(rapid_depth, setup_.tolerance);
    const SimEvent* rapid = First(SimProblem::kRapidThroughMaterial);
    ASSERT_NE(rapid, nullptr);
    EXPECT_DOUBLE_EQ(rapid->depth, rapid_depth);
}

TEST_F(SimProgramTest, TheMoveLimitStopsTheMachine) {
    setup_.max_moves = 3;
    Run("G00 X1. Y1.\nX2.\nX3.\nX4.\nX5.\n");
    EXPECT_TRUE(run_.stopped);
    EXPECT_EQ(run_.moves, 3);
    EXPECT_EQ(First(SimProblem::kProgramError)->text, "too many moves to simulate");
}

} // namespace
} // namespace korvel
