// The project as a whole: clearing it, and whether it has changed or been compiled since.
#pragma once

namespace korvel {

// Clears the project: every object, the block and coordinate systems, the project's texts and
// file names. Settings keep their values.
void InitProject();

// Whether the project has changed since it was last saved or opened.
bool ProjectChanged();
void SetProjectChanged(bool changed);
// Whether G-code was made for the project as it is; every edit clears it.
bool Compiled();
void SetCompiled(bool compiled);
// An edit: the project has changed and its G-code is out of date.
void MarkProjectEdited();

} // namespace korvel
