// Level milling through whole compilations: depth steps and allowances, the tool choice with
// its limits, the question when contours come too close, chamfers, and random bosses that the
// program must leave standing while it clears the floor round them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "base/text.h"
#include "cam/gen_level.h"
#include "cam_support.h"
#include "geometry/primitives.h"
#include "geometry/random_geometry.h"
#include "model/project_state.h"
#include "paths/path_checks.h"
#include "platform/platform.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

using test::Section;

using test::Rng;

const char* const kPrologue = "VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\n"
                              "CENTERDRILLING OFF\n";

class LevelTest : public test::CamTest {
protected:
    // Compiles the project; the program, which must be made and accepted by the interpreter.
    std::string Make(const std::string& body) {
        EXPECT_EQ(OpenText(kPrologue + body + "ENDOFFILE\n"), 1);
        Messages();
        SetCompiled(false); // a new project, not the program of the last one
        int result = 0;
        std::string program = Compile(&result);
        std::vector<std::string> shown = Messages();
        EXPECT_EQ(result, 1) << (shown.empty() ? "" : shown.back());
        if (result == 1)
            test::ExpectMachineAccepts(program, "level");
        return program;
    }
    // The heights the feed moves of these lines cut at, without repeats, in order.
    static std::vector<double> CutHeights(const std::vector<std::string>& lines) {
        std::vector<double> zs;
        for (const std::string& line : lines) {
            std::size_t z = line.find(" Z");
            if (line.rfind("G01", 0) != 0 || z == std::string::npos)
                continue;
            double value = std::atof(line.c_str() + z + 2);
            if (zs.empty() || std::fabs(zs.back() - value) > 1e-9)
                zs.push_back(value);
        }
        return zs;
    }
    static std::set<std::string> ToolsCalled(const std::string& program) {
        std::set<std::string> tools;
        std::istringstream in(program);
        for (std::string line; std::getline(in, line);)
            if (std::size_t t = line.find("M06"); t != std::string::npos)
                tools.insert(line.substr(0, t));
        return tools;
    }
};

