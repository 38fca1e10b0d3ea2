// Crossings of axis-parallel rays with contour elements: the basis of point-in-shape tests and
// of scan-line clearing. A ray through a contour vertex counts it once, as the start of the
// next element: starts are included, ends excluded.
#pragma once

namespace korvel {

// Crossings (0, 1 or 2) of the ray from (x, y) towards +X with the element; the X of the
// crossings in xa (and xb; with two, xa is the left one).
int IntersectionsLR(double x, double y, double x1, double y1, double x2, double y2, double r,
                    int kind, double& xa, double& xb);
// The same for the ray towards +Y, writing Y values.
int IntersectionsDU(double x, double y, double x1, double y1, double x2, double y2, double r,
                    int kind, double& ya, double& yb);
// IntersectionsLR with one output, for click tests: inside when the total count is odd.
int IntersectLR(double x, double y, double x1, double y1, double x2, double y2, double r, int kind,
                double& xa);

} // namespace korvel
