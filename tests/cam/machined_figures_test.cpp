// What the reference programs of the top face and of bores leave of the stock, as the program
// verification simulates them (cam/verify.h): each program verifies clean against its project
// (nothing cut deeper or left higher than the model within 0.05 mm), the top face lies at its
// height over the whole block, each bore's floor lies at its depth and its wall at its finished
// diameter all round; and the verification does see a top face, a floor or a wall 0.1 mm off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "cam/verify.h"
#include "cam_support.h"
#include "model/block.h"
#include "support_verify.h"

namespace korvel {
namespace {

constexpr double kTol = 0.05;

struct BoreFigures {
    double x, y;
    double dia;         // finished diameter
    double floor;       // Z of the floor
    double clear;       // radius of a hole in the floor that goes deeper (0: none)
    double chamfer = 0; // width of the edge's chamfer
};

struct FiguresCase {
    const char* name;
    double top; // Z of the milled top face
    std::vector<BoreFigures> bores;
};

const FiguresCase kCases[] = {
    {"topface-rough", -3, {}},
    {"topface-rough-finish-meander", -2, {}},
    {"topface-fine", -1, {}},
    {"bore-end-mill", 0, {{50, 40, 30, -12, 0}, {20, 60, 10, -8, 0}}},
    {"bore-face-mill", 0, {{100, 75, 110, -6, 0}}},
    // The pre-drill (6.8) at the centre goes below the floor.
    {"bore-face-mill-predrill-r-words", 0, {{60, 50, 64, -6, 3.5}}},
    // Tolerance offset 10: finished to 30.02.
    {"bore-fine-chamfer", 0, {{50, 40, 30.02, -12, 0, 1}}},
    // Tolerance offset -50 on bore 2: 29.9.
    {"bore-nemr", 0, {{50, 40, 29.9, -12, 0}, {120, 90, 110, -6, 0}}},
    {"bore-nemr-r-words", 0, {{50, 40, 29.9, -12, 0}, {120, 90, 110, -6, 0}}},
    // Drill 4 (5) stands on the floor of bore 2.
    {"predrill-bore", 0, {{40, 40, 40, -10, 2.6}, {105, 40, 70, -8, 0}}},
};

// The simulated height at a point: the cell it falls in.
float HeightAt(const VerifyResult& r, double x, double y) {
    int i = static_cast<int>(std::floor((x - r.frame.x0) / r.frame.res));
    int j = static_cast<int>(std::floor((y - r.frame.y0) / r.frame.res));
    i = std::clamp(i, 0, r.frame.nx - 1);
    j = std::clamp(j, 0, r.frame.ny - 1);
    return r.height[r.frame.Index(i, j)];
}

class MachinedFigures : public test::CamTest, public ::testing::WithParamInterface<FiguresCase> {
protected:
    static std::string Dir(const std::string& name) {
        return std::string(KORVEL_SOURCE_DIR) + "/tests/cam/" + name;
    }
    std::string Load(const std::string& name) {
        EXPECT_EQ(Open(Dir(name) + "/input.kvp"), 1);
        return test::Slurp(Dir(name) + "/expected.cnc");
    }
};

TEST_P(MachinedFigures, ProgramCutsThePartWithinTolerance) {
    const FiguresCase& c = GetParam();
    std::string program = Load(c.name);
    VerifyResult r;
    ASSERT_EQ(VerifyProgram(program, {}, r), 1);
    EXPECT_TRUE(r.clean) << VerifyReport(r, c.name);
    EXPECT_LE(r.deepest, kTol);
    EXPECT_LE(r.most_left, kTol);
    const double res = r.frame.res;
    if (c.bores.empty()) {
        // The top face: every cell of the block at the face's height.
        auto [low, high] = std::minmax_element(r.height.begin(), r.height.end());
        EXPECT_NEAR(*low, c.top, kTol);
        EXPECT_NEAR(*high, c.top, kTol);
    }
    for (const BoreFigures& b : c.bores) {
        SCOPED_TRACE(testing::Message() << "bore at X" << b.x << " Y" << b.y);
        const double R = b.dia / 2;
        // The floor: nothing left above it inside the wall, nothing below it but the hole.
        float high = -1e9f, low = 1e9f;
        for (double y = b.y - R; y <= b.y + R; y += res)
            for (double x = b.x - R; x <= b.x + R; x += res) {
                double rho = std::hypot(x - b.x, y - b.y);
                if (rho > R - res || rho < b.clear)
                    continue;
                float h = HeightAt(r, x, y);
                high = std::max(high, h);
                low = std::min(low, h);
            }
        EXPECT_NEAR(high, b.floor, kTol);
        EXPECT_NEAR(low, b.floor, kTol);
        // The wall: along 72 directions, the last cell cut below the surface (below the
        // chamfer) lies at the finished radius, within the tolerance and the cell the wall
        // passes through.
        const double top = GetBlock().z + GetBlock().height - b.chamfer;
        for (int k = 0; k < 72; ++k) {
            double ux = std::cos(k * M_PI / 36), uy = std::sin(k * M_PI / 36);
            double reach = 0;
            for (double rho = R - 1; rho <= R + 1 + b.chamfer; rho += res / 4)
                if (HeightAt(r, b.x + rho * ux, b.y + rho * uy) < top - kTol)
                    reach = rho;
            EXPECT_NEAR(reach, R, kTol + res) << "direction " << k * 5 << " degrees";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MachinedFigures, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FiguresCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// The same programs with one number changed by 0.1 mm: the verification finds the fault.
class MachinedFaults : public test::CamTest {
protected:
    std::string Load(const std::string& name) {
        std::string dir = std::string(KORVEL_SOURCE_DIR) + "/tests/cam/" + name;
        EXPECT_EQ(Open(dir + "/input.kvp"), 1);
        return test::Slurp(dir + "/expected.cnc");
    }
    static std::string Replaced(std::string text, const std::string& from, const std::string& to) {
        for (std::size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    }
};

TEST_F(MachinedFaults, ATopFaceCutTooDeepOrLeftTooHighIsSeen) {
    std::string program = Load("topface-fine");
    ASSERT_NE(program.find("G01 Z-1.  F"), std::string::npos) << program;
    EXPECT_TRUE(test::VerifiesWith(Replaced(program, "G01 Z-1.  F", "G01 Z-1.1  F"),
                                   {"Gouge: Block 1 is cut 0.1"}));
    EXPECT_TRUE(test::VerifiesWith(Replaced(program, "G01 Z-1.  F", "G01 Z-0.9  F"),
                                   {"Left stock: Block 1 keeps 0.1"}));
}

TEST_F(MachinedFaults, ABoreFloorLeftHighOrAWallCutNarrowIsSeen) {
    std::string program = Load("bore-end-mill");
    // The last layer of bore 2 (12 deep in 3 layers of 4) stops 0.1 above the floor.
    ASSERT_NE(program.find("G01 Z-12.  F"), std::string::npos) << program;
    EXPECT_TRUE(test::VerifiesWith(Replaced(program, "G01 Z-12.  F", "G01 Z-11.9  F"),
                                   {"Left stock: Cylindrical pocket 2 keeps 0.1"}));
    // The fine wall of bore 2 (30.02 finished, fine mill 10: circles of radius 10.01) cut on a
    // radius 0.15 smaller.
    program = Load("bore-fine-chamfer");
    ASSERT_NE(program.find("X39.99  Y40.  I10.01"), std::string::npos) << program;
    std::string narrow =
        Replaced(program, "X39.99  Y40.  Z-3.5  I-5.005", "X40.14  Y40.  Z-3.5  I-4.93");
    narrow = Replaced(narrow, "X39.99  Y40.  I10.01", "X40.14  Y40.  I9.86");
    narrow = Replaced(narrow, "X50.  Y40.  I5.005", "X50.  Y40.  I4.93");
    EXPECT_TRUE(test::VerifiesWith(narrow, {"Left stock: Cylindrical pocket 2 keeps"}));
}

} // namespace
} // namespace korvel
