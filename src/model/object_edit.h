// What the feature tables share: storing a record by its object ID (update in place, or a new
// slot), and the commands pushed for undo. Numbers in pushed commands are written so that they
// read back exactly.
#pragma once

#include <functional>

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

void PushMoveUndo(int id, double dx, double dy);
void PushMirrorXUndo(int id, double a);
void PushMirrorYUndo(int id, double b);
void PushTurnUndo(int id, double cx, double cy, double angle_deg);
void PushScaleUndo(int id, double cx, double cy, double f);
void PushDeleteUndo(int id);

} // namespace korvel
