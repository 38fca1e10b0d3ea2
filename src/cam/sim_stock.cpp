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
    const bool flat = tool.Flat(), level = a.z == b.z;
    // Under a flat tool, every cell within reach of the move's lower end goes down to it.
    const Vec3& low = b.z <= a.z ? b : a;
    const float z_low = static_cast<float>(low.z);
    const bool remember = flat && level;
    const bool skip = remember && last_.valid && last_.radius == r && last_.z == a.z;
    // Following on from the last move, the cells within reach of the start were all reached
    // by it: the start's disc need not be looked at. (The spans kept for the next move are
    // then shorter by what lies only in that disc, which only makes the next move look at a
    // few cells more.)
    const bool follows = skip && last_.end_x == a.x && last_.end_y == a.y;
    if (remember) {
        next_.radius = r;
        next_.z = a.z;
        next_.end_x = b.x;
        next_.end_y = b.y;
        next_.j0 = j0;
        next_.c0.assign(static_cast<std::size_t>(j1 - j0 + 1), 1);
        next_.c1.assign(static_cast<std::size_t>(j1 - j0 + 1), 0);
    }
    CapsuleRows capsule(a.x, a.y, b.x, b.y, r);
    for (int j = j0; j <= j1; ++j) {
        double y = frame_.Y(j), xl, xr;
        int c0, c1;
        if (!capsule.Span(y, xl, xr, !follows) || !frame_.Columns(xl, xr, c0, c1))
            continue;
        if (!flat) {
            Row(m, j, c0, c1, contact);
            continue;
        }
        if (level) {
            auto row = static_cast<std::size_t>(j - j0);
            if (remember) {
                next_.c0[row] = c0;
                next_.c1[row] = c1;
            }
            int p0 = 1, p1 = 0; // what the last move reached of this row
            std::size_t last_row = static_cast<std::size_t>(j - last_.j0);
            if (skip && j >= last_.j0 && last_row < last_.c0.size()) {
                p0 = last_.c0[last_row];
                p1 = last_.c1[last_row];
            }
            if (p0 > p1 || p0 > c1 || p1 < c0) {
                FlatRow(m, j, c0, c1, z_low, contact);
            } else {
                if (c0 < p0)
                    FlatRow(m, j, c0, p0 - 1, z_low, contact);
                if (p1 < c1)
                    FlatRow(m, j, p1 + 1, c1, z_low, contact);
            }
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
    if (remember) {
        std::swap(last_, next_);
        last_.valid = true;
    } else {
        last_.valid = false;
    }
    return contact;
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
