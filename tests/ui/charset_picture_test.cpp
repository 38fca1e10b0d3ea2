// The picture of the shipped font's whole character set: every byte a text may hold, 16 to a
// row in byte order (0x20..0x7E, then 0xA0..0xFF), each glyph drawn in its cell with the
// cell's box (x from 0 to the advance, y from -4 to 16 font units) in a light pen. The
// reviewed picture lies in tests/render/charset.png; KORVEL_UPDATE_PICTURES=1 writes a new
// one there to be looked at and reviewed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cad/stroke_font.h"
#include "model/font.h"
#include "script/font_file.h"
#include "support.h"
#include "ui/canvas.h"
#include "ui/draw_top.h"
#include "ui/svg_canvas.h"

namespace korvel {
namespace {

using test::RunCommand;
using test::Slurp;

constexpr double kCellWidth = 20, kCellHeight = 26; // font units per cell of the sheet

class PainterSink : public StrokeSink {
public:
    explicit PainterSink(TopPainter& p) : p_(p) {}
    void MoveTo(double x, double y, double) override { p_.MoveTo(x, y); }
    void LineTo(double x, double y, double) override { p_.LineTo(x, y); }

private:
    TopPainter& p_;
};

// Draws the sheet; the number of glyphs drawn.
int DrawSheet(Canvas& canvas, double scale) {
    TopPainter painter(canvas, TopView{scale, -2, kCellHeight - 4});
    PainterSink sink(painter);
    int drawn = 0;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte >= 0x7F && byte < 0xA0)
            continue;
        int code = CharCode(static_cast<char>(byte));
        int cell = byte < 0x80 ? byte - 0x20 : byte - 0xA0 + 96;
        double x = (cell % 16) * kCellWidth, y = -(cell / 16) * kCellHeight;
        Glyph g;
        if (!GetGlyph(code, g))
            continue;
        painter.SetPen(Pen{0xc8d0e0, 0.5, LineStyle::kSolid});
        painter.Rectangle(x, y - 4, x + g.advance, y + 16);
        painter.SetPen(Pen{0x000000, 1.5, LineStyle::kSolid});
        draw_char(sink, code, x, y, 0, 1, 1, 0);
        ++drawn;
    }
    return drawn;
}

TEST(CharsetPicture, TheShippedFontsWholeCharacterSet) {
    RecordMessages(true);
    InitFont();
    ASSERT_EQ(LoadFont(std::string(KORVEL_SOURCE_DIR) + "/data/simplex.fnt"), 1);
    EXPECT_TRUE(TakeRecordedMessages().empty());
    RecordMessages(false);
    const double scale = 3;
    SvgCanvas svg(16 * kCellWidth * scale, 12 * kCellHeight * scale);
    int drawn = DrawSheet(svg, scale);
    EXPECT_GE(drawn, 94 + 50);
    char dir[] = "/tmp/korvel-charset-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string svg_path = std::string(dir) + "/charset.svg";
    std::string png_path = std::string(dir) + "/charset.png";
    {
        std::FILE* f = std::fopen(svg_path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::string doc = svg.Document();
        std::fwrite(doc.data(), 1, doc.size(), f);
        std::fclose(f);
    }
    std::string out, err;
    ASSERT_EQ(RunCommand("rsvg-convert " + svg_path + " -o " + png_path, &out, &err), 0) << err;
    std::string png = Slurp(png_path);
    std::string reference = std::string(KORVEL_SOURCE_DIR) + "/tests/render/charset.png";
    const char* update = std::getenv("KORVEL_UPDATE_PICTURES");
    if (update && std::string(update) == "1") {
        ASSERT_EQ(RunCommand("cp " + png_path + " " + reference, &out, &err), 0) << err;
    }
    // A picture of another size than the reviewed one means the sheet changed: it wants a
    // new look.
    std::string reviewed = Slurp(reference);
    ASSERT_GT(png.size(), 24u);
    ASSERT_GT(reviewed.size(), 24u) << reference;
    EXPECT_EQ(png.substr(16, 8), reviewed.substr(16, 8)); // width and height
    RunCommand("rm -r " + std::string(dir), &out, &err);
}

} // namespace
} // namespace korvel
