// The surface the program draws on: the view's window, an SVG picture, or a recording of the
// drawing. Coordinates are the surface's own units (pixels), x to the right and y downwards.
// Drawing goes as with a plotter: choose a pen, move to a point, draw lines and arcs from
// there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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
// onto another canvas. A move to the point where the last line or move ended is not kept.
// Recording a whole picture of the view is part of every redraw, so the steps are kept as
// compact records in blocks that are never moved once filled; the list of steps that ops()
// gives for inspection is built when it is asked for.
class RecordingCanvas : public Canvas {
public:
    RecordingCanvas() = default;
    RecordingCanvas(const RecordingCanvas& other);
    RecordingCanvas& operator=(const RecordingCanvas& other);
    RecordingCanvas(RecordingCanvas&& other) noexcept;
    RecordingCanvas& operator=(RecordingCanvas&& other) noexcept;
    ~RecordingCanvas() override;

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
    // Every step kept, in order.
    const std::vector<Op>& ops() const;
    // The number of steps kept (the size of ops(), without building it).
    std::size_t size() const { return steps_; }

    // The box round everything drawn (arcs included); false when nothing was drawn.
    bool Extent(double& x0, double& y0, double& x1, double& y1) const;
    // Draws the recording onto `out`, every point p as (p - origin) * scale + offset.
    void Replay(Canvas& out, double origin_x, double origin_y, double scale, double offset_x,
                double offset_y) const;

private:
    // One record: a pen (width, colour and style), a move or a line end, or one of an arc's two
    // records (its end and direction, then its centre).
    struct Record {
        double a, b;
        std::uint32_t tag, rgb;
    };
    static constexpr std::size_t kBlockRecords = 4096;
    using Block = std::unique_ptr<Record[]>;
    // A block of records, from those earlier recordings left when there is one: a picture is
    // recorded anew on every redraw, and memory fresh from the system costs more than the
    // recording itself. Handing blocks back empties the list.
    static Block TakeBlock();
    static void GiveBlocks(std::vector<Block>& blocks);
    static std::vector<Block>& Pool();
    void Forget(); // empty, as a canvas that was moved from
    Record& Append();
    template <class Visit> void ForEach(Visit visit) const;

    std::vector<Block> blocks_;
    std::size_t used_ = 0;  // records in the last block
    std::size_t steps_ = 0; // steps kept (an arc is one)
    int last_kind_ = -1;    // the last step's kind, -1 before the first
    double cur_x_ = 0, cur_y_ = 0;
    mutable std::vector<Op> ops_; // built by ops()
    mutable bool ops_built_ = true;
};
} // namespace korvel
