// The whole picture: what draw_all draws in which order and pen, the view options and the level
// filter, the selection redraws, and the markers of bulges and pockets.
#include <gtest/gtest.h>

#include <algorithm>

#include "cad/dots.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/object_kind.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/settings.h"
#include "support.h"
#include "ui/canvas.h"
#include "ui/view.h"
#include "ui/view_draw.h"
#include "ui/view_pens.h"

namespace korvel {
namespace {

using Op = RecordingCanvas::Op;

class ViewDrawTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        GetViewCoef(1000, 700);
        ViewTable();
        TypeAll({"COORDINATES G54 -450 -250 -300", "BLOCK 1 120 80 20 0 0 -20 0 0 -1",
                 "CBULGE 2 1 40 5 60 40 0 0 0 -1 0 0", "CBULGE 3 2 20 4 60 40 0 0 0 -1 0 0",
                 "DRILL 4 1 8 10 10 10 0 0 0 1 -1", "DRILL 5 3 4 3 60 40 0 0 0 1 -1",
                 "BORE 6 1 15 10 100 60 0 0 0 -1 0", "FIXTURE 7 40 20 10 -60 0",
                 "INFO_TEXT 8 0 \"NOTE\" 50 50 0 5 1 1 0"});
    }
    // The pens chosen, in order, each run of one pen once.
    static std::vector<std::uint32_t> PenRuns(const RecordingCanvas& cv) {
        std::vector<std::uint32_t> runs;
        for (const Op& op : cv.ops())
            if (op.kind == Op::kPen && (runs.empty() || runs.back() != op.pen.rgb))
                runs.push_back(op.pen.rgb);
        return runs;
    }
    static std::uint32_t Rgb(ViewPen p) { return GetViewPen(p).rgb; }
    static int LinesIn(const RecordingCanvas& cv, std::uint32_t rgb) {
        int n = 0;
        std::uint32_t pen = 0;
        for (const Op& op : cv.ops()) {
            if (op.kind == Op::kPen)
                pen = op.pen.rgb;
            n += op.kind == Op::kLine && pen == rgb;
        }
        return n;
    }
};

TEST_F(ViewDrawTest, EveryObjectKindHasAPicture) {
    for (int type :
         {kTypeBlock, kTypeBulge, kTypeDrill, kTypeThread, kTypeBore, kTypeLongHole, kTypePocket,
          kTypeFixture, kTypeEngText, kTypeInfoText, kTypeEngElement, kTypeInfoElement})
        if (KindOf(type))
            EXPECT_TRUE(KindIsDrawn(type)) << type;
    EXPECT_FALSE(KindIsDrawn(kTypeSpot)); // the compiler's, never shown
}

TEST_F(ViewDrawTest, DrawingOrderWithEveryOption) {
    MutableSettings().view_bits = 127;
    TypeAll({"UCOORDS 10 10 0"});
    PushPoint(5, 5, 4);
    SetDot(0, 1, 1);
    RecordingCanvas cv;
    draw_all(cv);
    std::vector<std::uint32_t> expected = {
        Rgb(ViewPen::kMachineAxes), Rgb(ViewPen::kWorkspace), Rgb(ViewPen::kTable),
        Rgb(ViewPen::kCoordAxes),   Rgb(ViewPen::kUserAxes),  Rgb(ViewPen::kBlock),
        Rgb(ViewPen::kBulge),       Rgb(ViewPen::kDrill),     Rgb(ViewPen::kBore),
        Rgb(ViewPen::kFixture),     Rgb(ViewPen::kNote),      Rgb(ViewPen::kMarker),
    };
    EXPECT_EQ(PenRuns(cv), expected);
    // Objects in ascending ID order: the drill on the inner bulge (ID 5) after both bulges.
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kBulge)), 2 * 62); // two circles of two half arcs
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kDrill)), 2 * 62); // circle and cross each
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kMarker)), 2 + 7); // a cross, then dot 0's square
    // The markers are drawn from the last slot down: the square of dot 0 comes last.
    const Op& last = cv.ops().back();
    int px, py;
    invwhere(px, py, 1, 1);
    EXPECT_EQ(last.y, py + 3);
}

TEST_F(ViewDrawTest, ViewOptionsLeaveOutTheirParts) {
    MutableSettings().view_bits = 0;
    RecordingCanvas cv;
    draw_all(cv);
    std::vector<std::uint32_t> expected = {Rgb(ViewPen::kBulge), Rgb(ViewPen::kDrill),
                                           Rgb(ViewPen::kBore)};
    EXPECT_EQ(PenRuns(cv), expected); // no machine, no block outline, fixture or note
    // The block's remaining material after milling its top down is drawn without the option.
    TypeAll({"TOPFACE 0.5 0"});
    RecordingCanvas milled;
    draw_all(milled);
    EXPECT_EQ(PenRuns(milled).front(), Rgb(ViewPen::kMaterial));
    EXPECT_EQ(LinesIn(milled, Rgb(ViewPen::kMaterial)), 4);
}

