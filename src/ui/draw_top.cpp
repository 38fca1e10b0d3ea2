// The top view of the project: one drawing function per object kind, chosen by a table.
#include "ui/draw_top.h"

#include <cmath>

#include "cad/stroke_font.h"
#include "geometry/primitives.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/texts.h"
#include "model/thread.h"

namespace korvel {

namespace {

constexpr double kLineWidth = 1.5;

void DrawBulge(TopPainter& p, int index) {
    Bulge b;
    if (!GetBulge(index, b))
        return;
    p.SetPen(Bulge_is_island(index) ? IslandPen() : BulgePen(BulgeLevel(index)));
    p.Contour(b.shape);
}

void DrawPocket(TopPainter& p, int index) {
    Pocket k;
    if (!GetPocket(index, k))
        return;
    p.SetPen(PocketPen());
    p.Contour(k.shape);
}

// A hole: its circle and a small cross at its centre.
void HoleMark(TopPainter& p, double x, double y, double dia, const Pen& pen) {
    p.SetPen(pen);
    p.Circle(x, y, dia / 2);
    double c = std::fmin(dia / 6, 3);
    p.MoveTo(x - c, y);
    p.LineTo(x + c, y);
    p.MoveTo(x, y - c);
    p.LineTo(x, y + c);
}

void DrawDrill(TopPainter& p, int index) {
    Drill d;
    if (GetDrill(d, index) && !d.system)
        HoleMark(p, d.x, d.y, d.dia, HolePen());
}

void DrawThread(TopPainter& p, int index) {
    Thread t;
    if (!GetThread(t, index))
        return;
    HoleMark(p, t.x, t.y, t.dia, HolePen());
    // The core: the nominal diameter less the pitch, dashed.
    double core = t.dia - std::fabs(t.pitch);
    if (core > 0) {
        p.SetPen(Pen{HolePen().rgb, 1, LineStyle::kDashed});
        p.Circle(t.x, t.y, core / 2);
    }
}

void DrawBore(TopPainter& p, int index) {
    Bore b;
    if (GetBore(b, index) && !b.system)
        HoleMark(p, b.x, b.y, b.dia, PocketPen()); // a round pocket
}

// A long hole: the two straight sides and the round ends round its centre line.
void DrawLongHole(TopPainter& p, int index) {
    LongHole h;
    if (!GetLongHole(h, index))
        return;
    double r = h.dia / 2, len = std::hypot(h.lx, h.ly);
    p.SetPen(HolePen());
    if (!(len > 0)) {
        p.Circle(h.x, h.y, r);
        return;
    }
    double nx = -h.ly / len * r, ny = h.lx / len * r; // to the left of the centre line
    double ex = h.x + h.lx, ey = h.y + h.ly;
    p.MoveTo(h.x + nx, h.y + ny);
    p.ElementTo(h.x - nx, h.y - ny, r, kCcwArc);
    p.LineTo(ex - nx, ey - ny);
    p.ElementTo(ex + nx, ey + ny, r, kCcwArc);
    p.LineTo(h.x + nx, h.y + ny);
}

// The strokes of a character, drawn through the painter.
class PainterSink : public StrokeSink {
public:
    explicit PainterSink(TopPainter& p) : p_(p) {}
    void MoveTo(double x, double y, double) override { p_.MoveTo(x, y); }
    void LineTo(double x, double y, double) override { p_.LineTo(x, y); }

private:
    TopPainter& p_;
};

// A text in the stroke font, as the engraving tool's centre runs.
void DrawText(TopPainter& p, int index) {
    Text t;
    if (!GetText(t, index))
        return;
    p.SetPen(TextPen(t.note != 0));
    PainterSink sink(p);
    DrawTextStrokes(sink, index);
}

// A drawing or engraving element; a drawing element in a hidden group is not drawn.
void DrawElement(TopPainter& p, int index) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    CLAGroup g;
    if (e.drawing && e.group >= 0 && GetCLAGroup(g, e.group) && !g.visible)
        return;
    p.SetPen(e.drawing ? DrawingPen(e.group >= 0 && GetCLAGroup(g, e.group) ? g.colour
                                                                            : kDefaultGroupColour)
                       : EngravingPen());
    if (e.kind == kCircle) {
        p.Circle(e.x1, e.y1, e.radius);
        return;
    }
    p.MoveTo(e.x1, e.y1);
    p.ElementTo(e.x2, e.y2, e.radius, e.kind);
}

void DrawFixture(TopPainter& p, int index) {
    Fixture f;
    if (!GetFixture(f, index))
        return;
    p.SetPen(FixturePen());
    p.Rectangle(f.x, f.y, f.x + f.lx, f.y + f.ly);
    p.MoveTo(f.x, f.y); // a diagonal marks the clamp
    p.LineTo(f.x + f.lx, f.y + f.ly);
}

void DrawBlock(TopPainter& p, int) {
    BlockRecord b = GetBlock();
    if (!b.valid)
        return;
    p.SetPen(BlockPen());
    p.Rectangle(b.x, b.y, b.x + b.length, b.y + b.width);
}

struct KindDrawing {
    int type;
    void (*draw)(TopPainter&, int index);
};

constexpr KindDrawing kDrawings[] = {
    {kTypeBlock, DrawBlock},   {kTypeBulge, DrawBulge},        {kTypeDrill, DrawDrill},
    {kTypeThread, DrawThread}, {kTypeBore, DrawBore},          {kTypeLongHole, DrawLongHole},
    {kTypePocket, DrawPocket}, {kTypeFixture, DrawFixture},    {kTypeEngText, DrawText},
    {kTypeInfoText, DrawText}, {kTypeEngElement, DrawElement}, {kTypeInfoElement, DrawElement},
};

} // namespace

