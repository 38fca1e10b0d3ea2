// The undo, redo and reversal stacks: each entry is one script command that reverses a change.
// A push on a full stack forgets the oldest entry, so a push never fails.
#pragma once

#include <string>

namespace korvel {

constexpr int kUndoDepth = 4096;    // undo and redo stacks
constexpr int kReversalDepth = 512; // scratch stack that keeps order while moving entries

// Empties the undo and redo stacks.
void InitUndoBuf();

// While a SuspendUndo lives, pushes onto the undo stack are dropped: reading a whole project is
// not a change that undo could take back.
class SuspendUndo {
public:
    SuspendUndo();
    ~SuspendUndo();
    SuspendUndo(const SuspendUndo&) = delete;
    SuspendUndo& operator=(const SuspendUndo&) = delete;

private:
    bool previous_;
};

// Push a copy of a command; an empty one is ignored. Return 1.
// True while a SuspendUndo lives: a caller may then skip building the line it would push.
bool UndoSuspended();
int PushUndoCom(const std::string& s);
int PushRedoCom(const std::string& s);
int PushRevCom(const std::string& s);

// Remove the top entry into out; 0 (and out emptied) when the stack is empty.
int PopUndoCom(std::string& out);
int PopRedoCom(std::string& out);
int PopRevCom(std::string& out);

// Copy the top entry without removing it; 0 (and out emptied) when empty.
int PeepUndoCom(std::string& out);
int PeepRedoCom(std::string& out);

void ClearUndoList();
void ClearRedoList();

int UndoDepth();
int RedoDepth();
// How many entries have been pushed onto the undo stack since the start (a full stack still
// counts each push).
long UndoPushCount();

} // namespace korvel