TEST_F(LevelTest, DepthStepsDivideTheHeightEvenly) {
    // Height 10 (the floor at -10), cutting depth 3 (the level's own rough-milling data): four
    // passes of 2.5.
    std::string program =
        Make("ATTTOOL 1 END_MILL_R10 0 0 0\nBLOCK 1 60 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\n"
             "TOPFACE 0 0\nCBULGE 2 1 16 10 30 20 0 0 0 0 0 0\nMPARAM_X 2 3000 700 5 200 3\n");
    EXPECT_EQ(CutHeights(Section(program, "(MILLING LEVEL 0)")),
              (std::vector<double>{-2.5, -5, -7.5, -10}));
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(LevelTest, QualityFiveStopsRoughingAboveBothAllowances) {
    // FFDZ 0.1 and RFDZ 0.1, height 10: rough milling ends at floor + 0.2 (N = int(9.8 / 5) + 1
    // = 2 passes of 4.9), rough finishing runs at floor + 0.1, the floor pass of the fine mill
    // at the floor.
    std::string program =
        Make("FFDZ 0.1\nRFDZ 0.1\nATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_F6 0 0 0\n"
             "BLOCK 1 60 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
             "CBULGE 2 1 16 10 30 20 0 0 0 5 0 0\n");
    EXPECT_EQ(CutHeights(Section(program, "(MILLING LEVEL 0)")), (std::vector<double>{-4.9, -9.8}));
    EXPECT_EQ(CutHeights(Section(program, "(ROUGH FINISHING LEVEL 0)")),
              (std::vector<double>{-9.9}));
    std::vector<double> fine = CutHeights(Section(program, "(FINISHING LEVEL 0)"));
    ASSERT_FALSE(fine.empty());
    EXPECT_EQ(fine.back(), -10);
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(LevelTest, ABulgeCoveringTheBlockLeavesNothingToMill) {
    std::string program =
        Make("ATTTOOL 1 END_MILL_R10 0 0 0\nBLOCK 1 60 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\n"
             "TOPFACE 0 0\nRBULGE 2 1 60 40 5 0 0 0 0 0 0 0 0 0\n");
    EXPECT_EQ(program.find("LEVEL"), std::string::npos);
    EXPECT_TRUE(ToolsCalled(program).empty()) << program;
}

TEST_F(LevelTest, WithoutARoughFaceMillConturingFallsBackToRoughEndMills) {
    std::string program =
        Make("CONTURING 57\nATTTOOL 1 END_MILL_R10 0 0 0\nBLOCK 1 60 40 20 0 0 -20 0 0 -1\n"
             "MATERIAL ST37-2\nTOPFACE 0 0\nCBULGE 2 1 16 5 30 20 0 0 0 0 0 0\n");
    EXPECT_EQ(ToolsCalled(program), (std::set<std::string>{"T1 "}));
}

TEST_F(LevelTest, EveryInsideFilletOfTheLevelLimitsTheTool) {
    // Two bulges: first the one with an inside fillet of R6, then a cylinder without inside
    // arcs. The fillet limits the finishing tool to 12 mm whatever comes after it: the 16 mm
    // fine end mill would gouge it.
    const std::string tools = "ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 4 END_MILL_F12 0 0 0\n"
                              "ATTTOOL 5 END_MILL_F16 0 0 0\n";
    const std::string fillet = "BULGE 2 1 10 8 5 0 0 0 2 0 0\nLINETO 30 8\nLINETO 30 32\n"
                               "LINETO 24 32\nLINETO 24 26\nCWTO 18 20 6\nLINETO 10 20\n"
                               "LINETO 10 8\nEND\n";
    const std::string cylinder = "CBULGE 3 1 12 5 60 20 0 0 0 2 0 0\n";
    const std::string block = "BLOCK 1 80 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";
    for (const std::string& bulges : {fillet + cylinder, cylinder + fillet}) {
        std::string program = Make(tools + block + bulges);
        std::set<std::string> called = ToolsCalled(program);
        EXPECT_TRUE(called.count("T4 ")) << program;
        EXPECT_FALSE(called.count("T5 ")) << program;
        EXPECT_TRUE(test::VerifiesClean(program));
    }
}

TEST_F(LevelTest, ContoursTooCloseAskAndGoOnOnlyWhenTold) {
    // Two cylinders 4 apart, a 10 mm tool: the contours overlap. No abandons the run; Yes makes
    // the program the user asked for, which cuts into both cylinders.
    const std::string body = "ATTTOOL 1 END_MILL_R10 0 0 0\nBLOCK 1 60 40 20 0 0 -20 0 0 -1\n"
                             "MATERIAL ST37-2\nTOPFACE 0 0\nCBULGE 2 1 12 5 20 20 0 0 0 0 0 0\n"
                             "CBULGE 3 1 12 5 36 20 0 0 0 0 0 0\nENDOFFILE\n";
    SetHeadlessAnswer(kIdNo);
    ASSERT_EQ(OpenText(kPrologue + body), 1);
    int result = 1;
    EXPECT_EQ(Compile(&result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages().back(), "[WARNING! Path intersection] Please check part for "
                                 "producability or select a smaller tool\nContinue anyway?");
    SetHeadlessAnswer(kIdYes);
    ASSERT_EQ(OpenText(kPrologue + body), 1);
    SetCompiled(false);
    std::string program = Compile(&result);
    EXPECT_EQ(result, 1);
    EXPECT_NE(program.find("(MILLING LEVEL 0)"), std::string::npos);
    std::vector<std::string> problems = test::VerifyProblemsOf(program);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].rfind("Gouge", 0), 0u) << problems[0];
}

TEST_F(LevelTest, WithoutOverlapTheScanLinesStayATooLWidthApart) {
    // OVERLAP 0 (a step of twice the contour offset) with a wall allowance: the lines would lie
    // 10.1 apart for a 10 mm tool and leave ridges; they lie at most 10 apart and the floor is
    // clean.
    std::string program =
        Make("OVERLAP 0\nFFDXY 0.1\nATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_F6 0 0 0\n"
             "BLOCK 1 60 41 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
             "CBULGE 2 1 8 5 30 20 0 0 0 2 0 0\n");
    std::set<double> ys;
    for (const std::string& line : Section(program, "(MILLING LEVEL 0)"))
        if (line.rfind("G00 X", 0) == 0 && line.find(" Y") != std::string::npos)
            ys.insert(std::atof(line.c_str() + line.find(" Y") + 2));
    ASSERT_GE(ys.size(), 3u);
    for (auto a = ys.begin(), b = std::next(a); b != ys.end(); ++a, ++b)
        EXPECT_LE(*b - *a, 10 + 1e-9);
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(LevelTest, AChamferAsHighAsTheBossIsMade) {
    std::string program =
        Make("ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 4 COUNTERSINK_90_D12.4 0 0 0\n"
             "BLOCK 1 60 40 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
             "RBULGE 2 1 16 12 2 20 14 0 2 0 0 0 0 0\n");
    EXPECT_NE(program.find("(CHAMFER BULGE ID 2)"), std::string::npos);
    // A low wall: the tip runs 0.01 above the floor.
    EXPECT_EQ(CutHeights(Section(program, "(CHAMFER BULGE ID 2)")), (std::vector<double>{-1.99}));
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(LevelTest, BulgeEqualsBlockOnlyForASharpRectangleOnTheBlock) {
    ASSERT_EQ(OpenText(std::string(kPrologue) +
                       "BLOCK 1 60 40 20 5 5 -20 0 0 -1\nRBULGE 2 1 60 40 5 5 5 0 0 0 0 0 0 0\n"
                       "RBULGE 3 1 60 40 5 5 5 2 0 0 0 0 0 0\n"
                       "RBULGE 4 1 59 40 5 5 5 0 0 0 0 0 0 0\nCBULGE 5 1 12 5 20 20 0 0 0 0 0 0\n"
                       "ENDOFFILE\n"),
              1);
    std::vector<int> equal;
    for (int b = 0; b < 6; ++b)
        equal.push_back(BulgeEqualsBlock(b));
    EXPECT_EQ(equal, (std::vector<int>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(BulgeEqualsBlock(-1), 0);
    EXPECT_EQ(BulgeEqualsBlock(32), 0);
}

// A random star-shaped free contour as BULGE lines. Inside arcs tighter than the smallest tool
// would leave no tool for the level; they become lines.
std::string StarBulge(Rng& rng, int id, double cx, double cy, double size) {
    test::Vertex closing;
    std::vector<test::Vertex> v = test::RandomStar(rng, cx, cy, size, rng.Int(4, 7), true, closing);
    v.push_back(closing);
    for (test::Vertex& p : v)
        if (p.kind == kCwArc && p.r < 2.5)
            p = test::Vertex{p.x, p.y, kLine, 0};
    closing = v.back();
    v.pop_back();
    std::string text;
    for (const std::string& line : test::FreeContour("BULGE", id, 1, v, closing))
        text += line + "\n";
    return text;
}

// Random bosses on one level, apart by more than the tool: rectangles, polygons, cylinders and
// free contours with arcs either way, any quality, scanned either way, with excess material
// removal. The program leaves every boss standing and clears the floor wherever the tool fits
// (the verification lets material stay only in corners the program's tools cannot reach).
TEST_F(LevelTest, RandomBossesStandAndTheFloorIsCleared) {
    Rng rng(2317);
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(Sprintf("case %d", c));
        std::string body = Sprintf("QUALITY %d\nOPTIMISE %s\nATTTOOL 1 END_MILL_R8 0 0 0\n"
                                   "ATTTOOL 2 END_MILL_R4 0 0 0\nATTTOOL 3 END_MILL_F6 0 0 0\n"
                                   "ATTTOOL 5 END_MILL_F3 0 0 0\n"
                                   "BLOCK 1 100 70 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\n"
                                   "TOPFACE 0 0\n",
                                   rng.Int(0, 5), rng.Coin() ? "ON" : "OFF");
        std::vector<std::array<double, 3>> placed;
        int id = 2;
        for (int tries = 0; tries < 40 && placed.size() < 4; ++tries) {
            double size = rng.Uniform(8, 20), reach = size / 2 * 1.6 + 1;
            double x = rng.Uniform(reach, 100 - reach), y = rng.Uniform(reach, 70 - reach);
            bool clear = true;
            for (const auto& p : placed)
                clear &= distance(x, y, p[0], p[1]) > size / 2 * 1.6 + p[2] + 10;
            if (!clear)
                continue;
            int scan = rng.Int(0, 3), kind = rng.Int(0, 3);
            if (id == 2)
                body += Sprintf("CBULGE 2 1 %.3f 5 %.3f %.3f 0 0 0 -1 0 %d\n", size, x, y, scan);
            else if (kind == 0)
                body +=
                    Sprintf("RBULGE %d 1 %.3f %.3f 5 %.3f %.3f %.3f 0 0 0 -1 0 0\n", id, size,
                            size * 0.8, x - size / 2, y - size * 0.4, rng.Uniform(0, size * 0.4));
            else if (kind == 1)
                body += Sprintf("POLYGON %d 1 %d %.3f 5 %.3f %.3f 0 0 0 -1 0 0\n", id,
                                rng.Int(3, 9), size / 2, x, y);
            else
                body += StarBulge(rng, id, x, y, size / 2);
            placed.push_back({x, y, size / 2 * 1.6});
            ++id;
        }
        std::string program = Make(body);
        ASSERT_FALSE(program.empty());
        EXPECT_TRUE(test::VerifiesClean(program)) << body;
    }
}

} // namespace
} // namespace korvel
