// korvelc end to end: the real executable with the data next to it.
#include <gtest/gtest.h>

#include <string>

#include "cli_support.h"
#include "support.h"

namespace korvel {
namespace {

using test::CliRun;
using test::Korvelc;

using test::RunCommand;

using KorvelcTest = test::KorvelTest;

TEST_F(KorvelcTest, ExecReportsRejectedLines) {
    CliRun mi = Korvelc("exec MI");
    EXPECT_EQ(mi.status, 1);
    EXPECT_EQ(mi.err, "[Errors found] Unrecognized command\n");

    CliRun note = Korvelc("exec '# note'");
    EXPECT_EQ(note.status, 0);
    EXPECT_EQ(note.err, "");
    EXPECT_EQ(note.out, "");

    // A rejected line does not stop the others.
    CliRun both = Korvelc("exec 'MSG one' NOSUCH 'MSG two\nnext'");
    EXPECT_EQ(both.status, 1);
    EXPECT_EQ(both.err, "[User message] one\n[Errors found] Unrecognized command\n"
                        "[User message] two\n");
}

TEST_F(KorvelcTest, ExecFromAProjectWithOptionsAfterTheLines) {
    std::string path = WriteFile("p.kvp", "MSG from project\n");
    CliRun r = Korvelc("exec 'MSG typed' -p " + path);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "[User message] from project\n[User message] typed\n");

    CliRun missing = Korvelc("exec -p " + ScratchDir() + "/none.kvp");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "[" + ScratchDir() + "/none.kvp] File not found!\n");

    CliRun dashes = Korvelc("exec -- -p");
    EXPECT_EQ(dashes.status, 1);
    EXPECT_EQ(dashes.err, "[Errors found] Unrecognized command\n");
}

TEST_F(KorvelcTest, CheckFailsOnAnyMessage) {
    std::string good = WriteFile("good.kvp", "VER 2.05\n# fine\n");
    std::string bad = WriteFile("bad.kvp", "VER 2.05\nBLOCK\nMSG x\n");
    EXPECT_EQ(Korvelc("check " + good).status, 0);
    CliRun r = Korvelc("check " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("in file [" + bad + "], line [2]"), std::string::npos);
    EXPECT_EQ(Korvelc("check " + ScratchDir()).status, 1);
}

TEST_F(KorvelcTest, MessagesKeepOneLineEach) {
    std::string path = WriteFile("ver.kvp", "VER 9\n");
    CliRun r = Korvelc("check " + path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("[WARNING!] File has been created by a newer version (9.00).\\n"
                          "You can upgrade KORVEL for free at ",
                          0),
              0u);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
}

TEST_F(KorvelcTest, UsageErrors) {
    EXPECT_EQ(Korvelc("").status, 2);
    EXPECT_EQ(Korvelc("frobnicate").status, 2);
    EXPECT_EQ(Korvelc("check").status, 2);
    EXPECT_EQ(Korvelc("exec -p").status, 2);
    EXPECT_EQ(Korvelc("--answer maybe exec").status, 2);
    EXPECT_EQ(Korvelc("exec --bogus").status, 2);
    CliRun help = Korvelc("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: korvelc"), std::string::npos);
}

TEST_F(KorvelcTest, IncludeFollowsTheHomeOption) {
    MakeHome("home");
    WriteFile("home/extra.kvs", "MSG from home\n");
    CliRun r = Korvelc("--home " + ScratchDir() + "/home exec 'INCLUDE extra.kvs'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "[User message] from home\n");
}

} // namespace
} // namespace korvel
