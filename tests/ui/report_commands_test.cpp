// G-Code/Make, G-Code/View and File/Print report: the checks in front of them, what they write
// and start, and when they are enabled.
#include <gtest/gtest.h>

#include <filesystem>

#include "cam/cam_support.h"
#include "cam/compile.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "ui/report_commands.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class ReportCommandsTest : public test::CamTest {
protected:
    void SetUp() override {
        CamTest::SetUp();
        here_ = std::make_unique<test::ScopedChdir>(ScratchDir());
        marker_ = ScratchDir() + "/viewer-ran";
        // The viewer writes down the page it was given.
        MutableSettings().htmlview = "echo >" + marker_;
        SetStartedProgramsWaited(true);
    }
    void TearDown() override {
        SetStartedProgramsWaited(false);
        here_.reset();
        CamTest::TearDown();
    }
    std::string Viewed() {
        std::string shown = test::Slurp(marker_);
        std::filesystem::remove(marker_);
        return shown;
    }
    std::unique_ptr<test::ScopedChdir> here_;
    std::string marker_;
};

TEST_F(ReportCommandsTest, NothingBeforeMakeAndBothPagesAfterIt) {
    ASSERT_EQ(Open(std::string(KORVEL_SOURCE_DIR) + "/examples/drilled-plate.kvp"), 1);
    EXPECT_TRUE(MenuMakeEnabled());
    EXPECT_FALSE(MenuViewGCodeEnabled());
    EXPECT_FALSE(MenuPrintReportEnabled());
    EXPECT_EQ(MenuPrintReport(), 0);
    EXPECT_EQ(Messages(), V{"[Project has changed] Use Korvel/Make to compile the project"});
    // View before Make asks first; no cancels.
    EXPECT_EQ(MenuViewGCode(), 0);
    EXPECT_EQ(Messages(), V{"[Project not compiled!] View existing file?"});
    EXPECT_EQ(Viewed(), "");

    SetGCodeOutputFile(OutputPath());
    EXPECT_EQ(MenuMake(), 1);
    Messages();
    EXPECT_TRUE(MenuViewGCodeEnabled());
    EXPECT_TRUE(MenuPrintReportEnabled());
    EXPECT_EQ(MenuViewGCode(), 1);
    EXPECT_EQ(Viewed(), ScratchDir() + "/ncfile.html\n");
    EXPECT_NE(test::Slurp(ScratchDir() + "/ncfile.html").find("<span class=\"rem\"><b>(KORVEL, "),
              std::string::npos);
    EXPECT_EQ(MenuPrintReport(), 1);
    EXPECT_EQ(Viewed(), ScratchDir() + "/report.html\n");
    EXPECT_NE(test::Slurp(ScratchDir() + "/report.html").find("Total Milling Time: 1 min, 20 sec"),
              std::string::npos);
    EXPECT_EQ(Messages(), V{});

    // An edit puts the program out of date again.
    MarkProjectEdited();
    EXPECT_FALSE(MenuPrintReportEnabled());
    EXPECT_FALSE(MenuViewGCodeEnabled());
    // Answered yes, View shows the file there is.
    SetHeadlessAnswer(kIdYes);
    EXPECT_EQ(MenuViewGCode(), 1);
    EXPECT_EQ(Messages(), V{"[Project not compiled!] View existing file?"});
    EXPECT_EQ(Viewed(), ScratchDir() + "/ncfile.html\n");
}

TEST_F(ReportCommandsTest, MakeNeedsABlock) {
    EXPECT_FALSE(MenuMakeEnabled());
    EXPECT_FALSE(MenuPrintReportEnabled());
}

} // namespace
} // namespace korvel
