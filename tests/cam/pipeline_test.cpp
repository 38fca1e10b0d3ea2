// The compile pipeline beyond single programs: its questions, what a run leaves behind, full
// tables, pre-drill chains and the order of drilling tools, the report, post-processing and
// transfer.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/compile.h"
#include "cam/drill_order.h"
#include "cam/gen_drill.h"
#include "cam/program_frame.h"
#include "cam_support.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/longhole.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/pocket_path.h"
#include "platform/platform.h"
#include "script/config.h"
#include "script/project.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

const char* const kPrologue = "VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nCENTERDRILLING OFF\n"
                              "USE G81 ON\nPECKDRILL OFF 100\n";

class PipelineTest : public test::CamTest {
protected:
    int OpenWith(const std::string& body) { return OpenText(kPrologue + body + "ENDOFFILE\n"); }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++n;
        return n;
    }
    static bool Before(const std::string& text, const std::string& a, const std::string& b) {
        return text.find(a) != std::string::npos && text.find(a) < text.find(b);
    }
};

// A level stood in for: its bulges declared machined and one comment line in a buffer of its
// own, where the level's program would stand.
int LevelStandIn(int level) {
    for (int i = FindFirstLevelBulge(level); i >= 0; i = FindNextLevelBulge(level))
        DeclareObjectProcessed(Bulge_id(i));
    int buffer = NewCodeBuffer(-1);
    return buffer >= 0 && AppendCode(buffer, Sprintf("(STAND-IN: LEVEL %d)", level));
}
int NothingFor(int) { return 1; }

// Level milling stood in for, so that the order of the phases shows without the levels' tools.
void StandInForLevels() {
    PhaseGenerators g = Generators();
    g.GThisLevel = g.GThisLevel_NEMR = LevelStandIn;
    g.GFineThisLevel = g.GChamferThisBulge = NothingFor;
    InstallGenerators(g);
}

const char* const kOneDrill = "ATTTOOL 1 DRILL_6 0 0 0\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                              "DRILL 2 1 6 10 50 40 0 0 0 1 -1\n";

