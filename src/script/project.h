// The project as a whole: clearing it for a new or opened project.
#pragma once

namespace korvel {

// Clears the project: every object, the block and coordinate systems, the project's texts and
// file names. Settings keep their values.
void InitProject();

} // namespace korvel
