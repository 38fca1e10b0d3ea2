// Where a tool path crosses itself or another path, and the removal of the loops that an offset
// leaves where neighbouring offset elements overlap (a concave corner of a bulge, every corner
// of a pocket). The crossings found are pushed onto the dot list (cad/dots.h) so that the view
// can mark them: class 16 for a crossing found by a check, class 4 for the point where a loop
// was cut.
#pragma once

#include <functional>

#include "geometry/types.h"

namespace korvel {

// 1 when the closed path crosses itself, else 0. Element i (from point i - 1 to point i) is
// tried against the elements j from the last down to i + 1; the shared vertex of neighbouring
// elements and the closing vertex (point 0, between element 1 and the last) do not count. The
// first crossing found is pushed as a dot of class 16.
int CheckForInternalPathIntersections(const PathPoint* points, const int& count);

// 1 when any element of path A meets any element of path B, else 0; the one or two points of
// the first pair that meets are pushed as dots of class 16.
int CheckForExternalPathIntersections(const PathPoint* points_a, const PathPoint* points_b,
                                      const int& count_a, const int& count_b);

// Cuts one loop out of the closed path: the first pair of elements, in the order of the
// internal check, that meets in exactly one point P (not a shared or the closing vertex) is
// joined at P and the part of the path between them is dropped. That part is the one running
// forward from the first element to the second, unless the part running round the start is
// the loop (it encloses the smaller area in the path's own sense of rotation): then that part
// is dropped and the path starts at P. P is pushed as a dot of class 4. Returns 1 when a loop
// was cut (call again until 0), else 0.
int EliminatePathIntersections(PathPoint* points, int& count);

// Whether a point lies where the proper path may run (for an offset: at least the offset
// distance from the outline, on the offset's side). It must give the same answer for the same
// point: loop removal asks it once per point and keeps the answer.
using PointJudge = std::function<bool(double x, double y)>;

// Cuts every loop out of a closed path, with a judge that knows where the proper path runs.
// Every element is split at the crossings on it and each piece judged at its middle. The
// crossings are visited in the order of EliminatePathIntersections (pairs meeting twice
// included); at the first one that splits off a part with nothing proper in it, that part is
// dropped. When every crossing left splits the proper path itself (a narrow neck split the
// offset area), the first one drops the part holding less of it and counts it in `lobes`.
// Every cut point is pushed as a dot of class 4 while the dot list has room. The path left has
// no crossings. Returns the number of cuts.
int RemovePathLoops(PathPoint* points, int& count, const PointJudge& proper, int* lobes);

// Signed area enclosed by a closed path (positive counter-clockwise), arcs included.
double PathArea(const PathPoint* points, int count);

} // namespace korvel
