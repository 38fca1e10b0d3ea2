// The coloured G-code view: words and their spans, comments, labels, long lines, line ends,
// escaping, the page frame, failures and the viewer.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "model/settings.h"
#include "reports/gcode_html.h"
#include "support.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

// What a translated line may hold besides text: the view's own tags. Removing them leaves text
// that must hold no markup character; the spans and bold runs must balance.
bool OnlyOwnMarkup(std::string line) {
    int open_spans = 0, bold = 0;
    for (const char* tag : {"<span class=\"gcode\">", "<span class=\"mcode\">",
                            "<span class=\"rem\">", "<span class=\"lab\">",
                            "<span class=\"plain\">", "</span>", "<b>", "</b>", "<i>", "</i>"}) {
        std::string t(tag);
        for (std::size_t at; (at = line.find(t)) != std::string::npos;) {
            line.erase(at, t.size());
            if (t.starts_with("<span"))
                ++open_spans;
            else if (t == "</span>")
                --open_spans;
            else if (t == "<b>")
                ++bold;
            else if (t == "</b>")
                --bold;
        }
    }
    return open_spans == 0 && bold == 0 && line.find_first_of("<>\"'") == std::string::npos;
}

std::string Translated(std::string line) {
    translate(line);
    return line;
}

std::string Span(const char* cls, const std::string& text) {
    return "<span class=\"" + std::string(cls) + "\">" + text + "</span> ";
}

std::string ProgramsDir() { return std::string(KORVEL_SOURCE_DIR) + "/tests/reports/programs/"; }

class GCodeHtmlTest : public test::KorvelTest {
protected:
    // The page of a program file, without its frame.
    std::string Body(const std::string& program_path) {
        std::string html = ScratchDir() + "/out.html";
        EXPECT_EQ(TranslateFile(program_path, html), 1);
        std::string page = test::Slurp(html);
        std::size_t start = page.find("<BODY>\n<p>\n");
        std::size_t end = page.rfind("</p>\n</BODY>\n</HTML>\n");
        EXPECT_NE(start, std::string::npos);
        EXPECT_EQ(end, page.size() - 21);
        return page.substr(start + 11, end - start - 11);
    }
};

TEST_F(GCodeHtmlTest, WordsAreSplitAtBlanksAndAfterTheDigitsOfNGMAndS) {
    V words;
    EXPECT_EQ(arg_gm("N10 G01X10 S1200M03\tG59.1 (A B) X(1)\nM30", words), 10);
    EXPECT_EQ(words, (V{"N10", "G01", "X10", "S1200", "M03", "G59", ".1", "(A B", ")", "X(1)"}));
    EXPECT_EQ(arg_gm("G1\rM30", words), 1); // a lone CR ends the line too
    EXPECT_EQ(arg_gm("  \t ", words), 0);
    EXPECT_EQ(gm_len("(OPEN"), 5u);
    EXPECT_EQ(gm_len("GX"), 1u);
    EXPECT_EQ(gm_len("XYZ1 Y"), 4u);
    EXPECT_EQ(gm_len(""), 0u);
    std::string joined;
    EXPECT_EQ(inv_args(V{"A", "B"}, joined), 2);
    EXPECT_EQ(joined, "A B ");
}

TEST_F(GCodeHtmlTest, EachWordKindHasItsColour) {
    EXPECT_EQ(Translated("N10 G01 X10 F200"), Span("lab", "<i>N10</i>") + Span("gcode", "G01") +
                                                  Span("plain", "X10") + Span("plain", "F200"));
    // Both spellings of a listed G word; G5 is in neither list; G59.1 is G59 and a plain .1.
    EXPECT_EQ(Translated("G1 G01 G5 G59.1"), Span("gcode", "G1") + Span("gcode", "G01") +
                                                 Span("plain", "G5") + Span("gcode", "G59") +
                                                 Span("plain", ".1"));
    EXPECT_EQ(Translated("s1200m03 M30 M88"), Span("plain", "S1200") + Span("mcode", "M03") +
                                                  Span("mcode", "M30") + Span("plain", "M88"));
    for (const char* g : {"G17", "G28", "G43", "G44", "G74", "G81", "G83", "G84", "G98"})
        EXPECT_EQ(isgcode(g), 1) << g;
    for (const char* m : {"M0", "M6", "M09"})
        EXPECT_EQ(ismcode(m), 1) << m;
    EXPECT_EQ(isgcode("G05"), 0);
    EXPECT_EQ(islabel("N"), 1);
    EXPECT_EQ(islabel("X1"), 0);
}

