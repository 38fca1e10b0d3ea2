// The moves of a program as LinuxCNC's interpreter reads them (its canonical trace of rapid,
// straight and arc moves), independent of how Korvel wrote them, and the figures a machinist
// checks on them: how deep each tool cut, how far from a centre it reached, which points of an
// area it swept at a height. Tool length offsets are 0, so the trace is in program coordinates.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korvel::test {

struct TracedMove {
    bool feed = false; // false: a rapid move
    bool arc = false;
    double x0 = 0, y0 = 0, z0 = 0; // start
    double x1 = 0, y1 = 0, z1 = 0; // end
    double cx = 0, cy = 0;         // arc centre
    int rotation = 0;              // arcs: 1 counter-clockwise, -1 clockwise (more: extra turns)
    int tool = 0;                  // the tool in the spindle
};

struct TracePoint {
    double x = 0, y = 0, z = 0;
    int tool = 0;
};

// The moves of a program; empty when the interpreter could not be run or refused the program.
std::vector<TracedMove> TraceMoves(const std::string& program);

// Points along the feed moves (cuts) every `step` or closer, ends included.
std::vector<TracePoint> CutPoints(const std::vector<TracedMove>& moves, double step);

// How a tool cuts around its tip point: within `radius` of its axis and outside its dead zone
// (a face mill's centre without inserts); flat out to `tip_radius`, rising beyond it by
// `tip_slope` per unit of radius (0 for a flat end, 0.6 for a 118-degree drill point, 1 for a
// 90-degree countersink).
struct ToolShape {
    double radius = 0;
    double dead_radius = 0;
    double tip_radius = 0;
    double tip_slope = 0;
};
using ToolShapes = std::function<ToolShape(int tool)>;

// The lowest Z of the cut points that satisfy `where`; +infinity when none does.
double LowestCut(const std::vector<TracePoint>& points,
                 const std::function<bool(const TracePoint&)>& where);

// The farthest reach from (cx, cy) of the cutting edge (point distance + the tool's radius) over
// the cut points that satisfy `where`; -1 when none does.
double FarthestReach(const std::vector<TracePoint>& points, double cx, double cy,
                     const ToolShapes& tools, const std::function<bool(const TracePoint&)>& where);

// The lowest surface the cuts leave over each point of a grid on the rectangle [x0, x1] x
// [y0, y1] (spacing `grid`); +infinity where nothing cut.
struct HeightMap {
    double x0 = 0, y0 = 0, grid = 1;
    int nx = 0, ny = 0;
    std::vector<double> z;
    double X(int i) const { return x0 + i * grid; }
    double Y(int j) const { return y0 + j * grid; }
    double At(int i, int j) const { return z[j * nx + i]; }
};
HeightMap CutHeights(const std::vector<TracePoint>& points, double x0, double y0, double x1,
                     double y1, double grid, const ToolShapes& tools);

} // namespace korvel::test
