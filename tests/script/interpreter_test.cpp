// The interpreter through its real interfaces: typed lines, script files, includes.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "base/text.h"
#include "base/units.h"
#include "script/interpreter.h"
#include "script/keywords.h"
#include "support.h"

namespace korvel {
namespace {

using test::KorvelTest;
using V = std::vector<std::string>;

TEST(KeywordTable, CodesAreTheFileFormat) {
    EXPECT_EQ(KeywordName(kInclude), "INCLUDE");
    EXPECT_EQ(KeywordName(kBlock), "BLOCK");
    EXPECT_EQ(KeywordName(kBulge), "BULGE");
    EXPECT_EQ(KeywordName(kCwto), "CWTO");
    EXPECT_EQ(KeywordName(kVer), "VER");
    EXPECT_EQ(KeywordName(kEngText), "ENG_TEXT");
    EXPECT_EQ(KeywordName(kDefmat), "DEFMAT");
    EXPECT_EQ(kDefmat, 133);
    for (int empty : {34, 35, 64, 65, -1, 134})
        EXPECT_EQ(KeywordName(empty), "") << empty;
}

TEST(Recogn, NamesAbbreviationsAndCodes) {
    EXPECT_EQ(recogn("bulge"), kBulge);
    EXPECT_EQ(recogn("BULGE"), kBulge);
    EXPECT_EQ(recogn("$16"), kBulge);
    EXPECT_EQ(recogn("$16abc"), kBulge);
    EXPECT_EQ(recogn("$"), 0);
    EXPECT_EQ(recogn("$999"), 999);
    EXPECT_EQ(recogn("$99999999999999999999"), kNoKeyword);
    EXPECT_EQ(recogn("$0000000016"), kBulge); // more digits than the quick reading takes
    EXPECT_EQ(recogn("$+16"), kBulge);
    EXPECT_EQ(recogn("$-3"), -3);
    EXPECT_EQ(recogn("NOSUCHWORD"), kNoKeyword);
    EXPECT_EQ(recogn("MI"), kAmbiguousKeyword);
    EXPECT_EQ(recogn("BL"), kBlock);
    EXPECT_EQ(recogn("BLO"), kBlock);
    EXPECT_EQ(recogn("END"), kEnd);
    EXPECT_EQ(recogn("USE"), kUse);
    EXPECT_EQ(recogn("ENDO"), kEndoffile);
    EXPECT_EQ(recogn(""), kNoKeyword);
    EXPECT_EQ(recogn("MPARAM_T"), kAmbiguousKeyword); // MPARAM_TC and MPARAM_TM
    EXPECT_EQ(recogn("MPARAM_tm"), kMparamTm);
    EXPECT_EQ(recogn("CENTERDRILLINGS"), kNoKeyword); // longer than every keyword
    EXPECT_EQ(recogn("BULGEX"), kNoKeyword);
    EXPECT_EQ(recogn(std::string_view("BUL\0GE", 6)), kNoKeyword);
}

// Every keyword and every beginning of one, in capitals and in small letters, against the
// rule read straight off the table: the keyword itself, else the only keyword it begins.
TEST(Recogn, EveryKeywordAndEveryAbbreviation) {
    auto expected = [](const std::string& upper) {
        for (int code = 0; code < kKeywordCount; ++code)
            if (!KeywordName(code).empty() && KeywordName(code) == upper)
                return code;
        int found = kNoKeyword, matches = 0;
        for (int code = 0; code < kKeywordCount; ++code)
            if (!KeywordName(code).empty() && KeywordName(code).starts_with(upper)) {
                found = code;
                ++matches;
            }
        return matches > 1 ? kAmbiguousKeyword : found;
    };
    int checked = 0;
    for (int code = 0; code < kKeywordCount; ++code) {
        std::string name(KeywordName(code));
        for (std::size_t n = 1; n <= name.size(); ++n) {
            std::string upper = name.substr(0, n);
            std::string lower = upper;
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            ASSERT_EQ(recogn(upper), expected(upper)) << upper;
            ASSERT_EQ(recogn(lower), expected(upper)) << lower;
            ++checked;
        }
        if (!name.empty()) {
            EXPECT_EQ(recogn(name), code) << name;
        }
    }
    EXPECT_GT(checked, 700);
}

TEST_F(KorvelTest, UnrecognizedWordsAndCodes) {
    for (const char* line : {"MI", "NOSUCHWORD", "$999", "$34", "$-1", "MILLTYPE"})
        EXPECT_EQ(Type(line), 0) << line;
    EXPECT_EQ(Messages(), V(6, "[Errors found] Unrecognized command"));
}

TEST_F(KorvelTest, CommentsAndBlankLinesAreAccepted) {
    for (const char* line : {"", "   ", "# note", "#BLOCK 1 2 3", "; MI", "\t;"})
        EXPECT_EQ(Type(line), 1) << line;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KorvelTest, MessageCommandJoinsItsWords) {
    EXPECT_EQ(Type("msg  Tool   \"T 5\"  missing"), 1);
    EXPECT_EQ(Type("$115 second"), 1);
    EXPECT_EQ(Type("MSG"), 1);
    EXPECT_EQ(Messages(), (V{"[User message] Tool \"T 5\" missing", "[User message] second"}));
}

TEST_F(KorvelTest, TooManyTokensReachTheHandler) {
    std::string many = "VER";
    for (int i = 0; i < 40; ++i)
        many += " 1";
    EXPECT_EQ(Type(many), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Syntax error"});
}

TEST_F(KorvelTest, VersionLine) {
    EXPECT_EQ(Type("VER 2.05"), 1);
    EXPECT_EQ(Type("VER 1.0"), 1);
    EXPECT_EQ(Type("VER 2.06"), 0); // typed: rejected without a word
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Type("VER"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Syntax error"});

    std::string path = WriteFile("new.kvp", "VER 2.06\nMSG still read\n");
    EXPECT_EQ(InterpretFile(path), 1);
    V shown = Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind("[WARNING!] File has been created by a newer version (2.06).\n"
                             "You can upgrade KORVEL for free at ",
                             0),
              0u);
    EXPECT_EQ(shown[1], "[User message] still read");
}

TEST_F(KorvelTest, UnitDeclarations) {
    EXPECT_EQ(Type("PROJECTUNIT inch"), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 25.4);
    EXPECT_EQ(Type("PROJECTUNIT MM"), 1); // equal to the user unit: factor unchanged
    EXPECT_DOUBLE_EQ(UnitFactor(), 25.4);
    EXPECT_EQ(Type("ENDOFFILE extra"), 0); // resets, then reports
    EXPECT_DOUBLE_EQ(UnitFactor(), 1.0);
    EXPECT_EQ(Type("USERUNIT Inch"), 1);
    EXPECT_EQ(UserUnit(), kUnitInch);
    EXPECT_EQ(Type("PROJECTUNIT MM"), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 1 / 25.4);
    EXPECT_EQ(Type("ENDOFFILE"), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 1.0);
    EXPECT_EQ(Type("USERUNIT CM"), 0);
    EXPECT_EQ(Type("PROJECTUNIT"), 0);
    EXPECT_EQ(Type("PROJECTUNIT FEET"), 0);
    EXPECT_EQ(UserUnit(), kUnitInch);
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Syntax error", "[Errors found] Value(s) out of range",
                 "[Errors found] Syntax error", "[Errors found] Value(s) out of range"}));
}

