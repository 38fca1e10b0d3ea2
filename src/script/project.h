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

} // namespace korvel
