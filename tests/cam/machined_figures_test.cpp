// What the reference programs of the top face and of bores leave of the stock, read from their
// moves as LinuxCNC's interpreter follows them: the top face at its height over the whole
// block, each bore's wall at its finished diameter and its floor at its depth, chamfers of
// the asked width, and nothing cut deeper or wider than that (within 0.05 mm).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "cam_support.h"
#include "model/atttool.h"
#include "model/block.h"
#include "move_trace.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

constexpr double kTol = 0.05;

// The tools of the project as they cut: face mills with their dead zone, drills with a
// 118-degree point, countersinks with their 90-degree cone from the tip diameter.
test::ToolShape ShapeOf(int place) {
    AttachedToolData t;
    GetAttToolDataExt(place, t);
    test::ToolShape s;
    s.radius = t.dia / 2;
    if (t.type == kFaceMillRough || t.type == kFaceMillFine)
        s.dead_radius = t.dia2 / 2;
    if (t.type == kDrillTool || t.type == kCenterDrill)
        s.tip_slope = std::tan(31.0 * M_PI / 180);
    if (t.type == kCountersink) {
        s.tip_radius = t.dia / 2 - t.length;
        s.tip_slope = 1;
    }
    return s;
}

class MachinedFigures : public test::CamTest {
protected:
    // Opens a reference case and traces its expected program.
    void Load(const std::string& name) {
        std::string dir = std::string(KORVEL_SOURCE_DIR) + "/tests/cam/" + name;
        ASSERT_EQ(Open(dir + "/input.kvp"), 1);
        moves_ = test::TraceMoves(test::Slurp(dir + "/expected.cnc"));
        ASSERT_FALSE(moves_.empty()) << name << ": the interpreter does not follow the program";
        points_ = test::CutPoints(moves_, 0.5);
    }

    // The top face cut to z over the whole block, and nowhere deeper.
    void ExpectTopFaceAt(double z) {
        BlockRecord b = GetBlock();
        test::HeightMap map =
            test::CutHeights(points_, b.x, b.y, b.x + b.length, b.y + b.width, 1.0, ShapeOf);
        int off = 0;
        for (int j = 0; j < map.ny; ++j)
            for (int i = 0; i < map.nx; ++i)
                if (!(std::fabs(map.At(i, j) - z) <= kTol) && off++ == 0)
                    ADD_FAILURE() << "the face at X" << map.X(i) << " Y" << map.Y(j) << " is at "
                                  << map.At(i, j) << ", not " << z;
        EXPECT_EQ(off, 0);
        EXPECT_GE(test::LowestCut(points_, [](const test::TracePoint&) { return true; }),
                  z - 0.001);
    }

    struct BoreFigures {
        double x, y, dia, floor;
        std::set<int> tools; // the places that cut the bore
        double core = 0;     // the radius within which the floor is not checked
    };

    // The wall reached all round at the diameter, the floor at its depth, and the stock beyond
    // the wall untouched by the bore's tools.
    void ExpectBore(const BoreFigures& b) {
        const double R = b.dia / 2;
        // The bore's own tools, wherever they overlap the bore.
        auto own = [&](const test::TracePoint& p) {
            return b.tools.count(p.tool) > 0 &&
                   std::hypot(p.x - b.x, p.y - b.y) < R + ShapeOf(p.tool).radius;
        };
        // How far from the centre the cut reaches along each of 72 directions: the wall all
        // round.
        std::vector<double> reach(72, -1);
        for (const test::TracePoint& p : points_) {
            if (!own(p))
                continue;
            double r = ShapeOf(p.tool).radius, dx = p.x - b.x, dy = p.y - b.y;
            for (int k = 0; k < 72; ++k) {
                double ux = std::cos(k * M_PI / 36), uy = std::sin(k * M_PI / 36);
                double along = dx * ux + dy * uy, across = dx * uy - dy * ux;
                if (std::fabs(across) <= r)
                    reach[k] = std::max(reach[k], along + std::sqrt(r * r - across * across));
            }
        }
        EXPECT_NEAR(*std::max_element(reach.begin(), reach.end()), R, kTol)
            << "the widest cut of the bore at X" << b.x;
        EXPECT_NEAR(*std::min_element(reach.begin(), reach.end()), R, kTol)
            << "the wall of the bore at X" << b.x << " is not reached all round";
        EXPECT_NEAR(test::LowestCut(points_, own), b.floor, kTol);
        EXPECT_GE(test::LowestCut(points_, own), b.floor - 0.001);
        std::vector<test::TracePoint> mine;
        for (const test::TracePoint& p : points_)
            if (own(p))
                mine.push_back(p);
        double grid = std::max(0.5, R / 40);
        test::HeightMap map = test::CutHeights(mine, b.x - R - 5, b.y - R - 5, b.x + R + 5,
                                               b.y + R + 5, grid, ShapeOf);
        int off = 0;
        for (int j = 0; j < map.ny; ++j)
            for (int i = 0; i < map.nx; ++i) {
                double rho = std::hypot(map.X(i) - b.x, map.Y(j) - b.y), h = map.At(i, j);
                bool floor = rho <= R - 0.5 && rho >= b.core;
                bool outside = rho >= R + kTol;
                if ((floor && !(std::fabs(h - b.floor) <= kTol)) ||
                    (outside && h < GetBlock().z + GetBlock().height - 0.001)) {
                    if (off++ == 0)
                        ADD_FAILURE() << "at X" << map.X(i) << " Y" << map.Y(j) << " the bore "
                                      << "leaves " << h;
                }
            }
        EXPECT_EQ(off, 0);
    }

