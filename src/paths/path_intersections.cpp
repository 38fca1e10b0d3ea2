// Self-crossings of tool paths, crossings between two paths, and loop removal.
//
// The searches try element pairs in a fixed order and stop at the first that qualifies. Only
// pairs whose bounding boxes overlap can meet, so the pairs are found by a sweep over the boxes
// sorted by their left edge and then tried in the search order; the result is that of trying
// every pair.
#include "paths/path_intersections.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "cad/dots.h"
#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "paths/offset_contour.h"
#include "paths/path_table.h"

namespace korvel {

namespace {

constexpr int kCrossingDot = 16;
constexpr int kLoopCutDot = 4;
// Boxes are widened by this much (project units) so that points found within the tolerance
// of the intersection routines are never missed.
constexpr double kBoxMargin = 0.01;
// A part whose proper pieces add up to no more than this length (project units) holds none.
constexpr double kNoLength = 0.01;

struct Box {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1; // empty: x1 < x0
    bool Meets(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

// A box round the element: for an arc the box of its full circle, which holds the arc.
Box BoxOf(const Element& e) {
    Box b;
    if (e.kind == kLine) {
        b = Box{std::min(e.x1, e.x2), std::min(e.y1, e.y2), std::max(e.x1, e.x2),
                std::max(e.y1, e.y2)};
    } else if (e.kind == kCcwArc || e.kind == kCwArc) {
        double cx, cy;
        if (!ArcCenter(e, cx, cy))
            return Box{};
        double r = distance(cx, cy, e.x1, e.y1);
        b = Box{cx - r, cy - r, cx + r, cy + r};
    } else {
        return Box{}; // moves meet nothing
    }
    b.x0 -= kBoxMargin;
    b.y0 -= kBoxMargin;
    b.x1 += kBoxMargin;
    b.y1 += kBoxMargin;
    return b;
}

Element PathElement(const PathPoint* points, int i) {
    return ElementBetween(points[i - 1], points[i]);
}

// The pairs (i, j), i < j, of elements 1..count-1 whose boxes meet, in the order of the search:
// i ascending, and for each i, j descending.
std::vector<std::pair<int, int>> CandidatePairs(const PathPoint* points, int count) {
    std::vector<Box> boxes(count);
    std::vector<int> order;
    for (int i = 1; i < count; ++i) {
        boxes[i] = BoxOf(PathElement(points, i));
        if (boxes[i].x0 <= boxes[i].x1)
            order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return boxes[a].x0 < boxes[b].x0; });
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t a = 0; a < order.size(); ++a) {
        const Box& ba = boxes[order[a]];
        for (std::size_t b = a + 1; b < order.size() && boxes[order[b]].x0 <= ba.x1; ++b)
            if (ba.Meets(boxes[order[b]]))
                pairs.emplace_back(std::min(order[a], order[b]), std::max(order[a], order[b]));
    }
    std::sort(pairs.begin(), pairs.end(), [](const auto& p, const auto& q) {
        return p.first != q.first ? p.first < q.first : p.second > q.second;
    });
    return pairs;
}

bool SamePoint(const PathPoint& p, double x, double y) { return equal(p.x, x) && equal(p.y, y); }

// Whether a point where elements i and j meet is only the vertex they share.
bool SharedVertex(const PathPoint* points, int count, int i, int j, double x, double y) {
    return (j == i + 1 && SamePoint(points[i], x, y)) ||
           (i == 1 && j == count - 1 && SamePoint(points[0], x, y));
}

// The element from `from` to `to` with to's kind, its radius fitted to the piece of the arc
// it now is.
PathPoint PieceEnd(const Element& whole, double fx, double fy, const PathPoint& to) {
    PathPoint p = to;
    p.radius = SubArcRadius(whole, fx, fy, to.x, to.y);
    return p;
}

// The loop running forward from P on element i to P on element j: P, points i .. j-1, and P
// again as the end of the piece of element j.
std::vector<PathPoint> ForwardLoop(const PathPoint* points, int i, int j, double px, double py) {
    Element ei = PathElement(points, i), ej = PathElement(points, j);
    std::vector<PathPoint> loop{PathPoint{px, py, 0, kRapid}};
    loop.push_back(PieceEnd(ei, px, py, points[i]));
    for (int k = i + 1; k < j; ++k)
        loop.push_back(points[k]);
    PathPoint end = points[j];
    end.x = px;
    end.y = py;
    end.radius = SubArcRadius(ej, ej.x1, ej.y1, px, py);
    loop.push_back(end);
    return loop;
}

// Keeps the forward loop and drops the rest: the path becomes that loop, starting at P.
void KeepForwardLoop(PathPoint* points, int& count, const std::vector<PathPoint>& loop) {
    int n = static_cast<int>(loop.size());
    for (int k = 0; k < n; ++k)
        points[k] = loop[k];
    for (int k = n; k < count; ++k)
        points[k] = PathPoint{};
    count = n;
}

// Drops the forward loop: element i ends at P and element j starts there.
void DropForwardLoop(PathPoint* points, int& count, int i, int j, double px, double py) {
    Element ei = PathElement(points, i), ej = PathElement(points, j);
    points[i].x = px;
    points[i].y = py;
    points[i].radius = SubArcRadius(ei, ei.x1, ei.y1, px, py);
    points[j].radius = SubArcRadius(ej, px, py, ej.x2, ej.y2);
    DeletePathElements(points, count, i, j);
}

// Where a point lies along an element, as a fraction of the way from its start (of the angle
// swept, for an arc).
double FractionAlong(const Element& e, double px, double py) {
    double cx, cy;
    if ((e.kind == kCcwArc || e.kind == kCwArc) && ArcCenter(e, cx, cy)) {
        double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
        double sweep = std::atan2(e.y2 - cy, e.x2 - cx) - a1;
        double t = std::atan2(py - cy, px - cx) - a1;
        double turn = e.kind == kCcwArc ? 1 : -1;
        sweep = std::fmod(turn * sweep + 4 * kPi, 2 * kPi);
        if (sweep == 0)
            sweep = 2 * kPi;
        t = std::fmod(turn * t + 4 * kPi, 2 * kPi);
        return std::clamp(t / sweep, 0.0, 1.0);
    }
    double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
    double len2 = sqr(dx) + sqr(dy);
    return len2 > 0 ? std::clamp(((px - e.x1) * dx + (py - e.y1) * dy) / len2, 0.0, 1.0) : 0;
}

// The point at a fraction of the way along an element.
void PointAt(const Element& e, double f, double& x, double& y) {
    double cx, cy;
    if ((e.kind == kCcwArc || e.kind == kCwArc) && ArcCenter(e, cx, cy)) {
        double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
        double sweep = std::atan2(e.y2 - cy, e.x2 - cx) - a1;
        double turn = e.kind == kCcwArc ? 1 : -1;
        sweep = std::fmod(turn * sweep + 4 * kPi, 2 * kPi);
        if (sweep == 0)
            sweep = 2 * kPi;
        double r = distance(cx, cy, e.x1, e.y1);
        x = cx + r * std::cos(a1 + turn * f * sweep);
        y = cy + r * std::sin(a1 + turn * f * sweep);
        return;
    }
    x = e.x1 + f * (e.x2 - e.x1);
    y = e.y1 + f * (e.y2 - e.y1);
}

// A crossing of elements i < j at P, with P's fraction along each.
struct Crossing {
    int i = 0, j = 0;
    double px = 0, py = 0;
    double fi = 0, fj = 0;
};

// The crossings of a closed path and the proper length of its pieces. Every element is split
// at the crossings on it; between two crossings a piece is proper or not as a whole (it can
// only come nearer the outline where it meets the offset of another part of it), so the
// judge looks at each piece's middle.
class Pieces {
public:
    Pieces(const PathPoint* points, int count, const PointJudge& proper) : count_(count) {
        splits_.assign(count, {});
        for (const auto& [i, j] : CandidatePairs(points, count)) {
            Element ei = PathElement(points, i), ej = PathElement(points, j);
            double x[2], y[2];
            int found = Intersect(ei, ej, x[0], y[0], x[1], y[1]);
            for (int k = 0; k < found; ++k) {
                if (SharedVertex(points, count, i, j, x[k], y[k]))
                    continue;
                Crossing c{
                    i, j, x[k], y[k], FractionAlong(ei, x[k], y[k]), FractionAlong(ej, x[k], y[k])};
                crossings_.push_back(c);
                splits_[i].push_back(c.fi);
                splits_[j].push_back(c.fj);
            }
        }
        prefix_.assign(count + 1, 0);
        for (int e = 1; e < count; ++e) {
            Element el = PathElement(points, e);
            double length = dist(el);
            std::vector<double>& f = splits_[e];
            f.push_back(0);
            f.push_back(1);
            std::sort(f.begin(), f.end());
            std::vector<double> valid(f.size(), 0); // proper length from f[k] to f[k + 1]
            for (std::size_t k = 0; k + 1 < f.size(); ++k) {
                double x, y;
                PointAt(el, (f[k] + f[k + 1]) / 2, x, y);
                if (f[k + 1] > f[k] && proper(x, y))
                    valid[k] = (f[k + 1] - f[k]) * length;
            }
            valid_.push_back(valid);
            double total = 0;
            for (double v : valid)
                total += v;
            prefix_[e + 1] = prefix_[e] + total;
        }
    }

