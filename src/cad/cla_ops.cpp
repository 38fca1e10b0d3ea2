// Trimming, offsetting and chain selection of drawing elements.
#include "cad/cla_ops.h"

#include <cmath>
#include <string>

#include "base/text.h"
#include "base/undo_stack.h"
#include "cad/dots.h"
#include "geometry/offset.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/cla.h"
#include "model/heights.h"
#include "model/object_edit.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

int CantTrim(const char* text) {
    ShowMessage(text, "Can't trim", kMbOk | kMbIconExclamation);
    return 0;
}

// The one selected element; -1 after the message when there is none or more than one.
int SingleSelected() {
    int found = -1, count = 0;
    for (int i = 0; i < kMaxCLA; ++i) {
        if (CLA_selected(i) & kMarkSelected) {
            found = i;
            ++count;
        }
    }
    if (count == 0)
        ShowMessage("Please select a line/arc/circle for triming", "Nothing to trim",
                    kMbOk | kMbIconExclamation);
    else if (count > 1)
        ShowMessage("Please select a SINGLE line/arc/circle for triming",
                    "Can't trim multiple objects", kMbOk | kMbIconExclamation);
    return count == 1 ? found : -1;
}

// The counter-clockwise turn from angle `from` to angle `to`, in 0..2 pi.
double CcwFrom(double from, double to) {
    double d = std::fmod(to - from, 2 * kPi);
    return d < 0 ? d + 2 * kPi : d;
}

std::string ExactLine(int index) {
    ExactFloats exact;
    std::string line;
    StrCLAData(line, index);
    return line;
}

struct TrimPoints {
    double sx, sy, ex, ey;
};

// A full circle cut to its counter-clockwise part from the start to the end point; a part of
// more than half a turn is split at its middle, the second half in a new element. The new
// element's ID, 0 when none was needed, -1 when none could be made.
int TrimCircle(CLA& e, const TrimPoints& p) {
    double cx = e.x1, cy = e.y1;
    double as = std::atan2(p.sy - cy, p.sx - cx);
    double sweep = CcwFrom(as, std::atan2(p.ey - cy, p.ex - cx));
    e.kind = kCcwArc;
    e.x1 = p.sx;
    e.y1 = p.sy;
    e.x2 = p.ex;
    e.y2 = p.ey;
    if (sweep <= kPi)
        return 0;
    double am = as + sweep / 2;
    double mx = cx + e.radius * std::cos(am), my = cy + e.radius * std::sin(am);
    CLA second = e;
    second.x1 = mx;
    second.y1 = my;
    e.x2 = mx;
    e.y2 = my;
    int slot = NextCLA();
    int id = slot < 0 ? -1 : NewID(e.drawing ? kTypeInfoElement : kTypeEngElement, slot);
    if (id < 0) {
        ShowMessage("Too many drawing elements", "Out of drawing memory",
                    kMbOk | kMbIconExclamation);
        return -1;
    }
    second.id = id;
    second.selected = 0;
    second.sel_number = 0;
    second.valid = 1;
    PutCLA(second, slot);
    return id;
}

// An arc (counter-clockwise by now) cut to its part between the two points.
void TrimArc(CLA& e, const TrimPoints& p) {
    double cx, cy;
    ArcCenter(CLAElement(e), cx, cy); // the caller checked that the points lie on the arc
    double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
    double ds = CcwFrom(a1, std::atan2(p.sy - cy, p.sx - cx));
    double de = CcwFrom(a1, std::atan2(p.ey - cy, p.ex - cx));
    // A point on the start itself may come out as a full turn: it is reached first.
    if (ds > 2 * kPi - 1e-9)
        ds = 0;
    if (de > 2 * kPi - 1e-9)
        de = 0;
    bool start_first = ds <= de;
    e.x1 = start_first ? p.sx : p.ex;
    e.y1 = start_first ? p.sy : p.ey;
    e.x2 = start_first ? p.ex : p.sx;
    e.y2 = start_first ? p.ey : p.sy;
}

} // namespace

