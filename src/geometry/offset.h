// Offsetting one contour element sideways. Contours are offset element by element; the gaps
// and overlaps between neighbours are repaired by the contour-path code.
#pragma once

#include "geometry/types.h"

namespace korvel {

// Moves the element by d to the right of its direction of travel (d < 0: to the left), so a
// positive d enlarges a counter-clockwise contour and shrinks a clockwise one.
// - Line: both ends move by d at right angles to it; always done.
// - Arc: the centre stays; the ends move along their radii and |r| becomes |r| - d for a
//   clockwise arc, |r| + d for a counter-clockwise one, keeping the sign of r (a long arc
//   stays long).
// - Circle: r becomes r + d.
// Returns 1 when done; 0, leaving the element unchanged, when an arc has no centre or the new
// radius would not be positive. Any other kind shows "Illegal element type" / "Element not
// offset" and returns 0.
int OffsetElement(Element& e, double d);

} // namespace korvel
