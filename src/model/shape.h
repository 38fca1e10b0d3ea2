// The closed contour of a bulge or pocket. Vertex i (1 <= i < n) ends the element that runs
// from vertex i-1; vertex 0 carries the closing element from vertex n-1 back to vertex 0.
// Kinds are the element kinds of geometry/primitives.h (1 line, 2 ccw arc, 4 cw arc).
#pragma once

#include <array>

namespace korvel {

constexpr int kMaxShapeVertices = 128;

struct ShapeVertex {
    double x = 0, y = 0;
    double radius = 0; // of the element ending here; 0 for a line
    int kind = 0;
};

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
} // namespace korvel
