// The value types of plane geometry: points, contour and path nodes, and single elements.
//
// Conventions, for every contour, drawing element and tool path of the system:
// - Coordinates and lengths are in the project unit (millimetres or inches).
// - An element runs from a start point to an end point; its kind says how (ElementKind). The
//   kind codes are stored in project files and never change.
// - An arc's radius is positive for the arc of at most 180 degrees and negative for the arc of
//   more than 180 degrees between the same end points. A full circle keeps its centre in the
//   start point.
// - Counter-clockwise is the positive sense of rotation (X to the right, Y up). Offsetting an
//   element by d moves it to the right of its direction of travel, so a positive d enlarges a
//   counter-clockwise contour and shrinks a clockwise one.
#pragma once

namespace korvel {

enum ElementKind : int {
    kRapid = 0, // a rapid move to the point (tool paths only)
    kLine = 1,
    kCcwArc = 2, // G03 sense
    kCwArc = 4,  // G02 sense
    kCircle = 8,
};

struct Point {
    double x = 0, y = 0;
};

// A node of a contour or a tool path: the end point of the element that ends here, with that
// element's radius (0 for a line or a move) and kind. Node 0 of a path is its start (kind 0);
// node 0 of a closed shape carries the closing element from the last node.
struct PathPoint {
    double x = 0, y = 0;
    double radius = 0;
    int kind = 0;
};

// One element standing alone: start, end, radius and kind; a circle has its centre in the
// start point. in_use 0 marks an empty drawing-element slot, which intersects nothing.
struct Element {
    double x1 = 0, y1 = 0;
    double x2 = 0, y2 = 0;
    double r = 0;
    int kind = kLine;
    int in_use = 1;
};

// The element of a path that runs from `from` to `to` (it takes to's kind and radius).
inline Element ElementBetween(const PathPoint& from, const PathPoint& to) {
    return Element{from.x, from.y, to.x, to.y, to.radius, to.kind, 1};
}

} // namespace korvel
