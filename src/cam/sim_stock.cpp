// The stock height field and the sweep of a tool along a straight move.
#include "cam/sim_stock.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// Where the tool's lower surface passes over the point p during a move from a to b: false
// when the tool does not come within its radius of p, else the lowest height of the surface.
bool Envelope(const SimTool& tool, const Vec3& a, const Vec3& b, double px, double py,
              double& env) {
    const double r = tool.radius;
    double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    double ex = px - a.x, ey = py - a.y;
    double d2 = dx * dx + dy * dy;
    if (d2 == 0) { // a vertical move, or none
        double d = std::sqrt(ex * ex + ey * ey);
        if (d > r)
            return false;
        env = std::min(a.z, b.z) + tool.Lift(d);
        return true;
    }
    // The stretch [t1, t2] of the move during which p lies under the tool.
    double e2 = ex * ex + ey * ey;
    double half_b = -(ex * dx + ey * dy);
    double c = e2 - r * r;
    double disc = half_b * half_b - d2 * c;
    if (disc < 0)
        return false;
    double root = std::sqrt(disc);
    double t1 = std::max(0.0, (-half_b - root) / d2);
    double t2 = std::min(1.0, (-half_b + root) / d2);
    if (t1 > t2)
        return false;
    if (tool.Flat()) {
        env = a.z + dz * (dz < 0 ? t2 : t1);
        return true;
    }
    auto surface = [&](double t) {
        double qx = ex - t * dx, qy = ey - t * dy;
        return a.z + dz * t + tool.Lift(std::sqrt(qx * qx + qy * qy));
    };
    if (dz == 0) { // level: the surface is lowest where p is nearest to the path
        double t = std::clamp(-half_b / d2, t1, t2);
        env = surface(t);
        return true;
    }
    // The surface height along the move is convex in t: golden-section search.
    constexpr double kGolden = 0.6180339887498949;
    double lo = t1, hi = t2;
    double m1 = hi - kGolden * (hi - lo), m2 = lo + kGolden * (hi - lo);
    double f1 = surface(m1), f2 = surface(m2);
    for (int k = 0; k < 48 && hi - lo > 1e-9; ++k) {
        if (f1 <= f2) {
            hi = m2;
            m2 = m1;
            f2 = f1;
            m1 = hi - kGolden * (hi - lo);
            f1 = surface(m1);
        } else {
            lo = m1;
            m1 = m2;
            f1 = f2;
            m2 = lo + kGolden * (hi - lo);
            f2 = surface(m2);
        }
    }
    env = std::min({f1, f2, surface(t1), surface(t2)});
    return true;
}

// The columns whose centres lie in [p, q], with p and q in column units (position / res - 0.5),
// rounded as GridFrame::Columns rounds them; false when none does (also for NaN bounds).
bool ColumnSpan(double p, double q, int nx, int& c0, int& c1) {
    const double last = nx - 1;
    if (!(q >= 0) || !(p <= last))
        return false;
    c0 = 0;
    if (p > 0) {
        c0 = static_cast<int>(p);
        c0 += c0 < p;
    }
    c1 = q >= last ? nx - 1 : static_cast<int>(q);
    return c0 <= c1;
}

} // namespace

CapsuleRows::CapsuleRows(double ax, double ay, double bx, double by, double r)
    : ax_(ax), ay_(ay), bx_(bx), by_(by), r_(r), r2_(r * r) {
    double dx = bx - ax, dy = by - ay;
    len_ = std::sqrt(dx * dx + dy * dy);
    band_ = len_ > 0;
    if (band_) {
        ux_ = dx / len_;
        uy_ = dy / len_;
        inv_ux_ = ux_ != 0 ? 1 / ux_ : 0;
        inv_uy_ = uy_ != 0 ? 1 / uy_ : 0;
    }
}

bool CapsuleRows::Regular() const {
    constexpr double kFar = 1e12, kSteep = 1e200;
    for (double v : {ax_, ay_, bx_, by_, r_})
        if (!(std::fabs(v) <= kFar))
            return false;
    return std::fabs(inv_ux_) <= kSteep && std::fabs(inv_uy_) <= kSteep;
}

