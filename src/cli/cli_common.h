// What the korvelc commands share: the exit statuses, the start-up without windows and
// opening a project.
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

// Prints "korvelc: problem" and the usage on stderr; returns kExitUsage.
int Usage(const char* problem);

} // namespace korvel
