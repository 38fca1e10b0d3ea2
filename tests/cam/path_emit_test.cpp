// Path emission on small hand-made paths: the exact lines in both arc formats and in inches,
// and every refusal with its message.
#include <gtest/gtest.h>

#include <cmath>

#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/path_emit.h"
#include "cam/program_frame.h"
#include "geometry/primitives.h"
#include "paths/path_table.h"
#include "paths/path_time.h"
#include "support.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class PathEmit : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        InitCodeBuffers();
        // Block top at 0, corridor 25: the safe height is 25; the plunge starts at
        // z + approach + 2.
        TypeAll({"BLOCK 1 100 100 20 0 0 -20 0 0 -1", "CORRIDOR 25", "RPLANE 2"});
        buffer_ = NewCodeBuffer(-1);
    }
    void TearDown() override {
        CloseCodeBuffers();
        KorvelTest::TearDown();
    }
    // Emits the points at z = -5, feed 100, plunge feed 50, approach 1.
    V Emit(const std::vector<PathPoint>& points, int expect = 1, double feed_z = 50) {
        EXPECT_EQ(GPathGeneral(points.data(), static_cast<int>(points.size()), buffer_, -5, 100,
                               feed_z, 1),
                  expect);
        return CodeLines(buffer_);
    }
    std::string Written() {
        std::string out;
        EXPECT_EQ(WriteCode(&out, buffer_), 1);
        return out;
    }
    int buffer_ = -1;
};

// A square of side 20 with corner arcs of radius 2, counter-clockwise from (2, 0).
const std::vector<PathPoint> kRoundedSquare = {
    {2, 0, 0, kRapid},   {18, 0, 0, kLine},    {20, 2, 2, kCcwArc},
    {20, 18, 0, kLine},  {18, 20, 2, kCcwArc}, {2, 20, 0, kLine},
    {0, 18, 2, kCcwArc}, {0, 2, 0, kLine},     {2, 0, 2, kCcwArc}};

TEST_F(PathEmit, ASquareWithCornerArcsInCentreOffsets) {
    EXPECT_EQ(
        Emit(kRoundedSquare),
        (V{"G00 Z25.0000", "G00 X2.0000 Y0.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
           "G01 X18.0000 Y0.0000 F100.0000", "G03 X20.0000 Y2.0000 I0.0000 J2.0000 F100.0000",
           "G01 X20.0000 Y18.0000 F100.0000", "G03 X18.0000 Y20.0000 I-2.0000 J0.0000 F100.0000",
           "G01 X2.0000 Y20.0000 F100.0000", "G03 X0.0000 Y18.0000 I0.0000 J-2.0000 F100.0000",
           "G01 X0.0000 Y2.0000 F100.0000", "G03 X2.0000 Y0.0000 I2.0000 J0.0000 F100.0000",
           "G00 Z25.0000"}));
    EXPECT_TRUE(Messages().empty());
    // As written: three decimals at most, trailing zeros gone.
    EXPECT_NE(Written().find("G03 X20.  Y2.  I0.  J2.  F100.   "), std::string::npos);
}

TEST_F(PathEmit, ASquareWithCornerArcsInRadiusWords) {
    ASSERT_EQ(Type("USE R_IN_G02_G03"), 1);
    V lines = Emit(kRoundedSquare);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[5], "G03 X20.0000 Y2.0000 R2.0000 F100.0000");
    EXPECT_EQ(lines[7], "G03 X18.0000 Y20.0000 R2.0000 F100.0000");
    EXPECT_EQ(lines[11], "G03 X2.0000 Y0.0000 R2.0000 F100.0000");
    // Clockwise, and an arc of more than half a turn takes a negative radius.
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {10, 0, 5, kCwArc}, {10, 8, -5, kCwArc}}),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
                 // a half circle is written as two quarters (see below)
                 "G02 X5.0000 Y5.0000 R5.0000 F100.0000", "G02 X10.0000 Y0.0000 R5.0000 F100.0000",
                 "G02 X10.0000 Y8.0000 R-5.0000 F100.0000", "G00 Z25.0000"}));
}