TEST_F(KorvelTest, InchFileLeavesItsFactorWithoutEndOfFile) {
    std::string path = WriteFile("inch.kvp", "PROJECTUNIT INCH\n");
    EXPECT_EQ(InterpretFile(path), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 25.4);
}

TEST_F(KorvelTest, AcceptedForOldFilesAndObsolete) {
    EXPECT_EQ(Type("CONFIG anything at all"), 1);
    EXPECT_EQ(Type("BASE 1 2"), 1);
    EXPECT_EQ(DefinitionMode(), 0);
    EXPECT_EQ(Type("DEFINE"), 1);
    EXPECT_EQ(DefinitionMode(), 1);
    EXPECT_EQ(Type("CDDEPTH 3"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Syntax not supported any more"});
}

TEST_F(KorvelTest, FileErrorsNameFileAndLineAndTheFileGoesOn) {
    std::string path = WriteFile("bad.kvp", "MSG one\nMI\n\nNOSUCH\r\nMSG two\n# last\n");
    ScriptReadResult r = ReadScript(path);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.rejected, 2);
    EXPECT_EQ(r.last_result, 1); // the last line is a comment
    EXPECT_EQ(Messages(), (V{"[User message] one",
                             "[Errors found] Unrecognized command in file [" + path + "], line [2]",
                             "[Errors found] Unrecognized command in file [" + path + "], line [4]",
                             "[User message] two"}));
    std::string last_bad = WriteFile("lastbad.kvp", "MSG x\nMI");
    EXPECT_EQ(InterpretFile(last_bad), 0);
}

TEST_F(KorvelTest, MissingFilesAndDirectories) {
    std::string missing = ScratchDir() + "/none.kvp";
    EXPECT_EQ(InterpretFile(missing), 0);
    EXPECT_EQ(InterpretFile(ScratchDir()), 0);
    EXPECT_EQ(Messages(),
              (V{"[" + missing + "] File not found!", "[" + ScratchDir() + "] File not found!"}));
    EXPECT_EQ(InterpretFile("/dev/zero"), 0);
    EXPECT_EQ(Messages(), V{"[/dev/zero] File not found!"});
    std::string empty = WriteFile("empty.kvp", "");
    EXPECT_EQ(InterpretFile(empty), 1);
}

TEST_F(KorvelTest, OverlongLinesAreReadInPiecesOfTheirPhysicalLine) {
    // 254 characters of a message, then a second piece that is a command of its own.
    std::string first = "MSG " + std::string(250, 'a');
    std::string path = WriteFile("long.kvp", first + "NOSUCH\nMI\n");
    ReadScript(path);
    V shown = Messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "[User message] " + std::string(250, 'a'));
    EXPECT_EQ(shown[1], "[Errors found] Unrecognized command in file [" + path + "], line [1]");
    EXPECT_EQ(shown[2], "[Errors found] Unrecognized command in file [" + path + "], line [2]");
}

