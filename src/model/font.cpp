// The glyph table of the stroke font and the commands of a font file that define glyphs.
#include "model/font.h"

#include <cmath>

#include "base/errors.h"
#include "base/text.h"
#include "geometry/primitives.h"
#include "model/contour.h"

namespace korvel {

namespace {

std::array<Glyph, kGlyphCount> g_glyphs;

bool g_font_file = false; // a font file is being read
int g_open = -1;          // the code whose definition is open, -1 when none

bool InTable(int code) { return code >= 0 && code < kGlyphCount; }

// The arc from the previous point to (x, y) must have a centre, or no drawing of the glyph
// could ever be made. A chord longer than the diameter by a rounding is a half circle: the
// radius is stored as half the chord, so the centre is found whatever the unit's tolerance.
bool FitArc(const Glyph& g, int kind, double x, double y, double& r) {
    if (g.count == 0)
        return false; // an arc needs a start
    double x0 = g.x[g.count - 1], y0 = g.y[g.count - 1];
    double cx, cy;
    if (!ArcCenter(x0, y0, x, y, r, kind, cx, cy))
        return false;
    double h = distance(x0, y0, x, y) / 2;
    if (h > double_abs(r))
        r = r < 0 ? -h : h;
    return true;
}

} // namespace

void InitFont() {
    for (int code = 0; code < kGlyphCount; ++code)
        InitChar(code);
    Glyph& box = g_glyphs[0];
    const double kBox[5][2] = {{0, 0}, {9, 0}, {9, 12}, {0, 12}, {0, 0}};
    for (int k = 0; k < 5; ++k) {
        box.x[k] = kBox[k][0];
        box.y[k] = kBox[k][1];
        box.kind[k] = k == 0 ? kRapid : kLine;
    }
    box.count = 5;
    box.defined = 1;
    g_glyphs[' '].defined = 1;
    g_open = -1;
}

int InitChar(int code) {
    if (!InTable(code))
        return 0;
    g_glyphs[code] = Glyph();
    return 1;
}

int GetGlyph(int code, Glyph& glyph) {
    if (!InTable(code))
        return 0;
    glyph = g_glyphs[code];
    return glyph.defined;
}

int PutGlyph(int code, const Glyph& glyph) {
    if (!InTable(code))
        return 0;
    g_glyphs[code] = glyph;
    if (g_glyphs[code].count < 0 || g_glyphs[code].count > kMaxGlyphPoints)
        g_glyphs[code].count = g_glyphs[code].count < 0 ? 0 : kMaxGlyphPoints;
    return 1;
}

int CharCode(char byte) {
    int c = static_cast<signed char>(byte);
    if (c < 0)
        c = 128 - c;
    return c == 256 ? 128 : c;
}

int chrspace(int code, double& advance, int set) {
    if (!InTable(code))
        return 0;
    if (set) {
        g_glyphs[code].advance = advance;
        return 1;
    }
    if (!g_glyphs[code].defined)
        return 0;
    advance = g_glyphs[code].advance;
    return 1;
}

double CharAdvance(int code) {
    double advance = kDefaultAdvance;
    if (!chrspace(code, advance, 0))
        chrspace(0, advance, 0);
    return advance;
}

void SetFontFileReading(bool reading) { g_font_file = reading; }
bool FontFileReading() { return g_font_file; }
bool GlyphIsOpen() { return g_open >= 0; }
void AbandonGlyph() {
    if (g_open >= 0)
        g_glyphs[g_open].defined = 0;
    g_open = -1;
}

int CharCom(const char* file, int line) {
    if (!g_font_file || g_open >= 0 || OpenContourOwner() != ContourOwner::kNone)
        return Unexpected(file, line);
    if (ArgCount() != 3)
        return SyntaxError(file, line);
    double advance = ArgF(2);
    if (!(advance > 0) || !std::isfinite(advance))
        return OutOfRange(file, line);
    // A character written as a double quote comes as the token "" (the splitter keeps quoted
    // words whole); its first byte is the character all the same.
    int code = CharCode(Arg(1)[0]);
    InitChar(code);
    g_glyphs[code].advance = advance;
    g_open = code;
    return 1;
}

int JumpToCom(const char* file, int line) {
    if (g_open < 0)
        return Unexpected(file, line);
    return GlyphPointCom(kRapid, file, line);
}

int GlyphPointCom(int kind, const char* file, int line) {
    if (g_open < 0)
        return Unexpected(file, line);
    bool arc = kind == kCcwArc || kind == kCwArc;
    if (ArgCount() != (arc ? 4 : 3))
        return SyntaxError(file, line);
    Glyph& g = g_glyphs[g_open];
    double x = ArgF(1), y = ArgF(2), r = arc ? ArgF(3) : 0;
    if (g.count >= kMaxGlyphPoints || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r) ||
        (arc && !FitArc(g, kind, x, y, r)))
        return OutOfRange(file, line);
    g.x[g.count] = x;
    g.y[g.count] = y;
    g.radius[g.count] = r;
    g.kind[g.count] = kind;
    ++g.count;
    return 1;
}

int GlyphEndCom(const char* file, int line) {
    if (g_open < 0)
        return EndUnexpected(file, line);
    int code = g_open;
    g_open = -1;
    // A wrong END still closes the definition, so that the next CHARACTER is read as usual;
    // the glyph it closes stays undefined.
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    g_glyphs[code].defined = 1;
    return 1;
}

} // namespace korvel
