// The problem lines of a verification and its report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cam/verify.h"

namespace korvel {

// One line per problem, in the order the report gives them: the program errors that stop the
// machine, gouges and left stock per object (deepest first), then the noted moves by kind,
// each with its program line (and the line's N number when it has one).
std::vector<std::string> VerifyProblems(const VerifyResult& result, std::string_view program);

} // namespace korvel
