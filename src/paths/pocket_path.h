// The tool paths that clear a pocket: its outline offset inwards (the wall contour) and
// parallel scan-line segments that clear the inside of that contour. Pocket milling emits both
// at each depth step; the pocket chamfer and the automatic pre-drilling use the outline alone.
//
// Paths of the table (paths/path_table.h) after MakePocketPathsX/Y: path 0 the outline offset
// by 2r, path 1 the outline offset by r (the wall contour), path 2 the scan-line segments
// (moves to the start of each segment, lines along it), and from path 3 on the contours of the
// pocket's islands offset outwards by r, which the segments keep clear of.
#pragma once

namespace korvel {

// Internal error codes (ErrCode, "Error code %d" / "Internal error").
constexpr int kErrPocketPathNumber = 16;  // path number outside 0..31
constexpr int kErrPocketIndex = 17;       // pocket index outside 0..63, or a free slot
constexpr int kErrPocketPathFull = 18;    // more than 509 points before the closing element
constexpr int kErrPocketPathNoRoom = 19;  // no room for the closing point
constexpr int kErrPocketPathElement = 20; // an outline element without an offset
constexpr int kErrPocketOuterPath = 21;   // path 0 could not be built
constexpr int kErrPocketWallPath = 22;    // path 1 could not be built
constexpr int kErrPocketScanFull = 23;    // the scan segments need more than 512 points
constexpr int kErrPocketScanLine = 24;    // a scan line crosses the contours more than 512 times
constexpr int kErrPocketScanStep = 25;    // no scan step: r or overlap not above 0, no block
constexpr int kErrPocketIslands = 26;     // more islands than paths 3..32

// Builds into path (0..31) the outline of pocket (0..63) offset inwards by d less the pocket's
// tolerance offset: a closed counter-clockwise path with a clockwise arc of that radius at
// every concave corner of the path (where the tool goes round a corner of the inside). Its
// loops are cut while loop removal is on. When no area is left inside the offset (the pocket
// is too narrow for the tool) it shows "Tool diameter too big" / "Tool selection error". 1, or
// 0 after a message.
int MakePocketPath(int path, int pocket, double d);

// Builds paths 0, 1 and 2 (and the island contours) of pocket k for a tool of radius r (plus
// any allowance) with scan lines of constant Y across the block, cut towards +X, spaced by the
// block width divided into N = int(W / (2 r overlap)) + 1 steps, from half a step below the
// block to half a step above it. Refuses a tool larger than the pocket's smallest inside arc
// or for the pocket itself ("Tool diameter too big"). Warns and goes on when the wall contour
// crosses itself or an island's contour, or when a narrow neck split the wall contour and the
// loop cleanup had to leave a part of the pocket out. Path 0 stays empty when the pocket is too
// narrow for twice the radius. 1 on success, 0 after a message.
int MakePocketPathsX(int k, double r, double overlap);
// The same with scan lines of constant X, cut towards +Y, spaced over the block length.
int MakePocketPathsY(int k, double r, double overlap);

// The first point of path (0..32), the pre-drilling point of a pocket. 1, or 0 (outputs
// untouched) for an invalid or empty path.
int GetPocketPathDrillPoint(int path, double& x, double& y);

} // namespace korvel
