// Verification of hand-written programs: correct ones come out clean, each kind of fault is
// caught with its line.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "support.h"
#include "support_verify.h"

namespace korvel::test {
namespace {

class VerifyTest : public KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        TypeAll({"COORDINATES G54 -400 -200 -300",
                 "BLOCK 1 100 60 20 0 0 -20 0 0 -1", // top face at Z 0
                 "TOPFACE 0 0", "DEFTOOL DRILL_8 2 8 0 90 2 0", "DEFTOOL END_MILL_10 5 10 0 30 4 0",
                 "DEFTOOL CENTER_DRILL_3 1 3 0 8 2 0", "ATTTOOL 1 DRILL_8 0 0 0",
                 "ATTTOOL 2 END_MILL_10 0 0 0", "ATTTOOL 3 CENTER_DRILL_3 0 0 0"});
    }
};

const char* const kDrilledPlate = R"(%
O1000 (DRILLED PLATE)
G54 G90 G98 G21
T3 M06
S2000 M03
G43 H3 M08
G00 X20. Y20.
G00 Z25.
G81 R5. Z-2. F70.
G80
G00 X80. Y40.
G81 R5. Z-2. F70.
G80
G28 Z25.
T1 M06
S1000 M03
G43 H1 M08
G00 X20. Y20.
G00 Z25.
G81 R5. Z-12. F100.
G80
G00 X80. Y40.
G83 R5. Z-12. Q4. F100.
G80
M09
M30
%
)";

TEST_F(VerifyTest, ADrilledPlateIsClean) {
    TypeAll({"DRILL 2 1 8 12 20 20 0 0 0 1 -1", "DRILL 3 1 8 12 80 40 0 0 0 1 -1"});
    EXPECT_TRUE(VerifiesClean(kDrilledPlate));
}

TEST_F(VerifyTest, ADrillTooDeepIsAGougeOfThatDrillByItsLine) {
    // The model asks for 11.8: the G83 on line 23 goes 0.2 deeper.
    TypeAll({"DRILL 2 1 8 12 20 20 0 0 0 1 -1", "DRILL 3 1 8 11.8 80 40 0 0 0 1 -1"});
    VerifyResult r;
    ASSERT_EQ(VerifyProgram(kDrilledPlate, {}, r), 1);
    ASSERT_EQ(r.problems.size(), 1u) << VerifyReport(r, "plate");
    EXPECT_TRUE(r.problems[0].starts_with("Gouge: Drill 3 is cut 0.1")) << r.problems[0];
    EXPECT_TRUE(r.problems[0].ends_with("by line 23")) << r.problems[0];
    // Sampled at the cell centres nearest the axis, 0.07 off it: the point rises 0.04 there.
    ASSERT_EQ(r.features.size(), 1u);
    EXPECT_EQ(r.features[0].id, 3);
    EXPECT_NEAR(r.features[0].gouge, 0.2 - 0.0707 * 0.6009, 0.002);
    EXPECT_EQ(r.features[0].gouge_line, 23);
    EXPECT_FALSE(r.clean);
}

TEST_F(VerifyTest, LinesAreNamedByTheirNumbersWhateverEndsThem) {
    TypeAll({"DRILL 2 1 8 11.8 20 20 0 0 0 1 -1"});
    const std::string program = "%\nN10 G54 G90 G98 G21\nN20 T1 M06\nN30 S1000 M03\n"
                                "N40 G43 H1 M08\nN50 G00 X20. Y20.\nN60 G00 Z25.\n"
                                "N70 G81 R5. Z-12. F100.\nN80 G80\nN90 M30\n%\n";
    for (std::string end : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (char c : program)
            text += c == '\n' ? end : std::string(1, c);
        VerifyResult r;
        ASSERT_EQ(VerifyProgram(text, {}, r), 1);
        ASSERT_EQ(r.problems.size(), 1u) << VerifyReport(r, "plate");
        EXPECT_TRUE(r.problems[0].ends_with("by line 8 (N70)")) << r.problems[0];
    }
}

TEST_F(VerifyTest, ADrillNotDrilledIsLeftStock) {
    TypeAll({"DRILL 2 1 8 12 20 20 0 0 0 1 -1", "DRILL 3 1 8 12 80 40 0 0 0 1 -1",
             "DRILL 4 1 8 12 50 30 0 0 0 1 -1"});
    EXPECT_TRUE(VerifiesWith(kDrilledPlate, {"Left stock: Drill 4 keeps 11.9"}));
}

