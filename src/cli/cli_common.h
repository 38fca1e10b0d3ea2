// What the korvelc commands share: start-up, opening a project, exit codes, the usage message.
#pragma once

#include <string>

namespace korvel {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The desktop program's start-up without windows; false (and why, on stderr) when the
// configuration stops it.
bool Start();

// Opens a project as the desktop program does: the configuration's values first, then the
// project's own. False when the file could not be read at all.
bool LoadProject(const std::string& path);

// Prints the problem (unless null) and the usage text on stderr; returns kExitUsage.
int Usage(const char* problem);

} // namespace korvel