TEST_F(GCodeHtmlTest, CommentsAreOneBoldSpanClosedOnTheirLine) {
    // The tool-change comment: the span opens on the comment text and closes on ")".
    EXPECT_EQ(Translated("T1 M06 (new tool: drill 6.8)"),
              Span("plain", "T1") + Span("mcode", "M06") +
                  "<span class=\"rem\"><b>(NEW TOOL: DRILL 6.8 )</b></span> ");
    // Words inside a comment are not coloured.
    EXPECT_EQ(Translated("(G01 M30) X1"),
              "<span class=\"rem\"><b>(G01 M30 )</b></span> " + Span("plain", "X1"));
    // A comment left open is closed at the end of its line.
    EXPECT_EQ(Translated("X1 (OPEN G01"),
              Span("plain", "X1") + "<span class=\"rem\"><b>(OPEN G01</b></span> ");
    EXPECT_EQ(Translated("G01"), Span("gcode", "G01"));
}

TEST_F(GCodeHtmlTest, EveryWordOfALongLineIsShown) {
    std::string line, expected;
    for (int i = 0; i < 40; ++i) {
        line += "X" + std::to_string(i) + " ";
        expected += Span("plain", "X" + std::to_string(i));
    }
    std::string long_comment = "(" + std::string(600, 'A') + ")";
    line += long_comment;
    EXPECT_EQ(translate(line), 42);
    EXPECT_EQ(line, expected + "<span class=\"rem\"><b>" + long_comment.substr(0, 601) +
                        " )</b></span> ");
}

TEST_F(GCodeHtmlTest, TextIsEscapedSoThatNoCommentCanChangeThePage) {
    EXPECT_EQ(
        Translated("(<script>alert('x')</script>)"),
        "<span class=\"rem\"><b>(&lt;SCRIPT&gt;ALERT(&#39;X&#39; )&lt;/SCRIPT&gt;)</b></span> ");
    EXPECT_EQ(Translated("X1 & \"Y\" <B>"), Span("plain", "X1") + Span("plain", "&amp;") +
                                                Span("plain", "&quot;Y&quot;") +
                                                Span("plain", "&lt;B&gt;"));
    // Bytes that are not UTF-8 are read as Latin-1; controls (NUL too) become U+FFFD.
    EXPECT_EQ(Translated(std::string("X\xe9 Y\x01\0", 6)),
              Span("plain", "X\xc3\xa9") + Span("plain", "Y\xef\xbf\xbd\xef\xbf\xbd"));
    EXPECT_EQ(Translated("(\xc3\xa4)"), "<span class=\"rem\"><b>(\xc3\xa4 )</b></span> ");
}

TEST_F(GCodeHtmlTest, RandomLinesNeverBreakThePage) {
    const std::string alphabet = "GMNSXYZF0123456789.-() \t<>&\"'%;gmnx\x01\x7f\xc3\xa4\xe9\xff";
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 120);
    for (int i = 0; i < 3000; ++i) {
        std::string line;
        for (int n = length(random); n > 0; --n)
            line += alphabet[pick(random)];
        std::string original = line;
        translate(line);
        ASSERT_TRUE(OnlyOwnMarkup(line)) << "from " << ::testing::PrintToString(original) << "\n"
                                         << line;
    }
}

TEST_F(GCodeHtmlTest, TheWordKindsProgram) {
    EXPECT_EQ(Body(ProgramsDir() + "word-kinds.cnc"),
              Span("plain", "%") + "<br>\n" + Span("plain", "O1000") +
                  "<span class=\"rem\"><b>(WORD KINDS )</b></span> <br>\n" +
                  Span("lab", "<i>N10</i>") + Span("gcode", "G90") + Span("gcode", "G21") +
                  Span("gcode", "G54") + "<br>\n" + Span("lab", "<i>N20</i>") +
                  Span("plain", "T1") + Span("mcode", "M06") +
                  "<span class=\"rem\"><b>(NEW TOOL: DRILL 6.8 )</b></span> <br>\n" +
                  Span("plain", "S1200") + Span("mcode", "M03") + "<br>\n" + Span("gcode", "G43") +
                  Span("plain", "H1") + Span("mcode", "M08") + "<br>\n" + Span("gcode", "G00") +
                  Span("plain", "X10.5Y-20") + "<br>\n" + Span("gcode", "G1") +
                  Span("plain", "Z-5") + Span("plain", "F100") + "<br>\n" + Span("gcode", "G81") +
                  Span("plain", "X10") + Span("plain", "Y20") + Span("plain", "Z-12") +
                  Span("plain", "R2") + Span("plain", "F120") + "<br>\n" + Span("plain", "G5") +
                  Span("gcode", "G59") + Span("plain", ".1") + Span("plain", "M88") + "<br>\n" +
                  Span("gcode", "G28") + Span("plain", "Z40") + "<br>\n" + Span("mcode", "M30") +
                  "<br>\n" + Span("plain", "%") + "<br>\n");
}