void DiscHalfWidths(const GridFrame& frame, int j0, int rows, double cy, double r, double* w) {
    const double r2 = r * r;
    for (int k = 0; k < rows; ++k) {
        double dy = frame.Y(j0 + k) - cy, h = r2 - dy * dy;
        w[k] = h >= 0 ? std::sqrt(h) : -1;
    }
}

namespace {

// The constants of a capsule for Reaches, in one value the compiler can keep in registers.
struct CapsuleConstants {
    double ax, ay, bx, r, len, ux, uy, inv_ux, inv_uy;
};

// Span's arithmetic for a run of rows, specialised for whether the start's disc counts and
// whether the move has a component along (across) the rows, with each choice that depends on
// the row made by selection (and both sides of every condition worked out): the loop has no
// branches, and the compiler may work two rows at once. Where Span leaves a bound at infinity,
// a finite bound can only be smaller (larger), so the minima and maxima need no infinities to
// start from. `in`: the row meets the band between the discs.
template <bool kStart, bool kAlong, bool kAcross>
void BandReaches(const CapsuleConstants& c, const GridFrame& frame, int j0, int rows,
                 const double* start_w, const double* end_w, double* xl, double* xr) {
    const double ax = c.ax, ay = c.ay, bx = c.bx, r = c.r, len = c.len;
    const double ux = c.ux, uy = c.uy, inv_ux = c.inv_ux, inv_uy = c.inv_uy;
    const double y0 = frame.y0, res = frame.res;
    for (int k = 0; k < rows; ++k) {
        double l = HUGE_VAL, h = -HUGE_VAL;
        if constexpr (kStart) {
            const double w = start_w[k], sl = ax - w, sh = ax + w;
            l = (w >= 0) & (sl < l) ? sl : l;
            h = (w >= 0) & (h < sh) ? sh : h;
        }
        const double w = end_w[k];
        const double el = bx - w, eh = bx + w;
        l = (w >= 0) & (el < l) ? el : l;
        h = (w >= 0) & (h < eh) ? eh : h;
        const double dy = y0 + (j0 + k + 0.5) * res - ay; // GridFrame::Y less ay
        double lo = -HUGE_VAL, hi = HUGE_VAL;
        bool in = true;
        if constexpr (kAlong) {
            double s0 = ax - dy * uy * inv_ux, s1 = s0 + len * inv_ux;
            lo = s1 < s0 ? s1 : s0;
            hi = s0 < s1 ? s1 : s0;
        } else {
            in = !((dy * uy < 0) | (dy * uy > len));
        }
        if constexpr (kAcross) {
            double n0 = ax + (dy * ux - r) * inv_uy, n1 = ax + (dy * ux + r) * inv_uy;
            double nl = n1 < n0 ? n1 : n0, nh = n0 < n1 ? n1 : n0;
            lo = lo < nl ? nl : lo;
            hi = nh < hi ? nh : hi;
        } else {
            in = in & !(std::fabs(dy * ux) > r);
        }
        in = in & (lo <= hi);
        xl[k] = in & (lo < l) ? lo : l;
        xr[k] = in & (h < hi) ? hi : h;
    }
}

template <bool kStart>
void BandReaches(const CapsuleConstants& c, const GridFrame& frame, int j0, int rows,
                 const double* start_w, const double* end_w, double* xl, double* xr) {
    if (c.ux != 0 && c.uy != 0)
        BandReaches<kStart, true, true>(c, frame, j0, rows, start_w, end_w, xl, xr);
    else if (c.ux != 0)
        BandReaches<kStart, true, false>(c, frame, j0, rows, start_w, end_w, xl, xr);
    else if (c.uy != 0)
        BandReaches<kStart, false, true>(c, frame, j0, rows, start_w, end_w, xl, xr);
    else
        BandReaches<kStart, false, false>(c, frame, j0, rows, start_w, end_w, xl, xr);
}

} // namespace

