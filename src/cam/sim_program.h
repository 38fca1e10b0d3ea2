// Runs a G-code program on the simulated stock the way a 3-axis control would, and notes
// every move that would hurt the part, the machine or a fixture. Read and executed: G00-G03
// (arcs with I/J or R, helical with Z), the drilling cycles G81, G82, G83, tapping G84 and
// G74 with G98/G99 and their retracts, G80, G28, G04, G17, G20/G21, G40, G43/G44/G49,
// G54-G59 and G59.1-G59.3, G61/G64, G90/G91, T words, M06, M03/M04/M05, M00/M01/M02/M30 and
// coolant and other machine M codes (which change nothing here). The words of a line take
// effect in a control's order, whatever their order on the line.
//
// The simulation knows nothing of the project: everything it needs is in a SimSetup, so that
// tests and fuzzing can run it on a made-up machine.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cam/sim_stock.h"
#include "cam/sim_tool.h"

namespace korvel {

struct SimFixture {
    int id = 0;
    double x = 0, y = 0;   // lower-left corner
    double lx = 0, ly = 0; // size
    double top = 0;        // Z of its top; it stands on the table below
};

struct SimSetup {
    double home_z = 0; // work Z of the tool at the start and after G28 Z
    double home_x = 0; // work X and Y that G28 X and Y go to
    double home_y = 0;
    int work_offset = 0;              // the work offset the project's coordinates belong to, 0..8
    int project_inch = 0;             // 1 when lengths are in inches
    std::array<SimTool, 100> tools{}; // by magazine place
    std::array<bool, 100> attached{}; // a tool sits in the place
    bool check_workspace = false;
    double zero_x = 0, zero_y = 0, zero_z = 0;       // machine position of the work zero
    double travel_x = 0, travel_y = 0, travel_z = 0; // signed travels from the machine's home
    std::vector<SimFixture> fixtures;
    double tolerance = 0.05;   // how far a tool may go into material on a rapid, or a fixture
    double arc_error = 0.025;  // chords of arcs stay this close to the arc
    double equal_tol = 0.001;  // end point equal to start point (a full circle)
    double radius_tol = 0.025; // an I/J arc's end may miss its circle by this much
    long max_moves = 0;        // 0: no limit; else the machine stops after so many moves
};

enum class SimProblem : int {
    kProgramError, // a line the control cannot run: the machine stops there
    kRapidThroughMaterial,
    kSpindleOff,      // a feed move with the spindle stopped
    kTapDirection,    // a tapping cycle with the spindle turning the other way
    kNoFeed,          // a feed move without a feed rate
    kFixture,         // the tool in a fixture
    kWorkspace,       // outside the machine's working space
    kNoTool,          // a feed move with no tool in the spindle
    kToolNotAttached, // a tool change to a place without a tool
    kLengthComp,      // cutting without (or with the wrong) tool length compensation
    kWorkOffset,      // a work offset other than the project's
    kCount
};

struct SimEvent {
    SimProblem kind = SimProblem::kProgramError;
    int line = 0;
    double x = 0, y = 0, z = 0; // where (machine coordinates for kWorkspace)
    double depth = 0;           // how deep into material or a fixture
    int detail = 0;             // fixture ID, tool place, H number or work offset index
    std::string text;           // program errors: the reason
};

struct SimRun {
    static constexpr int kKeptPerKind = 20;
    std::vector<SimEvent> events; // at most kKeptPerKind of each kind, in line order
    std::array<int, static_cast<int>(SimProblem::kCount)> counts{}; // lines with each problem
    int lines = 0;                                                  // lines read
    long moves = 0;         // straight moves swept (arcs count their chords)
    bool stopped = false;   // a program error stopped the machine
    std::vector<int> tools; // places loaded by M06, in order of first use
};

// Runs every line of the program (up to M02/M30, or a line that stops the machine).
void SimulateProgram(std::string_view program, const SimSetup& setup, SimStock& stock, SimRun& run);

} // namespace korvel
