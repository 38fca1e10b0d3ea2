// Pocket and long hole milling through whole compilations: depth steps and floor allowances,
// the passes of each quality, the failing pocket left selected, the internal errors of invalid
// slots, and the rings of wide slots.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cam/gen_longhole.h"
#include "cam/gen_pocket.h"
#include "cam_support.h"
#include "model/pocket.h"
#include "model/project_state.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

using test::Section;

const char* const kPrologue = "VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\n"
                              "CENTERDRILLING OFF\n";
const char* const kBlock = "BLOCK 1 80 50 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";

class PocketTest : public test::CamTest {
protected:
    // Compiles the project; the program, which must be made, accepted by the interpreter and
    // verified clean.
    std::string Make(const std::string& body) {
        EXPECT_EQ(OpenText(kPrologue + body + "ENDOFFILE\n"), 1);
        Messages();
        SetCompiled(false);
        int result = 0;
        std::string program = Compile(&result);
        std::vector<std::string> shown = Messages();
        EXPECT_EQ(result, 1) << (shown.empty() ? "" : shown.back());
        if (result == 1) {
            test::ExpectMachineAccepts(program, "pocket");
            EXPECT_TRUE(test::VerifiesClean(program));
        }
        return program;
    }
    static double Word(const std::string& line, char word) {
        std::size_t at = line.find(std::string(" ") + word);
        return at == std::string::npos ? NAN : std::atof(line.c_str() + at + 2);
    }
    // The heights of the feed moves in Z (plunges), in order.
    static std::vector<double> PlungeDepths(const std::vector<std::string>& lines) {
        std::vector<double> zs;
        for (const std::string& line : lines)
            if (line.rfind("G01 Z", 0) == 0)
                zs.push_back(Word(line, 'Z'));
        return zs;
    }
    static int Count(const std::vector<std::string>& lines, const std::string& start) {
        int n = 0;
        for (const std::string& line : lines)
            n += line.rfind(start, 0) == 0;
        return n;
    }
};

TEST_F(PocketTest, RoughMillingStepsDownTheWallContourAndTheSegmentsAtEachDepth) {
    // Depth 6 in CutZ 2: 4 steps of 1.5; each plunges once into the wall contour and once per
    // segment, all at the step's height.
    std::string program = Make(std::string("ATTTOOL 1 END_MILL_R10 0 0 0\n") + kBlock +
                               "RPOCKET 2 1 40 30 6 20 10 6 0 0 0 0 0 0\n"
                               "MPARAM_X 2 3000 500 5 200 2\n");
    std::vector<double> zs = PlungeDepths(Section(program, "(MILL POCKET ID 2)"));
    ASSERT_FALSE(zs.empty());
    std::vector<double> steps;
    for (double z : zs)
        if (steps.empty() || steps.back() != z)
            steps.push_back(z);
    EXPECT_EQ(steps, (std::vector<double>{-1.5, -3, -4.5, -6}));
    EXPECT_GT(zs.size(), 8u); // the segments plunge besides the contour
}

TEST_F(PocketTest, QualityFiveLeavesTheAllowancesAndFinishesTheFloorLast) {
    // FFDZ 0.1 and RFDZ 0.1: rough milling stops 0.2 above the floor, rough finishing runs 0.1
    // above it, and the floor pass of the finishing tool ends at the floor.
    std::string program = Make(std::string("FFDZ 0.1\nRFDZ 0.1\nATTTOOL 1 END_MILL_R10 0 0 0\n"
                                           "ATTTOOL 2 END_MILL_F6 0 0 0\n") +
                               kBlock + "RPOCKET 2 1 40 30 6 20 10 6 0 0 0 5 0 0\n");
    std::vector<double> rough = PlungeDepths(Section(program, "(MILL POCKET ID 2)"));
    ASSERT_FALSE(rough.empty());
    EXPECT_NEAR(rough.back(), -5.8, 1e-9);
    std::vector<double> rf = PlungeDepths(Section(program, "(ROUGH FIN. POCKET ID 2)"));
    ASSERT_FALSE(rf.empty());
    for (double z : rf)
        EXPECT_NEAR(z, -5.9, 1e-9);
    std::vector<double> floor = PlungeDepths(Section(program, "(FINE MILL. POCKET ID 2 HOR.FACE)"));
    ASSERT_FALSE(floor.empty());
    EXPECT_NEAR(floor.back(), -6, 1e-9);
}

TEST_F(PocketTest, TheFinishingToolFinishesTheWallsInPassesNoDeeperThanItsDiameter) {
    // A 6 mm finishing tool on a pocket 10 deep: 2 passes of 5.
    std::string program = Make(std::string("ATTTOOL 1 END_MILL_R10 0 0 0\n"
                                           "ATTTOOL 2 END_MILL_F6 0 0 0\n") +
                               kBlock + "RPOCKET 2 1 40 30 10 20 10 6 0 0 0 2 0 0\n");
    EXPECT_EQ(PlungeDepths(Section(program, "(FINE MILL. POCKET ID 2 VER.FACE)")),
              (std::vector<double>{-5, -10}));
}

