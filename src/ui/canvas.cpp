// The recording canvas: drawing kept as a list of pen, move, line and arc steps.
#include "ui/canvas.h"

#include <algorithm>
#include <cmath>

#include "geometry/primitives.h"

namespace korvel {

namespace {

struct Box {
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    void Add(double x, double y) {
        if (!any) {
            x0 = x1 = x;
            y0 = y1 = y;
            any = true;
            return;
        }
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
};

// Adds an arc's ends and the points of its circle at 0, 90, 180 and 270 degrees it passes.
void AddArc(Box& box, double sx, double sy, const RecordingCanvas::Op& op) {
    double r = std::hypot(sx - op.cx, sy - op.cy);
    double a1 = std::atan2(sy - op.cy, sx - op.cx);
    double sweep = std::atan2(op.y - op.cy, op.x - op.cx) - a1;
    // On the surface (y downwards) clockwise is the direction of growing angles.
    if (op.clockwise && sweep <= 0)
        sweep += 2 * kPi;
    if (!op.clockwise && sweep >= 0)
        sweep -= 2 * kPi;
    box.Add(sx, sy);
    box.Add(op.x, op.y);
    for (int k = -8; k <= 8; ++k) {
        double t = k * kPi / 2 - a1;
        if (sweep < 0)
            t = -t;
        t = std::fmod(t + 8 * kPi, 2 * kPi);
        if (t <= std::fabs(sweep))
            box.Add(op.cx + r * std::cos(k * kPi / 2), op.cy + r * std::sin(k * kPi / 2));
    }
}

} // namespace

void RecordingCanvas::SetPen(const Pen& pen) {
    Op op{Op::kPen, 0, 0, 0, 0, false, pen};
    ops_.push_back(op);
}

void RecordingCanvas::MoveTo(double x, double y) {
    ops_.push_back(Op{Op::kMove, x, y, 0, 0, false, Pen{}});
    cur_x_ = x;
    cur_y_ = y;
}

void RecordingCanvas::LineTo(double x, double y) {
    ops_.push_back(Op{Op::kLine, x, y, 0, 0, false, Pen{}});
    cur_x_ = x;
    cur_y_ = y;
}

void RecordingCanvas::ArcTo(double x, double y, double cx, double cy, bool clockwise) {
    ops_.push_back(Op{Op::kArc, x, y, cx, cy, clockwise, Pen{}});
    cur_x_ = x;
    cur_y_ = y;
}

bool RecordingCanvas::Extent(double& x0, double& y0, double& x1, double& y1) const {
    Box box;
    double sx = 0, sy = 0; // the current point
    for (const Op& op : ops_) {
        switch (op.kind) {
        case Op::kPen:
            break;
        case Op::kMove:
            break;
        case Op::kLine:
            box.Add(sx, sy);
            box.Add(op.x, op.y);
            break;
        case Op::kArc:
            AddArc(box, sx, sy, op);
            break;
        }
        if (op.kind != Op::kPen) {
            sx = op.x;
            sy = op.y;
        }
    }
    x0 = box.x0;
    y0 = box.y0;
    x1 = box.x1;
    y1 = box.y1;
    return box.any;
}

void RecordingCanvas::Replay(Canvas& out, double origin_x, double origin_y, double scale,
                             double offset_x, double offset_y) const {
    auto u = [&](double x) { return (x - origin_x) * scale + offset_x; };
    auto v = [&](double y) { return (y - origin_y) * scale + offset_y; };
    for (const Op& op : ops_) {
        switch (op.kind) {
        case Op::kPen:
            out.SetPen(op.pen);
            break;
        case Op::kMove:
            out.MoveTo(u(op.x), v(op.y));
            break;
        case Op::kLine:
            out.LineTo(u(op.x), v(op.y));
            break;
        case Op::kArc:
            out.ArcTo(u(op.x), v(op.y), u(op.cx), v(op.cy), op.clockwise);
            break;
        }
    }
}

} // namespace korvel
