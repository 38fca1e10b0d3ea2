// Moving, mirroring, turning, scaling and copying drawing and engraving elements.
#include "model/cla_edit.h"

#include <map>
#include <vector>

#include "base/undo_stack.h"
#include "geometry/primitives.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/heights.h"
#include "model/object_edit.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/selection.h"

namespace korvel {

namespace {

int OtherDirection(int kind) { return kind == kCwArc ? kCcwArc : kind == kCcwArc ? kCwArc : kind; }

// The slots of the elements a predicate picks, in slot order (taken before any change, so
// that copies made on the way are not visited again).
template <class Pred> std::vector<int> Elements(Pred pick) {
    std::vector<int> slots;
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && pick(e))
            slots.push_back(i);
    return slots;
}

std::vector<int> OfGroup(int group) {
    return Elements([group](const CLA& e) { return group >= 0 && e.group == group; });
}

std::vector<int> Selected() {
    return Elements([](const CLA& e) { return (e.selected & kMarkSelected) != 0; });
}

// Runs an edit over several elements as one undo step.
template <class Op> void AsOneStep(const std::vector<int>& slots, Op op) {
    ClearRedoList();
    PushUndoCom("}");
    for (int i : slots)
        op(i);
    PushUndoCom("{");
    RecalcZ();
    MarkProjectEdited();
}

// A copy of the element, joined to `group` (-2: the element's own group).
int CopyInto(int index, double dx, double dy, int group) {
    int id = CopyCLABy(index, dx, dy);
    if (id < 0 || group == -2)
        return id;
    int type, slot;
    CLA c;
    if (FindID(id, type, slot) && GetCLA(c, slot)) {
        c.group = group;
        PutCLA(c, slot);
    }
    return id;
}

} // namespace

void MoveCLABy(int index, double dx, double dy) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    e.x1 += dx;
    e.y1 += dy;
    e.x2 += dx;
    e.y2 += dy;
    PutCLA(e, index);
    PushMoveUndo(e.id, dx, dy);
}

void MirrorXCLABy(int index, double a) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    e.x1 = 2 * a - e.x1;
    e.x2 = 2 * a - e.x2;
    e.kind = OtherDirection(e.kind);
    PutCLA(e, index);
    PushMirrorXUndo(e.id, a);
}

void MirrorYCLABy(int index, double b) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    e.y1 = 2 * b - e.y1;
    e.y2 = 2 * b - e.y2;
    e.kind = OtherDirection(e.kind);
    PutCLA(e, index);
    PushMirrorYUndo(e.id, b);
}

void TurnCLABy(int index, double cx, double cy, double angle_deg) {
    CLA e;
    if (!GetCLA(e, index) || angle_deg == 0)
        return;
    TurnPoint(cx, cy, angle_deg, e.x1, e.y1);
    TurnPoint(cx, cy, angle_deg, e.x2, e.y2);
    PutCLA(e, index);
    PushTurnUndo(e.id, cx, cy, angle_deg);
}

void ScaleCLABy(int index, double cx, double cy, double f) {
    CLA e;
    if (!GetCLA(e, index) || !(f > 0) || f == 1)
        return;
    ScalePoint(cx, cy, f, e.x1, e.y1);
    ScalePoint(cx, cy, f, e.x2, e.y2);
    e.radius *= f;
    PutCLA(e, index);
    PushScaleUndo(e.id, cx, cy, f);
}

int CopyCLABy(int index, double dx, double dy) {
    CLA e;
    if (!GetCLA(e, index))
        return -1;
    int slot = NextCLA();
    if (slot < 0)
        return -1;
    int id = NewID(e.drawing ? kTypeInfoElement : kTypeEngElement, slot);
    if (id < 0)
        return -1; // the slot stays free for the next element
    e.id = id;
    e.x1 += dx;
    e.y1 += dy;
    e.x2 += dx;
    e.y2 += dy;
    e.selected = 0;
    e.sel_number = 0;
    e.valid = 1;
    PutCLA(e, slot);
    PushDeleteUndo(id);
    return id;
}

void MoveGroupBy(int group, double dx, double dy) {
    AsOneStep(OfGroup(group), [&](int i) { MoveCLABy(i, dx, dy); });
}
void MirrorXGroupBy(int group, double a) {
    AsOneStep(OfGroup(group), [&](int i) { MirrorXCLABy(i, a); });
}
void MirrorYGroupBy(int group, double b) {
    AsOneStep(OfGroup(group), [&](int i) { MirrorYCLABy(i, b); });
}
void TurnGroupBy(int group, double cx, double cy, double angle_deg) {
    AsOneStep(OfGroup(group), [&](int i) { TurnCLABy(i, cx, cy, angle_deg); });
}
void ScaleGroupBy(int group, double cx, double cy, double f) {
    AsOneStep(OfGroup(group), [&](int i) { ScaleCLABy(i, cx, cy, f); });
}

int CopyGroupBy(int group, double dx, double dy) {
    std::vector<int> slots = OfGroup(group);
    int copy_group = slots.empty() ? -1 : NewGroup();
    if (copy_group < 0)
        return -1;
    bool all = true;
    AsOneStep(slots, [&](int i) { all &= CopyInto(i, dx, dy, copy_group) >= 0; });
    return all ? copy_group : -1;
}

void MoveSelectedCLABy(double dx, double dy) {
    AsOneStep(Selected(), [&](int i) { MoveCLABy(i, dx, dy); });
}
void MirrorXSelectedCLABy(double a) {
    AsOneStep(Selected(), [&](int i) { MirrorXCLABy(i, a); });
}
void MirrorYSelectedCLABy(double b) {
    AsOneStep(Selected(), [&](int i) { MirrorYCLABy(i, b); });
}
void TurnSelectedCLABy(double cx, double cy, double angle_deg) {
    AsOneStep(Selected(), [&](int i) { TurnCLABy(i, cx, cy, angle_deg); });
}
void ScaleSelectedCLABy(double cx, double cy, double f) {
    AsOneStep(Selected(), [&](int i) { ScaleCLABy(i, cx, cy, f); });
}

int CopySelectedCLABy(double dx, double dy) {
    std::map<int, int> copy_group; // group copied -> the group of its copies
    bool all = true;
    AsOneStep(Selected(), [&](int i) {
        int group = CLA_group(i);
        int into = -1;
        if (group >= 0) {
            auto it = copy_group.find(group);
            into = it != copy_group.end() ? it->second : copy_group[group] = NewGroup();
        }
        all &= CopyInto(i, dx, dy, into) >= 0;
    });
    return all ? 1 : 0;
}

} // namespace korvel
