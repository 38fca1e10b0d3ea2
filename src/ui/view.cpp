// The view: coefficients, projections, pan compensation, fitting, zooms and the primitives.
#include "ui/view.h"

#include <cmath>

#include "base/units.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/heights.h"
#include "model/machine.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

ViewState g_view;
int g_display_level = kAllLevels;

// A fit asked for before the window had a size, done by the first GetViewCoef.
enum class Pending { kNone, kTable, kBlock, kSettings };
Pending g_pending = Pending::kNone;

// The top view's centre point when the current view was entered.
double g_entered_centre_x = 0, g_entered_centre_y = 0;

// The linear part of an oblique projection: u = a x + b y, v = c x + d y (+ z).
struct Projection {
    double a, b, c, d;
};

constexpr double kIsoCos = 0.866025; // cos 30 degrees, as the picture has always been drawn
constexpr double kAxon = 0.71;

Projection ProjectionOf(int mode) {
    switch (mode) {
    case kViewIsoSW:
        return {kIsoCos, -kIsoCos, 0.5, 0.5};
    case kViewIsoSE:
        return {kIsoCos, kIsoCos, -0.5, 0.5};
    case kViewAxon:
        return {kAxon, -kAxon, kAxon, kAxon};
    case kViewFront: // v is the height alone
        return {1, 0, 0, 0};
    case kViewSide:
        return {0, 1, 0, 0};
    default:
        return {1, 0, 0, 1};
    }
}

bool Usable() { return g_view.valid && g_view.c > 0 && g_view.z > 0; }

// The table point at the window centre, in the coordinates of the current projection.
void WindowCentre(double& cx, double& cy) {
    cx = mm(g_view.W) * 0.5 - g_view.ox;
    cy = mm(g_view.H) * 0.5 - g_view.oy;
}

// The height the centre point is taken at: the work zero's, where the block stands. (At height
// 0 a work zero far below the table origin would drop the part out of the window in every
// oblique view.)
double CentreHeight() { return GetCoordinates().wz_z; }

// Entering a view: the top-view point at the centre is projected, and the pan moves so that
// its projection lies at the centre.
void EnterProjection(int mode) {
    double cx, cy;
    WindowCentre(cx, cy);
    Projection p = ProjectionOf(mode);
    g_view.ox += cx - (p.a * cx + p.b * cy);
    g_view.oy += cy - (p.c * cx + p.d * cy) - CentreHeight();
    g_entered_centre_x = cx;
    g_entered_centre_y = cy;
}

// Leaving a view: the table point whose projection lies at the centre (at the centre height) is
// found by inverting the projection, and the top-view pan puts it back at the centre. Entering
// and then leaving returns the pan to where it was.
void LeaveProjection(int mode) {
    double cu, cv;
    WindowCentre(cu, cv);
    cv -= CentreHeight();
    Projection p = ProjectionOf(mode);
    double det = p.a * p.d - p.b * p.c;
    double x, y;
    if (det != 0) {
        x = (p.d * cu - p.b * cv) / det;
        y = (p.a * cv - p.c * cu) / det;
    } else {
        // Front and side views show one plane coordinate; the other stays as it was entered.
        x = p.a != 0 ? cu : g_entered_centre_x;
        y = p.b != 0 ? cu : g_entered_centre_y;
    }
    g_view.ox += cu - x;
    g_view.oy += cv + CentreHeight() - y;
}

void Leave(int mode) {
    switch (mode) {
    case kViewFront:
    case kViewSide:
        LeaveProjection(mode);
        break;
    case kViewIsoSW:
        ResetVp_IsoSW();
        break;
    case kViewIsoSE:
        ResetVp_IsoSE();
        break;
    case kViewAxon:
        ResetVp_Axon();
        break;
    default:
        break;
    }
}

void Enter(int mode) {
    switch (mode) {
    case kViewFront:
    case kViewSide:
        EnterProjection(mode);
        break;
    case kViewIsoSW:
        SetVp_IsoSW();
        break;
    case kViewIsoSE:
        SetVp_IsoSE();
        break;
    case kViewAxon:
        SetVp_Axon();
        break;
    default:
        break;
    }
}

int PixelOfWindow(double fraction, int size) { return static_cast<int>(size * fraction); }