TEST_F(PathEmit, AHalfCircleInRadiusWordsIsWrittenAsTwoQuarters) {
    // The centre a control derives from R moves along the bisector by the rounding of R over
    // the cosine of half the sweep: near a half circle that is tenths of a millimetre, so such
    // arcs go as two halves. With centre offsets the half circle stays one arc.
    std::vector<PathPoint> half = {{10, 0, 0, kRapid}, {-10, 0, 10, kCcwArc}};
    V ij = Emit(half);
    EXPECT_EQ(ij[4], "G03 X-10.0000 Y0.0000 I-10.0000 J0.0000 F100.0000");
    ASSERT_EQ(Type("USE R_IN_G02_G03"), 1);
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    V r = Emit(half);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[4], "G03 X0.0000 Y10.0000 R10.0000 F100.0000");
    EXPECT_EQ(r[5], "G03 X-10.0000 Y0.0000 R10.0000 F100.0000");
    // An arc of 160 degrees stays whole; its end as the program will hold it.
    double a = 80 * kPi / 180;
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    V whole = Emit({{10 * std::cos(a), -10 * std::sin(a), 0, kRapid},
                    {10 * std::cos(a), 10 * std::sin(a), 10, kCcwArc}});
    EXPECT_EQ(whole[4], "G03 X1.7360 Y9.8480 R10.0000 F100.0000");
}

TEST_F(PathEmit, MovesRetractAndTheNextCutPlungesAgain) {
    EXPECT_EQ(Emit({{0, 0, 0, kRapid},
                    {10, 0, 0, kLine},
                    {10, 0, 0, kLine}, // equal to the one before: no line
                    {30, 0, 0, kRapid},
                    {30, 5, 0, kRapid}, // the tool is up already
                    {40, 5, 0, kLine}}),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
                 "G01 X10.0000 Y0.0000 F100.0000", "G00 Z25.0000", "G00 X30.0000 Y0.0000",
                 "G00 X30.0000 Y5.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
                 "G01 X40.0000 Y5.0000 F100.0000", "G00 Z25.0000"}));
}

TEST_F(PathEmit, OnlyMovesAndAPlungeWithoutFeed) {
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {5, 5, 0, kRapid}}),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 X5.0000 Y5.0000", "G00 Z25.0000"}));
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    // With a plunge feed of 0 the tool drops straight to the cutting height.
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {5, 0, 0, kLine}}, 1, 0),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 Z-5.0000",
                 "G01 X5.0000 Y0.0000 F100.0000", "G00 Z25.0000"}));
}

TEST_F(PathEmit, ATinyArcIsALine) {
    // Chord 0.01: a line; chord 0.011: an arc.
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {0.01, 0, 0.1, kCwArc}, {0.021, 0, 0.1, kCwArc}}),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
                 "G01 X0.0100 Y0.0000 F100.0000", "G02 X0.0210 Y0.0000 I0.0050 J-0.1000 F100.0000",
                 "G00 Z25.0000"}));
    // A tiny arc without any centre is a line too; it is no fault.
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    V lines = Emit({{0, 0, 0, kRapid}, {0.005, 0.005, 0, kCcwArc}});
    EXPECT_EQ(lines[4], "G01 X0.0050 Y0.0050 F100.0000");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PathEmit, DebugCommentsNameTheElements) {
    ASSERT_EQ(Type("COMMENTS DEBUG"), 1);
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {0, 0, 0, kLine}, {5, 0, 0, kLine}}),
              (V{"(Starting path)", "G00 Z25.0000", "G00 X0.0000 Y0.0000", "(PATH ELEMENT[1,2])",
                 "G00 Z-2.0000", "G01 Z-5.0000 F50.0000", "G01 X5.0000 Y0.0000 F100.0000",
                 "G00 Z25.0000"}));
}

TEST_F(PathEmit, InInches) {
    SetUserUnit(kUnitInch);
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    // Block top at 0, corridor 1: safe at 1; rplane 0.1, approach 1 -> the plunge from -4.
    TypeAll({"BLOCK 1 4 4 1 0 0 -1 0 0 -1", "CORRIDOR 1", "RPLANE 0.1"});
    std::vector<PathPoint> path = {{0.05, 0, 0, kRapid},
                                   {0.95, 0, 0, kLine},
                                   {1, 0.05, 0.05, kCcwArc},
                                   {1.12345, 0.05, 0, kLine}};
    EXPECT_EQ(Emit(path),
              (V{"G00 Z1.0000", "G00 X0.0500 Y0.0000", "G00 Z-3.9000", "G01 Z-5.0000 F50.0000",
                 "G01 X0.9500 Y0.0000 F100.0000", "G03 X1.0000 Y0.0500 I0.0000 J0.0500 F100.0000",
                 "G01 X1.1235 Y0.0500 F100.0000", "G00 Z1.0000"}));
    std::string written = Written();
    EXPECT_NE(written.find("G03 X1.  Y0.05  I0.  J0.05  F100.   "), std::string::npos) << written;
    ASSERT_EQ(Type("USE R_IN_G02_G03"), 1);
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    EXPECT_EQ(Emit(path)[5], "G03 X1.0000 Y0.0500 R0.0500 F100.0000");
}

