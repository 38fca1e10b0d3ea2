// The view model: coefficients and conversions, the projections and their pan compensation,
// fitting and zooming, arcs, circles and markers, all drawn onto a recording canvas.
#include <gtest/gtest.h>

#include <cmath>

#include "base/units.h"
#include "geometry/primitives.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/settings.h"
#include "support.h"
#include "ui/canvas.h"
#include "ui/view.h"

namespace korvel {
namespace {

using Op = RecordingCanvas::Op;

class ViewTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        InitView();
        MachineSetup m = GetMachine();
        m.table_length = 780;
        m.table_width = 400;
        m.table_x = -600;
        m.table_y = -420;
        PutMachine(m);
    }
    void TearDown() override {
        InitView();
        KorvelTest::TearDown();
    }
    // The table point at the window centre, as the top view has it.
    static void Centre(double& x, double& y) {
        double wx, wy;
        ASSERT_EQ(where(GetView().W / 2.0, GetView().H / 2.0, wx, wy), 1);
        Coordinates k = GetCoordinates();
        x = wx + k.wz_x;
        y = wy + k.wz_y;
    }
    static int Lines(const RecordingCanvas& cv) {
        int n = 0;
        for (const Op& op : cv.ops())
            n += op.kind == Op::kLine;
        return n;
    }
};

TEST_F(ViewTest, CoefficientPixelAndMm) {
    EXPECT_EQ(pixel(10), 0); // no view yet
    EXPECT_EQ(mm(10), 0);
    double x, y;
    EXPECT_EQ(where(1, 1, x, y), 0);
    ASSERT_EQ(GetViewCoef(300, 200), 1);
    EXPECT_DOUBLE_EQ(GetView().c, 0.375); // min(300 / 800, 200 / 420)
    GetViewCoef(800, 1000);               // z * c = 1
    EXPECT_DOUBLE_EQ(GetView().c, 1.0);
    EXPECT_EQ(pixel(-0.4), 0); // towards zero, not -1
    EXPECT_EQ(pixel(-1.6), -1);
    EXPECT_EQ(pixel(2.9), 2);
    EXPECT_DOUBLE_EQ(mm(25), 25);
    // An inch project keeps a margin of 0.8 round the table.
    SetUserUnit(kUnitInch);
    MachineSetup m = GetMachine();
    m.table_length = 30;
    m.table_width = 10;
    PutMachine(m);
    GetViewCoef(308, 1000);
    EXPECT_DOUBLE_EQ(GetView().c, 10.0);
    SetUserUnit(kUnitMM);
}

TEST_F(ViewTest, WhereAndInvwhereAreInverse) {
    GetViewCoef(800, 600);
    ViewTable();
    TypeAll({"COORDINATES G55 -300 -200 0"});
    double x, y;
    ASSERT_EQ(where(123, 456, x, y), 1);
    int px, py;
    ASSERT_EQ(invwhere(px, py, x, y), 1);
    EXPECT_NEAR(px, 123, 1);
    EXPECT_NEAR(py, 456, 1);
    // The work zero lies where the table's coordinates of the work zero are drawn.
    ASSERT_EQ(invwhere(px, py, 0, 0), 1);
    EXPECT_EQ(px, pixel(GetView().ox - 300));
    EXPECT_EQ(py, 600 - pixel(GetView().oy - 200));
}

