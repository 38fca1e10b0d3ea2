// Three bounded stacks of command strings.
#include "base/undo_stack.h"

#include <deque>

namespace korvel {

namespace {

// front() is the top; a push beyond the capacity drops the bottom entry.
class CommandStack {
public:
    explicit CommandStack(std::size_t capacity) : capacity_(capacity) {}
    int Push(const std::string& s) {
        if (s.empty())
            return 1;
        if (entries_.size() == capacity_)
            entries_.pop_back();
        entries_.push_front(s);
        return 1;
    }
    int Pop(std::string& out) {
        if (!Peep(out))
            return 0;
        entries_.pop_front();
        return 1;
    }
    int Peep(std::string& out) const {
        if (entries_.empty()) {
            out.clear();
            return 0;
        }
        out = entries_.front();
        return 1;
    }
    void Clear() { entries_.clear(); }
    int Depth() const { return static_cast<int>(entries_.size()); }

private:
    std::size_t capacity_;
    std::deque<std::string> entries_;
};

CommandStack g_undo(kUndoDepth);
long g_undo_pushes = 0;
bool g_undo_suspended = false;
CommandStack g_redo(kUndoDepth);
CommandStack g_reversal(kReversalDepth);

} // namespace

void InitUndoBuf() {
    g_undo.Clear();
    g_redo.Clear();
    g_reversal.Clear();
}

SuspendUndo::SuspendUndo() : previous_(g_undo_suspended) { g_undo_suspended = true; }
SuspendUndo::~SuspendUndo() { g_undo_suspended = previous_; }

bool UndoSuspended() { return g_undo_suspended; }

int PushUndoCom(const std::string& s) {
    if (g_undo_suspended)
        return 1;
    if (!s.empty())
        ++g_undo_pushes;
    return g_undo.Push(s);
}
int PushRedoCom(const std::string& s) { return g_redo.Push(s); }
int PushRevCom(const std::string& s) { return g_reversal.Push(s); }
int PopUndoCom(std::string& out) { return g_undo.Pop(out); }
int PopRedoCom(std::string& out) { return g_redo.Pop(out); }
int PopRevCom(std::string& out) { return g_reversal.Pop(out); }
int PeepUndoCom(std::string& out) { return g_undo.Peep(out); }
int PeepRedoCom(std::string& out) { return g_redo.Peep(out); }
void ClearUndoList() { g_undo.Clear(); }
void ClearRedoList() { g_redo.Clear(); }
int UndoDepth() { return g_undo.Depth(); }
int RedoDepth() { return g_redo.Depth(); }
long UndoPushCount() { return g_undo_pushes; }

} // namespace korvel
