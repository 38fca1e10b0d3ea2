// Tool paths in the top view.
#include "ui/draw_paths.h"

#include <cmath>

#include "base/units.h"
#include "model/atttool.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/contour_path.h"
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

int DrawBulgePath(TopPainter& p, int b) {
    double r = BulgePathRadius(b);
    if (!(r > 0) || !MakeBulgePath(0, b, r))
        return 0;
    DrawPath(p, GetPath(0), PathCutPen(), PathMovePen());
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

double PocketPathRadius(int pocket) {
    Pocket k;
    if (!GetPocket(pocket, k))
        return 0;
    return ToolRadius(k.rough_tool, MinPocketCCWR(pocket));
}

int DrawToolPaths(TopPainter& p) {
    int all = 1;
    for (int id : RegisteredObjects()) {
        int type = 0, index = -1;
        if (!FindID(id, type, index))
            continue;
        if (type == kTypeBulge && !DrawBulgePath(p, index))
            all = 0;
        if (type == kTypePocket && !DrawPocketPaths(p, index))
            all = 0;
    }
    return all;
}

} // namespace korvel
