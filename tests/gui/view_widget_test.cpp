// The drawing area without a display: every example opens and is drawn, the view commands change
// the picture, and a program replays to its end. Screenshots of each example in the top and the
// isometric SW view and of a replay are written to the test output (KORVEL_SCREENSHOT_DIR, else
// screenshots/ in the program directory) for a look by eye.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "model/bulge.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "support.h"
#include "ui/app.h"
#include "ui/qt/animation_dialog.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_port.h"
#include "ui/qt/view_options_dialog.h"
#include "ui/qt/view_widget.h"
#include "ui/view.h"
#include "ui/view_draw.h"
#include "ui/view_pens.h"

namespace korvel {
namespace {

const char* const kExamples[] = {"drilled-plate", "first-steps", "flange-plate", "pocket-plate",
                                 "stepped-boss"};

std::string Example(const std::string& name) {
    return std::string(KORVEL_SOURCE_DIR) + "/examples/" + name + ".kvp";
}

QString ScreenshotDir() {
    QString dir = qEnvironmentVariable("KORVEL_SCREENSHOT_DIR");
    if (dir.isEmpty())
        dir = qEnvironmentVariable("KORVEL_HOME") + "/screenshots";
    QDir().mkpath(dir);
    return dir;
}

class ViewWidgetTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        port_.AnswerAutomatically(kIdNo);
    }
    void TearDown() override {
        window_.reset();
        InstallUiPort(nullptr);
        KorvelTest::TearDown();
    }
    void Start(const std::string& project) {
        window_ = StartDesktop(port_, project, false);
        ASSERT_NE(window_, nullptr);
        window_->resize(1000, 700);
        window_->show();
        QApplication::processEvents();
    }
    QImage Picture() {
        QApplication::processEvents();
        return window_->View()->grab().toImage();
    }
    // Pixels that differ from the background.
    static int Drawn(const QImage& image) {
        QRgb background = static_cast<QRgb>(ViewBackground()) | 0xff000000u;
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) != background;
        return n;
    }
    QtPort port_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(ViewWidgetTest, EveryExampleIsDrawnInTopAndIsometricView) {
    for (const char* name : kExamples) {
        Start(Example(name));
        EXPECT_TRUE(port_.TakeShown().empty()) << name;
        QImage top = Picture();
        EXPECT_GT(Drawn(top), 500) << name;
        top.save(ScreenshotDir() + "/" + name + "-top.png");
        window_->Action("viewisosw")->trigger();
        EXPECT_EQ(GetView().mode, kViewIsoSW);
        QImage iso = Picture();
        EXPECT_GT(Drawn(iso), 500) << name;
        EXPECT_NE(iso, top) << name;
        iso.save(ScreenshotDir() + "/" + name + "-isosw.png");
        window_.reset();
    }
}

