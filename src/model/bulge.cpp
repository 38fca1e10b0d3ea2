// The bulge table: script commands, written lines, levels and geometric edits.
#include "model/bulge.h"

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
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/contour.h"
#include "model/heights.h"
#include "model/mparam.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"
#include "platform/platform.h"

namespace korvel {

namespace {

ClearableTable<Bulge, kMaxBulges> g_bulges;
Bulge g_pending;         // the header of an open BULGE contour
int g_level_cursor = -1; // FindFirstLevelBulge / FindNextLevelBulge

// Undo line generator state.
std::vector<std::string> g_undo_lines;

bool InUse(int index) { return index >= 0 && index < kMaxBulges && g_bulges[index].valid; }

// A parent chain longer than the registry is a loop (a damaged file).
constexpr int kMaxWalk = kMaxObjectId;

// The five integers that end every bulge line.
std::string TrailingInts(const Bulge& b) {
    return Sprintf("%d %d %d %d %d", b.rough_tool, b.fine_tool, b.quality, b.tol_offset, b.scan);
}

// Reads the trailing common values of a shape line from argument `first` on: chamfer, rough
// tool, fine tool, quality, tolerance offset, scan directions.
void ReadCommon(Bulge& b, int first, bool scale_tolerance) {
    double f = UnitFactor();
    b.chamfer = ArgF(first) * f;
    b.rough_tool = ArgI(first + 1);
    b.fine_tool = ArgI(first + 2);
    b.quality = ArgI(first + 3);
    b.tol_offset = scale_tolerance ? static_cast<int>(ArgI(first + 4) * f) : ArgI(first + 4);
    b.scan = ArgI(first + 5);
}

bool ValidId(int id) { return id >= 1 && id <= kMaxObjectId; }

// Stores a bulge by its ID: replaces the bulge of that ID (pushing its lines for undo) or
// takes a free slot (pushing DELETE).
int StoreBulge(Bulge b, const char* file, int line) {
    UpsertSlot where = FindUpsertSlot(b.id, kTypeBulge, "Bulges", NextBulge, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing)
        PushBulgeUndo(where.slot);
    else
        RegisterNewObject(b.id, kTypeBulge, where.slot);
    b.valid = 1;
    b.selected = 0;
    g_bulges[where.slot] = b;
    return 1;
}

void MakeCylinder(Shape& s, double cx, double cy, double r) {
    s = Shape();
    s.v[0] = {cx, cy - r, r, kCcwArc};
    s.v[1] = {cx, cy + r, r, kCcwArc};
    s.n = 2;
}

// Parent of an object by ID, through the registry's dispatch.
int ParentId(int id) { return GetPID(id); }

int PolygonError(const char* with_file, const char* without, const char* file, int line) {
    std::string text =
        file ? Sprintf("%s, file [%s], line [%d]", with_file, file, line) : std::string(without);
    ShowMessage(text, "Errors found", kMbOk | kMbIconExclamation);
    return 0;
}

void MirrorBulge(Bulge& b, bool in_x, double axis) {
    if (b.kind != kShapeCylinder) {
        if (MirrorContour(b.shape, in_x, axis))
            b.kind = -1;
        return;
    }
    for (int i = 0; i < 2; ++i) {
        ShapeVertex& p = b.shape.v[i];
        (in_x ? p.x : p.y) = 2 * axis - (in_x ? p.x : p.y);
    }
    // Vertex 0 stays the lower one: the centre lies one radius above it.
    if (b.shape.v[0].y > b.shape.v[1].y)
        std::swap(b.shape.v[0], b.shape.v[1]);
}

} // namespace

int GetBulge(int index, Bulge& bulge) {
    if (index < 0 || index >= kMaxBulges)
        return 0;
    bulge = g_bulges[index];
    return bulge.valid;
}

void PutBulge(int index, const Bulge& bulge) {
    assert(index >= 0 && index < kMaxBulges && "PutBulge outside the table");
    if (index >= 0 && index < kMaxBulges)
        g_bulges[index] = bulge;
}

void InitBulge(int index) {
    if (index == kAllSlots) {
        g_bulges.Clear();
        g_pending = Bulge();
        g_level_cursor = -1;
        g_undo_lines.clear();
    } else if (index >= 0 && index < kMaxBulges) {
        g_bulges[index] = Bulge();
    }
}

int NextBulge() {
    for (int i = 0; i < kMaxBulges; ++i)
        if (!g_bulges[i].valid)
            return i;
    return -1;
}

void RemoveBulge(int index) {
    if (index >= 0 && index < kMaxBulges) {
        g_bulges[index].valid = 0;
        g_bulges[index].selected = 0;
    }
}

int GetBulgeId(int index) { return InUse(index) ? g_bulges[index].id : -1; }
int Bulge_id(int index) { return GetBulgeId(index); }
int GetBulgePid(int index) { return InUse(index) ? g_bulges[index].pid : -1; }
int Bulge_pid(int index) { return GetBulgePid(index); }
void SetBulgePid(int index, int pid) {
    if (InUse(index))
        g_bulges[index].pid = pid;
}
int Bulge_valid(int index) { return InUse(index) ? 1 : 0; }
int Bulge_selected(int index) { return InUse(index) ? g_bulges[index].selected : 0; }
double Bulge_wz(int index) { return InUse(index) ? g_bulges[index].wz : 0; }
double Bulge_z(int index) { return InUse(index) ? g_bulges[index].z : 0; }
void SetBulge_z(int index, double z) {
    if (InUse(index))
        g_bulges[index].z = z;
}

int Bulge_is_island(int index) {
    if (!InUse(index))
        return 0;
    int type, parent_index;
    if (!FindID(g_bulges[index].pid, type, parent_index))
        return 0;
    return type != kTypeBlock && type != kTypeBulge ? 1 : 0;
}

int SelectBulge(int index, int marks) {
    return InUse(index) ? AddMarks(g_bulges[index].selected, marks) : 0;
}

int UnSelectBulge(int index, int marks) {
    return InUse(index) ? RemoveMarks(g_bulges[index].selected, marks) : 0;
}

std::vector<std::string> BulgeLines(int index) {
    std::vector<std::string> lines;
    if (!InUse(index))
        return lines;
    const Bulge& b = g_bulges[index];
    const Shape& s = b.shape;
    if (b.kind == kShapeRectangle && s.n > 0) {
        double x0, y0, x1, y1;
        ShapeExtent(s, x0, y0, x1, y1);
        lines.push_back(Sprintf("$%d %d %d %s %s %s %0.5f %0.5f %0.5f %0.5f %s", kRbulge, b.id,
                                b.pid, FixedNonZero(x1 - x0, 5).c_str(),
                                FixedNonZero(y1 - y0, 5).c_str(), FixedNonZero(b.wz, 5).c_str(), x0,
                                y0, s.v[0].radius, b.chamfer, TrailingInts(b).c_str()));
    } else if (b.kind == kShapeCylinder && s.n > 0) {
        double r = s.v[0].radius;
        lines.push_back(Sprintf("$%d %d %d %s %s %0.5f %0.5f %0.5f %s", kCbulge, b.id, b.pid,
                                FixedNonZero(2 * r, 5).c_str(), FixedNonZero(b.wz, 5).c_str(),
                                s.v[0].x, s.v[0].y + r, b.chamfer, TrailingInts(b).c_str()));
    } else if (b.kind == kShapePolygon && s.n > 0) {
        double r = b.dim1 / 2;
        lines.push_back(Sprintf("$%d %d %d %d %s %s %0.5f %0.5f %0.5f %s", kPolygon, b.id, b.pid,
                                s.n, FixedNonZero(r, 5).c_str(), FixedNonZero(b.wz, 5).c_str(),
                                s.v[0].x - r, s.v[0].y, b.chamfer, TrailingInts(b).c_str()));
    } else {
        lines.push_back(Sprintf("$%d %d %d %0.5f %0.5f %s %0.5f %s", kBulge, b.id, b.pid, s.v[0].x,
                                s.v[0].y, FixedNonZero(b.wz, 5).c_str(), b.chamfer,
                                TrailingInts(b).c_str()));
        AppendContourLines(s, lines);
    }
    return lines;
}

int WriteBulgeData(int index, std::string& out) {
    out.clear();
    if (!InUse(index))
        return 0;
    for (const std::string& l : BulgeLines(index))
        out += l + "\n";
    return 1;
}

int StrBulgeData(std::string& line, int index, int mode) {
    if (mode == 2)
        return NextUndoLine(g_undo_lines, BulgeLines(index), mode, line);
    return NextUndoLine(g_undo_lines, {}, mode, line);
}

void PushBulgeUndo(int index) {
    if (UndoSuspended()) // the lines would be dropped: opening a project builds none
        return;
    ExactFloats exact;
    PushUndoUnit(BulgeLines(index));
}

int BulgeLevel(int index) {
    if (!InUse(index))
        return -1;
    int level = 0;
    int previous = kTypeBulge;
    int id = g_bulges[index].pid;
    for (int step = 0; step < kMaxWalk; ++step) {
        int type, at;
        if (!FindID(id, type, at))
            return -1;
        if (type == kTypeBlock)
            return level;
        if (type == kTypeBulge) {
            if (previous == kTypeBulge)
                ++level;
        } else if (type != kTypePocket && type != kTypeBore) {
            return -1;
        }
        previous = type;
        id = ParentId(id);
    }
    return -1;
}

int TopLevel() {
    int top = -1;
    for (int i = 0; i < kMaxBulges; ++i)
        if (InUse(i))
            top = std::max(top, BulgeLevel(i));
    return top;
}

int FindFirstLevelBulge(int level) {
    g_level_cursor = -1;
    return FindNextLevelBulge(level);
}

int FindNextLevelBulge(int level) {
    if (level == -1)
        return -1;
    while (++g_level_cursor < kMaxBulges)
        if (InUse(g_level_cursor) && BulgeLevel(g_level_cursor) == level)
            return g_level_cursor;
    return -1;
}

int BulgeId_to_level(int id) {
    int type, index;
    if (!FindID(id, type, index) || type != kTypeBulge)
        return -1;
    return BulgeLevel(index);
}

int ChildBulgeIndex(int pid) {
    for (int id = 1; id <= kMaxObjectId; ++id) {
        int type, index;
        if (FindID(id, type, index) && type == kTypeBulge && InUse(index) &&
            g_bulges[index].pid == pid)
            return index;
    }
    return -1;
}

int TopBulgeIndex() {
    if (!Block_valid())
        return -1;
    int top = TopLevel();
    if (top < 0)
        return -1;
    int saved = g_level_cursor;
    int index = FindFirstLevelBulge(top);
    g_level_cursor = saved;
    return index;
}

int MaxBulgeStructureHeight(double& height) {
    height = 0;
    for (int i = 0; i < kMaxBulges; ++i) {
        if (!InUse(i))
            continue;
        double sum = g_bulges[i].wz;
        int id = g_bulges[i].pid;
        int step = 0;
        for (; step < kMaxWalk; ++step) {
            int type, index;
            if (!FindID(id, type, index))
                return 0;
            if (type == kTypeBlock)
                break;
            if (type == kTypeBulge)
                sum += Bulge_wz(index);
            else if (type == kTypePocket || type == kTypeBore)
                sum -= ObjectWz(id);
            id = ParentId(id);
        }
        if (step == kMaxWalk)
            return 0;
        height = std::fmax(height, sum);
    }
    return 1;
}

double MinBulgeCWR(int index) {
    if (!InUse(index))
        return -1;
    double smallest;
    if (!SmallestArcRadius(g_bulges[index].shape, kCwArc, smallest))
        return 0;
    return smallest - ToleranceOffsetLength(g_bulges[index].tol_offset);
}

void BroadcastCommonBulgeData(int index) {
    if (!InUse(index))
        return;
    const Bulge& b = g_bulges[index];
    int type, at;
    if (!FindID(b.pid, type, at)) {
        ShowMessage(Sprintf("Parent object for BULGE ID=%d is unknwon", b.id),
                    "BroadcastCommonBulgeData", kMbOk | kMbIconExclamation);
        return;
    }
    int level = ObjLevel(b.pid);
    if (type == kTypeBlock || type == kTypeBulge)
        ++level;
    for (int i = 0; i < kMaxBulges; ++i) {
        if (i == index || !InUse(i) || BulgeLevel(i) != level)
            continue;
        Bulge& o = g_bulges[i];
        o.wz = b.wz;
        o.rough_tool = b.rough_tool;
        o.fine_tool = b.fine_tool;
        o.quality = b.quality;
        o.scan = b.scan;
    }
}

bool BulgeClicked(int index, double px, double py) {
    if (!InUse(index))
        return false;
    return ShapeClicked(g_bulges[index].shape, px, py);
}

int cpshape(Bulge& dst, const Bulge& src) {
    Shape compact;
    if (CompactShape(src.shape, compact) < 2) {
        dst.shape = Shape();
        dst.valid = 0;
        dst.kind = -1;
        return 0;
    }
    dst.shape = compact;
    dst.id = src.id;
    dst.pid = src.pid;
    dst.selected = src.selected;
    dst.kind = src.kind;
    dst.wz = src.wz;
    dst.dim1 = src.dim1;
    dst.dim2 = src.dim2;
    return 1;
}

void MoveBulgeBy(int index, double dx, double dy) {
    if (!InUse(index))
        return;
    Bulge& b = g_bulges[index];
    for (int i = 0; i <= b.shape.n && i < kMaxShapeVertices; ++i) {
        b.shape.v[i].x += dx;
        b.shape.v[i].y += dy;
    }
    PushUndoCom(Sprintf("MOVE %d %s %s", b.id, ExactNumber(-dx).c_str(), ExactNumber(-dy).c_str()));
}

void MirrorBulgeX(int index, double a) {
    if (!InUse(index))
        return;
    MirrorBulge(g_bulges[index], true, a);
    PushMirrorXUndo(g_bulges[index].id, a);
}

void MirrorBulgeY(int index, double b) {
    if (!InUse(index))
        return;
    MirrorBulge(g_bulges[index], false, b);
    PushMirrorYUndo(g_bulges[index].id, b);
}

void TurnBulge(int index, double cx, double cy, double angle_deg) {
    if (!InUse(index) || angle_deg == 0)
        return;
    Bulge& b = g_bulges[index];
    if (b.kind == kShapeCylinder) {
        double r = b.shape.v[0].radius;
        double x = b.shape.v[0].x, y = b.shape.v[0].y + r;
        TurnPoint(cx, cy, angle_deg, x, y);
        MakeCylinder(b.shape, x, y, r);
    } else {
        TurnContour(b.shape, cx, cy, angle_deg);
        b.kind = -1;
    }
    PushUndoCom(Sprintf("TURN %d %s %s %s", b.id, ExactNumber(cx).c_str(), ExactNumber(cy).c_str(),
                        ExactNumber(-angle_deg).c_str()));
}

void ScaleBulgeBy(int index, double cx, double cy, double f) {
    if (!InUse(index) || !(f > 0) || f == 1)
        return;
    Bulge& b = g_bulges[index];
    ScaleContour(b.shape, cx, cy, f);
    b.wz *= f;
    b.dim1 *= f;
    b.dim2 *= f;
    // Preselected tools may no longer fit, nor the level's milling parameters.
    b.rough_tool = 0;
    b.fine_tool = 0;
    DeleteLevelMParam(index, kRoughMilling);
    DeleteLevelMParam(index, kFinishing);
    PushUndoCom(Sprintf("SCALE %d %s %s %s", b.id, ExactNumber(cx).c_str(), ExactNumber(cy).c_str(),
                        ExactNumber(1 / f).c_str()));
}

int CopyBulgeTo(int index, double dx, double dy) {
    if (!InUse(index))
        return -1;
    int slot = NextBulge();
    if (slot < 0)
        return -1;
    int id = NewID(kTypeBulge, slot);
    if (id < 0)
        return -1;
    Bulge copy = g_bulges[index];
    MoveContour(copy.shape, dx, dy);
    copy.id = id;
    copy.valid = 1;
    copy.selected = 0;
    g_bulges[slot] = copy;
    CopyMParam(g_bulges[index].id, id);
    PushDeleteUndo(id);
    return id;
}

int LRectCom(const char* file, int line) {
    if (ArgCount() != 15)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Bulge b;
    b.id = ArgI(1);
    b.pid = ArgI(2);
    double l = ArgF(3) * f, w = ArgF(4) * f;
    b.wz = ArgF(5) * f;
    double x = ArgF(6) * f, y = ArgF(7) * f, r = ArgF(8) * f;
    // A rectangle needs a size and a height; its edge radius fits half of each side.
    if (!ValidId(b.id) || !(l > 0) || !(w > 0) || !(b.wz > 0) || !(r >= 0) || r > l / 2 ||
        r > w / 2)
        return OutOfRange(file, line);
    ReadCommon(b, 9, true);
    b.kind = kShapeRectangle;
    b.dim1 = l;
    b.dim2 = w;
    MakeRectangleShape(b.shape, x, y, l, w, r, false);
    return StoreBulge(b, file, line);
}

int CylinderCom(const char* file, int line) {
    if (ArgCount() != 13)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Bulge b;
    b.id = ArgI(1);
    b.pid = ArgI(2);
    double d = ArgF(3) * f;
    b.wz = ArgF(4) * f;
    if (!ValidId(b.id) || !(d > 0) || !(b.wz > 0) || !std::isfinite(d))
        return OutOfRange(file, line);
    ReadCommon(b, 7, true);
    b.kind = kShapeCylinder;
    b.dim1 = b.dim2 = d;
    MakeCylinder(b.shape, ArgF(5) * f, ArgF(6) * f, d / 2);
    return StoreBulge(b, file, line);
}

int PolygonCom(const char* file, int line) {
    if (ArgCount() != 14)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Bulge b;
    b.id = ArgI(1);
    b.pid = ArgI(2);
    int edges = ArgI(3);
    double r = ArgF(4) * f;
    b.wz = ArgF(5) * f;
    if (!(r > 0) || !(b.wz > 0) || edges <= 2)
        return PolygonError("Polygon has 0 volume!", "Polygon has 0 volume!", file, line);
    if (edges >= 127)
        return PolygonError("Polygon, too many edges", "Polygon has too many edges!", file, line);
    if (!ValidId(b.id))
        return OutOfRange(file, line);
    ReadCommon(b, 8, false);
    b.kind = kShapePolygon;
    b.dim1 = b.dim2 = 2 * r;
    double cx = ArgF(6) * f, cy = ArgF(7) * f;
    for (int i = 0; i <= edges; ++i) {
        double a = 2 * kPi * i / edges;
        b.shape.v[i] = {cx + r * std::cos(a), cy + r * std::sin(a), 0, kLine};
    }
    b.shape.n = edges;
    return StoreBulge(b, file, line);
}

int BulgeCom(const char* file, int line) {
    // A new outline replaces an unfinished one. After a rejected header no contour is open,
    // so its element lines and END are each reported as unexpected.
    ResetContour();
    if (ArgCount() != 12)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Bulge b;
    b.id = ArgI(1);
    b.pid = ArgI(2);
    b.wz = ArgF(5) * f;
    if (!ValidId(b.id) || !(b.wz > 0))
        return OutOfRange(file, line);
    if (FindUpsertSlot(b.id, kTypeBulge, "Bulges", NextBulge, file, line).slot < 0)
        return 0;
    ReadCommon(b, 6, true);
    b.kind = kShapeFree;
    g_pending = b;
    OpenContour(ContourOwner::kBulge, ArgF(3) * f, ArgF(4) * f);
    return 1;
}

int FinishBulgeContour(const Shape& shape, const char* file, int line) {
    Bulge b = g_pending;
    g_pending = Bulge();
    b.shape = shape;
    b.dim1 = b.dim2 = 0;
    return StoreBulge(b, file, line);
}

} // namespace korvel
