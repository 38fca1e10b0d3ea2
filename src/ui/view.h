// The view of the main window: how table coordinates map to window pixels, the projections
// (top, three oblique views, front and side), fitting and zooming, and the drawing primitives
// that every picture of the model is made of. One view per run.
//
// Units: table and work coordinates in the project unit (millimetres or inches); pixels with
// rows growing downward. Table coordinates are work coordinates plus the work zero (Zx, Zy, Zz).
// A drawing is a sequence of pixel lines on a Canvas; arcs and circles become chords.
#pragma once

#include "ui/canvas.h"

namespace korvel {

enum ViewMode : int {
    kViewTop = 0,
    kViewIsoSW = 1,
    kViewAxon = 2,
    kViewIsoSE = 3,
    kViewFront = 4, // x, z
    kViewSide = 5,  // y, z
};

struct ViewState {
    int W = 0, H = 0;      // drawing area, pixels
    double c = 0;          // base coefficient, pixels per project unit (the table fits at z = 1)
    double z = 1;          // zoom
    double ox = 0, oy = 0; // pan: the table origin's offset, before projection
    int mode = kViewTop;
    bool valid = false; // GetViewCoef has run
};

const ViewState& GetView();
// The whole view to its start: invalid, zoom 1, no pan, top view; all levels shown.
void InitView();

// Stores the window size and the base coefficient that fits the machine table plus a margin
// (0.8 in an inch project, 20 otherwise) into it; marks the view valid. Returns 1.
int GetViewCoef(int W, int H);

// Project units to pixels (truncated towards zero) and back, at the current zoom; 0 while the
// view is invalid or the coefficient is not positive.
int pixel(double mm_value);
double mm(double pixels);

// A window pixel to work coordinates of the top view and back; 0 while the view is invalid.
int where(double px, double py, double& x, double& y);
int invwhere(int& px, int& py, double x, double y);

// The projection of a table point by the current mode, before the pan: (u, v) in project units,
// v upwards. Any unknown mode maps every point to (0, 0).
void ProjectPoint(int mode, double x, double y, double z, double& u, double& v);

// Drawing primitives; all points in table coordinates except WinLine's and WinDot's.
// A line between two panned, projected points (project units, v upwards).
void WinLine(Canvas& cv, double x1, double y1, double x2, double y2);
void MachLine(Canvas& cv, double x1, double y1, double z1, double x2, double y2, double z2);
// An arc of radius r (negative: the long way) at height z, direction 2 counter-clockwise or 4
// clockwise, as chords of at most 6 degrees. A zero radius or a swept angle of 0 are reported
// ("Bug Info") and draw nothing.
void MachArc(Canvas& cv, double x1, double y1, double x2, double y2, double r, double z,
             int direction);
// A circle as 60 chords from angle 0.
void MachCyl(Canvas& cv, double cx, double cy, double r, double z);
// The four sides of an axis-parallel rectangle at height z.
void MachRect(Canvas& cv, double x1, double y1, double x2, double y2, double z);
// A point marker, only in the top view; its shape is the first set bit of the flags: 1 filled
// square, 2 open square, 4 upright cross, 8 triangle (apex down), 16 diagonal cross.
void MachDot(Canvas& cv, double x, double y, double z, int flags);
void WinDot(Canvas& cv, int px, int py, int flags);

// Pan compensation on entering and leaving an oblique view: the table point at the window
// centre, at the work zero's height, stays there.
void SetVp_IsoSW();
void SetVp_IsoSE();
void SetVp_Axon();
void ResetVp_IsoSW();
void ResetVp_IsoSE();
void ResetVp_Axon();

// The view commands (Top view, Isometric SW, Axonometric, Isometric SE, and front and side for
// pictures): nothing when the mode is already the one asked for, else leave the current oblique
// view, enter the new one, recompute heights (not for the top view). 1 when the mode changed.
int SetViewMode(int mode);

// Fit the machine table (zoom 1), or the block (only with a block of positive size; 0 without).
int ViewTable();
int ViewBlock();
// The zoom commands; each keeps the window centre in place.
void ZoomIn();
void ZoomOut();
void ZoomFastIn();
void ZoomFastOut();
// Dragging with the middle button: the picture follows the mouse by (dx, dy) pixels.
void Pan(double dx, double dy);
// The wheel: zoom by a factor keeping the point under pixel (px, py) in place (top view).
void ZoomAt(double px, double py, double factor);

// The view as a project's VIEW line keeps it: mode, zoom, and the point at the window centre in
// work coordinates (of the view's plane). Every view change stores it. Applying needs the
// window's size: asked before the first GetViewCoef, it is done by that.
void StoreViewSettings();
void ApplyViewSettings();
// The view of a project just opened or made: zoomed to the block when asked (a project without
// a VIEW line), else the project's VIEW when it has one, else the table in the top view.
void FitViewToProject(bool zoom_to_block);

// The level filter: objects standing above this bulge level are not drawn; kAllLevels shows
// everything.
constexpr int kAllLevels = 1 << 20;
void SetDisplayLevel(int level);
int DisplayLevel();

} // namespace korvel
