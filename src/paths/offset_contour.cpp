// Offsetting a closed outline by a tool radius: the common body of the bulge and pocket paths.
#include "paths/offset_contour.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "geometry/angle_range.h"
#include "geometry/offset.h"
#include "geometry/primitives.h"
#include "geometry/ray_crossing.h"
#include "geometry/tolerance.h"
#include "paths/path_intersections.h"

namespace korvel {

namespace {

// The signed angle an arc sweeps about its centre (positive counter-clockwise); 0 without a
// centre.
double ArcSweep(const Element& e) {
    double cx, cy;
    if (!ArcCenter(e, cx, cy))
        return 0;
    double a1 = std::atan2(e.y1 - cy, e.x1 - cx);
    double s = std::atan2(e.y2 - cy, e.x2 - cx) - a1;
    if (e.kind == kCcwArc && s < 0)
        s += 2 * kPi;
    if (e.kind == kCwArc && s > 0)
        s -= 2 * kPi;
    // A long arc whose ends round to one angle goes the whole way round.
    if (s == 0 && e.r < 0)
        s = e.kind == kCcwArc ? 2 * kPi : -2 * kPi;
    return s;
}

std::vector<Element> ShapeElements(const Shape& shape) {
    std::vector<Element> elements;
    int n = shape.n;
    for (int i = 0; i < n; ++i) {
        const ShapeVertex& a = shape.v[i];
        const ShapeVertex& b = shape.v[(i + 1) % n];
        Element e{a.x, a.y, b.x, b.y, b.radius, b.kind, 1};
        if (e.kind != kCcwArc && e.kind != kCwArc)
            e.r = 0;
        elements.push_back(e);
    }
    return elements;
}

// The same chain travelled the other way: every element reversed, arcs turned over.
std::vector<Element> Reversed(const std::vector<Element>& elements) {
    std::vector<Element> out;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        Element e = *it;
        std::swap(e.x1, e.x2);
        std::swap(e.y1, e.y2);
        if (e.kind == kCcwArc)
            e.kind = kCwArc;
        else if (e.kind == kCwArc)
            e.kind = kCcwArc;
        out.push_back(e);
    }
    return out;
}

enum class Offset { kDone, kPoint, kBroken };

// Rounding error of the offset computations, well below the `equal` tolerance.
constexpr double kRoundingSlack = 1e-6;

// Where circles of radius |d| about the ends of an element meet on the side the offset goes
// to (the right of travel for d > 0). This is the offset of an arc the tool cannot follow:
// one whose offset radius comes out 0 (the tool fits its fillet exactly: the point is then the
// arc's centre) or negative (the tool is too big for it). The arc lies wholly on the other side
// of its chord and curves away from the point at least as fast as those circles, so the tool
// there touches the arc's ends and stays clear of the rest.
Element CornerOfTightArc(const Element& e, double d) {
    double c = distance(e.x1, e.y1, e.x2, e.y2);
    double h2 = sqr(d) - sqr(c / 2);
    double h = h2 > 0 ? std::sqrt(h2) : 0;
    double side = d > 0 ? 1 : -1;
    double ux = (e.x2 - e.x1) / c, uy = (e.y2 - e.y1) / c;
    double qx = (e.x1 + e.x2) / 2 + side * h * uy;
    double qy = (e.y1 + e.y2) / 2 - side * h * ux;
    return Element{qx, qy, qx, qy, 0, kLine, 1};
}

// Offsets one outline element by d to the right of its travel. An arc that the offset would
// shrink to nothing or turn inside out becomes a point, a sharp corner of the path.
Offset OffsetOutlineElement(Element& e, double d) {
    if (e.kind == kLine) {
        OffsetElement(e, d);
        return Offset::kDone;
    }
    if (e.kind != kCcwArc && e.kind != kCwArc)
        return Offset::kBroken;
    double cx, cy;
    if (!ArcCenter(e, cx, cy))
        return Offset::kBroken;
    double new_r = double_abs(e.r) + (e.kind == kCwArc ? -d : d);
    if (equal(new_r, 0) || new_r < 0) {
        e = CornerOfTightArc(e, d);
        return Offset::kPoint;
    }
    return OffsetElement(e, d) ? Offset::kDone : Offset::kBroken;
}

// Whether an offset element starting at (x, y) joins the path's last point without a corner.
bool Joins(const PathPoint& p, double x, double y, bool exact) {
    if (exact)
        return equal(p.x, x) && equal(p.y, y);
    return approx_equal(p.x, x) && approx_equal(p.y, y);
}

// Distances from the outline, to tell the pieces of a raw offset path that lie at the offset
// distance (the proper path) from those that come nearer (the loops).
class OutlineDistance {
public:
    // For questions about distances up to `reach`: the outline's elements are filed in a grid
    // of square cells, each cell listing those that come within `reach` of it, and in bands of
    // rows, each listing those that span some height in it.
    OutlineDistance(const std::vector<Element>& outline, double reach) : reach_(reach) {
        for (const Element& e : outline) {
            Piece p;
            p.e = e;
            if (e.kind == kLine) {
                p.x0 = std::min(e.x1, e.x2);
                p.x1 = std::max(e.x1, e.x2);
                p.y0 = std::min(e.y1, e.y2);
                p.y1 = std::max(e.y1, e.y2);
            } else {
                ArcCenter(e, p.cx, p.cy);
                p.radius = distance(p.cx, p.cy, e.x1, e.y1);
                p.start = std::atan2(e.y1 - p.cy, e.x1 - p.cx);
                p.sweep = ArcSweep(e);
                double sx = e.x1 - p.cx, sy = e.y1 - p.cy, ex = e.x2 - p.cx, ey = e.y2 - p.cy;
                p.quick = p.sweep > 0 ? MakeDiamondRange(sx, sy, ex, ey, p.sweep)
                                      : MakeDiamondRange(ex, ey, sx, sy, -p.sweep);
                p.x0 = p.cx - p.radius;
                p.x1 = p.cx + p.radius;
                p.y0 = p.cy - p.radius;
                p.y1 = p.cy + p.radius;
            }
            pieces_.push_back(p);
        }
        File();
    }

