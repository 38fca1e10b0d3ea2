// The model as one JSON document: every setting under its keyword, the block, coordinates,
// machine and machine definitions. For korvelc's --dump; field names are stable.
#pragma once

#include <string>

namespace korvel {

// with_database: every material, group, tool and cutting-data record, not just their counts.
std::string ModelJson(bool with_database = false);

} // namespace korvel