    const std::vector<Crossing>& crossings() const { return crossings_; }

    // Proper length of the part running forward from P on element i to P on element j.
    double Forward(const Crossing& c) const {
        return Within(c.i, c.fi, 1) + (prefix_[c.j] - prefix_[c.i + 1]) + Within(c.j, 0, c.fj);
    }
    double Total() const { return prefix_[count_]; }

private:
    // Proper length of element e between two of its split fractions.
    double Within(int e, double from, double to) const {
        const std::vector<double>& f = splits_[e];
        const std::vector<double>& valid = valid_[e - 1];
        double sum = 0;
        for (std::size_t k = 0; k + 1 < f.size(); ++k)
            if (f[k] >= from && f[k + 1] <= to)
                sum += valid[k];
        return sum;
    }

    int count_;
    std::vector<Crossing> crossings_;
    std::vector<std::vector<double>> splits_;
    std::vector<std::vector<double>> valid_;
    std::vector<double> prefix_; // proper length of elements 1 .. e-1
};

// Joins the path at P and keeps one of the two parts.
void ApplyCut(PathPoint* points, int& count, const Crossing& c, bool keep_forward) {
    PushPoint(c.px, c.py, kLoopCutDot);
    if (keep_forward)
        KeepForwardLoop(points, count, ForwardLoop(points, c.i, c.j, c.px, c.py));
    else
        DropForwardLoop(points, count, c.i, c.j, c.px, c.py);
}

} // namespace

double PathArea(const PathPoint* points, int count) {
    std::vector<Element> elements;
    for (int i = 1; i < count; ++i)
        elements.push_back(PathElement(points, i));
    return SignedArea(elements);
}

int CheckForInternalPathIntersections(const PathPoint* points, const int& count) {
    int n = std::min(count, kXLPathCapacity);
    for (const auto& [i, j] : CandidatePairs(points, n)) {
        if (i >= n - 1)
            continue;
        double x[2], y[2];
        int found =
            Intersect(PathElement(points, i), PathElement(points, j), x[0], y[0], x[1], y[1]);
        for (int k = 0; k < found; ++k) {
            if (SharedVertex(points, n, i, j, x[k], y[k]))
                continue;
            PushPoint(x[k], y[k], kCrossingDot);
            return 1;
        }
    }
    return 0;
}

int CheckForExternalPathIntersections(const PathPoint* points_a, const PathPoint* points_b,
                                      const int& count_a, const int& count_b) {
    std::vector<Box> boxes_b(count_b > 0 ? count_b : 0);
    Box all_b;
    for (int j = 1; j < count_b; ++j) {
        boxes_b[j] = BoxOf(PathElement(points_b, j));
        if (boxes_b[j].x0 > boxes_b[j].x1)
            continue;
        if (all_b.x0 > all_b.x1)
            all_b = boxes_b[j];
        all_b = Box{std::min(all_b.x0, boxes_b[j].x0), std::min(all_b.y0, boxes_b[j].y0),
                    std::max(all_b.x1, boxes_b[j].x1), std::max(all_b.y1, boxes_b[j].y1)};
    }
    for (int i = 1; i < count_a; ++i) {
        Element ea = PathElement(points_a, i);
        Box ba = BoxOf(ea);
        if (!ba.Meets(all_b))
            continue;
        for (int j = 1; j < count_b; ++j) {
            if (!ba.Meets(boxes_b[j]))
                continue;
            double x[2], y[2];
            int found = Intersect(ea, PathElement(points_b, j), x[0], y[0], x[1], y[1]);
            if (found == 0)
                continue;
            for (int k = 0; k < found; ++k)
                PushPoint(x[k], y[k], kCrossingDot);
            return 1;
        }
    }
    return 0;
}

int EliminatePathIntersections(PathPoint* points, int& count) {
    for (const auto& [i, j] : CandidatePairs(points, count)) {
        double x[2], y[2];
        int found =
            Intersect(PathElement(points, i), PathElement(points, j), x[0], y[0], x[1], y[1]);
        if (found != 1 || SharedVertex(points, count, i, j, x[0], y[0]))
            continue;
        double px = x[0], py = y[0];
        PushPoint(px, py, kLoopCutDot);
        // Of the two parts the crossing splits the path into, the loop to drop is the one that
        // encloses less area in the path's own sense of rotation (a loop left by an offset runs
        // the other way round). Normally that is the forward part; when the crossing lies
        // near the start, it can be the part running round the start.
        std::vector<PathPoint> loop = ForwardLoop(points, i, j, px, py);
        double whole = PathArea(points, count);
        double forward = PathArea(loop.data(), static_cast<int>(loop.size()));
        double sense = whole < 0 ? -1 : 1;
        if (sense * forward > sense * (whole - forward))
            KeepForwardLoop(points, count, loop);
        else
            DropForwardLoop(points, count, i, j, px, py);
        return 1;
    }
    return 0;
}

int RemovePathLoops(PathPoint* points, int& count, const PointJudge& proper, int* lobes) {
    int cuts = 0;
    // Every cut drops a part with a crossing on it; the limit only guards against a crossing
    // that rounding keeps finding again.
    for (int limit = 4 * count + 16; limit > 0; --limit) {
        Pieces pieces(points, count, proper);
        const std::vector<Crossing>& crossings = pieces.crossings();
        if (crossings.empty())
            break;
        // The first crossing, in the search order, that splits off a part with nothing proper
        // in it: a loop. When there is none, every crossing left splits the proper path
        // itself, and the first one loses the part holding less of it.
        const Crossing* cut = nullptr;
        bool keep_forward = false;
        for (const Crossing& c : crossings) {
            double forward = pieces.Forward(c), wrap = pieces.Total() - forward;
            if (forward <= kNoLength || wrap <= kNoLength) {
                cut = &c;
                keep_forward = wrap <= kNoLength && forward > kNoLength;
                break;
            }
        }
        if (!cut) {
            cut = &crossings.front();
            double forward = pieces.Forward(*cut);
            keep_forward = forward > pieces.Total() - forward;
            if (lobes)
                ++*lobes;
        }
        ApplyCut(points, count, *cut, keep_forward);
        ++cuts;
    }
    return cuts;
}

} // namespace korvel
