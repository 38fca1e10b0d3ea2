// The element table, its script commands ENG_CLA and INFO_CLA, and its lines.
#include "model/cla.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "base/errors.h"
#include "base/heap_table.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/bulge.h"
#include "model/cla_group.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/settings.h"
#include "model/texts.h"
#include "platform/platform.h"

namespace korvel {

namespace {

HeapTable<CLA, kMaxCLA> g_cla;
// No slot below this one holds a record that is not valid: a record becomes one only when it is
// taken fresh or put with `valid` 0, and both lower it. Keeps NextCLA from walking the whole
// table while an import fills it.
int g_no_invalid_below = 0;

constexpr int kViewDrawingBit = 64; // VIEW visibility bit of the free drawing

CLA* Valid(int index) {
    CLA* e = g_cla.Get(index);
    return e && e->valid ? e : nullptr;
}

bool SamePoint(double ax, double ay, double bx, double by, double tol) {
    return intol(ax, bx, tol) && intol(ay, by, tol);
}

struct ReadGeometry {
    CLA e;
    int ok = 0;
};

// Reads the ID and the geometry of an ENG_CLA or INFO_CLA line from argument 3 on, with the
// unit factor applied; `values` is how many geometry values it has (3 circle, 4 line, 5 arc).
// ok is 0 after the line was reported.
ReadGeometry ReadElement(int values, const char* file, int line) {
    ReadGeometry r;
    CLA& e = r.e;
    e.id = ArgI(1);
    double f = UnitFactor();
    double v[5] = {};
    for (int i = 0; i < values; ++i) {
        v[i] = ArgF(3 + i) * f;
        if (!std::isfinite(v[i])) {
            OutOfRange(file, line);
            return r;
        }
    }
    if (values == 3) {
        e.kind = kCircle;
        e.x1 = e.x2 = v[0];
        e.y1 = e.y2 = v[1];
        e.radius = v[2];
        if (!(e.radius > 0)) {
            OutOfRange(file, line);
            return r;
        }
        r.ok = 1;
        return r;
    }
    e.x1 = v[0];
    e.y1 = v[1];
    e.x2 = v[2];
    e.y2 = v[3];
    e.kind = values == 4 ? kLine : v[4] < 0 ? kCwArc : kCcwArc;
    e.radius = values == 4 ? 0 : double_abs(v[4]);
    if (equal(e.x1, e.x2) && equal(e.y1, e.y2)) {
        ZeroLength(e.id, file, line);
        return r;
    }
    // An arc must have a centre: a radius of 0, or one shorter than half the chord, would
    // stop every later use of the element.
    double cx, cy;
    if (values == 5 && !ArcCenter(CLAElement(e), cx, cy)) {
        OutOfRange(file, line);
        return r;
    }
    r.ok = 1;
    return r;
}

// Where the element of a line goes; pushes the previous line of an element it replaces.
int StoreSlot(int id, int type, const char* noun, const char* file, int line, bool& existing) {
    UpsertSlot where = FindUpsertSlot(id, type, noun, NextCLA, file, line);
    existing = where.existing;
    return where.slot;
}

void Store(CLA e, int slot, bool existing, int type) {
    if (existing) {
        ExactFloats exact;
        std::string previous;
        if (StrCLAData(previous, slot))
            PushUndoCom(previous);
    } else {
        RegisterNewObject(e.id, type, slot);
    }
    e.valid = 1;
    e.selected = 0;
    e.sel_number = 0;
    e.z1 = e.z2 = 0;
    g_cla.Ensure(slot) = e;
}

// The group name of a line, as written: blanks of a name never reach the line.
std::string GroupWord(int group) {
    std::string name;
    if (group < 0 || !GetGroupName(group, name))
        return "-1";
    return name;
}

} // namespace

Element CLAElement(const CLA& e) {
    return Element{
        e.x1,   e.y1, e.kind == kCircle ? e.x1 : e.x2, e.kind == kCircle ? e.y1 : e.y2, e.radius,
        e.kind, 1};
}

void InitCLA() {
    g_cla.Clear();
    g_no_invalid_below = 0;
}

int NextCLA() {
    for (int i = g_no_invalid_below; i < g_cla.End(); ++i) {
        const CLA* e = g_cla.Get(i);
        if (e && !e->valid) {
            g_no_invalid_below = i;
            return i;
        }
    }
    g_no_invalid_below = g_cla.End();
    int taken = g_cla.Take();
    if (taken >= 0)
        g_no_invalid_below = std::min(g_no_invalid_below, taken);
    return taken;
}

int GetCLA(CLA& element, int index) {
    const CLA* e = g_cla.Get(index);
    if (!e)
        return 0;
    element = *e;
    return element.valid;
}

void PutCLA(const CLA& element, int index) {
    CLA* e = g_cla.Get(index);
    assert(e && "PutCLA on a slot without a record");
    if (e)
        *e = element;
    if (e && !element.valid)
        g_no_invalid_below = std::min(g_no_invalid_below, index);
}

void RemoveCLA(int index) {
    if (index == kAllSlots)
        InitCLA();
    else
        g_cla.Free(index);
}

int GetCLAId(int index) {
    const CLA* e = Valid(index);
    return e ? e->id : -1;
}
int CLA_id(int index) { return GetCLAId(index); }
int GetCLAPid(int index) {
    const CLA* e = Valid(index);
    return e && !e->drawing ? e->pid : -1;
}
int CLA_pid(int index) { return GetCLAPid(index); }
int CLA_valid(int index) { return Valid(index) ? 1 : 0; }
int CLA_selected(int index) {
    const CLA* e = Valid(index);
    return e ? e->selected : 0;
}
int CLA_group(int index) {
    const CLA* e = Valid(index);
    return e ? e->group : -1;
}

void SetCLA_z(int index, double z) {
    if (CLA* e = Valid(index))
        e->z1 = e->z2 = e->drawing ? 0 : z;
}

int SelectCLA(int index, int marks) {
    CLA* e = Valid(index);
    return e ? AddMarks(e->selected, marks) : 0;
}

int UnSelectCLA(int index, int marks) {
    CLA* e = Valid(index);
    if (!e)
        return 0;
    int changed = RemoveMarks(e->selected, marks);
    if (!(e->selected & kMarkSelected))
        e->sel_number = 0;
    return changed;
}

int SelectedInfoCLA(int start) {
    for (int i = start < 0 ? 0 : start; i < kMaxCLA; ++i) {
        const CLA* e = Valid(i);
        if (e && e->drawing && (e->selected & kMarkSelected))
            return i;
    }
    return -1;
}

int ReverseCLA(int index) {
    CLA* e = Valid(index);
    if (!e)
        return 0;
    if (e->kind == kCircle)
        return 1;
    std::swap(e->x1, e->x2);
    std::swap(e->y1, e->y2);
    std::swap(e->z1, e->z2);
    if (e->kind == kCwArc)
        e->kind = kCcwArc;
    else if (e->kind == kCcwArc)
        e->kind = kCwArc;
    return 1;
}

int InContact(int a, int b, double tol) {
    const CLA* ea = Valid(a);
    const CLA* eb = Valid(b);
    if (!ea || !eb)
        return -1;
    if (ea->kind == kCircle || eb->kind == kCircle)
        return 0;
    int contact = 0;
    if (SamePoint(ea->x1, ea->y1, eb->x1, eb->y1, tol))
        contact += 1;
    if (SamePoint(ea->x2, ea->y2, eb->x2, eb->y2, tol))
        contact += 2;
    if (SamePoint(ea->x1, ea->y1, eb->x2, eb->y2, tol))
        contact += 4;
    if (SamePoint(ea->x2, ea->y2, eb->x1, eb->y1, tol))
        contact += 8;
    return contact;
}

bool CLAexists(double x1, double y1, double x2, double y2, double r, int kind, int drawing) {
    int reversed = kind == kCwArc ? kCcwArc : kind == kCcwArc ? kCwArc : kind;
    double radius = double_abs(r);
    return g_cla.Find([&](const CLA& e) {
        if (!e.valid || e.drawing != drawing || e.radius != radius)
            return false;
        if (e.kind == kind && e.x1 == x1 && e.y1 == y1 &&
            (kind == kCircle || (e.x2 == x2 && e.y2 == y2)))
            return true;
        // The same line or arc drawn the other way round.
        return kind != kCircle && e.kind == reversed && e.x1 == x2 && e.y1 == y2 && e.x2 == x1 &&
               e.y2 == y1;
    }) >= 0;
}

int RegisterCLA(const CLA& element) {
    if (CLAexists(element.x1, element.y1, element.x2, element.y2, element.radius, element.kind,
                  element.drawing))
        return 0;
    int slot = NextCLA();
    int id = slot < 0 ? -1 : NewID(element.drawing ? kTypeInfoElement : kTypeEngElement, slot);
    if (id < 0) {
        ShowMessage("Too many drawing elements", "Out of drawing memory",
                    kMbOk | kMbIconExclamation);
        return -1;
    }
    CLA e = element;
    e.id = id;
    e.radius = double_abs(e.radius);
    e.valid = 1;
    e.selected = 0;
    e.sel_number = 0;
    g_cla.Ensure(slot) = e;
    PushDeleteUndo(id);
    return id;
}

double DistanceToCLA(const CLA& e, double px, double py) {
    Element el = CLAElement(e);
    if (e.kind == kCircle)
        return double_abs(distance(e.x1, e.y1, px, py) - e.radius);
    double cx, cy;
    if ((e.kind == kCcwArc || e.kind == kCwArc) && ArcCenter(el, cx, cy)) {
        // On the arc's side of the chord the nearest point lies on the arc; else at an end.
        double a1 = std::atan2(e.y1 - cy, e.x1 - cx), a2 = std::atan2(e.y2 - cy, e.x2 - cx);
        double a = std::atan2(py - cy, px - cx);
        if (e.kind == kCwArc)
            std::swap(a1, a2); // the same arc, counter-clockwise from a1 to a2
        auto ccw_from = [](double from, double to) {
            double d = to - from;
            while (d < 0)
                d += 2 * kPi;
            return d;
        };
        if (ccw_from(a1, a) <= ccw_from(a1, a2))
            return double_abs(distance(cx, cy, px, py) - e.radius);
        return std::fmin(distance(e.x1, e.y1, px, py), distance(e.x2, e.y2, px, py));
    }
    // A line (or an arc without a centre, measured as its chord).
    double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - e.x1) * dx + (py - e.y1) * dy) / len2 : 0;
    t = std::fmax(0, std::fmin(1, t));
    return distance(e.x1 + t * dx, e.y1 + t * dy, px, py);
}