// A 40 x 30 pocket 5 deep with corners of radius 5, cleared with a 10 mm end mill in two
// layers: the contour of the tool centre's rectangle, then rows 6 to 8 apart.
std::string PocketProgram(const char* second_layer_z) {
    std::string layer = "G01 X65. Y20.\nG01 X65. Y40.\nG01 X35. Y40.\nG01 X35. Y20.\n"
                        "G01 X35. Y28.\nG01 X65. Y28.\nG01 X65. Y34.\nG01 X35. Y34.\n";
    return std::string("%\nO1001\nG54 G90 G98 G21\nT2 M06\nS3000 M03\nG43 H2 M08\n"
                       "G00 X35. Y20.\nG00 Z5.\nG01 Z-2.5 F200.\n") +
           layer + "G00 Z5.\nG00 X35. Y20.\nG01 Z" + second_layer_z + " F200.\n" + layer +
           "G00 Z25.\nM30\n%\n";
}

TEST_F(VerifyTest, APocketIsClean) {
    Type("RPOCKET 2 1 40 30 5 30 15 5 0 0 0 0 0 0");
    EXPECT_TRUE(VerifiesClean(PocketProgram("-5.")));
}

TEST_F(VerifyTest, APocketFloorTooHighIsLeftStock) {
    Type("RPOCKET 2 1 40 30 5 30 15 5 0 0 0 0 0 0");
    EXPECT_TRUE(VerifiesWith(PocketProgram("-4.9"), {"Left stock: Pocket 2 keeps 0.100 mm"}));
}

TEST_F(VerifyTest, APocketTooDeepIsAGougeByTheLineOfTheLastLayer) {
    Type("RPOCKET 2 1 40 30 5 30 15 5 0 0 0 0 0 0");
    // The plunge of the second layer, line 20, reaches 5.3 first.
    VerifyResult r;
    ASSERT_EQ(VerifyProgram(PocketProgram("-5.3"), {}, r), 1);
    ASSERT_EQ(r.problems.size(), 1u) << VerifyReport(r, "pocket");
    EXPECT_TRUE(r.problems[0].starts_with("Gouge: Pocket 2 is cut 0.300 mm too deep"));
    EXPECT_TRUE(r.problems[0].ends_with("by line 20"));
}

TEST_F(VerifyTest, CornersSharperThanTheToolMayKeepMaterial) {
    // Corners of radius 2 with a 10 mm end mill: the program cannot clear them, and the model
    // does not ask it to; the straight walls and the floor are still checked.
    Type("RPOCKET 2 1 40 30 5 30 15 2 0 0 0 0 0 0");
    EXPECT_TRUE(VerifiesClean(PocketProgram("-5.")));
    EXPECT_TRUE(VerifiesWith(PocketProgram("-4.9"), {"Left stock: Pocket 2 keeps 0.100 mm"}));
}

// A 20 x 20 boss 5 high on the block: the block around it is milled down 5 mm with the 10 mm
// end mill in rows, the rows beside the boss stopping at its walls, and a pass around the boss.
// `beside` is the row at Y30 left of the boss.
std::string BossProgram(const std::string& beside) {
    std::string p = "%\nO1002\nG54 G90 G98 G21\nT2 M06\nS3000 M03\nG43 H2 M08\n";
    auto row = [&p](double y, double x0, double x1) {
        p += Sprintf("G00 X%.1f Y%.1f\nG00 Z5.\nG01 Z-5. F200.\nG01 X%.1f F500.\nG00 Z25.\n", x0, y,
                     x1);
    };
    for (double y : {-3.0, 5.0, 15.0, 45.0, 55.0, 63.0})
        row(y, -6, 106);
    for (double y : {20.0, 40.0}) {
        row(y, -6, 35);
        row(y, 65, 106);
    }
    // The walls: around the boss at the tool's radius, clockwise.
    p += "G00 X35. Y20.\nG00 Z5.\nG01 Z-5. F200.\nG01 Y40. F500.\nG02 X40. Y45. I5. J0.\n"
         "G01 X60.\nG02 X65. Y40. I0. J-5.\nG01 Y20.\nG02 X60. Y15. I-5. J0.\nG01 X40.\n"
         "G02 X35. Y20. I0. J5.\nG00 Z25.\n";
    p += beside;
    row(30, 65, 106);
    return p + "M30\n%\n";
}

