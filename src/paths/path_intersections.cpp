// Self-crossings of tool paths, crossings between two paths, and loop removal.
//
// The searches try element pairs in a fixed order and stop at the first that qualifies. Only
// pairs whose bounding boxes overlap can meet, so the pairs are found by a sweep over the boxes
// sorted by their left edge and then tried in the search order; the result is that of trying
// every pair.
#include "paths/path_intersections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// An element with what the searches ask of it again and again: the element with its circle
// (for Intersect); for an arc its centre, radius, start angle and signed sweep (positive
// counter-clockwise); its length; and a box round it.
struct Geom {
    PreparedElement pe;
    bool arc = false;
    double cx = 0, cy = 0, r = 0, a1 = 0, sweep = 0;
    double length = 0;
    Box box; // empty for a move, which meets nothing
};

Geom GeomOf(const Element& e) {
    Geom g;
    g.pe.e = e;
    if (e.kind != kLine && e.kind != kCcwArc && e.kind != kCwArc)
        return g;
    g.box =
        Box{std::min(e.x1, e.x2), std::min(e.y1, e.y2), std::max(e.x1, e.x2), std::max(e.y1, e.y2)};
    g.length = distance(e.x1, e.y1, e.x2, e.y2);
    if (e.kind != kLine) {
        g.pe = PrepareElement(e);
        if (!g.pe.has_circle) {
            Geom none; // an arc without a centre meets nothing
            none.pe.e = e;
            return none;
        }
        const ElementCircle& c = g.pe.c;
        g.arc = true;
        g.cx = c.cx;
        g.cy = c.cy;
        g.r = c.radius;
        g.a1 = c.start;
        double turn = e.kind == kCcwArc ? 1 : -1;
        double run = std::fmod(turn * (c.end - g.a1) + 4 * kPi, 2 * kPi);
        if (run == 0 && e.r < 0)
            run = 2 * kPi; // a long arc whose ends round to one angle
        g.sweep = turn * run;
        g.length = g.r * run;
        // The points of the circle at 0, 90, 180 and 270 degrees the arc passes.
        double from = turn > 0 ? g.a1 : g.a1 + g.sweep;
        static constexpr double kCos[4] = {1, 0, -1, 0}, kSin[4] = {0, 1, 0, -1};
        for (int k = 0; k < 4; ++k) {
            if (std::fmod(k * kPi / 2 - from + 4 * kPi, 2 * kPi) > run)
                continue;
            double qx = g.cx + g.r * kCos[k], qy = g.cy + g.r * kSin[k];
            g.box = Box{std::min(g.box.x0, qx), std::min(g.box.y0, qy), std::max(g.box.x1, qx),
                        std::max(g.box.y1, qy)};
        }
    }
    g.box.x0 -= kBoxMargin;
    g.box.y0 -= kBoxMargin;
    g.box.x1 += kBoxMargin;
    g.box.y1 += kBoxMargin;
    return g;
}

Element PathElement(const PathPoint* points, int i) {
    return ElementBetween(points[i - 1], points[i]);
}

// The elements 1..count-1 of a path (entry 0 unused).
std::vector<Geom> PathGeoms(const PathPoint* points, int count) {
    std::vector<Geom> geoms(count > 0 ? count : 0);
    for (int i = 1; i < count; ++i)
        geoms[i] = GeomOf(PathElement(points, i));
    return geoms;
}

