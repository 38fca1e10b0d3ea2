// The thread table and the THREAD command.
#include "model/thread.h"

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

ClearableTable<Thread, kMaxThreads> g_threads;

Thread* Valid(int index) {
    return index >= 0 && index < kMaxThreads && g_threads[index].valid ? &g_threads[index]
                                                                       : nullptr;
}

} // namespace

void InitThread(int index) {
    if (index == kAllSlots)
        g_threads.Clear();
    else if (index >= 0 && index < kMaxThreads)
        g_threads[index] = Thread();
}

int NextThread() {
    for (int i = 0; i < kMaxThreads; ++i)
        if (!g_threads[i].valid)
            return i;
    return -1;
}

int GetThread(Thread& thread, int index) {
    if (index < 0 || index >= kMaxThreads)
        return 0;
    thread = g_threads[index];
    return thread.valid;
}

void PutThread(const Thread& thread, int index) {
    assert(index >= 0 && index < kMaxThreads && "PutThread outside the table");
    if (index >= 0 && index < kMaxThreads)
        g_threads[index] = thread;
}

int GetThreadId(int index) { return Valid(index) ? g_threads[index].id : -1; }
int GetThreadPid(int index) { return Valid(index) ? g_threads[index].pid : -1; }
double Thread_wz(int index) { return Valid(index) ? g_threads[index].wz : 0; }
int Thread_selected(int index) { return Valid(index) ? g_threads[index].selected : 0; }

void SetThread_z(int index, double z) {
    if (Thread* t = Valid(index))
        t->z = z;
}

int SelectThread(int index, int marks) {
    Thread* t = Valid(index);
    return t ? AddMarks(t->selected, marks) : 0;
}

int UnSelectThread(int index, int marks) {
    Thread* t = Valid(index);
    return t ? RemoveMarks(t->selected, marks) : 0;
}

bool ThreadClicked(int index, double px, double py) {
    Thread* t = Valid(index);
    return t && CentreClicked(*t, px, py);
}

int StrThreadData(std::string& line, int index) {
    line.clear();
    if (index < 0 || index >= kMaxThreads)
        return 0;
    if (const Thread* t = Valid(index))
        line =
            Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %0.5f %d %d", kThread, t->id, t->pid,
                    t->dia, t->pitch, t->wz, t->x, t->y, t->chamfer, t->tool, t->predrill_tool);
    return 1;
}

void MoveThreadBy(int index, double dx, double dy) {
    if (Thread* t = Valid(index))
        MoveCentre(*t, dx, dy);
}

void MirrorThreadX(int index, double a) {
    if (Thread* t = Valid(index))
        MirrorCentreX(*t, a);
}

void MirrorThreadY(int index, double b) {
    if (Thread* t = Valid(index))
        MirrorCentreY(*t, b);
}

void TurnThread(int index, double cx, double cy, double angle_deg) {
    if (Thread* t = Valid(index))
        TurnCentre(*t, cx, cy, angle_deg);
}

void ScaleThreadBy(int index, double cx, double cy, double f) {
    Thread* t = Valid(index);
    if (!t || !(f > 0) || f == 1)
        return;
    ScalePoint(cx, cy, f, t->x, t->y);
    t->dia *= f;
    t->pitch *= f;
    t->wz *= f;
    t->tool = 0;
    t->predrill_tool = 0;
    DeleteMParam(t->id, kDrilling);
    DeleteMParam(t->id, kThreadCutting);
    PushScaleUndo(t->id, cx, cy, f);
}

int CopyThreadTo(int index, double dx, double dy) {
    Thread* t = Valid(index);
    int slot = NextThread();
    if (!t || slot < 0)
        return -1;
    int id = NewID(kTypeThread, slot);
    if (id < 0)
        return -1;
    Thread copy = *t;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.selected = 0;
    g_threads[slot] = copy;
    CopyMParam(t->id, id);
    PushDeleteUndo(id);
    return id;
}

int ThreadCom(const char* file, int line) {
    if (ArgCount() != 11)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Thread t;
    t.id = ArgI(1);
    t.pid = ArgI(2);
    t.dia = ArgF(3) * f;
    t.pitch = ArgF(4) * f;
    t.wz = ArgF(5) * f;
    t.x = ArgF(6) * f;
    t.y = ArgF(7) * f;
    t.chamfer = ArgF(8) * f;
    t.tool = ArgI(9);
    t.predrill_tool = ArgI(10);
    t.valid = 1;
    UpsertSlot where = FindUpsertSlot(t.id, kTypeThread, "Threads", NextThread, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        ExactFloats exact;
        std::string previous;
        StrThreadData(previous, where.slot);
        PushUndoCom(previous);
    } else {
        RegisterNewObject(t.id, kTypeThread, where.slot);
    }
    g_threads[where.slot] = t;
    return 1;
}

} // namespace korvel
