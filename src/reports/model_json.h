// The model as one JSON document: every setting under its keyword, the block, coordinates,
// machine and machine definitions. For korvelc's --dump; field names are stable.
#pragma once

#include <string>

namespace korvel {

std::string ModelJson();

} // namespace korvel
