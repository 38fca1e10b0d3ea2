// The bore table and the BORE command.
#include "model/bore.h"

#include <array>
#include <cassert>

#include "base/clearable_table.h"
#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "model/bulge.h"
#include "model/hole_edit.h"
#include "model/mparam.h"
#include "model/registry.h"
#include "model/selection.h"

namespace korvel {

namespace {

ClearableTable<Bore, kMaxBores> g_bores;

Bore* Valid(int index) {
    return index >= 0 && index < kMaxBores && g_bores[index].valid ? &g_bores[index] : nullptr;
}

} // namespace

void InitBore(int index) {
    if (index == kAllSlots)
        g_bores.Clear();
    else if (index >= 0 && index < kMaxBores)
        g_bores[index] = Bore();
}

int NextBore() {
    for (int i = 0; i < kMaxBores; ++i)
        if (!g_bores[i].valid)
            return i;
    return -1;
}

int GetBore(Bore& bore, int index) {
    if (index < 0 || index >= kMaxBores)
        return 0;
    bore = g_bores[index];
    return bore.valid;
}

void PutBore(const Bore& bore, int index) {
    assert(index >= 0 && index < kMaxBores && "PutBore outside the table");
    if (index >= 0 && index < kMaxBores)
        g_bores[index] = bore;
}

int Bore_id(int index) { return Valid(index) ? g_bores[index].id : -1; }
int Bore_pid(int index) { return Valid(index) ? g_bores[index].pid : -1; }
double Bore_wz(int index) { return Valid(index) ? g_bores[index].wz : 0; }
double Bore_dia(int index) { return Valid(index) ? g_bores[index].dia : 0; }
int Bore_selected(int index) { return Valid(index) ? g_bores[index].selected : 0; }
int Bore_system(int index) { return Valid(index) ? g_bores[index].system : 0; }

void SetBore_z(int index, double z) {
    if (Bore* b = Valid(index))
        b->z = z;
}

int SelectBore(int index, int marks) {
    Bore* b = Valid(index);
    return b ? AddMarks(b->selected, marks) : 0;
}

int UnSelectBore(int index, int marks) {
    Bore* b = Valid(index);
    return b ? RemoveMarks(b->selected, marks) : 0;
}

bool BoreClicked(int index, double px, double py) {
    Bore* b = Valid(index);
    return b && !b->system && CentreClicked(*b, px, py);
}

int StrBoreData(std::string& line, int index) {
    line.clear();
    if (index < 0 || index >= kMaxBores)
        return 0;
    const Bore* b = Valid(index);
    if (b && !b->system)
        line = Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %d %d %d %d", kBore, b->id, b->pid,
                       b->dia, b->wz, b->x, b->y, b->chamfer, b->rough_tool, b->fine_tool,
                       b->quality, b->tol_offset);
    return 1;
}

void MoveBoreBy(int index, double dx, double dy) {
    if (Bore* b = Valid(index))
        MoveCentre(*b, dx, dy);
}

void MirrorBoreX(int index, double a) {
    if (Bore* b = Valid(index))
        MirrorCentreX(*b, a);
}

void MirrorBoreY(int index, double y) {
    if (Bore* b = Valid(index))
        MirrorCentreY(*b, y);
}

void TurnBore(int index, double cx, double cy, double angle_deg) {
    if (Bore* b = Valid(index))
        TurnCentre(*b, cx, cy, angle_deg);
}

void ScaleBoreBy(int index, double cx, double cy, double f) {
    Bore* b = Valid(index);
    if (!b)
        return;
    ScalePoint(cx, cy, f, b->x, b->y);
    b->dia *= f;
    b->wz *= f;
    b->rough_tool = 0;
    b->fine_tool = 0;
    DeleteMParam(b->id, kRoughMilling);
    DeleteMParam(b->id, kFinishing);
    PushScaleUndo(b->id, cx, cy, f);
}

int CopyBoreTo(int index, double dx, double dy) {
    Bore* b = Valid(index);
    int slot = NextBore();
    if (!b || slot < 0)
        return -1;
    int id = NewID(kTypeBore, slot);
    if (id < 0)
        return -1;
    Bore copy = *b;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.selected = 0;
    copy.system = 0;
    g_bores[slot] = copy;
    CopyMParam(b->id, id);
    PushDeleteUndo(id);
    return id;
}

int BoreCom(const char* file, int line) {
    // A twelfth value, written by older versions, is ignored.
    if (ArgCount() != 12 && ArgCount() != 13)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Bore b;
    b.id = ArgI(1);
    b.pid = ArgI(2);
    b.dia = ArgF(3) * f;
    b.wz = ArgF(4) * f;
    b.x = ArgF(5) * f;
    b.y = ArgF(6) * f;
    b.chamfer = ArgF(7) * f;
    b.rough_tool = ArgI(8);
    b.fine_tool = ArgI(9);
    b.quality = ArgI(10);
    b.tol_offset = static_cast<int>(ArgI(11) * f);
    b.valid = 1;
    UpsertSlot where = FindUpsertSlot(b.id, kTypeBore, "Cylindrical pockets", NextBore, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        ExactFloats exact;
        std::string previous;
        StrBoreData(previous, where.slot);
        PushUndoCom(previous);
    } else {
        RegisterNewObject(b.id, kTypeBore, where.slot);
    }
    g_bores[where.slot] = b;
    return 1;
}

} // namespace korvel