int TrimCLA() {
    int index = SingleSelected();
    CLA e;
    if (index < 0 || !GetCLA(e, index))
        return 0;
    TrimPoints p;
    if (!GetDot(0, p.sx, p.sy) || !GetDot(1, p.ex, p.ey))
        return CantTrim("Trim START/END point is/are undefined");
    if (!equal(DistanceToCLA(e, p.sx, p.sy), 0))
        return CantTrim("Trim START is not on the selected object");
    if (!equal(DistanceToCLA(e, p.ex, p.ey), 0))
        return CantTrim("Trim END is not on the selected object");
    if (equal(p.sx, p.ex) && equal(p.sy, p.ey))
        return CantTrim("Trim START/END point are identical");
    std::string old_line = ExactLine(index);
    int new_id = 0;
    switch (e.kind) {
    case kLine:
        e.x1 = p.sx;
        e.y1 = p.sy;
        e.x2 = p.ex;
        e.y2 = p.ey;
        break;
    case kCwArc:
        std::swap(e.x1, e.x2);
        std::swap(e.y1, e.y2);
        e.kind = kCcwArc;
        [[fallthrough]];
    case kCcwArc:
        TrimArc(e, p);
        break;
    case kCircle:
        new_id = TrimCircle(e, p);
        if (new_id < 0)
            return 0;
        break;
    default:
        ShowMessage("Uknown etype", "Internal ERROR", kMbOk | kMbIconError);
        return 0;
    }
    PutCLA(e, index);
    ClearRedoList();
    PushUndoCom("}");
    PushUndoCom(old_line);
    if (new_id > 0)
        PushDeleteUndo(new_id);
    PushUndoCom("{");
    RecalcZ();
    MarkProjectEdited();
    return 1;
}

int OffsetCLA(int index, double d) {
    CLA e;
    if (!GetCLA(e, index))
        return 0;
    Element el = CLAElement(e);
    if (!OffsetElement(el, d))
        return 0;
    std::string old_line = ExactLine(index);
    e.x1 = el.x1;
    e.y1 = el.y1;
    if (e.kind != kCircle) {
        e.x2 = el.x2;
        e.y2 = el.y2;
    }
    e.radius = double_abs(el.r);
    PutCLA(e, index);
    PushUndoCom(old_line);
    MarkProjectEdited();
    return 1;
}

int AutoSelectClicked(double px, double py, double pick) {
    int current = ClickCLA(px, py, pick);
    CLA e;
    if (current < 0 || !GetCLA(e, current) || !e.drawing)
        return 0;
    if (e.selected & kMarkSelected)
        return 1;
    int n = 0;
    for (int i = SelectedInfoCLA(0); i >= 0; i = SelectedInfoCLA(i + 1))
        ++n;
    auto select = [](int index, int number) {
        CLA c;
        GetCLA(c, index);
        c.selected |= kMarkSelected;
        c.sel_number = number;
        PutCLA(c, index);
    };
    select(current, n);
    if (n == 0 || e.kind == kCircle)
        return 1;
    double tol = GetSettings().con_tolerance;
    int previous = -1;
    for (int i = SelectedInfoCLA(0); i >= 0; i = SelectedInfoCLA(i + 1))
        if (GetCLA(e, i) && e.sel_number == n - 1 && i != current)
            previous = i;
    while (previous >= 0) {
        int contact = InContact(previous, current, tol);
        bool with = contact == 2 || contact == 8;
        if (!with && contact != 1 && contact != 4)
            break;
        int next = -1, candidates = 0;
        for (int j = 0; j < kMaxCLA && candidates < 2; ++j) {
            if (j == current || !GetCLA(e, j) || !e.drawing || e.kind == kCircle ||
                (e.selected & kMarkSelected))
                continue;
            int c = InContact(j, current, tol);
            if (with ? (c == 1 || c == 4) : (c == 2 || c == 8)) {
                next = j;
                ++candidates;
            }
        }
        if (candidates != 1)
            break;
        select(next, ++n);
        previous = current;
        current = next;
    }
    return 1;
}

} // namespace korvel