void CapsuleRows::Reaches(const GridFrame& frame, int j0, int rows, bool with_start,
                          const double* start_w, const double* end_w, double* xl,
                          double* xr) const {
    if (!band_) { // the start's disc alone
        const double ax = ax_;
        for (int k = 0; k < rows; ++k) {
            const double w = start_w[k], sl = ax - w, sh = ax + w;
            xl[k] = (w >= 0) & (sl < HUGE_VAL) ? sl : HUGE_VAL;
            xr[k] = (w >= 0) & (-HUGE_VAL < sh) ? sh : -HUGE_VAL;
        }
        return;
    }
    const CapsuleConstants c{ax_, ay_, bx_, r_, len_, ux_, uy_, inv_ux_, inv_uy_};
    if (with_start)
        BandReaches<true>(c, frame, j0, rows, start_w, end_w, xl, xr);
    else
        BandReaches<false>(c, frame, j0, rows, start_w, end_w, xl, xr);
}

bool CapsuleRowSpan(double ax, double ay, double bx, double by, double r, double y, double& xl,
                    double& xr) {
    return CapsuleRows(ax, ay, bx, by, r).Span(y, xl, xr);
}

void SimStock::Init(const GridFrame& frame, double top, double bottom) {
    frame_ = frame;
    top_ = top;
    bottom_ = bottom;
    height_.assign(frame.Cells(), static_cast<float>(top));
    line_.assign(frame.Cells(), 0);
    mill_.assign(frame.Cells(), 0);
    last_.valid = false;
    discs_[0].w.clear();
    discs_[1].w.clear();
    auto rows = static_cast<std::size_t>(std::max(frame.ny, 0));
    reached_.c0.assign(rows, 1);
    reached_.c1.assign(rows, 0);
    reached_.below.assign(rows, HUGE_VAL);
    reached_.beyond.assign(rows, -HUGE_VAL);
    reached_.j_lo = frame.ny;
    reached_.j_hi = -1;
}

SweepContact SimStock::Sweep(const SimTool& tool, const Vec3& a, const Vec3& b, int line,
                             bool want_contact) {
    SweepContact contact;
    // No cell stands above the block's top (as the cells hold it): a move whose tip stays at or
    // above it lowers no cell and meets no material (rapids at a safe height, above all).
    if (std::min(a.z, b.z) >= static_cast<double>(static_cast<float>(top_)))
        return contact;
    const double r = tool.radius;
    int j0, j1, i0, i1;
    if (!(r >= 0) || !frame_.Rows(std::min(a.y, b.y) - r, std::max(a.y, b.y) + r, j0, j1) ||
        !frame_.Columns(std::min(a.x, b.x) - r, std::max(a.x, b.x) + r, i0, i1))
        return contact;
    Move m{&tool, a, b, line, static_cast<std::uint8_t>(tool.mills ? tool.place : 0), want_contact};
    const bool flat = tool.Flat();
    if (flat && a.z == b.z) {
        if (!want_contact && a.y == b.y && RunFits(tool, a, a.x, &b.x, 1))
            SweepAlongRow(RowRun{&tool, a, &b.x, &line, 1, b.x > a.x});
        else
            LevelSweep(m, j0, j1, contact);
        return contact;
    }
    last_.valid = false;
    // Under a flat tool, every cell within reach of the move's lower end goes down to it.
    const Vec3& low = b.z <= a.z ? b : a;
    const float z_low = static_cast<float>(low.z);
    CapsuleRows capsule(a.x, a.y, b.x, b.y, r);
    for (int j = j0; j <= j1; ++j) {
        double y = frame_.Y(j), xl, xr;
        int c0, c1;
        if (!capsule.Span(y, xl, xr) || !frame_.Columns(xl, xr, c0, c1))
            continue;
        if (!flat) {
            Row(m, j, c0, c1, contact);
            continue;
        }
        int d0 = 1, d1 = 0;
        double dy = y - low.y, h2 = r * r - dy * dy;
        if (h2 >= 0) {
            double w = std::sqrt(h2);
            if (frame_.Columns(low.x - w, low.x + w, d0, d1)) {
                d0 = std::max(d0, c0);
                d1 = std::min(d1, c1);
            }
        }
        if (d0 > d1) {
            Row(m, j, c0, c1, contact);
            continue;
        }
        FlatRow(m, j, d0, d1, z_low, contact);
        if (c0 < d0)
            Row(m, j, c0, d0 - 1, contact);
        if (d1 < c1)
            Row(m, j, d1 + 1, c1, contact);
    }
    return contact;
}

