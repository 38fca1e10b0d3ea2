// Where two finite elements meet, and whether a point lies on an element. Elements are those of
// geometry/types.h: a circle (kind 8) has its centre in (x1, y1); in_use 0 marks an empty
// drawing-element slot, which meets nothing.
#pragma once

#include "geometry/angle_range.h"
#include "geometry/types.h"

namespace korvel {

// 1 when (px, py) lies on the finite element, else 0. Tolerance `equal` (0.001): on a line in
// Y at px (in X for a line whose ends are equal in X), with px (py) inside the line's span
// exactly; on a circle or arc the squared distance from the centre against r squared, and on
// an arc an exact angle test between its ends. A point equal to an end (not of a circle) is on
// the element. Kinds other than arcs and circles are taken as lines.
int ValidCLAPoint(const Element& e, double px, double py);

// Number of points (0, 1 or 2) where two lines, circles or arcs meet; the first in (xa, ya),
// the second in (xb, yb) (outputs beyond the count are untouched). 0 when either element is not
// in use or of another kind. Touching circles give 2 equal points; coincident circles, parallel
// lines and overlapping lines give 0. A point counts on an arc when its angle about the centre
// lies from the arc's lower end (start of a counter-clockwise arc, end of a clockwise one)
// included to its upper end excluded; on a line when ValidCLAPoint holds.
int Intersect(const Element& a, const Element& b, double& xa, double& ya, double& xb, double& yb);

// The full circle of a circle or an arc, worked out once for code that meets the same element
// with many others. For an arc also the angles (atan2 about the centre) of its start and end,
// and its range from `lower` (the start of a counter-clockwise arc, the end of a clockwise one)
// to `upper`, raised by 2 pi when below lower. `radius` is the distance from the centre to the
// start, not |r|.
struct ElementCircle {
    double cx = 0, cy = 0, radius = 0;
    bool is_arc = false;
    double start = 0, end = 0;
    double lower = 0, upper = 0;
    DiamondRange quick; // the range from lower to upper, for the quick test of a point
};

// An element with its circle: `has_circle` is false for a line, a move, any other kind and an
// arc without a centre (which meets nothing).
struct PreparedElement {
    Element e;
    bool has_circle = false;
    ElementCircle c;
};
PreparedElement PrepareElement(const Element& e);

// Intersect on prepared elements: the same points, bit for bit, as Intersect(a.e, b.e, ...).
int Intersect(const PreparedElement& a, const PreparedElement& b, double& xa, double& ya,
              double& xb, double& yb);

// The pair routines behind Intersect, each taking its operands in the order of its name and
// returning -1 when they are not of those kinds.
int LineLineIntersections(const Element& line1, const Element& line2, double& xa, double& ya,
                          double& xb, double& yb);
int LineCircleIntersections(const Element& line, const Element& circle, double& xa, double& ya,
                            double& xb, double& yb);
int LineArcIntersections(const Element& line, const Element& arc, double& xa, double& ya,
                         double& xb, double& yb);
int CircleCircleIntersections(const Element& circle1, const Element& circle2, double& xa,
                              double& ya, double& xb, double& yb);
int CircleArcIntersections(const Element& circle, const Element& arc, double& xa, double& ya,
                           double& xb, double& yb);
int ArcArcIntersections(const Element& arc1, const Element& arc2, double& xa, double& ya,
                        double& xb, double& yb);

} // namespace korvel