    // Whether no point of the outline lies nearer to (x, y) than `limit` (at most the reach).
    bool NoneNearer(double x, double y, double limit) const {
        int cx = Column(x), cy = Row(y);
        if (cx < 0 || cy < 0)
            return true; // farther than the reach from every element
        int cell = cy * columns_ + cx;
        double limit2 = sqr(limit);
        for (int at = cell_start_[cell]; at < cell_start_[cell + 1]; ++at) {
            const Piece& p = pieces_[cells_[at]];
            double bx = p.x0 > x ? p.x0 - x : x > p.x1 ? x - p.x1 : 0;
            double by = p.y0 > y ? p.y0 - y : y > p.y1 ? y - p.y1 : 0;
            if (sqr(bx) + sqr(by) >= limit2)
                continue;
            if (Distance(p, x, y, limit) < limit)
                return false;
        }
        return true;
    }

    // Whether (x, y) lies inside the outline: an odd count of crossings of the ray towards +X.
    // Elements wholly above, below or left of the point cannot cross it.
    bool Inside(double x, double y) const {
        int row = Row(y);
        if (row < 0)
            return false;
        int count = 0;
        for (int at = band_start_[row]; at < band_start_[row + 1]; ++at) {
            const Piece& p = pieces_[bands_[at]];
            if (y < p.y0 || y > p.y1 || p.x1 < x)
                continue;
            if (p.e.kind == kLine) {
                double a, b;
                count += IntersectionsLR(x, y, p.e, a, b);
                continue;
            }
            // An arc: where the ray's line meets its circle, on the arc and right of the point.
            // The points asked about lie well off the outline, so no crossing is a tie.
            double q = sqr(p.radius) - sqr(y - p.cy);
            if (q <= 0)
                continue;
            for (double side : {-1.0, 1.0}) {
                double cx = p.cx + side * std::sqrt(q);
                if (cx > x && OnArc(p, cx, y))
                    ++count;
            }
        }
        return count % 2 == 1;
    }

private:
    struct Piece {
        Element e;
        double cx = 0, cy = 0, radius = 0, start = 0, sweep = 0;
        DiamondRange quick; // the arc's directions, for the quick test
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };

    // Whether a point of the arc's circle lies on the arc.
    static bool OnArc(const Piece& p, double x, double y) {
        int quick = QuickInRange(p.quick, x - p.cx, y - p.cy);
        if (quick >= 0)
            return quick == 1;
        double t = std::atan2(y - p.cy, x - p.cx) - p.start;
        if (p.sweep < 0)
            t = -t;
        t = std::fmod(t, 2 * kPi);
        if (t < 0)
            t += 2 * kPi;
        return t <= std::fabs(p.sweep);
    }

