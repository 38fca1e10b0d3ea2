// Level paths: scan lines round the bulges of one level, with each contour followed once.
#include "paths/level_path.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include "base/errors.h"
#include "geometry/ray_crossing.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/path_filter.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr int kMaxLevelContours = 32;
constexpr int kMaxCrossings = 512;
constexpr int kNoContour = -1;

enum Flag { kMove = 0, kCut = 1 };

// A scan line's entries: where it starts, crosses the contours and ends, sorted along it.
struct Entries {
    std::vector<double> s;
    std::vector<int> contour;
    std::vector<int> flag;
};

// The level's bulges with their contours built into paths 0, 1, ...; false after a failure.
bool BuildContours(int level, double r, std::vector<int>& bulges) {
    int lobes = 0;
    for (int b = FindFirstLevelBulge(level); b >= 0; b = FindNextLevelBulge(level)) {
        if (static_cast<int>(bulges.size()) == kMaxLevelContours)
            break;
        if (!MakeBulgePath(static_cast<int>(bulges.size()), b, r, lobes))
            return false;
        bulges.push_back(b);
    }
    bool crossed = lobes > 0;
    int n = static_cast<int>(bulges.size());
    for (int p = 0; p < n && !crossed && !PathLoopRemovalOn(); ++p) {
        PathRef path = GetPath(p);
        crossed = CheckForInternalPathIntersections(path.points, *path.count);
    }
    for (int p = 0; p < n && !crossed; ++p)
        for (int q = p + 1; q < n && !crossed; ++q) {
            PathRef a = GetPath(p), b = GetPath(q);
            crossed = CheckForExternalPathIntersections(a.points, b.points, *a.count, *b.count);
        }
    if (crossed)
        ShowMessage("Please check part for producability or select a smaller tool",
                    "WARNING! Path intersection", kMbOk | kMbIconExclamation);
    return true;
}

// The entries of the scan line at t (Y for lines along X) from s0 to s_end, flagged by parity:
// odd entries cut from the one before, even ones are moves; trailing moves dropped. False when
// the line crosses the contours more than 512 times.
bool ScanEntries(int contours, double s0, double t, double s_end, bool along_y, Entries& out) {
    std::vector<double> s{s0};
    std::vector<int> tag{kNoContour};
    for (int p = 0; p < contours; ++p) {
        PathRef path = GetPath(p);
        for (int i = 1; i < path.size(); ++i) {
            Element e = ElementBetween(path[i - 1], path[i]);
            double a = 0, b = 0;
            int n = along_y ? IntersectionsDU(t, s0, e, a, b) : IntersectionsLR(s0, t, e, a, b);
            for (int k = 0; k < n; ++k) {
                s.push_back(k == 0 ? a : b);
                tag.push_back(p);
            }
            if (static_cast<int>(s.size()) > kMaxCrossings - 1)
                return false;
        }
    }
    s.push_back(s_end);
    tag.push_back(kNoContour);
    int n = static_cast<int>(s.size());
    sort_ixy(s.data(), tag.data(), n);
    std::vector<int> flag(n);
    for (int i = 0; i < n; ++i)
        flag[i] = i % 2 == 1 ? kCut : kMove;
    while (n > 0 && flag[n - 1] == kMove)
        --n;
    out.s.assign(s.begin(), s.begin() + n);
    out.contour.assign(tag.begin(), tag.begin() + n);
    out.flag.assign(flag.begin(), flag.begin() + n);
    return true;
}

// Appends a point to the XL path; false after the internal error when it is full.
bool Append(PathRef xl, const PathPoint& p) {
    if (AppendPathPoint(xl, p))
        return true;
    ErrCode(kErrXLPathFull);
    return false;
}

// Ends the cut at the crossing s on contour p, then follows the whole contour back to it.
// 0 after a failure (the crossing not found on the contour, no room).
int FollowContour(int p, double s, double t, bool along_y, PathRef xl) {
    double x = along_y ? t : s, y = along_y ? s : t;
    int k = along_y ? InsertPathPointY(x, y, p) : InsertPathPointX(x, y, p);
    if (k < 0 || !ChangeBulgePathStartPoint(k, p))
        return 0;
    PathRef contour = GetPath(p);
    contour[0].kind = kLine;
    contour[0].radius = 0;
    if (xl.size() + contour.size() > xl.capacity)
        return ErrCode(kErrXLPathFull);
    for (int i = 0; i < contour.size(); ++i)
        AppendPathPoint(xl, contour[i]);
    return 1;
}

