// Undo and redo by script commands.
#pragma once

namespace korvel {

// Undoes one unit or group: 1 (also with nothing to undo), 0 when a reversal was rejected (the
// redo stack then holds only "# Error! REDO impossible").
int UnDo();
// Redoes what the last undo reversed: 1, or 0 when there was nothing to redo.
int ReDo();

int UndoCom(const char* file, int line); // UNDO
int RedoCom(const char* file, int line); // REDO

} // namespace korvel