    // geometry's distance, written out here so that the hot loop below need not call it.
    static double Apart(double x1, double y1, double x2, double y2) {
        return std::sqrt(sqr(x2 - x1) + sqr(y2 - y1));
    }

    // The distance from (x, y) to the element, exactly where it is below `limit`.
    static double Distance(const Piece& p, double x, double y, double limit) {
        const Element& e = p.e;
        if (e.kind == kLine) {
            double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
            double len2 = sqr(dx) + sqr(dy);
            double t = len2 > 0 ? ((x - e.x1) * dx + (y - e.y1) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            return Apart(x, y, e.x1 + t * dx, e.y1 + t * dy);
        }
        // No point of an arc is nearer than its circle.
        double to_circle = std::fabs(Apart(x, y, p.cx, p.cy) - p.radius);
        if (to_circle >= limit)
            return to_circle;
        // Within the arc's sweep the nearest point is on the circle, else an end.
        if (OnArc(p, x, y))
            return to_circle;
        return std::min(Apart(x, y, e.x1, e.y1), Apart(x, y, e.x2, e.y2));
    }

    // The grid covers the outline's box widened by the reach; its cells are at least half the
    // reach wide, and at most 64 along a side. Each list is a run of one array (`cells_`,
    // `bands_`) that `cell_start_` and `band_start_` index.
    void File() {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        for (std::size_t k = 0; k < pieces_.size(); ++k) {
            const Piece& p = pieces_[k];
            x0 = k ? std::min(x0, p.x0) : p.x0;
            y0 = k ? std::min(y0, p.y0) : p.y0;
            x1 = k ? std::max(x1, p.x1) : p.x1;
            y1 = k ? std::max(y1, p.y1) : p.y1;
        }
        left_ = x0 - reach_;
        bottom_ = y0 - reach_;
        cell_ = std::max({reach_ / 2, (x1 - x0 + 2 * reach_) / 64, (y1 - y0 + 2 * reach_) / 64});
        if (!(cell_ > 0))
            cell_ = 1;
        columns_ = static_cast<int>((x1 + reach_ - left_) / cell_) + 1;
        rows_ = static_cast<int>((y1 + reach_ - bottom_) / cell_) + 1;
        // Two passes: count each list's length, then fill the runs.
        cell_start_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
        band_start_.assign(rows_ + 1, 0);
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<int> cell_fill(cell_start_.begin(), cell_start_.end() - 1);
            std::vector<int> band_fill(band_start_.begin(), band_start_.end() - 1);
            for (std::size_t k = 0; k < pieces_.size(); ++k) {
                const Piece& p = pieces_[k];
                int c0 = Column(p.x0 - reach_), c1 = Column(p.x1 + reach_);
                int r0 = Row(p.y0 - reach_), r1 = Row(p.y1 + reach_);
                for (int r = r0; r <= r1; ++r)
                    for (int c = c0; c <= c1; ++c) {
                        int at = r * columns_ + c;
                        if (pass == 0)
                            ++cell_start_[at + 1];
                        else
                            cells_[cell_fill[at]++] = static_cast<int>(k);
                    }
                for (int r = Row(p.y0); r <= Row(p.y1); ++r) {
                    if (pass == 0)
                        ++band_start_[r + 1];
                    else
                        bands_[band_fill[r]++] = static_cast<int>(k);
                }
            }
            if (pass == 0) {
                for (std::size_t i = 1; i < cell_start_.size(); ++i)
                    cell_start_[i] += cell_start_[i - 1];
                for (std::size_t i = 1; i < band_start_.size(); ++i)
                    band_start_[i] += band_start_[i - 1];
                cells_.assign(cell_start_.back(), 0);
                bands_.assign(band_start_.back(), 0);
            }
        }
    }
    // The column or row of a coordinate; -1 outside the grid.
    int Column(double x) const { return Index(x, left_, columns_); }
    int Row(double y) const { return Index(y, bottom_, rows_); }
    int Index(double v, double origin, int n) const {
        // Truncation is the floor for the values kept (0 up to n).
        double f = (v - origin) / cell_;
        if (!(f >= 0) || f >= n)
            return -1;
        return static_cast<int>(f);
    }

