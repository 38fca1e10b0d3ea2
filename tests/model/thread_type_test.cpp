// The thread-type table: the shipped threads.dat, look-ups, units and a full table.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "model/thread_type.h"
#include "script/thread_file.h"
#include "base/units.h"
#include "support.h"
#include "tooldb/library.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;
using ThreadTypeTest = test::KorvelTest;

std::string ShippedData() { return std::string(KORVEL_SOURCE_DIR) + "/data"; }

TEST_F(ThreadTypeTest, ShippedTableLoadsAndNamesThreads) {
    SetProgramDirectory(ShippedData());
    ASSERT_GT(LoadThreadDefinitions(), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ThreadStr(10, -1.5), "M10 LH");
    EXPECT_EQ(ThreadStr(10, 1.5), "M10");
    EXPECT_EQ(ThreadStr(10, 1.25), "M10X1.25");
    EXPECT_EQ(ThreadStr(10, 1.3), "M10X1.25"); // within 0.1
    EXPECT_EQ(ThreadStr(11, 1.5), "");
    int row = ThreadTypeIndex(12, 0); // pitch 0: the first row of that diameter
    EXPECT_EQ(ThreadTypeStr(row, false), "M12");
    EXPECT_DOUBLE_EQ(ThreadDrill(row), 10.2);
    EXPECT_DOUBLE_EQ(ThreadMillDia(row), 12);
    // Inch rows are converted into a millimetre table.
    int unc = ThreadTypeIndex(6.35, 1.27);
    ASSERT_GE(unc, 0);
    EXPECT_EQ(ThreadTypeStr(unc, false), "1/4-20UNC");
    EXPECT_NEAR(ThreadDrill(unc), 0.201 * 25.4, 1e-9);
    EXPECT_EQ(ThreadTypeStr(unc, true), "1/4-20UNC           \t6.350\t1.270\t5.105");
    EXPECT_LE(ThreadTypeList().size(), 128u);
    EXPECT_EQ(ThreadDiameter(-1), -1);
    EXPECT_EQ(ThreadTypeStr(127, true), "");
}

TEST_F(ThreadTypeTest, UnitWordsAndSyntax) {
    EXPECT_EQ(Type("THREADTYPE m5 5 0.8 4.2"), 1);
    EXPECT_EQ(Type("THREADTYPE 1/2-13UNC 0.5 0.0769231 0.4219 INCH"), 1);
    EXPECT_EQ(Type("THREADTYPE M6 6 1 5 CM"), 0);
    EXPECT_EQ(Type("THREADTYPE M6 6 1"), 0);
    EXPECT_EQ(Messages(), V(2, "[Errors found] Syntax error"));
    EXPECT_EQ(ThreadTypeStr(0, false), "M5");
    EXPECT_DOUBLE_EQ(ThreadDiameter(1), 12.7);
    SetUserUnit(kUnitInch);
    EXPECT_EQ(Type("THREADTYPE M8 8 1.25 6.8 MM"), 1);
    EXPECT_NEAR(ThreadDiameter(2), 8 / 25.4, 1e-12);
}

TEST_F(ThreadTypeTest, The129thRowIsRejected) {
    std::string text;
    for (int i = 1; i <= 129; ++i)
        text += "THREADTYPE T" + std::to_string(i) + " " + std::to_string(i) + " 1 0.5\n";
    std::string path = WriteFile("threads.dat", text);
    SetProgramDirectory(ScratchDir());
    EXPECT_EQ(LoadThreadDefinitions(), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many thread type definitions, file [" + path +
                            "], line [129]"});
    EXPECT_EQ(ThreadTypeList().size(), 128u);
}

TEST_F(ThreadTypeTest, AMissingTableIsReported) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(ScratchDir().c_str()), 0);
    SetProgramDirectory(ScratchDir() + "/nowhere");
    EXPECT_EQ(LoadThreadDefinitions(), -1);
    EXPECT_EQ(ReportLoadError("", true), 1);
    std::stringstream report;
    report << std::ifstream(ScratchDir() + "/DB_ERR.TXT").rdbuf();
    EXPECT_EQ(report.str(), "1\t" + ScratchDir() + "/nowhere/threads.dat: File missing!\n");
    // With a library directory the table is looked for there.
    SetLibraryDirectory(ShippedData());
    EXPECT_GT(LoadThreadDefinitions(), 0);
    ASSERT_EQ(chdir(cwd), 0);
}

} // namespace
} // namespace korvel
