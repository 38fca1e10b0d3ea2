// korvelc render: every example drawn with and without its tool paths, each picture checked by
// an XML parser and converted to PNG by rsvg-convert, which must accept it without a word.
// The reviewed pictures of the examples lie in tests/render/; a picture of another size than
// its reference means the layout changed and the reference wants a new look.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support.h"

namespace korvel {
namespace {

using test::RunCommand;
using test::Slurp;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Shell(const std::string& command) {
    CliRun r;
    r.status = RunCommand(command, &r.out, &r.err);
    return r;
}

CliRun Korvelc(const std::string& arguments) {
    return Shell(std::string(KORVELC_PATH) + " " + arguments);
}

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

} // namespace
} // namespace korvel