int ClickCLA(double px, double py, double pick) {
    bool drawing_shown = GetSettings().view_bits & kViewDrawingBit;
    int best = -1;
    double best_d = 0;
    for (int i = 0; i < kMaxCLA; ++i) {
        const CLA* e = Valid(i);
        if (!e)
            continue;
        if (e->drawing) {
            CLAGroup g;
            if (!drawing_shown || (e->group >= 0 && GetCLAGroup(g, e->group) && !g.visible))
                continue;
        }
        double d = DistanceToCLA(*e, px, py);
        if (d <= pick && (best < 0 || d < best_d)) {
            best = i;
            best_d = d;
        }
    }
    return best;
}

int StrEngCLAData(std::string& line, int index) {
    line.clear();
    const CLA* e = Valid(index);
    if (!e || e->drawing)
        return 0;
    switch (e->kind) {
    case kCircle: // a radius is above 0, also when five decimals would make it 0
        line = Sprintf("$%d %d %d %0.5f %0.5f %s %0.5f %0.5f", kEngCla, e->id, e->pid, e->x1, e->y1,
                       FixedNonZero(e->radius, 5).c_str(), e->eng_width, e->eng_depth);
        break;
    case kLine:
        line = Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %0.5f", kEngCla, e->id, e->pid,
                       e->x1, e->y1, e->x2, e->y2, e->eng_width, e->eng_depth);
        break;
    default:
        line = Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f %0.5f %0.5f %0.5f", kEngCla, e->id,
                       e->pid, e->x1, e->y1, e->x2, e->y2,
                       e->kind == kCwArc ? -e->radius : e->radius, e->eng_width, e->eng_depth);
        break;
    }
    return 1;
}