TEST_F(ViewWidgetTest, ViewCommandsChangeThePicture) {
    Start(Example("flange-plate"));
    QImage before = Picture();
    const char* commands[] = {"zoomin",   "zoomout",   "zoomfastin", "zoomfastout", "viewisose",
                              "viewaxon", "viewisosw", "viewtop",    "zoomtable",   "zoomblock"};
    QImage last = before;
    for (const char* name : commands) {
        QAction* action = window_->Action(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
        QImage now = Picture();
        EXPECT_NE(now, last) << name;
        last = now;
    }
    EXPECT_TRUE(ViewChanged());
    // Asking again for the view that is shown changes nothing.
    window_->Action("viewtop")->trigger();
    EXPECT_EQ(Picture(), last);
}

TEST_F(ViewWidgetTest, TheWheelZoomsAndTheCursorShowsWorkCoordinates) {
    Start(Example("first-steps"));
    ViewWidget* view = window_->View();
    double z = GetView().z;
    QPoint at(view->width() / 2, view->height() / 2);
    QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_NEAR(GetView().z, z * 1.1, 1e-12);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    EXPECT_TRUE(view->CursorText().startsWith("G54    X")) << view->CursorText().toStdString();
}

// Opens View Options from the menu and lets `answer` fill in the dialog and close it.
template <class Answer> void WithViewOptions(MainWindow& window, Answer answer) {
    QTimer::singleShot(0, &window, [&window, answer] {
        auto* dialog = window.findChild<ViewOptionsDialog*>();
        if (dialog)
            answer(*dialog);
    });
    window.Action("viewoptions")->trigger();
}

TEST_F(ViewWidgetTest, ViewOptionsApplyOnOkAndCancelLeavesAllAsItWas) {
    Start(Example("stepped-boss"));
    ASSERT_GE(TopLevel(), 0);
    const int bits = GetSettings().view_bits;
    ASSERT_TRUE(bits & kViewBitBlock);
    SetViewChanged(false);
    QImage before = Picture();
    {
        // The boxes show the bits; the levels are all, the block's, and each bulge level.
        ViewOptionsDialog dialog(window_.get());
        for (int bit = 0; bit < ViewOptionsDialog::kBits; ++bit)
            EXPECT_EQ(dialog.Box(bit)->isChecked(), (bits >> bit & 1) != 0) << bit;
        EXPECT_EQ(dialog.Box(6)->text(), "Free drawing");
        EXPECT_EQ(dialog.LevelBox()->count(), 2 + TopLevel() + 1);
        EXPECT_EQ(dialog.LevelBox()->currentText(), "All levels");
    }
    // Cancel after turning every box and choosing a level changes nothing.
    WithViewOptions(*window_, [](ViewOptionsDialog& dialog) {
        for (int bit = 0; bit < ViewOptionsDialog::kBits; ++bit)
            dialog.Box(bit)->toggle();
        dialog.LevelBox()->setCurrentIndex(1);
        dialog.reject();
    });
    EXPECT_EQ(GetSettings().view_bits, bits);
    EXPECT_EQ(DisplayLevel(), kAllLevels);
    EXPECT_FALSE(ViewChanged());
    EXPECT_EQ(Picture(), before);
    // OK with the block outline off and only what stands on the block: applied and redrawn.
    WithViewOptions(*window_, [](ViewOptionsDialog& dialog) {
        dialog.Box(3)->setChecked(false);
        dialog.LevelBox()->setCurrentIndex(1);
        dialog.accept();
    });
    EXPECT_EQ(GetSettings().view_bits, bits & ~kViewBitBlock);
    EXPECT_EQ(DisplayLevel(), -1);
    EXPECT_TRUE(ViewChanged()); // the project's VIEW line changes with the bits
    QImage after = Picture();
    EXPECT_LT(Drawn(after), Drawn(before));
    after.save(ScreenshotDir() + "/view-options.png");
    // Back to everything: the first picture again.
    WithViewOptions(*window_, [](ViewOptionsDialog& dialog) {
        dialog.Box(3)->setChecked(true);
        dialog.LevelBox()->setCurrentIndex(0);
        dialog.accept();
    });
    EXPECT_EQ(DisplayLevel(), kAllLevels);
    EXPECT_EQ(Picture(), before);
}

TEST_F(ViewWidgetTest, AReplayRunsToTheEnd) {
    Start(Example("first-steps"));
    std::string program =
        WriteFile("run.cnc", "%\nO0001\nG21 G90\nT1 M06\nG00 X10. Y10. Z5.\nG01 Z-1. F300.\n"
                             "G01 X110.\nG03 X110. Y70. R30.\nG01 X10.\nG02 X10. Y10. I0. J-30.\n"
                             "G00 Z25.\nM30\n%\n");
    MutableSettings().delay = 1;
    QImage before = Picture();
    ASSERT_TRUE(window_->RunProgram(program));
    AnimationDialog* dialog = window_->Animation();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ToolText(), "No Tool");
    dialog->Run();
    EXPECT_TRUE(dialog->TimerActive());
    for (int i = 0; i < 1000 && dialog->State().Running(); ++i)
        QTest::qWait(2);
    EXPECT_FALSE(dialog->State().Running());
    EXPECT_EQ(dialog->State().Current(), 0); // M30 goes back to the first line
    EXPECT_EQ(dialog->ToolText(), "");
    QImage during = Picture(); // the replayed moves stay until cleared
    EXPECT_GT(Drawn(during), Drawn(before) + 1000);
    during.save(ScreenshotDir() + "/replay.png");
    // Clear removes the replayed moves.
    dialog->Clear();
    EXPECT_EQ(Picture(), before);
    // A file that is no program.
    EXPECT_FALSE(window_->RunProgram(WriteFile("bad.cnc", "G00 X0\n")));
    EXPECT_EQ(window_->Animation()->ToolText(), "Load Error");
    // G-Code/Run on a project not compiled asks first; No ends the command.
    SetCompiled(false);
    window_->Action("run")->trigger();
    EXPECT_EQ(port_.TakeShown(),
              std::vector<std::string>{"[Project not compiled!] Load existing file?"});
}

} // namespace
} // namespace korvel
