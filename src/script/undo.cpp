// The undo and redo algorithms: replaying the reversing commands of the undo stack and moving
// what they push back onto the redo stack.
#include "script/undo.h"

#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "model/project_state.h"
#include "script/interpreter.h"

namespace korvel {

namespace {

bool Continues(std::string& entry) {
    if (entry.empty() || entry.back() != '\n')
        return false;
    entry.pop_back();
    return true;
}

// Moves the reversal that the last replayed command pushed (one entry, or a unit of continuing
// entries with its last one) from the undo stack to the redo stack, keeping its order.
void MoveReversalToRedo() {
    std::string entry;
    while (PopUndoCom(entry)) {
        PushRevCom(entry);
        if (entry.empty() || entry.back() != '\n')
            break;
    }
    while (PopRevCom(entry))
        PushRedoCom(entry);
}

} // namespace

int UnDo() {
    ClearRedoList();
    int depth = 0;
    std::string entry;
    while (PopUndoCom(entry)) {
        bool continues = Continues(entry);
        if (!entry.empty() && entry[0] == '#') {
            // a note, not a change
        } else if (entry == "{") {
            ++depth;
        } else if (entry == "}") {
            --depth;
        } else {
            long pushes = UndoPushCount();
            if (!IntrepretLine(entry, nullptr, 0)) {
                ClearRedoList();
                PushRedoCom("# Error! REDO impossible");
                return 0;
            }
            MarkProjectEdited();
            // A command that pushed no reversal has nothing to hand to redo.
            if (!continues && UndoPushCount() != pushes)
                MoveReversalToRedo();
        }
        if (depth <= 0 && !continues)
            return 1;
    }
    return 1;
}

int ReDo() {
    if (RedoDepth() == 0)
        return 0;
    PushUndoCom("}");
    bool any = false;
    std::string entry;
    while (PopRedoCom(entry)) {
        Continues(entry);
        if (IntrepretLine(entry, nullptr, 0))
            any = true;
    }
    if (any)
        MarkProjectEdited();
    PushUndoCom("{");
    return 1;
}

int UndoCom(const char* file, int line) {
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    UnDo();
    return 1;
}

int RedoCom(const char* file, int line) {
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    ReDo();
    return 1;
}

} // namespace korvel