TEST_F(PathEmit, AnInchHalfCircleBetweenTwoWrittenStepsIsMovedOntoItsCircle) {
    // From (0, 0) to (1.0001, 0): the centre (0.50005, 0) cannot be written with four
    // decimals, and either neighbour leaves the end 0.0001 inch (0.00254 mm) off the circle,
    // more than a control accepts. The end moves by one step instead.
    SetUserUnit(kUnitInch);
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    TypeAll({"BLOCK 1 4 4 1 0 0 -1 0 0 -1"});
    V lines = Emit({{0, 0, 0, kRapid}, {1.0001, 0, 0.50005, kCcwArc}});
    ASSERT_EQ(lines.size(), 6u);
    double x, y, i, j;
    ASSERT_EQ(std::sscanf(lines[4].c_str(), "G03 X%lf Y%lf I%lf J%lf", &x, &y, &i, &j), 4)
        << lines[4];
    EXPECT_LE(std::hypot(x - 1.0001, y), 0.00015);
    EXPECT_LE(std::fabs(std::hypot(i, j) - std::hypot(x - i, y - j)), 0.002 / 25.4);
}

TEST_F(PathEmit, ShortPathsWriteNothingAndABadBufferIsAnInternalError) {
    std::vector<PathPoint> one = {{1, 1, 0, kRapid}};
    EXPECT_EQ(GPathGeneral(one.data(), 1, buffer_, -5, 100, 50, 1), 1);
    EXPECT_EQ(GPathGeneral(one.data(), 0, buffer_, -5, 100, 50, 1), 1);
    EXPECT_TRUE(CodeLines(buffer_).empty());
    EXPECT_EQ(GPathGeneral(kRoundedSquare.data(), 9, -1, -5, 100, 50, 1), 0);
    EXPECT_EQ(GPathGeneral(kRoundedSquare.data(), 9, kCodeBuffers, -5, 100, 50, 1), 0);
    EXPECT_EQ(Messages(), (V{"[Internal error] Error code 27", "[Internal error] Error code 27"}));
    // Paths 0 and 33 are not emitted.
    EXPECT_EQ(GPath(0, buffer_, -5, 100, 50, 1), 0);
    EXPECT_EQ(GPath(33, buffer_, -5, 100, 50, 1), 0);
    EXPECT_EQ(Messages(), (V{"[Internal error] Error code 28", "[Internal error] Error code 28"}));
    EXPECT_TRUE(CodeLines(buffer_).empty());
}

TEST_F(PathEmit, TablePathsAndTheXLPath) {
    PathRef p = GetPath(5);
    for (const PathPoint& q : kRoundedSquare)
        AppendPathPoint(p, q);
    EXPECT_EQ(GPath(5, buffer_, -5, 100, 50, 1), 1);
    V from_table = CodeLines(buffer_);
    InitCodeBuffers();
    buffer_ = NewCodeBuffer(-1);
    PathRef xl = GetXLPath();
    for (const PathPoint& q : kRoundedSquare)
        AppendPathPoint(xl, q);
    EXPECT_EQ(GXLPath(buffer_, -5, 100, 50, 1), 1);
    EXPECT_EQ(CodeLines(buffer_), from_table);
    EXPECT_EQ(CodeLines(buffer_), Emit(kRoundedSquare));
}

