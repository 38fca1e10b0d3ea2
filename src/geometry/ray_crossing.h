// Crossings of axis-parallel rays with contour elements: the basis of point-in-shape tests and
// of scan-line clearing.
//
// A crossing counts when the element passes from one side of the ray's line to the other: an
// element includes its lower end and excludes its upper end (for a +Y ray: its left end and
// not its right end). So a ray through a vertex that the contour passes through counts it once,
// and a ray through a vertex where the contour turns back counts it twice or not at all: the
// parity of the count over a closed contour always tells inside from outside. Arcs follow the
// same rule piece by piece between their ends and their topmost and bottommost points.
#pragma once

#include "geometry/types.h"

namespace korvel {

// Crossings (0, 1 or 2) of the ray from (x, y) towards +X with the element (a line or an arc;
// anything else, and an element whose ends coincide exactly, gives 0). A line counts at
// X >= x, an arc at X > x. Outputs: with one crossing both hold its X; with two, xa the left
// and xb the right one. A line that is not horizontal writes the X where its carrier meets the
// ray's line to both outputs even when it does not count.
int IntersectionsLR(double x, double y, const Element& e, double& xa, double& xb);
// The same for the ray towards +Y, writing Y values (X and Y swap roles throughout).
int IntersectionsDU(double x, double y, const Element& e, double& ya, double& yb);
// IntersectionsLR with one output, for click tests: inside when the total count is odd.
int IntersectLR(double x, double y, const Element& e, double& xa);

} // namespace korvel
