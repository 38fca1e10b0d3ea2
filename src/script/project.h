// The project as a whole: clearing it for a new or opened project.
#pragma once

#include <string>

namespace korvel {

// Clears the project: every object, the block and coordinate systems, the project's texts and
// file names. Settings keep their values.
void InitProject();

// The lines the project file holds for one object, each ended by a line feed; 0 for an ID
// that is not registered or whose objects are not saved (compiler-made spots).
int WriteObjectLines(int id, std::string& out);
// Every object's lines in ascending ID order.
std::string AllObjectLines();
void AppendObjectLines(std::string& out); // the same lines, appended to out

// The whole project file as SaveProject writes it.
std::string ProjectText();
// Writes the project to path: 1, or 0 after a message (no path; the file cannot be written,
// in which case the old file stays as it was). Clears the project-changed flag on success.
int SaveProject(const std::string& path);
// Clears the project and reads it from path; 0 when the file cannot be opened or its last
// line was rejected, else 1. A damaged file is read as far as its lines allow, one message a
// bad line; the caller then recomputes heights and clears the undo lists.
int OpenProject(const std::string& path);

// Whether the project has changed since it was last saved or opened.
bool ProjectChanged();
void SetProjectChanged(bool changed);
// Whether G-code was made for the project as it is; every edit clears it.
bool Compiled();
void SetCompiled(bool compiled);

} // namespace korvel
