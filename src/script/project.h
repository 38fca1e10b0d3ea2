// The project file: writing it whole and reading it back.
#pragma once

#include <string>

namespace korvel {

// The whole project file as SaveProject writes it.
std::string ProjectText();
// Writes the project to path: 1, or 0 after a message (no path; the file cannot be written,
// in which case the old file stays as it was). Clears the project-changed flag on success.
int SaveProject(const std::string& path);
// Clears the project and reads it from path; 0 when the file cannot be opened or its last
// line was rejected, else 1. A damaged file is read as far as its lines allow, one message a
// bad line; the caller then recomputes heights and clears the undo lists.
int OpenProject(const std::string& path);

} // namespace korvel
