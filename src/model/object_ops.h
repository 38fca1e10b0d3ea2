// Operations on objects by their ID, whatever their type: the geometric edits, deleting and
// selecting. Each hands the object to its table's own operation, which changes it and pushes
// the command that reverses it onto the undo stack.
#pragma once

#include <vector>

namespace korvel {

// "Object ID %d not found!"
void ObjectNotFound(int id);

// Each reports "Object ID %d not found!" for an unknown ID or a type the operation does not
// handle. Scaling and deleting also push what restores the milling parameters and preselected
// tools they drop.
void MoveIdBy(int id, double dx, double dy);
void TurnId(int id, double cx, double cy, double angle_deg);
void ScaleIdBy(int id, double cx, double cy, double f);
void MirrorXId(int id, double a);
void MirrorYId(int id, double b);
// -1 does nothing (1); an object that carries others is refused (0).
int DeleteId(int id);
// Marks: 1 selected, 2 parent for new objects (block, bulges, bores and pockets only).
int SelectId(int id, int mode);
int UnSelectId(int id, int mode);
void SelectAll();
void UnselectAll();
void RevSelAll();

// The registered IDs, and those selected for editing, in ascending order.
std::vector<int> AllIds();
std::vector<int> SelectedIds();

} // namespace korvel
