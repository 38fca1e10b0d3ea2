// Bores: the internal errors, the refusals that only a broken run can reach, the first ring of
// a face mill with a wide dead zone, helices that never descend more than the cutting depth
// (inch projects), and the tools the roughing takes as face mills or plunging end mills.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "cam/code_buffer.h"
#include "cam/gen_bore.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "cam_support.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class BoreTest : public test::CamTest {
protected:
    int OpenWith(const std::string& body) {
        SetCompiled(false);
        return OpenText("VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\nCENTERDRILLING OFF\n"
                        "USE G81 ON\nRPLANE 5\nOVERLAP 10\nQUALITY 0\n" +
                        body + "ENDOFFILE\n");
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

const char* const kOneBore = "ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 END_MILL_F10 0 0 0\n"
                             "ATTTOOL 3 COUNTERSINK_90_D12.4 0 0 0\n"
                             "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                             "BORE 2 1 30 10 50 40 1 0 0 2 0\n";

TEST_F(BoreTest, SlotsOutsideTheTableOrFreeAreInternalErrors) {
    ASSERT_EQ(OpenWith(kOneBore), 1);
    int free_slot = IndexOf(2) + 1;
    for (int index : {-1, kMaxBores, free_slot}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(GThisBore(index), 0);
        EXPECT_EQ(GThisBore_NEMR(index), 0);
        EXPECT_EQ(Messages(),
                  (V{"[Internal error] Error code 35", "[Internal error] Error code 35"}));
        EXPECT_EQ(GFineThisBore(index), 0);
        EXPECT_EQ(GChamferThisBore(index), 0);
        EXPECT_EQ(Messages(),
                  (V{"[Internal error] Error code 36", "[Internal error] Error code 36"}));
    }
}

TEST_F(BoreTest, WithoutAChosenRoughToolTheBoreIsShownSelected) {
    ASSERT_EQ(OpenWith(kOneBore), 1);
    SetBlockSelected(1);
    int index = IndexOf(2);
    // Roughing without the tool choice that the pipeline makes first.
    EXPECT_EQ(GThisBore(index), 0);
    EXPECT_EQ(Messages(), V{"[Tool missing] No rough milling tool suitable for cyl.pocket id 2 "
                            "present"});
    EXPECT_EQ(Bore_selected(index) & 1, 1);
    EXPECT_EQ(Block_selected() & 1, 0);
    EXPECT_EQ(GThisBore_NEMR(index), 0);
    EXPECT_EQ(Messages(), V{"[Tool missing] No rough milling tool suitable for cyl.pocket id 2 "
                            "present"});
}

TEST_F(BoreTest, FinishingAndChamferingABoreNotYetRoughedAreInternalErrors) {
    ASSERT_EQ(OpenWith(kOneBore), 1);
    DeclareAllObjectsNotReady();
    int index = IndexOf(2);
    // Without a chosen fine tool there is nothing to finish.
    EXPECT_EQ(GFineThisBore(index), 1);
    Bore b;
    GetBore(b, index);
    b.chosen_fine = 2;
    PutBore(b, index);
    EXPECT_EQ(GFineThisBore(index), 0);
    EXPECT_EQ(Messages(), V{"[Internal error] Attempt to fine mill a bore which is not ready"});
    EXPECT_EQ(GChamferThisBore(index), 0);
    EXPECT_EQ(Messages(), V{"[Internal error] Attempt to chamfer a bore which is not ready"});
    // The compiler's own bores are neither finished nor chamfered.
    b.system = 1;
    PutBore(b, index);
    EXPECT_EQ(GFineThisBore(index), 1);
    EXPECT_EQ(GChamferThisBore(index), 1);
    EXPECT_EQ(Messages(), V{});
}

TEST_F(BoreTest, AWideDeadZonePutsTheFirstRingAtItsHalf) {
    // Face mill 40 with a dead zone of 38: d x OVERLAP = 36 < 38, so the first ring is at 19
    // (not 18); the next, 19 + 36, passes the largest radius (100 - 40) / 2 = 30.
    ASSERT_EQ(OpenWith("$131 FACE_MILL_40_DZ38 7 40 38 40 4 0 Test\n"
                       "$132 FACE_MILL_40_DZ38 11 1500 600 0 0 2 0\n"
                       "BORING FACEMILL\nMINBTXD 1.5\nATTTOOL 1 FACE_MILL_40_DZ38 0 0 0\n"
                       "BLOCK 1 200 150 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                       "BORE 2 1 100 6 100 75 0 0 0 0 0\n"),
              1);
    std::string program = Compile();
    ASSERT_NE(program, "") << Messages().back();
    EXPECT_NE(program.find("G03 X81.  Y75.  Z"), std::string::npos) << program;
    EXPECT_NE(program.find("I-9.5  J0.  F600."), std::string::npos);
    EXPECT_NE(program.find("G03 X70.  Y75.  Z"), std::string::npos);
    EXPECT_EQ(Count(program, "G00 Z5."), 2); // two rings
    test::ExpectMachineAccepts(program, "dead zone");
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(BoreTest, FaceMillsOfEitherKindDescendInHelicesEndMillsOfEitherKindPlunge) {
    // A fine face mill preselected for roughing descends in helices like a rough one (it cannot
    // plunge); a fine end mill preselected for roughing without excess material removal plunges
    // at half its feed when its data have no plunge feed.
    ASSERT_EQ(OpenWith("$131 FACE_MILL_F50 8 50 20 40 5 0 Test\n"
                       "$132 FACE_MILL_F50 11 1300 700 0 0 2 0\n"
                       "MINBTXD 1.5\nATTTOOL 1 FACE_MILL_F50 0 0 0\n"
                       "BLOCK 1 200 150 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                       "BORE 2 1 100 4 100 75 0 1 0 0 0\n"),
              1);
    std::string program = Compile();
    ASSERT_NE(program, "") << Messages().back();
    EXPECT_NE(program.find("G03 X75.  Y75.  Z3.2  I-12.5  J0.  F700."), std::string::npos)
        << program;
    test::ExpectMachineAccepts(program, "fine face mill roughing");
    EXPECT_TRUE(test::VerifiesClean(program));
    ASSERT_EQ(OpenWith("EXCESSMR OFF\nATTTOOL 1 END_MILL_F10 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                       "BORE 2 1 30 6 50 40 0 1 0 0 0\nMPARAM_X 2 4000 500 0 0 3\n"),
              1);
    program = Compile();
    ASSERT_NE(program, "") << Messages().back();
    EXPECT_NE(program.find("(NO EXCESS MATERIAL REMOVAL)"), std::string::npos);
    EXPECT_NE(program.find("G01 Z-0.5  F250."), std::string::npos) << program;
    test::ExpectMachineAccepts(program, "fine end mill without plunge feed");
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(BoreTest, HelicesNeverDescendMoreThanTheCuttingDepthInInchProjects) {
    // In inches the whole-number count of the descent (0.25 + 0.2 in, under one inch) would
    // give a single descent of 0.45 in, five times the face mill's cutting depth.
    StartWithConfig("USERUNIT INCH\nRPLANE 0.2\nQPLANE 0.2\nCENTERDRILLING OFF\nUSE G81 ON\n"
                    "COMMENTS ON\nLABELING OFF\nQUALITY 0\nBORING FACEMILL\nMINBTXD 1.5\n");
    SetCompiled(false);
    ASSERT_EQ(OpenText("VER 2.05\nPROJECTUNIT INCH\nATTTOOL 1 FACE_MILL_50 0 0 0\n"
                       "BLOCK 1 6 4 1 0 0 -1 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n"
                       "BORE 2 1 3 0.25 3 2 0 0 0 0 0\nENDOFFILE\n"),
              1);
    CuttingData data;
    ASSERT_EQ(PlaceCuttingData(1, data), 1);
    int descents = static_cast<int>(std::ceil(0.45 / data.cutz));
    ASSERT_GT(descents, 1);
    std::string program = Compile();
    ASSERT_NE(program, "") << Messages().back();
    // One descending half-circle and descents - 1 descending circles per ring.
    int rings = Count(program, "G00 Z0.2 ");
    ASSERT_GT(rings, 0);
    EXPECT_EQ(Count(program, " J0.  Z"), rings * (descents - 1)) << program;
    test::ExpectMachineAccepts(program, "inch helix");
    EXPECT_TRUE(test::VerifiesClean(program));
}

// The chord of every radius-word arc of a program against its radius, from the numbers as they
// are written: true when each is an exact half-circle (chord = 2 R) or far enough from one that
// rounding hardly moves its centre (chord below 1.99 R).
::testing::AssertionResult RadiusArcsAreWellPlaced(const std::string& program) {
    double x = 0, y = 0;
    std::istringstream lines(program);
    for (std::string line; std::getline(lines, line);) {
        auto word = [&](char letter, double& value) {
            std::size_t at = line.find(std::string(" ") + letter);
            if (line.rfind(std::string(1, letter), 0) == 0)
                at = 0;
            else if (at != std::string::npos)
                ++at;
            if (at == std::string::npos)
                return false;
            value = std::atof(line.c_str() + at + 1);
            return true;
        };
        double nx = x, ny = y, r = 0;
        word('X', nx);
        word('Y', ny);
        if (line.rfind("G03", 0) == 0 && word('R', r)) {
            double chord = std::hypot(nx - x, ny - y);
            bool exact_half = std::fabs(chord - 2 * r) <= 1e-7;
            if (!exact_half && !(chord < 1.99 * r))
                return ::testing::AssertionFailure()
                       << line << ": chord " << chord << " for radius " << r;
        }
        x = nx;
        y = ny;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(BoreTest, RadiusWordHalfCirclesThatRoundingWouldMoveAreWrittenAsQuarters) {
    // Centres and diameters with more decimals than the program writes (three in millimetres):
    // the written radius of a half-circle is then not exactly half its written chord, and a
    // control would put the centre of a 10 mm half-circle 0.1 mm off the chord (or refuse the
    // arc). Such half-circles become two quarter circles; exact ones stay whole.
    const std::string tools =
        "USE R_IN_G02_G03 ON\nOVERLAP 5\nBORING FACEMILL ENDMILL\nMINBTXD 1.5\n"
        "ATTTOOL 1 END_MILL_R10 0 0 0\nATTTOOL 2 FACE_MILL_50 0 0 0\n"
        "BLOCK 1 200 150 20 0 0 -20 0 0 -1\nMATERIAL ST37-2\nTOPFACE 0 0\n";
    const std::string bores = "BORE 2 1 29.9031 12 50.0005 40.0007 0 0 0 0 0\n"
                              "BORE 3 1 29.9 12 90 40 0 0 0 0 0\n"
                              "BORE 4 1 101.0027 6 130.0005 90.0007 0 0 0 0 0\n";
    std::string program;
    for (const char* emr : {"EXCESSMR ON\n", "EXCESSMR OFF\n"}) {
        SCOPED_TRACE(emr);
        ASSERT_EQ(OpenWith(emr + tools + bores), 1);
        program = Compile();
        ASSERT_NE(program, "") << Messages().back();
        EXPECT_TRUE(RadiusArcsAreWellPlaced(program)) << program;
        test::ExpectMachineAccepts(program, emr);
        EXPECT_TRUE(test::VerifiesClean(program));
    }
    // Without excess material removal bore 3's contour (radius 9.95) is a written half-circle
    // pair of R9.95 from X80.05 to X99.95: exact, kept whole; bore 2's (9.95155) is not.
    EXPECT_NE(program.find("G03 X99.95  Y40.  R9.95  F"), std::string::npos) << program;
    EXPECT_EQ(program.find("G03 X59.952  Y40.001  R9.952"), std::string::npos);
}

} // namespace
} // namespace korvel