int StrInfoCLAData(std::string& line, int index) {
    line.clear();
    const CLA* e = Valid(index);
    if (!e || !e->drawing)
        return 0;
    std::string group = GroupWord(e->group);
    switch (e->kind) {
    case kCircle:
        line = Sprintf("$%d %d %d %f %f %s %s", kInfoCla, e->id, -1, e->x1, e->y1,
                       FixedNonZero(e->radius, 6).c_str(), group.c_str());
        break;
    case kLine:
        line = Sprintf("$%d %d %d %f %f %f %f %s", kInfoCla, e->id, -1, e->x1, e->y1, e->x2, e->y2,
                       group.c_str());
        break;
    default:
        line = Sprintf("$%d %d %d %f %f %f %f %f %s", kInfoCla, e->id, -1, e->x1, e->y1, e->x2,
                       e->y2, e->kind == kCwArc ? -e->radius : e->radius, group.c_str());
        break;
    }
    return 1;
}

int StrCLAData(std::string& line, int index) {
    const CLA* e = Valid(index);
    if (!e) {
        line.clear();
        return 0;
    }
    return e->drawing ? StrInfoCLAData(line, index) : StrEngCLAData(line, index);
}

int EngCLACom(const char* file, int line) {
    int count = ArgCount();
    if (count < 8 || count > 10)
        return SyntaxError(file, line);
    int values = count - 5; // 3 circle, 4 line, 5 arc; then width and depth
    ReadGeometry r = ReadElement(values, file, line);
    if (!r.ok)
        return 0;
    CLA e = r.e;
    e.pid = ArgI(2);
    double f = UnitFactor();
    e.eng_width = ArgF(count - 2) * f;
    e.eng_depth = ArgF(count - 1) * f;
    if (!std::isfinite(e.eng_width) || !std::isfinite(e.eng_depth))
        return OutOfRange(file, line);
    e.drawing = 0;
    e.group = -1;
    bool existing = false;
    int slot = StoreSlot(e.id, kTypeEngElement, "Engraving Elements", file, line, existing);
    if (slot < 0)
        return 0;
    Store(e, slot, existing, kTypeEngElement);
    SetDefaultEngraving(e.eng_width, e.eng_depth);
    return 1;
}

