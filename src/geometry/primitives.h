// Plane geometry of contour elements: lengths, arc centres, midpoints, three-point circles,
// point rotation and the quadratic solver. The element kinds and the radius sign rule are those
// of geometry/types.h; every tolerant test goes through geometry/tolerance.h.
#pragma once

#include "geometry/types.h"

namespace korvel {

constexpr double kPi = 3.14159265358979323846;

inline double double_abs(double x) { return x < 0 ? -x : x; }
inline double sqr(double x) { return x * x; }
double distance(double x1, double y1, double x2, double y2);

// Length of the element from (x1, y1) to (x2, y2): 2 pi r for a full circle with r > 0; for an
// arc with r != 0, |r| times its swept angle (the long way round for a negative radius), 0 when
// the arc has no centre; the straight distance for anything else.
double dist(double x1, double y1, double x2, double y2, double r, int kind);
double dist(const Element& e);

// Centre of an arc from (x1, y1) to (x2, y2); 1 on success, 0 (outputs = chord midpoint) when
// there is none: radius zero, kind not an arc, no chord, or a chord longer than the diameter
// (a chord up to 0.025 longer makes a half circle).
int ArcCenter(double x1, double y1, double x2, double y2, double r, int kind, double& cx,
              double& cy);
int ArcCenter(const Element& e, double& cx, double& cy);

// Rotates (x, y) counter-clockwise about (cx, cy) by an angle in degrees. 0 (point
// unchanged) when the point lies on the centre.
int TurnPoint(double cx, double cy, double angle_deg, double& x, double& y);

// Scales (x, y) about (cx, cy) by f.
void ScalePoint(double cx, double cy, double f, double& x, double& y);

// Real roots of a x^2 + b x + c = 0, all tests exact: 0, 1 (a = 0, or a zero discriminant;
// x1 = x2 = the root) or 2 (x1 = -b/2a - s, x2 = x1 + 2s, so x1 is the larger one for a < 0).
// The outputs are untouched when there is no root.
int SolveQuadraticEquation(double a, double b, double c, double& x1, double& x2);

// Centre of the circle through three points; 0 (outputs untouched) when two of the points
// coincide (both coordinates equal) or the three are collinear, else 1.
int Arc_3P_Center(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                  double& cy);
// Radius of that circle (the distance from its centre to the first point); 0 without a centre.
double Arc_3P_Radious(double x1, double y1, double x2, double y2, double x3, double y3);

// Midpoint of a line (average of its ends) or of an arc (the point halfway along it). 1 for a
// line or an arc with a centre; 0 for anything else, with the chord midpoint in the outputs.
int MiddPoint(const Element& e, double& mx, double& my);

} // namespace korvel