void SimStock::SweepRun(const SimTool& tool, const Vec3& start, int axis, const double* ends,
                        const int* lines, int n) {
    if (n <= 0 || !(axis == 0 || axis == 1))
        return;
    if (start.z >= static_cast<double>(static_cast<float>(top_)))
        return; // above the material (Sweep)
    const double from = axis == 0 ? start.x : start.y;
    if (RunFits(tool, start, from, ends, n)) {
        const RowRun run{&tool, start, ends, lines, n, ends[0] > from};
        if (axis == 0)
            SweepAlongRow(run);
        else
            SweepAcrossRows(run);
        return;
    }
    Vec3 a = start;
    for (int k = 0; k < n; ++k) {
        Vec3 b = a;
        (axis == 0 ? b.x : b.y) = ends[k];
        Sweep(tool, a, b, lines[k], false);
        a = b;
    }
}

// A run that can be swept as one: a flat tool, every move going the same way from `from` on,
// and every number small enough that nothing overflows (as CapsuleRows::Regular).
bool SimStock::RunFits(const SimTool& tool, const Vec3& start, double from, const double* ends,
                       int n) {
    constexpr double kFar = 1e12;
    // (A radius whose square underflows would reach past itself.)
    const double r = tool.radius;
    if (!tool.Flat() || !(r == 0 || (r >= 1e-100 && r <= kFar)) ||
        !(std::fabs(start.x) <= kFar && std::fabs(start.y) <= kFar && std::isfinite(start.z)))
        return false;
    const bool forward = ends[0] > from;
    for (int k = 0; k < n; ++k) {
        const double to = ends[k];
        if (!(std::fabs(to) <= kFar) || !(forward ? to > from : to < from))
            return false;
        from = to;
    }
    return true;
}

// On each row of the grid the disc of the tool reaches w to either side of its centre (w from
// DiscHalfWidths), so a move along the row from x1 to x2 reaches [min - w, max + w] and the
// run reaches from its start's disc to its end's. Each row's cells are lowered in one pass.
void SimStock::SweepAlongRow(const RowRun& run) {
    const double r = run.tool->radius, y = run.start.y, z = run.start.z;
    const double end = run.ends[run.n - 1];
    last_ = LastLevel{true, r, z, end, y};
    int j0, j1;
    if (!frame_.Rows(y - r, y + r, j0, j1))
        return;
    if (!(reached_.z == z))
        ResetReached(z);
    const int rows = j1 - j0 + 1;
    const double* w = DiscWidths(y, r, j0, rows, nullptr);
    const double lo = run.forward ? run.start.x : end, hi = run.forward ? end : run.start.x;
    // Column positions as GridFrame::Columns rounds them.
    const double inv = 1 / frame_.res, x0 = frame_.x0;
    for (int k = 0; k < rows; ++k) {
        if (w[k] < 0)
            continue;
        const double p = (lo - w[k] - x0) * inv - 0.5, q = (hi + w[k] - x0) * inv - 0.5;
        int c0, c1;
        if (ColumnSpan(p, q, frame_.nx, c0, c1))
            RunRow(run, j0 + k, c0, c1, w[k]);
    }
}

// The cells c0..c1 of row j that a run reaches: those outside the row's span known to stand
// at the run's height go down to it, and the span grows.
void SimStock::RunRow(const RowRun& run, int j, int c0, int c1, double w) {
    const auto row = static_cast<std::size_t>(j);
    int& p0 = reached_.c0[row];
    int& p1 = reached_.c1[row];
    int k = 0; // the move of the run that reached the last cell lowered
    const bool apart = p0 > p1 || p0 > c1 || p1 < c0;
    // Walked from the run's start on, so that the moves are met in order.
    if (run.forward) {
        if (apart) {
            LowerRun<true>(run, j, c0, c1, w, k);
        } else {
            if (c0 < p0)
                LowerRun<true>(run, j, c0, p0 - 1, w, k);
            if (p1 < c1)
                LowerRun<true>(run, j, p1 + 1, c1, w, k);
        }
    } else {
        if (apart) {
            LowerRun<false>(run, j, c0, c1, w, k);
        } else {
            if (p1 < c1)
                LowerRun<false>(run, j, p1 + 1, c1, w, k);
            if (c0 < p0)
                LowerRun<false>(run, j, c0, p0 - 1, w, k);
        }
    }
    GrowSpan(j, c0, c1);
}

