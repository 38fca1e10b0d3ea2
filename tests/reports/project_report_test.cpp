// The project report: every section of every example with the model's figures, the company
// block, the work zero, the tools with their times, escaping, failures, and the pages checked
// by the HTML checker.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/text.h"
#include "base/units.h"
#include "cam/cam_support.h"
#include "cam/compile.h"
#include "cam/program_frame.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/settings.h"
#include "reports/project_report.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

std::vector<std::string> Examples() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(std::string(KORVEL_SOURCE_DIR) + "/examples"))
        if (entry.path().extension() == ".kvp")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool Has(const std::string& page, const std::string& text) {
    return page.find(text) != std::string::npos;
}

// The HTML checker's verdict on a page: "" when it passes, else its problems.
std::string CheckerProblems(const std::string& path) {
    std::string out, err;
    int status = test::RunCommand("python3 " + std::string(KORVEL_SOURCE_DIR) +
                                      "/tests/reports/html_check.py " + path,
                                  &out, &err);
    return status == 0 ? "" : out + err + "(exit " + std::to_string(status) + ")";
}

std::string Row(const std::string& label, const std::string& cell) {
    return "\t<tr>\n\t\t<td class=\"w150\"><p>" + label + "</p></td>\n\t\t" + cell + "\n\t</tr>\n";
}

class ReportTest : public test::CamTest {
protected:
    void SetUp() override {
        CamTest::SetUp();
        FixCurrentTime(test::kFixedTime);
    }
    void TearDown() override {
        FixCurrentTime(-1);
        CamTest::TearDown();
    }
    // The report of a project written from text, also checked by the HTML checker.
    std::string Report(const std::string& project) {
        EXPECT_EQ(OpenText(project), 1);
        return Checked();
    }
    std::string Checked() {
        std::string path = ScratchDir() + "/report.html";
        EXPECT_EQ(WriteReport(path), 1);
        EXPECT_EQ(CheckerProblems(path), "");
        return test::Slurp(path);
    }
};

