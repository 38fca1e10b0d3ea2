// The stock height field and the sweep of a tool along a straight move.
#include "cam/sim_stock.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// Intersects [lo, hi] with the x for which c0 + c1 x lies in [a, b].
bool Clip(double c0, double c1, double a, double b, double& lo, double& hi) {
    if (c1 == 0)
        return c0 >= a && c0 <= b;
    double x1 = (a - c0) / c1, x2 = (b - c0) / c1;
    if (x1 > x2)
        std::swap(x1, x2);
    lo = std::max(lo, x1);
    hi = std::min(hi, x2);
    return lo <= hi;
}

void Hull(bool& any, double& xl, double& xr, double a, double b) {
    if (!any) {
        xl = a;
        xr = b;
        any = true;
    } else {
        xl = std::min(xl, a);
        xr = std::max(xr, b);
    }
}

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

} // namespace

bool CapsuleRowSpan(double ax, double ay, double bx, double by, double r, double y, double& xl,
                    double& xr) {
    bool any = false;
    for (int end = 0; end < 2; ++end) {
        double cx = end ? bx : ax, cy = end ? by : ay;
        double h = r * r - (y - cy) * (y - cy);
        if (h >= 0) {
            double w = std::sqrt(h);
            Hull(any, xl, xr, cx - w, cx + w);
        }
    }
    double dx = bx - ax, dy = by - ay;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0) {
        // Along the segment: s = (x - ax) ux + (y - ay) uy in [0, len]; across it:
        // n = -(x - ax) uy + (y - ay) ux in [-r, r].
        double ux = dx / len, uy = dy / len;
        double lo = -HUGE_VAL, hi = HUGE_VAL;
        if (Clip((y - ay) * uy - ax * ux, ux, 0, len, lo, hi) &&
            Clip((y - ay) * ux + ax * uy, -uy, -r, r, lo, hi) && lo <= hi)
            Hull(any, xl, xr, lo, hi);
    }
    return any;
}

void SimStock::Init(const GridFrame& frame, double top, double bottom) {
    frame_ = frame;
    top_ = top;
    bottom_ = bottom;
    height_.assign(frame.Cells(), static_cast<float>(top));
    line_.assign(frame.Cells(), 0);
    mill_.assign(frame.Cells(), 0);
    last_ = Level();
}

SweepContact SimStock::Sweep(const SimTool& tool, const Vec3& a, const Vec3& b, int line,
                             bool want_contact) {
    SweepContact contact;
    const double r = tool.radius;
    int j0, j1, i0, i1;
    if (!(r >= 0) || !frame_.Rows(std::min(a.y, b.y) - r, std::max(a.y, b.y) + r, j0, j1) ||
        !frame_.Columns(std::min(a.x, b.x) - r, std::max(a.x, b.x) + r, i0, i1))
        return contact;
    Move m{&tool, a, b, line, static_cast<std::uint8_t>(tool.mills ? tool.place : 0), want_contact};
    bool level_flat = tool.Flat() && a.z == b.z;
    bool skip = level_flat && last_.valid && last_.radius == r && last_.z == a.z;
    for (int j = j0; j <= j1; ++j) {
        double y = frame_.Y(j), xl, xr;
        int c0, c1;
        if (!CapsuleRowSpan(a.x, a.y, b.x, b.y, r, y, xl, xr) || !frame_.Columns(xl, xr, c0, c1))
            continue;
        if (!level_flat) {
            Row(m, j, c0, c1, contact);
            continue;
        }
        int p0, p1;
        double pl, pr;
        if (skip && CapsuleRowSpan(last_.ax, last_.ay, last_.bx, last_.by, r, y, pl, pr) &&
            frame_.Columns(pl, pr, p0, p1) && p0 <= c1 && p1 >= c0) {
            if (c0 < p0)
                LevelFlatRow(m, j, c0, p0 - 1, contact);
            if (p1 < c1)
                LevelFlatRow(m, j, p1 + 1, c1, contact);
        } else {
            LevelFlatRow(m, j, c0, c1, contact);
        }
    }
    if (level_flat)
        last_ = Level{true, r, a.z, a.x, a.y, b.x, b.y};
    else
        last_.valid = false;
    return contact;
}

// A level move of a flat tool: every cell of the span goes down to the move's height.
void SimStock::LevelFlatRow(const Move& m, int j, int i0, int i1, SweepContact& contact) {
    std::size_t base = frame_.Index(0, j);
    float* h = height_.data() + base;
    std::int32_t* ln = line_.data() + base;
    std::uint8_t* ml = mill_.data() + base;
    const float z = static_cast<float>(m.a.z);
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
