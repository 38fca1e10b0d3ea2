// The program simulation: a control's modal state, its order of executing a line's words, and
// the checks made on every move.
#include "cam/sim_program.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "cam/gcode_block.h"
#include "geometry/gcode_reader.h"
#include "geometry/primitives.h"
#include "geometry/types.h"

namespace korvel {

namespace {

// Motion modes, as G codes times ten; kNoMotion after G80.
constexpr int kNoMotion = -1;
constexpr int kRapidMode = 0, kLineMode = 10, kCwMode = 20, kCcwMode = 30;
constexpr int kG81 = 810, kG82 = 820, kG83 = 830, kG84 = 840, kG74 = 740;

bool IsCycle(int mode) {
    return mode == kG81 || mode == kG82 || mode == kG83 || mode == kG84 || mode == kG74;
}

bool IsMotionCode(int g) {
    return g == kRapidMode || g == kLineMode || g == kCwMode || g == kCcwMode || g == 800 ||
           IsCycle(g);
}

// G codes that the control accepts; everything else stops it.
bool KnownG(int g) {
    if (IsMotionCode(g))
        return true;
    switch (g) {
    case 40:  // dwell
    case 170: // XY plane
    case 200:
    case 210:
    case 280:
    case 400:
    case 430:
    case 440:
    case 490:
    case 540:
    case 550:
    case 560:
    case 570:
    case 580:
    case 590:
    case 591:
    case 592:
    case 593:
    case 610:
    case 640: // exact stop, continuous path
    case 900:
    case 910:
    case 980:
    case 990:
        return true;
    default:
        return false;
    }
}

std::string GName(int g) {
    return g % 10 ? Sprintf("G%d.%d", g / 10, g % 10) : Sprintf("G%02d", g / 10);
}

// Modal groups besides the motion: a line may hold one code of each.
constexpr int kGroups[][10] = {
    {170, 180, 190},
    {200, 210},
    {400, 410, 420},
    {430, 440, 490},
    {540, 550, 560, 570, 580, 590, 591, 592, 593},
    {610, 640},
    {900, 910},
    {980, 990},
};

// Work offsets as G codes times ten, by index 0..8.
constexpr int kOffsetCodes[9] = {540, 550, 560, 570, 580, 590, 591, 592, 593};

class Simulator {
public:
    Simulator(const SimSetup& setup, SimStock& stock, SimRun& run)
        : s_(setup), stock_(stock), run_(run) {
        pos_.z = setup.home_z;
        inch_ = setup.project_inch;
    }

    bool Done() const { return ended_ || run_.stopped; }
    void Line(std::string_view text, int number);
    // Sweeps what is still gathered: call once the program has run.
    void Finish() { FlushRun(); }

private:
    // Words, in the order a control applies them.
    bool OneOfEachGroup(const GcodeBlock& b);
    bool Modes(const GcodeBlock& b);
    void ToolChange();
    bool Motion(const GcodeBlock& b);
    bool Home(const GcodeBlock& b);
    bool Cycle(const GcodeBlock& b, bool starts);
    bool Arc(const GcodeBlock& b, bool cw, const Vec3& end);
    Vec3 Target(const GcodeBlock& b) const;

    // Moves and their checks.
    void Straight(const Vec3& to, bool rapid);
    void Segment(const Vec3& a, const Vec3& b, bool rapid);
    void Cut(const Vec3& a, const Vec3& b);
    void FlushRun();
    void CheckFeed(int cycle);
    void CheckFixtures(const Vec3& a, const Vec3& b);
    void CheckWorkspace(const Vec3& p);
    void Note(SimProblem kind, double x, double y, double z, double depth, int detail,
              std::string text = {});
    bool Fail(const std::string& why);

    double Length(double v) const {
        UnitConvertion(s_.project_inch, inch_, v);
        return v;
    }

    const SimSetup& s_;
    SimStock& stock_;
    SimRun& run_;
    int line_ = 0;
    std::array<int, static_cast<std::size_t>(SimProblem::kCount)> noted_line_{};
    GcodeBlock block_; // the line being run, read into again for every line
    std::string error_;