class ExampleReport : public ReportTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ExampleReport, HasEverySectionWithTheModelsFigures) {
    ASSERT_EQ(Open(std::string(KORVEL_SOURCE_DIR) + "/examples/" + GetParam() + ".kvp"), 1);
    // The times come from a Make; an example this version cannot machine yet has none.
    int made = 0;
    Compile(&made);
    Messages();
    std::string page = Checked();
    const Settings& s = GetSettings();
    BlockRecord b = GetBlock();
    V sections = {"<!DOCTYPE html>\n<HTML>\n<HEAD>\n<meta charset=\"utf-8\">\n",
                  "<td class=\"w450\"><h1>Korvel Report</h1></td>",
                  "<br><b>Thu Jan  1 00:00:00 2026\n</b>",
                  "<h2><u>Station</u></h2>",
                  Row("CNC Machining Center", "<td><p><b>" + s.machine_name + "</b></p></td>"),
                  "<h2><u>Project</u></h2>",
                  Row("Project file", "<td><p><b>" + s.project_file + "</b></p></td>"),
                  Row("Parts to be produced", Sprintf("<td><p>%d</td>", s.noofparts)),
                  Row("G-Code File", "<td><p>" + OutputGCodeFile() + "</td>"),
                  Row("G-Code Programm", Sprintf("<td><p>O%d</td>", s.program)),
                  "<h2><u>Set up</u></h2>",
                  Row("Block", "<td><p><b>" + b.material +
                                   Sprintf(". </b><i>Dimesions (LxWxH):</i><b> %0.3f x %0.3f x "
                                           "%0.3f</b></p></td>",
                                           b.length, b.width, b.height)),
                  "<td class=\"w150\"><p>Coordinates</p></td>\n\t\t<td><p><b>" +
                      WorkOffsetName(GetCoordinates().work_offset) + "</b><i>",
                  s.use_g44 ? "Tool length (G44)" : "Tool zero (G43)",
                  "<h2><u>Tools</u></h2>",
                  "<p><i>Mill Time (sec)</i></p>",
                  Sprintf("<p>Total Milling Time: %d min, ", static_cast<int>(TotalMillTime())),
                  UserUnit() == kUnitInch ? "Units: Imperial (inch)<br></i></p>\n"
                                          : "Units: Metric (mm)<br></i></p>\n",
                  "<p><i>Korvel Version 2.05 / 30 JAN 2009</i></p>\n</BODY>\n</HTML>\n"};
    auto bold = [](const std::string& t) { return "<td><p><b>" + t + "</b></p></td>"; };
    auto open = [](const std::string& t) { return "<td><p>" + t + "</td>"; };
    if (!s.company.empty())
        sections.push_back("<h1>" + s.company + "</h1>");
    if (!s.operator_name.empty())
        sections.push_back(Row("Machine Operator", bold(s.operator_name)));
    if (!s.user.empty())
        sections.push_back(Row("User", bold(s.user)));
    if (!s.client.empty())
        sections.push_back(Row("Client", open(s.client)));
    if (!s.project.empty())
        sections.push_back(Row("Project", bold(s.project)));
    if (!s.part.empty())
        sections.push_back(Row("Part Number", open(s.part)));
    if (!s.description.empty())
        sections.push_back(Row("Description", open(s.description)));
    for (const std::string& section : sections)
        EXPECT_TRUE(Has(page, section)) << GetParam() << ": missing\n" << section;
    // Every tool in the holder has its row, with the database's figures and its time.
    int tools = 0;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        std::string name = GetAttachedTool(place).name;
        if (name.empty())
            continue;
        ++tools;
        int type = 0, flutes = 0;
        double dia = 0, dia2 = 0, length = 0, pitch = 0;
        std::string description;
        ASSERT_GE(GetToolDataExt(name, type, dia, dia2, length, flutes, pitch, &description), 0);
        std::string row = Sprintf("\t\t<td class=\"w30\"><p>%d</p></td>\n", place) +
                          "\t\t<td class=\"w150\"><p><b>" + name + "</b></p></td>\n" +
                          "\t\t<td class=\"w110\"><p>" + tooltype(type) + "</p></td>\n" +
                          Sprintf("\t\t<td class=\"w60\"><p>%0.3f</p></td>\n"
                                  "\t\t<td class=\"w60\"><p>%0.3f</p></td>\n"
                                  "\t\t<td class=\"w60\"><p>%0.0f</p></td>\n",
                                  dia, length, MillTime(place) * 60) +
                          "\t\t<td><p>" + description + "</p></td>\n";
        EXPECT_TRUE(Has(page, row)) << GetParam() << ": no row\n" << row;
    }
    if (tools == 0) { // an empty holder: the header row only
        EXPECT_TRUE(Has(page, "<p><i>Description</i></p></td>\n\t</tr>\n</table>\n"));
    }
    if (made) {
        EXPECT_GT(TotalMillTime(), 0) << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleReport, ::testing::ValuesIn(Examples()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST_F(ReportTest, TheDrilledPlateAfterItsMake) {
    ASSERT_EQ(Open(std::string(KORVEL_SOURCE_DIR) + "/examples/drilled-plate.kvp"), 1);
    int made = 0;
    Compile(&made);
    ASSERT_EQ(made, 1) << ::testing::PrintToString(Messages());
    std::string page = Checked();
    EXPECT_TRUE(Has(page, "<h1>Korvel Demo Workshop</h1><table class=\"title\">\n"));
    EXPECT_TRUE(Has(page, Row("Machine Operator", "<td><p><b>J. Machinist</b></p></td>")));
    EXPECT_TRUE(Has(page, Row("Part Number", "<td><p>MP-200-01</td>")));
    EXPECT_TRUE(Has(page, Row("G-Code Programm", "<td><p>O2000</td>")));
    EXPECT_TRUE(Has(page, "<b>ALMG3. </b><i>Dimesions (LxWxH):</i><b> 200.000 x 120.000 x "
                          "15.000</b>"));
    EXPECT_TRUE(Has(page, "<td><p><b>G54</b><i> at Block left,lower edge</i></p></td>"));
    EXPECT_TRUE(Has(page, Row("Tool zero (G43)", "<td><p>On block (top face)</p></td>")));
    EXPECT_TRUE(Has(page, "<p><b>CENTER DRILL 3.15</b></p></td>\n\t\t<td class=\"w110\"><p>"
                          "Center Drill</p></td>\n\t\t<td class=\"w60\"><p>3.150</p></td>\n\t\t"
                          "<td class=\"w60\"><p>8.000</p></td>\n\t\t<td class=\"w60\"><p>19</p>"));
    EXPECT_TRUE(Has(page, "<p>Total Milling Time: 1 min, 20 sec</p>\n"));
}

TEST_F(ReportTest, TheCompanyBlockAndEveryTextAreEscaped) {
    Settings& s = MutableSettings();
    EXPECT_EQ(OpenText("BLOCK 1 100 80 20 0 0 -20 0 0 -1\nENDOFFILE\n"), 1);
    s.company.clear();
    s.company_logo = "Logo";
    s.company_img.clear();
    std::string page = Checked();
    EXPECT_TRUE(Has(page, "<BODY>\n<table class=\"title\">"));
    EXPECT_FALSE(Has(page, "<img"));
    s.company = "Smith & Sons <b>";
    s.company_logo = "\"Precision\" parts";
    s.company_img = "/srv/logos/our logo\".png";
    s.operator_name = "<script>alert(1)</script>";
    s.description = "Caf\xe9 plate";
    s.project_file = "/tmp/a&b.kvp";
    page = Checked();
    EXPECT_TRUE(Has(page, "<BODY>\n<img src=\"/srv/logos/our%20logo%22.png\" alt=\"\" "
                          "height=\"80\" class=\"logo\">\n<h1>Smith &amp; Sons &lt;b&gt;</h1>"
                          "<p><b><u>&quot;Precision&quot; parts</u></b></p>\n"
                          "<br class=\"clear\">\n<table class=\"title\">"));
    EXPECT_TRUE(Has(page, "<b>&lt;script&gt;alert(1)&lt;/script&gt;</b>"));
    EXPECT_TRUE(Has(page, "<td><p>Caf\xc3\xa9 plate</td>"));
    EXPECT_TRUE(Has(page, "<b>/tmp/a&amp;b.kvp</b>"));
    EXPECT_FALSE(Has(page, "<script"));
    // Without a company name neither the name nor the logo line is written.
    s.company.clear();
    page = Checked();
    EXPECT_FALSE(Has(page, "<h1>Smith"));
    EXPECT_FALSE(Has(page, "Precision"));
}

TEST_F(ReportTest, WhereTheWorkZeroAndTheToolZeroLie) {
    struct Case {
        const char* block;
        const char* coordinates;
        const char* tool_zero;
    };
    const Case cases[] = {
        {"0 0 -20", "<b>G54</b><i> at Block left,lower edge</i>", "<p>On block (top face)</p>"},
        {"0 -80 0", "<b>G54</b><i> at Block left,upper edge</i>",
         "<p>On block base (bottom face)</p>"},
        {"-100 0 5", "<b>G54</b><i> at Block right,lower edge</i>",
         "<p><b>5.000 below block base</b></p>"},
        {"-100 -80 -20", "<b>G54</b><i> at Block right,upper edge</i>",
         "<p>On block (top face)</p>"},
        {"-10 -5.5 -25", "<b>G54</b><i>. Block left, lower edge at <b>X-10.000 Y-5.500</b></i>",
         "<p><b>25.000 above block base</b></p>"},
    };
    for (const Case& c : cases) {
        std::string page =
            Report("BLOCK 1 100 80 20 " + std::string(c.block) + " 0 0 -1\nENDOFFILE\n");
        EXPECT_TRUE(
            Has(page, Row("Coordinates", "<td><p>" + std::string(c.coordinates) + "</p></td>")))
            << c.block;
        EXPECT_TRUE(Has(page, Row("Tool zero (G43)", "<td>" + std::string(c.tool_zero) + "</td>")))
            << c.block;
    }
    // The extra work offsets are named as the program selects them; G44 names the tool length.
    std::string page = Report("USE G44\nCOORDINATES G59.2 0 0 0\n"
                              "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nENDOFFILE\n");
    EXPECT_TRUE(Has(page, "<td><p><b>G59.2</b><i> at Block left,lower edge</i></p></td>"));
    EXPECT_TRUE(Has(page, Row("Tool length (G44)", "<td><p>On block (top face)</p></td>")));
}

TEST_F(ReportTest, TheToolHolderAsItIsAndTheUnit) {
    SetUserUnit(kUnitInch);
    std::string page = Report("PROJECTUNIT INCH\nBLOCK 1 4 3 1 0 0 -1 0 0 -1\nENDOFFILE\n");
    // An empty holder: the header row only.
    EXPECT_TRUE(Has(page, "<td><p><i>Description</i></p></td>\n\t</tr>\n</table>\n"
                          "<p>Total Milling Time: 0 min, 0 sec</p>\n"));
    EXPECT_TRUE(Has(page, "Units: Imperial (inch)<br></i></p>\n"));
    PutAttachedTool(7, {"DRILL 8", 0, 0, 0});
    PutAttachedTool(3, {"NO SUCH TOOL", 0, 0, 0});
    AddMillTime(7, 1.5);
    page = Checked();
    std::size_t three = page.find("<td class=\"w30\"><p>3</p></td>");
    std::size_t seven = page.find("<td class=\"w30\"><p>7</p></td>");
    ASSERT_NE(three, std::string::npos);
    ASSERT_NE(seven, std::string::npos);
    EXPECT_LT(three, seven);
    EXPECT_TRUE(Has(page, "<p><b>NO SUCH TOOL</b></p></td>\n\t\t<td class=\"w110\"><p>Not in the "
                          "tool database</p></td>\n\t\t<td class=\"w60\"><p></p></td>\n\t\t"
                          "<td class=\"w60\"><p></p></td>\n\t\t<td class=\"w60\"><p>0</p></td>"));
    EXPECT_TRUE(Has(page, "<td class=\"w60\"><p>90</p></td>")); // 1.5 min of DRILL 8
    EXPECT_TRUE(Has(page, "<p>Total Milling Time: 1 min, 30 sec</p>\n"));
}

TEST_F(ReportTest, AFileThatCannotBeWrittenIsNamedAndNothingIsStarted) {
    std::string path = ScratchDir() + "/no/such/dir/report.html";
    EXPECT_EQ(WriteReport(path), 0);
    EXPECT_EQ(Messages(), V{"[" + path + "] Cannot open file for writing"});
    // Print report writes report.html here and starts the viewer on it.
    test::ScopedChdir here(ScratchDir());
    std::string marker = ScratchDir() + "/viewer-ran";
    MutableSettings().htmlview = "echo >" + marker;
    SetStartedProgramsWaited(true);
    EXPECT_EQ(PrintReport(), 1);
    SetStartedProgramsWaited(false);
    EXPECT_EQ(test::Slurp(marker), ScratchDir() + "/report.html\n");
    EXPECT_TRUE(Has(test::Slurp(ScratchDir() + "/report.html"), "Korvel Report"));
}

} // namespace
} // namespace korvel
