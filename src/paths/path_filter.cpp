// Level-path filters and the optimiser.
#include "paths/path_filter.h"

#include <algorithm>
#include <vector>

#include "base/errors.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/level_path.h"
#include "paths/path_table.h"

namespace korvel {

namespace {

// a at or below b: equal, or strictly below.
bool AtOrBelow(double a, double b) { return equal(a, b) || a < b; }
bool AtOrAbove(double a, double b) { return equal(a, b) || a > b; }

void ToMove(PathPoint& p) {
    p.kind = kRapid;
    p.radius = 0;
}

// Copies the filtered points back.
int Store(const std::vector<PathPoint>& out, PathPoint* points, int& count) {
    std::copy(out.begin(), out.end(), points);
    for (int i = static_cast<int>(out.size()); i < count; ++i)
        points[i] = PathPoint{};
    count = static_cast<int>(out.size());
    return count;
}

} // namespace

int PathLine_Block(double x1, double y1, double x2, double y2, double d) {
    BlockRecord b = GetBlock();
    if (equal(x1, x2)) {
        if (AtOrBelow(x1, b.x - d) && AtOrBelow(x2, b.x - d))
            return kLeftOfBlock;
        if (AtOrAbove(x1, b.x + b.length + d) && AtOrAbove(x2, b.x + b.length + d))
            return kRightOfBlock;
    }
    if (equal(y1, y2)) {
        if (AtOrBelow(y1, b.y - d) && AtOrBelow(y2, b.y - d))
            return kBelowBlock;
        if (AtOrAbove(y1, b.y + b.width + d) && AtOrAbove(y2, b.y + b.width + d))
            return kAboveBlock;
    }
    return kInsideBlock;
}

int PathCcw_Block(double x1, double y1, double x2, double y2, double radius) {
    double cx, cy;
    if (!ArcCenter(x1, y1, x2, y2, radius, kCcwArc, cx, cy))
        return kInsideBlock;
    BlockRecord b = GetBlock();
    double left = b.x, right = b.x + b.length, bottom = b.y, top = b.y + b.width;
    auto all_left = AtOrBelow(cx, left) && AtOrBelow(x1, left) && AtOrBelow(x2, left);
    auto all_right = AtOrAbove(cx, right) && AtOrAbove(x1, right) && AtOrAbove(x2, right);
    auto all_below = AtOrBelow(cy, bottom) && AtOrBelow(y1, bottom) && AtOrBelow(y2, bottom);
    auto all_above = AtOrAbove(cy, top) && AtOrAbove(y1, top) && AtOrAbove(y2, top);
    if (all_left && all_above)
        return kUpperLeftCorner;
    if (all_right && all_above)
        return kUpperRightCorner;
    if (all_left && all_below)
        return kLowerLeftCorner;
    if (all_right && all_below)
        return kLowerRightCorner;
    return kInsideBlock;
}

int PathFilter_Block_new(PathPoint* points, int& count, double d) {
    if (count < 1)
        return count;
    std::vector<PathPoint> out{points[0]};
    bool arc_to_line = false; // the element after a filtered line was an arc of radius d
    for (int i = 1; i < count; ++i) {
        PathPoint p = points[i];
        bool was_line = p.kind == kLine;
        if (arc_to_line) {
            p.kind = kLine;
            p.radius = 0;
            arc_to_line = false;
        }
        int side = was_line ? PathLine_Block(points[i - 1].x, points[i - 1].y, p.x, p.y, d) : 0;
        if (side != kInsideBlock) {
            ToMove(p);
            PathPoint& before = out.back();
            if (out.size() >= 2 && before.kind == kCcwArc && equal(before.radius, d))
                ToMove(before);
            if (i + 1 < count && points[i + 1].kind == kCcwArc && equal(points[i + 1].radius, d)) {
                arc_to_line = true;
                if (side == kLeftOfBlock || side == kRightOfBlock)
                    p.y = points[i + 1].y;
                else
                    p.x = points[i + 1].x;
            }
        }
        out.push_back(p);
    }
    return Store(out, points, count);
}

int PathFilter_Block_old(PathPoint* points, int& count, double d) {
    if (count < 1)
        return 1;
    BlockRecord b = GetBlock();
    double q = GetSettings().qplane;
    double xl = b.x - d - q, xr = b.x + b.length + d + q;
    double yb = b.y - d - q, yt = b.y + b.width + d + q;
    std::vector<PathPoint> out{points[0]};
    bool moved_before = false;
    for (int i = 1; i < count; ++i) {
        const PathPoint& s = points[i - 1];
        PathPoint p = points[i];
        bool moved = true;
        int side = p.kind == kLine     ? PathLine_Block(s.x, s.y, p.x, p.y, d)
                   : p.kind == kCcwArc ? PathCcw_Block(s.x, s.y, p.x, p.y, p.radius)
                                       : kInsideBlock;
        switch (side) {
        case kLeftOfBlock:
            p.x = std::min(p.x, xl);
            break;
        case kRightOfBlock:
            p.x = std::max(p.x, xr);
            break;
        case kBelowBlock:
            p.y = std::min(p.y, yb);
            break;
        case kAboveBlock:
            p.y = std::max(p.y, yt);
            break;
        case kUpperLeftCorner:
            p.x = std::min(p.x, xl);
            p.y = std::max(p.y, yt);
            break;
        case kUpperRightCorner:
            p.x = std::max(p.x, xr);
            p.y = std::max(p.y, yt);
            break;
        case kLowerLeftCorner:
            p.x = std::min(p.x, xl);
            p.y = std::min(p.y, yb);
            break;
        case kLowerRightCorner:
            p.x = std::max(p.x, xr);
            p.y = std::min(p.y, yb);
            break;
        default:
            moved = false;
        }
        if (moved)
            ToMove(p);
        else if (p.kind != kRapid && moved_before)
            out.push_back(PathPoint{s.x, s.y, 0, kLine}); // back from the run-out
        out.push_back(p);
        moved_before = moved;
    }
    if (static_cast<int>(out.size()) > kXLPathCapacity)
        return ErrCode(kErrXLPathFull);
    Store(out, points, count);
    return 1;
}

int PathFilter_Block(PathPoint* points, int& count, double d) {
    if (GetSettings().use_newfilter) {
        PathFilter_Block_new(points, count, d);
        return 1;
    }
    return PathFilter_Block_old(points, count, d);
}

int PathOptimiser_old(PathPoint* points, int& count) {
    if (count < 2)
        return ErrCode(7);
    for (int i = 1; i < count; ++i) {
        PathPoint& p = points[i];
        bool between_moves =
            points[i - 1].kind == kRapid && (i + 1 == count || points[i + 1].kind == kRapid);
        if (p.kind == kLine && between_moves &&
            !InBlock(points[i - 1].x, points[i - 1].y, p.x, p.y))
            ToMove(p);
    }
    JoinJumps(points, count);
    return 1;
}

int PathOptimiser(PathPoint* points, int& count, double) {
    return PathOptimiser_old(points, count);
}

int JoinJumps(PathPoint* points, int& count) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        bool move = points[i].kind == kRapid;
        if (move && (i + 1 == count || points[i + 1].kind == kRapid))
            continue; // a move followed by a move, or a move at the end
        points[n++] = points[i];
    }
    for (int i = n; i < count; ++i)
        points[i] = PathPoint{};
    count = n;
    return count;
}

} // namespace korvel
