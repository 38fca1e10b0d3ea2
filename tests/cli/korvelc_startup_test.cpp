// korvelc's loading steps after the configuration.
#include <gtest/gtest.h>

#include <cstdio>

#include "support.h"

namespace korvel {
namespace {

using KorvelcStartupTest = test::KorvelTest;

TEST_F(KorvelcStartupTest, AMissingThreadTableMakesTheDatabaseReadOnly) {
    MakeHome("home");
    std::remove((ScratchDir() + "/home/threads.dat").c_str());
    std::string out, err;
    int status = test::RunCommand("cd " + ScratchDir() + " && " + KORVELC_PATH + " --home " +
                                      ScratchDir() + "/home exec '# nothing'",
                                  &out, &err);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err, "[Korvel] ERRORS in Tool Data Base. Please read the report in DB_ERR.TXT\\n"
                   "Tool Data base files will not be updated on exit!\n"
                   "[Korvel] WARNING!\\nTools Data Base is READONLY\\n\\nAny changes made will be "
                   "effective only during this seccion\\nand will be lost on exit\n");
    std::string report;
    test::RunCommand("cat " + ScratchDir() + "/DB_ERR.TXT", &report, nullptr);
    EXPECT_EQ(report, "1\t" + ScratchDir() + "/home/threads.dat: File missing!\n");
}

} // namespace
} // namespace korvel
