// The closed contour of a bulge or pocket. Vertex i (1 <= i < n) ends the element that runs
// from vertex i-1; vertex 0 carries the closing element from vertex n-1 back to vertex 0.
// Kinds are the element kinds of geometry/types.h (1 line, 2 ccw arc, 4 cw arc).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "geometry/types.h"

namespace korvel {

constexpr int kMaxShapeVertices = 128;

// A vertex: its point, and the radius and kind of the element ending here (0 for a line).
using ShapeVertex = PathPoint;

struct Shape {
    std::array<ShapeVertex, kMaxShapeVertices> v{};
    int n = 0; // vertices in use: 0..n-1
};

// Copies src without repeated points: a vertex equal (within tolerance) to its predecessor is
// skipped, and the copy stops at the first vertex after vertex 0 that equals vertex 0.
// Returns the number of vertices kept.
int CompactShape(const Shape& src, Shape& dst);

} // namespace korvel

namespace korvel {

// Whether (px, py) lies inside the contour: an odd number of crossings of the ray towards +X
// with its elements.
bool ShapeClicked(const Shape& shape, double px, double py);

// A rectangle (x, y lower left, l by w) with corner radius r, counter-clockwise from the
// bottom edge. Straight edges of zero length are left out, except the top edge when
// keep_top_edge is set (pockets keep it).
void MakeRectangleShape(Shape& s, double x, double y, double l, double w, double r,
                        bool keep_top_edge);
// The extent of the vertices.
void ShapeExtent(const Shape& s, double& x0, double& y0, double& x1, double& y1);

void MoveContour(Shape& s, double dx, double dy);
void TurnContour(Shape& s, double cx, double cy, double angle_deg);
// Scales the vertices and radii.
void ScaleContour(Shape& s, double cx, double cy, double f);
// Mirrors in x = axis (in_x) or y = axis. The contour is compacted and its order reversed, so
// that a counter-clockwise contour stays counter-clockwise; each element keeps its kind and
// radius. False (nothing changed) when fewer than two vertices remain.
bool MirrorContour(Shape& s, bool in_x, double axis);
// The smallest radius of the arcs of one kind; false when there is none.
bool SmallestArcRadius(const Shape& s, int kind, double& radius);

// The lines of a free contour after its header line: the element lines of vertices 1..n-1,
// the closing element back to vertex 0, and END.
void AppendContourLines(const Shape& s, std::vector<std::string>& lines);

} // namespace korvel
