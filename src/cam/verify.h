// Verification of a G-code program against the project it was made for: the program is run
// on a simulated stock block (cam/sim_program.h) and the result is compared, cell by cell, with
// the part the model describes (cam/intended_part.h).
//
// Where the program is judged:
// - a gouge: a cell cut deeper than the model allows, by more than the tolerance;
// - left stock: a cell left higher than the model asks, by more than the tolerance. Where a
//   milled floor has an inside corner that the tools the program milled it with cannot reach
//   (the program's smallest milling tool on that floor decides), material may stay;
// - both are judged with a lateral tolerance: a cell only gouges when it lies below the lowest
//   allowed height of every point within (tolerance + half a cell) around it, and keeps too much
//   only when it lies above the highest of them, so that a correct program is clean at any
//   resolution although cells straddle walls;
// - every problem the simulation notes: rapids through material, feed moves with the spindle
//   off, tapping against the spindle, moves into fixtures or out of the working space, tool
//   changes to empty places, missing tool length compensation, another work offset, and lines
//   the control cannot run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cam/sim_grid.h"
#include "cam/sim_program.h"

namespace korvel {

struct VerifyOptions {
    double res = 0;       // cell size in the user unit; 0: 0.1 mm, coarser for large blocks
    double tolerance = 0; // in the user unit; 0: 0.05 mm
    std::size_t max_cells = 16000000; // a finer grid is refused
    long max_moves = 0;               // 0: no limit (see SimSetup)
};

// The default cell size for a block: 0.1 mm, or the size that keeps the grid under 4,000,000
// cells when that is coarser. In the user unit.
double DefaultVerifyResolution(double length, double width);

// What the comparison found for one object of the model.
struct VerifyFeature {
    int id = 0;
    int type = 0;
    double gouge = 0; // the deepest cut below what the model allows
    double gouge_x = 0, gouge_y = 0;
    int gouge_line = 0; // the program line that cut it
    double left = 0;    // the most material above what the model allows
    double left_x = 0, left_y = 0;
};

struct VerifyResult {
    GridFrame frame;
    double tolerance = 0;
    SimRun run;
    // Every object some of whose cells deviate from the model at all (within the tolerance or
    // not), by ascending ID.
    std::vector<VerifyFeature> features;
    // Per cell: the simulated height less the limit it passes (negative: cut too deep,
    // positive: left too high), 0 within the limits, NaN where the model says nothing.
    std::vector<float> diff;
    std::vector<float> height;         // the simulated heights
    double deepest = 0;                // the largest cut below the model, within tolerance or not
    double most_left = 0;              // the most material left above it
    std::vector<std::string> problems; // one line each, as the report prints them
    bool clean = false;
};

// Simulates the program on the current project's stock and compares the result with the
// model. Returns 0 after a message when the check cannot run (no block; a grid too fine), else
// 1 with the result.
int VerifyProgram(std::string_view program, const VerifyOptions& options, VerifyResult& result);

// The short report: the program and the grid, every problem, the largest deviations and the
// verdict, each line ended by a line feed.
std::string VerifyReport(const VerifyResult& result, const std::string& program_name);

} // namespace korvel