TEST_F(PathEmit, TheTimeOfAnEmittedPathGoesToItsTool) {
    // The plunge from the safe height 25 to -5 at 50, then four sides of 16 and four quarter
    // circles of radius 2 at 100.
    PathRef p = GetPath(1);
    for (const PathPoint& q : kRoundedSquare)
        AppendPathPoint(p, q);
    ResetMillTime();
    AddMillTime(3, CalcPathTime(1, -5, 100, 50));
    AddMillTime(3, CalcPathTime(1, -5, 100, 50));
    double once = 30.0 / 50 + (4 * 16 + 4 * kPi) / 100;
    EXPECT_NEAR(MillTime(3), 2 * once, 1e-12);
    EXPECT_NEAR(TotalMillTime(), 2 * once, 1e-12);
    EXPECT_EQ(MillTime(2), 0);
}

TEST_F(PathEmit, AnUnknownKindStopsTheEmission) {
    EXPECT_EQ(Emit({{0, 0, 0, kRapid}, {5, 0, 0, kLine}, {5, 5, 2, kCircle}, {0, 5, 0, kLine}}, 0),
              (V{"G00 Z25.0000", "G00 X0.0000 Y0.0000", "G00 Z-2.0000", "G01 Z-5.0000 F50.0000",
                 "G01 X5.0000 Y0.0000 F100.0000"}));
    EXPECT_EQ(Messages(), V{"[Internal error] Error code 30"});
}

TEST_F(PathEmit, AnArcWithoutACentreStopsWithItsData) {
    // No radius: a control would refuse "R0" and has no centre for I/J.
    Emit({{0, 0, 0, kRapid}, {5, 0, 0, kLine}, {8, 4, 0, kCwArc}}, 0);
    // Radius 2 for a chord of 5: too short by more than the tolerance.
    Emit({{0, 0, 0, kRapid}, {3, 4, 2, kCcwArc}}, 0);
    EXPECT_EQ(Messages(), (V{"[Internal error: Arc center failed] Arc from (5.0000,0.000) to "
                             "(8.0000,4.000)\nRadius: 0.000\nDistance:5.0000\nPath Point:2",
                             "[Internal error: Arc center failed] Arc from (0.0000,0.000) to "
                             "(3.0000,4.000)\nRadius: 2.000\nDistance:5.0000\nPath Point:1"}));
    // Neither the plunge nor the arc of the second path was written.
    V lines = CodeLines(buffer_);
    EXPECT_EQ(lines.back(), "G00 X0.0000 Y0.0000");
}

TEST_F(PathEmit, NoFeedOrAValueThatIsNotANumber) {
    std::vector<PathPoint> line = {{0, 0, 0, kRapid}, {5, 0, 0, kLine}};
    EXPECT_EQ(GPathGeneral(line.data(), 2, buffer_, -5, 0, 50, 1), 0);
    EXPECT_EQ(GPathGeneral(line.data(), 2, buffer_, NAN, 100, 50, 1), 0);
    line[1].y = INFINITY;
    EXPECT_EQ(GPathGeneral(line.data(), 2, buffer_, -5, 100, 50, 1), 0);
    EXPECT_EQ(Messages(), V(3, "[Internal error] Error code 29"));
    EXPECT_TRUE(CodeLines(buffer_).empty());
    // Moves alone need no feed.
    std::vector<PathPoint> moves = {{0, 0, 0, kRapid}, {5, 0, 0, kRapid}};
    EXPECT_EQ(GPathGeneral(moves.data(), 2, buffer_, -5, 0, 0, 1), 1);
}

TEST_F(PathEmit, ArcCentreOffsetsAndSmallArcs) {
    std::vector<PathPoint> p = {
        {18, 0, 0, kRapid}, {20, 2, 2, kCcwArc}, {20, 18, 0, kLine}, {20, 18.01, 5, kCwArc}};
    double I = 99, J = 99;
    EXPECT_EQ(Arc_IJ_val(p.data(), 1, I, J), 1);
    EXPECT_NEAR(I, 0, 1e-12);
    EXPECT_NEAR(J, 2, 1e-12);
    EXPECT_EQ(ArcTooSmall(p.data(), 1), 0);
    EXPECT_EQ(ArcTooSmall(p.data(), 3), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Arc_IJ_val(p.data(), 2, I, J), 0);
    EXPECT_EQ(ArcTooSmall(p.data(), 2), 0);
    EXPECT_EQ(ArcTooSmall(p.data(), 0), 0);
    EXPECT_EQ(Messages(), V(3, "[Internal error] Arc expected"));
    EXPECT_EQ(I, 0);
}

} // namespace
} // namespace korvel
