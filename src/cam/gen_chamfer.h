// The 45-degree chamfers of the top edges of bulges and pockets, cut by a countersink that
// follows the feature's outline once at the height where its cone meets the edge.
#pragma once

namespace korvel {

// Internal error codes (ErrCode, "Error code %d" / "Internal error").
constexpr int kErrChamferBulge = 42;  // bulge index outside 0..31 or a free slot
constexpr int kErrChamferPocket = 43; // pocket index outside 0..63 or a free slot

// How far from the outline the countersink's axis runs for a chamfer c on a wall h_wall high,
// with a countersink of diameter `dia` whose cone is `length` high.
double ChamferAxisOffset(double dia, double length, double h_wall, double c);

// The chamfer of bulge `bulge_index`'s top edge, its `chamfer` wide (0: none). 1 on success or
// when there is nothing to do; 0 after a message.
int GChamferThisBulge(int bulge_index);
// The chamfer of a pocket's top edge.
int GChamferThisPocket(int pocket_index);
// Every pocket's chamfer, in registry order, stopping at the first failure.
int GChamferAllPockets();

} // namespace korvel
