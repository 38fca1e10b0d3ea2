// "Import DXF drawing" without a display: the fields it opens with, the answers it refuses, and
// File/Import DXF placing a drawing where the dialog says.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "base/units.h"
#include "model/cla.h"
#include "support.h"
#include "ui/app.h"
#include "ui/qt/application.h"
#include "ui/qt/import_dxf_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_port.h"

namespace korvel {
namespace {

bool HasLabel(const QWidget& w, const QString& text) {
    for (const QLabel* label : w.findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    return false;
}

void PressOk(QDialog& d) {
    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

using ImportDxfDialogTest = test::KorvelTest;

TEST_F(ImportDxfDialogTest, OpensWithTheGivenSettingsAndTheProjectUnit) {
    DXFImportSettings start;
    start.entry_x = 12.5;
    start.entry_y = -4;
    start.scale = 25.4;
    start.first_point = false;
    ImportDxfDialog mm(start, false);
    EXPECT_EQ(mm.windowTitle(), "Import DXF drawing");
    EXPECT_EQ(mm.EntryX()->text(), "12.5000");
    EXPECT_EQ(mm.EntryY()->text(), "-4.0000");
    EXPECT_EQ(mm.Scale()->text(), "25.4000");
    EXPECT_TRUE(mm.FirstPoint()->isChecked()); // ticked whenever it opens
    EXPECT_EQ(mm.FirstPoint()->text(), "Use first DXF point as reference point");
    EXPECT_TRUE(HasLabel(mm, "Entry point (X,Y)"));
    EXPECT_TRUE(HasLabel(mm, "1 Drawing Unit ="));
    EXPECT_TRUE(HasLabel(mm, "mm"));
    ImportDxfDialog inch(start, true);
    EXPECT_TRUE(HasLabel(inch, "inch"));
    EXPECT_FALSE(HasLabel(inch, "mm"));
}

TEST_F(ImportDxfDialogTest, StaysOpenUntilEveryFieldHoldsAUsableNumber) {
    ImportDxfDialog d(DXFImportSettings{}, false);
    d.show();
    for (const char* scale : {"0", "-1", "abc", "", "nan", "inf", "1e999"}) {
        d.Scale()->setText(scale);
        PressOk(d);
        EXPECT_TRUE(d.isVisible()) << scale;
    }
    d.Scale()->setText(" 2.5 ");
    d.EntryX()->setText("1,5"); // a decimal comma is not a number here
    PressOk(d);
    EXPECT_TRUE(d.isVisible());
    d.EntryX()->setText("1.5");
    d.EntryY()->setText("-7");
    d.FirstPoint()->setChecked(false);
    PressOk(d);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Settings().scale, 2.5);
    EXPECT_EQ(d.Settings().entry_x, 1.5);
    EXPECT_EQ(d.Settings().entry_y, -7);
    EXPECT_FALSE(d.Settings().first_point);
}

class ImportDxfMenuTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        window_ = StartDesktop(port_, "", false);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        window_.reset();
        InstallUiPort(nullptr);
        KorvelTest::TearDown();
    }
    // Runs File/Import DXF on `file`, answering the dialog with `answer` once it is up.
    void ImportThrough(const std::string& file, std::function<void(ImportDxfDialog&)> answer) {
        port_.AnswerAutomatically(kIdOk, file);
        QTimer::singleShot(0, [answer] {
            auto* d = qobject_cast<ImportDxfDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            answer(*d);
        });
        window_->Action("importdxf")->trigger();
    }
    QtPort port_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(ImportDxfMenuTest, TheDrawingLandsWhereTheDialogSays) {
    std::string dxf = WriteFile("part.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n5\n20\n5\n"
                                            "11\n15\n21\n5\n0\nENDSEC\n0\nEOF\n");
    ImportThrough(dxf, [](ImportDxfDialog& d) {
        d.EntryX()->setText("100");
        d.EntryY()->setText("50");
        d.Scale()->setText("2");
        PressOk(d);
    });
    std::string line;
    ASSERT_TRUE(StrCLAData(line, 0));
    EXPECT_NE(line.find(" 100.000000 50.000000 120.000000 50.000000 "), std::string::npos) << line;
    EXPECT_EQ(port_.TakeShown(),
              (std::vector<std::string>{"[Import DXF completed] 1 DXF entities found"}));

    // Cancel: nothing more is read.
    ImportThrough(dxf, [](ImportDxfDialog& d) { d.reject(); });
    EXPECT_FALSE(StrCLAData(line, 1) && !line.empty());
    EXPECT_TRUE(port_.TakeShown().empty());
}

} // namespace
} // namespace korvel
