// Painting the intended part onto the grid, object by object, parents before children.
#include "cam/intended_part.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "cam/gen_chamfer.h"
#include "cam/grid_shapes.h"
#include "cam/sim_stock.h"
#include "cam/tool_select.h"
#include "geometry/primitives.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/texts.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
// A drill's 118 degree point rises this much per unit of radius.
constexpr double kDrillPointSlope = 0.60086061902756;

class Painter {
public:
    explicit Painter(IntendedPart& part) : p_(part), f_(part.frame) {}

    // Lowers a cell's limits; the object becomes its owner where it lowers the upper one.
    void Lower(std::size_t k, double lo, double hi, int id) {
        p_.lo[k] = std::min(p_.lo[k], static_cast<float>(lo));
        if (static_cast<float>(hi) < p_.hi[k]) {
            p_.hi[k] = static_cast<float>(hi);
            p_.owner[k] = static_cast<std::uint16_t>(id);
        }
    }
    void LowerLo(std::size_t k, double lo) {
        p_.lo[k] = std::min(p_.lo[k], static_cast<float>(lo));
    }
    // Raises the upper limit of a cell the object owns.
    void Raise(std::size_t k, double hi, int id) {
        if (p_.owner[k] == id)
            p_.hi[k] = std::max(p_.hi[k], static_cast<float>(hi));
    }
    float Hi(std::size_t k) const { return p_.hi[k]; }
    // The centre of a cell.
    Point Centre(std::size_t k) const {
        auto nx = static_cast<std::size_t>(f_.nx);
        return Point{f_.X(static_cast<int>(k % nx)), f_.Y(static_cast<int>(k / nx))};
    }
    void Set(std::size_t k, double v, int id) {
        p_.lo[k] = p_.hi[k] = static_cast<float>(v);
        p_.owner[k] = static_cast<std::uint16_t>(id);
    }

    // Every cell whose centre lies within `radius` of (cx, cy): fn(cell, distance).
    template <class F> void Disk(double cx, double cy, double radius, F fn) {
        Capsule(cx, cy, cx, cy, radius, fn);
    }

    // Every cell within r of the segment: fn(cell, distance to the segment).
    template <class F> void Capsule(double ax, double ay, double bx, double by, double r, F fn) {
        int j0, j1;
        if (!(r > 0) || !f_.Rows(std::min(ay, by) - r, std::max(ay, by) + r, j0, j1))
            return;
        double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        CapsuleRows capsule(ax, ay, bx, by, r);
        for (int j = j0; j <= j1; ++j) {
            double y = f_.Y(j), xl, xr;
            int i0, i1;
            if (!capsule.Span(y, xl, xr) || !f_.Columns(xl, xr, i0, i1))
                continue;
            for (int i = i0; i <= i1; ++i) {
                double x = f_.X(i);
                double t =
                    len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0;
                double d = std::hypot(x - ax - t * dx, y - ay - t * dy);
                if (d <= r)
                    fn(f_.Index(i, j), d);
            }
        }
    }