TEST_F(ViewTest, ProjectionsOfEachMode) {
    struct Case {
        int mode;
        double u, v;
    } cases[] = {
        {kViewTop, 10, 20},
        {kViewIsoSW, (10 - 20) * 0.866025, (10 + 20) * 0.5 + 5},
        {kViewIsoSE, (10 + 20) * 0.866025, (20 - 10) * 0.5 + 5},
        {kViewAxon, (10 - 20) * 0.71, (10 + 20) * 0.71 + 5},
        {kViewFront, 10, 5},
        {kViewSide, 20, 5},
        {6, 0, 0},
        {-1, 0, 0},
    };
    for (const Case& c : cases) {
        double u, v;
        ProjectPoint(c.mode, 10, 20, 5, u, v);
        EXPECT_NEAR(u, c.u, 1e-12) << c.mode;
        EXPECT_NEAR(v, c.v, 1e-12) << c.mode;
    }
    // A line is projected, panned and turned into pixel rows growing downward.
    GetViewCoef(800, 1000); // one pixel per millimetre
    SetViewMode(kViewIsoSW);
    double ox = GetView().ox, oy = GetView().oy;
    RecordingCanvas cv;
    MachLine(cv, 10, 20, 5, 30, 20, 5);
    ASSERT_EQ(cv.ops().size(), 2u);
    EXPECT_EQ(cv.ops()[0].x, static_cast<int>((10 - 20) * 0.866025 + ox));
    EXPECT_EQ(cv.ops()[0].y, 1000 - static_cast<int>(15 + 5 + oy));
    EXPECT_EQ(cv.ops()[1].kind, Op::kLine);
}

TEST_F(ViewTest, PanCompensationReturnsOnLeavingAndKeepsTheCentre) {
    GetViewCoef(1000, 700);
    TypeAll({"COORDINATES G54 -450 -250 -300"});
    for (int mode : {kViewIsoSW, kViewIsoSE, kViewAxon, kViewFront, kViewSide}) {
        ViewTable();
        ZoomIn();
        double ox = GetView().ox, oy = GetView().oy, cx, cy;
        Centre(cx, cy);
        ASSERT_EQ(SetViewMode(mode), 1);
        // The table point that was at the centre is there still, at the work zero's height.
        double u, v;
        ProjectPoint(mode, cx, cy, -300, u, v);
        EXPECT_NEAR(u + GetView().ox, mm(1000) / 2, 1e-9) << mode;
        EXPECT_NEAR(v + GetView().oy, mm(700) / 2, 1e-9) << mode;
        ASSERT_EQ(SetViewMode(kViewTop), 1);
        EXPECT_NEAR(GetView().ox, ox, 1e-9) << mode;
        EXPECT_NEAR(GetView().oy, oy, 1e-9) << mode;
    }
    // The entering formulas as numbers (work zero at height 0): isometric SW.
    TypeAll({"COORDINATES G54 -450 -250 0"});
    ViewTable();
    double cx = mm(1000) * 0.5 - GetView().ox, cy = mm(700) * 0.5 - GetView().oy;
    double ox = GetView().ox, oy = GetView().oy;
    SetVp_IsoSW();
    EXPECT_NEAR(GetView().ox, ox + 0.133975 * cx + 0.866025 * cy, 1e-9);
    EXPECT_NEAR(GetView().oy, oy + 0.5 * (cy - cx), 1e-9);
    ResetVp_IsoSW();
    SetVp_Axon();
    EXPECT_NEAR(GetView().ox, ox + 0.29 * cx + 0.71 * cy, 1e-9);
    EXPECT_NEAR(GetView().oy, oy + 0.29 * cy - 0.71 * cx, 1e-9);
    ResetVp_Axon();
    EXPECT_NEAR(GetView().ox, ox, 1e-9);
}

TEST_F(ViewTest, ViewCommandsChangeOnlyWhenTheModeDoes) {
    GetViewCoef(1000, 700);
    ViewTable();
    EXPECT_EQ(SetViewMode(kViewTop), 0);
    ASSERT_EQ(SetViewMode(kViewIsoSW), 1);
    double ox = GetView().ox;
    EXPECT_EQ(SetViewMode(kViewIsoSW), 0);
    EXPECT_EQ(GetView().ox, ox);
    // From one oblique view to another goes through the top view's pan.
    ASSERT_EQ(SetViewMode(kViewIsoSE), 1);
    double via_ox = GetView().ox, via_oy = GetView().oy;
    SetViewMode(kViewTop);
    SetViewMode(kViewIsoSE);
    EXPECT_NEAR(GetView().ox, via_ox, 1e-9);
    EXPECT_NEAR(GetView().oy, via_oy, 1e-9);
    EXPECT_EQ(SetViewMode(7), 0);
    // The project file keeps the view.
    EXPECT_EQ(GetSettings().view_mode, kViewIsoSE);
    EXPECT_NEAR(GetSettings().view_x, mm(1000) / 2 - GetView().ox - GetCoordinates().wz_x, 1e-9);
}