TEST_F(PocketTest, APocketThatCannotBeMilledIsLeftAsTheOnlySelectedObject) {
    ASSERT_EQ(OpenText(std::string(kPrologue) + "ATTTOOL 1 END_MILL_R16 0 0 0\n" + kBlock +
                       "RPOCKET 2 1 30 20 5 5 5 8 0 0 0 0 0 0\n"
                       "RPOCKET 3 1 30 20 5 40 20 4 0 1 0 0 0 0\nENDOFFILE\n"),
              1);
    SelectPocket(0, 1);
    Messages();
    int result = 1;
    Compile(&result);
    EXPECT_EQ(result, 0);
    std::vector<std::string> shown = Messages();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2], "[Tool selection error] Tool diameter too big");
    EXPECT_EQ(shown.back(), "[Path error] Cannot make specified pocket path");
    EXPECT_EQ(Pocket_selected(0), 0);
    EXPECT_EQ(Pocket_selected(1), 1);
}

TEST_F(PocketTest, InvalidSlotsAreInternalErrors) {
    ASSERT_EQ(OpenText(std::string(kPrologue) + kBlock + "ENDOFFILE\n"), 1);
    Messages();
    EXPECT_EQ(GThisPocket(-1), 0);
    EXPECT_EQ(GThisPocket_NEMR(64), 0);
    EXPECT_EQ(GThisPocket(5), 0);
    EXPECT_EQ(GFineThisPocket(5), 0);
    EXPECT_EQ(GThisLongHole(-1), 0);
    EXPECT_EQ(GThisLongHole(3), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "[Internal error] Error code 44", "[Internal error] Error code 44",
                              "[Internal error] Error code 44", "[Internal error] Error code 45",
                              "[Internal error] Error code 34", "[Internal error] Error code 34"}));
}

TEST_F(PocketTest, ASlotAsWideAsTheToolIsCutAlongItsCentreLineFromTheStartEachTime) {
    std::string program = Make(std::string("ATTTOOL 1 END_MILL_R10 0 0 0\n") + kBlock +
                               "LONGHOLE 2 1 10 8 40 0 15 12\n");
    std::vector<std::string> lines = Section(program, "(LONGHOLE ID 2)");
    int layers = Count(lines, "G01 Z");
    ASSERT_GE(layers, 2);
    EXPECT_EQ(Count(lines, "G00 X15.  Y12."), layers);
    EXPECT_EQ(Count(lines, "G01 X55.  Y12."), layers);
    EXPECT_NEAR(PlungeDepths(lines).back(), -8, 1e-9);
}

TEST_F(PocketTest, AWideSlotIsCutInRingsThatNeverFeedUpwards) {
    // Width 20 with a 10 mm mill and OVERLAP 40 (step-over 0.6): one ring at offset 5. Width 34
    // along Y with the default step-over 0.95: the first ring at half the diameter (the first
    // step, 9.5, would leave a rib along the centre line), the next at the largest offset 12.
    std::string program = Make(std::string("OVERLAP 40\nATTTOOL 1 END_MILL_R10 0 0 0\n") +
                               "BLOCK 1 100 60 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
                               "LONGHOLE 2 1 20 6 30 0 15 12\n");
    std::vector<std::string> narrow = Section(program, "(LONGHOLE ID 2)");
    EXPECT_EQ(Count(narrow, "G01 X15.  Y7."), Count(narrow, "G01 Z"));
    EXPECT_EQ(Count(narrow, "G03 X45.  Y17."), Count(narrow, "G01 Z"));
    program = Make(std::string("ATTTOOL 1 END_MILL_R10 0 0 0\n") +
                   "BLOCK 1 100 60 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
                   "LONGHOLE 3 1 34 4 0 30 70 15\n");
    std::vector<std::string> wide = Section(program, "(LONGHOLE ID 3)");
    EXPECT_GT(Count(wide, "G01 X75.  Y15."), 0);
    EXPECT_GT(Count(wide, "G01 X82.  Y15."), 0);
    EXPECT_EQ(Count(wide, "G00 Z0. "), 2); // each ring starts at the surface
    double z = 1e9;
    for (const std::string& line : wide) {
        if (line.rfind("G00 Z", 0) == 0)
            z = Word(line, 'Z');
        else if (line.rfind("G01 Z", 0) == 0) {
            EXPECT_LT(Word(line, 'Z'), z) << line;
            z = Word(line, 'Z');
        }
    }
}

} // namespace
} // namespace korvel
