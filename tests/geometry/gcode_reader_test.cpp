// The G-code word scanner and line reader: a hand-written program replayed line by line, the
// rejected lines, units, and independent readers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "base/units.h"
#include "geometry/gcode_reader.h"

namespace korvel {
namespace {

struct Word {
    int letter;
    double value;
    std::optional<std::string_view> rest;
};

Word Scan(std::string_view text) {
    Word w{};
    w.rest = gcom(text, w.letter, w.value);
    return w;
}

TEST(GcodeWords, RealsWithoutAPointAreThousandths) {
    Word w = Scan("X100");
    EXPECT_EQ(w.letter, 'X');
    EXPECT_DOUBLE_EQ(w.value, 0.1);
    EXPECT_EQ(w.rest, std::optional<std::string_view>(""));
    EXPECT_EQ(Scan("X100.").value, 100);
    EXPECT_EQ(Scan("x-.5").value, -0.5);
    EXPECT_EQ(Scan("F250.5 ").value, 250.5);
    EXPECT_EQ(Scan("Y-1.5-2").value, -1.5); // the scanner moves over the whole run
    EXPECT_EQ(Scan("Y-1.5-2 Z1").rest, std::optional<std::string_view>(" Z1"));
    EXPECT_EQ(Scan("X").value, 0);
    EXPECT_EQ(Scan("X-").value, 0);
    EXPECT_EQ(Scan("I12345678901234567890.5").value, 12345678901234567890.5);
    EXPECT_EQ(Scan("J0.000000000000000000000000123").value, 1.23e-25);
    EXPECT_EQ(Scan("Z" + std::string(400, '9') + ".").value, INFINITY);
}

TEST(GcodeWords, IntegersAndLineEnds) {
    Word w = Scan(" \tg01x5");
    EXPECT_EQ(w.letter, 'G');
    EXPECT_EQ(w.value, 1);
    ASSERT_TRUE(w.rest);
    EXPECT_EQ(*w.rest, "x5");
    EXPECT_EQ(Scan("m6").letter, 'M');
    EXPECT_EQ(Scan("N99999999999999").value, INT_MAX);
    EXPECT_EQ(Scan("S-12").value, -12);
    // Words that end the line.
    for (auto [text, letter] : {std::pair{"G1.5", -1},
                                {"%", '%'},
                                {"(X10.)", '('},
                                {"", -1},
                                {"   ", -1},
                                {"\r\nX1", -1},
                                {"D5", -1},
                                {"/N10", -1},
                                {"+5", -1},
                                {"\xc3\xa9", -1}}) {
        Word e = Scan(text);
        EXPECT_EQ(e.letter, letter) << text;
        EXPECT_EQ(e.value, 0) << text;
        EXPECT_FALSE(e.rest) << text;
    }
}

TEST(GcodeUnits, ValuesConvertIntoTheProjectUnit) {
    double v = 25.4;
    UnitConvertion(1, 0, v);
    EXPECT_DOUBLE_EQ(v, 1);
    UnitConvertion(0, 1, v);
    EXPECT_DOUBLE_EQ(v, 25.4);
    UnitConvertion(0, 0, v);
    EXPECT_DOUBLE_EQ(v, 25.4);
    UnitConvertion(1, 1, v);
    EXPECT_DOUBLE_EQ(v, 25.4);
}

struct Step {
    const char* line;
    int result;
    int motion;
    double x, y, z, r, feed;
};

void Replay(GcodeReader& reader, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        double x = NAN, y = NAN, z = NAN, r = NAN, feed = NAN;
        int motion = -99;
        int result = reader.gline_3D(s.line, x, y, z, r, feed, motion);
        SCOPED_TRACE(s.line);
        EXPECT_EQ(result, s.result);
        EXPECT_EQ(motion, s.motion);
        EXPECT_NEAR(x, s.x, 1e-9);
        EXPECT_NEAR(y, s.y, 1e-9);
        EXPECT_NEAR(z, s.z, 1e-9);
        EXPECT_NEAR(r, s.r, 1e-9);
        EXPECT_NEAR(feed, s.feed, 1e-9);
    }
}

class GcodeReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ResetUnits(); }
    void TearDown() override { ResetUnits(); }
};