// The walk along one scan line's entries. 0 after a failure.
int WalkLine(const Entries& e, double t, bool along_y, double lo, double hi, double r,
             std::array<bool, kMaxLevelContours>& followed) {
    PathRef xl = GetXLPath();
    for (std::size_t j = 0; j < e.s.size(); ++j) {
        double s = e.s[j];
        int flag = e.flag[j], contour = e.contour[j];
        if (flag == kCut && contour != kNoContour && !followed[contour]) {
            if (!FollowContour(contour, s, t, along_y, xl))
                return 0;
            followed[contour] = true;
            continue;
        }
        // A cut ending at the block's near edge, starting at its far edge, or shorter than the
        // offset runs where the contours and the run-out leave nothing: a move.
        if (flag == kCut && j > 0 && (s < lo + r || e.s[j - 1] > hi - r || s - e.s[j - 1] < r))
            flag = kMove;
        PathPoint p{along_y ? t : s, along_y ? s : t, 0, flag == kCut ? kLine : kRapid};
        if (flag == kMove && xl.size() > 0 && xl[xl.size() - 1].kind == kRapid) {
            xl[xl.size() - 1].x = p.x; // moves in a row merge
            xl[xl.size() - 1].y = p.y;
            continue;
        }
        if (!Append(xl, p))
            return 0;
    }
    return 1;
}

int MakeLevelPath(int level, double r, double overlap, double tool_diameter, bool along_y) {
    ClearPaths();
    ClearXLPath();
    BlockRecord b = GetBlock();
    double lo = along_y ? b.y : b.x, hi = lo + (along_y ? b.width : b.length);
    double t_origin = along_y ? b.x : b.y, t_width = along_y ? b.length : b.width;
    if (!(r > 0) || !(overlap > 0) || !b.valid || !(t_width > 0))
        return ErrCode(kErrLevelScanStep);
    std::vector<int> bulges;
    if (!BuildContours(level, r, bulges))
        return 0;
    int contours = static_cast<int>(bulges.size());
    std::array<bool, kMaxLevelContours> followed{};
    const Settings& set = GetSettings();
    // The step never exceeds the tool's diameter: an allowance in r would otherwise leave
    // ridges between the passes.
    double s_max = 2 * r * overlap;
    double dia = tool_diameter > 0 ? tool_diameter : 2 * r;
    s_max = std::min(s_max, dia);
    int lines = static_cast<int>(std::min(t_width / s_max, 1e6)) + 1;
    double step = t_width / lines;
    double s0_start = lo - r - set.qplane;
    double s_end = set.use_newfilter ? hi : hi + r + set.qplane;
    double t_last = t_origin + t_width;
    double slack = 1e-9 * (std::fabs(t_last) + t_width); // rounding of the running sum
    Entries entries;
    for (double t = t_origin + step / 2; t <= t_last + slack; t += step) {
        double s0 = s0_start;
        for (int bulge : bulges) {
            if (along_y)
                AvoidBulgeNodes(bulge, t, s0);
            else
                AvoidBulgeNodes(bulge, s0, t);
        }
        if (!ScanEntries(contours, s0, t, s_end, along_y, entries))
            return ErrCode(kErrLevelCrossings);
        if (!WalkLine(entries, t, along_y, lo, hi, r, followed))
            return 0;
    }
    PathRef xl = GetXLPath();
    if (set.optimise) {
        if (!PathFilter_Block(xl.points, *xl.count, r) || !PathOptimiser(xl.points, *xl.count, r))
            return 0;
    }
    JoinJumps(xl.points, *xl.count);
    return contours;
}

} // namespace

void sort_ixy(double* values, int* tags, int n) {
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return values[a] < values[b]; });
    std::vector<double> v(n);
    std::vector<int> t(n);
    for (int i = 0; i < n; ++i) {
        v[i] = values[order[i]];
        t[i] = tags[order[i]];
    }
    std::copy(v.begin(), v.end(), values);
    std::copy(t.begin(), t.end(), tags);
}

int MakeLevelPathX(int level, double r, double overlap, double tool_diameter) {
    return MakeLevelPath(level, r, overlap, tool_diameter, false);
}

int MakeLevelPathY(int level, double r, double overlap, double tool_diameter) {
    return MakeLevelPath(level, r, overlap, tool_diameter, true);
}

} // namespace korvel