void TopPainter::MoveTo(double x, double y) {
    canvas_.MoveTo(U(x), V(y));
    x_ = x;
    y_ = y;
}

void TopPainter::LineTo(double x, double y) {
    canvas_.LineTo(U(x), V(y));
    x_ = x;
    y_ = y;
}

void TopPainter::ElementTo(double x, double y, double radius, int kind) {
    Element e{x_, y_, x, y, radius, kind, 1};
    double cx, cy;
    if ((kind == kCcwArc || kind == kCwArc) && ArcCenter(e, cx, cy)) {
        // The picture keeps the turn of the plane: Y up on the picture as in the project.
        canvas_.ArcTo(U(x), V(y), U(cx), V(cy), kind == kCwArc);
        x_ = x;
        y_ = y;
        return;
    }
    LineTo(x, y);
}

void TopPainter::Circle(double cx, double cy, double r) {
    MoveTo(cx + r, cy);
    canvas_.ArcTo(U(cx + r), V(cy), U(cx), V(cy), false);
}

void TopPainter::Rectangle(double x0, double y0, double x1, double y1) {
    MoveTo(x0, y0);
    LineTo(x1, y0);
    LineTo(x1, y1);
    LineTo(x0, y1);
    LineTo(x0, y0);
}

void TopPainter::Contour(const Shape& shape) {
    if (shape.n < 2)
        return;
    MoveTo(shape.v[0].x, shape.v[0].y);
    for (int i = 1; i <= shape.n; ++i) {
        const ShapeVertex& v = shape.v[i % shape.n];
        ElementTo(v.x, v.y, v.radius, v.kind);
    }
}

Pen BlockPen() { return Pen{0x202020, 2, LineStyle::kSolid}; }

Pen BulgePen(int level) {
    static constexpr std::uint32_t kLevels[] = {0x1f6f3f, 0x8a5a00, 0x6a2c91, 0x00707a, 0x9a3324};
    int n = static_cast<int>(sizeof kLevels / sizeof kLevels[0]);
    return Pen{kLevels[(level < 0 ? 0 : level) % n], kLineWidth, LineStyle::kSolid};
}

Pen IslandPen() { return Pen{0xd2691e, kLineWidth, LineStyle::kSolid}; }
Pen PocketPen() { return Pen{0x1f4fbf, kLineWidth, LineStyle::kSolid}; }
Pen HolePen() { return Pen{0xb01030, kLineWidth, LineStyle::kSolid}; }
Pen TextPen(bool note) {
    return note ? Pen{0x707070, 1, LineStyle::kSolid} : Pen{0xc0208a, 1, LineStyle::kSolid};
}
Pen EngravingPen() { return Pen{0xc0208a, 1.25, LineStyle::kSolid}; }

Pen DrawingPen(int colour) {
    // The colour numbers of drawings (DXF): 1 red, 2 yellow, 3 green, 4 cyan, 5 blue,
    // 6 magenta, 7 black or white; darker shades where the plain ones vanish on white.
    static constexpr std::uint32_t kColours[] = {0x404040, 0xd01010, 0xa08000, 0x108a10,
                                                 0x008a9a, 0x1030d0, 0xa010a0, 0x202020};
    int n = static_cast<int>(sizeof kColours / sizeof kColours[0]);
    return Pen{kColours[colour >= 1 && colour < n ? colour : 0], 1, LineStyle::kSolid};
}

Pen FixturePen() { return Pen{0x707070, kLineWidth, LineStyle::kDashed}; }

void DrawProjectTop(TopPainter& painter) {
    for (int id : RegisteredObjects()) {
        int type = 0, index = -1;
        if (!FindID(id, type, index))
            continue;
        for (const KindDrawing& k : kDrawings)
            if (k.type == type)
                k.draw(painter, index);
    }
}

} // namespace korvel
