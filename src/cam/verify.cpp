// Verification: the simulation set up from the project, the intended part, the corners the
// tools could not reach, and the cell-by-cell comparison.
#include "cam/verify.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/text.h"
#include "base/units.h"
#include "cam/intended_part.h"
#include "cam/sim_stock.h"
#include "cam/sim_tool.h"
#include "cam/verify_report.h"
#include "model/block.h"
#include "model/fixture.h"
#include "model/heights.h"
#include "model/machine.h"
#include "model/registry.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr double kDefaultCellMM = 0.1;
constexpr double kDefaultToleranceMM = 0.05;
constexpr double kDefaultCells = 4000000;

double FromMM(double mm) { return UserUnit() == kUnitInch ? mm / kMMPerInch : mm; }

GridFrame FrameOf(const BlockRecord& b, double res) {
    GridFrame f;
    f.x0 = b.x;
    f.y0 = b.y;
    f.res = res;
    f.nx = std::max(1, static_cast<int>(std::ceil(b.length / res - 1e-9)));
    f.ny = std::max(1, static_cast<int>(std::ceil(b.width / res - 1e-9)));
    return f;
}

// The machine and the magazine as the project sets them up.
SimSetup SetupOf(const BlockRecord& b, const GridFrame& frame, double tolerance) {
    SimSetup s;
    MachineSetup m = GetMachine();
    Coordinates c = GetCoordinates();
    double top = b.z + b.height;
    // Without a machine position of the work zero the set-up is not known: the working space
    // is not checked, and the tool starts (and returns by G28) at the safe height.
    s.check_workspace = c.wz_x != 0 || c.wz_y != 0 || c.wz_z != 0;
    s.zero_x = c.wz_x;
    s.zero_y = c.wz_y;
    s.zero_z = c.wz_z;
    s.travel_x = m.ws_x;
    s.travel_y = m.ws_y;
    s.travel_z = m.ws_z;
    s.home_z = std::max(top + m.corridor, s.check_workspace ? -c.wz_z : top + m.corridor);
    s.home_x = -c.wz_x;
    s.home_y = -c.wz_y;
    s.work_offset = c.work_offset;
    s.project_inch = UserUnit() == kUnitInch;
    for (int place = 1; place <= 99; ++place)
        s.attached[static_cast<std::size_t>(place)] =
            SimToolOfPlace(place, s.tools[static_cast<std::size_t>(place)]);
    for (int i = 0; i < kMaxFixtures; ++i) {
        Fixture f;
        if (!GetFixture(f, i))
            continue;
        s.fixtures.push_back(SimFixture{f.id, std::min(f.x, f.x + f.lx), std::min(f.y, f.y + f.ly),
                                        std::fabs(f.lx), std::fabs(f.ly), f.wz});
    }
    s.tolerance = tolerance;
    s.arc_error = frame.res / 4;
    s.equal_tol = FromMM(0.001);
    s.radius_tol = FromMM(0.025);
    return s;
}

