// The stroke font: glyphs read from font files (and each way a file is refused), advances,
// glyphs turned into polylines, and the shipped font checked glyph by glyph.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cad/stroke_font.h"
#include "geometry/primitives.h"
#include "geometry/types.h"
#include "model/font.h"
#include "script/font_file.h"
#include "support.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class StrokeFont : public test::KorvelTest {
protected:
    // Loads a font file written into the scratch folder; the result of LoadFont.
    int Load(const std::string& text) {
        path_ = WriteFile("test.fnt", text);
        return LoadFont(path_);
    }
    // The message a refused line of the font file shows.
    std::string At(const std::string& what, int line) const {
        return "[Errors found] " + what + " in file [" + path_ + "], line [" +
               std::to_string(line) + "]";
    }
    static int Points(int code, double segment_angle = 6) {
        std::vector<StrokePoint> points;
        return convert_char(code, 1, 1, segment_angle, points);
    }
    std::string path_;
};

TEST_F(StrokeFont, BuiltInGlyphs) {
    Glyph box;
    ASSERT_EQ(GetGlyph(0, box), 1);
    EXPECT_EQ(box.count, 5);
    EXPECT_EQ(box.advance, 10.0);
    std::vector<StrokePoint> points;
    // Any undefined character is drawn as glyph 0's 9 x 12 box, scaled.
    ASSERT_EQ(convert_char('A', 2, 0.5, 6, points), 5);
    EXPECT_EQ(points[0].pen, 0);
    EXPECT_EQ(points[2].x, 18);
    EXPECT_EQ(points[2].y, 6);
    EXPECT_EQ(points[4].pen, 1);
    EXPECT_EQ(points[4].x, 0);
    // The space is defined and has no points: nothing to draw.
    double advance = 0;
    EXPECT_EQ(chrspace(' ', advance, 0), 1);
    EXPECT_EQ(advance, 10.0);
    EXPECT_EQ(Points(' '), 0);
    // Codes outside 32..255 and segment angles not above 0 give nothing.
    EXPECT_EQ(Points(31), 0);
    EXPECT_EQ(Points(256), 0);
    EXPECT_EQ(Points('A', 0), 0);
    EXPECT_EQ(Points('A', -6), 0);
    EXPECT_EQ(InitChar(256), 0);
    EXPECT_EQ(InitChar(-1), 0);
    // Without glyph 0 an undefined character has nothing to fall back on.
    InitChar(0);
    EXPECT_EQ(Points('A'), 0);
}

TEST_F(StrokeFont, CharacterCodesAndAdvances) {
    EXPECT_EQ(CharCode('A'), 65);
    EXPECT_EQ(CharCode(static_cast<char>(0xFF)), 129); // read as -1
    EXPECT_EQ(CharCode(static_cast<char>(0x81)), 255);
    // 0x80 would give 256, past the table: it stays an undefined character.
    EXPECT_EQ(CharCode(static_cast<char>(0x80)), 128);
    double advance = 7.5;
    EXPECT_EQ(chrspace('A', advance, 0), 0); // not defined
    EXPECT_EQ(chrspace('A', advance, 1), 1);
    EXPECT_EQ(chrspace('A', advance, 0), 0); // stored, but still not defined
    EXPECT_EQ(chrspace(256, advance, 1), 0);
    EXPECT_EQ(chrspace(-1, advance, 0), 0);
    // An undefined character takes the room of glyph 0, which stands in for it.
    advance = 12;
    chrspace(0, advance, 1);
    EXPECT_EQ(CharAdvance('A'), 12);
    EXPECT_EQ(CharAdvance(CharCode(static_cast<char>(0x80))), 12);
    ASSERT_EQ(Load("CHARACTER A 8.5\nJUMPTO 0 0\nLINETO 4 12\nEND\n"), 1);
    EXPECT_EQ(chrspace('A', advance, 0), 1);
    EXPECT_EQ(advance, 8.5);
    EXPECT_EQ(CharAdvance('A'), 8.5);
}

