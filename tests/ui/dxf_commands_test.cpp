// File/Import DXF through its settings: what the dialog opens with, what its answer does to the
// drawing, and what a cancelled dialog leaves behind.
#include <gtest/gtest.h>

#include "cad/dots.h"
#include "cad/dxf_test_support.h"
#include "platform/platform.h"
#include "ui/dxf_commands.h"

namespace korvel {
namespace {

class ImportDxfCommandTest : public test::DxfTest {
protected:
    // A file chosen in the open dialog: one line from (5, 5) to (15, 5).
    void ChooseDrawing() {
        SetHeadlessFileAnswer(WriteFile("part.dxf", test::Dxf({test::DxfLine(5, 5, 15, 5)})));
    }
};

TEST_F(ImportDxfCommandTest, TheDialogOpensAtTheMarkedStartPointOrTheUserOrigin) {
    DXFImportOptions().scale = 2.5;
    DXFImportOptions().first_point = false;
    Type("UCOORDS 7 8 0");
    DXFImportSettings s = ImportDialogStart();
    EXPECT_EQ(s.entry_x, 7);
    EXPECT_EQ(s.entry_y, 8);
    EXPECT_EQ(s.scale, 2.5);
    EXPECT_TRUE(s.first_point);

    SetDot(0, 40, -3);
    s = ImportDialogStart();
    EXPECT_EQ(s.entry_x, 40);
    EXPECT_EQ(s.entry_y, -3);
    RemoveDots();
}

TEST_F(ImportDxfCommandTest, TheAnswerPlacesAndScalesTheDrawing) {
    ChooseDrawing();
    // The first point lands on the entry point, the rest scaled about it.
    EXPECT_TRUE(ImportDXFCommand([](DXFImportSettings& s) {
        s.entry_x = 100;
        s.entry_y = 50;
        s.scale = 2;
        s.first_point = true;
        return true;
    }));
    EXPECT_EQ(DrawingLines(),
              (std::vector<std::string>{"-1 100.000000 50.000000 120.000000 50.000000 0"}));
    EXPECT_EQ(DXFImportOptions().scale, 2);

    // Without the first point as reference the file's coordinates are only moved.
    ChooseDrawing();
    EXPECT_TRUE(ImportDXFCommand([](DXFImportSettings& s) {
        s.entry_x = 1;
        s.entry_y = 2;
        s.scale = 1;
        s.first_point = false;
        return true;
    }));
    EXPECT_EQ(ElementCount(), 2);
}

TEST_F(ImportDxfCommandTest, ACancelledDialogImportsNothingAndResetsTheScale) {
    DXFImportOptions().scale = 3;
    ChooseDrawing();
    bool asked = false;
    EXPECT_FALSE(ImportDXFCommand([&](DXFImportSettings&) {
        asked = true;
        return false;
    }));
    EXPECT_TRUE(asked);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(DXFImportOptions().scale, 1);
    EXPECT_TRUE(Messages().empty());

    // No file chosen: the dialog is not even shown.
    SetHeadlessFileAnswer("");
    asked = false;
    EXPECT_FALSE(ImportDXFCommand([&](DXFImportSettings&) { return asked = true; }));
    EXPECT_FALSE(asked);
}

} // namespace
} // namespace korvel