TEST_F(ViewTest, FittingCentresTableAndBlock) {
    GetViewCoef(1000, 700);
    ASSERT_EQ(ViewTable(), 1);
    EXPECT_EQ(GetView().z, 1);
    double x, y;
    Centre(x, y);
    EXPECT_NEAR(x, -600 + 390, 1e-9);
    EXPECT_NEAR(y, -420 + 200, 1e-9);
    EXPECT_EQ(ViewBlock(), 0); // no block
    TypeAll({"BLOCK 1 100 80 20 10 5 -20 0 0 -1", "COORDINATES G54 -300 -250 0"});
    ASSERT_EQ(ViewBlock(), 1);
    EXPECT_DOUBLE_EQ(GetView().z, 400.0 / 80); // the width limits
    Centre(x, y);
    EXPECT_NEAR(x, -300 + 10 + 50, 1e-9);
    EXPECT_NEAR(y, -250 + 5 + 40, 1e-9);
}

TEST_F(ViewTest, ZoomsKeepTheWindowCentre) {
    GetViewCoef(1000, 700);
    ViewTable();
    double x0, y0;
    Centre(x0, y0);
    struct Zoom {
        void (*command)();
        double factor;
    } zooms[] = {{ZoomIn, 1.1}, {ZoomOut, 1 / 1.1}, {ZoomFastIn, 2}, {ZoomFastOut, 0.5}};
    for (const Zoom& zoom : zooms) {
        double z = GetView().z;
        zoom.command();
        EXPECT_NEAR(GetView().z, z * zoom.factor, 1e-12);
        double x, y;
        Centre(x, y);
        // Within the pixel the window's size is truncated to, and Zoom Out's rounded step.
        EXPECT_NEAR(x, x0, mm(2));
        EXPECT_NEAR(y, y0, mm(2));
    }
    // Dragging moves the picture with the mouse.
    double bx, by, px, py;
    where(500, 350, bx, by);
    Pan(30, -20);
    where(530, 330, px, py);
    EXPECT_NEAR(px, bx, 1e-9);
    EXPECT_NEAR(py, by, 1e-9);
    // The wheel keeps the point under the cursor.
    double wx, wy, ax, ay;
    where(200, 150, wx, wy);
    ZoomAt(200, 150, 1.25);
    where(200, 150, ax, ay);
    EXPECT_NEAR(ax, wx, 1e-9);
    EXPECT_NEAR(ay, wy, 1e-9);
}

TEST_F(ViewTest, ArcChordsAndTheirBugMessages) {
    GetViewCoef(800, 1000);
    ViewTable();
    RecordingCanvas quarter;
    MachArc(quarter, 10, 0, 0, 10, 10, 0, 4); // a clockwise quarter
    EXPECT_EQ(Lines(quarter), 16);            // 90 / 6 = 15, plus 1
    RecordingCanvas half;
    MachArc(half, 10, 0, -10, 0, 10, 0, 2);
    EXPECT_EQ(Lines(half), 31);
    RecordingCanvas big;
    MachArc(big, 10, 0, 0, 10, -10, 0, 2); // 270 degrees
    EXPECT_EQ(Lines(big), 46);
    // The chords end at the arc's end, turning the right way.
    RecordingCanvas ccw;
    MachArc(ccw, 100, 0, 0, 100, 100, 0, 2);
    const Op& last = ccw.ops().back();
    EXPECT_NEAR(last.x, pixel(GetView().ox), 1);
    EXPECT_NEAR(last.y, 1000 - pixel(GetView().oy + 100), 1);
    EXPECT_LT(ccw.ops()[1].y, ccw.ops()[0].y); // upwards first from (100, 0)
    EXPECT_TRUE(Messages().empty());

    RecordingCanvas none;
    MachArc(none, 0, 0, 10, 0, 0.0005, 0, 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Bug Info] MachArc: Zero radious!"});
    MachArc(none, 0, 0, 1.5e-154, 0, 1e300, 0, 2); // the swept angle underflows
    EXPECT_EQ(Messages(), std::vector<std::string>{"[Bug Info] MachArc: a<=0!"});
    MachArc(none, 0, 0, 50, 0, 10, 0, 2); // no centre: nothing, silently
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(none.ops().empty());
}

