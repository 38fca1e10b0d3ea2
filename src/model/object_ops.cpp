// Operations on objects by ID, through the object-kind table.
#include "model/object_ops.h"

#include <algorithm>
#include <string>

#include "base/text.h"
#include "base/undo_stack.h"
#include "model/block.h"
#include "model/heights.h"
#include "model/mparam.h"
#include "model/object_edit.h"
#include "model/object_kind.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "platform/platform.h"

namespace korvel {

namespace {

// The lines that recreate an object, each line exact; empty for a type without lines.
std::vector<std::string> ObjectLines(int id) {
    ExactFloats exact;
    std::string text;
    std::vector<std::string> lines;
    int type, index;
    if (!FindID(id, type, index))
        return lines;
    if (type == kTypeBlock) {
        // The block's full line, with what its three project-file lines hold.
        if (StrBlockData(text))
            lines.push_back(text);
        return lines;
    }
    WriteObjectLines(id, text);
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

// Every milling-parameter entry, as exact lines.
std::vector<std::string> MParamLines() {
    ExactFloats exact;
    std::vector<std::string> lines;
    MParam p;
    for (int ok = GetFirstMParam(p); ok; ok = GetNextMParam(p))
        lines.push_back(MParamLine(p));
    return lines;
}

// The entries of `before` that `after` no longer holds.
std::vector<std::string> Lost(const std::vector<std::string>& before,
                              std::vector<std::string> after) {
    std::vector<std::string> lost;
    for (const std::string& line : before) {
        auto it = std::find(after.begin(), after.end(), line);
        if (it == after.end())
            lost.push_back(line);
        else
            after.erase(it);
    }
    return lost;
}

// The selection mark of an object; 0 for an unknown ID.
int MarkOf(int id) {
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    return kind && kind->mark ? kind->mark(index) : 0;
}

// Whether an object can be selected at all (compiler-made spots cannot).
bool Selectable(int id) {
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    return kind && kind->mark;
}

// The edit of an object by ID, or nullptr (after "Object ID %d not found!") when the ID is
// unknown or its type has no such edit.
template <class Fn> Fn Edit(int id, Fn ObjectKind::*which, int& index) {
    const ObjectKind* kind = KindOfId(id, index);
    Fn fn = kind ? kind->*which : nullptr;
    if (!fn)
        ObjectNotFound(id);
    return fn;
}

} // namespace

void ObjectNotFound(int id) {
    ShowMessage(Sprintf("Object ID %d not found!", id), "Undo/ObjectNotFound(id)",
                kMbOk | kMbIconError);
}

std::vector<int> AllIds() {
    std::vector<int> ids;
    for (int id : RegisteredObjects())
        ids.push_back(id);
    return ids;
}

std::vector<int> SelectedIds() {
    std::vector<int> ids;
    for (int id : RegisteredObjects())
        if (MarkOf(id) & 1)
            ids.push_back(id);
    return ids;
}

void MoveIdBy(int id, double dx, double dy) {
    int index;
    if (auto move = Edit(id, &ObjectKind::move, index)) {
        move(index, dx, dy);
        RecalcZ();
    }
}

void TurnId(int id, double cx, double cy, double angle_deg) {
    int index;
    if (auto turn = Edit(id, &ObjectKind::turn, index))
        turn(index, cx, cy, angle_deg);
}

void ScaleIdBy(int id, double cx, double cy, double f) {
    int index;
    auto scale = Edit(id, &ObjectKind::scale, index);
    if (!scale)
        return;
    const ObjectKind* kind = KindOfId(id, index);
    std::vector<std::string> object = ObjectLines(id);
    std::vector<std::string> params = MParamLines();
    bool tools = kind->has_tools && kind->has_tools(index);
    long pushes = UndoPushCount();
    scale(index, cx, cy, f);
    RecalcZ();
    std::vector<std::string> lost = Lost(params, MParamLines());
    if (UndoPushCount() == pushes || (!tools && lost.empty()))
        return;
    // Scaling dropped preselected tools or milling parameters: undo scales back, then the
    // restoring unit brings back the milling parameters and the object as it was (its line
    // completes the unit, so only it pushes a reversal of its own).
    std::string scale_back;
    PopUndoCom(scale_back);
    PushUndoCom("}");
    std::vector<std::string> unit = lost;
    unit.insert(unit.end(), object.begin(), object.end());
    PushUndoUnit(unit);
    PushUndoCom(scale_back);
    PushUndoCom("{");
}

void MirrorXId(int id, double a) {
    int index;
    if (auto mirror = Edit(id, &ObjectKind::mirror_x, index))
        mirror(index, a);
}

void MirrorYId(int id, double b) {
    int index;
    if (auto mirror = Edit(id, &ObjectKind::mirror_y, index))
        mirror(index, b);
}

int DeleteId(int id) {
    if (id == -1)
        return 1;
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    if (!kind) {
        ObjectNotFound(id);
        return 0;
    }
    if (CountAttachedObjects(id) > 0) {
        ShowMessage("One or more objects have been attached on this object",
                    Sprintf("Can't delete object ID=%d", id), kMbOk | kMbIconExclamation);
        return 0;
    }
    // Undo recreates the object and its milling parameters in one unit: the parameter lines
    // first, the object's own line (which pushes the reversal) last.
    std::vector<std::string> unit;
    {
        ExactFloats exact;
        MParam p;
        for (int ok = GetFirstMParam(p); ok; ok = GetNextMParam(p))
            if (p.owner == id)
                unit.push_back(MParamLine(p));
    }
    std::vector<std::string> object = ObjectLines(id);
    unit.insert(unit.end(), object.begin(), object.end());
    PushUndoUnit(unit);
    DeleteOwnerMParams(id);
    if (kind->remove)
        kind->remove(index);
    UnregisterID(id);
    RecalcZ();
    MarkProjectEdited();
    return 1;
}

int SelectId(int id, int mode) {
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    if (!kind || !kind->select) {
        ObjectNotFound(id);
        return 0;
    }
    // Only possible parents take the parent mark; the others take the selection alone.
    if (kind->parent_marks)
        return kind->select(index, mode);
    return mode & 1 ? kind->select(index, 1) : 0;
}

int UnSelectId(int id, int mode) {
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    if (!kind) {
        ObjectNotFound(id);
        return 0;
    }
    return kind->unselect ? kind->unselect(index, mode) : 0;
}

void SelectAll() {
    for (int id : AllIds())
        if (Selectable(id))
            SelectId(id, 1);
}

void UnselectAll() {
    for (int id : AllIds())
        UnSelectId(id, 3);
}

void RevSelAll() {
    for (int id : AllIds()) {
        if (!Selectable(id))
            continue;
        if (MarkOf(id) & 1)
            UnSelectId(id, 1);
        else
            SelectId(id, 1);
    }
}

} // namespace korvel
