// Engraving: what the reference programs cannot show. Characters written straight into a
// buffer (codes out of range, the fallback box, a glyph that starts with a stroke), the slots
// that are no engraving feature, chains found and turned round, and an arc that lost its centre.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/gen_engrave.h"
#include "cam/verify.h"
#include "cam_support.h"
#include "model/block.h"
#include "model/cla.h"
#include "model/font.h"
#include "model/registry.h"
#include "model/texts.h"
#include "support_verify.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class EngraveTest : public test::CamTest {
protected:
    void SetUp() override {
        CamTest::SetUp();
        InitCodeBuffers();
        buffer_ = NewCodeBuffer(-1);
    }
    // A glyph made of points (kind, x, y) in font units.
    static void Define(int code, std::vector<std::vector<double>> points) {
        Glyph g;
        g.count = static_cast<int>(points.size());
        for (int k = 0; k < g.count; ++k) {
            g.kind[k] = static_cast<int>(points[k][0]);
            g.x[k] = points[k][1];
            g.y[k] = points[k][2];
        }
        g.defined = 1;
        PutGlyph(code, g);
    }
    int buffer_ = -1;
};

TEST_F(EngraveTest, ACharacterOutsideTheFontOrWithoutABufferWritesNothing) {
    EXPECT_EQ(GThisChar(buffer_, 31, 0, 0, 0, 1, 1, 0, 0.2, 400, 60), 0);
    EXPECT_EQ(GThisChar(buffer_, 256, 0, 0, 0, 1, 1, 0, 0.2, 400, 60), 0);
    EXPECT_EQ(GThisChar(-1, 'A', 0, 0, 0, 1, 1, 0, 0.2, 400, 60), 0);
    EXPECT_EQ(GThisChar(buffer_, ' ', 0, 0, 0, 1, 1, 0, 0.2, 400, 60), 0); // no points
    EXPECT_EQ(CodeLines(buffer_), V());
}

TEST_F(EngraveTest, AnUndefinedCharacterIsEngravedAsTheBox) {
    InitChar(200);
    // RPLANE 5 of the shipped set-up: up at 5, down at -0.5; the plunge of 5.5 at 50 counts
    // as 5.5 x 400 / 50 = 44 at the XY feed.
    double length = GThisChar(buffer_, 200, 10, 20, 0, 0.5, 0.5, 0, 0.5, 400, 50);
    EXPECT_EQ(
        CodeLines(buffer_),
        V({"G00 X10.0000 Y20.0000", "G01 Z-0.5000 F50.0000", "G01 X14.5000 Y20.0000 F400.0000",
           "G01 X14.5000 Y26.0000 F400.0000", "G01 X10.0000 Y26.0000 F400.0000",
           "G01 X10.0000 Y20.0000 F400.0000", "G00 Z5.0000"}));
    EXPECT_NEAR(length, 2 * (4.5 + 6) + 44, 1e-9);
}

TEST_F(EngraveTest, AGlyphThatStartsWithAStrokeIsReachedWithTheToolUp) {
    Define(201, {{1, 0, 0}, {1, 0, 10}, {0, 4, 10}, {1, 4, 0}});
    double length = GThisChar(buffer_, 201, 50, 0, -2, 1, 1, 90, 0.1, 100, 100);
    // Turned by 90 degrees: font X runs along +Y, font Y along -X.
    EXPECT_EQ(CodeLines(buffer_),
              V({"G00 X50.0000 Y0.0000", "G01 Z-2.1000 F100.0000", "G01 X40.0000 Y0.0000 F100.0000",
                 "G00 Z3.0000", "G00 X40.0000 Y4.0000", "G01 Z-2.1000 F100.0000",
                 "G01 X50.0000 Y4.0000 F100.0000", "G00 Z3.0000"}));
    EXPECT_NEAR(length, 10 + 10 + 2 * 5.1, 1e-9);
}

