#include "move_trace.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "support.h"
#include "support_rs274.h"

namespace korvel::test {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The numbers between the parentheses of a canonical call.
std::vector<double> Arguments(const std::string& line, const std::string& call) {
    std::vector<double> out;
    std::size_t at = line.find(call + "(");
    if (at == std::string::npos)
        return out;
    std::istringstream in(line.substr(at + call.size() + 1));
    double v;
    char sep;
    while (in >> v) {
        out.push_back(v);
        if (!(in >> sep) || sep != ',')
            break;
    }
    return out;
}

// The angle an arc sweeps, in radians, positive.
double Sweep(const TracedMove& m) {
    double a0 = std::atan2(m.y0 - m.cy, m.x0 - m.cx), a1 = std::atan2(m.y1 - m.cy, m.x1 - m.cx);
    double sweep = m.rotation > 0 ? a1 - a0 : a0 - a1;
    while (sweep <= 1e-9)
        sweep += 2 * M_PI;
    return sweep + (std::abs(m.rotation) - 1) * 2 * M_PI;
}

} // namespace

std::vector<TracedMove> TraceMoves(const std::string& program) {
    std::vector<TracedMove> moves;
    char pattern[] = "/tmp/korvel-trace-XXXXXX";
    if (!mkdtemp(pattern))
        return moves;
    std::string dir = pattern;
    {
        std::ofstream tools(dir + "/tools.tbl");
        for (int t = 1; t <= 99; ++t)
            tools << "T" << t << " P" << t << " D5 Z0 ;place " << t << "\n";
        std::ofstream(dir + "/program.ngc", std::ios::binary) << ForLinuxCnc(program);
    }
    std::string out, err;
    int status =
        RunCommand("rs274 -t " + dir + "/tools.tbl -g " + dir + "/program.ngc", &out, &err);
    std::filesystem::remove_all(dir);
    if (status != 0 || MachineComplaint(program) != "")
        return moves;
    std::istringstream lines(out);
    std::string line;
    double x = 0, y = 0, z = 0;
    int tool = 0;
    while (std::getline(lines, line)) {
        if (auto a = Arguments(line, "CHANGE_TOOL"); !a.empty()) {
            tool = static_cast<int>(a[0]);
            continue;
        }
        TracedMove m;
        m.x0 = x, m.y0 = y, m.z0 = z, m.tool = tool;
        if (auto a = Arguments(line, "STRAIGHT_TRAVERSE"); a.size() >= 3) {
            m.x1 = a[0], m.y1 = a[1], m.z1 = a[2];
        } else if (auto a = Arguments(line, "STRAIGHT_FEED"); a.size() >= 3) {
            m.feed = true;
            m.x1 = a[0], m.y1 = a[1], m.z1 = a[2];
        } else if (auto a = Arguments(line, "ARC_FEED"); a.size() >= 6) {
            m.feed = m.arc = true;
            m.x1 = a[0], m.y1 = a[1], m.cx = a[2], m.cy = a[3];
            m.rotation = static_cast<int>(a[4]);
            m.z1 = a[5];
        } else {
            continue;
        }
        moves.push_back(m);
        x = m.x1, y = m.y1, z = m.z1;
    }
    return moves;
}

std::vector<TracePoint> CutPoints(const std::vector<TracedMove>& moves, double step) {
    std::vector<TracePoint> points;
    for (const TracedMove& m : moves) {
        if (!m.feed)
            continue;
        if (!m.arc) {
            double len = std::hypot(m.x1 - m.x0, m.y1 - m.y0, m.z1 - m.z0);
            int n = static_cast<int>(std::ceil(len / step)) + 1;
            for (int k = 0; k <= n; ++k) {
                double t = static_cast<double>(k) / n;
                points.push_back({m.x0 + t * (m.x1 - m.x0), m.y0 + t * (m.y1 - m.y0),
                                  m.z0 + t * (m.z1 - m.z0), m.tool});
            }
            continue;
        }
        double r = std::hypot(m.x0 - m.cx, m.y0 - m.cy);
        double a0 = std::atan2(m.y0 - m.cy, m.x0 - m.cx), sweep = Sweep(m);
        int n = static_cast<int>(std::ceil(r * sweep / step)) + 1;
        double dir = m.rotation > 0 ? 1 : -1;
        for (int k = 0; k <= n; ++k) {
            double t = static_cast<double>(k) / n, a = a0 + dir * t * sweep;
            points.push_back(
                {m.cx + r * std::cos(a), m.cy + r * std::sin(a), m.z0 + t * (m.z1 - m.z0), m.tool});
        }
    }
    return points;
}

double LowestCut(const std::vector<TracePoint>& points,
                 const std::function<bool(const TracePoint&)>& where) {
    double low = kInf;
    for (const TracePoint& p : points)
        if (where(p) && p.z < low)
            low = p.z;
    return low;
}

double FarthestReach(const std::vector<TracePoint>& points, double cx, double cy,
                     const ToolShapes& tools, const std::function<bool(const TracePoint&)>& where) {
    double far = -1;
    for (const TracePoint& p : points)
        if (where(p))
            far = std::max(far, std::hypot(p.x - cx, p.y - cy) + tools(p.tool).radius);
    return far;
}

HeightMap CutHeights(const std::vector<TracePoint>& points, double x0, double y0, double x1,
                     double y1, double grid, const ToolShapes& tools) {
    HeightMap map;
    map.x0 = x0, map.y0 = y0, map.grid = grid;
    map.nx = static_cast<int>(std::floor((x1 - x0) / grid + 1e-9)) + 1;
    map.ny = static_cast<int>(std::floor((y1 - y0) / grid + 1e-9)) + 1;
    map.z.assign(static_cast<std::size_t>(map.nx) * map.ny, kInf);
    for (const TracePoint& p : points) {
        ToolShape t = tools(p.tool);
        double r = t.radius;
        int i0 = std::max(0, static_cast<int>(std::floor((p.x - r - x0) / grid)));
        int i1 = std::min(map.nx - 1, static_cast<int>(std::ceil((p.x + r - x0) / grid)));
        int j0 = std::max(0, static_cast<int>(std::floor((p.y - r - y0) / grid)));
        int j1 = std::min(map.ny - 1, static_cast<int>(std::ceil((p.y + r - y0) / grid)));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i) {
                double rho = std::hypot(map.X(i) - p.x, map.Y(j) - p.y);
                if (rho > r || rho < t.dead_radius)
                    continue;
                double& cell = map.z[static_cast<std::size_t>(j) * map.nx + i];
                cell = std::min(cell, p.z + t.tip_slope * std::max(0.0, rho - t.tip_radius));
            }
    }
    return map;
}

} // namespace korvel::test
