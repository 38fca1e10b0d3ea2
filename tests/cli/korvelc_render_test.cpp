// korvelc render: every example drawn with and without its tool paths, each picture checked by
// an XML parser and converted to PNG by rsvg-convert, which must accept it without a word.
// The reviewed pictures of the examples lie in tests/render/; a picture of another size than
// its reference means the layout changed and the reference wants a new look.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "cli_support.h"
#include "support.h"

namespace korvel {
namespace {

using test::CliRun;
using test::Korvelc;
using test::Shell;

using test::RunCommand;
using test::Slurp;

std::string Example(const std::string& name) {
    return std::string(KORVEL_SOURCE_DIR) + "/examples/" + name + ".kvp";
}

// Width and height from a PNG's header; 0 when the bytes are no PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

class KorvelcRender : public test::KorvelTest {
protected:
    // Renders, checks the SVG and converts it; returns the PNG's bytes ("" after a failure).
    std::string RenderToPng(const std::string& project, const std::string& options,
                            const std::string& name) {
        std::string svg = ScratchDir() + "/" + name + ".svg";
        std::string png = ScratchDir() + "/" + name + ".png";
        CliRun r = Korvelc("render " + project + " -o " + svg + " " + options);
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
        EXPECT_EQ(r.err, "") << name;
        CliRun xml = Shell("xmllint --noout " + svg);
        EXPECT_EQ(xml.status, 0) << name << ": " << xml.err;
        CliRun conv = Shell("rsvg-convert " + svg + " -o " + png);
        EXPECT_EQ(conv.status, 0) << name << ": rsvg-convert (Debian librsvg2-bin) failed";
        EXPECT_EQ(conv.err, "") << name;
        return Slurp(png);
    }
};

TEST_F(KorvelcRender, EveryExampleWithAndWithoutPaths) {
    for (const char* name : {"first-steps", "flange-plate", "pocket-plate", "stepped-boss"}) {
        std::string plain = RenderToPng(Example(name), "", name);
        std::string paths = RenderToPng(Example(name), "--paths", std::string(name) + "-paths");
        auto size = PngSize(paths);
        EXPECT_GT(size.first, 0u) << name;
        EXPECT_GT(PngSize(plain).first, 0u) << name;
        std::string reference =
            std::string(KORVEL_SOURCE_DIR) + "/tests/render/" + name + "-paths.png";
        EXPECT_EQ(PngSize(Slurp(reference)), size) << reference;
    }
}

// Drawing elements, engraving elements and texts in the shipped font (tests/render/drawing.kvp,
// reviewed in drawing.png): each in its own pen, arcs as arcs, and every character a stroke.
TEST_F(KorvelcRender, DrawingElementsAndTextsInTheShippedFont) {
    std::string project = std::string(KORVEL_SOURCE_DIR) + "/tests/render/drawing.kvp";
    std::string png = RenderToPng(project, "", "drawing");
    std::string reference = std::string(KORVEL_SOURCE_DIR) + "/tests/render/drawing.png";
    EXPECT_EQ(PngSize(Slurp(reference)), PngSize(png)) << reference;
    CliRun r = Korvelc("render " + project);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("stroke=\"#c0208a\""), std::string::npos); // engraving
    EXPECT_NE(r.out.find("stroke=\"#a08000\""), std::string::npos); // drawing, colour 2
    EXPECT_NE(r.out.find("stroke=\"#707070\""), std::string::npos); // notes
    // The texts are strokes, not boxes: far more lines than the boxes' four a character.
    std::size_t lines = 0;
    for (std::size_t at = r.out.find(" L"); at != std::string::npos; at = r.out.find(" L", at + 1))
        ++lines;
    EXPECT_GT(lines, 400u);
}

TEST_F(KorvelcRender, PathsAddCutsMovesAndMarks) {
    CliRun plain = Korvelc("render " + Example("pocket-plate"));
    CliRun paths = Korvelc("render --paths " + Example("pocket-plate"));
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(paths.status, 0);
    EXPECT_EQ(plain.out.rfind("<?xml", 0), 0u); // without -o the picture goes to stdout
    EXPECT_EQ(plain.out.find("#e04000"), std::string::npos);
    EXPECT_NE(paths.out.find("stroke=\"#e04000\""), std::string::npos);       // cuts
    EXPECT_NE(paths.out.find("stroke-dasharray=\"6 4\""), std::string::npos); // moves
    EXPECT_NE(paths.out.find(" A"), std::string::npos);                       // arcs as arcs
}

TEST_F(KorvelcRender, FailuresAndUsage) {
    EXPECT_EQ(Korvelc("render").status, 2);
    EXPECT_EQ(Korvelc("render a.kvp b.kvp").status, 2);
    EXPECT_EQ(Korvelc("render --bogus " + Example("first-steps")).status, 2);
    EXPECT_EQ(Korvelc("render " + Example("first-steps") + " -o").status, 2);
    CliRun missing = Korvelc("render " + ScratchDir() + "/none.kvp");
    EXPECT_EQ(missing.status, 1);
    // A pocket too narrow for the tool: the picture is made, the path is reported and missing.
    std::string narrow =
        WriteFile("narrow.kvp", "VER 2.05\nBLOCK 1 100 50 20 0 0 -20 0 0 -1\n"
                                "POCKET 2 1 10 10 5 0 0 0 -1 0 0\nLINETO 60 10\nLINETO 60 16\n"
                                "LINETO 10 16\nLINETO 10 10\nEND\nENDOFFILE\n");
    std::string svg = ScratchDir() + "/narrow.svg";
    CliRun r = Korvelc("render " + narrow + " --paths -o " + svg);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "[Tool selection error] Tool diameter too big\n"
                     "[Internal error] Error code 22\n");
    EXPECT_NE(Slurp(svg).find("</svg>"), std::string::npos);
    CliRun unwritable = Korvelc("render " + narrow + " -o " + ScratchDir() + "/no/such/dir.svg");
    EXPECT_EQ(unwritable.status, 1);
}

