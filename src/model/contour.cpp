// The staging contour of BULGE and POCKET outlines.
#include "model/contour.h"

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "model/bulge.h"
#include "model/font.h"
#include "model/pocket.h"

namespace korvel {

namespace {

ContourOwner g_owner = ContourOwner::kNone;
Shape g_staged; // vertex 0 is the start point; appended vertices follow; n counts them

int Append(int kind, int expected_count, const char* file, int line) {
    if (g_owner == ContourOwner::kNone)
        return Unexpected(file, line);
    if (g_owner == ContourOwner::kAbandoned)
        return 0; // already reported
    if (ArgCount() != expected_count) {
        AbandonContour();
        return SyntaxError(file, line);
    }
    // At most 127 vertices after the start point, since vertex 0 takes one of the 128.
    if (g_staged.n >= kMaxShapeVertices - 1) {
        AbandonContour();
        return OutOfRange(file, line);
    }
    double f = UnitFactor();
    ShapeVertex& v = g_staged.v[++g_staged.n];
    v.x = ArgF(1) * f;
    v.y = ArgF(2) * f;
    v.radius = kind == kLine ? 0 : ArgF(3) * f;
    v.kind = kind;
    return 1;
}

} // namespace

void OpenContour(ContourOwner owner, double x, double y) {
    g_owner = owner;
    g_staged = Shape();
    g_staged.v[0].x = x;
    g_staged.v[0].y = y;
}

void AbandonContour() {
    g_owner = ContourOwner::kAbandoned;
    g_staged = Shape();
}

ContourOwner OpenContourOwner() { return g_owner; }

void ResetContour() {
    g_owner = ContourOwner::kNone;
    g_staged = Shape();
}

// While a font file defines a glyph, the outline commands add its points instead.
int LineCom(const char* file, int line) {
    return GlyphIsOpen() ? GlyphPointCom(kLine, file, line) : Append(kLine, 3, file, line);
}
int CwToCom(const char* file, int line) {
    return GlyphIsOpen() ? GlyphPointCom(kCwArc, file, line) : Append(kCwArc, 4, file, line);
}
int CcwToCom(const char* file, int line) {
    return GlyphIsOpen() ? GlyphPointCom(kCcwArc, file, line) : Append(kCcwArc, 4, file, line);
}

int EndCom(const char* file, int line) {
    if (GlyphIsOpen())
        return GlyphEndCom(file, line);
    ContourOwner owner = g_owner;
    if (owner == ContourOwner::kNone)
        return EndUnexpected(file, line);
    Shape shape = g_staged;
    ResetContour();
    if (owner == ContourOwner::kAbandoned)
        return 0; // already reported
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    // The last vertex must meet the start exactly; a contour of fewer than two vertices
    // encloses nothing and counts as open too.
    int n = shape.n;
    if (n < 2 || shape.v[n].x != shape.v[0].x || shape.v[n].y != shape.v[0].y)
        return ShapeIsOpen(file, line);
    shape.v[0].kind = shape.v[n].kind;
    shape.v[0].radius = shape.v[n].radius;
    switch (owner) {
    case ContourOwner::kBulge:
        return FinishBulgeContour(shape, file, line);
    case ContourOwner::kPocket:
        return FinishPocketContour(shape, file, line);
    default:
        return EndUnexpected(file, line);
    }
}

} // namespace korvel
