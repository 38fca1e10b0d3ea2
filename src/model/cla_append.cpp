// New drawing and engraving elements from the drawing dialogs.
#include "model/cla_append.h"

#include <cmath>

#include "base/undo_stack.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/heights.h"
#include "model/object_edit.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/texts.h"
#include "platform/platform.h"

namespace korvel {

namespace {

// Whether a dialog would take the element: a line or arc with length, an arc with a centre, a
// circle with a radius.
bool Acceptable(const CLA& e) {
    for (double v : {e.x1, e.y1, e.x2, e.y2, e.radius})
        if (!std::isfinite(v))
            return false;
    if (e.kind == kCircle)
        return e.radius > 0;
    if (equal(e.x1, e.x2) && equal(e.y1, e.y2))
        return false;
    double cx, cy;
    return e.kind == kLine ||
           ((e.kind == kCcwArc || e.kind == kCwArc) && ArcCenter(CLAElement(e), cx, cy));
}

// Stores a new element under a new ID; the ID or -1.
int Append(CLA e) {
    e.radius = double_abs(e.radius);
    if (!Acceptable(e))
        return -1;
    int slot = NextCLA();
    int id = slot < 0 ? -1 : NewID(e.drawing ? kTypeInfoElement : kTypeEngElement, slot);
    if (id < 0) {
        ShowMessage("Too many free drawing/engraving elements", "Out of space",
                    kMbOk | kMbIconExclamation);
        return -1;
    }
    e.id = id;
    e.valid = 1;
    PutCLA(e, slot);
    PushDeleteUndo(id);
    RecalcZ();
    MarkProjectEdited();
    return id;
}

CLA Drawing(double x1, double y1, double x2, double y2, double r, int kind) {
    CLA e;
    e.x1 = x1;
    e.y1 = y1;
    e.x2 = kind == kCircle ? x1 : x2;
    e.y2 = kind == kCircle ? y1 : y2;
    e.radius = r;
    e.kind = kind;
    e.drawing = 1;
    return e;
}

// An engraving element on the parent candidate; -1 (after the message) without one.
int AppendEngraving(CLA e, double width, double depth) {
    int parent = ParentCandidate();
    if (parent < 0) {
        ShowMessage("Please select an object (block,bulge or pocket)", "Engrave where?",
                    kMbOk | kMbIconExclamation);
        return -1;
    }
    e.drawing = 0;
    e.pid = parent;
    e.eng_width = width;
    e.eng_depth = depth;
    int id = Append(e);
    if (id >= 0)
        SetDefaultEngraving(width, depth);
    return id;
}

// Lines through the corners in turn, closing back to the first, in a new group.
int AppendClosedLines(const double (*corner)[2], int n) {
    int group = NewGroup();
    if (group < 0)
        return -1;
    ClearRedoList();
    PushUndoCom("}");
    bool all = true;
    for (int i = 0; i < n && all; ++i) {
        CLA e = Drawing(corner[i][0], corner[i][1], corner[(i + 1) % n][0], corner[(i + 1) % n][1],
                        0, kLine);
        e.group = group;
        all = Append(e) >= 0;
    }
    PushUndoCom("{");
    return all ? group : -1;
}

} // namespace

int AppendInfoLine(double x1, double y1, double x2, double y2) {
    return Append(Drawing(x1, y1, x2, y2, 0, kLine));
}

int AppendInfoCircle(double cx, double cy, double r) {
    return Append(Drawing(cx, cy, cx, cy, r, kCircle));
}

int AppendInfoArc(double x1, double y1, double x2, double y2, double r, int kind) {
    return Append(Drawing(x1, y1, x2, y2, r, kind));
}

int AppendInfoRect(double x1, double y1, double x2, double y2) {
    if (equal(x1, x2) || equal(y1, y2))
        return -1;
    const double corners[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    return AppendClosedLines(corners, 4);
}

int AppendInfoPolygon(double cx, double cy, double r, int sides, double start_deg) {
    constexpr int kMaxSides = 360;
    if (sides < 3 || sides > kMaxSides || !(r > 0))
        return -1;
    double corners[kMaxSides][2];
    for (int i = 0; i < sides; ++i) {
        double a = (start_deg + 360.0 * i / sides) * kPi / 180;
        corners[i][0] = cx + r * std::cos(a);
        corners[i][1] = cy + r * std::sin(a);
    }
    return AppendClosedLines(corners, sides);
}

int AppendEngrLine(double x1, double y1, double x2, double y2, double width, double depth) {
    return AppendEngraving(Drawing(x1, y1, x2, y2, 0, kLine), width, depth);
}

int AppendEngrCircle(double cx, double cy, double r, double width, double depth) {
    return AppendEngraving(Drawing(cx, cy, cx, cy, r, kCircle), width, depth);
}

int AppendEngrArc(double x1, double y1, double x2, double y2, double r, int kind, double width,
                  double depth) {
    return AppendEngraving(Drawing(x1, y1, x2, y2, r, kind), width, depth);
}

} // namespace korvel
