// The surface the program draws on: the view's window, an SVG picture, or a recording of the
// drawing. Coordinates are the surface's own units (pixels), x to the right and y downwards.
// Drawing goes as with a plotter: choose a pen, move to a point, draw lines and arcs from
// there.
#pragma once

#include <cstdint>
#include <vector>

namespace korvel {

enum class LineStyle { kSolid, kDashed, kDotted };

struct Pen {
    std::uint32_t rgb = 0x000000; // 0xRRGGBB
    double width = 1;             // surface units
    LineStyle style = LineStyle::kSolid;
    bool operator==(const Pen&) const = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void SetPen(const Pen& pen) = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    // An arc from the current point to (x, y) about the centre (cx, cy), turning clockwise or
    // counter-clockwise as seen on the surface (y downwards). Its radius is the distance from
    // the centre to the current point; an end equal to the start draws the whole circle.
    virtual void ArcTo(double x, double y, double cx, double cy, bool clockwise) = 0;
};

// A canvas that keeps what is drawn, to measure it and to draw it again, moved and scaled,
// onto another canvas.
class RecordingCanvas : public Canvas {
public:
    void SetPen(const Pen& pen) override;
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void ArcTo(double x, double y, double cx, double cy, bool clockwise) override;

    struct Op {
        enum Kind { kPen, kMove, kLine, kArc } kind;
        double x = 0, y = 0, cx = 0, cy = 0;
        bool clockwise = false;
        Pen pen;
    };
    const std::vector<Op>& ops() const { return ops_; }

    // The box round everything drawn (arcs included); false when nothing was drawn.
    bool Extent(double& x0, double& y0, double& x1, double& y1) const;
    // Draws the recording onto `out`, every point p as (p - origin) * scale + offset.
    void Replay(Canvas& out, double origin_x, double origin_y, double scale, double offset_x,
                double offset_y) const;

private:
    std::vector<Op> ops_;
    double cur_x_ = 0, cur_y_ = 0;
};

} // namespace korvel