TEST_F(GCodeHtmlTest, LineEndsOfEveryKindAndNoPercentLines) {
    std::string expected = Span("lab", "<i>N10</i>") + Span("gcode", "G00") + Span("plain", "X0") +
                           Span("plain", "Y0") + "<br>\n" + Span("lab", "<i>N20</i>") +
                           Span("gcode", "G01") + Span("plain", "Z-1") + Span("plain", "F50") +
                           "<br>\n" + Span("lab", "<i>N30</i>") + Span("mcode", "M30") + "<br>\n";
    EXPECT_EQ(Body(ProgramsDir() + "no-percent.cnc"), expected);  // CR only
    std::string lf = "N10 G00 X0 Y0\nN20 G01 Z-1 F50\r\nN30 M30"; // the last line unended
    EXPECT_EQ(Body(WriteFile("mixed.cnc", lf)), expected);
    // Empty lines stay; an empty file is the frame alone.
    EXPECT_EQ(Body(WriteFile("gaps.cnc", "\n\r\n\rM30\n")),
              "<br>\n<br>\n<br>\n" + Span("mcode", "M30") + "<br>\n");
    EXPECT_EQ(Body(WriteFile("empty.cnc", "")), "");
}

TEST_F(GCodeHtmlTest, TheFrameDeclaresHtml5AndItsCharset) {
    std::string frame;
    EXPECT_EQ(HtmlOpen(frame), 1);
    EXPECT_EQ(frame.rfind("<!DOCTYPE html>\n<HTML>\n<HEAD>\n<meta charset=\"utf-8\">\n<TITLE>\n"
                          "KORVEL\n</TITLE>\n",
                          0),
              0u);
    EXPECT_NE(frame.find("\n.lab    { font-family: Arial; color: green; font-style: italic; "
                         "font-size: 12px; margin-left:0; margin-right:0}\n"),
              std::string::npos);
    EXPECT_EQ(frame.substr(frame.size() - 28), "</STYLE>\n</HEAD>\n<BODY>\n<p>\n");
    std::string closing;
    EXPECT_EQ(HtmlClose(closing), 1);
    EXPECT_EQ(closing, "</p>\n</BODY>\n</HTML>\n");
}

TEST_F(GCodeHtmlTest, FilesThatCannotBeOpenedAreNamed) {
    std::string missing = ScratchDir() + "/missing.cnc";
    EXPECT_EQ(TranslateFile(missing, ScratchDir() + "/out.html"), 0);
    EXPECT_EQ(Messages(), V{"[" + missing + "] File not found"});
    EXPECT_FALSE(std::filesystem::exists(ScratchDir() + "/out.html"));
    std::string program = WriteFile("p.cnc", "M30\n");
    std::string unwritable = ScratchDir() + "/no/such/dir/out.html";
    EXPECT_EQ(TranslateFile(program, unwritable), 0);
    EXPECT_EQ(Messages(), V{"[" + unwritable + "] File not found"});
}

TEST_F(GCodeHtmlTest, TheViewerOpensTheNewPageOnly) {
    test::ScopedChdir here(ScratchDir());
    std::string marker = ScratchDir() + "/viewer-ran";
    // The viewer writes down what it was given.
    MutableSettings().htmlview = "echo >" + marker;
    SetStartedProgramsWaited(true);
    EXPECT_EQ(ViewGCode(WriteFile("p.cnc", "M30\n")), 1);
    EXPECT_EQ(test::Slurp(marker), ScratchDir() + "/ncfile.html\n");
    EXPECT_NE(test::Slurp(ScratchDir() + "/ncfile.html").find(Span("mcode", "M30")),
              std::string::npos);
    // A missing program: the message, and no viewer on the page of the program before.
    std::filesystem::remove(marker);
    EXPECT_EQ(ViewGCode(ScratchDir() + "/gone.cnc"), 1);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() + "/gone.cnc] File not found"});
    EXPECT_FALSE(std::filesystem::exists(marker));
    SetStartedProgramsWaited(false);
}

} // namespace
} // namespace korvel
