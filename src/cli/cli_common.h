// What every korvelc command shares: the desktop program's start-up without windows, opening a
// project as the desktop program does, and the exit statuses.
#pragma once

#include <string>

namespace korvel {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints the problem (if any) and the usage on stderr; returns kExitUsage.
int Usage(const char* problem);

// The start-up; false (and why, on stderr) when the configuration stops it.
bool Start();

// Opens a project: the configuration's values first, then the project's own, then the heights.
// False when the file could not be read at all. accepted, when given, is false when any line of
// the project (or of a file it reads) was rejected; what was accepted is loaded all the same, so
// that a command goes on with it and fails at its end.
bool LoadProject(const std::string& path, bool* accepted = nullptr);

} // namespace korvel
