// Bulge contour paths, node avoidance for the scan lines, and the block test of a segment.
#include "paths/contour_path.h"

#include "base/errors.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/object_edit.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "paths/offset_contour.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"

namespace korvel {

namespace {

constexpr int kMaxBuildPath = 31;

} // namespace

void AvoidShapeNodes(const Shape& shape, double& x, double& y) {
    // Each pass moves the value below one more vertex, so this ends within n + 1 passes.
    for (bool moved = true; moved;) {
        moved = false;
        for (int i = 0; i < shape.n; ++i)
            if (x == shape.v[i].x) {
                x -= kNodeNudge;
                moved = true;
            }
    }
    for (bool moved = true; moved;) {
        moved = false;
        for (int i = 0; i < shape.n; ++i)
            if (y == shape.v[i].y) {
                y -= kNodeNudge;
                moved = true;
            }
    }
}

bool PathLoopRemovalOn() { return GetSettings().alt_path_filter != 0; }

int MakeBulgePath(int p, int b, double d) {
    int lobes = 0;
    return MakeBulgePath(p, b, d, lobes);
}

int MakeBulgePath(int p, int b, double d, int& lobes) {
    if (p < 0 || p > kMaxBuildPath)
        return ErrCode(kErrBulgePathNumber);
    Bulge bulge;
    if (b < 0 || b >= kMaxBulges || !GetBulge(b, bulge))
        return ErrCode(kErrBulgeIndex);
    ClearPath(p);
    double D = d + ToleranceOffsetLength(bulge.tol_offset);
    PathRef path = GetPath(p);
    const OffsetContourCodes codes{kErrBulgePathFull, kErrBulgePathNoRoom, kErrBulgePathElement};
    if (!BuildOffsetContour(CounterClockwiseElements(bulge.shape), D, 1, path, codes,
                            PathLoopRemovalOn(), &lobes))
        return 0;
    return 1;
}

void AvoidBulgeNodes(int bulge, double& x, double& y) {
    Bulge b;
    if (bulge >= 0 && bulge < kMaxBulges && GetBulge(bulge, b))
        AvoidShapeNodes(b.shape, x, y);
}

void AvoidPocketNodes(int pocket, double& x, double& y) {
    Pocket k;
    if (pocket >= 0 && pocket < kMaxPockets && GetPocket(pocket, k))
        AvoidShapeNodes(k.shape, x, y);
}

int InBlock(double x1, double y1, double x2, double y2) {
    BlockRecord block = GetBlock();
    double left = block.x, right = block.x + block.length;
    double bottom = block.y, top = block.y + block.width;
    if ((x1 <= left && x2 <= left) || (x1 >= right && x2 >= right) ||
        (y1 <= bottom && y2 <= bottom) || (y1 >= top && y2 >= top))
        return 0;
    return 1;
}

} // namespace korvel
