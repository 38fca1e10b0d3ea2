// Undo and redo by script commands, and the object-by-ID operations through which reversals
// act (MOVE, TURN, SCALE, MIRRORX, MIRRORY, DELETE, SELECT, UNSELECT, REVERSE).
#pragma once

namespace korvel {

// Undoes one unit or group: 1 (also with nothing to undo), 0 when a reversal was rejected (the
// redo stack then holds only "# Error! REDO impossible").
int UnDo();
// Redoes what the last undo reversed: 1, or 0 when there was nothing to redo.
int ReDo();

// Each finds the object and hands it to its table's own operation, which changes it and
// pushes its reversal; "Object ID %d not found!" for an unknown ID or a type the operation
// does not handle. Scaling and deleting also push what restores the milling parameters and
// preselected tools they drop.
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
void ObjectNotFound(int id);

int MoveCom(const char* file, int line);             // MOVE id|ALL|SELECTED dx dy
int TurnCom(const char* file, int line);             // TURN id|SELECTED cx cy angle
int ScaleCom(const char* file, int line);            // SCALE id|SELECTED cx cy factor
int MirrorXCom(const char* file, int line);          // MIRRORX id|SELECTED x
int MirrorYCom(const char* file, int line);          // MIRRORY id|SELECTED y
int DeleteCom(const char* file, int line);           // DELETE id|SELECTED
int SelectCom(const char* file, int line);           // SELECT id|ALL [mode]
int UnSelectCom(const char* file, int line);         // UNSELECT id|ALL [mode]
int ReverseSelectionCom(const char* file, int line); // REVERSE SELECTION
int UndoCom(const char* file, int line);             // UNDO
int RedoCom(const char* file, int line);             // REDO

} // namespace korvel
