// The contour path of a bulge: its outline offset outwards by the tool radius, the path that
// the tool follows round the bulge. Also the helpers the scan-line builders share: keeping a
// scan line off the vertices of a shape, and telling a segment that runs wholly outside the
// block.
#pragma once

#include "model/shape.h"

namespace korvel {

// Internal error codes of the contour builder (ErrCode, "Error code %d" / "Internal error").
constexpr int kErrBulgePathNumber = 1;  // path number outside 0..31
constexpr int kErrBulgeIndex = 2;       // bulge index outside 0..31, or a free slot
constexpr int kErrBulgePathFull = 3;    // more than 509 points before the closing element
constexpr int kErrBulgePathNoRoom = 4;  // no room for the closing point
constexpr int kErrBulgePathElement = 5; // an outline element without an offset

// Builds into path p (0..31) the outline of bulge b (0..31) offset outwards by d plus the
// bulge's tolerance offset: a closed path of lines and arcs, counter-clockwise, starting at the
// offset start of the outline's first element, with an arc of that radius round every convex
// corner. While loop removal is on (the start value; FOPI switches it off) the loops that the
// offset leaves at concave corners are cut out (RemovePathLoops). Returns 1, or 0
// after the internal-error message.
int MakeBulgePath(int p, int b, double d);
// The same, adding to `lobes` the parts of the offset area the loop cleanup had to drop.
int MakeBulgePath(int p, int b, double d, int& lobes);

// Whether the contour and pocket builders cut the loops out of their paths.
bool PathLoopRemovalOn();

// The step by which a scan coordinate is moved off a vertex.
constexpr double kNodeNudge = 0.001;

// Moves x off every vertex X of the shape (x := x - 0.001 while it equals one exactly), then
// y off every vertex Y, so that a scan line never runs exactly through a vertex. Nothing for a
// free slot.
void AvoidBulgeNodes(int bulge, double& x, double& y);
void AvoidPocketNodes(int pocket, double& x, double& y);
// The same for a shape at hand.
void AvoidShapeNodes(const Shape& shape, double& x, double& y);

// 0 when both ends of the segment lie on the outside of one and the same edge line of the
// block (at or left of its left edge, at or right of its right edge, at or below its lower
// edge, at or above its upper edge), else 1.
int InBlock(double x1, double y1, double x2, double y2);

} // namespace korvel