TEST_F(PipelineTest, AChangedProjectIsStoredFirstWhenTheUserSaysSo) {
    ASSERT_EQ(OpenWith(kOneDrill), 1);
    MutableSettings().project_file = "noname.kvp";
    SetProjectChanged(true);
    int result = 1;
    EXPECT_EQ(Compile(&result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages(), V{"[Project has changed] Do you want to store changes and proceed?"});
    // Yes, but the save-as dialog is cancelled.
    SetHeadlessAnswer(kIdYes);
    EXPECT_EQ(Compile(&result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages().size(), 1u);
    // Yes, and a name is chosen: the project is saved there, then compiled.
    std::string saved = ScratchDir() + "/saved.kvp";
    SetHeadlessFileAnswer(saved);
    EXPECT_NE(Compile(&result), "");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(GetSettings().project_file, saved);
    EXPECT_FALSE(ProjectChanged());
    EXPECT_EQ(test::Slurp(saved), ProjectText());
}

TEST_F(PipelineTest, AnUpToDateProgramIsMadeAgainOnlyOnRequest) {
    ASSERT_EQ(OpenWith(kOneDrill), 1);
    std::string first = Compile();
    ASSERT_NE(first, "");
    EXPECT_TRUE(Compiled());
    Messages();
    WriteFile("out.cnc", "kept\n");
    SetGCodeOutputFile(OutputPath());
    EXPECT_EQ(MakeGCode(SaveProject), 0);
    EXPECT_EQ(Messages(), V{"[G-Code file is up-to-date] Recompile?"});
    EXPECT_EQ(test::Slurp(OutputPath()), "kept\n");
    EXPECT_TRUE(Compiled());
    SetHeadlessAnswer(kIdYes);
    EXPECT_EQ(Compile(), first);
}

TEST_F(PipelineTest, AWarningAnsweredYesGoesOn) {
    StandInForLevels();
    SetHeadlessAnswer(kIdYes);
    ASSERT_EQ(OpenWith("EXCESSMR OFF\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "RBULGE 2 1 60 40 5 20 20 5 0 0 0 0 0 0\n"
                       "RBULGE 3 2 20 10 3 40 30 2 0 0 0 0 0 0\n"),
              1);
    int result = 0;
    std::string program = Compile(&result);
    EXPECT_EQ(result, 1);
    V shown = Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "[Tool crash danger warning!] Multy layer object with excess material "
                        "removal disabled! Continue anyway?");
    EXPECT_TRUE(Before(program, "(STAND-IN: LEVEL 1)", "(STAND-IN: LEVEL 0)"));
}

TEST_F(PipelineTest, ARunLeavesTheProjectAsItWas) {
    ASSERT_EQ(OpenWith("CENTERDRILLING ON 3\nDEFTOOL END_MILL_R12_PD6 5 12 6 40 4 0\n"
                       "DEFTOOLMAT END_MILL_R12_PD6 11 2600 600 0 180 6 0\n"
                       "ATTTOOL 1 CENTER_DRILL_3.15 0 0 0\nATTTOOL 2 DRILL_8.5 0 0 0\n"
                       "ATTTOOL 3 END_MILL_R12_PD6 0 0 0\nATTTOOL 4 DRILL_6 0 0 0\n"
                       "ATTTOOL 5 COUNTERSINK_90_D12.4 0 0 0\nATTTOOL 6 TAP_M10 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "THREAD 2 1 10 1.5 12 20 20 0 0 0\n"
                       "DRILL 3 1 8.5 10 20 20 1 0 0 1 -1\n"
                       "LONGHOLE 4 1 12 8 70 0 60 50\n"
                       "LONGHOLE 5 1 12 8 30 0 20 60\n"),
              1);
    std::string before = ProjectText();
    ASSERT_NE(Compile(), "") << Messages().back();
    // No spots, no automatic drills in the registry or the tables; long hole 4 (reversed for
    // the run) back as it was; no drill marked as drilled or chamfered.
    EXPECT_EQ(ProjectText(), before);
    for (int id : RegisteredObjects())
        EXPECT_LE(id, 5);
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i)) {
            EXPECT_EQ(d.system, 0);
            EXPECT_EQ(d.drilling_active + d.chamfer_active, 0);
        } else {
            EXPECT_EQ(GetSpotId(i), -1);
        }
    }
    LongHole h;
    GetLongHole(h, IndexOf(4));
    EXPECT_EQ(h.x, 60);
    EXPECT_EQ(h.lx, 70);
}

