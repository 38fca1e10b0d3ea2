// The picture of the model: one drawing function per object kind, found through the kind of
// each registered ID, drawn in work coordinates moved by the work zero.
#include "ui/view_draw.h"

#include <cmath>
#include <vector>

#include "cad/dots.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "geometry/types.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/machine.h"
#include "model/object_kind.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/settings.h"
#include "model/texts.h"
#include "model/thread.h"
#include "ui/view.h"
#include "ui/view_pens.h"

namespace korvel {

namespace {

// Work coordinates to table coordinates.
struct Zero {
    double x, y, z;
};

Zero WorkZero() {
    Coordinates k = GetCoordinates();
    return Zero{k.wz_x, k.wz_y, k.wz_z};
}

bool Oblique() { return GetView().mode != kViewTop; }

// Work-coordinate line.
void Line(Canvas& cv, const Zero& o, double x1, double y1, double z1, double x2, double y2,
          double z2) {
    MachLine(cv, x1 + o.x, y1 + o.y, z1 + o.z, x2 + o.x, y2 + o.y, z2 + o.z);
}

// An element of a contour at height z: arcs as arcs, everything else as a line. An arc whose
// radius is zero within the tolerance is a line here: the picture is drawn on every repaint, and
// MachArc's report would come up again with each one.
void Element(Canvas& cv, const Zero& o, double x1, double y1, double x2, double y2, double r,
             int kind, double z) {
    if ((kind == kCcwArc || kind == kCwArc) && !equal(r, 0)) {
        MachArc(cv, x1 + o.x, y1 + o.y, x2 + o.x, y2 + o.y, r, z + o.z, kind);
        return;
    }
    Line(cv, o, x1, y1, z, x2, y2, z);
}

// A closed contour at height z; vertex 0 carries the closing element.
void Contour(Canvas& cv, const Zero& o, const Shape& s, double z) {
    for (int i = 1; i <= s.n; ++i) {
        const ShapeVertex& a = s.v[i - 1];
        const ShapeVertex& b = s.v[i % s.n];
        Element(cv, o, a.x, a.y, b.x, b.y, b.radius, b.kind, z);
    }
}

// A contour standing from z0 to z1: both outlines and, in an oblique view, the edges between
// them at the vertices.
void Prism(Canvas& cv, const Shape& s, double z0, double z1) {
    if (s.n < 2)
        return;
    Zero o = WorkZero();
    Contour(cv, o, s, z1);
    if (!Oblique())
        return;
    Contour(cv, o, s, z0);
    for (int i = 0; i < s.n; ++i)
        Line(cv, o, s.v[i].x, s.v[i].y, z0, s.v[i].x, s.v[i].y, z1);
}

// A round hole from its surface z down by depth: its circle at both ends, a cross at the
// centre in the top view.
void Hole(Canvas& cv, double x, double y, double dia, double z, double depth) {
    Zero o = WorkZero();
    double r = dia / 2;
    MachCyl(cv, x + o.x, y + o.y, r, z + o.z);
    if (Oblique()) {
        MachCyl(cv, x + o.x, y + o.y, r, z - depth + o.z);
        Line(cv, o, x - r, y, z, x - r, y, z - depth);
        Line(cv, o, x + r, y, z, x + r, y, z - depth);
        return;
    }
    double c = std::fmin(r / 3, 3);
    Line(cv, o, x - c, y, z, x + c, y, z);
    Line(cv, o, x, y - c, z, x, y + c, z);
}

void DrawBlock(Canvas& cv, int, const Pen& pen, bool selection_only) {
    BlockRecord b = GetBlock();
    if (!b.valid)
        return;
    Zero o = WorkZero();
    double top = b.z + b.height;
    if (b.mill_down > 0 && !selection_only) {
        cv.SetPen(GetViewPen(ViewPen::kMaterial));
        MachRect(cv, b.x + o.x, b.y + o.y, b.x + b.length + o.x, b.y + b.width + o.y,
                 top - b.mill_down + o.z);
    }
    if (!(GetSettings().view_bits & kViewBitBlock))
        return;
    cv.SetPen(pen);
    MachRect(cv, b.x + o.x, b.y + o.y, b.x + b.length + o.x, b.y + b.width + o.y, top + o.z);
    if (!Oblique())
        return;
    MachRect(cv, b.x + o.x, b.y + o.y, b.x + b.length + o.x, b.y + b.width + o.y, b.z + o.z);
    for (double x : {b.x, b.x + b.length})
        for (double y : {b.y, b.y + b.width})
            Line(cv, o, x, y, b.z, x, y, top);
}

void DrawBulge(Canvas& cv, int index, const Pen& pen, bool) {
    Bulge b;
    if (!GetBulge(index, b))
        return;
    cv.SetPen(pen);
    Prism(cv, b.shape, b.z, b.z + b.wz);
}

void DrawPocket(Canvas& cv, int index, const Pen& pen, bool) {
    Pocket p;
    if (!GetPocket(index, p))
        return;
    cv.SetPen(pen);
    Prism(cv, p.shape, p.z - p.wz, p.z);
}

void DrawDrill(Canvas& cv, int index, const Pen& pen, bool) {
    Drill d;
    if (!GetDrill(d, index) || d.system)
        return;
    cv.SetPen(pen);
    Hole(cv, d.x, d.y, d.dia, d.z, d.wz);
}

void DrawThread(Canvas& cv, int index, const Pen& pen, bool) {
    Thread t;
    if (!GetThread(t, index))
        return;
    cv.SetPen(pen);
    Hole(cv, t.x, t.y, t.dia, t.z, t.wz);
    double core = t.dia - std::fabs(t.pitch);
    if (core > 0) {
        Zero o = WorkZero();
        MachCyl(cv, t.x + o.x, t.y + o.y, core / 2, t.z + o.z);
    }
}

void DrawBore(Canvas& cv, int index, const Pen& pen, bool) {
    Bore b;
    if (!GetBore(b, index) || b.system)
        return;
    cv.SetPen(pen);
    Hole(cv, b.x, b.y, b.dia, b.z, b.wz);
}

// The slot's outline: two straight sides and the half circles round the ends of its centre line.
void LongHoleOutline(Canvas& cv, const LongHole& h, double z) {
    Zero o = WorkZero();
    double r = h.dia / 2, len = std::hypot(h.lx, h.ly);
    if (!(r > 0))
        return;
    if (!(len > 0)) {
        MachCyl(cv, h.x + o.x, h.y + o.y, r, z + o.z);
        return;
    }
    double nx = -h.ly / len * r, ny = h.lx / len * r; // to the left of the centre line
    double ex = h.x + h.lx, ey = h.y + h.ly;
    Element(cv, o, h.x + nx, h.y + ny, h.x - nx, h.y - ny, r, kCcwArc, z);
    Line(cv, o, h.x - nx, h.y - ny, z, ex - nx, ey - ny, z);
    Element(cv, o, ex - nx, ey - ny, ex + nx, ey + ny, r, kCcwArc, z);
    Line(cv, o, ex + nx, ey + ny, z, h.x + nx, h.y + ny, z);
}

void DrawLongHole(Canvas& cv, int index, const Pen& pen, bool) {
    LongHole h;
    if (!GetLongHole(h, index))
        return;
    cv.SetPen(pen);
    LongHoleOutline(cv, h, h.z);
    if (Oblique())
        LongHoleOutline(cv, h, h.z - h.wz);
}

void DrawFixture(Canvas& cv, int index, const Pen& pen, bool) {
    Fixture f;
    if (!GetFixture(f, index))
        return;
    Zero o = WorkZero();
    cv.SetPen(pen);
    MachRect(cv, f.x + o.x, f.y + o.y, f.x + f.lx + o.x, f.y + f.ly + o.y, f.wz + o.z);
    Line(cv, o, f.x, f.y, f.wz, f.x + f.lx, f.y + f.ly, f.wz); // a diagonal marks the clamp
}

// A text: the box its characters fill, from the base line up to the character height.
void DrawText(Canvas& cv, int index, const Pen& pen, bool) {
    Text t;
    if (!GetText(t, index))
        return;
    double wx = TextWx(index), wy = TextWy(index);
    double start = t.align == kAlignRight ? -wx : t.align == kAlignCentre ? -wx / 2 : 0;
    double a = t.angle * kPi / 180, c = std::cos(a), s = std::sin(a);
    double px[4], py[4];
    const double along[4] = {0, wx, wx, 0}, up[4] = {0, 0, wy, wy};
    for (int i = 0; i < 4; ++i) {
        px[i] = t.x + (start + along[i]) * c - up[i] * s;
        py[i] = t.y + (start + along[i]) * s + up[i] * c;
    }
    Zero o = WorkZero();
    double z = t.note ? 0 : t.z;
    cv.SetPen(pen);
    for (int i = 0; i < 4; ++i)
        Line(cv, o, px[i], py[i], z, px[(i + 1) % 4], py[(i + 1) % 4], z);
}

// A line, arc or circle of the drawing layer at its height: an engraving element on its
// parent's surface (z1 at the start, z2 at the end), a drawing element at the work zero.
void DrawElement(Canvas& cv, int index, const Pen& pen, bool) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    Zero o = WorkZero();
    cv.SetPen(pen);
    if (e.kind == kCircle) {
        if (e.radius > 0)
            MachCyl(cv, e.x1 + o.x, e.y1 + o.y, e.radius, e.z1 + o.z);
        return;
    }
    if (e.kind == kCcwArc || e.kind == kCwArc) {
        Element(cv, o, e.x1, e.y1, e.x2, e.y2, e.radius, e.kind, e.z1);
        return;
    }
    Line(cv, o, e.x1, e.y1, e.z1, e.x2, e.y2, e.z2);
}

struct KindPicture {
    int type;
    ViewPen pen;
    int option; // the VIEW bit that must be set, 0 for none
    // selection_only: drawing the selection again, without the parts that are no outline.
    void (*draw)(Canvas& cv, int index, const Pen& pen, bool selection_only);
};

constexpr KindPicture kPictures[] = {
    {kTypeBlock, ViewPen::kBlock, 0, DrawBlock},
    {kTypeBulge, ViewPen::kBulge, 0, DrawBulge},
    {kTypeDrill, ViewPen::kDrill, 0, DrawDrill},
    {kTypeThread, ViewPen::kThread, 0, DrawThread},
    {kTypeBore, ViewPen::kBore, 0, DrawBore},
    {kTypeLongHole, ViewPen::kLongHole, 0, DrawLongHole},
    {kTypePocket, ViewPen::kPocket, 0, DrawPocket},
    {kTypeFixture, ViewPen::kFixture, kViewBitFixtures, DrawFixture},
    {kTypeEngText, ViewPen::kEngText, 0, DrawText},
    {kTypeInfoText, ViewPen::kNote, kViewBitDrawing, DrawText},
    {kTypeEngElement, ViewPen::kEngElement, 0, DrawElement},
    {kTypeInfoElement, ViewPen::kDrawing, kViewBitDrawing, DrawElement},
};

const KindPicture* PictureOf(int type) {
    for (const KindPicture& k : kPictures)
        if (k.type == type)
            return &k;
    return nullptr;
}

int MarkOf(const ObjectKind* kind, int index) { return kind->mark ? kind->mark(index) : 0; }

bool Shown(int id, const KindPicture& picture) {
    if (picture.option && !(GetSettings().view_bits & picture.option))
        return false;
    return DisplayLevel() >= kAllLevels || ObjectLevel(id) <= DisplayLevel();
}

// Which drawing groups have a selected element (all their elements are drawn selected) and
// which are hidden, gathered once per picture when the first drawing element comes up.
class GroupStates {
public:
    // The selection mark the group adds to its elements; -1 when the group is hidden.
    int MarkOf(int group) {
        if (group < 0 || group >= kMaxCLAGroups)
            return 0;
        if (!known_)
            Gather();
        return hidden_[group] ? -1 : selected_[group] ? kMarkSelected : 0;
    }

private:
    void Gather() {
        known_ = true;
        selected_.assign(kMaxCLAGroups, 0);
        hidden_.assign(kMaxCLAGroups, 0);
        for (int i = 0; i < kMaxCLA; ++i) {
            int group = CLA_group(i);
            if (group >= 0 && group < kMaxCLAGroups && (CLA_selected(i) & kMarkSelected))
                selected_[group] = 1;
        }
        CLAGroup g;
        for (int group = 0; group < kMaxCLAGroups; ++group)
            hidden_[group] = GetCLAGroup(g, group) && !g.visible;
    }
    bool known_ = false;
    std::vector<unsigned char> selected_, hidden_;
};

enum class Pass { kAll, kSelected, kHidden };

void DrawObjects(Canvas& cv, Pass pass) {
    GroupStates groups;
    for (int id : RegisteredObjects()) {
        int index = -1;
        const ObjectKind* kind = KindOfId(id, index);
        if (!kind)
            continue;
        const KindPicture* picture = PictureOf(kind->type);
        if (!picture || !Shown(id, *picture))
            continue;
        int mark = MarkOf(kind, index);
        if (kind->type == kTypeInfoElement) {
            int group_mark = groups.MarkOf(CLA_group(index));
            if (group_mark < 0)
                continue;
            mark |= group_mark;
        }
        if (pass != Pass::kAll && !(mark & 1))
            continue;
        Pen pen = GetViewPen(picture->pen);
        if (pass == Pass::kHidden)
            pen = GetViewPen(ViewPen::kBackground);
        else if (mark & 1)
            pen = GetViewPen(ViewPen::kSelected);
        else if (mark & 2)
            pen = GetViewPen(ViewPen::kParent);
        picture->draw(cv, index, pen, pass != Pass::kAll);
    }
}

void DrawMachineAxes(Canvas& cv, const MachineSetup& m, const Zero& o) {
    cv.SetPen(GetViewPen(ViewPen::kMachineAxes));
    MachLine(cv, 0, -2 * m.table_width, o.z, 0, 2 * m.table_width, o.z);
    MachLine(cv, -2 * m.table_length, 0, o.z, 2 * m.table_length, 0, o.z);
}

// The table top lies at the block's bottom; T-slots are centred on the table.
void DrawTable(Canvas& cv, const MachineSetup& m, const Zero& o) {
    double top = GetBlock().z + o.z;
    double x0 = m.table_x, y0 = m.table_y, x1 = x0 + m.table_length, y1 = y0 + m.table_width;
    cv.SetPen(GetViewPen(ViewPen::kTable));
    MachRect(cv, x0, y0, x1, y1, top);
    for (int i = 0; i < m.vslots; ++i) {
        double x = x0 + (m.table_length - (m.vslots - 1) * m.vslot_pitch) / 2 + i * m.vslot_pitch;
        MachLine(cv, x - m.vslot_width / 2, y0, top, x - m.vslot_width / 2, y1, top);
        MachLine(cv, x + m.vslot_width / 2, y0, top, x + m.vslot_width / 2, y1, top);
    }
    for (int i = 0; i < m.hslots; ++i) {
        double y = y0 + (m.table_width - (m.hslots - 1) * m.hslot_pitch) / 2 + i * m.hslot_pitch;
        MachLine(cv, x0, y - m.hslot_width / 2, top, x1, y - m.hslot_width / 2, top);
        MachLine(cv, x0, y + m.hslot_width / 2, top, x1, y + m.hslot_width / 2, top);
    }
}

// Axes through a point, across the workspace, and a vertical line down its height.
void Axes(Canvas& cv, const MachineSetup& m, double x, double y, double z) {
    MachLine(cv, 0, y, z, m.ws_x, y, z);
    MachLine(cv, x, 0, z, x, m.ws_y, z);
    MachLine(cv, x, y, z, x, y, -std::fabs(m.ws_z));
}

void DrawCoordinateAxes(Canvas& cv, const MachineSetup& m, const Zero& o) {
    cv.SetPen(GetViewPen(ViewPen::kCoordAxes));
    Axes(cv, m, o.x, o.y, o.z);
    Coordinates k = GetCoordinates();
    if (k.user_x == 0 && k.user_y == 0 && k.user_z == 0)
        return;
    cv.SetPen(GetViewPen(ViewPen::kUserAxes));
    Axes(cv, m, o.x + k.user_x, o.y + k.user_y, o.z + k.user_z);
}

void DrawMarkers(Canvas& cv, const Zero& o) {
    bool pen = false;
    for (int i = DotCount() - 1; i >= 0; --i) {
        Dot d = DotAt(i);
        if (!d.cls)
            continue;
        if (!pen)
            cv.SetPen(GetViewPen(ViewPen::kMarker));
        pen = true;
        MachDot(cv, d.x + o.x, d.y + o.y, o.z, d.cls);
    }
}

int PushShapeDots(const Shape& s) {
    for (int i = 0; i < s.n; ++i)
        PushPoint(s.v[i].x, s.v[i].y, 2);
    return 1;
}

} // namespace