int InfoCLACom(const char* file, int line) {
    int count = ArgCount();
    if (count < 7 || count > 9)
        return SyntaxError(file, line);
    int values = count - 4; // 3 circle, 4 line, 5 arc; then the group
    ReadGeometry r = ReadElement(values, file, line);
    if (!r.ok)
        return 0;
    CLA e = r.e;
    e.pid = -1; // a drawing element has no parent, whatever the line says
    e.drawing = 1;
    e.eng_width = e.eng_depth = 0;
    bool existing = false;
    int slot = StoreSlot(e.id, kTypeInfoElement, "Drawing Elements", file, line, existing);
    if (slot < 0)
        return 0;
    // A layer name with blanks may come quoted; the quotes are no part of the name. An empty
    // name would name no group at all.
    std::string name = Arg(count - 1);
    RemQuotes(name);
    if (GroupNameOf(name).empty())
        return OutOfRange(file, line);
    e.group = -1;
    if (name != "-1") {
        e.group = FindGroupByName(name);
        if (e.group < 0)
            e.group = DefCLAGroup(name, kDefaultGroupColour, 1);
        if (e.group < 0)
            return TooMany("Drawing Groups", file, line);
    }
    Store(e, slot, existing, kTypeInfoElement);
    return 1;
}

} // namespace korvel
