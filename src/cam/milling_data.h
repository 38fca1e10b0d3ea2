// The cutting data of one milling operation: the object's own milling parameters when the user
// set them, else the database's data of the tool for the block's material.
#pragma once

#include "cam/machining_data.h"

namespace korvel {

// The data for milling `owner` (an object ID) with the tool in `place`: the owner's first
// milling parameters of `kind` (kRoughMilling: speed, feed, cutting width, plunge feed, cutting
// depth; kFinishing: speed, feed, material removal, no plunge feed and no cutting depth) when
// there are any, else the tool's cutting data. 1, or 0 when neither exists.
int MillingData(int place, int owner, int kind, CuttingData& data);

} // namespace korvel