// Where a milled floor has inside corners that the program's tools cannot reach, the part may
// keep material: for each floor with material left on it, the smallest milling tool that cut
// cells of the floor below its rim (and not below the floor: engraving does not count) decides
// which cells a tool of its radius can reach without touching anything standing above the
// floor (a morphological opening of the free space); the cells of the floor it cannot reach
// may keep material.
void RelaxUnreachable(IntendedPart& part, const SimStock& stock, const SimSetup& setup,
                      double tol) {
    const GridFrame& f = part.frame;
    struct Use {
        int floor = -1;
        bool left = false;
        double radius = HUGE_VAL;
        int i0 = 0, i1 = -1, j0 = 0, j1 = -1;
    };
    std::vector<Use> use(kMaxObjectId + 1);
    for (std::size_t n = 0; n < part.floors.size(); ++n)
        use[static_cast<std::size_t>(part.floors[n].id)].floor = static_cast<int>(n);
    auto on_floor = [&](std::size_t k, const Use& u) {
        return u.floor >= 0 &&
               std::fabs(part.hi[k] - part.floors[static_cast<std::size_t>(u.floor)].z) < 1e-4;
    };
    const float* height = stock.Heights().data();
    const float* hi = part.hi.data();
    const std::uint16_t* owners = part.owner.data();
    const std::uint8_t* places = stock.MillPlaces().data();
    for (int j = 0; j < f.ny; ++j) {
        std::size_t row = f.Index(0, j);
        for (int i = 0; i < f.nx; ++i) {
            std::size_t k = row + static_cast<std::size_t>(i);
            Use& u = use[owners[k]];
            if (u.floor < 0)
                continue;
            const IntendedPart::Floor& fl = part.floors[static_cast<std::size_t>(u.floor)];
            if (std::fabs(hi[k] - fl.z) >= 1e-4)
                continue;
            if (u.i1 < u.i0) {
                u.i0 = u.i1 = i;
                u.j0 = u.j1 = j;
            }
            u.i0 = std::min(u.i0, i);
            u.i1 = std::max(u.i1, i);
            u.j1 = j;
            double h = height[k];
            u.left |= h > hi[k] + tol;
            int place = places[k];
            if (place > 0 && h < fl.rim - tol && h >= fl.z - tol)
                u.radius = std::min(u.radius, setup.tools[static_cast<std::size_t>(place)].radius);
        }
    }
    for (std::size_t id = 0; id < use.size(); ++id) {
        const Use& u = use[id];
        if (!u.left || !(u.radius < HUGE_VAL) || u.radius <= f.res / 2)
            continue;
        double rt = u.radius, z = part.floors[static_cast<std::size_t>(u.floor)].z;
        int m = static_cast<int>(std::ceil(rt / f.res)) + 2;
        int wi0 = u.i0 - m, wj0 = u.j0 - m;
        int w = u.i1 - u.i0 + 1 + 2 * m, h = u.j1 - u.j0 + 1 + 2 * m;
        std::vector<unsigned char> blocked(static_cast<std::size_t>(w) * h, 0);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                int gi = wi0 + i, gj = wj0 + j;
                if (gi >= 0 && gj >= 0 && gi < f.nx && gj < f.ny)
                    blocked[static_cast<std::size_t>(j) * w + i] =
                        part.hi[f.Index(gi, gj)] > z + tol;
            }
        // Tool centres whose disk stays clear of everything above the floor, then the cells
        // such a disk covers.
        std::vector<float> d = SquaredDistanceToMarked(blocked, w, h);
        double fit = (rt / f.res + 0.5) * (rt / f.res + 0.5);
        std::vector<unsigned char> centre(d.size());
        for (std::size_t k = 0; k < d.size(); ++k)
            centre[k] = d[k] >= fit;
        d = SquaredDistanceToMarked(centre, w, h);
        double cover = (rt / f.res + 0.25) * (rt / f.res + 0.25);
        for (int gj = u.j0; gj <= u.j1; ++gj)
            for (int gi = u.i0; gi <= u.i1; ++gi) {
                std::size_t k = f.Index(gi, gj);
                if (part.owner[k] == id && on_floor(k, u) &&
                    d[static_cast<std::size_t>(gj - wj0) * w + (gi - wi0)] > cover)
                    part.hi[k] = std::numeric_limits<float>::infinity();
            }
    }
}

