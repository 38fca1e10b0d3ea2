// The tool path that clears one height level around the bulges standing on it: parallel scan
// lines across the whole block, cut where they run outside the bulges and jumping over them,
// with each bulge's offset contour followed once, the first time a scan line reaches it. The
// result is one long path in the XL path (paths/path_table.h); the bulges' contours stand in
// paths 0 upwards, in the order the level's bulges are found.
#pragma once

namespace korvel {

// Internal error codes (ErrCode, "Error code %d" / "Internal error").
constexpr int kErrXLPathFull = 8;     // a contour or a scan line finds no room in the XL path
constexpr int kErrLevelCrossings = 9; // a scan line crosses the contours more than 512 times
constexpr int kErrLevelScanStep = 10; // no scan step: offset or overlap not above 0, no block

// Builds the level path of `level` for a contour offset r (the tool radius plus half the XY
// allowance) and a step-over factor, with scan lines of constant Y cut towards +X. The scan
// lines lie N = int(W / s) + 1 to the block width W, s = 2 r overlap but never more than the
// tool's diameter (tool_diameter; 0 takes 2 r), from half a step above the block's lower edge.
// Warns ("WARNING! Path intersection") and goes on when contours cross themselves or each
// other. Returns the number of contours built (0 for a level without bulges), or 0 after an
// internal error when a contour could not be built or a crossing inserted, or when the XL path
// has no room left: a level is never left half cleared.
int MakeLevelPathX(int level, double r, double overlap, double tool_diameter = 0);
// The same with scan lines of constant X cut towards +Y, spaced over the block length.
int MakeLevelPathY(int level, double r, double overlap, double tool_diameter = 0);

// Sorts n values ascending, carrying each one's tag along; of equal values the earlier stays
// first.
void sort_ixy(double* values, int* tags, int n);

} // namespace korvel
