// The object commands of the script language, each acting on one ID, on ALL objects or on the
// SELECTED ones (several objects change as one group for undo).
#pragma once

namespace korvel {

int MoveCom(const char* file, int line);             // MOVE id|ALL|SELECTED dx dy
int TurnCom(const char* file, int line);             // TURN id|SELECTED cx cy angle
int ScaleCom(const char* file, int line);            // SCALE id|SELECTED cx cy factor
int MirrorXCom(const char* file, int line);          // MIRRORX id|SELECTED x
int MirrorYCom(const char* file, int line);          // MIRRORY id|SELECTED y
int DeleteCom(const char* file, int line);           // DELETE id|SELECTED
int SelectCom(const char* file, int line);           // SELECT id|ALL [mode]
int UnSelectCom(const char* file, int line);         // UNSELECT id|ALL [mode]
int ReverseSelectionCom(const char* file, int line); // REVERSE SELECTION

} // namespace korvel