// The pairs (i, j), i < j, of elements whose boxes meet, in the order of the search: i
// ascending, and for each i, j descending.
std::vector<std::pair<int, int>> CandidatePairs(const std::vector<Geom>& geoms) {
    struct Entry {
        Box box;
        int i;
    };
    std::vector<Entry> order;
    order.reserve(geoms.size());
    for (int i = 1; i < static_cast<int>(geoms.size()); ++i)
        if (geoms[i].box.x0 <= geoms[i].box.x1)
            order.push_back(Entry{geoms[i].box, i});
    std::sort(order.begin(), order.end(),
              [](const Entry& a, const Entry& b) { return a.box.x0 < b.box.x0; });
    // Each pair as one number that sorts in the search order: i above, j turned over below.
    std::vector<std::uint64_t> keys;
    for (std::size_t a = 0; a < order.size(); ++a) {
        const Box& ba = order[a].box;
        for (std::size_t b = a + 1; b < order.size() && order[b].box.x0 <= ba.x1; ++b) {
            if (!ba.Meets(order[b].box))
                continue;
            auto i = static_cast<std::uint32_t>(std::min(order[a].i, order[b].i));
            auto j = static_cast<std::uint32_t>(std::max(order[a].i, order[b].i));
            keys.push_back(std::uint64_t{i} << 32 | ~j);
        }
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(keys.size());
    for (std::uint64_t k : keys)
        pairs.emplace_back(static_cast<int>(k >> 32),
                           static_cast<int>(~static_cast<std::uint32_t>(k)));
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
double FractionAlong(const Geom& g, double px, double py) {
    const Element& e = g.pe.e;
    if (g.arc) {
        double turn = g.sweep > 0 ? 1 : -1;
        double t = std::fmod(turn * (std::atan2(py - g.cy, px - g.cx) - g.a1) + 4 * kPi, 2 * kPi);
        return std::clamp(t / std::fabs(g.sweep), 0.0, 1.0);
    }
    double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
    double len2 = sqr(dx) + sqr(dy);
    return len2 > 0 ? std::clamp(((px - e.x1) * dx + (py - e.y1) * dy) / len2, 0.0, 1.0) : 0;
}

// The point at a fraction of the way along an element.
void PointAt(const Geom& g, double f, double& x, double& y) {
    if (g.arc) {
        x = g.cx + g.r * std::cos(g.a1 + f * g.sweep);
        y = g.cy + g.r * std::sin(g.a1 + f * g.sweep);
        return;
    }
    const Element& e = g.pe.e;
    x = e.x1 + f * (e.x2 - e.x1);
    y = e.y1 + f * (e.y2 - e.y1);
}

// Exact bit patterns, for keys that match only the very same value.
std::uint64_t Bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h * 0xff51afd7ed558ccdULL;
}

// A hash table of answers by key, open addressing in one array: a round adds a few hundred
// entries, and node-based maps spent more on allocation than the lookups saved.
template <typename Key, typename Value> class AnswerTable {
public:
    // The entry for key, and whether it was added (its value then default).
    std::pair<Value*, bool> Find(const Key& key, std::uint64_t hash) {
        if (2 * (used_ + 1) > slots_.size())
            Grow();
        std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& s = slots_[at];
            if (s.era != era_) {
                s = Slot{era_, key, Value{}};
                ++used_;
                return {&s.value, true};
            }
            if (s.key == key)
                return {&s.value, false};
        }
    }

    // Empties the table, keeping its room: entries of an earlier era count as free.
    void Clear() {
        used_ = 0;
        if (++era_ != 0)
            return;
        for (Slot& s : slots_) // the era count went round: start over
            s.era = 0;
        era_ = 1;
    }

private:
    struct Slot {
        std::uint32_t era = 0; // the table's era when filled; 0 never is one
        Key key{};
        Value value{};
    };
    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(256, 2 * slots_.size()));
        old.swap(slots_);
        used_ = 0;
        for (Slot& s : old)
            if (s.era == era_)
                *Find(s.key, s.key.Hash()).first = std::move(s.value);
    }
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::uint32_t era_ = 1;
};

// What RemovePathLoops has worked out in earlier rounds. Each round splits the whole path
// anew, but the cuts of the round before leave most arcs and most piece middles as they were;
// their geometry and the judge's answers are looked up instead of worked out again. Keys are
// exact bit patterns, so a stored answer is the one the computation would give again.
class LoopMemo {
public:
    // Starts afresh for one path and its judge, keeping the storage of earlier uses.
    void Begin(const PointJudge& proper) {
        proper_ = &proper;
        arcs_.Clear();
        arc_geoms_.clear();
        answers_.Clear();
    }

    // The elements 1..count-1 of a path (entry 0 unused), as PathGeoms; valid until the next
    // call.
    const std::vector<Geom>& Geoms(const PathPoint* points, int count) {
        std::vector<Geom>& geoms = geoms_;
        geoms.assign(count > 0 ? count : 0, Geom{});
        for (int i = 1; i < count; ++i) {
            const PathPoint &from = points[i - 1], &to = points[i];
            if (to.kind != kCcwArc && to.kind != kCwArc) {
                geoms[i] = GeomOf(ElementBetween(from, to)); // a line is quicker made than found
                continue;
            }
            ArcKey key{{Bits(from.x), Bits(from.y), Bits(to.x), Bits(to.y), Bits(to.radius),
                        static_cast<std::uint64_t>(to.kind)}};
            auto [at, added] = arcs_.Find(key, key.Hash());
            if (added) {
                *at = static_cast<int>(arc_geoms_.size());
                arc_geoms_.push_back(GeomOf(ElementBetween(from, to)));
            }
            geoms[i] = arc_geoms_[*at];
        }
        return geoms;
    }

