// The open free contour shared by BULGE and POCKET: the header line opens it at a start point,
// LINETO, CWTO and CCWTO append vertices, END closes it and hands it to its owner. While a font
// file has a glyph definition open, the same four commands belong to it (model/font.h).
#pragma once

#include "model/shape.h"

namespace korvel {

enum class ContourOwner {
    kNone, // no contour is open
    kBulge,
    kPocket,
    kAbandoned, // the contour was rejected: its remaining lines are dropped up to END
};

// Opens a contour at its start point (the unit factor already applied).
void OpenContour(ContourOwner owner, double x, double y);
// Rejects the open contour; its element lines and END are consumed without more messages.
void AbandonContour();
ContourOwner OpenContourOwner();
// No contour open.
void ResetContour();

int LineCom(const char* file, int line);  // LINETO x y
int CwToCom(const char* file, int line);  // CWTO x y r
int CcwToCom(const char* file, int line); // CCWTO x y r
int EndCom(const char* file, int line);   // END

} // namespace korvel
