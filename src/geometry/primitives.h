// Plane geometry of contour elements: lengths, arc centres and point transformations. The
// element kinds and the radius sign rule are those of geometry/types.h.
#pragma once

#include "geometry/types.h"

namespace korvel {

constexpr double kPi = 3.14159265358979323846;

inline double sqr(double x) { return x * x; }
double distance(double x1, double y1, double x2, double y2);

// Centre of an arc from (x1, y1) to (x2, y2); 1 on success, 0 (outputs = chord midpoint) when
// there is none: radius zero, kind not an arc, no chord, or a chord longer than the diameter
// (a chord up to 0.025 longer makes a half circle).
int ArcCenter(double x1, double y1, double x2, double y2, double r, int kind, double& cx,
              double& cy);

// Rotates (x, y) counter-clockwise about (cx, cy) by an angle in degrees. 0 (point
// unchanged) when the point lies on the centre.
int TurnPoint(double cx, double cy, double angle_deg, double& x, double& y);

// Scales (x, y) about (cx, cy) by f.
void ScalePoint(double cx, double cy, double f, double& x, double& y);

} // namespace korvel