// pixel() of a usable view.
int PixelOf(double mm_value) {
    double p = g_view.z * mm_value * g_view.c;
    // Far outside the window a line is still drawn towards the right side; the value only has
    // to stay an int.
    if (!(std::fabs(p) < 1e9))
        return p > 0 ? 1000000000 : p < 0 ? -1000000000 : 0;
    return static_cast<int>(p);
}

// A table point's window pixel: projected, panned and converted as WinLine does.
struct WindowPoint {
    double x, y;
};

WindowPoint ToWindow(double x, double y, double z) {
    double u, v;
    ProjectPoint(g_view.mode, x, y, z, u, v);
    if (!Usable())
        return {0, static_cast<double>(g_view.H)};
    return {static_cast<double>(PixelOf(u + g_view.ox)),
            static_cast<double>(g_view.H - PixelOf(v + g_view.oy))};
}

// Chords joined end to end: every point is projected and converted once, and each chord is
// drawn as MachLine draws a line.
class Chords {
public:
    Chords(Canvas& cv, double x, double y, double z) : cv_(cv), at_(ToWindow(x, y, z)) {}
    void To(double x, double y, double z) {
        WindowPoint next = ToWindow(x, y, z);
        cv_.MoveTo(at_.x, at_.y);
        cv_.LineTo(next.x, next.y);
        at_ = next;
    }

private:
    Canvas& cv_;
    WindowPoint at_;
};

// The 60 chords of a circle: the cosines and sines of every sixth degree, from 0 to 360.
struct CircleTable {
    double cos[61], sin[61];
    CircleTable() {
        for (int i = 0; i <= 60; ++i) {
            double a = i * 6 * kPi / 180;
            cos[i] = std::cos(a);
            sin[i] = std::sin(a);
        }
    }
};

} // namespace

const ViewState& GetView() { return g_view; }

void InitView() {
    g_view = ViewState{};
    g_display_level = kAllLevels;
    g_pending = Pending::kNone;
}

int GetViewCoef(int W, int H) {
    MachineSetup m = GetMachine();
    double margin = UserUnit() == kUnitInch ? 0.8 : 20.0;
    g_view.W = W;
    g_view.H = H;
    double c = W / (m.table_length + margin);
    double cy = H / (m.table_width + margin);
    g_view.c = cy < c ? cy : c;
    g_view.valid = true;
    Pending pending = g_pending;
    g_pending = Pending::kNone;
    if (pending == Pending::kSettings)
        ApplyViewSettings();
    else if (pending != Pending::kNone)
        FitViewToProject(pending == Pending::kBlock);
    return 1;
}

int pixel(double mm_value) { return Usable() ? PixelOf(mm_value) : 0; }

double mm(double pixels) {
    if (!Usable())
        return 0;
    return pixels / (g_view.z * g_view.c);
}

int where(double px, double py, double& x, double& y) {
    if (!Usable())
        return 0;
    Coordinates k = GetCoordinates();
    x = mm(px) - g_view.ox - k.wz_x;
    y = mm(g_view.H - py) - g_view.oy - k.wz_y;
    return 1;
}

int invwhere(int& px, int& py, double x, double y) {
    if (!Usable())
        return 0;
    Coordinates k = GetCoordinates();
    px = pixel(g_view.ox + x + k.wz_x);
    py = g_view.H - pixel(g_view.oy + y + k.wz_y);
    return 1;
}

void ProjectPoint(int mode, double x, double y, double z, double& u, double& v) {
    switch (mode) {
    case kViewTop:
        u = x;
        v = y;
        return;
    case kViewIsoSW:
    case kViewIsoSE:
    case kViewAxon: {
        Projection p = ProjectionOf(mode);
        u = p.a * x + p.b * y;
        v = p.c * x + p.d * y + z;
        return;
    }
    case kViewFront:
        u = x;
        v = z;
        return;
    case kViewSide:
        u = y;
        v = z;
        return;
    default:
        u = v = 0;
    }
}

void WinLine(Canvas& cv, double x1, double y1, double x2, double y2) {
    cv.MoveTo(pixel(x1), g_view.H - pixel(y1));
    cv.LineTo(pixel(x2), g_view.H - pixel(y2));
}

void MachLine(Canvas& cv, double x1, double y1, double z1, double x2, double y2, double z2) {
    WindowPoint a = ToWindow(x1, y1, z1), b = ToWindow(x2, y2, z2);
    cv.MoveTo(a.x, a.y);
    cv.LineTo(b.x, b.y);
}

