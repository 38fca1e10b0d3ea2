// The long-hole table and the LONGHOLE command.
#include "model/longhole.h"

#include <array>
#include <cassert>

#include "base/clearable_table.h"
#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "model/bulge.h"
#include "model/mparam.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"

namespace korvel {

namespace {

ClearableTable<LongHole, kMaxLongHoles> g_holes;

LongHole* Valid(int index) {
    return index >= 0 && index < kMaxLongHoles && g_holes[index].valid ? &g_holes[index] : nullptr;
}

} // namespace

void InitLongHole(int index) {
    if (index == kAllSlots)
        g_holes.Clear();
    else if (index >= 0 && index < kMaxLongHoles)
        g_holes[index] = LongHole();
}

int NextLongHole() {
    for (int i = 0; i < kMaxLongHoles; ++i)
        if (!g_holes[i].valid)
            return i;
    return -1;
}

int GetLongHole(LongHole& hole, int index) {
    if (index < 0 || index >= kMaxLongHoles)
        return 0;
    hole = g_holes[index];
    return hole.valid;
}

void PutLongHole(const LongHole& hole, int index) {
    assert(index >= 0 && index < kMaxLongHoles && "PutLongHole outside the table");
    if (index >= 0 && index < kMaxLongHoles)
        g_holes[index] = hole;
}

int GetLongHoleId(int index) { return Valid(index) ? g_holes[index].id : -1; }
int GetLongHolePid(int index) { return Valid(index) ? g_holes[index].pid : -1; }
double LongHole_wz(int index) { return Valid(index) ? g_holes[index].wz : 0; }
int LongHole_selected(int index) { return Valid(index) ? g_holes[index].selected : 0; }

void SetLongHole_z(int index, double z) {
    if (LongHole* h = Valid(index))
        h->z = z;
}

int SelectLongHole(int index, int marks) {
    LongHole* h = Valid(index);
    return h ? AddMarks(h->selected, marks) : 0;
}

int UnSelectLongHole(int index, int marks) {
    LongHole* h = Valid(index);
    return h ? RemoveMarks(h->selected, marks) : 0;
}

int StrLongHoleData(std::string& line, int index) {
    line.clear();
    if (index < 0 || index >= kMaxLongHoles)
        return 0;
    if (const LongHole* h = Valid(index))
        line = Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %0.5f", kLonghole, h->id, h->pid,
                       h->dia, h->wz, h->lx, h->ly, h->x, h->y);
    return 1;
}

void MoveLongHoleBy(int index, double dx, double dy) {
    LongHole* h = Valid(index);
    if (!h)
        return;
    h->x += dx;
    h->y += dy;
    PushMoveUndo(h->id, dx, dy);
}

void MirrorLongHoleX(int index, double a) {
    LongHole* h = Valid(index);
    if (!h)
        return;
    h->x = 2 * a - h->x;
    h->lx = -h->lx;
    PushMirrorXUndo(h->id, a);
}

void MirrorLongHoleY(int index, double b) {
    LongHole* h = Valid(index);
    if (!h)
        return;
    h->y = 2 * b - h->y;
    h->ly = -h->ly;
    PushMirrorYUndo(h->id, b);
}

void TurnLongHole(int index, double cx, double cy, double angle_deg) {
    LongHole* h = Valid(index);
    if (!h || angle_deg == 0)
        return;
    double ex = h->x + h->lx, ey = h->y + h->ly;
    TurnPoint(cx, cy, angle_deg, h->x, h->y);
    TurnPoint(cx, cy, angle_deg, ex, ey);
    h->lx = ex - h->x;
    h->ly = ey - h->y;
    PushTurnUndo(h->id, cx, cy, angle_deg);
}

void ScaleLongHoleBy(int index, double cx, double cy, double f) {
    LongHole* h = Valid(index);
    if (!h || !(f > 0) || f == 1)
        return;
    double ex = h->x + h->lx, ey = h->y + h->ly;
    ScalePoint(cx, cy, f, h->x, h->y);
    ScalePoint(cx, cy, f, ex, ey);
    h->lx = ex - h->x;
    h->ly = ey - h->y;
    h->dia *= f;
    h->wz *= f;
    PushScaleUndo(h->id, cx, cy, f);
}

int CopyLongHoleTo(int index, double dx, double dy) {
    LongHole* h = Valid(index);
    int slot = NextLongHole();
    if (!h || slot < 0)
        return -1;
    int id = NewID(kTypeLongHole, slot);
    if (id < 0)
        return -1;
    LongHole copy = *h;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.selected = 0;
    g_holes[slot] = copy;
    CopyMParam(h->id, id);
    PushDeleteUndo(id);
    return id;
}

int LongHoleCom(const char* file, int line) {
    if (ArgCount() != 9)
        return SyntaxError(file, line);
    double f = UnitFactor();
    LongHole h;
    h.id = ArgI(1);
    h.pid = ArgI(2);
    h.dia = ArgF(3) * f;
    h.wz = ArgF(4) * f;
    h.lx = ArgF(5) * f;
    h.ly = ArgF(6) * f;
    h.x = ArgF(7) * f;
    h.y = ArgF(8) * f;
    h.valid = 1;
    UpsertSlot where = FindUpsertSlot(h.id, kTypeLongHole, "Longholes", NextLongHole, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        if (!UndoSuspended()) { // the line would be dropped: opening a project builds none
            ExactFloats exact;
            std::string previous;
            StrLongHoleData(previous, where.slot);
            PushUndoCom(previous);
        }
    } else {
        RegisterNewObject(h.id, kTypeLongHole, where.slot);
    }
    g_holes[where.slot] = h;
    return 1;
}

} // namespace korvel