    // The region inside the outline grown by `grow`: fn(cell, sd) for every cell inside it or
    // outside within `outside` of it, sd being the signed distance to the grown outline
    // (negative inside). Distances are exact within `inside` inwards and `outside` outwards;
    // further in, sd is minus infinity.
    template <class F>
    void Region(const Outline& o, double grow, double inside_band, double outside, F fn) {
        if (o.Empty())
            return;
        double near = std::fabs(grow) + std::max(inside_band, outside);
        double reach = std::max(grow, 0.0) + outside + f_.res;
        double bx0, by0, bx1, by1;
        o.Bounds(bx0, by0, bx1, by1);
        int j0, j1, i0, i1;
        if (!f_.Rows(by0 - reach, by1 + reach, j0, j1) ||
            !f_.Columns(bx0 - reach, bx1 + reach, i0, i1))
            return;
        int w = i1 - i0 + 1, h = j1 - j0 + 1;
        std::vector<float> dist;
        if (near > 0)
            dist = NearDistances(o, near, i0, j0, w, h);
        std::vector<double> xs;
        for (int j = j0; j <= j1; ++j) {
            double y = f_.Y(j);
            o.Crossings(y, xs);
            std::size_t c = 0;
            bool inside = false;
            for (int i = i0; i <= i1; ++i) {
                double x = f_.X(i);
                while (c < xs.size() && xs[c] <= x) {
                    inside = !inside;
                    ++c;
                }
                double d = near > 0 ? dist[static_cast<std::size_t>(j - j0) * w + (i - i0)] : kInf;
                double sd = (inside ? -d : d) - grow;
                if (sd <= outside)
                    fn(f_.Index(i, j), sd);
            }
        }
    }

private:
    // Distances to the outline of the cells of a window that lie within `near` of it; the
    // others stay at infinity.
    std::vector<float> NearDistances(const Outline& o, double near, int i0, int j0, int w, int h) {
        std::vector<float> dist(static_cast<std::size_t>(w) * h, kInf);
        auto visit = [&](int j, double xl, double xr, const Outline::Piece& p) {
            int c0, c1;
            if (!f_.Columns(xl, xr, c0, c1))
                return;
            c0 = std::max(c0, i0);
            c1 = std::min(c1, i0 + w - 1);
            for (int i = c0; i <= c1; ++i) {
                float d = static_cast<float>(Outline::PieceDistance(p, f_.X(i), f_.Y(j)));
                float& slot = dist[static_cast<std::size_t>(j - j0) * w + (i - i0)];
                slot = std::min(slot, d);
            }
        };
        for (const Outline::Piece& p : o.Pieces()) {
            double ylo = p.arc ? p.cy - p.r : std::min(p.y1, p.y2);
            double yhi = p.arc ? p.cy + p.r : std::max(p.y1, p.y2);
            int r0, r1;
            if (!f_.Rows(ylo - near, yhi + near, r0, r1))
                continue;
            r0 = std::max(r0, j0);
            r1 = std::min(r1, j0 + h - 1);
            for (int j = r0; j <= r1; ++j) {
                double y = f_.Y(j), xl, xr;
                if (!p.arc) {
                    if (CapsuleRowSpan(p.x1, p.y1, p.x2, p.y2, near, y, xl, xr))
                        visit(j, xl, xr, p);
                    continue;
                }
                // The ring within `near` of the whole circle, as up to two spans.
                double dy = y - p.cy, ro = p.r + near, ri = p.r - near;
                if (dy * dy > ro * ro)
                    continue;
                double wo = std::sqrt(ro * ro - dy * dy);
                double wi = ri > 0 && dy * dy < ri * ri ? std::sqrt(ri * ri - dy * dy) : -1;
                if (wi < 0) {
                    visit(j, p.cx - wo, p.cx + wo, p);
                } else {
                    visit(j, p.cx - wo, p.cx - wi, p);
                    visit(j, p.cx + wi, p.cx + wo, p);
                }
            }
        }
        return dist;
    }

    IntendedPart& p_;
    const GridFrame& f_;
};

// The level the top face is milled to, from which the bulge levels are cut.
double TopFaceLevel() {
    BlockRecord b = GetBlock();
    return b.z + b.height - b.mill_down;
}

// Parent chains are followed this far at most: a loop in a damaged file ends here.
constexpr int kMaxChain = 64;

int Depth(int id) {
    int depth = 0;
    for (int p = GetPID(id); p > 0 && depth < kMaxChain; p = GetPID(p))
        ++depth;
    return depth;
}

void PaintBulge(Painter& paint, IntendedPart& part, const Bulge& b) {
    double top = b.z + b.wz;
    double grow = 0.001 * b.tol_offset;
    double c = b.chamfer > 0 ? b.chamfer : 0;
    paint.Region(Outline::FromShape(b.shape), grow, c, 0, [&](std::size_t k, double sd) {
        double inward = -sd; // distance in from the edge
        paint.Set(k, inward < c ? top - (c - inward) : top, b.id);
    });
    part.floors.push_back({b.id, top, TopFaceLevel()});
}

// The tangent of a contour element at its start (at_end false) or end, unit length; an arc
// without a centre counts as its chord.
Point ElementTangent(const ShapeVertex& from, const ShapeVertex& to, bool at_end) {
    double cx, cy;
    double tx = to.x - from.x, ty = to.y - from.y;
    bool arc = to.kind == kCwArc || to.kind == kCcwArc;
    if (arc && ArcCenter(from.x, from.y, to.x, to.y, to.radius, to.kind, cx, cy)) {
        const ShapeVertex& at = at_end ? to : from;
        double rx = at.x - cx, ry = at.y - cy;
        tx = to.kind == kCcwArc ? -ry : ry;
        ty = to.kind == kCcwArc ? rx : -rx;
    }
    double len = std::hypot(tx, ty);
    return len > 0 ? Point{tx / len, ty / len} : Point{0, 0};
}