const char* const kBesideTheBoss = "G00 X-6. Y30.\nG00 Z5.\nG01 Z-5. F200.\nG01 X35. F500.\n"
                                   "G00 Z25.\n";

TEST_F(VerifyTest, ARapidThroughABossIsCaughtWithItsLine) {
    Type("RBULGE 2 1 20 20 5 40 20 0 0 0 0 0 0 0");
    EXPECT_TRUE(VerifiesClean(BossProgram(kBesideTheBoss)));
    // The same row, but crossing to the other side at cutting height with G00.
    std::string through = "G00 X-6. Y30.\nG00 Z5.\nG01 Z-5. F200.\nG01 X35. F500.\n"
                          "G00 X65.\nG00 Z25.\n";
    std::string program = BossProgram(through);
    int line = 1 + static_cast<int>(std::count(program.begin(),
                                               program.begin() + program.find("G00 X65.\n"), '\n'));
    EXPECT_TRUE(
        VerifiesWith(program, {"Gouge: Bulge 2 is cut 5.000 mm too deep",
                               Sprintf("Rapid through material: line %d, 5.000 mm deep", line)}));
}

const char* const kTappedHole = R"(%
O1003
G54 G90 G98 G21
T4 M06
S800 M03
G43 H4 M08
G00 X50. Y30.
G00 Z25.
G81 R5. Z-19.3 F80.
G80
G28 Z25.
T5 M06
M05
S500 M03
G43 H5 M08
G00 Z25.
G00 X50. Y30.
G84 R5. Z-15. F750.
G80
M30
%
)";

TEST_F(VerifyTest, ATappedHoleIsCleanAndATapWithTheSpindleOffIsCaught) {
    TypeAll({"THREADTYPE M10 10 1.5 8.5 MM", "DEFTOOL DRILL_8.5 2 8.5 0 95 2 0",
             "DEFTOOL TAP_M10 3 10 0 38 3 1.5", "ATTTOOL 4 DRILL_8.5 0 0 0",
             "ATTTOOL 5 TAP_M10 0 0 0", "THREAD 2 1 10 1.5 15 50 30 0 0 0"});
    EXPECT_TRUE(VerifiesClean(kTappedHole));
    std::string off = kTappedHole;
    off.replace(off.find("S500 M03\n"), 9, "S500\n");
    EXPECT_TRUE(VerifiesWith(off, {"Feed with the spindle off: line 18"}));
    std::string reversed = kTappedHole;
    reversed.replace(reversed.find("S500 M03"), 8, "S500 M04");
    EXPECT_TRUE(
        VerifiesWith(reversed, {"Tapping with the spindle turning the wrong way: line 18"}));
    // A tap run 2 mm deeper than the thread reaches into the drill's point.
    std::string deep = kTappedHole;
    deep.replace(deep.find("Z-15."), 5, "Z-20.");
    EXPECT_TRUE(VerifiesWith(deep, {"Gouge: Thread 2 is cut 0."}));
}

TEST_F(VerifyTest, ACutIntoAFixtureIsCaught) {
    TypeAll({"DRILL 2 1 8 12 20 20 0 0 0 1 -1", "DRILL 3 1 8 12 80 40 0 0 0 1 -1",
             "FIXTURE 5 20 20 10 -40 20"}); // a clamp left of the block, its top at Z 10
    EXPECT_TRUE(VerifiesClean(kDrilledPlate));
    std::string program = kDrilledPlate;
    // Between the holes the drill goes over the clamp at Z 5.
    program.replace(program.find("G00 X80. Y40.\nG83"), 14,
                    "G00 Z5.\nG00 X-30. Y30.\nG00 X80. Y40.\n");
    // In over the clamp on line 23, and out again on line 24.
    EXPECT_TRUE(VerifiesWith(program, {"Cut into fixture 5: line 23, 5.000 mm deep",
                                       "Cut into fixture 5: line 24, 5.000 mm deep"}));
}

} // namespace
} // namespace korvel::test