    std::vector<test::TracedMove> moves_;
    std::vector<test::TracePoint> points_;
};

TEST_F(MachinedFigures, TopFaceRoughPassesEndAtTheMillDownDepth) {
    Load("topface-rough");
    ExpectTopFaceAt(-3);
}

TEST_F(MachinedFigures, TopFaceRoughFinishedInMeanderPassesEndsAtItsHeight) {
    Load("topface-rough-finish-meander");
    ExpectTopFaceAt(-2);
}

TEST_F(MachinedFigures, TopFaceFineFinishedEndsAtItsHeight) {
    Load("topface-fine");
    ExpectTopFaceAt(-1);
}

TEST_F(MachinedFigures, EndMillRingsAndPlungeCutBoresToSize) {
    Load("bore-end-mill");
    ExpectBore({50, 40, 30, -12, {1}});
    ExpectBore({20, 60, 10, -8, {1}});
}

TEST_F(MachinedFigures, FaceMillHelicesCutABoreToSize) {
    Load("bore-face-mill");
    ExpectBore({100, 75, 110, -6, {1}});
}

TEST_F(MachinedFigures, FaceMillAfterAPredrillAndAFineWallCutABoreToSize) {
    Load("bore-face-mill-predrill-r-words");
    // Within 3.05 of the centre the face mill's dead zone never passes; the pre-drill (6.8)
    // clears that core, down to its point.
    ExpectBore({60, 50, 64, -6, {1, 2, 3}, 3.1});
}

TEST_F(MachinedFigures, FineWallMeetsTheToleranceOffsetAndTheChamferItsWidth) {
    Load("bore-fine-chamfer");
    ExpectBore({50, 40, 30.02, -12, {1, 2}});
    // The countersink's cone at the surface (Z 0) reaches the nominal radius + the chamfer.
    test::ToolShape cs = ShapeOf(3);
    double reach = 0;
    for (const test::TracePoint& p : points_)
        if (p.tool == 3)
            reach = std::max(reach, std::hypot(p.x - 50, p.y - 40) + cs.tip_radius - p.z);
    EXPECT_NEAR(reach, 15 + 1, kTol);
}

TEST_F(MachinedFigures, ContourOnlyRoughingCutsTheWallToSize) {
    for (const char* name : {"bore-nemr", "bore-nemr-r-words"}) {
        SCOPED_TRACE(name);
        Load(name);
        // Bore 2 (tolerance offset -50): the end mill's centre plunges and circle clear it all.
        ExpectBore({50, 40, 29.9, -12, {1}});
        // Bore 3: the face mill's single helix leaves a core of (30 - 25) on the radius.
        ExpectBore({120, 90, 110, -6, {2}, 5.1});
    }
}

TEST_F(MachinedFigures, PredrilledEndMillBoreIsCutToSize) {
    Load("predrill-bore");
    ExpectBore({40, 40, 40, -10, {2, 4}});
}

} // namespace
} // namespace korvel