bool Inside(const Outline& o, double x, double y) {
    std::vector<double> xs;
    o.Crossings(y, xs);
    return std::count_if(xs.begin(), xs.end(), [x](double c) { return c < x; }) % 2 == 1;
}

// How far inside a pocket's outline the countersink's axis runs for its chamfer; 0 when there
// is no countersink to cut it.
double PocketChamferOffset(const Pocket& p) {
    int place = GetChamferingTool(), type = 0;
    double dia = 0, length = 0;
    if (place < 1 || GetAttToolData(place, type, dia, length) < 0)
        return 0;
    return std::max(ChamferAxisOffset(dia, length, p.wz, p.chamfer), 0.0);
}

// A countersink whose axis follows the outline `a` inside cannot reach into a sharp corner of
// the pocket: its axis turns at the corner of the offset path, and the cone about that point
// rounds the chamfer's edge there. Beside each such corner the pocket may keep material up to
// that cone (z = top - c - a + distance to the point).
void RoundChamferCorners(Painter& paint, const Pocket& p, const Outline& o, double c, double a) {
    constexpr double kSharp = 0.035; // sine of the smallest turn taken as a corner (2 degrees)
    int n = std::clamp(p.shape.n, 0, kMaxShapeVertices);
    for (int i = 0; i < n && n >= 3 && a > 0; ++i) {
        const ShapeVertex& prev = p.shape.v[static_cast<std::size_t>((i + n - 1) % n)];
        const ShapeVertex& v = p.shape.v[static_cast<std::size_t>(i)];
        const ShapeVertex& next = p.shape.v[static_cast<std::size_t>((i + 1) % n)];
        Point d1 = ElementTangent(prev, v, true), d2 = ElementTangent(v, next, false);
        double turn = d1.x * d2.y - d1.y * d2.x;
        if (std::fabs(turn) < kSharp || d1.x * d2.x + d1.y * d2.y < -1 + kSharp)
            continue;
        // Normals towards the inside: the bisector of the left normals points inside the
        // pocket, or else the right ones do.
        Point n1{-d1.y, d1.x}, n2{-d2.y, d2.x};
        double bx = n1.x + n2.x, by = n1.y + n2.y, blen = std::hypot(bx, by);
        if (!Inside(o, v.x + 1e-4 * bx / blen, v.y + 1e-4 * by / blen)) {
            n1 = {-n1.x, -n1.y};
            n2 = {-n2.x, -n2.y};
            bx = -bx;
            by = -by;
        }
        if (d2.x * n1.x + d2.y * n1.y <= 0)
            continue; // a corner reaching into the pocket: the axis path rounds it
        double miter = a / (1 + n1.x * n2.x + n1.y * n2.y);
        double ax = v.x + miter * bx, ay = v.y + miter * by;
        double top = p.z, floor = p.z - p.wz;
        // The cells beyond the corner point between the two edges' normals: for them that
        // point is the nearest of the axis path. The chamfer reaches c beyond the corner;
        // floor cells stay as they are.
        double reach = std::hypot(ax - v.x, ay - v.y) + c;
        paint.Disk(ax, ay, reach, [&](std::size_t k, double rho) {
            Point q = paint.Centre(k);
            double dx = q.x - ax, dy = q.y - ay;
            if (dx * d1.x + dy * d1.y >= 0 && dx * d2.x + dy * d2.y <= 0 &&
                paint.Hi(k) > floor + 1e-4)
                paint.Raise(k, std::min(top, top - c - a + rho), p.id);
        });
    }
}

void PaintPocket(Painter& paint, IntendedPart& part, const Pocket& p) {
    double floor = p.z - p.wz;
    double grow = 0.001 * p.tol_offset;
    double c = p.chamfer > 0 ? p.chamfer : 0;
    Outline outline = Outline::FromShape(p.shape);
    paint.Region(outline, grow, 0, c, [&](std::size_t k, double sd) {
        double v = sd <= 0 ? floor : p.z - (c - sd); // outside: the chamfer of the top edge
        paint.Lower(k, v, v, p.id);
    });
    if (c > 0)
        RoundChamferCorners(paint, p, outline, c, PocketChamferOffset(p));
    part.floors.push_back({p.id, floor, p.z});
}