TEST_F(GcodeReaderTest, ReplaysAProgramLineByLine) {
    GcodeReader reader;
    Replay(reader, {
                       // line                     result motion  x     y    z    r     feed
                       {"%", 0, -1, 0, 0, 0, 0, 0},
                       {"O1000 (BRACKET)", 0, -1, 0, 0, 0, 0, 0},
                       {"G21 G90 G17", 0, -1, 0, 0, 0, 0, 0},
                       {"T3 M06 (END MILL 10)", 3, -1, 0, 0, 0, 0, 0},
                       {"S1200 M03", 3, -1, 0, 0, 0, 0, 0},
                       {"G00 X10. Y5. Z2.", 3, 0, 10, 5, 2, 0, 0},
                       {"G01 Z-1. F200.", 3, 1, 10, 5, -1, 0, 200},
                       {"X30.", 3, 1, 30, 5, -1, 0, 200},
                       {"X30. Y5.", 3, -1, 30, 5, -1, 0, 200}, // no change: no move
                       {"G02 X40. Y-5. R10.", 3, 4, 40, -5, -1, 10, 200},
                       // Three quarters counter-clockwise about (50, -5): a negative radius.
                       {"G03 X50. Y5. I10. J0.", 3, 2, 50, 5, -1, -10, 200},
                       {"G03 X40. Y15. I-10. J0.", 3, 2, 40, 15, -1, 10, 200},
                       // Full circles: the centre comes back, the position stays.
                       {"J-10.", 3, 10, 40, 5, -1, 10, 200},
                       {"G02 I0 J-10.", 3, 12, 40, 5, -1, 10, 200},
                       {"X40.", 3, -1, 40, 15, -1, 0, 200},
                       // G91 and G90 take effect on the next line.
                       {"G01 G91 X5.", 3, 1, 5, 15, -1, 0, 200},
                       {"X5. Y-5.", 3, 1, 10, 10, -1, 0, 200},
                       {"G90 X5.", 3, 1, 15, 10, -1, 0, 200},
                       {"X5.", 3, 1, 5, 10, -1, 0, 200},
                       // Inches until G21; the feed is converted as it is read.
                       {"G20", 3, -1, 5, 10, -1, 0, 200},
                       {"X1.", 3, 1, 25.4, 10, -1, 0, 200},
                       {"F10.", 3, -1, 25.4, 10, -1, 0, 254},
                       {"G21 X10.", 3, 1, 10, 10, -1, 0, 254},
                       {"M00", -99, -1, 10, 10, -1, 0, 254},
                       {"G00 Z50.", 3, 0, 10, 10, 50, 0, 254},
                       {"T4", 3, -1, 10, 10, 50, 0, 254},
                       {"N200 M06", 4, -1, 10, 10, 50, 0, 254},
                       {"M30", -1, -1, 0, 0, 0, 0, 254},
                       {"%", -1, -1, 0, 0, 0, 0, 254},
                       {"X5.", -1, 0, 5, 0, 0, 0, 254}, // rapid after the end
                   });
    EXPECT_EQ(reader.Modal().tool, 0);
    EXPECT_EQ(reader.Modal().spindle_tool, -1);
    // A new program start clears the feed and the tools.
    Replay(reader, {{"O2", 0, -1, 0, 0, 0, 0, 0}});
}

TEST_F(GcodeReaderTest, RejectsLinesItCannotFollow) {
    GcodeReader reader;
    Replay(reader, {
                       {"T100", -2, -1, 0, 0, 0, 0, 0},
                       {"T0", -2, -1, 0, 0, 0, 0, 0},
                       {"T99 M6", 99, -1, 0, 0, 0, 0, 0},
                       {"T1 M6 G01 X10. F100.", 1, 1, 10, 0, 0, 0, 100},
                       {"G02 X20. Y0. R5. I5. J0.", -2, -1, 10, 0, 0, 0, 100}, // both
                       {"G02 X20. Y0.", -2, -1, 10, 0, 0, 0, 100},             // neither
                       {"G02 Z-2. R5.", -2, -1, 10, 0, 0, 0, 100},         // full circle needs I/J
                       {"G02 X20. Y0. I3. J0.", -2, -1, 10, 0, 0, 0, 100}, // end off circle
                       {"G02 X20.05 Y0. I5. J0.", -2, -1, 10, 0, 0, 0, 100},
                       {"G02 X20.02 Y0. I5. J0.", 1, 4, 20.02, 0, 0, 5, 100}, // within 0.025
                       // Modal words before the fault stay in effect.
                       {"G91 T200", -2, -1, 20.02, 0, 0, 0, 100},
                       {"G01 X1.", 1, 1, 21.02, 0, 0, 0, 100},
                       // R, I and J count only while an arc is modal, and a word counts from
                       // where it stands on the line.
                       {"X2. R5.", 1, 1, 23.02, 0, 0, 0, 100},
                       {"R5. G02 X2.", -2, -1, 23.02, 0, 0, 0, 100},
                   });
}

