// Upserts by object ID and the reversing commands of geometric edits.
#include "model/object_edit.h"

#include "model/registry.h"
#include "base/errors.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"

namespace korvel {

UpsertSlot FindUpsertSlot(int id, int type, const char* noun, const std::function<int()>& next_free,
                          const char* file, int line) {
    UpsertSlot where;
    if (id < 1 || id > kMaxObjectId) {
        OutOfRange(file, line);
        return where;
    }
    int found_type, index;
    if (FindID(id, found_type, index)) {
        if (found_type != type) {
            WrongObjectType(file, line);
            return where;
        }
        where.slot = index;
        where.existing = true;
        return where;
    }
    where.slot = next_free();
    if (where.slot < 0)
        TooMany(noun, file, line);
    return where;
}

void RegisterNewObject(int id, int type, int slot) {
    RegisterID(id, type, slot);
    PushDeleteUndo(id);
}

double ToleranceOffsetLength(int thousandths) {
    double mm = thousandths * 0.001;
    return UserUnit() == kUnitInch ? mm / kMMPerInch : mm;
}

void PushMoveUndo(int id, double dx, double dy) {
    PushUndoCom(Sprintf("MOVE %d %s %s", id, ExactNumber(-dx).c_str(), ExactNumber(-dy).c_str()));
}

void PushMirrorXUndo(int id, double a) {
    PushUndoCom(Sprintf("MIRRORX %d %s", id, ExactNumber(a).c_str()));
}

void PushMirrorYUndo(int id, double b) {
    PushUndoCom(Sprintf("MIRRORY %d %s", id, ExactNumber(b).c_str()));
}

void PushTurnUndo(int id, double cx, double cy, double angle_deg) {
    PushUndoCom(Sprintf("TURN %d %s %s %s", id, ExactNumber(cx).c_str(), ExactNumber(cy).c_str(),
                        ExactNumber(-angle_deg).c_str()));
}

void PushScaleUndo(int id, double cx, double cy, double f) {
    PushUndoCom(Sprintf("SCALE %d %s %s %s", id, ExactNumber(cx).c_str(), ExactNumber(cy).c_str(),
                        ExactNumber(1 / f).c_str()));
}

void PushDeleteUndo(int id) {
    if (!UndoSuspended()) // opening a project registers thousands of objects
        PushUndoCom("DELETE " + std::to_string(id));
}

int NextUndoLine(std::vector<std::string>& pending, const std::vector<std::string>& lines, int mode,
                 std::string& line) {
    if (mode == 2) {
        pending = lines;
        for (std::size_t i = 0; i + 1 < pending.size(); ++i)
            pending[i] += "\n";
    } else if (mode != 3) {
        return -1;
    }
    if (pending.empty())
        return -1;
    line = pending.back();
    pending.pop_back();
    return pending.empty() ? 0 : 1;
}

void PushUndoUnit(const std::vector<std::string>& lines) {
    std::vector<std::string> pending;
    std::string line;
    for (int more = NextUndoLine(pending, lines, 2, line); more >= 0;
         more = NextUndoLine(pending, lines, 3, line)) {
        PushUndoCom(line);
        if (more == 0)
            break;
    }
}

} // namespace korvel
