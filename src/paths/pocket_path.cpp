// Pocket paths: the inward offset of the outline and the scan-line clearing of its inside.
#include "paths/pocket_path.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/errors.h"
#include "geometry/primitives.h"
#include "geometry/ray_crossing.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/object_edit.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/offset_contour.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr int kMaxBuildPath = 31;
constexpr int kOuterPath = 0;
constexpr int kWallPath = 1;
constexpr int kScanPath = 2;
constexpr int kFirstIslandPath = 3;
constexpr int kMaxCrossings = 512;

enum Flag { kDropped = -1, kMove = 0, kCut = 1 };

void WarnIntersection() {
    ShowMessage("Please check pocket for producability or select a smaller tool",
                "WARNING! Pocket path intersection", kMbOk | kMbIconExclamation);
}

void ToolTooBig() {
    ShowMessage("Tool diameter too big", "Tool selection error", kMbOk | kMbIconExclamation);
}

enum class Built { kOk, kNothingLeft, kFailed };

// The inward offset into `path`. kNothingLeft when no area is left inside it (the pocket is
// narrower than twice d everywhere): with must_fit that is reported as a tool too big for the
// pocket and the build fails, else the path is left empty. `lobes` counts the parts of the
// offset area the loop cleanup had to drop.
Built BuildPocketPath(int path, int pocket, double d, bool must_fit, int& lobes) {
    if (path < 0 || path > kMaxBuildPath) {
        ErrCode(kErrPocketPathNumber);
        return Built::kFailed;
    }
    Pocket k;
    if (pocket < 0 || pocket >= kMaxPockets || !GetPocket(pocket, k)) {
        ErrCode(kErrPocketIndex);
        return Built::kFailed;
    }
    ClearPath(path);
    double D = d - ToleranceOffsetLength(k.tol_offset);
    PathRef out = GetPath(path);
    const OffsetContourCodes codes{kErrPocketPathFull, kErrPocketPathNoRoom, kErrPocketPathElement};
    if (!BuildOffsetContour(CounterClockwiseElements(k.shape), D, -1, out, codes,
                            PathLoopRemovalOn(), &lobes))
        return Built::kFailed;
    if (out.size() >= 3 && PathArea(out.points, out.size()) > 0)
        return Built::kOk;
    ClearPath(path);
    if (!must_fit)
        return Built::kNothingLeft;
    ToolTooBig();
    return Built::kFailed;
}

// Builds the contours of the pocket's islands (bulges standing in it) into paths 3 upwards.
// Returns the number built, or -1 after a message.
int BuildIslandPaths(int k, double r) {
    int pocket_id = Pocket_id(k);
    int next = kFirstIslandPath;
    for (int b = 0; b < kMaxBulges; ++b) {
        if (!Bulge_valid(b) || Bulge_pid(b) != pocket_id)
            continue;
        if (next > kMaxBuildPath) {
            ErrCode(kErrPocketIslands);
            return -1;
        }
        if (!MakeBulgePath(next, b, r))
            return -1;
        ++next;
    }
    return next - kFirstIslandPath;
}

// The paths that bound the cut: the wall contour, then the island contours. A scan line cuts
// where it lies inside an odd number of them.
std::vector<int> BoundaryPaths(int islands) {
    std::vector<int> paths{kWallPath};
    for (int i = 0; i < islands; ++i)
        paths.push_back(kFirstIslandPath + i);
    return paths;
}

// The elements the scan lines cross: those of the wall contour and the island contours, each
// with the span of scan-line coordinates t it reaches (for an arc, that of its full circle), so
// that a line meets only the elements that span it.
struct ScanElement {
    Element e;
    double t0, t1;
};