TEST_F(GcodeReaderTest, NumbersTooLargeForADoubleAreRefused) {
    GcodeReader reader;
    std::string huge(400, '9');
    double x, y, z, r, feed;
    int motion;
    EXPECT_EQ(reader.gline_3D("G01 X" + huge + ".", x, y, z, r, feed, motion), -2);
    EXPECT_EQ(reader.gline_3D("F" + huge + ".", x, y, z, r, feed, motion), -2);
    EXPECT_EQ(reader.gline_3D("G91", x, y, z, r, feed, motion), 0);
    std::string big = "1" + std::string(308, '0') + ".";
    EXPECT_EQ(reader.gline_3D("X" + big, x, y, z, r, feed, motion), 0);
    EXPECT_EQ(reader.gline_3D("X" + big, x, y, z, r, feed, motion), -2); // the sum overflows
    EXPECT_EQ(x, 1e308);
    EXPECT_TRUE(std::isfinite(reader.Modal().x));
}

TEST_F(GcodeReaderTest, ValuesArriveInTheProjectUnit) {
    SetUserUnit(kUnitInch);
    GcodeReader reader;
    Replay(reader, {
                       {"G21 G00 X25.4 Y12.7", 0, 0, 1, 0.5, 0, 0, 0},
                       {"G20 G01 X2. F10.", 0, 1, 2, 0.5, 0, 0, 10},
                       {"G21 G02 X101.6 Y12.7 I25.4 J0", 0, 4, 4, 0.5, 0, 1, 10},
                   });
}

TEST_F(GcodeReaderTest, BeforeAnyUnitWordValuesAreInTheProjectUnit) {
    SetUserUnit(kUnitInch);
    GcodeReader inch;
    Replay(inch, {{"G00 X1.5", 0, 0, 1.5, 0, 0, 0, 0}, {"G21 X25.4", 0, 0, 1, 0, 0, 0, 0}});
    ResetUnits();
    GcodeReader mm;
    Replay(mm, {{"G00 X1.5", 0, 0, 1.5, 0, 0, 0, 0}, {"G20 X1.5", 0, 0, 38.1, 0, 0, 0, 0}});
    // A program start or end leaves the unit as it is.
    Replay(mm, {{"M30", -1, -1, 0, 0, 0, 0, 0}, {"O1 X1.5", 0, 0, 38.1, 0, 0, 0, 0}});
}

TEST_F(GcodeReaderTest, ReadersKeepTheirOwnState) {
    GcodeReader a, b;
    double x, y, z, r, feed;
    int motion;
    a.gline_3D("G91 T5 M6", x, y, z, r, feed, motion);
    a.gline_3D("G01 X1. F50.", x, y, z, r, feed, motion);
    b.gline_3D("G01 X1.", x, y, z, r, feed, motion);
    a.gline_3D("X1.", x, y, z, r, feed, motion);
    EXPECT_DOUBLE_EQ(x, 2);
    EXPECT_EQ(b.gline_3D("X1.", x, y, z, r, feed, motion), 0);
    EXPECT_EQ(motion, -1);
    EXPECT_EQ(a.Modal().spindle_tool, 5);
    EXPECT_EQ(b.Modal().feed, 0);

    // The shared reader behind the free function.
    InitGcodeReader();
    EXPECT_EQ(gline_3D("T7 M06 G00 X3.", x, y, z, r, feed, motion), 7);
    EXPECT_EQ(GcodeReaderModal().x, 3);
    InitGcodeReader();
    EXPECT_EQ(GcodeReaderModal().x, 0);
    EXPECT_EQ(GcodeReaderModal().spindle_tool, 0);
}

} // namespace
} // namespace korvel
