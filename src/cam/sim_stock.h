// The stock as a height field: one height per grid cell over the block, lowered wherever the
// tool's lower surface passes below it. Each cell also keeps the program line that last
// lowered it, and the magazine place of the milling tool that did (0 when it was not a milling
// tool). Heights are not held at the block's bottom: a cell cut through records how deep the
// tool went, and material stands in a cell only between the bottom and its height.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cam/sim_grid.h"
#include "cam/sim_tool.h"

namespace korvel {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// The deepest the tool went into material that stood before a move, and where.
struct SweepContact {
    double depth = 0;
    double x = 0, y = 0;
};

class SimStock {
public:
    // A block of material from bottom to top over every cell of the frame.
    void Init(const GridFrame& frame, double top, double bottom);

    // Moves the tool's tip in a straight line from a to b and lowers every cell to the tool's
    // lower surface where that passes below it; the cells lowered take `line` (and the tool's
    // place, when it mills). With want_contact, returns how far the tool went into material
    // (measured down from the material's top to the tool, at most to the block's bottom).
    SweepContact Sweep(const SimTool& tool, const Vec3& a, const Vec3& b, int line,
                       bool want_contact);

    // A run of level moves along one axis of the grid (axis 0: X, along its rows; 1: Y, across
    // them), one after the other: from `start` to ends[0] on that axis (program line
    // lines[0]), on to ends[1] (lines[1]) and so on, the other coordinates staying start's.
    // Every cell comes out with the height and line that sweeping the moves one at a time gives
    // it, but each row is worked once for the whole run: a long chain of short moves costs
    // little more than one long move. A run that is not of a flat tool, stands still or turns
    // back is swept one move at a time.
    void SweepRun(const SimTool& tool, const Vec3& start, int axis, const double* ends,
                  const int* lines, int n);

    const GridFrame& Frame() const { return frame_; }
    double Top() const { return top_; }
    double Bottom() const { return bottom_; }
    const std::vector<float>& Heights() const { return height_; }
    const std::vector<std::int32_t>& Lines() const { return line_; }
    const std::vector<std::uint8_t>& MillPlaces() const { return mill_; }

private:
    struct Move {
        const SimTool* tool;
        Vec3 a, b;
        int line;
        std::uint8_t mill;
        bool want_contact;
    };
    // A run of level moves along an axis (SweepRun): its ends on that axis, their lines, and
    // whether it goes the axis's way.
    struct RowRun {
        const SimTool* tool;
        Vec3 start;
        const double* ends;
        const int* lines;
        int n;
        bool forward;
    };
    static bool RunFits(const SimTool& tool, const Vec3& start, double from, const double* ends,
                        int n);
    // Along X: each row is one span per run.
    void SweepAlongRow(const RowRun& run);
    void RunRow(const RowRun& run, int j, int c0, int c1, double w);
    template <bool kRight>
    void LowerRun(const RowRun& run, int j, int i0, int i1, double w, int& move);
    // Along Y: each row meets a few moves of the run, widening as the tool comes nearer.
    void SweepAcrossRows(const RowRun& run);
    void AcrossRow(const RowRun& run, int j, int& from);
    void LowerCells(int j, int i0, int i1, float z, int line, std::uint8_t mill);
    void GrowSpan(int j, int c0, int c1);
    void LevelSweep(const Move& m, int j0, int j1, SweepContact& contact);
    void ResetReached(double z);
    const double* DiscWidths(double cy, double r, int j0, int rows, const double* keep);
    void Row(const Move& m, int j, int i0, int i1, SweepContact& contact);
    void FlatRow(const Move& m, int j, int i0, int i1, float z, SweepContact& contact);
    void LowerFlat(const Move& m, int j, int i0, int i1, float z, SweepContact& contact);