    double reach_;
    std::vector<Piece> pieces_;
    double left_ = 0, bottom_ = 0, cell_ = 1;
    int columns_ = 0, rows_ = 0;
    std::vector<int> cells_, cell_start_; // cells row by row
    std::vector<int> bands_, band_start_;
};

// Where the proper offset path runs: at the offset distance from the outline or further, on
// the offset's side of it. The pieces of the raw path keep the distance to rounding error.
PointJudge OffsetJudge(const OutlineDistance& outline, double d, int outwards) {
    return [&outline, d, outwards](double x, double y) {
        return outline.NoneNearer(x, y, d - kRoundingSlack) &&
               outline.Inside(x, y) == (outwards < 0);
    };
}

} // namespace

std::vector<Element> CounterClockwiseElements(const Shape& shape) {
    std::vector<Element> all = ShapeElements(shape);
    if (SignedArea(all) < 0)
        all = Reversed(all);
    std::vector<Element> kept;
    for (const Element& e : all)
        if (!(equal(e.x1, e.x2) && equal(e.y1, e.y2)))
            kept.push_back(e);
    return kept;
}

double SignedArea(const std::vector<Element>& elements) {
    double area = 0;
    for (const Element& e : elements) {
        area += (e.x1 * e.y2 - e.x2 * e.y1) / 2;
        if (e.kind == kCcwArc || e.kind == kCwArc) {
            // The circular segment between the chord and the arc.
            double s = ArcSweep(e);
            double r = distance(e.x1, e.y1, e.x2, e.y2) / 2;
            if (s != 0) {
                double cx, cy;
                ArcCenter(e, cx, cy);
                r = distance(cx, cy, e.x1, e.y1);
            }
            area += sqr(r) / 2 * (s - std::sin(s));
        }
    }
    return area;
}

int BuildOffsetContour(const std::vector<Element>& elements, double d, int outwards, PathRef path,
                       const OffsetContourCodes& codes, bool remove_loops, int* lobes) {
    *path.count = 0;
    if (elements.size() < 2)
        return ErrCode(codes.bad_element);
    double side = outwards > 0 ? d : -d;
    int corner_kind = outwards > 0 ? kCcwArc : kCwArc;
    int last = static_cast<int>(elements.size()) - 1;
    // Neighbouring offsets whose ends lie within approx_equal join without a corner. That moves
    // the path off the offset distance a little (up to 0.1 next to an arc too tight for the
    // tool, whose neighbours' offsets do not start from one vertex); with the loop cleanup on,
    // such joins add their corner unless the ends are equal, and the cleanup then finds the
    // exact corner.
    bool exact = remove_loops;
    bool after_point = false, starts_at_point = false;
    for (int i = 0; i <= last; ++i) {
        // The closing element always finds room: the others stop at 509 points.
        if (path.size() > kPathBuildLimit)
            return ErrCode(codes.overflow);
        Element o = elements[i];
        Offset done = OffsetOutlineElement(o, side);
        if (done == Offset::kBroken)
            return ErrCode(codes.bad_element);
        bool point = done == Offset::kPoint;
        if (path.size() == 0) {
            AppendPathPoint(path, PathPoint{o.x1, o.y1, 0, kRapid});
            starts_at_point = point;
        } else if (!Joins(path[path.size() - 1], o.x1, o.y1, exact || point || after_point)) {
            AppendPathPoint(path, PathPoint{o.x1, o.y1, d, corner_kind});
        }
        after_point = point;
        if (equal(o.x1, o.x2) && equal(o.y1, o.y2))
            continue;
        // Arcs keep their kind and signed radius: a negative radius is the long arc.
        PathPoint end{o.x2, o.y2, o.kind == kLine ? 0 : o.r, o.kind};
        AppendPathPoint(path, end);
    }
    if (path.size() < 2)
        return ErrCode(codes.bad_element);
    PathPoint& first = path[0];
    PathPoint& end = path[path.size() - 1];
    if (!Joins(end, first.x, first.y, exact || after_point || starts_at_point)) {
        if (path.size() >= kPathCapacity)
            return ErrCode(codes.no_room);
        AppendPathPoint(path, PathPoint{first.x, first.y, d, corner_kind});
    } else {
        // Ends that approx_equal joins: the first element starts where the last ends, as every
        // element does where such a join left out a corner, and the path closes exactly.
        first.x = end.x;
        first.y = end.y;
    }
    if (remove_loops) {
        OutlineDistance outline(elements, d);
        RemovePathLoops(path.points, *path.count, OffsetJudge(outline, d, outwards), lobes);
    }
    return 1;
}

} // namespace korvel