TEST_F(PipelineTest, APreDrillInAFreeSlotBelowGetsItsOwnPreDrill) {
    // Drill 2 is deleted, so slot 0 is free when drill 3 in slot 1 gets its 12 mm pre-drill;
    // that one lands in slot 0, below, and still needs its 6 mm pre-drill.
    ASSERT_EQ(OpenWith("DEFTOOL DRILL_20_PD12 2 20 12 140 2 0\n"
                       "DEFTOOLMAT DRILL_20_PD12 11 477 0 0 75 0 0\n"
                       "DEFTOOL DRILL_12_PD6 2 12 6 120 2 0\n"
                       "DEFTOOLMAT DRILL_12_PD6 11 796 0 0 100 0 0\n"
                       "ATTTOOL 2 DRILL_20_PD12 0 0 0\nATTTOOL 3 DRILL_12_PD6 0 0 0\n"
                       "ATTTOOL 4 DRILL_6 0 0 0\nBLOCK 1 100 60 30 0 0 -30 0 0 -1\n"
                       "DRILL 2 1 6 10 70 30 0 0 0 1 -1\nDRILL 3 1 20 25 30 30 0 0 0 1 -1\n"
                       "DELETE 2\n"),
              1);
    ASSERT_EQ(IndexOf(3), 1);
    std::string program = Compile();
    ASSERT_NE(program, "");
    EXPECT_EQ(Count(program, "(PREDRILLING ID 3)"), 2);
    EXPECT_TRUE(Before(program, "T4 M06", "T3 M06"));
    EXPECT_TRUE(Before(program, "T3 M06", "T2 M06"));
    test::ExpectMachineAccepts(program);
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(PipelineTest, DrillsOfALaterParentStillComeInAscendingDiameter) {
    // The block's 12 mm hole is pre-drilled with the 6 mm drill. The bulge's 12 mm hole is 75
    // deep, too deep for the 6 mm drill (70 long): its pre-drill is the 6.8 mm drill, a tool
    // the block did not use. It must come before the 12 mm drill, whose buffer already stands
    // before it: the bulge's drilling tools get buffers of their own.
    StandInForLevels();
    ASSERT_EQ(OpenWith("DEFTOOL DRILL_12_PD6 2 12 6 120 2 0\n"
                       "DEFTOOLMAT DRILL_12_PD6 11 796 0 0 100 0 0\n"
                       "ATTTOOL 2 DRILL_12_PD6 0 0 0\nATTTOOL 3 DRILL_6 0 0 0\n"
                       "ATTTOOL 4 DRILL_6.8 0 0 0\n"
                       "BLOCK 1 150 100 100 0 0 -100 0 0 -1\n"
                       "RBULGE 2 1 60 40 5 60 40 5 0 0 0 0 0 0\n"
                       "DRILL 3 1 12 20 20 20 0 0 0 1 -1\n"
                       "DRILL 4 2 12 75 90 60 0 0 0 1 -1\n"),
              1);
    std::string program = Compile();
    ASSERT_NE(program, "");
    EXPECT_EQ(Count(program, "T2 M06"), 2);
    std::size_t bulge_predrill = program.find("(PREDRILLING ID 4)");
    std::size_t bulge_drill = program.find("(DRILL ID 4)");
    ASSERT_NE(bulge_predrill, std::string::npos);
    EXPECT_LT(bulge_predrill, bulge_drill);
    EXPECT_LT(program.find("T4 M06"), bulge_predrill);
    test::ExpectMachineAccepts(program);
    // The stand-in mills no level: the block round the bulge keeps its 5 mm.
    EXPECT_TRUE(test::VerifiesWith(program, {"Left stock: Block 1 keeps 5.000 mm"}));
}

TEST_F(PipelineTest, CoincidentDrillsWithOtherToolsChangeNoToolInVain) {
    // Two 6 mm drills at one centre, each with a tool of its own: only the deeper one's tool is
    // loaded.
    ASSERT_EQ(OpenWith("ATTTOOL 1 DRILL_6 0 0 0\nATTTOOL 2 DRILL_6 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "DRILL 2 1 6 10 50 40 0 1 0 1 -1\nDRILL 3 1 6 12 50 40 0 2 0 1 -1\n"),
              1);
    std::string program = Compile();
    EXPECT_EQ(Count(program, "M06"), 1);
    EXPECT_EQ(Count(program, "T2 M06"), 1);
    EXPECT_EQ(Count(program, "G81"), 1);
}

TEST_F(PipelineTest, FullTablesStopTheRun) {
    ASSERT_EQ(OpenWith("CENTERDRILLING ON 3\nATTTOOL 1 CENTER_DRILL_3.15 0 0 0\n"
                       "ATTTOOL 2 DRILL_8.5 0 0 0\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "THREAD 2 1 10 1.5 12 20 20 0 0 0\n"),
              1);
    // Records nobody registered take the remaining slots, so that nothing frees them.
    std::vector<int> taken;
    for (int slot = NextDrill(); slot >= 0; slot = NextDrill())
        taken.push_back(slot);
    int result = 1;
    Compile(&result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages(), V{"[No space for new drills!] Appending a drill for thread 10.000 x "
                            "12.000 failed!"});
    for (int slot : taken)
        RemoveDrill(slot);
    for (int slot = NextSpot(); slot >= 0; slot = NextSpot())
        taken.push_back(slot);
    Compile(&result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages(), V{"[No space for new center drills!] Appending a center drill for "
                            "drill with id=2 at X20.000 Y20.000 failed"});
}

TEST_F(PipelineTest, AProjectWithoutBlockIsTheBareFrame) {
    ASSERT_EQ(OpenWith("PROGRAM 5\nLABELING OFF\n"), 1);
    std::string program = Compile();
    EXPECT_EQ(program,
              "\n%  \nO5  \n(Korvel, Version 2.05)  \n(Created: Thu Jan 1 00:00:00 2026)  \n"
              "G54 G90 G98 G21  \nM09  \nM30  \n%  \n");
    test::ExpectMachineAccepts(program);
}

// A rough mill that cannot plunge (minimum drill diameter 5) in a pocket with corners of
// radius 6: a 6 mm pre-drill.
const char* const kPreDrilledPocket = "DEFTOOL END_MILL_R10_PD5 5 10 5 30 4 0\n"
                                      "DEFTOOLMAT END_MILL_R10_PD5 11 3000 600 0 150 5 0\n"
                                      "ATTTOOL 1 END_MILL_R10_PD5 0 0 0\nATTTOOL 2 DRILL_6 0 0 0\n"
                                      "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                                      "RPOCKET 2 1 60 40 10 20 20 6 0 0 0 0 0 0\n"
                                      "DRILL 3 1 6 12 90 70 0 0 0 1 -1\n";

TEST_F(PipelineTest, APocketWhoseMillCannotPlungeIsPreDrilledWithItsParentsHoles) {
    ASSERT_EQ(OpenWith(kPreDrilledPocket), 1);
    int drills = 0;
    for (int i = 0; i < kMaxDrills; ++i)
        drills += GetDrillId(i) >= 0 ? 1 : 0;
    int result = 0;
    std::string program = Compile(&result);
    EXPECT_EQ(result, 1);
    // The pre-drill stands on the wall contour, 5 from the bottom wall just past the corner
    // arc, 10 deep, and is drilled by the parent's 6 mm drill together with drill 3, before
    // the pocket is milled.
    const char* drilling = "N5 T2 M06 (DRILL 6)  \nN6 S1592 M03  \nN7 G43 H2 M08  \n"
                           "(DRILL ID 3)  \nN9 G00 X90.  Y70.   \nN10 S1592 M03  \n"
                           "N11 G00 Z25.   \nN12 G81 R5.  Z-12.  F146.   \nN13 G80  \n"
                           "(PREDRILLING ID 2)  \nN15 G00 X26.  Y25.   \nN16 S1592 M03  \n"
                           "N17 G00 Z25.   \nN18 G81 R5.  Z-10.  F146.   \nN19 G80  \n"
                           "N20 G28 Z25.   \nN21 T1 M06 (END MILL R10 PD5)  \n";
    EXPECT_NE(program.find(drilling), std::string::npos) << program;
    // The mill enters the pocket in the pre-drilled hole.
    const char* entry = "(MILL POCKET ID 2)  \nN25 S3000 M03  \nN26 G00 Z25.   \n"
                        "N27 G00 X26.  Y25.   \nN28 G00 Z5.   \nN29 G01 Z-3.333  F150.   \n";
    EXPECT_NE(program.find(entry), std::string::npos) << program;
    EXPECT_EQ(Count(program, "M06"), 2);
    test::ExpectMachineAccepts(program);
    EXPECT_TRUE(test::VerifiesClean(program));
    // Where pocket milling plunges: the first point of its wall contour for the same mill.
    ASSERT_EQ(MakePocketPathsX(IndexOf(2), 5, GetSettings().overlap), 1);
    double x = 0, y = 0;
    ASSERT_EQ(GetPocketPathDrillPoint(1, x, y), 1);
    EXPECT_EQ(Sprintf("X%g Y%g", x, y), "X26 Y25");
    // The run's own drill is gone again.
    int after = 0;
    for (int i = 0; i < kMaxDrills; ++i)
        after += GetDrillId(i) >= 0 ? 1 : 0;
    EXPECT_EQ(after, drills);
    EXPECT_EQ(Messages().size(), 1u); // the report
}

TEST_F(PipelineTest, APocketPathThatCannotBeMadeStopsThePreDrill) {
    // A preselected 50 mm mill that cannot plunge leaves no roughing path in a pocket 40 wide.
    ASSERT_EQ(OpenWith("DEFTOOL END_MILL_R50_PD5 5 50 5 60 4 0\n"
                       "DEFTOOLMAT END_MILL_R50_PD5 11 1000 300 0 100 5 0\n"
                       "ATTTOOL 1 END_MILL_R50_PD5 0 0 0\nATTTOOL 2 DRILL_6 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "RPOCKET 2 1 60 40 10 20 20 6 0 1 0 0 0 0\n"),
              1);
    int result = 1;
    EXPECT_EQ(Compile(&result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Messages(), (V{"[Tool selection error] Tool diameter too big",
                             "[Path error] Can't make path for pocket 2"}));
}

TEST_F(PipelineTest, DrillingDirectlyNeedsATool) {
    ASSERT_EQ(OpenWith("ATTTOOL 1 DRILL_6 0 0 0\nBLOCK 1 100 80 20 0 0 -20 0 0 -1\n"
                       "DRILL 2 1 9 10 50 40 0 0 0 1 -1\n"),
              1);
    InitCodeBuffers();
    ActivateDrills(1);
    EXPECT_EQ(GDrill(1), 0);
    EXPECT_EQ(Messages(), V{"[Tool missing] No drilling tool found for drill ID=2"});
    CloseCodeBuffers();
}

TEST_F(PipelineTest, MillingTimesFollowTheFeedsThatRunTheMoves) {
    // A plunged chamfer runs at the plunge feed: (2 x 1 + 5) / 26 minutes with the countersink's
    // Fz of 26 in ST37-2, even where its Fxy would differ.
    ASSERT_EQ(OpenWith("ATTTOOL 1 DRILL_8 0 0 0\nATTTOOL 2 COUNTERSINK_90_D12.4 0 0 0\n"
                       "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nDRILL 2 1 8 15 50 40 1 0 0 1 -1\n"),
              1);
    ASSERT_NE(Compile(), "");
    EXPECT_DOUBLE_EQ(MillTime(2), 7.0 / 26);
    EXPECT_DOUBLE_EQ(MillTime(1), 20.0 / 139);
    EXPECT_EQ(ReportText(), "Tools used:\n\nT\tMill Time (sec)\tName\n"
                            "1 \t9                   \tDRILL 8\n"
                            "2 \t16                  \tCOUNTERSINK 90 D12.4\n"
                            "\nTotal Milling Time: 0 min, 24 sec");
}

TEST_F(PipelineTest, TheReportSaysWhenThereIsNoProgram) {
    MakeReport();
    EXPECT_EQ(Messages(), V{"[Compilation error or G-Code out of date] Use G-Code/Make to update "
                            "G-Code file"});
}

TEST_F(PipelineTest, DebuggingCommentsListTheDrillTable) {
    ASSERT_EQ(OpenWith("COMMENTS DEBUG\n" + std::string(kOneDrill)), 1);
    ASSERT_NE(Compile(), "");
    V shown = Messages();
    // Six listings (before each pre-drill maker and after the last), each stopped after its
    // first page by No.
    ASSERT_EQ(shown.size(), 7u);
    std::string page = "[DebugDrillsList(2)] 0 6.000 x 10.000 tx = -1\n";
    for (int slot = 1; slot < 10; ++slot)
        page += std::to_string(slot) + " EMPTY\n";
    EXPECT_EQ(shown[0], page + "Continue ?");
    EXPECT_EQ(shown[5].substr(0, 21), "[DebugDrillsList(7)] ");
    EXPECT_NE(shown[5].find("tx = 1\n"), std::string::npos); // the tool is chosen by then
}

// The post-processor: a script in the program directory that copies its input to its output and
// notes its arguments.
class PostProcessorTest : public PipelineTest {
protected:
    void SetUp() override {
        PipelineTest::SetUp();
        StartWithConfig("USERUNIT MM\nPOSTPROC post.sh\nCNC PP-MILL pp.mach\n# end\n");
        std::string home = ScratchDir() + "/home/";
        WriteFile("home/pp.mach", "DEFINE\nTOOLCHANGE AUTO\n# end\n");
        WriteFile("home/post.sh",
                  "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args\"\ncp \"$2\" \"$3\"\n");
        std::filesystem::permissions(home + "post.sh", std::filesystem::perms::owner_all);
        SetStartedProgramsWaited(true);
    }
};

TEST_F(PostProcessorTest, MakesTheOutputFromTheRawFile) {
    ASSERT_EQ(OpenWith("CNC PP-MILL\nGCFILE part.cnc\n" + std::string(kOneDrill)), 1);
    ASSERT_TRUE(DefinitionMode());
    // The project's GCFILE is where the post-processor writes; Make writes the temporary file,
    // which is also what the program removes at exit.
    EXPECT_EQ(GetSettings().gcfile, "part.cnc");
    EXPECT_EQ(GetSettings().output_file, "$" + std::to_string(ProcessId()) + ".tmp");
    test::ScopedChdir here(ScratchDir());
    SetGCodeOutputFile(OutputPath());
    ASSERT_EQ(MakeGCode(SaveProject), 1);
    std::string raw = RawGCodeFile();
    EXPECT_EQ(raw, "$" + std::to_string(ProcessId()) + ".tmp");
    EXPECT_FALSE(std::filesystem::exists(OutputPath()));
    EXPECT_FALSE(PostProcessed());
    EXPECT_EQ(PostProcCode(FindMachineFile), 1);
    EXPECT_TRUE(PostProcessed());
    EXPECT_EQ(test::Slurp(OutputPath()), test::Slurp(raw));
    std::string home = ScratchDir() + "/home/";
    EXPECT_EQ(test::Slurp(home + "args"), home + "pp.mach " + raw + " " + OutputPath() + "\n");
    // Without the machine in the table nothing is started.
    MutableSettings().machine_name = "NO-SUCH-MILL";
    SetPostProcessed(false);
    EXPECT_EQ(PostProcCode(FindMachineFile), 0);
    EXPECT_FALSE(PostProcessed());
    std::remove(raw.c_str());
}

TEST_F(PipelineTest, TransferRunsTheProgramOrCopiesToDiskette) {
    ASSERT_EQ(OpenWith(kOneDrill), 1);
    ASSERT_NE(Compile(), "");
    Messages();
    test::ScopedChdir here(ScratchDir());
    // No TRANSFER program and no drive A: the copy fails.
    EXPECT_EQ(TransferCode(), 0);
    EXPECT_EQ(Messages(),
              V{"[Tranfer failed] Can't copy file " + OutputPath() + " to diskette a:"});
    std::filesystem::create_directory(ScratchDir() + "/A:");
    EXPECT_EQ(CopyCodeA(), 1);
    EXPECT_EQ(Messages(), V{"[Transfer done] G-Code file " + OutputPath() +
                            " copied succesfully to diskette a:"});
    EXPECT_EQ(test::Slurp(ScratchDir() + "/A:/out.cnc"), test::Slurp(OutputPath()));
    SetStartedProgramsWaited(true);
    MutableSettings().transfer = "cp -- ";
    EXPECT_EQ(TransferCode(), 0); // cp without a target fails
    EXPECT_EQ(Messages(), V{"[cp --  '" + OutputPath() + "'] Transfer failed"});
    MutableSettings().transfer = "cp -t " + ScratchDir() + "/A:";
    EXPECT_EQ(TransferCode(), 1);
    EXPECT_TRUE(Messages().empty());
}

} // namespace
} // namespace korvel