    // The judge's answer for (x, y).
    bool Proper(double x, double y) {
        PointKey key{Bits(x), Bits(y)};
        auto [answer, added] = answers_.Find(key, key.Hash());
        if (added)
            *answer = (*proper_)(x, y) ? 1 : 0;
        return *answer == 1;
    }

private:
    struct ArcKey {
        std::uint64_t v[6];
        bool operator==(const ArcKey& o) const { return std::equal(v, v + 6, o.v); }
        std::uint64_t Hash() const {
            std::uint64_t h = 0;
            for (std::uint64_t b : v)
                h = Mix(h, b);
            return h >> 7;
        }
    };
    struct PointKey {
        std::uint64_t x, y;
        bool operator==(const PointKey& o) const { return x == o.x && y == o.y; }
        std::uint64_t Hash() const { return Mix(Mix(0, x), y) >> 7; }
    };

    const PointJudge* proper_ = nullptr;
    AnswerTable<ArcKey, int> arcs_; // the arc's place in arc_geoms_
    std::vector<Geom> arc_geoms_;
    std::vector<Geom> geoms_; // the last path's
    AnswerTable<PointKey, int> answers_;
};

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
    Pieces(const PathPoint* points, int count, LoopMemo& memo) : count_(count) {
        const std::vector<Geom>& geoms = memo.Geoms(points, count);
        for (const auto& [i, j] : CandidatePairs(geoms)) {
            double x[2], y[2];
            int found = Intersect(geoms[i].pe, geoms[j].pe, x[0], y[0], x[1], y[1]);
            for (int k = 0; k < found; ++k) {
                if (SharedVertex(points, count, i, j, x[k], y[k]))
                    continue;
                Crossing c{i,
                           j,
                           x[k],
                           y[k],
                           FractionAlong(geoms[i], x[k], y[k]),
                           FractionAlong(geoms[j], x[k], y[k])};
                crossings_.push_back(c);
            }
        }
        PlaceMarks(count);
        // The proper length of the piece from each mark to the next one on its element.
        prefix_.assign(count + 1, 0);
        for (std::size_t k = 0; k < marks_.size(); ++k) {
            Mark& m = marks_[k];
            if (k + 1 == marks_.size() || marks_[k + 1].e != m.e)
                continue;
            double f1 = marks_[k + 1].f;
            if (f1 > m.f) {
                double x, y;
                PointAt(geoms[m.e], (m.f + f1) / 2, x, y);
                if (memo.Proper(x, y))
                    m.valid = (f1 - m.f) * geoms[m.e].length;
            }
            prefix_[m.e + 1] += m.valid;
        }
        for (int e = 1; e < count; ++e)
            prefix_[e + 1] += prefix_[e];
    }

    const std::vector<Crossing>& crossings() const { return crossings_; }

    // Proper length of the part running forward from P on element i to P on element j.
    double Forward(const Crossing& c) const {
        return Within(c.i, c.fi, 1) + (prefix_[c.j] - prefix_[c.i + 1]) + Within(c.j, 0, c.fj);
    }
    double Total() const { return prefix_[count_]; }

private:
    // A split point of an element: its fraction along it, and the proper length from it to the
    // next split point of the element.
    struct Mark {
        int e = 0;
        double f = 0;
        double valid = 0;
    };

    // The marks by element, then fraction: each element's start (0), the crossings on it in
    // order along it, its end (1). Fractions lie in 0..1, so only the crossings need sorting.
    void PlaceMarks(int count) {
        std::vector<int> on(count > 0 ? count : 0, 0); // crossings on each element
        for (const Crossing& c : crossings_) {
            ++on[c.i];
            ++on[c.j];
        }
        first_.assign(count + 1, 0);
        std::vector<int> fill(on.size(), 0);
        int at = 0;
        for (int e = 1; e < count; ++e) {
            first_[e] = at;
            fill[e] = at + 1;
            at += on[e] + 2;
        }
        marks_.assign(at, Mark{});
        for (int e = 1; e < count; ++e) {
            marks_[first_[e]] = Mark{e, 0};
            marks_[first_[e] + on[e] + 1] = Mark{e, 1};
        }
        for (const Crossing& c : crossings_) {
            marks_[fill[c.i]++] = Mark{c.i, c.fi};
            marks_[fill[c.j]++] = Mark{c.j, c.fj};
        }
        for (int e = 1; e < count; ++e)
            if (on[e] > 1)
                std::sort(marks_.begin() + first_[e] + 1, marks_.begin() + first_[e] + 1 + on[e],
                          [](const Mark& a, const Mark& b) { return a.f < b.f; });
    }

    // Proper length of element e between two of its split fractions.
    double Within(int e, double from, double to) const {
        double sum = 0;
        for (std::size_t k = first_[e]; k + 1 < marks_.size() && marks_[k + 1].e == e; ++k)
            if (marks_[k].f >= from && marks_[k + 1].f <= to)
                sum += marks_[k].valid;
        return sum;
    }

    int count_;
    std::vector<Crossing> crossings_;
    std::vector<Mark> marks_;    // by element, then fraction
    std::vector<int> first_;     // the first mark of each element
    std::vector<double> prefix_; // proper length of elements 1 .. e-1
};