std::vector<ScanElement> ScanElements(const std::vector<int>& paths, bool along_y) {
    std::vector<ScanElement> out;
    for (int p : paths) {
        PathRef path = GetPath(p);
        for (int i = 1; i < path.size(); ++i) {
            Element e = ElementBetween(path[i - 1], path[i]);
            double a = along_y ? e.x1 : e.y1, b = along_y ? e.x2 : e.y2;
            double t0 = std::min(a, b), t1 = std::max(a, b), cx, cy;
            if ((e.kind == kCcwArc || e.kind == kCwArc) && ArcCenter(e, cx, cy)) {
                double r = distance(cx, cy, e.x1, e.y1), c = along_y ? cx : cy;
                t0 = std::min(t0, c - r);
                t1 = std::max(t1, c + r);
            }
            out.push_back(ScanElement{e, t0 - 1e-6, t1 + 1e-6});
        }
    }
    return out;
}

// The crossings of the ray from (s0, t) towards +s (s is X for scan lines of constant Y) with
// the scan elements, kept up to s_max and sorted. False when there are more than 512.
bool ScanCrossings(const std::vector<ScanElement>& elements, double s0, double t, double s_max,
                   bool along_y, std::vector<double>& out) {
    out.clear();
    for (const ScanElement& se : elements) {
        if (t < se.t0 || t > se.t1)
            continue;
        double a = 0, b = 0;
        int n = along_y ? IntersectionsDU(t, s0, se.e, a, b) : IntersectionsLR(s0, t, se.e, a, b);
        if (n >= 1 && a <= s_max)
            out.push_back(a);
        if (n == 2 && b <= s_max)
            out.push_back(b);
        if (static_cast<int>(out.size()) > kMaxCrossings)
            return false;
    }
    std::sort(out.begin(), out.end());
    return true;
}

// Cut flags by parity: entry i cuts from entry i - 1 when i is odd, unless the segment is
// shorter than r; runs of moves keep only their last entry, and a trailing move is dropped.
std::vector<int> SegmentFlags(const std::vector<double>& s, double r) {
    int n = static_cast<int>(s.size());
    std::vector<int> flag(n);
    for (int i = 0; i < n; ++i) {
        flag[i] = i % 2 == 1 ? kCut : kMove;
        if (i > 0 && s[i] - s[i - 1] < r)
            flag[i] = kMove;
    }
    for (int i = 0; i < n; ++i)
        if (flag[i] == kMove && (i + 1 == n || flag[i + 1] == kMove))
            flag[i] = kDropped;
    return flag;
}

// Appends the segments of one scan line to path 2. 0 after the internal error when the path
// has no room for them.
int AppendScanLine(const std::vector<double>& s, const std::vector<int>& flag, double t,
                   bool along_y) {
    PathRef scan = GetPath(kScanPath);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (flag[i] == kDropped)
            continue;
        PathPoint p{along_y ? t : s[i], along_y ? s[i] : t, 0, flag[i] == kCut ? kLine : kRapid};
        if (!AppendPathPoint(scan, p))
            return ErrCode(kErrPocketScanFull);
    }
    return 1;
}

// Paths 0, 1 and the islands; 0 after a message. Path 0 (twice the radius) is left empty when
// nothing is left inside it: nothing follows it, and a pocket the tool fits is no failure.
int BuildPocketContours(int k, double r, int& islands) {
    double m = MinPocketCCWR(k);
    if (m < 0 || (m > 0 && r > m)) {
        ToolTooBig();
        return 0;
    }
    ClearPaths();
    int lobes = 0;
    if (BuildPocketPath(kOuterPath, k, 2 * r, false, lobes) == Built::kFailed)
        return ErrCode(kErrPocketOuterPath);
    lobes = 0;
    if (BuildPocketPath(kWallPath, k, r, true, lobes) != Built::kOk)
        return ErrCode(kErrPocketWallPath);
    islands = BuildIslandPaths(k, r);
    if (islands < 0)
        return 0;
    PathRef wall = GetPath(kWallPath);
    // With the loops cut out the wall contour crosses itself nowhere; only a lost part of the
    // pocket is then worth the warning.
    bool crossed = lobes > 0 || (!PathLoopRemovalOn() &&
                                 CheckForInternalPathIntersections(wall.points, *wall.count));
    for (int i = 0; i < islands && !crossed; ++i) {
        PathRef island = GetPath(kFirstIslandPath + i);
        crossed = CheckForExternalPathIntersections(wall.points, island.points, *wall.count,
                                                    *island.count);
    }
    if (crossed)
        WarnIntersection();
    return 1;
}

