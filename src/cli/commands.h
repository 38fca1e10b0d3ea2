// The korvelc commands that live in files of their own: each takes the words after its name
// and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// verify PROJECT [--gcode FILE] [--png FILE] [--res MM] [--tolerance MM]
int VerifyCommand(const std::vector<std::string>& words);

} // namespace korvel
