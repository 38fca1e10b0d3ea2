// korvelc's exit status: a rejected line anywhere, a file that cannot be read, and output that
// did not arrive are failures for every command.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "support.h"

namespace korvel {
namespace {

using test::CliRun;
using test::Korvelc;

using KorvelcExitTest = test::KorvelTest;

TEST_F(KorvelcExitTest, ARejectedProjectLineFailsEveryCommand) {
    // The bad line is not the last one: the file as a whole still "ends well".
    std::string bad = WriteFile("bad.kvp", "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                                           "NOSUCH 2 1 8.5 10\n"
                                           "DRILL 3 1 8.5 10 20 20 0 0 0 1 -1\n"
                                           "# the end\n");
    const std::string kMessage =
        "[Errors found] Unrecognized command in file [" + bad + "], line [2]\n";
    for (const char* command : {"check", "dump", "exec -p"}) {
        SCOPED_TRACE(command);
        CliRun r = Korvelc(std::string(command) + " " + bad);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, kMessage);
    }
    // What was read is still there: the model is printed and the save is made.
    CliRun dump = Korvelc("dump " + bad);
    EXPECT_EQ(nlohmann::json::parse(dump.out)["drills"].size(), 1u);
    std::string saved = ScratchDir() + "/saved.kvp";
    EXPECT_EQ(Korvelc("exec -p " + bad + " -o " + saved).status, 1);
    EXPECT_NE(test::Slurp(saved).find("$22 3 1 "), std::string::npos);

    std::string good = WriteFile("good.kvp", "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n");
    for (const char* command : {"check", "dump", "exec -p"})
        EXPECT_EQ(Korvelc(std::string(command) + " " + good).status, 0) << command;

    // An outline the file leaves open.
    std::string open = WriteFile("open.kvp", "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                                             "BULGE 2 1 0 0 5 0 0 0 -1 0 0\nLINETO 10 0\n");
    EXPECT_EQ(Korvelc("dump " + open).status, 1);
}

TEST_F(KorvelcExitTest, ARejectedProjectLineFailsMakeRenderAndVerifyAfterTheirWork) {
    // They go on with what was accepted, and fail at the end.
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/drilled-plate.kvp";
    std::string bad = WriteFile("bad-plate.kvp", "NOSUCH 2 1 8.5 10\n" + test::Slurp(example));
    const std::string kMessage =
        "[Errors found] Unrecognized command in file [" + bad + "], line [1]\n";
    std::string cnc = ScratchDir() + "/plate.cnc", svg = ScratchDir() + "/plate.svg";
    for (const std::string& project : {example, bad}) {
        SCOPED_TRACE(project);
        int status = project == bad ? 1 : 0;
        std::filesystem::remove(cnc);
        CliRun make = Korvelc("make " + project + " -o " + cnc);
        EXPECT_EQ(make.status, status) << make.err;
        EXPECT_NE(test::Slurp(cnc).find("M30"), std::string::npos);
        CliRun render = Korvelc("render " + project + " -o " + svg);
        EXPECT_EQ(render.status, status) << render.err;
        EXPECT_NE(test::Slurp(svg).find("<svg"), std::string::npos);
        CliRun verify = Korvelc("verify " + project);
        EXPECT_EQ(verify.status, status) << verify.err;
        if (project == bad) {
            // The message comes first; make and verify then report their compilation.
            EXPECT_EQ(make.err.rfind(kMessage, 0), 0u) << make.err;
            EXPECT_EQ(render.err, kMessage);
            EXPECT_EQ(verify.err.rfind(kMessage, 0), 0u) << verify.err;
        }
    }
}

TEST_F(KorvelcExitTest, AFullTableFailsTheRun) {
    std::string text = "BLOCK 1 1000 1000 20 0 0 -20 0 0 -1\n";
    for (int id = 2; id < 1200; ++id)
        text += "DRILL " + std::to_string(id) + " 1 3 5 " + std::to_string(id % 100) + " " +
                std::to_string(id / 100) + " 0 0 0 1 -1\n";
    text += "# the end\n";
    std::string path = WriteFile("many.kvp", text);
    CliRun r = Korvelc("exec -p " + path + " -o " + ScratchDir() + "/out.kvp");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Too many Drills"), std::string::npos);
}

TEST_F(KorvelcExitTest, OutputThatDidNotArriveFailsTheRun) {
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/stepped-boss.kvp";
    const std::string kFailed = "korvelc: writing the standard output failed\n";
    // In a subshell, so that its own redirection of the output wins.
    auto run = [](const std::string& arguments, std::string* err) {
        return test::RunCommand("(" + std::string(KORVELC_PATH) + " " + arguments + ")", nullptr,
                                err);
    };
    std::string err;
    EXPECT_EQ(run("dump " + example + " >/dev/full", &err), 1);
    EXPECT_EQ(err, kFailed);
    EXPECT_EQ(run("dump " + example + " >&-", &err), 1);
    EXPECT_EQ(err, kFailed);
    EXPECT_EQ(run("--help >/dev/full", &err), 1);
    EXPECT_EQ(run("dump " + example + " >/dev/null", &err), 0);
}

TEST_F(KorvelcExitTest, DumpIntoAFullFileSystem) {
    // A file system that fills part-way through the model: a small tmpfs of its own, mounted
    // in a private mount namespace so that nothing outside the test sees it.
    std::string text = "BLOCK 1 1000 1000 20 0 0 -20 0 0 -1\n";
    for (int id = 2; id < 300; ++id)
        text += "DRILL " + std::to_string(id) + " 1 3 5 " + std::to_string(id % 100) + " " +
                std::to_string(id / 100) + " 0 0 0 1 -1\n";
    std::string project = WriteFile("big.kvp", text);
    std::string mnt = ScratchDir() + "/small";
    std::string script = "mkdir -p " + mnt + " && mount -t tmpfs -o size=16k tmpfs " + mnt +
                         " || exit 100; " + KORVELC_PATH + " dump " + project + " >" + mnt +
                         "/model.json; echo $?; wc -c <" + mnt + "/model.json";
    std::string out, err;
    int status = test::RunCommand("unshare -m sh -c '" + script + "'", &out, &err);
    if (status != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and unshare): " << err;
    EXPECT_EQ(out.substr(0, 2), "1\n") << out;
    EXPECT_LE(std::stoul(out.substr(2)), 16384u); // cut off, and said so
    EXPECT_NE(err.find("korvelc: writing the standard output failed"), std::string::npos);
    // The whole model is larger than that file system.
    CliRun whole = Korvelc("dump " + project);
    EXPECT_EQ(whole.status, 0);
    EXPECT_GT(whole.out.size(), 16384u);
}

} // namespace
} // namespace korvel