// The cells i0..i1 of row j that stand above the run's height go down to it, walked away from
// the run's start (kRight: to the right), each taking the line of the first move that reaches
// it: move k reaches w beyond its end, and the moves reach ever further. `move` carries the
// move from one call to the next.
template <bool kRight>
void SimStock::LowerRun(const RowRun& run, int j, int i0, int i1, double w, int& move) {
    const std::size_t base = frame_.Index(0, j);
    float* h = height_.data() + base;
    std::int32_t* ln = line_.data() + base;
    std::uint8_t* ml = mill_.data() + base;
    const float z = static_cast<float>(run.start.z);
    const auto mill = static_cast<std::uint8_t>(run.tool->mills ? run.tool->place : 0);
    const double inv = 1 / frame_.res, x0 = frame_.x0, reach = kRight ? w : -w;
    const double* xs = run.ends;
    const int last = run.n - 1;
    // The column position that move k reaches to (as GridFrame::Columns has it).
    auto reached = [&](int k) { return (xs[k] + reach - x0) * inv - 0.5; };
    int k = move;
    double at = reached(k);
    for (int n = 0; n <= i1 - i0; ++n) {
        const int i = kRight ? i0 + n : i1 - n;
        if (!(z < h[i]))
            continue;
        while (k < last && (kRight ? at < i : at > i))
            at = reached(++k);
        h[i] = z;
        ln[i] = run.lines[k];
        ml[i] = mill;
    }
    move = k;
}

// A run along Y, row by row in the run's direction. On a row, move k reaches as far to either
// side of the run's X as the widest of its discs and its band (as SimStock::Sweep and
// CapsuleRows work it out for the move alone); the moves before the row widen their reach as
// they come nearer, and the first whose band covers the row, or the first that ends past it,
// reaches furthest: the moves after it only go away. Each cell takes the line of the first
// move that reaches it.
void SimStock::SweepAcrossRows(const RowRun& run) {
    const double r = run.tool->radius, x = run.start.x, first = run.start.y;
    const double end = run.ends[run.n - 1];
    last_ = LastLevel{true, r, run.start.z, x, end};
    int j0, j1, i0, i1;
    if (!frame_.Rows(std::min(first, end) - r, std::max(first, end) + r, j0, j1) ||
        !frame_.Columns(x - r, x + r, i0, i1))
        return;
    if (!(reached_.z == run.start.z))
        ResetReached(run.start.z);
    across_.c0 = i0;
    across_.c1 = i1;
    // For each move: its length and the rows its sweep looks at (row positions, as
    // GridFrame::Rows rounds them).
    const auto n = static_cast<std::size_t>(run.n);
    across_.len.resize(n);
    across_.row_lo.resize(n);
    across_.row_hi.resize(n);
    const double inv = 1 / frame_.res;
    double s = first;
    for (std::size_t k = 0; k < n; ++k) {
        const double e = run.ends[k];
        across_.len[k] = std::sqrt((e - s) * (e - s));
        across_.row_lo[k] = (std::min(s, e) - r - frame_.y0) * inv - 0.5;
        across_.row_hi[k] = (std::max(s, e) + r - frame_.y0) * inv - 0.5;
        s = e;
    }
    int from = 0; // no move before it reaches this row or any after it
    for (int step = 0; step <= j1 - j0; ++step)
        AcrossRow(run, run.forward ? j0 + step : j1 - step, from);
}

namespace {

// The half-width of a disc of radius r (r2 = r * r) on a row dy from its centre, as
// DiscHalfWidths has it: -1 where it does not reach.
inline double DiscHalfWidth(double r2, double dy) {
    const double h = r2 - dy * dy;
    return h >= 0 ? std::sqrt(h) : -1;
}

} // namespace