// The view's pictures: each projection of each example, checked and converted; the reviewed
// pictures of the stepped boss, one per projection, lie in tests/render/.
TEST_F(KorvelcRender, EveryProjectionOfEveryExample) {
    for (const char* name :
         {"drilled-plate", "first-steps", "flange-plate", "pocket-plate", "stepped-boss"}) {
        std::string previous;
        for (int view = 0; view <= 5; ++view) {
            std::string tag = std::string(name) + "-view" + std::to_string(view);
            std::string png = RenderToPng(Example(name), "--view " + std::to_string(view), tag);
            EXPECT_EQ(PngSize(png), (std::pair<std::uint32_t, std::uint32_t>{1000, 700})) << tag;
            EXPECT_NE(png, previous) << tag; // each projection is another picture
            previous = png;
        }
    }
    for (int view = 0; view <= 5; ++view) {
        std::string reference = std::string(KORVEL_SOURCE_DIR) + "/tests/render/stepped-boss-view" +
                                std::to_string(view) + ".png";
        EXPECT_EQ(PngSize(Slurp(reference)), (std::pair<std::uint32_t, std::uint32_t>{1000, 700}))
            << reference;
    }
}

TEST_F(KorvelcRender, AProgramReplayedOverTheView) {
    std::string program = ScratchDir() + "/boss.cnc";
    ASSERT_EQ(Korvelc("make " + Example("drilled-plate") + " -o " + program).status, 0);
    std::string svg = ScratchDir() + "/replay.svg";
    CliRun r = Korvelc("render " + Example("drilled-plate") + " --gcode " + program + " -o " + svg);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string picture = Slurp(svg);
    EXPECT_NE(picture.find("stroke=\"#ffd000\""), std::string::npos); // cuts, feed pen
    EXPECT_NE(picture.find("stroke=\"#00c000\""), std::string::npos); // rapid moves
    std::string png = RenderToPng(Example("drilled-plate"), "--view 1 --gcode " + program,
                                  "drilled-plate-replay");
    EXPECT_GT(PngSize(png).first, 0u);
    // The plain view has neither pen.
    CliRun plain = Korvelc("render " + Example("stepped-boss") + " --view 0");
    EXPECT_EQ(plain.out.find("#ffd000"), std::string::npos);

    std::string bad = WriteFile("bad.cnc", "G00 X0\n");
    CliRun refused = Korvelc("render " + Example("stepped-boss") + " --gcode " + bad);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "korvelc: " + bad + ": Load Error\n");
    EXPECT_NE(refused.out.find("</svg>"), std::string::npos); // the view is still drawn
    std::string wrong = WriteFile("wrong.cnc", "%\nT1 M06\nG01 X1. F100.\nT100\n%\n");
    CliRun stopped = Korvelc("render " + Example("stepped-boss") + " --gcode " + wrong);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.err, "korvelc: " + wrong + ": Error in program line 3: T100\n");
}

TEST_F(KorvelcRender, ViewUsage) {
    std::string project = Example("first-steps");
    EXPECT_EQ(Korvelc("render " + project + " --view 6").status, 2);
    EXPECT_EQ(Korvelc("render " + project + " --view").status, 2);
    EXPECT_EQ(Korvelc("render " + project + " --view x").status, 2);
    EXPECT_EQ(Korvelc("render " + project + " --gcode").status, 2);
    EXPECT_EQ(Korvelc("render " + project + " --view 1 --paths").status, 2);
}

} // namespace
} // namespace korvel
