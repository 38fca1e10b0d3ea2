// The stock as a height field: one height per grid cell over the block, lowered wherever the
// tool's lower surface passes below it. Each cell also keeps the program line that last
// lowered it, and the magazine place of the milling tool that did (0 when it was not a milling
// tool). Heights are not held at the block's bottom: a cell cut through records how deep the
// tool went, and material stands in a cell only between the bottom and its height.
#pragma once

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
    void Row(const Move& m, int j, int i0, int i1, SweepContact& contact);
    void LevelFlatRow(const Move& m, int j, int i0, int i1, SweepContact& contact);

    GridFrame frame_;
    double top_ = 0, bottom_ = 0;
    std::vector<float> height_;
    std::vector<std::int32_t> line_;
    std::vector<std::uint8_t> mill_;
    // The last level move of a flat tool: every cell within its reach already stands at or
    // below its height, so a following move of the same tool at the same height only needs
    // the cells the last one did not reach. This keeps long chains of short moves fast.
    struct Level {
        bool valid = false;
        double radius = 0, z = 0;
        double ax = 0, ay = 0, bx = 0, by = 0;
    } last_;
};

// The part of the row y that lies within distance r of the segment from (ax, ay) to (bx, by):
// false when none does, else [xl, xr].
bool CapsuleRowSpan(double ax, double ay, double bx, double by, double r, double y, double& xl,
                    double& xr);

} // namespace korvel
