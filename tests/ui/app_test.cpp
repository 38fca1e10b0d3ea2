// The project life cycle: prompts, file dialogs, titles and the command line.
#include <gtest/gtest.h>

#include <fstream>

#include "base/undo_stack.h"
#include "model/block.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "script/project.h"
#include "support.h"
#include "ui/app.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;
const std::string kPrompt = "[Project has changed] Do you want to store project before proceeding?";
const std::string kExitPrompt =
    "[Project has changed] Do you want to store project before exiting?";

class AppTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(StartApplication(""), StartupResult::kOk);
        Messages();
    }
    std::string Example(const std::string& name) {
        return std::string(KORVEL_SOURCE_DIR) + "/examples/" + name;
    }
};

TEST_F(AppTest, TitlesFollowTheProject) {
    EXPECT_EQ(WindowTitle(), "KORVEL");
    ASSERT_TRUE(NewProject());
    EXPECT_EQ(WindowTitle(), "Korvel");
    ASSERT_TRUE(OpenProjectFile(Example("flange-plate.kvp")));
    EXPECT_EQ(WindowTitle(), "Korvel " + Example("flange-plate.kvp"));
    std::string copy = ScratchDir() + "/copy.kvp";
    SetHeadlessFileAnswer(copy);
    ASSERT_TRUE(SaveProjectAs());
    EXPECT_EQ(WindowTitle(), "Korvel " + copy);
    EXPECT_EQ(GetSettings().project_file, copy);
}

TEST_F(AppTest, ExitAsksOnlyAboutChanges) {
    EXPECT_TRUE(ExitApplication());
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(NewProject());
    EXPECT_EQ(CommandLineOk("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    EXPECT_TRUE(ProjectChanged());
    // Yes opens the save dialog (an unnamed project); cancelling it keeps the program going.
    SetHeadlessAnswer(kIdYes);
    EXPECT_FALSE(ExitApplication());
    EXPECT_EQ(Messages(), V{kExitPrompt});
    SetHeadlessAnswer(kIdCancel);
    EXPECT_FALSE(ExitApplication());
    SetHeadlessAnswer(kIdNo);
    EXPECT_TRUE(ExitApplication());
    std::string path = ScratchDir() + "/exit.kvp";
    SetHeadlessFileAnswer(path);
    SetHeadlessAnswer(kIdYes);
    EXPECT_TRUE(ExitApplication());
    EXPECT_TRUE(std::ifstream(path).good());
    EXPECT_FALSE(ProjectChanged());
}

TEST_F(AppTest, NewAndOpenAskFirst) {
    CommandLineOk("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    SetHeadlessAnswer(kIdCancel);
    EXPECT_FALSE(NewProject());
    EXPECT_TRUE(Block_valid());
    SetHeadlessAnswer(kIdNo);
    SetHeadlessFileAnswer(Example("stepped-boss.kvp"));
    EXPECT_TRUE(OpenProjectDialog());
    EXPECT_EQ(Messages(), (V{kPrompt, kPrompt}));
    EXPECT_FALSE(ProjectChanged());
    EXPECT_EQ(UndoDepth(), 0);
    EXPECT_EQ(TopLevelText(), "2");
    EXPECT_FALSE(TakeZoomToBlockRequest()); // the file has its own VIEW line
    // Saving under the project's own name needs no dialog.
    std::string path = ScratchDir() + "/own.kvp";
    SetHeadlessFileAnswer(path);
    ASSERT_TRUE(SaveProjectAs());
    SetHeadlessFileAnswer("");
    CommandLineOk("QUALITY 5");
    EXPECT_TRUE(SaveProjectCommand());
    EXPECT_FALSE(ProjectChanged());
}

TEST_F(AppTest, TheCommandLine) {
    EXPECT_EQ(CommandLineOk("FROBNICATE"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Unrecognized command"});
    EXPECT_EQ(CommandLineOk("MSG hello"), 1);
    EXPECT_FALSE(ProjectChanged());
    Messages();
    EXPECT_EQ(UnitLabel(), "mm");
    CommandLineOk("COORDINATES G59.2 0 0 0");
    EXPECT_EQ(CursorPositionText(12.5, -3), "G59.2    X12.500  Y-3.000");
    CommandLineOk("COORDINATES G55 0 0 0");
    EXPECT_EQ(CursorPositionText(1, 2), "G55    X1.000  Y2.000");
}

TEST_F(AppTest, AProjectNamedAtStartUp) {
    std::string path = WriteFile("start.kvp", "PROJECTUNIT MM\nBLOCK 1 50 40 10 0 0 -10 0 0 -1\n"
                                              "ENDOFFILE\n");
    ASSERT_EQ(StartApplication("\"" + path + "\""), StartupResult::kOk);
    EXPECT_TRUE(Block_valid());
    EXPECT_EQ(UndoDepth(), 0);
    EXPECT_TRUE(TakeZoomToBlockRequest()); // no VIEW line: zoom to the block
    EXPECT_FALSE(TakeZoomToBlockRequest());
    EXPECT_EQ(GetSettings().view_bits & 1, 0);
    SetProgramDirectory(ScratchDir());
    EXPECT_EQ(StartApplication(""), StartupResult::kConfigMissing);
}

} // namespace
} // namespace korvel