TEST_F(StrokeFont, AFontFileDefinesGlyphs) {
    ASSERT_EQ(Load("# a comment\n"
                   "CHARACTER A 10\nJUMPTO 0 0\nLINETO 5 12\nLINETO 10 0\nJUMPTO 2 5\n"
                   "LINETO 8 5\nEND\n"
                   "CHARACTER o 9\nJUMPTO 0 5\nCCWTO 9 5 4.5\nCCWTO 0 5 4.5\nEND\n"
                   "CHARACTER \"\" 6\nJUMPTO 1 12\nLINETO 1 9\nEND\n"
                   "CHARACTER \xC9 10\nJUMPTO 0 0\nCWTO 10 0 -5\nEND\n"),
              1);
    EXPECT_TRUE(Messages().empty());
    Glyph g;
    ASSERT_EQ(GetGlyph('A', g), 1);
    EXPECT_EQ(g.count, 5);
    EXPECT_EQ(g.kind[3], 0);
    EXPECT_EQ(Points('A'), 5);
    // Two half circles of 6-degree chords: 31 points each after the jump.
    ASSERT_EQ(GetGlyph('o', g), 1);
    EXPECT_EQ(g.kind[1], kCcwArc);
    EXPECT_EQ(Points('o'), 1 + 31 + 31);
    EXPECT_EQ(GetGlyph('"', g), 1);
    // A Latin-1 byte is mapped as text bytes are; the clockwise arc of more than half a
    // circle sweeps 180 degrees here (the chord is the diameter).
    ASSERT_EQ(GetGlyph(CharCode('\xC9'), g), 1);
    EXPECT_EQ(g.kind[1], kCwArc);
    // Font units are never scaled by a project's unit.
    ASSERT_EQ(Load("PROJECTUNIT INCH\nCHARACTER B 10\nJUMPTO 0 0\nLINETO 0 12\nEND\nENDOFFILE\n"),
              1);
    ASSERT_EQ(GetGlyph('B', g), 1);
    EXPECT_EQ(g.y[1], 12);
}

TEST_F(StrokeFont, EachRefusalOfAFontFile) {
    // The 17th point is out of range; the first 16 stay.
    std::string sixteen = "CHARACTER A 10\nJUMPTO 0 0\n";
    for (int i = 1; i < 16; ++i)
        sixteen += "LINETO " + std::to_string(i % 2 * 5) + " " + std::to_string(i % 12) + "\n";
    EXPECT_EQ(Load(sixteen + "LINETO 1 1\nEND\n"), 1);
    EXPECT_EQ(Messages(), V{At("Value(s) out of range", 18)});
    Glyph g;
    ASSERT_EQ(GetGlyph('A', g), 1);
    EXPECT_EQ(g.count, 16);
    // An arc without a centre, as the first point or with a radius too small.
    Load("CHARACTER B 10\nCWTO 1 1 5\nJUMPTO 0 0\nCCWTO 10 0 4.9\nCCWTO 0 0 0\nEND\n");
    EXPECT_EQ(Messages(), (V{At("Value(s) out of range", 2), At("Value(s) out of range", 4),
                             At("Value(s) out of range", 5)}));
    ASSERT_EQ(GetGlyph('B', g), 1);
    EXPECT_EQ(g.count, 1);
    // CHARACTER inside an open definition; the definition goes on.
    Load("CHARACTER C 10\nJUMPTO 0 0\nCHARACTER D 10\nLINETO 5 5\nEND\n");
    EXPECT_EQ(Messages(), V{At("Command unexpetced", 3)});
    ASSERT_EQ(GetGlyph('C', g), 1);
    EXPECT_EQ(g.count, 2);
    EXPECT_EQ(GetGlyph('D', g), 0);
    // An advance of 0 or below, and wrong argument counts.
    Load("CHARACTER E 0\nCHARACTER E -1\nCHARACTER E\nCHARACTER E 5\nJUMPTO 1\nLINETO 1 2 3\n"
         "CWTO 1 2\nEND\n");
    EXPECT_EQ(Messages(), (V{At("Value(s) out of range", 1), At("Value(s) out of range", 2),
                             At("Syntax error", 3), At("Syntax error", 5), At("Syntax error", 6),
                             At("Syntax error", 7)}));
    // A definition left open at the end of the file: its glyph stays undefined, and the
    // outline commands that follow belong to outlines again.
    EXPECT_EQ(Load("CHARACTER F 10\nJUMPTO 0 0\nLINETO 1 1\n"), 0);
    EXPECT_EQ(Messages(), V{At("Open Shape", 3)});
    EXPECT_EQ(GetGlyph('F', g), 0);
    EXPECT_FALSE(GlyphIsOpen());
    // Glyph commands outside a font file, and CHARACTER while an outline is open.
    EXPECT_EQ(Type("CHARACTER G 10"), 0);
    EXPECT_EQ(Type("JUMPTO 0 0"), 0);
    ASSERT_EQ(Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    ASSERT_EQ(Type("POCKET 2 1 80 10 3 0.2 0 0 -1 0 0"), 1);
    EXPECT_EQ(Load("CHARACTER H 10\n"), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Command unexpetced",
                             "[Errors found] Command unexpetced", At("Command unexpetced", 1)}));
    // A file that is not there.
    EXPECT_EQ(LoadFont(ScratchDir() + "/missing.fnt"), 0);
}

