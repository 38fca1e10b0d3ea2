// Bores (cylindrical pockets): roughing as soon as the parent is machined, fine finishing of the
// wall, and the chamfer of the edge. Every path is made of counter-clockwise arcs around the
// bore's centre: an end mill clears the bore in concentric rings layer by layer, a face mill
// descends in helices. The tools were chosen beforehand with the bore's pre-drill
// (SelectToolsAndPredrillThisBore). Each returns 1, or 0 after a message, which ends the run.
#pragma once

namespace korvel {

// Roughing of the bore in a slot, clearing the whole bore (excess material removal on).
// An invalid slot is internal error 35.
int GThisBore(int index);
// Roughing that cuts only the outer contour (excess material removal off); internal error 35
// for an invalid slot.
int GThisBore_NEMR(int index);
// Fine finishing of the wall by a helix down to the floor; a system bore or one without a
// chosen fine tool is skipped (1). Internal error 36 for an invalid slot.
int GFineThisBore(int index);
// Every registered bore in ascending ID order, up to the first failure.
int GFineAllBores();
// The chamfer of the bore's edge, cut as a hole's chamfer with the countersink; a system bore
// or one without a chamfer is skipped (1). Internal error 36 for an invalid slot.
int GChamferThisBore(int index);
int GChamferAllBores();

} // namespace korvel
