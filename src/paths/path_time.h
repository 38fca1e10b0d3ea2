// The machining time of a tool path, estimated before it is emitted, so that each generator can
// add it to the milling time of the tool that runs it. It follows what path emission writes:
// rapid moves, retracts and the approach allowance take no time; cuts take their length over
// the feed, and each plunge the whole descent from the last height over the plunge feed.
#pragma once

#include "geometry/types.h"

namespace korvel {

// Minutes to emit path `path` (1..32) at height z with the feed in XY and the plunge feed, in
// project units per minute. 0 for another path number, a path of fewer than 2 points, or a
// feed in XY not above 0. A plunge feed of 0 or less makes the plunges cost nothing.
double CalcPathTime(int path, double z, double feedXY, double feedZ);
// The same for the XL path.
double CalcXLPathTime(double z, double feedXY, double feedZ);

// The same for any point array; the safe height is the block's top plus the corridor.
double PathTime(const PathPoint* points, int count, double z, double feedXY, double feedZ);

} // namespace korvel
