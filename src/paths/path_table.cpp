// The path table and the in-place edits of a path: insertion, rotation and deletion.
#include "paths/path_table.h"

#include <algorithm>
#include <array>
#include <cassert>

#include <cmath>

#include "geometry/primitives.h"
#include "geometry/ray_crossing.h"
#include "geometry/tolerance.h"

namespace korvel {

namespace {

// A path's points can change only through a PathRef, so a path not handed out since it was
// last zeroed is still all zeros: clearing skips it. (Clearing is part of every project reset
// and the tables are large: zeroing them all each time costs more than reading a small
// project.) The builders take their PathRef after clearing, never keep one across a clear.
struct TablePath {
    std::array<PathPoint, kPathCapacity> points{};
    int count = 0;
    bool handed_out = false;
};

std::array<TablePath, kPathCount> g_paths;
std::array<PathPoint, kXLPathCapacity> g_xl_points{};
int g_xl_count = 0;
bool g_xl_handed_out = false;

bool ValidPathNumber(int n) { return n >= 0 && n < kPathCount; }

// The index of a point equal to (x, y) in both coordinates, or -1.
int FindEqualPoint(const PathRef& path, double x, double y) {
    for (int i = 0; i < path.size(); ++i)
        if (equal(path[i].x, x) && equal(path[i].y, y))
            return i;
    return -1;
}

// Opens a gap after point i and puts (x, y) there with the split element's kind and radius.
int InsertAfter(PathRef path, int i, double x, double y) {
    int& count = *path.count;
    assert(count < path.capacity);
    Element split = ElementBetween(path[i], path[i + 1]);
    for (int k = count; k > i + 1; --k)
        path[k] = path[k - 1];
    ++count;
    path[i + 1].x = x;
    path[i + 1].y = y;
    path[i + 1].radius = SubArcRadius(split, split.x1, split.y1, x, y);
    path[i + 2].radius = SubArcRadius(split, x, y, split.x2, split.y2);
    return i + 1;
}

// The shared body of InsertPathPointX and InsertPathPointY. along_y swaps the roles of X and Y.
int InsertPathPoint(double x, double y, int p, bool along_y) {
    PathRef path = GetPath(p);
    if (!path.valid())
        return -1;
    int found = FindEqualPoint(path, x, y);
    if (found >= 0)
        return found;
    // A path of up to 510 points takes one more; the last place stays free.
    if (path.size() > kPathCapacity - 2)
        return -1;
    for (int i = 0; i + 1 < path.size(); ++i) {
        Element e = ElementBetween(path[i], path[i + 1]);
        double a = 0, b = 0;
        int n =
            along_y ? IntersectionsDU(x, y - 1.0, e, a, b) : IntersectionsLR(x - 0.1, y, e, a, b);
        double wanted = along_y ? y : x;
        if ((n >= 1 && equal(a, wanted)) || (n == 2 && equal(b, wanted)))
            return InsertAfter(path, i, x, y);
    }
    return -1;
}

} // namespace

PathRef GetPath(int n) {
    if (!ValidPathNumber(n))
        return PathRef{};
    g_paths[n].handed_out = true;
    return PathRef{g_paths[n].points.data(), &g_paths[n].count, kPathCapacity};
}

PathRef GetXLPath() {
    g_xl_handed_out = true;
    return PathRef{g_xl_points.data(), &g_xl_count, kXLPathCapacity};
}

int PathCount(int n) { return ValidPathNumber(n) ? g_paths[n].count : 0; }
int XLPathCount() { return g_xl_count; }

int AppendPathPoint(PathRef path, const PathPoint& point) {
    if (!path.valid() || *path.count >= path.capacity)
        return 0;
    path.points[(*path.count)++] = point;
    return 1;
}

void ClearPath(int n) {
    if (!ValidPathNumber(n))
        return;
    if (g_paths[n].handed_out)
        g_paths[n].points.fill(PathPoint{});
    g_paths[n].handed_out = false;
    g_paths[n].count = 0;
}

void ClearPaths() {
    for (int n = 0; n < kPathCount; ++n)
        ClearPath(n);
}

void ClearXLPath() {
    if (g_xl_handed_out)
        g_xl_points.fill(PathPoint{});
    g_xl_handed_out = false;
    g_xl_count = 0;
}

int InsertPathPointX(double x, double y, int p) { return InsertPathPoint(x, y, p, false); }
int InsertPathPointY(double x, double y, int p) { return InsertPathPoint(x, y, p, true); }

int ChangeBulgePathStartPoint(int k, int p) {
    PathRef path = GetPath(p);
    if (!path.valid())
        return 0;
    int count = path.size();
    if (k == 0 || k == count)
        return 1;
    if (k < 0 || k > kPathCapacity - 1 || k > count)
        return 0;
    // points k .. count-1, then 1 .. k: the count stays the same.
    std::array<PathPoint, kPathCapacity> rotated{};
    int n = 0;
    for (int i = k; i < count; ++i)
        rotated[n++] = path[i];
    for (int i = 1; i <= k; ++i)
        rotated[n++] = path[i];
    std::copy(rotated.begin(), rotated.begin() + count, path.points);
    return 1;
}

double SubArcRadius(const Element& arc, double sx, double sy, double ex, double ey) {
    double cx, cy;
    if ((arc.kind != kCcwArc && arc.kind != kCwArc) || !ArcCenter(arc, cx, cy))
        return arc.r;
    double sweep = std::atan2(ey - cy, ex - cx) - std::atan2(sy - cy, sx - cx);
    if (arc.kind == kCcwArc && sweep < 0)
        sweep += 2 * kPi;
    if (arc.kind == kCwArc && sweep > 0)
        sweep -= 2 * kPi;
    double r = double_abs(arc.r);
    return double_abs(sweep) > kPi ? -r : r;
}

int DeletePathElements(PathPoint* points, int& count, int from, int to) {
    if (from < 0 || to <= from || to > count)
        return count;
    int gap = to - from - 1;
    if (gap <= 0)
        return count;
    for (int i = to; i < count; ++i)
        points[i - gap] = points[i];
    for (int i = count - gap; i < count; ++i)
        points[i] = PathPoint{};
    count -= gap;
    return count;
}

int DeleteLastPathElement(PathPoint* points, int& count) {
    if (count > 0) {
        --count;
        points[count] = PathPoint{};
    }
    return count;
}

} // namespace korvel
