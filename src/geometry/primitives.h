// Plane geometry of contour elements. An element runs from a start to an end point; its kind
// says how: 0 move (tool paths only), 1 line, 2 counter-clockwise arc, 4 clockwise arc,
// 8 full circle (centre at the start point). An arc's radius is positive for the arc of at
// most 180 degrees and negative for the other one.
#pragma once

namespace korvel {

enum ElementKind : int {
    kRapid = 0, // a rapid move to the point (tool paths only)
    kLine = 1,
    kCcwArc = 2,
    kCwArc = 4,
    kCircle = 8,
};

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
