// The drill and spot tables and the DRILL command.
#include "model/drill.h"

#include <cassert>

#include "base/heap_table.h"
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

HeapTable<Drill, kMaxDrills> g_drills;
HeapTable<Spot, kMaxSpots> g_spots;

template <class T> T* Valid(T* record) { return record && record->valid ? record : nullptr; }

void Release(auto& table, int index) {
    if (index == kAllSlots)
        table.Clear();
    else
        table.Free(index);
}

Drill* ValidDrill(int index) { return Valid(g_drills.Get(index)); }

} // namespace

int NextDrill() { return g_drills.Take(); }
void RemoveDrill(int index) { Release(g_drills, index); }

int GetDrill(Drill& drill, int index) {
    const Drill* d = g_drills.Get(index);
    if (!d)
        return 0;
    drill = *d;
    return drill.valid;
}

void PutDrill(const Drill& drill, int index) {
    Drill* d = g_drills.Get(index);
    assert(d && "PutDrill on a free slot");
    if (d)
        *d = drill;
}

int GetDrillId(int index) {
    const Drill* d = ValidDrill(index);
    return d ? d->id : -1;
}
int GetDrillPid(int index) {
    const Drill* d = ValidDrill(index);
    return d ? d->pid : -1;
}
double Drill_wz(int index) {
    const Drill* d = ValidDrill(index);
    return d ? d->wz : -1;
}
int Drill_selected(int index) {
    const Drill* d = ValidDrill(index);
    return d ? d->selected : 0;
}
int Drill_system(int index) {
    const Drill* d = ValidDrill(index);
    return d ? d->system : 0;
}

void SetDrill_z(int index, double z) {
    if (Drill* d = ValidDrill(index))
        d->z = z;
}

int SelectDrill(int index, int marks) {
    Drill* d = ValidDrill(index);
    return d ? AddMarks(d->selected, marks) : 0;
}

int UnSelectDrill(int index, int marks) {
    Drill* d = ValidDrill(index);
    return d ? RemoveMarks(d->selected, marks) : 0;
}

bool DrillClicked(int index, double px, double py) {
    Drill* d = ValidDrill(index);
    return d && CentreClicked(*d, px, py);
}

int NextSpot() { return g_spots.Take(); }
void RemoveSpot(int index) { Release(g_spots, index); }

int GetSpot(Spot& spot, int index) {
    const Spot* s = g_spots.Get(index);
    if (!s)
        return 0;
    spot = *s;
    return spot.valid;
}

void PutSpot(const Spot& spot, int index) {
    Spot* s = g_spots.Get(index);
    assert(s && "PutSpot on a free slot");
    if (s)
        *s = spot;
}

int GetSpotId(int index) {
    const Spot* s = Valid(g_spots.Get(index));
    return s ? s->id : -1;
}

int GetSpotPid(int index) {
    const Spot* s = Valid(g_spots.Get(index));
    return s ? s->pid : -1;
}

void SetSpot_z(int index, double z) {
    if (Spot* s = Valid(g_spots.Get(index)))
        s->z = z;
}

int StrDrillData(std::string& line, int index) {
    line.clear();
    Drill* d = ValidDrill(index);
    if (!d || d->system)
        return 0;
    std::array<int, 3> reserved = DrillReservedInLineOrder(*d);
    line = Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %d %d %d %d", kDrill, d->id, d->pid,
                   d->dia, d->wz, d->x, d->y, d->chamfer, d->tool, reserved[0], reserved[1],
                   reserved[2]);
    return 1;
}

void MoveDrillBy(int index, double dx, double dy) {
    if (Drill* d = ValidDrill(index))
        MoveCentre(*d, dx, dy);
}

void MirrorDrillX(int index, double a) {
    if (Drill* d = ValidDrill(index))
        MirrorCentreX(*d, a);
}

void MirrorDrillY(int index, double b) {
    if (Drill* d = ValidDrill(index))
        MirrorCentreY(*d, b);
}

void TurnDrill(int index, double cx, double cy, double angle_deg) {
    if (Drill* d = ValidDrill(index))
        TurnCentre(*d, cx, cy, angle_deg);
}

void ScaleDrillBy(int index, double cx, double cy, double f) {
    Drill* d = ValidDrill(index);
    if (!d || !(f > 0) || f == 1)
        return;
    ScalePoint(cx, cy, f, d->x, d->y);
    d->dia *= f;
    d->wz *= f;
    // The preselected tool no longer fits, nor its drilling parameters.
    d->tool = 0;
    DeleteMParam(d->id, kDrilling);
    PushScaleUndo(d->id, cx, cy, f);
}

int CopyDrillTo(int index, double dx, double dy) {
    Drill* d = ValidDrill(index);
    if (!d)
        return -1;
    int slot = NextDrill();
    if (slot < 0)
        return -1;
    int id = NewID(kTypeDrill, slot);
    if (id < 0) {
        RemoveDrill(slot);
        return -1;
    }
    Drill copy = *d;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.valid = 1;
    copy.selected = 0;
    copy.system = 0;
    *g_drills.Get(slot) = copy;
    CopyMParam(d->id, id);
    PushDeleteUndo(id);
    return id;
}

int DrillCom(const char* file, int line) {
    // A DRILL line of another length is refused without a message: old files carry such
    // lines, and they are skipped quietly.
    if (ArgCount() != 12)
        return 0;
    double f = UnitFactor();
    Drill d;
    d.id = ArgI(1);
    d.pid = ArgI(2);
    d.dia = ArgF(3) * f;
    d.wz = ArgF(4) * f;
    d.x = ArgF(5) * f;
    d.y = ArgF(6) * f;
    d.chamfer = ArgF(7) * f;
    d.tool = ArgI(8);
    SetDrillReservedFromLine(d, ArgI(9), ArgI(10), ArgI(11));
    d.valid = 1;
    UpsertSlot where = FindUpsertSlot(d.id, kTypeDrill, "Drills", NextDrill, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        if (!UndoSuspended()) { // the line would be dropped: opening a project builds none
            ExactFloats exact;
            std::string previous;
            if (StrDrillData(previous, where.slot))
                PushUndoCom(previous);
        }
    } else {
        RegisterNewObject(d.id, kTypeDrill, where.slot);
    }
    g_drills.Ensure(where.slot) = d;
    return 1;
}

} // namespace korvel
