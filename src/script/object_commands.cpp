// The object commands: MOVE, TURN, SCALE, MIRRORX, MIRRORY, DELETE, SELECT, UNSELECT and
// REVERSE, on one ID, on ALL or on the SELECTED objects.
#include "script/object_commands.h"

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "model/heights.h"
#include "model/object_ops.h"
#include "model/project_state.h"
#include "model/registry.h"

namespace korvel {

namespace {

// Runs an operation on several objects as one group for undo.
template <class Op> void AsGroup(const std::vector<int>& ids, Op op) {
    ClearRedoList();
    PushUndoCom("}");
    for (int id : ids)
        op(id);
    PushUndoCom("{");
}

// A target word: ALL, SELECTED or an ID. Returns the IDs, or a single ID in `id`.
enum class Target { kOne, kAll, kSelected };
Target ParseTarget(const std::string& word, bool all_allowed, bool any_case, int& id) {
    std::string w = any_case ? Upper(word) : word;
    if (all_allowed && w == "ALL")
        return Target::kAll;
    if (w == "SELECTED")
        return Target::kSelected;
    id = ArgI(1);
    return Target::kOne;
}

} // namespace

int MoveCom(const char* file, int line) {
    if (ArgCount() != 4)
        return SyntaxError(file, line);
    double dx = ArgF(2) * UnitFactor(), dy = ArgF(3) * UnitFactor();
    int id = 0;
    switch (ParseTarget(Arg(1), true, true, id)) {
    case Target::kAll:
        AsGroup(AllIds(), [&](int each) { MoveIdBy(each, dx, dy); });
        break;
    case Target::kSelected:
        AsGroup(SelectedIds(), [&](int each) { MoveIdBy(each, dx, dy); });
        break;
    case Target::kOne:
        MoveIdBy(id, dx, dy);
        break;
    }
    MarkProjectEdited();
    return 1;
}

namespace {
// Runs op on the target in argument 1: an ID, or SELECTED (every selected object, one group).
template <class Op> void OnTarget(Op op) {
    int id = 0;
    if (ParseTarget(Arg(1), false, false, id) == Target::kSelected)
        AsGroup(SelectedIds(), op);
    else
        op(id);
}
} // namespace

int TurnCom(const char* file, int line) {
    if (ArgCount() != 5)
        return SyntaxError(file, line);
    double cx = ArgF(2) * UnitFactor(), cy = ArgF(3) * UnitFactor(), angle = ArgF(4);
    OnTarget([&](int each) { TurnId(each, cx, cy, angle); });
    RecalcZ();
    MarkProjectEdited();
    return 1;
}

int ScaleCom(const char* file, int line) {
    if (ArgCount() != 5)
        return SyntaxError(file, line);
    double cx = ArgF(2) * UnitFactor(), cy = ArgF(3) * UnitFactor(), f = ArgF(4);
    OnTarget([&](int each) { ScaleIdBy(each, cx, cy, f); });
    MarkProjectEdited();
    return 1;
}

namespace {
int MirrorCom(bool in_x, const char* file, int line) {
    if (ArgCount() != 3)
        return SyntaxError(file, line);
    double axis = ArgF(2) * UnitFactor();
    OnTarget([&](int each) { in_x ? MirrorXId(each, axis) : MirrorYId(each, axis); });
    RecalcZ();
    MarkProjectEdited();
    return 1;
}

int SelectOrUnselect(bool select, const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    int mode = count == 3 ? ArgI(2) : 1;
    int id = 0;
    if (ParseTarget(Arg(1), true, true, id) == Target::kAll) {
        for (int each : AllIds())
            select ? SelectId(each, mode) : UnSelectId(each, mode);
        return 1;
    }
    if (select)
        return SelectId(id, mode);
    UnSelectId(id, mode);
    return 1;
}
} // namespace

int MirrorXCom(const char* file, int line) { return MirrorCom(true, file, line); }
int MirrorYCom(const char* file, int line) { return MirrorCom(false, file, line); }

int DeleteCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int id = 0;
    if (ParseTarget(Arg(1), false, false, id) != Target::kSelected) {
        DeleteId(id);
        return 1;
    }
    // Children go before their parents: delete what carries nothing, again and again; what
    // still carries an unselected object is then refused with its message.
    std::vector<int> pending = SelectedIds();
    ClearRedoList();
    PushUndoCom("}");
    for (bool progress = true; progress;) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            if (CountAttachedObjects(*it) == 0) {
                DeleteId(*it);
                it = pending.erase(it);
                progress = true;
            } else {
                ++it;
            }
        }
    }
    for (int rest : pending)
        DeleteId(rest);
    PushUndoCom("{");
    return 1;
}

int SelectCom(const char* file, int line) { return SelectOrUnselect(true, file, line); }
int UnSelectCom(const char* file, int line) { return SelectOrUnselect(false, file, line); }

int ReverseSelectionCom(const char* file, int line) {
    if (ArgCount() != 2 || !std::string_view("SELECTION").starts_with(Upper(Arg(1))))
        return SyntaxError(file, line);
    RevSelAll();
    return 1;
}

} // namespace korvel
