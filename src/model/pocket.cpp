// The pocket table: script commands, written lines and geometric edits.
#include "model/pocket.h"

#include <array>
#include <cassert>
#include <cmath>

#include "base/clearable_table.h"
#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "model/bulge.h"
#include "model/contour.h"
#include "model/mparam.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"

namespace korvel {

namespace {

ClearableTable<Pocket, kMaxPockets> g_pockets;
Pocket g_pending; // the header of an open POCKET contour
std::vector<std::string> g_undo_lines;

bool InUse(int index) { return index >= 0 && index < kMaxPockets && g_pockets[index].valid; }

std::string TrailingInts(const Pocket& p) {
    return Sprintf("%d %d %d %d %d", p.rough_tool, p.fine_tool, p.quality, p.tol_offset, p.scan);
}

void ReadCommon(Pocket& p, int first) {
    double f = UnitFactor();
    p.chamfer = ArgF(first) * f;
    p.rough_tool = ArgI(first + 1);
    p.fine_tool = ArgI(first + 2);
    p.quality = ArgI(first + 3);
    p.tol_offset = static_cast<int>(ArgI(first + 4) * f);
    p.scan = ArgI(first + 5);
}

int StorePocket(Pocket p, const char* file, int line) {
    UpsertSlot where = FindUpsertSlot(p.id, kTypePocket, "Pockets", NextPocket, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing)
        PushPocketUndo(where.slot);
    else
        RegisterNewObject(p.id, kTypePocket, where.slot);
    p.valid = 1;
    p.selected = 0;
    g_pockets[where.slot] = p;
    return 1;
}

} // namespace

int GetPocket(int index, Pocket& pocket) {
    if (index < 0 || index >= kMaxPockets)
        return 0;
    pocket = g_pockets[index];
    return pocket.valid;
}

void PutPocket(int index, const Pocket& pocket) {
    assert(index >= 0 && index < kMaxPockets && "PutPocket outside the table");
    if (index >= 0 && index < kMaxPockets)
        g_pockets[index] = pocket;
}

void InitPocket(int index) {
    if (index == kAllSlots) {
        g_pockets.Clear();
        g_pending = Pocket();
        g_undo_lines.clear();
    } else if (index >= 0 && index < kMaxPockets) {
        g_pockets[index] = Pocket();
    }
}

int NextPocket() {
    for (int i = 0; i < kMaxPockets; ++i)
        if (!g_pockets[i].valid)
            return i;
    return -1;
}

void RemovePocket(int index) {
    if (index >= 0 && index < kMaxPockets) {
        g_pockets[index].valid = 0;
        g_pockets[index].selected = 0;
    }
}

int GetPocketId(int index) { return InUse(index) ? g_pockets[index].id : -1; }
int Pocket_id(int index) { return GetPocketId(index); }
int GetPocketPid(int index) { return InUse(index) ? g_pockets[index].pid : -1; }
int Pocket_pid(int index) { return GetPocketPid(index); }
void SetPocketPid(int index, int pid) {
    if (InUse(index))
        g_pockets[index].pid = pid;
}
int Pocket_valid(int index) { return InUse(index) ? 1 : 0; }
int Pocket_selected(int index) { return InUse(index) ? g_pockets[index].selected : 0; }
double Pocket_wz(int index) { return InUse(index) ? g_pockets[index].wz : 0; }
double Pocket_z(int index) { return InUse(index) ? g_pockets[index].z : 0; }
void SetPocket_z(int index, double z) {
    if (InUse(index))
        g_pockets[index].z = z;
}

int SelectPocket(int index, int marks) {
    return InUse(index) ? AddMarks(g_pockets[index].selected, marks) : 0;
}

int UnSelectPocket(int index, int marks) {
    return InUse(index) ? RemoveMarks(g_pockets[index].selected, marks) : 0;
}

bool PocketClicked(int index, double px, double py) {
    return InUse(index) && ShapeClicked(g_pockets[index].shape, px, py);
}

double MinPocketCCWR(int index) {
    if (!InUse(index))
        return -1;
    double smallest;
    if (!SmallestArcRadius(g_pockets[index].shape, kCcwArc, smallest))
        return 0;
    return smallest + ToleranceOffsetLength(g_pockets[index].tol_offset);
}

std::vector<std::string> PocketLines(int index) {
    std::vector<std::string> lines;
    if (!InUse(index))
        return lines;
    const Pocket& p = g_pockets[index];
    const Shape& s = p.shape;
    if (p.kind == kShapeRectPocket && s.n > 0) {
        double x0, y0, x1, y1;
        ShapeExtent(s, x0, y0, x1, y1);
        lines.push_back(Sprintf("$%d %d %d %s %s %s %0.5f %0.5f %s %0.5f %s", kRpocket, p.id, p.pid,
                                FixedNonZero(x1 - x0, 5).c_str(), FixedNonZero(y1 - y0, 5).c_str(),
                                FixedNonZero(p.wz, 5).c_str(), x0, y0,
                                FixedNonZero(s.v[0].radius, 5).c_str(), p.chamfer,
                                TrailingInts(p).c_str()));
    } else {
        lines.push_back(Sprintf("$%d %d %d %0.5f %0.5f %s %0.5f %s", kPocket, p.id, p.pid, s.v[0].x,
                                s.v[0].y, FixedNonZero(p.wz, 5).c_str(), p.chamfer,
                                TrailingInts(p).c_str()));
        AppendContourLines(s, lines);
    }
    return lines;
}

int WritePocketData(int index, std::string& out) {
    out.clear();
    if (!InUse(index))
        return 0;
    for (const std::string& l : PocketLines(index))
        out += l + "\n";
    return 1;
}

int StrPocketData(std::string& line, int index, int mode) {
    if (mode == 2)
        return NextUndoLine(g_undo_lines, PocketLines(index), mode, line);
    return NextUndoLine(g_undo_lines, {}, mode, line);
}

void PushPocketUndo(int index) {
    if (UndoSuspended()) // the lines would be dropped: opening a project builds none
        return;
    ExactFloats exact;
    PushUndoUnit(PocketLines(index));
}

void MovePocketBy(int index, double dx, double dy) {
    if (!InUse(index))
        return;
    MoveContour(g_pockets[index].shape, dx, dy);
    PushMoveUndo(g_pockets[index].id, dx, dy);
}

void MirrorPocketX(int index, double a) {
    if (!InUse(index))
        return;
    if (MirrorContour(g_pockets[index].shape, true, a))
        g_pockets[index].kind = -1;
    PushMirrorXUndo(g_pockets[index].id, a);
}

void MirrorPocketY(int index, double b) {
    if (!InUse(index))
        return;
    if (MirrorContour(g_pockets[index].shape, false, b))
        g_pockets[index].kind = -1;
    PushMirrorYUndo(g_pockets[index].id, b);
}

void TurnPocket(int index, double cx, double cy, double angle_deg) {
    if (!InUse(index) || angle_deg == 0)
        return;
    TurnContour(g_pockets[index].shape, cx, cy, angle_deg);
    g_pockets[index].kind = -1;
    PushTurnUndo(g_pockets[index].id, cx, cy, angle_deg);
}

void ScalePocketBy(int index, double cx, double cy, double f) {
    if (!InUse(index) || !(f > 0) || f == 1)
        return;
    Pocket& p = g_pockets[index];
    ScaleContour(p.shape, cx, cy, f);
    p.wz *= f;
    p.dim1 *= f;
    p.dim2 *= f;
    // Preselected tools may no longer fit, nor the pocket's milling parameters.
    p.rough_tool = 0;
    p.fine_tool = 0;
    DeleteMParam(p.id, kRoughMilling);
    DeleteMParam(p.id, kFinishing);
    PushScaleUndo(p.id, cx, cy, f);
}

int CopyPocketTo(int index, double dx, double dy) {
    int slot = NextPocket();
    if (!InUse(index) || slot < 0)
        return -1;
    int id = NewID(kTypePocket, slot);
    if (id < 0)
        return -1;
    Pocket copy = g_pockets[index];
    MoveContour(copy.shape, dx, dy);
    copy.id = id;
    copy.valid = 1;
    copy.selected = 0;
    g_pockets[slot] = copy;
    CopyMParam(g_pockets[index].id, id);
    PushDeleteUndo(id);
    return id;
}

int PRectCom(const char* file, int line) {
    if (ArgCount() != 15)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Pocket p;
    p.id = ArgI(1);
    p.pid = ArgI(2);
    double l = ArgF(3) * f, w = ArgF(4) * f;
    p.wz = ArgF(5) * f;
    double x = ArgF(6) * f, y = ArgF(7) * f, r = ArgF(8) * f;
    // A pocket always has rounded corners, which fit half of each side; it needs a depth.
    if (!(r > 0) || r > l / 2 || r > w / 2 || !(p.wz > 0) || !std::isfinite(l + w))
        return OutOfRange(file, line);
    ReadCommon(p, 9);
    p.kind = kShapeRectPocket;
    p.dim1 = l;
    p.dim2 = w;
    MakeRectangleShape(p.shape, x, y, l, w, r, true);
    return StorePocket(p, file, line);
}

int PocketCom(const char* file, int line) {
    // A new outline replaces an unfinished one. After a rejected header no contour is open,
    // so its element lines and END are each reported as unexpected.
    ResetContour();
    if (ArgCount() != 12)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Pocket p;
    p.id = ArgI(1);
    p.pid = ArgI(2);
    p.wz = ArgF(5) * f;
    if (!(p.wz > 0))
        return OutOfRange(file, line);
    if (FindUpsertSlot(p.id, kTypePocket, "Pockets", NextPocket, file, line).slot < 0)
        return 0;
    ReadCommon(p, 6);
    p.kind = kShapeFree;
    g_pending = p;
    OpenContour(ContourOwner::kPocket, ArgF(3) * f, ArgF(4) * f);
    return 1;
}

int FinishPocketContour(const Shape& shape, const char* file, int line) {
    Pocket p = g_pending;
    g_pending = Pocket();
    p.shape = shape;
    p.dim1 = p.dim2 = 0;
    return StorePocket(p, file, line);
}

} // namespace korvel