    GridFrame frame_;
    double top_ = 0, bottom_ = 0;
    std::vector<float> height_;
    std::vector<std::int32_t> line_;
    std::vector<std::uint8_t> mill_;
    // The last level move of a flat tool, while no other move has followed it: a move of the
    // same tool at the same height that starts where it ended need not look at its start's
    // disc, since every cell in it was reached by that move.
    struct LastLevel {
        bool valid = false;
        double radius = 0, z = 0;
        double end_x = 0, end_y = 0;
    } last_;
    // What the level moves of flat tools at one height have reached: on each row of the grid, a
    // span of columns that all stand at or below that height (cells only ever go down). A level
    // move at that height need only lower the cells outside these spans, and need only look at
    // rows whose reach begins at or before `below` or ends at or after `beyond` (column
    // positions, (x - x0) / res - 0.5, of the cells next to the span; below = +infinity on a
    // row without a span). This keeps long chains of short moves fast: each move adds a sliver
    // to a few rows. Valid until a level move at another height, or Init.
    struct Reached {
        double z = 0;
        std::vector<int> c0, c1; // c0 > c1 for none
        std::vector<double> below, beyond;
        int j_lo = 0, j_hi = -1; // the rows that may hold a span
    } reached_;
    // Each row's reach for the move being swept, whether it may gain cells (1 or 0), and the
    // rows that need a look.
    std::vector<double> xl_, xr_, gains_;
    std::vector<int> look_;
    // Per move of a run along Y: its length and the first and last rows its sweep looks at;
    // and the columns within the tool's radius of the run, the most a row can take.
    struct AcrossMoves {
        std::vector<double> len, row_lo, row_hi;
        int c0 = 0, c1 = -1;
    } across_;
    // The half-widths of the discs at the ends of recent level moves (DiscWidths).
    struct DiscRows {
        double cy = 0, r = 0;
        int j0 = 0;
        std::vector<double> w;
    } discs_[2];
};

// The rows of the region within distance r of the segment from (ax, ay) to (bx, by) (a
// capsule): what is computed once for the segment, then each row's span.
class CapsuleRows {
public:
    CapsuleRows(double ax, double ay, double bx, double by, double r);

    // The part of the row y within reach: false when there is none, else [xl, xr]. The
    // capsule is the hull of the discs at its ends and the band between them. Without the
    // start's disc (`with_start` false) the span may come out shorter, by what lies only in
    // that disc.
    bool Span(double y, double& xl, double& xr, bool with_start = true) const {
        xl = HUGE_VAL;
        xr = -HUGE_VAL;
        if (with_start || !band_)
            Disc(ax_, y - ay_, xl, xr);
        if (!band_)
            return xl <= xr;
        Disc(bx_, y - by_, xl, xr);
        // Along the segment s = (x - ax) ux + (y - ay) uy lies in [0, len]; across it
        // n = -(x - ax) uy + (y - ay) ux lies in [-r, r]. Each bounds x from both sides,
        // unless the segment runs along or across the row.
        double dy = y - ay_, lo = -HUGE_VAL, hi = HUGE_VAL;
        if (ux_ != 0) {
            double s0 = ax_ - dy * uy_ * inv_ux_, s1 = s0 + len_ * inv_ux_;
            lo = std::max(lo, std::min(s0, s1));
            hi = std::min(hi, std::max(s0, s1));
        } else if (dy * uy_ < 0 || dy * uy_ > len_) {
            return xl <= xr;
        }
        if (uy_ != 0) {
            double n0 = ax_ + (dy * ux_ - r_) * inv_uy_, n1 = ax_ + (dy * ux_ + r_) * inv_uy_;
            lo = std::max(lo, std::min(n0, n1));
            hi = std::min(hi, std::max(n0, n1));
        } else if (std::fabs(dy * ux_) > r_) {
            return xl <= xr;
        }
        if (lo <= hi) {
            xl = std::min(xl, lo);
            xr = std::max(xr, hi);
        }
        return xl <= xr;
    }

    // Span for each of `rows` rows of a grid from row j0 on, into xl[k] and xr[k]: the same
    // values wherever Span finds a part within reach (elsewhere xl[k] > xr[k]), worked out
    // without branching. start_w and end_w hold the half-widths of the discs on these rows
    // (DiscHalfWidths; start_w is not read without the start's disc). For capsules whose
    // arithmetic stays finite (Regular()).
    void Reaches(const GridFrame& frame, int j0, int rows, bool with_start, const double* start_w,
                 const double* end_w, double* xl, double* xr) const;
    // Every coordinate and the radius within a million kilometres, and the reciprocals of the
    // direction bounded: nothing in Span overflows or comes out NaN.
    bool Regular() const;
    // The ends differ: the capsule has a band between its discs.
    bool HasBand() const { return band_; }

private:
    void Disc(double cx, double dy, double& xl, double& xr) const {
        double h = r2_ - dy * dy;
        if (h < 0)
            return;
        double w = std::sqrt(h);
        xl = std::min(xl, cx - w);
        xr = std::max(xr, cx + w);
    }

    double ax_, ay_, bx_, by_, r_, r2_;
    double len_ = 0, ux_ = 0, uy_ = 0, inv_ux_ = 0, inv_uy_ = 0;
    bool band_ = false; // the ends differ
};

// The half-width of the disc of radius r about a centre at Y cy on each of `rows` rows of the
// frame from row j0 on, as CapsuleRows works it out; -1 for a row the disc does not reach.
void DiscHalfWidths(const GridFrame& frame, int j0, int rows, double cy, double r, double* w);

// The same for one row, for callers with a single row.
bool CapsuleRowSpan(double ax, double ay, double bx, double by, double r, double y, double& xl,
                    double& xr);

} // namespace korvel
