// Tool paths in the top view.
#include "ui/draw_paths.h"

#include <cmath>
#include <vector>

#include "base/units.h"
#include "model/atttool.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/level_path.h"
#include "paths/pocket_path.h"

namespace korvel {

namespace {

constexpr double kDefaultToolMM = 10;

// Half the diameter of the tool in a magazine place; 0 when the place holds none.
double PlaceRadius(int place) {
    int type;
    double dia = 0, length = 0;
    if (place <= 0 || GetAttToolData(place, type, dia, length) < 0 || !(dia > 0))
        return 0;
    return dia / 2;
}

// The preselected tool's radius, else the default tool's, no larger than `fits` (when above
// 0: the smallest inside arc of the outline).
double ToolRadius(int place, double fits) {
    double r = PlaceRadius(place);
    if (r > 0)
        return r;
    r = (UserUnit() == kUnitInch ? 0.4 : kDefaultToolMM) / 2;
    return fits > 0 && fits < r ? fits : r;
}

void StartRing(TopPainter& p, const PathPoint& start, const Pen& pen, double radius) {
    p.SetPen(Pen{pen.rgb, 1, LineStyle::kSolid});
    p.Circle(start.x, start.y, radius);
}

// The level path of one level, for the tool its bulges ask for, scanning as its first bulge
// says. 0 when it could not be made.
int DrawLevelPath(TopPainter& p, int level) {
    int first = FindFirstLevelBulge(level);
    if (first < 0)
        return 1;
    Bulge b;
    GetBulge(first, b);
    double r = LevelPathRadius(level);
    double overlap = GetSettings().overlap;
    int made = (b.scan & 1) ? MakeLevelPathY(level, r, overlap) : MakeLevelPathX(level, r, overlap);
    if (!made)
        return 0;
    DrawPath(p, GetXLPath(), LevelPathPen(level), PathMovePen());
    return 1;
}

int DrawPocketPaths(TopPainter& p, int k) {
    Pocket pocket;
    GetPocket(k, pocket);
    double r = PocketPathRadius(k);
    double overlap = GetSettings().overlap;
    int made =
        (pocket.scan & 1) ? MakePocketPathsY(k, r, overlap) : MakePocketPathsX(k, r, overlap);
    if (!made)
        return 0;
    for (int n = 1; n < kPathCount; ++n)
        if (PathCount(n) > 1)
            DrawPath(p, GetPath(n), PathCutPen(), PathMovePen());
    return 1;
}

} // namespace

Pen PathCutPen() { return Pen{0xe04000, 1, LineStyle::kSolid}; }

Pen LevelPathPen(int level) {
    static constexpr std::uint32_t kLevels[] = {0x1b8fd8, 0x9b30c8, 0x2aa02a, 0xc08000, 0x00a0a0};
    int n = static_cast<int>(sizeof kLevels / sizeof kLevels[0]);
    return Pen{kLevels[(level < 0 ? 0 : level) % n], 1, LineStyle::kSolid};
}
Pen PathMovePen() { return Pen{0x909090, 1, LineStyle::kDashed}; }

void DrawPath(TopPainter& p, const PathRef& path, const Pen& cut, const Pen& move) {
    if (path.size() < 1)
        return;
    p.SetPen(cut);
    p.MoveTo(path[0].x, path[0].y);
    for (int i = 1; i < path.size(); ++i) {
        const PathPoint& q = path[i];
        if (q.kind == kRapid) {
            p.SetPen(move);
            p.LineTo(q.x, q.y);
            continue;
        }
        p.SetPen(cut);
        p.ElementTo(q.x, q.y, q.radius, q.kind);
    }
    double ring = UserUnit() == kUnitInch ? 0.03 : 0.8;
    StartRing(p, path[0], cut, ring);
}

double BulgePathRadius(int bulge) {
    Bulge b;
    if (!GetBulge(bulge, b))
        return 0;
    return ToolRadius(b.rough_tool, MinBulgeCWR(bulge));
}

double LevelPathRadius(int level) {
    int first = FindFirstLevelBulge(level);
    if (first < 0)
        return 0;
    // The level shares its rough tool; the tightest inside arc of any of its bulges limits a
    // tool chosen here.
    double fits = 0;
    std::vector<int> bulges;
    for (int b = first; b >= 0; b = FindNextLevelBulge(level))
        bulges.push_back(b);
    for (int b : bulges) {
        double m = MinBulgeCWR(b);
        if (m > 0 && (fits == 0 || m < fits))
            fits = m;
    }
    Bulge b;
    GetBulge(first, b);
    return ToolRadius(b.rough_tool, fits);
}

double PocketPathRadius(int pocket) {
    Pocket k;
    if (!GetPocket(pocket, k))
        return 0;
    return ToolRadius(k.rough_tool, MinPocketCCWR(pocket));
}

int DrawToolPaths(TopPainter& p) {
    int all = 1;
    for (int level = TopLevel(); level >= 0; --level)
        if (!DrawLevelPath(p, level))
            all = 0;
    for (int id : RegisteredObjects()) {
        int type = 0, index = -1;
        if (FindID(id, type, index) && type == kTypePocket && !DrawPocketPaths(p, index))
            all = 0;
    }
    return all;
}

} // namespace korvel