// Joins the path at P and keeps one of the two parts.
void ApplyCut(PathPoint* points, int& count, const Crossing& c, bool keep_forward) {
    // The dot list is a drawing aid of its own size: once full it takes no more cuts.
    if (DotCount() < kMaxDots)
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
    std::vector<Geom> geoms = PathGeoms(points, n);
    for (const auto& [i, j] : CandidatePairs(geoms)) {
        if (i >= n - 1)
            continue;
        double x[2], y[2];
        int found = Intersect(geoms[i].pe, geoms[j].pe, x[0], y[0], x[1], y[1]);
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
    std::vector<Geom> geoms_b = PathGeoms(points_b, count_b);
    Box all_b;
    for (int j = 1; j < count_b; ++j) {
        const Box& bj = geoms_b[j].box;
        if (bj.x0 > bj.x1)
            continue;
        if (all_b.x0 > all_b.x1)
            all_b = bj;
        all_b = Box{std::min(all_b.x0, bj.x0), std::min(all_b.y0, bj.y0), std::max(all_b.x1, bj.x1),
                    std::max(all_b.y1, bj.y1)};
    }
    for (int i = 1; i < count_a; ++i) {
        Geom ga = GeomOf(PathElement(points_a, i));
        if (!ga.box.Meets(all_b))
            continue;
        for (int j = 1; j < count_b; ++j) {
            if (!ga.box.Meets(geoms_b[j].box))
                continue;
            double x[2], y[2];
            int found = Intersect(ga.pe, geoms_b[j].pe, x[0], y[0], x[1], y[1]);
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
    std::vector<Geom> geoms = PathGeoms(points, count);
    for (const auto& [i, j] : CandidatePairs(geoms)) {
        double x[2], y[2];
        int found = Intersect(geoms[i].pe, geoms[j].pe, x[0], y[0], x[1], y[1]);
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
    // The memo's storage is kept from call to call: the paths of a pocket need a few hundred
    // kilobytes of it, and handing that back to the system after each path and asking for it
    // again cost more than the searches it saves. A nested call gets storage of its own.
    static thread_local LoopMemo kept;
    static thread_local bool kept_in_use = false;
    LoopMemo own;
    LoopMemo& memo = kept_in_use ? own : kept;
    bool took_kept = !kept_in_use;
    kept_in_use = true;
    memo.Begin(proper);
    // Every round drops at least one part with a crossing on it; the limit only guards against
    // a crossing that rounding keeps finding again.
    for (int limit = 4 * count + 16; limit > 0; --limit) {
        Pieces pieces(points, count, memo);
        const std::vector<Crossing>& crossings = pieces.crossings();
        if (crossings.empty())
            break;
        // The crossings, in the search order, that split off a part with nothing proper in
        // it: loops. Loops running forward between elements that no other chosen loop touches
        // are cut in one round, from the last back, so that the cuts leave each other's
        // element numbers alone. The first loop running round the start is cut after them,
        // when they all lie within the part it keeps.
        std::vector<const Crossing*> loops;
        const Crossing* round_start = nullptr;
        for (const Crossing& c : crossings) {
            double forward = pieces.Forward(c), wrap = pieces.Total() - forward;
            if (forward > kNoLength && wrap > kNoLength)
                continue;
            bool keeps_forward = forward > kNoLength;
            bool apart = true;
            for (const Crossing* l : loops)
                apart &= keeps_forward ? l->i > c.i && l->j < c.j : c.i > l->j || c.j < l->i;
            if (round_start && !keeps_forward)
                apart &= c.i > round_start->i && c.j < round_start->j;
            if (!apart)
                continue;
            if (!keeps_forward)
                loops.push_back(&c);
            else if (!round_start)
                round_start = &c;
        }
        if (!loops.empty() || round_start) {
            std::sort(loops.begin(), loops.end(),
                      [](const Crossing* a, const Crossing* b) { return a->i > b->i; });
            int removed = 0; // points dropped before the round-the-start crossing's element j
            for (const Crossing* l : loops) {
                ApplyCut(points, count, *l, false);
                removed += l->j - l->i - 1;
            }
            if (round_start) {
                Crossing moved = *round_start;
                moved.j -= removed;
                ApplyCut(points, count, moved, true);
            }
            cuts += static_cast<int>(loops.size()) + (round_start ? 1 : 0);
            continue;
        }
        // Every crossing left splits the proper path itself: the first one loses the part
        // holding less of it.
        const Crossing& c = crossings.front();
        double forward = pieces.Forward(c);
        ApplyCut(points, count, c, forward > pieces.Total() - forward);
        if (lobes)
            ++*lobes;
        ++cuts;
    }
    if (took_kept)
        kept_in_use = false;
    return cuts;
}

} // namespace korvel