void SimStock::AcrossRow(const RowRun& run, int j, int& from) {
    const double y = frame_.Y(j), r = run.tool->radius, r2 = r * r;
    const bool forward = run.forward;
    const double* ends = run.ends;
    const double* len = across_.len.data();
    const double* row_lo = across_.row_lo.data();
    const double* row_hi = across_.row_hi.data();
    // How far move k reaches to either side on this row, given the half-width of its start's
    // disc: -1 where it does not reach the row.
    auto reach = [&](int k, double start_w, double end_w) {
        const double along = forward ? y - (k > 0 ? ends[k - 1] : run.start.y)
                                     : -(y - (k > 0 ? ends[k - 1] : run.start.y));
        double w = std::max(start_w, end_w);
        if (!(along < 0) && !(along > len[k]))
            w = r; // the band between the discs
        return row_lo[k] <= j && j <= row_hi[k] ? w : -1;
    };
    auto start_disc = [&](int k) {
        return DiscHalfWidth(r2, y - (k > 0 ? ends[k - 1] : run.start.y));
    };
    // A move that ends before the row without reaching it reaches no row further on.
    while (from < run.n - 1 && (forward ? ends[from] < y : ends[from] > y) &&
           reach(from, start_disc(from), DiscHalfWidth(r2, y - ends[from])) < 0)
        ++from;
    const double x = run.start.x, inv = 1 / frame_.res, x0 = frame_.x0;
    const float z = static_cast<float>(run.start.z);
    const auto mill = static_cast<std::uint8_t>(run.tool->mills ? run.tool->place : 0);
    double widest = -1;
    int c0 = 1, c1 = 0; // the columns reached so far
    double start_w = start_disc(from);
    for (int k = from; k < run.n; ++k) {
        const double end_w = DiscHalfWidth(r2, y - ends[k]);
        const double w = reach(k, start_w, end_w);
        start_w = end_w; // the next move starts where this one ends
        if (w > widest) {
            widest = w;
            // Columns as GridFrame::Columns rounds them; a wider reach holds the narrower.
            const double p = (x - w - x0) * inv - 0.5, q = (x + w - x0) * inv - 0.5;
            int n0, n1;
            if (ColumnSpan(p, q, frame_.nx, n0, n1)) {
                if (c0 > c1) {
                    LowerCells(j, n0, n1, z, run.lines[k], mill);
                } else {
                    LowerCells(j, n0, c0 - 1, z, run.lines[k], mill);
                    LowerCells(j, c1 + 1, n1, z, run.lines[k], mill);
                }
                c0 = n0;
                c1 = n1;
            }
        }
        // Nothing reaches further than the tool's radius; the moves after one that ends past
        // the row only go away from it.
        if ((c0 == across_.c0 && c1 == across_.c1) || (forward ? ends[k] > y : ends[k] < y))
            break;
    }
    if (c0 <= c1)
        GrowSpan(j, c0, c1);
}

// The cells i0..i1 of row j that stand above z go down to it, with the line and place given.
void SimStock::LowerCells(int j, int i0, int i1, float z, int line, std::uint8_t mill) {
    const std::size_t base = frame_.Index(0, j);
    float* h = height_.data() + base;
    for (int i = i0; i <= i1; ++i)
        if (z < h[i]) {
            h[i] = z;
            line_[base + static_cast<std::size_t>(i)] = line;
            mill_[base + static_cast<std::size_t>(i)] = mill;
        }
}

// Row j's span of columns known to stand at the level moves' height takes in c0..c1: it grows
// when the two meet, else the new one replaces it.
void SimStock::GrowSpan(int j, int c0, int c1) {
    const auto row = static_cast<std::size_t>(j);
    int& p0 = reached_.c0[row];
    int& p1 = reached_.c1[row];
    if (p0 > p1 || c1 + 1 < p0 || p1 + 1 < c0) {
        p0 = c0;
        p1 = c1;
    } else {
        p0 = std::min(p0, c0);
        p1 = std::max(p1, c1);
    }
    reached_.below[row] = p0 > 0 ? p0 - 1 : -HUGE_VAL;
    reached_.beyond[row] = p1 < frame_.nx - 1 ? p1 + 1 : HUGE_VAL;
    reached_.j_lo = std::min(reached_.j_lo, j);
    reached_.j_hi = std::max(reached_.j_hi, j);
}