TEST_F(EngraveTest, SlotsThatHoldNoEngravingAreInternalErrors) {
    ASSERT_EQ(OpenText("PROJECTUNIT MM\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\n"
                       "INFO_TEXT 2 1 \"NOTE\" 10 10 0 5 1 1 0\n"
                       "INFO_CLA 3 1 10 10 20 10 -1\nENDOFFILE\n"),
              1);
    Messages();
    EXPECT_EQ(GThisText(0), 0); // a note
    EXPECT_EQ(GThisText(-1), 0);
    EXPECT_EQ(GThisText(kMaxTexts), 0);
    EXPECT_EQ(Messages(), V(3, "[Internal error] Error code 38"));
    EXPECT_EQ(GThisEngraveCLA(0), 0); // a drawing element
    EXPECT_EQ(GThisEngraveCLA(kMaxCLA), 0);
    EXPECT_EQ(Messages(), V(2, "[Internal error] Error code 39"));
    int index = 5;
    EXPECT_EQ(GetNotReadyENG_CLA(index), 0);
    EXPECT_EQ(index, -1);
}

TEST_F(EngraveTest, AChainGoesOnWithElementsOfTheSameParentWidthAndDepth) {
    ASSERT_EQ(OpenText("PROJECTUNIT MM\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\n"
                       "RBULGE 2 1 20 20 5 70 50 0 0 0 0 0 0 0\n"
                       "ENG_CLA 10 1 10 10 30 10 0.5 0.2\n"    // 0
                       "ENG_CLA 11 1 30 30 10 30 0.5 0.2\n"    // 1: starts nowhere near
                       "ENG_CLA 12 2 30 10 40 10 0.5 0.2\n"    // 2: other parent
                       "ENG_CLA 13 1 30 10 30 20 0.5 0.3\n"    // 3: other depth
                       "ENG_CLA 14 1 30 10 30 20 0.6 0.2\n"    // 4: other width
                       "ENG_CLA 15 1 30 10 5 0.5 0.2\n"        // 5: a circle about the end
                       "ENG_CLA 16 1 30 20 30 10 10 0.5 0.2\n" // 6: a CCW arc ending there
                       "ENDOFFILE\n"),
              1);
    int index = 0;
    ASSERT_EQ(GetNextNotReadyENG_CLA(index), 1);
    EXPECT_EQ(index, 6);
    CLA e;
    GetCLA(e, 6);
    // Turned round: it now starts at the chain's end and turns clockwise.
    EXPECT_EQ(e.x1, 30);
    EXPECT_EQ(e.y1, 10);
    EXPECT_EQ(e.y2, 20);
    EXPECT_EQ(e.kind, kCwArc);
    DeclareObjectReady(16);
    index = 0;
    EXPECT_EQ(GetNextNotReadyENG_CLA(index), 0);
    EXPECT_EQ(index, -1);
    index = 5; // a circle continues nothing
    EXPECT_EQ(GetNextNotReadyENG_CLA(index), 0);
    index = -1;
    ASSERT_EQ(GetNotReadyENG_CLA(index), 1);
    EXPECT_EQ(index, 0);
}

TEST_F(EngraveTest, AnArcWithoutACentreStopsTheRunNamingIt) {
    ASSERT_EQ(OpenText("PROJECTUNIT MM\nCOMMENTS OFF\nDEFTOOL ENGRAVER_T 10 0.5 0 40 1 0 T\n"
                       "DEFTOOLMAT ENGRAVER_T 11 12000 400 0 60 0.2 0\n"
                       "ATTTOOL 1 ENGRAVER_T 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
                       "ENG_CLA 7 1 10 10 30 10 10 0.5 0.1\nENDOFFILE\n"),
              1);
    CLA e;
    ASSERT_TRUE(GetCLA(e, 0));
    e.radius = 9; // the ends lie 20 apart
    PutCLA(e, 0);
    Messages();
    int result = 1;
    EXPECT_EQ(Compile(&result), "");
    EXPECT_EQ(result, 0);
    V shown = Messages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "[Part error] Engraving arc ID 7 has no centre:\nits ends lie more "
                            "than twice its radius apart");
}

