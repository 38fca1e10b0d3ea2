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

#include "geometry/intersect.h"

namespace korvel {

bool ShapeClicked(const Shape& shape, double px, double py) {
    int n = shape.n < kMaxShapeVertices ? shape.n : kMaxShapeVertices;
    if (n < 2)
        return false;
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const ShapeVertex& from = shape.v[i == 0 ? n - 1 : i - 1];
        const ShapeVertex& to = shape.v[i];
        double xa;
        crossings += IntersectLR(px, py, from.x, from.y, to.x, to.y, to.radius, to.kind, xa);
    }
    return crossings % 2 == 1;
}

} // namespace korvel
