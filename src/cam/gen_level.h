// Milling of the bulge levels: the material around the bulges of one height level is cleared
// down to the level's floor, in depth steps along area paths (or, without excess material
// removal, round each bulge's contour only), optionally rough-finished, and the bulge walls and
// the floor are fine-finished as the level's quality code asks:
//
//   Q  rough finishing  fine finishing     floor allowance left by rough milling
//   0  no               no                 0
//   1  yes              no                 RFDZ
//   2  no               walls              0
//   3  yes              walls              RFDZ
//   4  no               walls and floor    FFDZ
//   5  yes              walls and floor    FFDZ + RFDZ
//
// All bulges of a level share their height, quality, scan directions and preselected tools;
// they are read from the first bulge of the level. The tools chosen are written back into every
// bulge of the level (the assigned milling and finishing tools) for the later passes.
#pragma once

namespace korvel {

// Rough milling (and rough finishing) of `level` with area clearing: scan lines across the
// block round the level's bulges. 1 on success, also when there is nothing to do; 0 after a
// message (which ends the compilation). A level whose contours cross themselves or each other
// (features closer together than the tool) asks whether to go on; No ends it with 0.
int GThisLevel(int level);
// The same without excess material removal: each bulge's contour is followed at every depth
// step with a rough end mill, and the rest of the level is left as it is.
int GThisLevel_NEMR(int level);
// Fine finishing of the level's bulge walls (quality 2 to 5) and floor (quality 4 and 5, with
// excess material removal), with the finishing tool GThisLevel or GThisLevel_NEMR assigned.
int GFineThisLevel(int level);

// 1 when the bulge is a rectangle with sharp corners that covers the block exactly (its first
// corner equal to the block's origin, its opposite corner to the block's far corner): such a
// level has nothing to mill.
int BulgeEqualsBlock(int bulge_index);

} // namespace korvel
