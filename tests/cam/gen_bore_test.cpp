// Bores: the internal errors, the refusals that only a broken run can reach, the first ring of
// a face mill with a wide dead zone, helices that never descend more than the cutting depth
// (inch projects), and the tools the roughing takes as face mills or plunging end mills.
#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
} // namespace korvel
