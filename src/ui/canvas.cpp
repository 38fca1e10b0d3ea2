// The recording canvas: drawing kept as a list of pen, move, line and arc steps.
#include "ui/canvas.h"

#include <algorithm>
#include <cmath>
#include <mutex>

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

namespace {

// The kind of a record in its tag's low byte; a pen's style or an arc's direction above it.
enum Tag : std::uint32_t { kTagPen, kTagMove, kTagLine, kTagArcEnd, kTagArcCentre };

// The blocks kept for later recordings: as many as two large pictures of the view take.
constexpr std::size_t kPoolBlocks = 256;

std::mutex& PoolMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

} // namespace

// Never destroyed, so that a canvas that outlives the statics can still hand its blocks back.
std::vector<RecordingCanvas::Block>& RecordingCanvas::Pool() {
    static auto* pool = new std::vector<Block>();
    return *pool;
}

RecordingCanvas::Block RecordingCanvas::TakeBlock() {
    {
        std::lock_guard<std::mutex> lock(PoolMutex());
        std::vector<Block>& pool = Pool();
        if (!pool.empty()) {
            Block block = std::move(pool.back());
            pool.pop_back();
            return block;
        }
    }
    return std::make_unique_for_overwrite<Record[]>(kBlockRecords);
}

void RecordingCanvas::GiveBlocks(std::vector<Block>& blocks) {
    {
        std::lock_guard<std::mutex> lock(PoolMutex());
        std::vector<Block>& pool = Pool();
        if (pool.capacity() < kPoolBlocks)
            pool.reserve(kPoolBlocks);
        for (Block& block : blocks)
            if (pool.size() < kPoolBlocks)
                pool.push_back(std::move(block));
    }
    blocks.clear();
}

RecordingCanvas::RecordingCanvas(RecordingCanvas&& other) noexcept
    : blocks_(std::move(other.blocks_)), used_(other.used_), steps_(other.steps_),
      last_kind_(other.last_kind_), cur_x_(other.cur_x_), cur_y_(other.cur_y_),
      ops_(std::move(other.ops_)), ops_built_(other.ops_built_) {
    other.Forget();
}

RecordingCanvas& RecordingCanvas::operator=(RecordingCanvas&& other) noexcept {
    if (this == &other)
        return *this;
    GiveBlocks(blocks_);
    blocks_ = std::move(other.blocks_);
    used_ = other.used_;
    steps_ = other.steps_;
    last_kind_ = other.last_kind_;
    cur_x_ = other.cur_x_;
    cur_y_ = other.cur_y_;
    ops_ = std::move(other.ops_);
    ops_built_ = other.ops_built_;
    other.Forget();
    return *this;
}

RecordingCanvas::~RecordingCanvas() { GiveBlocks(blocks_); }

void RecordingCanvas::Forget() {
    blocks_.clear();
    used_ = steps_ = 0;
    last_kind_ = -1;
    cur_x_ = cur_y_ = 0;
    ops_.clear();
    ops_built_ = true;
}

RecordingCanvas::RecordingCanvas(const RecordingCanvas& other)
    : used_(other.used_), steps_(other.steps_), last_kind_(other.last_kind_), cur_x_(other.cur_x_),
      cur_y_(other.cur_y_) {
    blocks_.reserve(other.blocks_.size());
    for (std::size_t b = 0; b < other.blocks_.size(); ++b) {
        std::size_t n = b + 1 == other.blocks_.size() ? other.used_ : kBlockRecords;
        blocks_.push_back(TakeBlock());
        std::copy(other.blocks_[b].get(), other.blocks_[b].get() + n, blocks_.back().get());
    }
    ops_built_ = false;
}

RecordingCanvas& RecordingCanvas::operator=(const RecordingCanvas& other) {
    if (this != &other)
        *this = RecordingCanvas(other);
    return *this;
}

RecordingCanvas::Record& RecordingCanvas::Append() {
    if (blocks_.empty() || used_ == kBlockRecords) {
        blocks_.push_back(TakeBlock());
        used_ = 0;
    }
    ops_built_ = false;
    return blocks_.back()[used_++];
}

void RecordingCanvas::SetPen(const Pen& pen) {
    Append() = Record{pen.width, 0, kTagPen | static_cast<std::uint32_t>(pen.style) << 8, pen.rgb};
    ++steps_;
    last_kind_ = Op::kPen;
}

void RecordingCanvas::MoveTo(double x, double y) {
    // Chords and polylines move to where the last line ended: nothing to keep. (After a pen
    // change the move is kept, so that every run of one pen starts with one.)
    if ((last_kind_ == Op::kLine || last_kind_ == Op::kMove) && x == cur_x_ && y == cur_y_)
        return;
    Append() = Record{x, y, kTagMove, 0};
    ++steps_;
    last_kind_ = Op::kMove;
    cur_x_ = x;
    cur_y_ = y;
}

void RecordingCanvas::LineTo(double x, double y) {
    Append() = Record{x, y, kTagLine, 0};
    ++steps_;
    last_kind_ = Op::kLine;
    cur_x_ = x;
    cur_y_ = y;
}

void RecordingCanvas::ArcTo(double x, double y, double cx, double cy, bool clockwise) {
    Append() = Record{x, y, kTagArcEnd | (clockwise ? 1u << 8 : 0u), 0};
    Append() = Record{cx, cy, kTagArcCentre, 0};
    ++steps_;
    last_kind_ = Op::kArc;
    cur_x_ = x;
    cur_y_ = y;
}

namespace {

RecordingCanvas::Op Step(RecordingCanvas::Op::Kind kind, double x, double y) {
    RecordingCanvas::Op op;
    op.kind = kind;
    op.x = x;
    op.y = y;
    return op;
}

} // namespace

// Calls visit(op) for every step in order. An arc's two records may lie in two blocks.
template <class Visit> void RecordingCanvas::ForEach(Visit visit) const {
    Op arc;
    arc.kind = Op::kArc;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const Record* r = blocks_[b].get();
        const Record* end = r + (b + 1 == blocks_.size() ? used_ : kBlockRecords);
        for (; r != end; ++r) {
            switch (r->tag & 0xff) {
            case kTagPen: {
                Op op;
                op.kind = Op::kPen;
                op.pen = Pen{r->rgb, r->a, static_cast<LineStyle>(r->tag >> 8)};
                visit(op);
                break;
            }
            case kTagMove:
                visit(Step(Op::kMove, r->a, r->b));
                break;
            case kTagLine:
                visit(Step(Op::kLine, r->a, r->b));
                break;
            case kTagArcEnd:
                arc.x = r->a;
                arc.y = r->b;
                arc.clockwise = (r->tag >> 8) != 0;
                break;
            default: // the arc's centre completes it
                arc.cx = r->a;
                arc.cy = r->b;
                visit(arc);
                break;
            }
        }
    }
}

const std::vector<RecordingCanvas::Op>& RecordingCanvas::ops() const {
    if (!ops_built_) {
        ops_.clear();
        ops_.reserve(steps_);
        ForEach([this](const Op& op) { ops_.push_back(op); });
        ops_built_ = true;
    }
    return ops_;
}

bool RecordingCanvas::Extent(double& x0, double& y0, double& x1, double& y1) const {
    Box box;
    double sx = 0, sy = 0; // the current point
    ForEach([&](const Op& op) {
        switch (op.kind) {
        case Op::kPen:
            return;
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
        sx = op.x;
        sy = op.y;
    });
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
    ForEach([&](const Op& op) {
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
    });
}

} // namespace korvel
