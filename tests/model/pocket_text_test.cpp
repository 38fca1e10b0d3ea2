// Pockets, texts and fixtures through their script lines.
#include <gtest/gtest.h>

#include "base/undo_stack.h"
#include "model/bulge.h"
#include "model/fixture.h"
#include "model/font.h"
#include "model/heights.h"
#include "model/object_kind.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/texts.h"
#include "script/project.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class PocketTextTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    }
};

TEST_F(PocketTextTest, RectangularPocketsAlwaysHaveRoundCorners) {
    EXPECT_EQ(Type("RPOCKET 2 1 30 20 4 10 10 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("RPOCKET 2 1 30 20 4 10 10 10.5 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("RPOCKET 2 1 30 20 0 10 10 5 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Messages(), V(3, "[Errors found] Value(s) out of range"));
    // R = L/2: no straight bottom edge, a zero-length top edge, the true size written.
    const std::string line =
        "$20 2 1 20.00000 30.00000 4.00000 10.00000 10.00000 10.00000 0.50000 3 4 1 5 2";
    ASSERT_EQ(Type(line), 1);
    Pocket p;
    ASSERT_EQ(GetPocket(IndexOf(2), p), 1);
    EXPECT_EQ(p.shape.n, 7); // no bottom line; a top line of length 0; both side lines
    EXPECT_EQ(LinesOf(2), line + "\n");
    InitAllTables();
    ASSERT_EQ(Type(line), 1);
    EXPECT_EQ(LinesOf(2), line + "\n");
}

TEST_F(PocketTextTest, FreePocketsReadBackAndShareTheOutlineRules) {
    const V kLines = {"$27 2 1 80.00000 10.00000 3.00000 0.20000 0 0 -1 0 0",
                      "$31 95.00000 10.00000", "$32 95.00000 25.00000 7.50000",
                      "$33 80.00000 10.00000 9.00000", "$17"};
    TypeAll(kLines);
    std::string expected;
    for (const std::string& l : kLines)
        expected += l + "\n";
    EXPECT_EQ(LinesOf(2), expected);
    std::string undo;
    PeepUndoCom(undo);
    EXPECT_EQ(undo, "DELETE 2");

    TypeAll({"POCKET 3 1 0 0 3 0 0 0 -1 0 0", "LINETO 10 0"});
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Type("POCKET 3 1 0 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("LINETO 1 1"), 0);
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Shape is open", "[Errors found] Value(s) out of range"}));
    EXPECT_EQ(IndexOf(3), -1);
}

TEST_F(PocketTextTest, IslandsAndTheirLevels) {
    TypeAll({"RBULGE 2 1 60 50 8 10 10 0 0 0 0 -1 0 0", "RPOCKET 3 2 30 20 4 20 20 5 0 0 0 -1 0 0",
             "CBULGE 4 3 6 2 35 30 0 0 0 -1 0 0", "RPOCKET 5 1 10 10 3 80 60 2 0 0 0 -1 0 0",
             "CBULGE 6 5 4 1 85 65 0 0 0 -1 0 0", "RBULGE 7 2 10 10 2 50 40 0 0 0 0 -1 0 0"});
    EXPECT_EQ(Bulge_is_island(IndexOf(4)), 1);
    EXPECT_EQ(Bulge_is_island(IndexOf(6)), 1);
    EXPECT_EQ(Bulge_is_island(IndexOf(7)), 0);
    EXPECT_EQ(BulgeLevel(IndexOf(4)), 0); // in a pocket of a level-0 bulge
    EXPECT_EQ(BulgeLevel(IndexOf(6)), 0); // in a pocket cut into the block
    EXPECT_EQ(BulgeLevel(IndexOf(7)), 1);
    EXPECT_EQ(ObjLevel(3), 0);
    EXPECT_EQ(ObjLevel(5), -1);
    EXPECT_EQ(CountAttachedObjects(3), 1);
    EXPECT_EQ(CountAttachedNonBulgeObjects(2), 1);
    RecalcZ();
    // The structure height: bulge 7 on bulge 2 stands 10 above the base; the island in the
    // pocket only 8 - 4 + 2 = 6.
    EXPECT_DOUBLE_EQ(calcZ(1), -10);
    EXPECT_DOUBLE_EQ(Pocket_z(IndexOf(3)), -2);
    EXPECT_DOUBLE_EQ(Bulge_z(IndexOf(4)), -6);
    EXPECT_DOUBLE_EQ(Pocket_z(IndexOf(5)), -10);
    SelectPocket(IndexOf(5), 2);
    EXPECT_EQ(ParentCandidate(), 5);
}

TEST_F(PocketTextTest, PocketCornersAndEdits) {
    TypeAll({"RPOCKET 2 1 30 20 4 10 10 5 0 3 4 -1 20 0",
             "RBULGE 3 1 20 20 5 50 50 2 0 0 0 -1 20 0", "BULGE 4 1 0 60 5 0 0 0 -1 20 0",
             "LINETO 10 60", "CWTO 10 70 6", "LINETO 0 60", "END"});
    EXPECT_NEAR(MinPocketCCWR(IndexOf(2)), 5.02, 1e-12); // grows with the offset
    EXPECT_NEAR(MinBulgeCWR(IndexOf(4)), 5.98, 1e-12);   // a bulge's shrinks
    EXPECT_EQ(MinBulgeCWR(IndexOf(3)), 0);
    EXPECT_TRUE(PocketClicked(IndexOf(2), 20, 20));
    EXPECT_FALSE(PocketClicked(IndexOf(2), 10.5, 10.5)); // outside the rounded corner

    ScalePocketBy(IndexOf(2), 0, 0, 2);
    EXPECT_EQ(LinesOf(2),
              "$20 2 1 60.00000 40.00000 8.00000 20.00000 20.00000 10.00000 0.00000 0 0 -1 20 0\n");
    Bulge untouched;
    GetBulge(IndexOf(3), untouched);
    EXPECT_DOUBLE_EQ(untouched.wz, 5);
    TurnPocket(IndexOf(2), 0, 0, 90);
    EXPECT_EQ(LinesOf(2).substr(0, 4), "$27 ");
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "TURN 2 0 0 -90");
    MirrorPocketX(IndexOf(2), 0);
    MirrorPocketX(IndexOf(2), 0);
    EXPECT_EQ(CopyPocketTo(IndexOf(2), 5, 5), 5);
    Pocket a, b;
    GetPocket(IndexOf(2), a);
    GetPocket(IndexOf(5), b);
    EXPECT_DOUBLE_EQ(b.shape.v[0].x, a.shape.v[0].x + 5);
    EXPECT_EQ(b.pid, 1);
}

TEST_F(PocketTextTest, TextsKeepTheirBlanksAndAreWrittenOnce) {
    const std::string eng = "$53 2 1 \"Part no. 7  rev B\" 15.00000 50.00000 30.00000 5.00000 "
                            "0.50000 0.20000 1.00000 1.20000 2";
    const std::string note = "$54 3 0 \"Deburr all edges\" 0.00000 -10.00000 0.00000 3.50000 "
                             "-1.00000 1.00000 0";
    TypeAll({eng, note});
    EXPECT_EQ(LinesOf(2), eng + "\n");
    EXPECT_EQ(LinesOf(3), note + "\n");
    std::string line;
    EXPECT_EQ(StrInfoTextData(line, IndexOf(2)), 0);
    EXPECT_EQ(line, "");
    EXPECT_EQ(StrEngTextData(line, IndexOf(3)), 1);
    EXPECT_EQ(line, "");
    EXPECT_EQ(AllObjectLines().find("Deburr"), AllObjectLines().rfind("Deburr"));
    EXPECT_DOUBLE_EQ(DefaultEngravingWidth(), 0.5);
    EXPECT_EQ(GetPID(2), 1);
    EXPECT_EQ(GetPID(3), -1);
    InitAllTables();
    TypeAll({"BLOCK 1 100 80 20 0 0 -20 0 0 -1", eng, note});
    EXPECT_EQ(LinesOf(2) + LinesOf(3), eng + "\n" + note + "\n");
}

TEST_F(PocketTextTest, BadTextLines) {
    const std::string kRange = "[Errors found] Value(s) out of range";
    EXPECT_EQ(Type("ENG_TEXT 2 1 \"a\" 0 0 0 5 0 0.2 1 1 0"), 0);
    EXPECT_EQ(Type("ENG_TEXT 2 1 \"a\" 0 0 0 0 0.5 0.2 1 1 0"), 0);
    EXPECT_EQ(Type("INFO_TEXT 3 0 \"a\" 0 0 0 0 1 1 0"), 0);
    EXPECT_EQ(Type("ENG_TEXT 2 1 a\"b 0 0 0 5 0.5 0.2 1 1 0"), 0); // could not be written back
    EXPECT_EQ(Type("INFO_TEXT 3 0 \"a\" 0 0 0 3 1 1"), 0);
    EXPECT_EQ(Messages(), (V{kRange, kRange, kRange, kRange, "[Errors found] Syntax error"}));
    std::string longer(200, 'x');
    ASSERT_EQ(Type("INFO_TEXT 3 0 \"" + longer + "\" 0 0 0 3 1 1 0"), 1);
    Text t;
    GetText(t, IndexOf(3));
    EXPECT_EQ(t.text.size(), kMaxTextLength);
}

TEST_F(PocketTextTest, TextGeometry) {
    TypeAll({"ENG_TEXT 2 1 \"A\" 10 10 0 6.5 0.5 0.2 2 1 0",
             "ENG_TEXT 3 1 \"AB\" 10 30 90 12.5 0.5 0.2 1 1.5 1"});
    double u = (6.5 - 0.5) / 12;
    EXPECT_NEAR(TextWx(IndexOf(2)), (CharAdvance('A') * u + 0.5) * 2 - 1.5 * u * 2, 1e-12);
    double u3 = 1;
    double wx3 = (CharAdvance('A') * u3 + 0.5) * 1.5 + (CharAdvance('B') * u3 + 0.5) - 1.5 * u3;
    EXPECT_NEAR(TextWx(IndexOf(3)), wx3, 1e-12);
    EXPECT_DOUBLE_EQ(TextWy(IndexOf(3)), 12.5);
    EXPECT_EQ(ClickText(11, 11), IndexOf(2));
    EXPECT_EQ(ClickText(21, 11), -1);
    EXPECT_EQ(ClickText(9, 11), IndexOf(3)); // left of the upward base line of text 3
    // Right-aligned and turned 90 degrees: the text runs up from (10, 30 - wx) to (10, 30).
    EXPECT_EQ(ClickText(5, 30 - wx3 / 2), IndexOf(3));
    EXPECT_EQ(ClickText(5, 31), -1);

    TypeAll({"INFO_TEXT 4 0 \"NOTE\" 50 50 0 5 1 1 0"});
    MutableSettings().view_bits = 0;
    EXPECT_EQ(ClickText(51, 51), -1);
    MutableSettings().view_bits = 64;
    EXPECT_EQ(ClickText(51, 51), IndexOf(4));

    TurnText(IndexOf(2), 10, 10, 45);
    ScaleTextBy(IndexOf(2), 0, 0, 2);
    Text t;
    GetText(t, IndexOf(2));
    EXPECT_DOUBLE_EQ(t.angle, 45);
    EXPECT_DOUBLE_EQ(t.height, 13);
    EXPECT_DOUBLE_EQ(t.eng_width, 0.5);
    EXPECT_EQ(CopyTextTo(IndexOf(4), 1, 1), 5);
    int type, index;
    FindID(5, type, index);
    EXPECT_EQ(type, kTypeInfoText);
}

TEST_F(PocketTextTest, Fixtures) {
    const std::string line = "$38 2 40.000 20.000 -10.000 -50.000 0.000";
    TypeAll({line});
    EXPECT_EQ(LinesOf(2), line + "\n");
    EXPECT_DOUBLE_EQ(calcZ(2), -10);
    EXPECT_EQ(GetPID(2), -1);
    MirrorFixtureX(IndexOf(2), -50); // about its own left edge: its right edge lands there
    Fixture f;
    GetFixture(f, IndexOf(2));
    EXPECT_DOUBLE_EQ(f.x + f.lx, -50);
    ScaleFixtureBy(IndexOf(2), 0, 0, 2);
    GetFixture(f, IndexOf(2));
    EXPECT_DOUBLE_EQ(f.wz, -20);
    EXPECT_DOUBLE_EQ(f.lx, 80);
    EXPECT_TRUE(FixtureClicked(IndexOf(2), f.x + 1, f.y + 1));
    EXPECT_EQ(Type("FIXTURE 3 40 20 -10 -50"), 0);
    for (int i = 0; i < kMaxFixtures - 1; ++i)
        ASSERT_EQ(Type("FIXTURE " + std::to_string(10 + i) + " 1 1 1 1 1"), 1);
    EXPECT_EQ(Type("FIXTURE 99 1 1 1 1 1"), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Syntax error", "[Errors found] Too many Fixtures"}));
}

} // namespace
} // namespace korvel