void MachArc(Canvas& cv, double x1, double y1, double x2, double y2, double r, double z,
             int direction) {
    if (equal(r, 0)) {
        ShowMessage("MachArc: Zero radious!", "Bug Info", kMbOk);
        return;
    }
    double cx, cy;
    if (!ArcCenter(x1, y1, x2, y2, r, direction, cx, cy))
        return;
    double h = distance(x1, y1, x2, y2) / 2, ar = std::fabs(r);
    double angle = kPi;
    if (h < ar)
        angle = r > 0 ? 2 * std::asin(h / ar) : 2 * kPi - 2 * std::asin(h / ar);
    if (angle <= 0) {
        ShowMessage("MachArc: a<=0!", "Bug Info", kMbOk);
        return;
    }
    double degrees = angle * 180 / kPi;
    int n = static_cast<int>(degrees / 6) + 1;
    double step = degrees / n;
    if (direction == 4)
        step = -step;
    // Each chord's end is the last one turned about the centre by the step.
    double turn = step * kPi / 180, c = std::cos(turn), s = std::sin(turn);
    double dx = x1 - cx, dy = y1 - cy;
    Chords chords(cv, x1, y1, z);
    for (int i = 0; i < n; ++i) {
        double nx = dx * c - dy * s, ny = dx * s + dy * c;
        dx = nx;
        dy = ny;
        chords.To(cx + dx, cy + dy, z);
    }
}

void MachCyl(Canvas& cv, double cx, double cy, double r, double z) {
    static const CircleTable kCircle;
    Chords chords(cv, cx + r, cy, z);
    for (int i = 1; i <= 60; ++i)
        chords.To(cx + r * kCircle.cos[i], cy + r * kCircle.sin[i], z);
}

void MachRect(Canvas& cv, double x1, double y1, double x2, double y2, double z) {
    MachLine(cv, x1, y1, z, x2, y1, z);
    MachLine(cv, x2, y1, z, x2, y2, z);
    MachLine(cv, x2, y2, z, x1, y2, z);
    MachLine(cv, x1, y2, z, x1, y1, z);
}

void MachDot(Canvas& cv, double x, double y, double z, int flags) {
    if (g_view.mode != kViewTop)
        return;
    (void)z;
    WinDot(cv, pixel(x + g_view.ox), g_view.H - pixel(y + g_view.oy), flags);
}

void WinDot(Canvas& cv, int px, int py, int flags) {
    auto line = [&cv](int x1, int y1, int x2, int y2) {
        cv.MoveTo(x1, y1);
        cv.LineTo(x2, y2);
    };
    if (flags & 1) {
        for (int row = py - 3; row <= py + 3; ++row)
            line(px - 4, row, px + 4, row);
    } else if (flags & 2) {
        line(px - 4, py - 4, px + 4, py - 4);
        line(px + 4, py - 4, px + 4, py + 4);
        line(px + 4, py + 4, px - 4, py + 4);
        line(px - 4, py + 4, px - 4, py - 4);
    } else if (flags & 4) {
        line(px - 5, py, px + 5, py);
        line(px, py - 5, px, py + 5);
    } else if (flags & 8) {
        line(px - 4, py - 4, px + 4, py - 4);
        line(px + 4, py - 4, px, py + 4);
        line(px, py + 4, px - 4, py - 4);
    } else if (flags & 16) {
        line(px - 5, py - 5, px + 5, py + 5);
        line(px - 5, py + 5, px + 5, py - 5);
    }
}

void SetVp_IsoSW() { EnterProjection(kViewIsoSW); }
void SetVp_IsoSE() { EnterProjection(kViewIsoSE); }
void SetVp_Axon() { EnterProjection(kViewAxon); }
void ResetVp_IsoSW() { LeaveProjection(kViewIsoSW); }
void ResetVp_IsoSE() { LeaveProjection(kViewIsoSE); }
void ResetVp_Axon() { LeaveProjection(kViewAxon); }

int SetViewMode(int mode) {
    if (mode == g_view.mode || mode < kViewTop || mode > kViewSide)
        return 0;
    Leave(g_view.mode);
    Enter(mode);
    g_view.mode = mode;
    if (mode != kViewTop)
        RecalcZ();
    StoreViewSettings();
    return 1;
}

