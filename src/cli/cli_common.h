// What every korvelc command shares: the desktop program's start-up without windows, opening a
// project as the desktop program does, and the exit statuses.
#pragma once

#include <string>
#include <vector>

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

// The desktop program's G-Code/Make on the opened project, its questions answered by
// --answer; then the post-processor, when the machine needs one, which korvelc waits for.
// With summary, the tools-and-time summary is printed on stdout once the program is made.
// True when the program file exists.
bool MakeOpenedProject(bool summary);

// The words of a command that takes one FILE and an optional -o OUT: false (after the usage,
// with `takes` as the problem when the FILE is missing or doubled) when they are anything else.
bool FileAndOutput(const std::vector<std::string>& words, const char* takes, std::string& file,
                   std::string& output);

} // namespace korvel