void SimStock::ResetReached(double z) {
    for (int j = reached_.j_lo; j <= reached_.j_hi; ++j) {
        auto k = static_cast<std::size_t>(j);
        reached_.c0[k] = 1;
        reached_.c1[k] = 0;
        reached_.below[k] = HUGE_VAL;
        reached_.beyond[k] = -HUGE_VAL;
    }
    reached_.z = z;
    reached_.j_lo = frame_.ny;
    reached_.j_hi = -1;
}

// The half-widths of the disc of radius r about a centre at Y cy on the rows from j0 on, kept
// in one of two slots (never the one holding `keep`): a chain of moves along a row of the grid
// works them out once.
const double* SimStock::DiscWidths(double cy, double r, int j0, int rows, const double* keep) {
    auto n = static_cast<std::size_t>(rows);
    for (const DiscRows& d : discs_)
        if (d.cy == cy && d.r == r && d.j0 == j0 && d.w.size() == n)
            return d.w.data();
    DiscRows& d = discs_[0].w.data() == keep ? discs_[1] : discs_[0];
    d.cy = cy;
    d.r = r;
    d.j0 = j0;
    d.w.resize(n);
    DiscHalfWidths(frame_, j0, rows, cy, r, d.w.data());
    return d.w.data();
}

// A level move of a flat tool: every cell within reach goes down to its height. Each row's
// reach first, then the cells of the rows that reach past what is known to stand that low.
void SimStock::LevelSweep(const Move& m, int j0, int j1, SweepContact& contact) {
    const double r = m.tool->radius;
    const Vec3 &a = m.a, &b = m.b;
    const float z = static_cast<float>(a.z);
    // Following on from the last move, the cells within reach of the start were all reached
    // by it: the start's disc need not be looked at.
    const bool follows = last_.valid && last_.radius == r && last_.z == a.z && last_.end_x == a.x &&
                         last_.end_y == a.y;
    last_ = LastLevel{true, r, a.z, b.x, b.y};
    if (!(reached_.z == a.z))
        ResetReached(a.z);
    const auto rows = static_cast<std::size_t>(j1 - j0 + 1);
    xl_.resize(rows);
    xr_.resize(rows);
    gains_.resize(rows);
    look_.resize(rows);
    CapsuleRows capsule(a.x, a.y, b.x, b.y, r);
    if (capsule.Regular()) {
        const int n = static_cast<int>(rows);
        // (Without a band between them, the start's disc is the whole capsule.)
        const bool start = !follows || !capsule.HasBand();
        const double* end_w = DiscWidths(b.y, r, j0, n, nullptr);
        const double* start_w = start ? DiscWidths(a.y, r, j0, n, end_w) : nullptr;
        capsule.Reaches(frame_, j0, n, !follows, start_w, end_w, xl_.data(), xr_.data());
    } else {
        for (std::size_t k = 0; k < rows; ++k)
            capsule.Span(frame_.Y(j0 + static_cast<int>(k)), xl_[k], xr_[k], !follows);
    }
    // Each row's reach in the column positions that GridFrame::Columns rounds, (x - x0) / res
    // - 0.5 (an empty reach as +infinity to -infinity), and the rows whose reach begins or
    // ends beyond their span: only these can hold a cell to lower.
    const double inv = 1 / frame_.res, x0 = frame_.x0;
    const double* below = reached_.below.data() + j0;
    const double* beyond = reached_.beyond.data() + j0;
    double* lo = xl_.data();
    double* hi = xr_.data();
    double* gains = gains_.data();
    // Worked out on both sides of each choice, without branches: the compiler may do two rows
    // at once. (An infinite or NaN position counts as no reach, as in GridFrame::Columns.)
    for (std::size_t k = 0; k < rows; ++k) {
        const double l = lo[k], h = hi[k];
        const double p = (l - x0) * inv - 0.5, q = (h - x0) * inv - 0.5;
        const bool some = l <= h;
        const double pl = some & (p < HUGE_VAL) ? p : HUGE_VAL;
        const double qh = some & (q > -HUGE_VAL) ? q : -HUGE_VAL;
        lo[k] = pl;
        hi[k] = qh;
        gains[k] = (pl <= below[k]) | (qh >= beyond[k]) ? 1.0 : 0.0;
    }
    int* look = look_.data();
    int looks = 0;
    for (std::size_t k = 0; k < rows; ++k) {
        look[looks] = static_cast<int>(k);
        looks += gains[k] != 0;
    }
    for (int n = 0; n < looks; ++n) {
        const auto k = static_cast<std::size_t>(look[n]);
        int c0, c1;
        if (!ColumnSpan(lo[k], hi[k], frame_.nx, c0, c1))
            continue;
        const int j = j0 + look[n];
        const auto row = static_cast<std::size_t>(j);
        int& p0 = reached_.c0[row];
        int& p1 = reached_.c1[row];
        if (p0 > p1 || p0 > c1 || p1 < c0) {
            LowerFlat(m, j, c0, c1, z, contact);
        } else {
            if (c0 < p0)
                LowerFlat(m, j, c0, p0 - 1, z, contact);
            if (p1 < c1)
                LowerFlat(m, j, p1 + 1, c1, z, contact);
        }
        GrowSpan(j, c0, c1);
    }
}

