// The store of tool paths that the milling generators fill and path emission turns into G-code:
// 33 paths of up to 512 points and one long (XL) path of up to 8192, and the operations that
// edit a path in place: inserting a point, rotating a closed path, deleting elements.
//
// A path is a sequence of PathPoint (geometry/types.h). Point 0 is the start, with kind 0 and
// radius 0; element i runs from point i - 1 to point i and is described by point i's kind and
// radius (0 move, 1 line, 2 counter-clockwise arc, 4 clockwise arc). A closed path repeats its
// first point as its last. The builders fill paths from number 0 upwards; path emission takes
// the numbers 1 to 32.
#pragma once

#include "geometry/types.h"

namespace korvel {

constexpr int kPathCount = 33;        // paths 0..32
constexpr int kPathCapacity = 512;    // points per path
constexpr int kXLPathCapacity = 8192; // points of the XL path
constexpr int kPathBuildLimit = 509;  // a contour builder stops here, leaving room to close

// One path of the table or the XL path, for the operations that work on any point array: its
// points, its point count (read and written in place) and its capacity. An invalid reference
// (a path number outside the table) has no points and capacity 0.
struct PathRef {
    PathPoint* points = nullptr;
    int* count = nullptr;
    int capacity = 0;

    bool valid() const { return points != nullptr; }
    int size() const { return count ? *count : 0; }
    const PathPoint& operator[](int i) const { return points[i]; }
    PathPoint& operator[](int i) { return points[i]; }
};

// Path n (0..32); invalid outside.
PathRef GetPath(int n);
PathRef GetXLPath();
// The point count of path n; 0 outside 0..32.
int PathCount(int n);
int XLPathCount();

// Appends a point; 0 (nothing written) when the path is full or the reference invalid, else 1.
int AppendPathPoint(PathRef path, const PathPoint& point);

// Zeroes every point of path n and its count (n outside 0..32: nothing).
void ClearPath(int n);
// Clears paths 0..32.
void ClearPaths();
// Zeroes the XL path and its count.
void ClearXLPath();

// Inserts the point (x, y), which lies on path p (0..32), into the element it lies on, found by
// the crossing of a ray from (x - 0.1, y) towards +X whose X is equal to x. Returns the point's
// index: an existing point equal to (x, y) in both coordinates, else the new point, which takes
// the kind and radius of the element it splits (both halves of an arc keep its centre and
// direction; see SubArcRadius). -1 for a path number outside 0..32, a path of more than 510 points,
// or a point on no element.
int InsertPathPointX(double x, double y, int p);
// The same along Y: the ray runs from (x, y - 1.0) towards +Y and its crossing must equal y.
int InsertPathPointY(double x, double y, int p);

// Rotates the closed path p (0..32) so that it starts at its point k: the new sequence is
// points k .. count - 1 and then 1 .. k (point 0 equals the last point and is dropped); kinds
// and radii travel with their points. 1 on success, also for k = 0 or k = count (nothing to
// do); 0 for k outside 0..count or above 511, or an invalid path number.
int ChangeBulgePathStartPoint(int k, int p);

// The signed radius of the piece of an arc element from (sx, sy) to (ex, ey), both on it, in
// the arc's direction: |r| with a minus sign when the piece sweeps more than half a turn. A
// piece of an arc keeps the arc's centre, but not always the arc's choice between the short
// and the long way round. For anything but an arc, its radius.
double SubArcRadius(const Element& arc, double sx, double sy, double ex, double ey);

// Removes the points with index strictly between from and to; stores and returns the new
// count. Nothing is removed unless 0 <= from < to <= count.
int DeletePathElements(PathPoint* points, int& count, int from, int to);
// Drops the last point; stores and returns the new count (never below 0).
int DeleteLastPathElement(PathPoint* points, int& count);

} // namespace korvel