int ViewTable() {
    MachineSetup m = GetMachine();
    g_view.z = 1;
    g_view.ox = (mm(g_view.W) - m.table_length) / 2 - m.table_x;
    g_view.oy = (mm(g_view.H) - m.table_width) / 2 - m.table_y;
    StoreViewSettings();
    return 1;
}

int ViewBlock() {
    BlockRecord b = GetBlock();
    if (!b.valid || !(b.length > 0) || !(b.width > 0))
        return 0;
    MachineSetup m = GetMachine();
    Coordinates k = GetCoordinates();
    double zx = m.table_length / b.length, zy = m.table_width / b.width;
    g_view.z = zy < zx ? zy : zx;
    g_view.ox = (mm(g_view.W) - b.length) / 2 - b.x - k.wz_x;
    g_view.oy = (mm(g_view.H) - b.width) / 2 - b.y - k.wz_y;
    StoreViewSettings();
    return 1;
}

void ZoomIn() {
    g_view.z *= 1.1;
    g_view.ox -= mm(PixelOfWindow(0.05, g_view.W));
    g_view.oy -= mm(PixelOfWindow(0.05, g_view.H));
    StoreViewSettings();
}

void ZoomOut() {
    g_view.z /= 1.1;
    g_view.ox += mm(PixelOfWindow(0.046, g_view.W));
    g_view.oy += mm(PixelOfWindow(0.046, g_view.H));
    StoreViewSettings();
}

void ZoomFastIn() {
    g_view.z *= 2;
    g_view.ox -= mm(PixelOfWindow(0.5, g_view.W));
    g_view.oy -= mm(PixelOfWindow(0.5, g_view.H));
    StoreViewSettings();
}

void ZoomFastOut() {
    g_view.z *= 0.5;
    g_view.ox += mm(PixelOfWindow(0.25, g_view.W));
    g_view.oy += mm(PixelOfWindow(0.25, g_view.H));
    StoreViewSettings();
}

void Pan(double dx, double dy) {
    if (!Usable())
        return;
    g_view.ox += mm(dx);
    g_view.oy -= mm(dy);
    StoreViewSettings();
}

void ZoomAt(double px, double py, double factor) {
    if (!Usable() || !(factor > 0))
        return;
    double x = mm(px), y = mm(g_view.H - py);
    g_view.z *= factor;
    g_view.ox += mm(px) - x;
    g_view.oy += mm(g_view.H - py) - y;
    StoreViewSettings();
}

void StoreViewSettings() {
    if (!Usable())
        return;
    Settings& s = MutableSettings();
    Coordinates k = GetCoordinates();
    // A project file keeps the top and the oblique views; front and side are pictures only.
    if (g_view.mode <= kViewIsoSE)
        s.view_mode = g_view.mode;
    s.view_scale = g_view.z;
    s.view_x = mm(g_view.W) * 0.5 - g_view.ox - k.wz_x;
    s.view_y = mm(g_view.H) * 0.5 - g_view.oy - k.wz_y;
}

void ApplyViewSettings() {
    if (!Usable()) {
        g_pending = Pending::kSettings;
        return;
    }
    const Settings& s = GetSettings();
    Coordinates k = GetCoordinates();
    g_view.mode = s.view_mode >= kViewTop && s.view_mode <= kViewIsoSE ? s.view_mode : kViewTop;
    if (s.view_scale > 0 && std::isfinite(s.view_scale))
        g_view.z = s.view_scale;
    g_view.ox = mm(g_view.W) * 0.5 - s.view_x - k.wz_x;
    g_view.oy = mm(g_view.H) * 0.5 - s.view_y - k.wz_y;
}

void FitViewToProject(bool zoom_to_block) {
    if (!Usable()) {
        g_pending = zoom_to_block              ? Pending::kBlock
                    : GetSettings().view_given ? Pending::kSettings
                                               : Pending::kTable;
        return;
    }
    g_pending = Pending::kNone;
    if (zoom_to_block && ViewBlock())
        return;
    if (GetSettings().view_given) {
        ApplyViewSettings();
        return;
    }
    g_view.mode = kViewTop;
    ViewTable();
}

void SetDisplayLevel(int level) { g_display_level = level; }
int DisplayLevel() { return g_display_level; }

} // namespace korvel
