// korvelc html and report: the pages written, their default names, the make that comes before
// a report, failures and usage errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "support.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

class KorvelcReportTest : public test::KorvelTest {
protected:
    int Korvelc(const std::string& arguments, std::string* out, std::string* err) {
        return test::RunCommand("cd " + ScratchDir() + " && SOURCE_DATE_EPOCH=1767225600 " +
                                    std::string(KORVELC_PATH) + " " + arguments,
                                out, err);
    }
    static std::string Source(const std::string& name) {
        return std::string(KORVEL_SOURCE_DIR) + "/" + name;
    }
};

TEST_F(KorvelcReportTest, HtmlWritesTheColouredProgram) {
    std::string out, err;
    ASSERT_EQ(Korvelc("html " + Source("tests/reports/programs/word-kinds.cnc") + " -o v.html",
                      &out, &err),
              0)
        << err;
    std::string page = test::Slurp(ScratchDir() + "/v.html");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n", 0), 0u);
    EXPECT_NE(page.find("<span class=\"lab\"><i>N10</i></span> <span class=\"gcode\">G90</span> "),
              std::string::npos);
    EXPECT_EQ(out, "");
    // Without -o the page is ncfile.html in the current folder, as the desktop program's.
    ASSERT_EQ(Korvelc("html " + Source("tests/reports/programs/no-percent.cnc"), &out, &err), 0);
    EXPECT_NE(test::Slurp(ScratchDir() + "/ncfile.html").find("<span class=\"mcode\">M30</span>"),
              std::string::npos);
    EXPECT_EQ(Korvelc("html missing.cnc -o m.html", &out, &err), 1);
    EXPECT_EQ(err, "[missing.cnc] File not found\n");
    EXPECT_FALSE(fs::exists(ScratchDir() + "/m.html"));
}

TEST_F(KorvelcReportTest, ReportMakesTheProjectFirst) {
    std::string out, err;
    ASSERT_EQ(Korvelc("report " + Source("examples/drilled-plate.kvp") + " -o r.html", &out, &err),
              0)
        << err;
    std::string page = test::Slurp(ScratchDir() + "/r.html");
    EXPECT_NE(page.find("<br><b>Thu Jan  1 00:00:00 2026\n</b>"), std::string::npos);
    EXPECT_NE(page.find("<p>Total Milling Time: 1 min, 20 sec</p>"), std::string::npos);
    // The program went to the project's GCFILE; the summary is not printed.
    EXPECT_TRUE(fs::exists(ScratchDir() + "/drilled-plate.cnc"));
    EXPECT_EQ(out, "");
    ASSERT_EQ(Korvelc("report " + Source("examples/drilled-plate.kvp"), &out, &err), 0);
    EXPECT_TRUE(fs::exists(ScratchDir() + "/report.html"));
}

TEST_F(KorvelcReportTest, AProjectThatCannotBeMadeHasNoReport) {
    std::string project = WriteFile("p.kvp", "PROJECTUNIT MM\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                                             "DRILL 2 1 6 10 20 20 0 0 0 1 -1\nENDOFFILE\n");
    std::string out, err;
    EXPECT_EQ(Korvelc("report " + project + " -o r.html", &out, &err), 1);
    EXPECT_NE(err.find("[Tool(s) missing] "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(ScratchDir() + "/r.html"));
    EXPECT_EQ(Korvelc("report " + ScratchDir() + "/missing.kvp -o r.html", &out, &err), 1);
    EXPECT_FALSE(fs::exists(ScratchDir() + "/r.html"));
}

TEST_F(KorvelcReportTest, UsageErrors) {
    std::string out, err;
    EXPECT_EQ(Korvelc("html", &out, &err), 2);
    EXPECT_NE(err.find("korvelc: html takes one GCODE\n"), std::string::npos);
    EXPECT_EQ(Korvelc("html a.cnc b.cnc", &out, &err), 2);
    EXPECT_EQ(Korvelc("html a.cnc -o", &out, &err), 2);
    EXPECT_EQ(Korvelc("report", &out, &err), 2);
    EXPECT_NE(err.find("korvelc: report takes one PROJECT\n"), std::string::npos);
    EXPECT_EQ(Korvelc("report a.kvp --fast", &out, &err), 2);
    EXPECT_NE(err.find("  html  GCODE [-o OUT.html]\n"), std::string::npos);
}

} // namespace
} // namespace korvel