// The X and the Y values of a shape's vertices, sorted, for nudging the scan lines off them
// without a pass over every vertex per line.
struct NodeValues {
    std::vector<double> xs, ys;
    explicit NodeValues(const Shape& shape) {
        for (int i = 0; i < shape.n; ++i) {
            if (shape.v[i].x == shape.v[i].x) // a value that is not a number matches nothing
                xs.push_back(shape.v[i].x);
            if (shape.v[i].y == shape.v[i].y)
                ys.push_back(shape.v[i].y);
        }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
    }
    // What AvoidShapeNodes does: each value stepped down until it equals no vertex's.
    void Avoid(double& x, double& y) const {
        while (std::binary_search(xs.begin(), xs.end(), x))
            x -= kNodeNudge;
        while (std::binary_search(ys.begin(), ys.end(), y))
            y -= kNodeNudge;
    }
};

// The scan lines: t is the scan line's coordinate (Y for lines along X), s runs along it.
int MakePocketPaths(int k, double r, double overlap, bool along_y) {
    BlockRecord block = GetBlock();
    double s_origin = along_y ? block.y : block.x, t_origin = along_y ? block.x : block.y;
    double s_length = along_y ? block.width : block.length;
    double t_width = along_y ? block.length : block.width;
    if (!(r > 0) || !(overlap > 0) || !block.valid || !(t_width > 0))
        return ErrCode(kErrPocketScanStep);
    int islands = 0;
    if (!BuildPocketContours(k, r, islands))
        return 0;
    double qplane = GetSettings().qplane;
    int lines = static_cast<int>(std::min(t_width / (2 * r * overlap), 1e6)) + 1;
    double step = t_width / lines;
    double s0 = s_origin - r - qplane;
    double s_max = s_origin + s_length + r + qplane;
    double t_end = t_origin + t_width + step / 2;
    // The running sum may land a rounding error above the last line's place; forgive that.
    double slack = 1e-9 * (std::fabs(t_end) + t_width);
    std::vector<ScanElement> bounds = ScanElements(BoundaryPaths(islands), along_y);
    std::vector<double> s;
    Pocket pocket;
    GetPocket(k, pocket);
    const NodeValues nodes(pocket.shape);
    for (double t = t_origin - step / 2; t <= t_end + slack; t += step) {
        // Off the pocket's vertices (AvoidPocketNodes with the shape fetched once).
        if (along_y)
            nodes.Avoid(t, s0);
        else
            nodes.Avoid(s0, t);
        if (!ScanCrossings(bounds, s0, t, s_max, along_y, s))
            return ErrCode(kErrPocketScanLine);
        if (!AppendScanLine(s, SegmentFlags(s, r), t, along_y))
            return 0;
    }
    return 1;
}

} // namespace

int MakePocketPath(int path, int pocket, double d) {
    int lobes = 0;
    return BuildPocketPath(path, pocket, d, true, lobes) == Built::kOk ? 1 : 0;
}

int MakePocketPathsX(int k, double r, double overlap) {
    return MakePocketPaths(k, r, overlap, false);
}

int MakePocketPathsY(int k, double r, double overlap) {
    return MakePocketPaths(k, r, overlap, true);
}

int GetPocketPathDrillPoint(int path, double& x, double& y) {
    PathRef p = GetPath(path);
    if (!p.valid() || p.size() == 0)
        return 0;
    x = p[0].x;
    y = p[0].y;
    return 1;
}

} // namespace korvel