TEST_F(EngraveTest, AByteAbove127TakesItsGlyphAndAToolWithoutPlungeFeedPlungesAtHalfTheFeed) {
    ASSERT_EQ(
        OpenText(
            "PROJECTUNIT MM\nCOMMENTS OFF\nLABELING OFF\nDEFTOOL ENGRAVER_T 10 0.5 0 40 1 0 T\n"
            "DEFTOOLMAT ENGRAVER_T 11 12000 400 0 0 0 0\n"
            "ATTTOOL 1 ENGRAVER_T 0 0 0\n"
            "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
            "ENG_TEXT 2 1 \"\xff\" 10 10 0 12.5 0.5 0.2 1 1 0\nENDOFFILE\n"),
        1);
    Define(129, {{0, 0, 0}, {1, 6, 0}}); // byte 0xFF, read as -1: 128 + 1
    int result = 0;
    std::string program = Compile(&result);
    ASSERT_EQ(result, 1) << Messages().back();
    // Unit 1; the origin a quarter of the stroke along and half of it up from (10, 10).
    EXPECT_NE(program.find("G00 X10.125  Y10.25   \nG01 Z-0.2  F200.   \n"
                           "G01 X16.125  Y10.25  F400.   \n"),
              std::string::npos)
        << program;
}

// The simulated height at a point: the cell it falls in.
float HeightAt(const VerifyResult& r, double x, double y) {
    int i = static_cast<int>(std::floor((x - r.frame.x0) / r.frame.res));
    int j = static_cast<int>(std::floor((y - r.frame.y0) / r.frame.res));
    i = std::clamp(i, 0, r.frame.nx - 1);
    j = std::clamp(j, 0, r.frame.ny - 1);
    return r.height[r.frame.Index(i, j)];
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(EngraveTest, TheChainsAreCutAtTheirDepthAndNothingElse) {
    // The case sets its own work zero, which a later project without COORDINATES would keep:
    // it is put back at the end.
    const Coordinates before = GetCoordinates();
    std::string dir = std::string(KORVEL_SOURCE_DIR) + "/tests/cam/engrave-chains";
    ASSERT_EQ(Open(dir + "/input.kvp"), 1);
    std::string program = test::Slurp(dir + "/expected.cnc");
    VerifyResult r;
    ASSERT_EQ(VerifyProgram(program, {}, r), 1);
    EXPECT_TRUE(r.clean) << VerifyReport(r, "engrave-chains");
    // On each element of chain 1 (0.3 deep), on the circle (0.3), on chain 2 (0.1) and on
    // line 40 (0.2): the groove's floor; 1 mm beside them the untouched top.
    struct Spot {
        double x, y, z;
    };
    for (Spot s :
         {Spot{25, 10, -0.3}, Spot{50, 20, -0.3}, Spot{30, 30, -0.3},
          Spot{20 - 10 * std::sqrt(0.5), 20 + 10 * std::sqrt(0.5), -0.3}, Spot{10, 15, -0.3},
          Spot{72, 20, -0.3}, Spot{88, 20, -0.3}, Spot{35, 50, -0.1}, Spot{50, 60, -0.1},
          Spot{70, 70, -0.2}, Spot{25, 11, 0}, Spot{80, 20, 0}, Spot{35, 51, 0}})
        EXPECT_NEAR(HeightAt(r, s.x, s.y), s.z, 0.02) << s.x << ", " << s.y;
    // Every pass 0.1 deeper than written: the verification sees the gouge.
    ASSERT_NE(program.find("G01 Z-0.3  F60."), std::string::npos);
    EXPECT_FALSE(test::VerifiesClean(Replaced(program, "G01 Z-0.3  F60.", "G01 Z-0.4  F60.")));
    OpenText(Sprintf("COORDINATES %d %0.6f %0.6f %0.6f\nENDOFFILE\n", before.work_offset + 54,
                     before.wz_x, before.wz_y, before.wz_z));
}

} // namespace
} // namespace korvel