// A 90 degree chamfer cone around a hole of diameter d: the edge lies c out from the hole.
// Inside the hole the hole itself decides.
template <class Hole> void PaintChamfer(Painter& paint, const Hole& h, double d, double c) {
    if (!(c > 0))
        return;
    double edge = d / 2 + c;
    paint.Disk(h.x, h.y, edge, [&](std::size_t k, double rho) {
        if (rho < d / 2)
            return;
        double v = h.z - (edge - rho);
        paint.Lower(k, v, v, h.id);
    });
}

void PaintBore(Painter& paint, IntendedPart& part, const Bore& b) {
    double floor = b.z - b.wz;
    double finished = b.dia + 0.002 * b.tol_offset;
    paint.Disk(b.x, b.y, finished / 2,
               [&](std::size_t k, double) { paint.Lower(k, floor, floor, b.id); });
    PaintChamfer(paint, b, b.dia, b.chamfer);
    part.floors.push_back({b.id, floor, b.z});
}

void PaintDrill(Painter& paint, const Drill& d) {
    double tip = d.z - d.wz;
    paint.Disk(d.x, d.y, d.dia / 2, [&](std::size_t k, double rho) {
        paint.Lower(k, tip, tip + rho * kDrillPointSlope, d.id);
    });
    PaintChamfer(paint, d, d.dia, d.chamfer);
}

// The core hole of a thread: the preselected pre-drill's diameter, else the tap drill of its
// thread type, else the nominal diameter less the pitch.
double ThreadCore(const Thread& t) {
    AttachedToolData tool;
    if (t.predrill_tool > 0 && GetAttToolDataExt(t.predrill_tool, tool) >= 0 && tool.dia > 0)
        return tool.dia;
    int row = ThreadTypeIndex(t.dia, t.pitch);
    if (row >= 0 && ThreadDrill(row) > 0)
        return ThreadDrill(row);
    return t.dia - std::fabs(t.pitch);
}

void PaintThread(Painter& paint, const Thread& t) {
    double core = ThreadCore(t);
    double bottom = t.z - t.wz;
    double predrill = t.wz + 0.5 * std::fabs(t.pitch) + 0.3 * core + GetSettings().dftlex;
    paint.Disk(t.x, t.y, std::max(core, t.dia) / 2, [&](std::size_t k, double rho) {
        if (rho <= core / 2)
            paint.Lower(k, t.z - predrill, bottom, t.id);
        else
            paint.LowerLo(k, bottom); // the flanks: the tap or thread mill may cut them
    });
    PaintChamfer(paint, t, core, t.chamfer);
}

void PaintLongHole(Painter& paint, IntendedPart& part, const LongHole& h) {
    double floor = h.z - h.wz;
    paint.Capsule(h.x, h.y, h.x + h.lx, h.y + h.ly, h.dia / 2,
                  [&](std::size_t k, double) { paint.Lower(k, floor, floor, h.id); });
    part.floors.push_back({h.id, floor, h.z});
}

// An engraving text may be cut by its depth anywhere in its box, widened by the stroke width
// and the font's descenders.
void PaintText(Painter& paint, const Text& t, int index) {
    if (t.note || !(t.eng_depth > 0))
        return;
    double wx = TextWx(index);
    double start = t.align == kAlignRight ? -wx : t.align == kAlignCentre ? -wx / 2 : 0;
    double margin = 2 * t.eng_width + 0.25 * t.height;
    double a0 = std::min(start, start + wx) - margin, a1 = std::max(start, start + wx) + margin;
    double u0 = -0.5 * t.height - margin, u1 = t.height + margin;
    double ang = t.angle * kPi / 180, c = std::cos(ang), s = std::sin(ang);
    auto at = [&](double along, double up) {
        return Point{t.x + along * c - up * s, t.y + along * s + up * c};
    };
    Outline box = Outline::Polygon({at(a0, u0), at(a1, u0), at(a1, u1), at(a0, u1)});
    double lo = t.z - t.eng_depth;
    paint.Region(box, 0, 0, 0, [&](std::size_t k, double) { paint.LowerLo(k, lo); });
}