// The cells i0..i1 of row j that stand above z go down to it.
inline void SimStock::LowerFlat(const Move& m, int j, int i0, int i1, float z,
                                SweepContact& contact) {
    if (m.want_contact) {
        FlatRow(m, j, i0, i1, z, contact);
        return;
    }
    std::size_t base = frame_.Index(0, j);
    float* h = height_.data() + base;
    for (int i = i0; i <= i1; ++i)
        if (z < h[i]) {
            h[i] = z;
            line_[base + static_cast<std::size_t>(i)] = m.line;
            mill_[base + static_cast<std::size_t>(i)] = m.mill;
        }
}

// Cells of a span that all go down to one height (they lie under the flat bottom of a tool).
void SimStock::FlatRow(const Move& m, int j, int i0, int i1, float z, SweepContact& contact) {
    std::size_t base = frame_.Index(0, j);
    float* h = height_.data() + base;
    std::int32_t* ln = line_.data() + base;
    std::uint8_t* ml = mill_.data() + base;
    if (m.want_contact) {
        const float floor = std::max(z, static_cast<float>(bottom_));
        int deepest = -1;
        float depth = static_cast<float>(contact.depth);
        for (int i = i0; i <= i1; ++i)
            if (h[i] - floor > depth) {
                depth = h[i] - floor;
                deepest = i;
            }
        if (deepest >= 0) {
            contact.depth = depth;
            contact.x = frame_.X(deepest);
            contact.y = frame_.Y(j);
        }
    }
    const std::int32_t line = m.line;
    const std::uint8_t mill = m.mill;
    for (int i = i0; i <= i1; ++i) {
        bool lower = z < h[i];
        h[i] = lower ? z : h[i];
        ln[i] = lower ? line : ln[i];
        ml[i] = lower ? mill : ml[i];
    }
}

// Any other move: the tool's surface over each cell of the span.
void SimStock::Row(const Move& m, int j, int i0, int i1, SweepContact& contact) {
    double y = frame_.Y(j);
    for (int i = i0; i <= i1; ++i) {
        double env;
        if (!Envelope(*m.tool, m.a, m.b, frame_.X(i), y, env))
            continue;
        std::size_t k = frame_.Index(i, j);
        float old = height_[k];
        float e = static_cast<float>(env);
        if (m.want_contact) {
            double depth = old - std::max(env, bottom_);
            if (depth > contact.depth) {
                contact.depth = depth;
                contact.x = frame_.X(i);
                contact.y = y;
            }
        }
        if (e < old) {
            height_[k] = e;
            line_[k] = m.line;
            mill_[k] = m.mill;
        }
    }
}

} // namespace korvel
