// The offset of a closed outline (a bulge or pocket shape) by a distance, element by element,
// with the gaps between neighbouring offset elements closed by corner arcs. The bulge and the
// pocket path builders differ only in the side and the error codes; this is their common body.
#pragma once

#include <vector>

#include "geometry/types.h"
#include "model/shape.h"
#include "paths/path_table.h"

namespace korvel {

// The elements of a closed shape in counter-clockwise order: element i runs from vertex i to
// vertex i + 1 with vertex i + 1's kind and radius, the last one back to vertex 0 with vertex
// 0's. A clockwise shape is walked backwards, its arcs turned over, so that offsetting to the
// right always moves away from the inside. Elements of zero length (ends equal) are left out.
std::vector<Element> CounterClockwiseElements(const Shape& shape);

// Signed area enclosed by the closed element chain (positive counter-clockwise), arcs included.
double SignedArea(const std::vector<Element>& elements);

// The internal error codes a builder reports.
struct OffsetContourCodes {
    int overflow;    // more than 509 points before the closing element
    int no_room;     // no room for the closing point
    int bad_element; // an element without a sound offset (an arc without a centre)
};

// Builds into `path` (cleared first) the closed outline (CounterClockwiseElements) offset by d to
// the outside (outwards > 0, a bulge) or to the inside (outwards < 0, a pocket). Between two offset
// elements whose ends are not approx_equal a corner point is added: an arc of radius d,
// counter-clockwise outside and clockwise inside, which rounds a corner the tool goes round and
// makes a small loop where the neighbours' offsets overlap. An arc whose offset radius comes out 0
// or less (within `equal`) becomes a point, a sharp corner of the path: where circles of radius d
// about its ends meet, which is its centre when the tool fits it exactly. Lines keep radius 0; arcs
// keep their kind and the sign of their radius (a long arc stays long). The path is closed with a
// copy of its first point unless its ends are approx_equal (then the first point moves onto the
// last). With remove_loops the loops are cut out (RemovePathLoops, judged by the distance from the
// outline), and the parts of the offset area lost to a narrow neck are added to `lobes`.
// Returns 1, or the code's ErrCode (0).
int BuildOffsetContour(const std::vector<Element>& outline, double d, int outwards, PathRef path,
                       const OffsetContourCodes& codes, bool remove_loops = false,
                       int* lobes = nullptr);

} // namespace korvel
