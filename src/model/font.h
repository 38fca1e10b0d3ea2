// The stroke font with which texts are engraved and drawn: 256 glyphs indexed by character
// code, each a short polyline of up to 16 points in font units. The font is 12 units high; a
// glyph's origin is the lower left of its character cell. The program starts with two built-in
// glyphs (glyph 0, the box that stands for any undefined character, and the empty space); the
// rest come from the font file that FONT names, a script of CHARACTER definitions.
#pragma once

#include <array>

namespace korvel {

constexpr double kFontHeight = 12.0;
constexpr int kGlyphCount = 256;
constexpr int kMaxGlyphPoints = 16;
constexpr double kDefaultAdvance = 10.0;
constexpr int kFirstDrawableCode = 32; // codes below it are never drawn

// A glyph. Point k is reached from point k-1 as its kind says: 0 a jump (pen up), 1 a line,
// 2 a counter-clockwise arc, 4 a clockwise arc, with the arc's radius in `radius` (0 for lines
// and jumps; a negative radius selects the arc of more than half a circle).
struct Glyph {
    double advance = kDefaultAdvance; // to the next character's origin, font units
    std::array<double, kMaxGlyphPoints> x{}, y{};
    std::array<double, kMaxGlyphPoints> radius{};
    std::array<int, kMaxGlyphPoints> kind{};
    int count = 0;   // points in use, 0..16
    int defined = 0; // 1 once the glyph is complete
};

// Clears all 256 glyphs and sets the two built-in ones: glyph 0, the 9 x 12 box with advance
// 10, and the space (32), defined without points, advance 10.
void InitFont();
// Clears one glyph: advance 10, no points, not defined. 0 for a code outside 0..255.
int InitChar(int code);
// Copies a glyph out: its defined flag; 0 (glyph untouched) for a code outside 0..255.
int GetGlyph(int code, Glyph& glyph);
// Stores a whole glyph (a test or a program that makes glyphs itself); 0 outside 0..255.
int PutGlyph(int code, const Glyph& glyph);

// The glyph code of a text byte: the byte read as a signed value, a negative value c used as
// 128 - c, so bytes 0x81..0xFF give codes 255..129. Byte 0x80 would give 256, past the table;
// it takes code 128, which no other byte reaches, and so stays undefined unless a font file
// defines that very byte.
int CharCode(char byte);

// The advance of a glyph. set 1 stores `advance` (result 1). set 0 gives the advance of a
// defined glyph (result 1); 0 for an undefined one. Codes outside 0..255: 0, nothing changed.
int chrspace(int code, double& advance, int set);
// The advance with which a character is laid out: its own when its glyph is defined, else
// that of glyph 0, which is drawn in its place.
double CharAdvance(int code);

// Glyph definitions: CHARACTER opens one, JUMPTO, LINETO, CWTO and CCWTO add points, END
// completes it. They are taken only while a font file is read (script/font_file.h).
void SetFontFileReading(bool reading);
bool FontFileReading();
// Whether a definition is open (LINETO, CWTO, CCWTO and END then belong to it).
bool GlyphIsOpen();
// Closes an open definition without completing it; its glyph stays undefined.
void AbandonGlyph();

// CHARACTER c advance: opens the definition of c's glyph, clearing it. Refused (unexpected)
// outside a font file, inside an open definition or while a bulge or pocket outline is open;
// an advance that is not above 0 is out of range.
int CharCom(const char* file, int line);
// JUMPTO x y: a pen-up point of the open definition.
int JumpToCom(const char* file, int line);
// LINETO x y (kind 1), CCWTO x y r (2), CWTO x y r (4) inside an open definition. A 17th
// point, an arc as the first point and an arc whose ends and radius give no centre are out of
// range; the points before stay. Values are font units, never scaled by the unit factor.
int GlyphPointCom(int kind, const char* file, int line);
// END: completes the open definition.
int GlyphEndCom(const char* file, int line);

} // namespace korvel