void draw_all(Canvas& cv) {
    int bits = GetSettings().view_bits;
    MachineSetup m = GetMachine();
    Zero o = WorkZero();
    if (bits & kViewBitMachineOrigin)
        DrawMachineAxes(cv, m, o);
    if (bits & kViewBitLimits) {
        cv.SetPen(GetViewPen(ViewPen::kWorkspace));
        MachRect(cv, 0, 0, m.ws_x, m.ws_y, o.z);
    }
    if (bits & kViewBitTable)
        DrawTable(cv, m, o);
    if (bits & kViewBitCoordinates)
        DrawCoordinateAxes(cv, m, o);
    DrawObjects(cv, Pass::kAll);
    DrawMarkers(cv, o);
}

void RedrawSelected(Canvas& cv) { DrawObjects(cv, Pass::kSelected); }
void HiddeSelected(Canvas& cv) { DrawObjects(cv, Pass::kHidden); }

int ObjectLevel(int id) {
    // The parent chain is at most as long as there are IDs; a broken chain stops the walk.
    for (int steps = 0; id > 0 && steps <= kMaxObjectId; ++steps) {
        int type, index;
        if (!FindID(id, type, index))
            return -1;
        if (type == kTypeBulge)
            return BulgeLevel(index);
        id = GetPID(id);
    }
    return -1;
}

int SetBulgeDots(int index) {
    Bulge b;
    return GetBulge(index, b) ? PushShapeDots(b.shape) : 0;
}

int SetPocketDots(int index) {
    Pocket p;
    return GetPocket(index, p) ? PushShapeDots(p.shape) : 0;
}

bool KindIsDrawn(int type) { return PictureOf(type) != nullptr; }

} // namespace korvel
