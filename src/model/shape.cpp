// Contours without repeated points.
#include "model/shape.h"

#include "geometry/tolerance.h"

namespace korvel {

namespace {
bool SamePoint(const ShapeVertex& a, const ShapeVertex& b) {
    return equal(a.x, b.x) && equal(a.y, b.y);
}
} // namespace

int CompactShape(const Shape& src, Shape& dst) {
    dst = Shape();
    int limit = src.n < kMaxShapeVertices ? src.n : kMaxShapeVertices;
    for (int i = 0; i < limit; ++i) {
        const ShapeVertex& p = src.v[i];
        if (i > 0 && SamePoint(p, src.v[i - 1]))
            continue;
        if (i > 0 && SamePoint(p, src.v[0]))
            break;
        dst.v[dst.n++] = p;
    }
    return dst.n;
}

} // namespace korvel

#include <cmath>

#include "base/keyword_codes.h"
#include "base/text.h"
#include "geometry/primitives.h"
#include "geometry/ray_crossing.h"

namespace korvel {

namespace {
std::string ElementLine(const ShapeVertex& v) {
    if (v.kind == kCwArc)
        return Sprintf("$%d %0.5f %0.5f %0.5f", kCwto, v.x, v.y, v.radius);
    if (v.kind == kCcwArc)
        return Sprintf("$%d %0.5f %0.5f %0.5f", kCcwto, v.x, v.y, v.radius);
    return Sprintf("$%d %0.5f %0.5f", kLineto, v.x, v.y);
}
} // namespace

void MakeRectangleShape(Shape& s, double x, double y, double l, double w, double r,
                        bool keep_top_edge) {
    s = Shape();
    auto add = [&s](double vx, double vy, int kind, double radius) {
        s.v[s.n++] = {vx, vy, radius, kind};
    };
    if (r > 0)
        add(x + r, y, kCcwArc, r);
    else
        add(x, y, kLine, 0);
    if (l > 2 * r)
        add(x + l - r, y, kLine, 0);
    if (r > 0)
        add(x + l, y + r, kCcwArc, r);
    if (w > 2 * r)
        add(x + l, y + w - r, kLine, 0);
    if (r > 0)
        add(x + l - r, y + w, kCcwArc, r);
    if (l > 2 * r || keep_top_edge)
        add(x + r, y + w, kLine, 0);
    if (r > 0)
        add(x, y + w - r, kCcwArc, r);
    if (w > 2 * r && r > 0)
        add(x, y + r, kLine, 0);
}

void ShapeExtent(const Shape& s, double& x0, double& y0, double& x1, double& y1) {
    x0 = x1 = s.v[0].x;
    y0 = y1 = s.v[0].y;
    for (int i = 1; i < s.n && i < kMaxShapeVertices; ++i) {
        x0 = std::fmin(x0, s.v[i].x);
        x1 = std::fmax(x1, s.v[i].x);
        y0 = std::fmin(y0, s.v[i].y);
        y1 = std::fmax(y1, s.v[i].y);
    }
}

void MoveContour(Shape& s, double dx, double dy) {
    for (int i = 0; i <= s.n && i < kMaxShapeVertices; ++i) {
        s.v[i].x += dx;
        s.v[i].y += dy;
    }
}

void TurnContour(Shape& s, double cx, double cy, double angle_deg) {
    for (int i = 0; i < s.n && i < kMaxShapeVertices; ++i)
        TurnPoint(cx, cy, angle_deg, s.v[i].x, s.v[i].y);
}

void ScaleContour(Shape& s, double cx, double cy, double f) {
    for (int i = 0; i < s.n && i < kMaxShapeVertices; ++i) {
        ScalePoint(cx, cy, f, s.v[i].x, s.v[i].y);
        s.v[i].radius *= f;
    }
}

bool MirrorContour(Shape& s, bool in_x, double axis) {
    Shape old;
    int n = CompactShape(s, old);
    if (n < 2)
        return false;
    Shape out;
    out.n = n;
    for (int i = 0; i < n; ++i) {
        // New vertex i is old vertex n-i; the element ending there is the reversed element
        // that ended at old vertex n-i+1 (the closing element, at old vertex 0, for i = 1).
        int from = i == 0 ? 0 : n - i;
        int element = i == 0 ? 1 : (i == 1 ? 0 : n - i + 1);
        ShapeVertex p = old.v[from];
        if (in_x)
            p.x = 2 * axis - p.x;
        else
            p.y = 2 * axis - p.y;
        p.kind = old.v[element].kind;
        p.radius = old.v[element].radius;
        out.v[i] = p;
    }
    s = out;
    return true;
}

bool SmallestArcRadius(const Shape& s, int kind, double& radius) {
    bool found = false;
    for (int i = 0; i < s.n && i < kMaxShapeVertices; ++i) {
        const ShapeVertex& v = s.v[i];
        if (v.kind == kind && (!found || std::fabs(v.radius) < radius)) {
            radius = std::fabs(v.radius);
            found = true;
        }
    }
    return found;
}

void AppendContourLines(const Shape& s, std::vector<std::string>& lines) {
    for (int i = 1; i < s.n && i < kMaxShapeVertices; ++i)
        lines.push_back(ElementLine(s.v[i]));
    lines.push_back(ElementLine(s.v[0]));
    lines.push_back(Sprintf("$%d", kEnd));
}

bool ShapeClicked(const Shape& shape, double px, double py) {
    int n = shape.n < kMaxShapeVertices ? shape.n : kMaxShapeVertices;
    if (n < 2)
        return false;
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const ShapeVertex& from = shape.v[i == 0 ? n - 1 : i - 1];
        const ShapeVertex& to = shape.v[i];
        double xa;
        crossings += IntersectLR(px, py, ElementBetween(from, to), xa);
    }
    return crossings % 2 == 1;
}

} // namespace korvel