    Vec3 pos_;
    bool xy_known_ = false; // the position in X and Y is unknown until the first X/Y move
    int inch_ = 0;          // the program's unit
    bool incremental_ = false;
    int motion_ = kRapidMode;
    bool retract_to_initial_ = true; // G98; G99 retracts to R
    double initial_z_ = 0, cycle_r_ = 0, cycle_z_ = 0, cycle_q_ = 0;
    bool cycle_r_given_ = false, cycle_z_given_ = false;
    double feed_ = 0, speed_ = 0;
    int spindle_ = 0; // 0 stopped, 3 clockwise, 4 counter-clockwise
    int selected_ = 0, in_spindle_ = 0;
    SimTool tool_;
    bool comp_ = false;
    int comp_h_ = 0;
    bool comp_noted_ = false;
    int offset_ = 0; // G54 at power-on
    bool offset_noted_ = false;
    bool ended_ = false;
    // Feed moves of a flat tool along X or Y, one after the other the same way at one height,
    // gathered to be swept as one run (SimStock::SweepRun). Swept before any other move and
    // before the tool changes, so the stock is never read with moves still pending.
    struct PendingRun {
        Vec3 start;
        int axis = 0; // 0 X, 1 Y
        bool forward = false;
        std::vector<double> ends;
        std::vector<int> lines;
    } pending_;
};

// Moves gathered in one run at most: bounds the memory a long program takes.
constexpr std::size_t kMaxRun = 1 << 16;

void Simulator::Note(SimProblem kind, double x, double y, double z, double depth, int detail,
                     std::string text) {
    auto k = static_cast<std::size_t>(kind);
    // One event a line and kind: the deepest of a line's moves is kept.
    if (noted_line_[k] == line_) {
        for (auto it = run_.events.rbegin(); it != run_.events.rend() && it->line == line_; ++it)
            if (it->kind == kind && depth > it->depth) {
                it->depth = depth;
                it->x = x;
                it->y = y;
                it->z = z;
            }
        return;
    }
    noted_line_[k] = line_;
    if (++run_.counts[k] > SimRun::kKeptPerKind)
        return;
    run_.events.push_back(SimEvent{kind, line_, x, y, z, depth, detail, std::move(text)});
}

bool Simulator::Fail(const std::string& why) {
    Note(SimProblem::kProgramError, pos_.x, pos_.y, pos_.z, 0, 0, why);
    run_.stopped = true;
    return false;
}

void Simulator::Line(std::string_view text, int number) {
    line_ = number;
    ++run_.lines;
    GcodeBlock& b = block_;
    if (!ReadGcodeBlock(text, b, error_)) {
        Fail(error_);
        return;
    }
    if (b.percent)
        return;
    constexpr std::uint32_t kUnsimulated =
        1u << ('A' - 'A') | 1u << ('B' - 'A') | 1u << ('C' - 'A') | 1u << ('E' - 'A') |
        1u << ('U' - 'A') | 1u << ('V' - 'A') | 1u << ('W' - 'A');
    if (b.letters & kUnsimulated)
        for (char l : std::string_view("ABCEUVW"))
            if (b.Has(l)) {
                Fail(Sprintf("%c words are not simulated", l));
                return;
            }
    int motion_codes = 0;
    for (int k = 0; k < b.g_count; ++k) {
        if (!KnownG(b.g[k])) {
            Fail(GName(b.g[k]) + " is not simulated");
            return;
        }
        motion_codes += IsMotionCode(b.g[k]) || b.g[k] == 280;
    }
    if (motion_codes > 1) {
        Fail("two motion codes on one line");
        return;
    }
    if (!OneOfEachGroup(b))
        return;
    if (!Modes(b) || !Motion(b))
        return;
    if (b.HasM(2) || b.HasM(30)) {
        spindle_ = 0;
        ended_ = true;
    }
}

bool Simulator::OneOfEachGroup(const GcodeBlock& b) {
    if (b.g_count < 2) // most lines: nothing to clash
        return true;
    for (const auto& group : kGroups) {
        int first = -1;
        for (int k = 0; k < b.g_count; ++k) {
            if (std::find(std::begin(group), std::end(group), b.g[k]) == std::end(group) ||
                b.g[k] == 0)
                continue;
            if (first >= 0 && first != b.g[k])
                return Fail(GName(first) + " and " + GName(b.g[k]) + " on one line");
            first = b.g[k];
        }
    }
    return true;
}

// Everything but the motion: units, feed, speed, tool, spindle, compensation, offsets, modes.
bool Simulator::Modes(const GcodeBlock& b) {
    if (b.HasG(200))
        inch_ = 1;
    if (b.HasG(210))
        inch_ = 0;
    if (b.Has('F'))
        feed_ = Length(b.Value('F'));
    if (b.Has('S'))
        speed_ = b.Value('S');
    if (b.Has('T')) {
        double t = b.Value('T');
        if (t < 0 || t > 99)
            return Fail(Sprintf("T%d: no such magazine place", static_cast<int>(t)));
        selected_ = static_cast<int>(t);
    }
    if (b.HasM(6))
        ToolChange();
    if (b.HasM(3))
        spindle_ = 3;
    if (b.HasM(4))
        spindle_ = 4;
    if (b.HasM(5))
        spindle_ = 0;
    if (b.HasG(430) || b.HasG(440)) {
        comp_ = true;
        comp_h_ = b.Has('H') ? static_cast<int>(b.Value('H')) : in_spindle_;
        comp_noted_ = false;
    }
    if (b.HasG(490))
        comp_ = false;
    for (int k = 0; k < 9; ++k)
        if (b.HasG(kOffsetCodes[k]) && offset_ != k) {
            offset_ = k;
            offset_noted_ = false;
        }
    if (b.HasG(900))
        incremental_ = false;
    if (b.HasG(910))
        incremental_ = true;
    if (b.HasG(980))
        retract_to_initial_ = true;
    if (b.HasG(990))
        retract_to_initial_ = false;
    if (b.Has('Q'))
        cycle_q_ = Length(b.Value('Q'));
    return true;
}

void Simulator::ToolChange() {
    FlushRun();
    in_spindle_ = selected_;
    spindle_ = 0; // the spindle stops for the change
    comp_noted_ = false;
    tool_ = SimTool();
    if (in_spindle_ == 0)
        return;
    if (std::find(run_.tools.begin(), run_.tools.end(), in_spindle_) == run_.tools.end())
        run_.tools.push_back(in_spindle_);
    if (s_.attached[static_cast<std::size_t>(in_spindle_)]) {
        tool_ = s_.tools[static_cast<std::size_t>(in_spindle_)];
    } else {
        Note(SimProblem::kToolNotAttached, pos_.x, pos_.y, pos_.z, 0, in_spindle_);
        // Whatever is in that place still cuts: followed as a thin flat tool.
        tool_.radius = stock_.Frame().res / 2;
    }
    tool_.place = in_spindle_;
}

// The end point of a move from the axis words of the line.
Vec3 Simulator::Target(const GcodeBlock& b) const {
    Vec3 t = pos_;
    const char axes[3] = {'X', 'Y', 'Z'};
    double* out[3] = {&t.x, &t.y, &t.z};
    const double from[3] = {pos_.x, pos_.y, pos_.z};
    for (int k = 0; k < 3; ++k)
        if (b.Has(axes[k])) {
            double v = Length(b.Value(axes[k]));
            *out[k] = incremental_ ? from[k] + v : v;
        }
    return t;
}

bool Simulator::Motion(const GcodeBlock& b) {
    if (b.HasG(280))
        return Home(b);
    int code = kNoMotion - 1;
    for (int k = 0; k < b.g_count; ++k)
        if (IsMotionCode(b.g[k]))
            code = b.g[k];
    bool starts_cycle = IsCycle(code);
    if (code == 800)
        motion_ = kNoMotion;
    else if (code != kNoMotion - 1)
        motion_ = code;
    bool axes = b.Has('X') || b.Has('Y') || b.Has('Z');
    if (IsCycle(motion_))
        return starts_cycle || axes || b.Has('R') ? Cycle(b, starts_cycle) : true;
    bool arc_words = b.Has('I') || b.Has('J') || b.Has('R');
    if (!axes && !((motion_ == kCwMode || motion_ == kCcwMode) && arc_words))
        return true;
    if (motion_ == kNoMotion)
        return Fail("axis words without a motion (after G80)");
    Vec3 to = Target(b);
    if (motion_ == kCwMode || motion_ == kCcwMode)
        return Arc(b, motion_ == kCwMode, to);
    if (motion_ == kLineMode)
        CheckFeed(0);
    if (!xy_known_ && !b.Has('X') && !b.Has('Y')) {
        pos_.z = to.z; // where in X and Y is not known yet: nothing to follow
        return true;
    }
    Straight(to, motion_ == kRapidMode);
    if (b.Has('X') || b.Has('Y'))
        xy_known_ = true;
    return true;
}

// G28: a rapid to the intermediate point, then home in the axes named (all when none is).
bool Simulator::Home(const GcodeBlock& b) {
    bool any = b.Has('X') || b.Has('Y') || b.Has('Z');
    if (any)
        Straight(Target(b), true);
    if (b.Has('X') || b.Has('Y'))
        xy_known_ = true;
    if (!any || b.Has('Z'))
        pos_.z = std::max(pos_.z, s_.home_z); // straight up: nothing in the way
    if (!any || b.Has('X') || b.Has('Y')) {
        Vec3 home{!any || b.Has('X') ? s_.home_x : pos_.x, !any || b.Has('Y') ? s_.home_y : pos_.y,
                  pos_.z};
        Straight(home, true);
        xy_known_ = true;
    }
    return true;
}

// A drilling or tapping cycle: one hole at the position the line gives.
bool Simulator::Cycle(const GcodeBlock& b, bool starts) {
    if (starts)
        initial_z_ = pos_.z;
    if (b.Has('R')) {
        cycle_r_ = Length(b.Value('R'));
        cycle_r_given_ = true;
    }
    if (b.Has('Z')) {
        cycle_z_ = Length(b.Value('Z'));
        cycle_z_given_ = true;
    }
    if (!cycle_r_given_ || !cycle_z_given_)
        return Fail(GName(motion_) + " without R and Z");
    if (motion_ == kG83 && !(cycle_q_ > 0))
        return Fail("G83 without a peck depth Q");
    // In G91, R counts from the initial level and Z from R.
    double r = incremental_ ? initial_z_ + cycle_r_ : cycle_r_;
    double bottom = incremental_ ? r + cycle_z_ : cycle_z_;
    Vec3 at = pos_;
    if (b.Has('X'))
        at.x = Length(b.Value('X')) + (incremental_ ? pos_.x : 0);
    if (b.Has('Y'))
        at.y = Length(b.Value('Y')) + (incremental_ ? pos_.y : 0);
    if (!xy_known_ && !b.Has('X') && !b.Has('Y'))
        return Fail(GName(motion_) + " before any X/Y position");
    xy_known_ = true;
    Straight(Vec3{at.x, at.y, pos_.z}, true);
    Straight(Vec3{at.x, at.y, r}, true);
    CheckFeed(motion_);
    Straight(Vec3{at.x, at.y, bottom}, false);
    // Drills come out at rapid; taps feed out with the spindle reversed.
    bool tap = motion_ == kG84 || motion_ == kG74;
    Straight(Vec3{at.x, at.y, r}, !tap);
    if (retract_to_initial_ && initial_z_ > r)
        Straight(Vec3{at.x, at.y, initial_z_}, true);
    return true;
}

bool Simulator::Arc(const GcodeBlock& b, bool cw, const Vec3& end) {
    if (!xy_known_)
        return Fail("arc before any X/Y position");
    bool ij = b.Has('I') || b.Has('J');
    if (ij == b.Has('R'))
        return Fail(ij ? "arc with both R and I/J" : "arc without I/J or R");
    CheckFeed(0);
    Vec3 start = pos_;
    bool closed =
        std::fabs(end.x - start.x) <= s_.equal_tol && std::fabs(end.y - start.y) <= s_.equal_tol;
    double cx, cy, r;
    if (ij) {
        cx = start.x + Length(b.Has('I') ? b.Value('I') : 0);
        cy = start.y + Length(b.Has('J') ? b.Value('J') : 0);
        r = std::hypot(start.x - cx, start.y - cy);
        double miss = std::fabs(std::hypot(end.x - cx, end.y - cy) - r);
        if (!(r > 0))
            return Fail("arc of radius 0");
        if (miss > s_.radius_tol)
            return Fail(Sprintf("arc end %.3f off its circle", miss));
    } else {
        double rr = Length(b.Value('R'));
        if (closed)
            return Fail("R arc ending where it starts");
        if (!ArcCenter(start.x, start.y, end.x, end.y, rr, cw ? kCwArc : kCcwArc, cx, cy))
            return Fail("arc radius too small for its end points");
        r = std::hypot(start.x - cx, start.y - cy);
    }
    double a1 = std::atan2(start.y - cy, start.x - cx);
    double a2 = std::atan2(end.y - cy, end.x - cx);
    double sweep = cw ? a1 - a2 : a2 - a1;
    while (sweep < 0)
        sweep += 2 * kPi;
    if (closed && ij)
        sweep = 2 * kPi;
    // Chords whose sagitta stays within the allowed error.
    double step = s_.arc_error < r ? 2 * std::acos(1 - s_.arc_error / r) : kPi / 2;
    double n = std::ceil(sweep / std::max(step, 1e-6));
    int count = static_cast<int>(std::clamp(n, 1.0, 100000.0));
    double dir = cw ? -1 : 1;
    for (int k = 1; k <= count && !Done(); ++k) {
        Vec3 p = end;
        if (k < count) {
            double t = static_cast<double>(k) / count;
            double a = a1 + dir * sweep * t;
            p = Vec3{cx + r * std::cos(a), cy + r * std::sin(a), start.z + (end.z - start.z) * t};
        }
        Straight(p, false);
    }
    return true;
}

// Before a feed move (or a cycle's feed): the spindle, the feed rate, the tool and its length
// compensation.
void Simulator::CheckFeed(int cycle) {
    bool tap = cycle == kG84 || cycle == kG74;
    if (spindle_ == 0 || speed_ <= 0)
        Note(SimProblem::kSpindleOff, pos_.x, pos_.y, pos_.z, 0, cycle);
    else if (tap && spindle_ != (cycle == kG84 ? 3 : 4))
        Note(SimProblem::kTapDirection, pos_.x, pos_.y, pos_.z, 0, cycle);
    if (!(feed_ > 0))
        Note(SimProblem::kNoFeed, pos_.x, pos_.y, pos_.z, 0, 0);
    if (in_spindle_ == 0) {
        Note(SimProblem::kNoTool, pos_.x, pos_.y, pos_.z, 0, 0);
    } else if (!comp_noted_ && (!comp_ || comp_h_ != in_spindle_)) {
        Note(SimProblem::kLengthComp, pos_.x, pos_.y, pos_.z, 0, comp_ ? comp_h_ : -1);
        comp_noted_ = true;
    }
}

void Simulator::Straight(const Vec3& to, bool rapid) {
    Vec3 from = pos_;
    if (!xy_known_) {
        from.x = to.x; // from an unknown position: the move is taken as a vertical one
        from.y = to.y;
    }
    if (offset_ != s_.work_offset && !offset_noted_) {
        Note(SimProblem::kWorkOffset, to.x, to.y, to.z, 0, offset_);
        offset_noted_ = true;
    }
    Segment(from, to, rapid);
    pos_ = to;
}

void Simulator::Segment(const Vec3& a, const Vec3& b, bool rapid) {
    if (s_.max_moves > 0 && run_.moves >= s_.max_moves) {
        Fail("too many moves to simulate");
        return;
    }
    ++run_.moves;
    CheckWorkspace(b);
    if (in_spindle_ == 0)
        return; // the spindle nose is not simulated; a feed without a tool was noted
    CheckFixtures(a, b);
    if (!rapid) {
        Cut(a, b);
        return;
    }
    FlushRun(); // the rapid meets the material as the moves before it left it
    // A rapid counts as going through material only when it enters by more than the tolerance
    // sideways too: a rapid whose side grazes a finished wall meets at most the grid's own
    // sliver of it, not material the part keeps.
    SimTool rapid_tool = tool_;
    rapid_tool.radius = std::max(0.0, tool_.radius - s_.tolerance);
    rapid_tool.tip_radius = std::min(tool_.tip_radius, rapid_tool.radius);
    SweepContact c = stock_.Sweep(rapid_tool, a, b, line_, true);
    if (c.depth > s_.tolerance)
        Note(SimProblem::kRapidThroughMaterial, c.x, c.y, b.z, c.depth, 0);
}

// A feed move: a level move of a flat tool along X or Y joins the run it goes on from, or
// starts one; any other move is swept at once, after the run before it.
void Simulator::Cut(const Vec3& a, const Vec3& b) {
    const bool level = tool_.Flat() && a.z == b.z;
    const int axis = level && a.y == b.y && a.x != b.x   ? 0
                     : level && a.x == b.x && a.y != b.y ? 1
                                                         : -1;
    PendingRun& p = pending_;
    const double from = axis == 0 ? a.x : a.y, to = axis == 0 ? b.x : b.y;
    const bool goes_on = axis >= 0 && !p.ends.empty() && p.ends.size() < kMaxRun &&
                         axis == p.axis && from == p.ends.back() && (to > from) == p.forward &&
                         a.z == p.start.z && (axis == 0 ? a.y == p.start.y : a.x == p.start.x);
    if (!goes_on) {
        FlushRun();
        if (axis < 0) {
            stock_.Sweep(tool_, a, b, line_, false);
            return;
        }
        p.start = a;
        p.axis = axis;
        p.forward = to > from;
    }
    p.ends.push_back(to);
    p.lines.push_back(line_);
}

void Simulator::FlushRun() {
    if (pending_.ends.empty())
        return;
    stock_.SweepRun(tool_, pending_.start, pending_.axis, pending_.ends.data(),
                    pending_.lines.data(), static_cast<int>(pending_.ends.size()));
    pending_.ends.clear();
    pending_.lines.clear();
}

void Simulator::CheckWorkspace(const Vec3& p) {
    if (!s_.check_workspace)
        return;
    const double tol = s_.equal_tol;
    double m[3] = {p.x + s_.zero_x, p.y + s_.zero_y, p.z + s_.zero_z};
    double travel[3] = {s_.travel_x, s_.travel_y, s_.travel_z};
    for (int k = 0; k < 3; ++k) {
        double lo = std::min(0.0, travel[k]) - tol, hi = std::max(0.0, travel[k]) + tol;
        if (m[k] < lo || m[k] > hi) {
            Note(SimProblem::kWorkspace, m[0], m[1], m[2], 0, 0);
            return;
        }
    }
}

// Whether the tool's lower surface comes below a fixture's top anywhere over the fixture on
// the move from a to b: the move is followed in steps of half a cell where it is within the
// tool's reach of the fixture.
void Simulator::CheckFixtures(const Vec3& a, const Vec3& b) {
    const double r = tool_.radius;
    for (const SimFixture& f : s_.fixtures) {
        double x0 = f.x - r, x1 = f.x + f.lx + r, y0 = f.y - r, y1 = f.y + f.ly + r;
        if (std::min(a.z, b.z) - f.top >= -s_.tolerance)
            continue;
        // The part of the move within the widened fixture (Liang-Barsky).
        double t0 = 0, t1 = 1;
        const double d[2] = {b.x - a.x, b.y - a.y};
        const double p0[2] = {a.x, a.y};
        const double lo[2] = {x0, y0}, hi[2] = {x1, y1};
        bool inside = true;
        for (int k = 0; k < 2 && inside; ++k) {
            if (d[k] == 0) {
                inside = p0[k] >= lo[k] && p0[k] <= hi[k];
                continue;
            }
            double ta = (lo[k] - p0[k]) / d[k], tb = (hi[k] - p0[k]) / d[k];
            if (ta > tb)
                std::swap(ta, tb);
            t0 = std::max(t0, ta);
            t1 = std::min(t1, tb);
            inside = t0 <= t1;
        }
        if (!inside)
            continue;
        double len = std::hypot(d[0], d[1]) * (t1 - t0);
        int steps = static_cast<int>(std::min(2000.0, std::ceil(len / (stock_.Frame().res / 2))));
        double deepest = 0;
        for (int k = 0; k <= steps; ++k) {
            double t = steps ? t0 + (t1 - t0) * k / steps : t0;
            double x = a.x + d[0] * t, y = a.y + d[1] * t;
            double z = k == 0 && steps == 0 ? std::min(a.z, b.z) : a.z + (b.z - a.z) * t;
            double dx = std::max({f.x - x, 0.0, x - (f.x + f.lx)});
            double dy = std::max({f.y - y, 0.0, y - (f.y + f.ly)});
            double dist = std::hypot(dx, dy);
            if (dist <= r)
                deepest = std::max(deepest, f.top - (z + tool_.Lift(dist)));
        }
        if (deepest > s_.tolerance)
            Note(SimProblem::kFixture, b.x, b.y, b.z, deepest, f.id);
    }
}

} // namespace

void SimulateProgram(std::string_view program, const SimSetup& setup, SimStock& stock,
                     SimRun& run) {
    run = SimRun();
    Simulator sim(setup, stock, run);
    int number = 0;
    // Lines end with LF, CR LF or a lone CR, as in every file the program reads.
    while (!program.empty() && !sim.Done()) {
        std::size_t end = 0;
        while (end < program.size() && program[end] != '\n' && program[end] != '\r')
            ++end;
        std::size_t next = end < program.size() ? end + 1 : end;
        if (end < program.size() && program[end] == '\r' && next < program.size() &&
            program[next] == '\n')
            ++next; // CR LF; a CR alone ends the line as well
        std::string_view line = program.substr(0, end);
        program = program.substr(next);
        sim.Line(line, ++number);
    }
    sim.Finish();
}

} // namespace korvel