TEST_F(KorvelTest, TheTailOfAnOverlongCommentNeverRuns) {
    std::string comment = "# " + std::string(400, '-') + " MSG not a command";
    std::string path = WriteFile("comment.kvp", comment + "\nMSG after\n");
    EXPECT_EQ(InterpretFile(path), 1);
    EXPECT_EQ(Messages(), V{"[User message] after"});
}

TEST_F(KorvelTest, NulBytesEndALine) {
    std::string content("MSG before\0MI\nMSG next\n", 23);
    std::string path = WriteFile("nul.kvp", content);
    EXPECT_EQ(InterpretFile(path), 1);
    EXPECT_EQ(Messages(), (V{"[User message] before", "[User message] next"}));
}

TEST_F(KorvelTest, IncludeReadsFromTheProgramDirectory) {
    WriteFile("inc/part.kvs", "MSG included\nPROJECTUNIT INCH\n");
    SetProgramDirectory(ScratchDir() + "/inc");
    EXPECT_EQ(Type("INCLUDE part.kvs"), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 25.4);
    EXPECT_EQ(Type("INCLUDE"), 0);
    EXPECT_EQ(Type("INCLUDE missing.kvs"), 0);
    EXPECT_EQ(Messages(), (V{"[User message] included", "[Errors found] Syntax error",
                             "[" + ScratchDir() + "/inc/missing.kvs] File not found!"}));
}