// An engraving element may be cut by its depth along its line, arc or circle, as wide as its
// stroke (taken a little wider, for the arcs' chords and the grid).
void PaintEngravingElement(Painter& paint, const CLA& e) {
    if (e.drawing || !(e.eng_depth > 0) || !(e.eng_width > 0))
        return;
    double lo = e.z1 - e.eng_depth, r = e.eng_width / 2 + 0.05 * e.eng_width + 0.01;
    auto groove = [&](std::size_t k, double) { paint.LowerLo(k, lo); };
    if (e.kind == kLine) {
        paint.Capsule(e.x1, e.y1, e.x2, e.y2, r, groove);
        return;
    }
    double cx = e.x1, cy = e.y1, sweep = 360, x = e.x1 - e.radius, y = e.y1;
    if (e.kind != kCircle) {
        if (!ArcCenter(e.x1, e.y1, e.x2, e.y2, e.radius, e.kind, cx, cy))
            return;
        double h = distance(e.x1, e.y1, e.x2, e.y2) / 2;
        sweep = (h < e.radius ? 2 * std::asin(h / e.radius) : kPi) * 180 / kPi;
        if (e.kind == kCwArc)
            sweep = -sweep;
        x = e.x1;
        y = e.y1;
    }
    const int n = 72;
    for (int i = 0; i < n; ++i) {
        double nx = x, ny = y;
        TurnPoint(cx, cy, sweep / n, nx, ny);
        paint.Capsule(x, y, nx, ny, r + e.radius * (1 - std::cos(kPi / n)), groove);
        x = nx;
        y = ny;
    }
}

// Paints one object; bulges set the surface, everything else cuts into it.
void PaintObject(Painter& paint, IntendedPart& part, int type, int index) {
    switch (type) {
    case kTypeBulge: {
        Bulge b;
        if (GetBulge(index, b))
            PaintBulge(paint, part, b);
        break;
    }
    case kTypePocket: {
        Pocket p;
        if (GetPocket(index, p))
            PaintPocket(paint, part, p);
        break;
    }
    case kTypeBore: {
        Bore b;
        if (GetBore(b, index) && !b.system)
            PaintBore(paint, part, b);
        break;
    }
    case kTypeDrill: {
        Drill d;
        if (GetDrill(d, index) && !d.system)
            PaintDrill(paint, d);
        break;
    }
    case kTypeThread: {
        Thread t;
        if (GetThread(t, index))
            PaintThread(paint, t);
        break;
    }
    case kTypeLongHole: {
        LongHole h;
        if (GetLongHole(h, index))
            PaintLongHole(paint, part, h);
        break;
    }
    case kTypeEngText: {
        Text t;
        if (GetText(t, index))
            PaintText(paint, t, index);
        break;
    }
    case kTypeEngElement: {
        CLA e;
        if (GetCLA(e, index))
            PaintEngravingElement(paint, e);
        break;
    }
    default:
        break;
    }
}

} // namespace

bool BuildIntendedPart(const GridFrame& frame, IntendedPart& part) {
    BlockRecord block = GetBlock();
    if (!block.valid)
        return false;
    part = IntendedPart();
    part.frame = frame;
    part.lo.assign(frame.Cells(), -kInf);
    part.hi.assign(frame.Cells(), kInf);
    part.owner.assign(frame.Cells(), 0);
    double base = calcZ(block.id);
    int j0, j1, i0, i1;
    if (frame.Rows(block.y, block.y + block.width, j0, j1) &&
        frame.Columns(block.x, block.x + block.length, i0, i1))
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i) {
                std::size_t k = frame.Index(i, j);
                part.lo[k] = part.hi[k] = static_cast<float>(base);
                part.owner[k] = static_cast<std::uint16_t>(block.id);
            }
    part.floors.push_back({block.id, base, TopFaceLevel()});

    // Parents first; at the same depth bulges (which set the surface) before the cuts.
    struct Item {
        int depth, cut, id, type, index;
    };
    std::vector<Item> items;
    for (int id : RegisteredObjects()) {
        int type, index;
        if (FindID(id, type, index) && type != kTypeBlock)
            items.push_back({Depth(id), type != kTypeBulge, id, type, index});
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::tie(a.depth, a.cut, a.id) < std::tie(b.depth, b.cut, b.id);
    });
    Painter paint(part);
    for (const Item& it : items)
        PaintObject(paint, part, it.type, it.index);
    return true;
}

} // namespace korvel