TEST_F(ViewTest, CirclesAndRectangles) {
    GetViewCoef(800, 1000);
    ViewTable();
    for (double r : {0.5, 10.0, 500.0}) {
        RecordingCanvas cv;
        MachCyl(cv, 0, 0, r, 0);
        EXPECT_EQ(Lines(cv), 60) << r;
        EXPECT_EQ(cv.ops()[0].x, pixel(r + GetView().ox)); // starts at angle 0
    }
    RecordingCanvas rect;
    MachRect(rect, 0, 0, 10, 20, 0);
    EXPECT_EQ(Lines(rect), 4);
}

TEST_F(ViewTest, MarkerShapesAndOnlyInTheTopView) {
    struct Marker {
        int flags, lines;
        double x0, y0, x1, y1; // extent about (100, 100)
    } shapes[] = {
        {1, 7, 96, 97, 104, 103}, {2, 4, 96, 96, 104, 104},  {4, 2, 95, 95, 105, 105},
        {8, 3, 96, 96, 104, 104}, {16, 2, 95, 95, 105, 105}, {257, 7, 96, 97, 104, 103},
        {6, 4, 96, 96, 104, 104},
    };
    for (const Marker& s : shapes) {
        RecordingCanvas cv;
        WinDot(cv, 100, 100, s.flags);
        EXPECT_EQ(Lines(cv), s.lines) << s.flags;
        double x0, y0, x1, y1;
        ASSERT_TRUE(cv.Extent(x0, y0, x1, y1));
        EXPECT_EQ(x0, s.x0) << s.flags;
        EXPECT_EQ(y0, s.y0) << s.flags;
        EXPECT_EQ(x1, s.x1) << s.flags;
        EXPECT_EQ(y1, s.y1) << s.flags;
    }
    RecordingCanvas triangle;
    WinDot(triangle, 100, 100, 8);
    double x0, y0, x1, y1;
    triangle.Extent(x0, y0, x1, y1);
    EXPECT_EQ(y1, 104); // the apex points down the window
    GetViewCoef(800, 1000);
    ViewTable();
    RecordingCanvas top, oblique;
    MachDot(top, 0, 0, 0, 4);
    EXPECT_EQ(Lines(top), 2);
    SetViewMode(kViewAxon);
    MachDot(oblique, 0, 0, 0, 4);
    EXPECT_TRUE(oblique.ops().empty());
}

TEST_F(ViewTest, ViewSettingsGoBackAndForth) {
    GetViewCoef(1000, 700);
    ViewTable();
    ZoomFastIn();
    SetViewMode(kViewAxon);
    ViewState saved = GetView();
    InitView();
    ApplyViewSettings(); // waits for the window's size
    EXPECT_FALSE(GetView().valid);
    GetViewCoef(1000, 700);
    EXPECT_EQ(GetView().mode, kViewAxon);
    EXPECT_EQ(GetView().z, saved.z);
    EXPECT_NEAR(GetView().ox, saved.ox, 1e-9);
    EXPECT_NEAR(GetView().oy, saved.oy, 1e-9);
    // A project without a VIEW line and with a block is zoomed to the block.
    TypeAll({"BLOCK 1 100 80 20 0 0 -20 0 0 -1"});
    InitView();
    FitViewToProject(true);
    GetViewCoef(1000, 700);
    EXPECT_EQ(GetView().mode, kViewTop);
    EXPECT_DOUBLE_EQ(GetView().z, 400.0 / 80);
}

} // namespace
} // namespace korvel