TEST_F(ViewDrawTest, LevelFilterAndSelectionPens) {
    MutableSettings().view_bits = 0;
    EXPECT_EQ(ObjectLevel(1), -1);
    EXPECT_EQ(ObjectLevel(2), 0);
    EXPECT_EQ(ObjectLevel(3), 1);
    EXPECT_EQ(ObjectLevel(5), 1); // on the level-1 bulge
    EXPECT_EQ(ObjectLevel(4), -1);
    SetDisplayLevel(0);
    RecordingCanvas low;
    draw_all(low);
    EXPECT_EQ(LinesIn(low, Rgb(ViewPen::kBulge)), 62); // the level-1 bulge is left out
    EXPECT_EQ(LinesIn(low, Rgb(ViewPen::kDrill)), 62); // and the drill on it
    SetDisplayLevel(kAllLevels);

    SelectDrill(IndexOf(4), 1);
    SelectBulge(IndexOf(2), 2);
    RecordingCanvas cv;
    draw_all(cv);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kSelected)), 62);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kParent)), 62);
    RecordingCanvas again, hidden;
    RedrawSelected(again);
    EXPECT_EQ(PenRuns(again), std::vector<std::uint32_t>{Rgb(ViewPen::kSelected)});
    EXPECT_EQ(LinesIn(again, Rgb(ViewPen::kSelected)), 62);
    HiddeSelected(hidden);
    EXPECT_EQ(PenRuns(hidden), std::vector<std::uint32_t>{Rgb(ViewPen::kBackground)});
    EXPECT_EQ(LinesIn(hidden, Rgb(ViewPen::kBackground)), 62);
}

TEST_F(ViewDrawTest, ObliqueViewsAddTheHeights) {
    MutableSettings().view_bits = kViewBitBlock;
    RecordingCanvas top;
    draw_all(top);
    SetViewMode(kViewIsoSW);
    RecordingCanvas iso;
    draw_all(iso);
    EXPECT_EQ(LinesIn(top, Rgb(ViewPen::kBlock)), 4);
    EXPECT_EQ(LinesIn(iso, Rgb(ViewPen::kBlock)), 12);               // top, bottom and four edges
    EXPECT_EQ(LinesIn(iso, Rgb(ViewPen::kBulge)), 2 * (2 * 62 + 2)); // and the edges
    // A compiler's drill is never drawn.
    int index = NextDrill();
    Drill d;
    d.valid = 1;
    d.system = 1;
    d.dia = 5;
    PutDrill(d, index);
    RegisterID(50, kTypeDrill, index);
    RecordingCanvas with_system;
    draw_all(with_system);
    EXPECT_EQ(LinesIn(with_system, Rgb(ViewPen::kDrill)), LinesIn(iso, Rgb(ViewPen::kDrill)));
}

TEST_F(ViewDrawTest, DrawingAndEngravingElements) {
    TypeAll({"ENG_CLA 9 1 0 0 100 0 0.5 0.2",  // a line on the block
             "ENG_CLA 10 3 60 40 5 0.5 0.2",   // a circle on the level-1 bulge
             "INFO_CLA 11 -1 10 0 0 10 10 -1", // a counter-clockwise quarter
             "INFO_CLA 12 -1 0 0 0 50 -1"});   // a line
    RecalcZ();
    MutableSettings().view_bits = kViewBitDrawing;
    RecordingCanvas cv;
    draw_all(cv);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kEngElement)), 1 + 60);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kDrawing)), 16 + 1);
    // Last in ID order: the note, the engraving elements, the drawing elements.
    std::vector<std::uint32_t> runs = PenRuns(cv);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(std::vector<std::uint32_t>(runs.end() - 3, runs.end()),
              (std::vector<std::uint32_t>{Rgb(ViewPen::kNote), Rgb(ViewPen::kEngElement),
                                          Rgb(ViewPen::kDrawing)}));

    // Without the drawing option only the engraving elements stay.
    MutableSettings().view_bits = 0;
    RecordingCanvas no_drawing;
    draw_all(no_drawing);
    EXPECT_EQ(LinesIn(no_drawing, Rgb(ViewPen::kEngElement)), 61);
    EXPECT_EQ(LinesIn(no_drawing, Rgb(ViewPen::kDrawing)), 0);

    // The level filter leaves out the circle on the level-1 bulge, not the drawing.
    MutableSettings().view_bits = kViewBitDrawing;
    SetDisplayLevel(0);
    RecordingCanvas low;
    draw_all(low);
    EXPECT_EQ(LinesIn(low, Rgb(ViewPen::kEngElement)), 1);
    EXPECT_EQ(LinesIn(low, Rgb(ViewPen::kDrawing)), 17);
    SetDisplayLevel(kAllLevels);
}

