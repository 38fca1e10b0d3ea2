// The desktop program without a display: start-up, the command line, undo and redo, the
// project-changed prompt, saving and reopening, and numbers under another locale.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

#include "base/text.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "script/project.h"
#include "support.h"
#include "ui/app.h"
#include "ui/qt/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_port.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class GuiTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        port_.AnswerAutomatically(kIdNo);
        window_ = StartDesktop(port_, "", false);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        window_.reset();
        InstallUiPort(nullptr);
        KorvelTest::TearDown();
    }
    void TypeCommand(const std::string& text) {
        QLineEdit* field = window_->Commands()->Field();
        field->setText(QString::fromStdString(text));
        QTest::keyClick(field, Qt::Key_Return);
    }
    QtPort port_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(GuiTest, StartsWithTheShippedDataSilently) {
    EXPECT_TRUE(port_.TakeShown().empty());
    EXPECT_EQ(window_->windowTitle(), "KORVEL");
    for (const char* name : {"new", "open", "save", "saveas", "printreport", "exit", "undo", "redo",
                             "configuration", "make", "viewgcode", "about"})
        EXPECT_NE(window_->Action(name), nullptr) << name;
    EXPECT_EQ(GetSettings().machine_name, "VMC-850");
}

TEST_F(GuiTest, ATypedCommandAndItsUndo) {
    TypeCommand("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    EXPECT_TRUE(Block_valid());
    EXPECT_TRUE(window_->Commands()->Field()->text().isEmpty());
    TypeCommand("DRILL 2 1 8 10 20 20 0 0 0 1 -1");
    int type, index;
    EXPECT_TRUE(FindID(2, type, index));
    window_->Action("undo")->trigger();
    EXPECT_FALSE(FindID(2, type, index));
    window_->Action("redo")->trigger();
    EXPECT_TRUE(FindID(2, type, index));
    TypeCommand("NOSUCHWORD");
    EXPECT_EQ(port_.TakeShown(), V{"[Errors found] Unrecognized command"});
    EXPECT_EQ(window_->Commands()->Field()->text(), "NOSUCHWORD"); // kept to be corrected
}

TEST_F(GuiTest, ReportAndViewWaitForAProgram) {
    EXPECT_FALSE(window_->Action("make")->isEnabled());
    EXPECT_FALSE(window_->Action("printreport")->isEnabled());
    TypeCommand("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    EXPECT_TRUE(window_->Action("make")->isEnabled());
    EXPECT_FALSE(window_->Action("viewgcode")->isEnabled());
    EXPECT_FALSE(window_->Action("printreport")->isEnabled());
    // Triggered all the same (a shortcut), Print report says to make the program first.
    window_->Action("printreport")->setEnabled(true);
    window_->Action("printreport")->trigger();
    EXPECT_EQ(port_.TakeShown(), V{"[Project has changed] Use Korvel/Make to compile the project"});
}

TEST_F(GuiTest, NewAsksAboutAChangedProject) {
    TypeCommand("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    port_.AnswerAutomatically(kIdCancel);
    window_->Action("new")->trigger();
    EXPECT_TRUE(Block_valid());
    port_.AnswerAutomatically(kIdNo);
    window_->Action("new")->trigger();
    EXPECT_FALSE(Block_valid());
    EXPECT_EQ(window_->windowTitle(), "Korvel");
    EXPECT_EQ(port_.TakeShown(),
              V(2, "[Project has changed] Do you want to store project before proceeding?"));
}

TEST_F(GuiTest, SaveAndReopen) {
    TypeCommand("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    TypeCommand("RBULGE 2 1 40 30 5 10 10 3 0.5 0 0 -1 0 0");
    std::string path = ScratchDir() + "/gui.kvp";
    port_.AnswerAutomatically(kIdNo, path);
    window_->Action("saveas")->trigger();
    EXPECT_EQ(window_->windowTitle(), QString::fromStdString("Korvel " + path));
    EXPECT_FALSE(ProjectChanged());
    std::string saved = ProjectText();
    window_->Action("new")->trigger();
    window_->Action("open")->trigger();
    EXPECT_EQ(ProjectText(), saved);
    EXPECT_TRUE(port_.TakeShown().empty());
}

TEST_F(GuiTest, ClosingWithChangesCanBeRefused) {
    TypeCommand("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    port_.AnswerAutomatically(kIdCancel);
    EXPECT_FALSE(window_->close());
    port_.AnswerAutomatically(kIdNo);
    EXPECT_TRUE(window_->close());
}

TEST_F(GuiTest, NumbersStayInTheCLocale) {
    // The tests run under LC_ALL=de_DE.UTF-8, whose numbers have a decimal comma; Qt took that
    // locale when the application was made, and the program put the C numbers back.
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    TypeCommand("CORRIDOR 12.5");
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 12.5);
    char text[32];
    std::snprintf(text, sizeof text, "%0.5f", 1.5);
    EXPECT_STREQ(text, "1.50000");
    // The environment's locale really writes commas, so the test above means something.
    std::setlocale(LC_NUMERIC, "");
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    UseCNumericLocale();
}

TEST_F(GuiTest, OpensTheExampleNamedOnItsCommandLine) {
    window_.reset();
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/flange-plate.kvp";
    window_ = StartDesktop(port_, "\"" + example + "\"", false);
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(window_->windowTitle(), QString::fromStdString("Korvel " + example));
    EXPECT_TRUE(Block_valid());
    EXPECT_TRUE(port_.TakeShown().empty());
    EXPECT_TRUE(window_->close()); // nothing changed: no question
}

TEST_F(GuiTest, ADamagedProjectBringsUpTwentyMessagesAndTheirCount) {
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "NOSUCH\n";
    std::string path = WriteFile("damaged.kvp", text + "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n");
    window_.reset();
    window_ = StartDesktop(port_, path, false);
    ASSERT_NE(window_, nullptr);
    std::vector<std::string> shown = port_.TakeShown();
    ASSERT_EQ(shown.size(), 21u);
    EXPECT_EQ(shown[19], "[Errors found] Unrecognized command in file [" + path + "], line [20]");
    EXPECT_EQ(shown[20],
              "[Errors found] 30 more messages about file [" + path + "] were not shown");
    EXPECT_TRUE(Block_valid()); // the file was read to its end
}

TEST_F(GuiTest, AMissingConfigurationEndsTheProgram) {
    std::string out, err;
    int status = test::RunCommand(
        "QT_QPA_PLATFORM=offscreen KORVEL_HOME=" + ScratchDir() + " " + KORVEL_PATH, &out, &err);
    EXPECT_EQ(status, 255); // exit code -1
}

} // namespace
} // namespace korvel