// Compares the stock with the intended part, cell by cell.
void Compare(const IntendedPart& part, const SimStock& stock, double tol, VerifyResult& r) {
    const GridFrame& f = part.frame;
    std::vector<float> lo = part.lo, hi = part.hi;
    int lateral = std::clamp(static_cast<int>(std::ceil(tol / f.res + 0.5 - 1e-9)), 1, 8);
    MinOverDisk(f, lo, lateral);
    MaxOverDisk(f, hi, lateral);
    std::vector<int> slot(kMaxObjectId + 1, -1);
    r.diff.assign(f.Cells(), std::numeric_limits<float>::quiet_NaN());
    r.height = stock.Heights();
    const float* height = r.height.data();
    const std::uint16_t* owners = part.owner.data();
    float* diff = r.diff.data();
    float deepest = 0, most_left = 0;
    for (int j = 0; j < f.ny; ++j) {
        std::size_t row = f.Index(0, j);
        for (int i = 0; i < f.nx; ++i) {
            std::size_t k = row + static_cast<std::size_t>(i);
            int owner = owners[k];
            if (owner == 0)
                continue;
            float h = height[k];
            float d = h < lo[k] ? h - lo[k] : h > hi[k] ? h - hi[k] : 0.0f;
            diff[k] = d;
            if (d == 0)
                continue;
            deepest = std::max(deepest, -d);
            most_left = std::max(most_left, d);
            int& s = slot[static_cast<std::size_t>(owner)];
            if (s < 0) {
                s = static_cast<int>(r.features.size());
                int type = 0, index;
                FindID(owner, type, index);
                r.features.push_back(VerifyFeature{owner, type});
            }
            VerifyFeature& v = r.features[static_cast<std::size_t>(s)];
            if (-d > v.gouge) {
                v.gouge = -d;
                v.gouge_x = f.X(i);
                v.gouge_y = f.Y(j);
                v.gouge_line = stock.Lines()[k];
            }
            if (d > v.left) {
                v.left = d;
                v.left_x = f.X(i);
                v.left_y = f.Y(j);
            }
        }
    }
    r.deepest = deepest;
    r.most_left = most_left;
    std::sort(r.features.begin(), r.features.end(),
              [](const VerifyFeature& a, const VerifyFeature& b) { return a.id < b.id; });
}

} // namespace

double DefaultVerifyResolution(double length, double width) {
    double res = FromMM(kDefaultCellMM);
    double area = std::fabs(length * width);
    if (area / (res * res) >= kDefaultCells)
        res = std::sqrt(area / kDefaultCells);
    // Rounding up the cell counts may still reach the limit: coarsen until it does not.
    while (std::ceil(length / res) * std::ceil(width / res) >= kDefaultCells)
        res *= 1.001;
    return res;
}

int VerifyProgram(std::string_view program, const VerifyOptions& options, VerifyResult& result) {
    result = VerifyResult();
    RecalcZ();
    BlockRecord block = GetBlock();
    if (!block.valid) {
        ShowMessage("Please define the block first", "Block undefined", kMbOk | kMbIconError);
        return 0;
    }
    double tol = options.tolerance > 0 ? options.tolerance : FromMM(kDefaultToleranceMM);
    double res = options.res > 0 ? options.res : DefaultVerifyResolution(block.length, block.width);
    double cells = std::ceil(block.length / res) * std::ceil(block.width / res);
    if (!std::isfinite(res) || !(cells <= static_cast<double>(options.max_cells))) {
        ShowMessage(Sprintf("A cell size of %0.4f makes %0.0f cells; at most %zu can be simulated",
                            res, cells, options.max_cells),
                    "Resolution too fine", kMbOk | kMbIconError);
        return 0;
    }
    GridFrame frame = FrameOf(block, res);
    SimSetup setup = SetupOf(block, frame, tol);
    setup.max_moves = options.max_moves;
    SimStock stock;
    stock.Init(frame, block.z + block.height, block.z);
    SimulateProgram(program, setup, stock, result.run);
    IntendedPart part;
    BuildIntendedPart(frame, part);
    RelaxUnreachable(part, stock, setup, tol);
    result.frame = frame;
    result.tolerance = tol;
    Compare(part, stock, tol, result);
    result.problems = VerifyProblems(result, program);
    result.clean = result.problems.empty();
    return 1;
}

} // namespace korvel