TEST_F(ViewDrawTest, EngravingElementsStandOnTheirParentsSurface) {
    TypeAll({"ENG_CLA 9 1 0 0 100 0 0.5 0.2", "ENG_CLA 10 3 60 40 5 0.5 0.2"});
    RecalcZ();
    CLA line, circle;
    ASSERT_TRUE(GetCLA(line, IndexOf(9)));
    ASSERT_TRUE(GetCLA(circle, IndexOf(10)));
    EXPECT_DOUBLE_EQ(line.z2, line.z1);
    EXPECT_DOUBLE_EQ(circle.z1 - line.z1, 5 + 4); // on the bulge standing on the other one
    MutableSettings().view_bits = 0;
    SetViewMode(kViewIsoSW);
    RecordingCanvas cv;
    draw_all(cv);
    // The same picture drawn with the primitives at the table coordinates of the surfaces.
    RecordingCanvas expected;
    expected.SetPen(GetViewPen(ViewPen::kEngElement));
    const double zx = -450, zy = -250, zz = -300;
    MachLine(expected, zx, zy, line.z1 + zz, 100 + zx, zy, line.z2 + zz);
    MachCyl(expected, 60 + zx, 40 + zy, 5, circle.z1 + zz);
    std::vector<Op> drawn;
    bool in_pen = false;
    for (const Op& op : cv.ops()) {
        if (op.kind == Op::kPen)
            in_pen = op.pen.rgb == Rgb(ViewPen::kEngElement);
        else if (in_pen)
            drawn.push_back(op);
    }
    std::vector<Op> want(expected.ops().begin() + 1, expected.ops().end());
    ASSERT_EQ(drawn.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(drawn[i].kind, want[i].kind) << i;
        EXPECT_EQ(drawn[i].x, want[i].x) << i;
        EXPECT_EQ(drawn[i].y, want[i].y) << i;
    }
}

TEST_F(ViewDrawTest, AGroupIsDrawnSelectedWithAnyOfItsElements) {
    ASSERT_GE(DefCLAGroup("HIDDEN", kDefaultGroupColour, 0), 0);
    TypeAll({"INFO_CLA 9 -1 0 0 20 0 G1", "INFO_CLA 10 -1 20 0 20 20 G1",
             "INFO_CLA 11 -1 0 0 0 20 -1", "INFO_CLA 12 -1 0 0 0 20 HIDDEN",
             "ENG_CLA 13 1 0 0 50 50 0.5 0.2"});
    MutableSettings().view_bits = kViewBitDrawing;
    RecordingCanvas plain;
    draw_all(plain);
    EXPECT_EQ(LinesIn(plain, Rgb(ViewPen::kDrawing)), 3); // not the hidden group's
    EXPECT_EQ(LinesIn(plain, Rgb(ViewPen::kSelected)), 0);

    SelectCLA(IndexOf(10), kMarkSelected);
    SelectCLA(IndexOf(13), kMarkSelected);
    RecordingCanvas cv;
    draw_all(cv);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kSelected)), 2 + 1); // both of G1, the engraving line
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kDrawing)), 1);
    RecordingCanvas again, hidden;
    RedrawSelected(again);
    EXPECT_EQ(LinesIn(again, Rgb(ViewPen::kSelected)), 3);
    HiddeSelected(hidden);
    EXPECT_EQ(LinesIn(hidden, Rgb(ViewPen::kBackground)), 3);
    // Without the drawing option a selected group is not drawn either.
    MutableSettings().view_bits = 0;
    RecordingCanvas off;
    RedrawSelected(off);
    EXPECT_EQ(LinesIn(off, Rgb(ViewPen::kSelected)), 1);
}

TEST_F(ViewDrawTest, BulgeAndPocketDotsMarkTheirVertices) {
    TypeAll({"POCKET 9 1 10 10 5 0 0 0 -1 0 0", "LINETO 60 10", "LINETO 60 30", "LINETO 10 30",
             "LINETO 10 10", "END"});
    int before = DotCount();
    ASSERT_EQ(SetPocketDots(IndexOf(9)), 1);
    EXPECT_EQ(DotCount(), before + 4);
    EXPECT_EQ(DotAt(before).cls, 2);
    EXPECT_EQ(SetPocketDots(63), 0);
    ASSERT_EQ(SetBulgeDots(IndexOf(2)), 1);
    EXPECT_GT(DotCount(), before + 4);
    RecordingCanvas cv;
    MutableSettings().view_bits = 0;
    draw_all(cv);
    EXPECT_EQ(LinesIn(cv, Rgb(ViewPen::kMarker)), 4 * (DotCount() - 2));
}

} // namespace
} // namespace korvel