TEST_F(StrokeFont, ArcSegmentation) {
    Glyph g;
    g.defined = 1;
    g.count = 3;
    g.x = {0, 10, 10};
    g.y = {0, 0, 10};
    g.kind = {0, 1, 2};
    g.radius = {0, 0, 5}; // a half circle: 180 / 6 = 30, and one more
    ASSERT_EQ(PutGlyph('Q', g), 1);
    std::vector<StrokePoint> points;
    ASSERT_EQ(convert_char('Q', 1, 1, 6, points), 2 + 31);
    // Each chord sweeps 180/31 degrees about the centre (10, 5); the last point is the end.
    double step = kPi / 31;
    EXPECT_NEAR(points[2].x, 10 + 5 * std::sin(step), 1e-9);
    EXPECT_NEAR(points[2].y, 5 - 5 * std::cos(step), 1e-9);
    EXPECT_EQ(points.back().x, 10);
    EXPECT_EQ(points.back().y, 10);
    // A quarter circle at 7 degrees: 90 / 7 = 12, and one more.
    g.count = 2;
    g.x = {0, 5};
    g.y = {0, 5};
    g.kind = {0, 4};
    g.radius = {0, 5};
    PutGlyph('Q', g);
    ASSERT_EQ(convert_char('Q', 2, 3, 7, points), 1 + 13);
    EXPECT_EQ(points.back().x, 10);
    EXPECT_EQ(points.back().y, 15);
    // An arc as the first point and a kind that is no kind are passed over.
    g.count = 3;
    g.x = {5, 0, 3};
    g.y = {5, 0, 3};
    g.kind = {2, 0, 3};
    PutGlyph('Q', g);
    EXPECT_EQ(convert_char('Q', 1, 1, 6, points), 1);
    // An arc without a centre stops the conversion with its message.
    g.count = 3;
    g.x = {0, 10, 0};
    g.y = {0, 0, 0};
    g.kind = {0, 2, 1};
    g.radius = {0, 4, 0};
    PutGlyph('Q', g);
    EXPECT_EQ(convert_char('Q', 1, 1, 6, points), 1);
    EXPECT_EQ(Messages(), V{"[Character definition error] ARC FAILED\nx1=0.00000 y1=0.00000 "
                            "x2=10.00000 y2=0.00000 r=4.00000"});
}

TEST_F(StrokeFont, LargeArcsShareThe1024Points) {
    // Eight half circles at a segment angle of 0.1 degree would need 8 x 1801 points: they
    // share the 1024, each still ending on its stored point.
    Glyph g;
    g.defined = 1;
    g.count = 9;
    for (int k = 0; k < 9; ++k) {
        g.x[k] = k % 2 ? 10 : 0;
        g.y[k] = 0;
        g.kind[k] = k == 0 ? 0 : 2;
        g.radius[k] = k == 0 ? 0 : 5;
    }
    PutGlyph('W', g);
    std::vector<StrokePoint> points;
    int n = convert_char('W', 1, 1, 0.1, points);
    EXPECT_LE(n, kMaxCharPoints);
    EXPECT_GT(n, kMaxCharPoints - 2 * kMaxGlyphPoints);
    EXPECT_EQ(points.back().x, 0);
    EXPECT_EQ(points.back().y, 0);
    // Every half circle kept its share: its points reach both 5 above and 5 below the line.
    double top = 0, bottom = 0;
    for (const StrokePoint& p : points) {
        top = std::fmax(top, p.y);
        bottom = std::fmin(bottom, p.y);
    }
    EXPECT_NEAR(top, 5, 1e-3);
    EXPECT_NEAR(bottom, -5, 1e-3);
}

// The shipped font, glyph by glyph: each converts whole within the 1024 points, also at the
// fine segment angle of a large text, and stays inside its cell: x from 0 to the advance,
// y from -4 to 16 font units.
TEST_F(StrokeFont, EveryShippedGlyphFitsItsCell) {
    ASSERT_EQ(LoadFont(std::string(KORVEL_SOURCE_DIR) + "/data/simplex.fnt"), 1);
    EXPECT_TRUE(Messages().empty());
    for (int code = 33; code < 127; ++code) {
        Glyph g;
        EXPECT_EQ(GetGlyph(code, g), 1) << static_cast<char>(code);
    }
    int defined = 0;
    for (int code = kFirstDrawableCode; code < kGlyphCount; ++code) {
        Glyph g;
        if (!GetGlyph(code, g) || code == ' ')
            continue;
        ++defined;
        for (double angle : {6.0, 6.0 / 50}) {
            std::vector<StrokePoint> points;
            int n = convert_char(code, 1, 1, angle, points);
            ASSERT_GT(n, 0) << code;
            EXPECT_LE(n, kMaxCharPoints) << code;
            EXPECT_EQ(points.back().x, g.x[g.count - 1]) << code;
            EXPECT_EQ(points.back().y, g.y[g.count - 1]) << code;
            for (const StrokePoint& p : points) {
                EXPECT_GE(p.x, -1e-9) << code;
                EXPECT_LE(p.x, g.advance + 1e-9) << code;
                EXPECT_GE(p.y, -4 - 1e-9) << code;
                EXPECT_LE(p.y, 16 + 1e-9) << code;
            }
        }
    }
    EXPECT_GE(defined, 94 + 50); // the printable ASCII and the accented letters
    EXPECT_TRUE(Messages().empty());
}

} // namespace
} // namespace korvel
