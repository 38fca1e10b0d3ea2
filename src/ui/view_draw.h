// The whole picture of the view: machine, table, coordinate systems, every object of the model
// through the object-kind table, and the point markers; and the partial redraws of the
// selection. Everything is drawn with the primitives of ui/view.h at the objects' heights.
#pragma once

#include "ui/canvas.h"

namespace korvel {

// Bits of the VIEW setting's visibility word.
constexpr int kViewBitTable = 1;
constexpr int kViewBitMachineOrigin = 2;
constexpr int kViewBitCoordinates = 4;
constexpr int kViewBitBlock = 8;
constexpr int kViewBitLimits = 16;
constexpr int kViewBitFixtures = 32;
constexpr int kViewBitDrawing = 64;

// Draws the picture in order: machine axes, workspace, table with T-slots, coordinate and user
// axes, the objects in ascending ID order (each in the pen of its selection state, those above
// the display level left out), then the markers from the last slot in use down to slot 0.
// A drawing element is drawn selected also when another element of its group is selected, and
// not at all while its group is hidden.
void draw_all(Canvas& cv);

// The selected objects again, in the selection pen or in the background pen (which hides them).
void RedrawSelected(Canvas& cv);
void HiddeSelected(Canvas& cv);

// The bulge level an object stands on: a bulge's own, else that of its nearest bulge ancestor;
// -1 for objects on the block and objects without a parent.
int ObjectLevel(int id);

// Add the contour vertices of a bulge or pocket (table slot) to the markers as end points.
// 0 when the slot is not in use.
int SetBulgeDots(int index);
int SetPocketDots(int index);

// Whether an object type has a picture (every kind of the object-kind table but the compiler's
// spots has one).
bool KindIsDrawn(int type);

} // namespace korvel
