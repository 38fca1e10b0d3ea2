// Heights of objects. Every feature has a depth or height (wz) and a computed level z: bulges
// stand on the level of their parent, cuts start from their parent's surface. The block's base
// level lies below its milled top face by the height of the tallest bulge structure.
#pragma once

namespace korvel {

// The height (bulges, fixtures) or depth (holes, bores, pockets) of an object; 0 when it has
// none.
double ObjectWz(int id);

// The height of an object: a bulge's top, the bottom of a cut, the block's base level; for
// unknown IDs the safe height above the block.
double calcZ(int id);

// Stores the computed level of every object: a bulge stands on calcZ - wz, a cut starts at
// calcZ + wz.
void RecalcZ();

} // namespace korvel
