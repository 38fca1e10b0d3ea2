// The part the model describes, cell by cell over the stock grid. Each cell has the lowest
// height the program may cut it to (`lo`: below it the program gouges the part) and the highest
// height it may keep (`hi`: above it the program left material the model asks to remove), and
// the object whose surface it is:
// - the block's base level (its top, less the top-face milling and the height of the bulge
//   structure), each bulge's top inside its outline (grown by its tolerance offset) with the
//   chamfer of its top edge;
// - pocket, bore and long-hole floors, with pocket and bore chamfers;
// - drills to their depth: a flat bottom at the tip depth is allowed, and material above the
//   118 degree point must go; chamfers as 90 degree cones;
// - threads: the core hole to at least the thread depth and at most the pre-drill's depth
//   (thread depth + half the pitch + 0.3 x core diameter + the tap-drill extension); between
//   core and nominal diameter the flanks, which may be cut to the thread depth;
// - engraving texts: their box may be cut by the engraving depth;
// - "don't care" (lo = -infinity, hi = +infinity) where the model says nothing: cells whose
//   centre lies outside the block.
// Heights are in the user unit and come from the objects' computed levels: RecalcZ must have
// run.
#pragma once

#include <cstdint>
#include <vector>

#include "cam/sim_grid.h"

namespace korvel {

struct IntendedPart {
    GridFrame frame;
    std::vector<float> lo, hi;
    std::vector<std::uint16_t> owner; // object ID; 0 outside the block
    // Surfaces made by milling: the block's base level, bulge tops, pocket, bore and long-hole
    // floors, each cut down from its rim (the top-face level for the block and bulges, the
    // parent's surface for the others). Where a milling tool cannot reach into a corner of
    // one, the part may keep material; the verification decides that from the tools the
    // program cut below the rim with.
    struct Floor {
        int id = 0;
        double z = 0;
        double rim = 0;
    };
    std::vector<Floor> floors;
};

// The intended part of the current project over the frame; false when no block is defined.
bool BuildIntendedPart(const GridFrame& frame, IntendedPart& part);

} // namespace korvel
