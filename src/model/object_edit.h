// What the feature tables share: storing a record by its object ID (update in place, or a new
// slot), and the commands pushed for undo. Numbers in pushed commands are written so that they
// read back exactly.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korvel {

struct UpsertSlot {
    int slot = -1;
    bool existing = false; // the ID is already an object of this type, in `slot`
};

// Where an object of `type` with `id` is stored: its own slot when the ID already names one of
// this type, else the free slot `next_free` gives. Reports "Value(s) out of range" for an ID
// outside 1..8191, "Wrong object type" for an ID of another type and "Too many <noun>" when no
// slot is free; slot is then -1. Nothing is changed.
UpsertSlot FindUpsertSlot(int id, int type, const char* noun, const std::function<int()>& next_free,
                          const char* file, int line);

// Registers a new object under its ID and pushes the command that deletes it again.
void RegisterNewObject(int id, int type, int slot);

// A tolerance offset (thousandths of a millimetre) as a length in the user unit.
double ToleranceOffsetLength(int thousandths);

void PushMoveUndo(int id, double dx, double dy);
void PushMirrorXUndo(int id, double a);
void PushMirrorYUndo(int id, double b);
void PushTurnUndo(int id, double cx, double cy, double angle_deg);
void PushScaleUndo(int id, double cx, double cy, double f);
void PushDeleteUndo(int id);

// The undo line generator of objects written as several lines: mode 2 starts with the
// object's lines in written order, mode 3 continues. Gives them last first; every line but the
// written last one ends in a line feed, so that the undo stack holds them as one unit. 1 while
// more follow, 0 with the last line, -1 when nothing is left (or for another mode).
int NextUndoLine(std::vector<std::string>& pending, const std::vector<std::string>& lines, int mode,
                 std::string& line);
// Pushes an object's lines onto the undo stack as one unit.
void PushUndoUnit(const std::vector<std::string>& lines);

} // namespace korvel
