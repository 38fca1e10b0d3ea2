// Stand-ins for the phase generators this version does not have yet, so that tests can run the
// pipeline on projects with such features: each declares its objects machined and writes one
// comment line, in a buffer of its own, where the real generator's code would stand.
#pragma once

#include <string>

#include "cam/generators.h"

namespace korvel::test {

// The stand-ins for the kinds named in `kinds` (words among topface, levels, bores, pockets,
// longholes, threads, texts, engraving; "all" for every one), filled in only where the table in
// force has no generator. Returns the table that was in force.
PhaseGenerators InstallStandIns(const std::string& kinds);

} // namespace korvel::test