// A handler that interprets lines of its own (INCLUDE, UNDO) finds its own line's arguments
// in place when they return: a nested line must not overwrite them.
TEST_F(KorvelTest, NestedLinesLeaveTheOuterArgumentsInPlace) {
    WriteFile("inc/part.kvs", "MSG one two three four\nDRILL 7 -1 5 10 20 20 0 0 0 1 -1\n");
    SetProgramDirectory(ScratchDir() + "/inc");
    EXPECT_EQ(Type("INCLUDE   part.kvs"), 1);
    EXPECT_EQ(ArgCount(), 2);
    EXPECT_EQ(Arg(0), "INCLUDE");
    EXPECT_EQ(Arg(1), "part.kvs");
    EXPECT_EQ(ArgI(1), 0);
    EXPECT_EQ(Type("UNDO"), 1); // replays DELETE 7
    EXPECT_EQ(ArgCount(), 1);
    EXPECT_EQ(Arg(0), "UNDO");
    EXPECT_EQ(Arg(1), "");
    Messages();
}

TEST_F(KorvelTest, IncludeCycleIsRejectedAtTheClosingLine) {
    std::string a = WriteFile("a.kvs", "MSG in a\nINCLUDE b.kvs\nMSG a done\n");
    std::string b = WriteFile("b.kvs", "INCLUDE ./a.kvs\nMSG b done\n");
    SetProgramDirectory(ScratchDir());
    EXPECT_EQ(InterpretFile(a), 1);
    std::string dir = ScratchDir() + "/";
    EXPECT_EQ(Messages(), (V{"[User message] in a",
                             "[Errors found] INCLUDE of [" + dir +
                                 "./a.kvs] would read a file "
                                 "that is already being read (include cycle) in file [" +
                                 dir + "b.kvs], line [1]",
                             "[User message] b done", "[User message] a done"}));
    std::string self = WriteFile("self.kvs", "INCLUDE self.kvs\n");
    EXPECT_EQ(InterpretFile(self), 0);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(KorvelTest, NumbersThatAreNotFiniteAreOutOfRange) {
    ASSERT_EQ(Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    ASSERT_EQ(Type("DRILL 2 1 8.5 20 10 10 0.5 0 7 8 9"), 1);
    const V kBad = {
        "MOVE 2 nan 0",
        "MOVE 2 0 inf",
        "DRILL 3 1 nan 20 10 10 0.5 0 0 1 -1",
        "DRILL 3 1 8 20 -nan 10 0.5 0 0 1 -1",
        "DRILL 3 1 8 20 10 1e999 0.5 0 0 1 -1",
        "DRILL 3 1 8 20 10 -1e999 0.5 0 0 1 -1",
        "DRILL 3 1 8 20 10 10 INF 0 0 1 -1",
        "DRILL 3 1 8 20 10 10 0.5 Infinity 0 1 -1",
        "DRILL 3 1 8 20 10 10 0.5 0 0 1 NaN",
        "DRILL 3 1 8 20 nanx 10 0.5 0 0 1 -1", // atof would read the nan in front
        "THREAD 4 1 10 -1.5 15 30 nan 0.5 4 5",
        "BORE 5 1 30 10 50 inf 1 2 3 4 20",
        "LONGHOLE 6 1 8 5 20 -3 nan 60",
        "VIEW 0 inf 0 0 124",
        "CORRIDOR nan",
        "INFO_CLA 9 -1 nan 0 10 1 -1",
        "INFO_CLA 9 -1 0 0 10 inf 5 LAYER",
    };
    for (const std::string& line : kBad)
        EXPECT_EQ(Type(line), 0) << line;
    EXPECT_EQ(Messages(), V(kBad.size(), "[Errors found] Value(s) out of range"));
    EXPECT_EQ(IndexOf(3), -1);
    EXPECT_EQ(IndexOf(4), -1);
    EXPECT_EQ(IndexOf(5), -1);
    EXPECT_EQ(IndexOf(6), -1);
    EXPECT_EQ(IndexOf(9), -1);
    EXPECT_EQ(LinesOf(2), "$22 2 1 8.50000 20.00000 10.00000 10.00000 0.50000 0 7 8 9\n");

    // Words that a command takes as text stay words, whatever they spell.
    const V kText = {"CLIENT Infinity", "PART nan", "DESCRIPTION inf and 1e999", "MATERIAL INF",
                     "ENG_TEXT 7 1 Infinity 10 10 0 5 0.5 0.2 1 1 0",
                     "DEFTOOL NAN 2 6 0 60 2 0 inf",
                     // a drawing group named after a DXF layer, as the element's last word
                     "INFO_CLA 10 -1 0 0 10 1 INFO", "INFO_CLA 11 -1 0 0 10 10 10 NAN",
                     "INFO_CLA 12 -1 5 5 2 Infinity"};
    for (const std::string& line : kText)
        EXPECT_EQ(Type(line), 1) << line;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(LinesOf(10), "$60 10 -1 0.000000 0.000000 10.000000 1.000000 INFO\n");
}

TEST_F(KorvelTest, ALoneCarriageReturnEndsALine) {
    // Files from systems that end lines with CR alone, with CR LF, or mixed: the same lines.
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string e = end;
        std::string path = WriteFile("cr.kvp", "MSG one" + e + "MI" + e + e + "MSG three" + e);
        ScriptReadResult r = ReadScript(path);
        EXPECT_EQ(r.lines, 4);
        EXPECT_EQ(Messages(),
                  (V{"[User message] one",
                     "[Errors found] Unrecognized command in file [" + path + "], line [2]",
                     "[User message] three"}));
    }
    std::string mixed = WriteFile("mixed.kvp", "MSG a\rMSG b\r\nMSG c\nMSG d");
    EXPECT_EQ(ReadScript(mixed).lines, 4);
    EXPECT_EQ(Messages(),
              (V{"[User message] a", "[User message] b", "[User message] c", "[User message] d"}));
    // A CR right after a full piece of an overlong line ends that line.
    std::string full = "MSG " + std::string(250, 'a');
    std::string piece = WriteFile("piece.kvp", full + "\rMSG next\r");
    EXPECT_EQ(ReadScript(piece).lines, 2);
    EXPECT_EQ(Messages(), (V{"[User message] " + std::string(250, 'a'), "[User message] next"}));
}

TEST_F(KorvelTest, OneFileReadShowsAtMostTheLimitOfMessages) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "NOSUCH\n";
    std::string path = WriteFile("flood.kvp", text);
    SetFileMessageLimit(20);
    ResetMessageCount();
    ScriptReadResult r = ReadScript(path);
    EXPECT_EQ(r.rejected, 30); // reading went on as before
    V shown = Messages();
    ASSERT_EQ(shown.size(), 21u);
    EXPECT_EQ(shown[19], "[Errors found] Unrecognized command in file [" + path + "], line [20]");
    EXPECT_EQ(shown[20],
              "[Errors found] 10 more messages about file [" + path + "] were not shown");
    EXPECT_EQ(MessageCount(), 30);

    // An included file shares the count of the file that includes it; questions are always
    // shown; the next read starts afresh.
    WriteFile("inc.kvs", text);
    SetProgramDirectory(ScratchDir());
    std::string outer = WriteFile("outer.kvp", "NOSUCH\nINCLUDE inc.kvs\nNOSUCH\n");
    ReadScript(outer);
    shown = Messages();
    ASSERT_EQ(shown.size(), 21u);
    EXPECT_EQ(shown[20],
              "[Errors found] 12 more messages about file [" + outer + "] were not shown");
    {
        FileMessages group("questions");
        for (int i = 0; i < 25; ++i)
            ShowMessage("Sure?", "Q", kMbYesNo);
    }
    EXPECT_EQ(Messages().size(), 25u);

    // Without a limit (korvelc) every message is shown.
    SetFileMessageLimit(0);
    ReadScript(path);
    EXPECT_EQ(Messages().size(), 30u);
}

} // namespace
} // namespace korvel
