// korvelc verify end to end: the report, the exit status and the picture.
#include <gtest/gtest.h>

#include <string>

#include "support.h"

namespace korvel::test {
namespace {

const char* const kProject = R"(VER 2.05
PROJECTUNIT MM
COORDINATES G54 -400 -200 -300
BLOCK 1 100 60 20 0 0 -20 0 0 -1
TOPFACE 0 0
ATTTOOL 1 DRILL_8 0 0 0
DRILL 2 1 8 12 20 20 0 0 0 1 -1
ENDOFFILE
)";

const char* const kProgram = R"(%
O1000
G54 G90 G98 G21
T1 M06
S1000 M03
G43 H1 M08
G00 X20. Y20.
G00 Z25.
G81 R5. Z-12. F100.
G80
M30
%
)";

class KorvelcVerifyTest : public KorvelTest {
protected:
    int Verify(const std::string& args) {
        return RunCommand(std::string(KORVELC_PATH) + " verify " + args, &out_, &err_);
    }
    std::string out_, err_;
};

TEST_F(KorvelcVerifyTest, ACleanProgramExitsZeroWithItsReport) {
    std::string project = WriteFile("plate.kvp", kProject);
    std::string program = WriteFile("plate.cnc", kProgram);
    std::string png = ScratchDir() + "/plate.png";
    ASSERT_EQ(Verify(project + " --gcode " + program + " --png " + png), 0) << out_ << err_;
    EXPECT_NE(out_.find("Program " + program + ": 11 lines run"), std::string::npos) << out_;
    EXPECT_NE(out_.find("Stock 100.000 x 60.000 x 20.000 mm: 1000 x 600 cells of 0.100 mm, "
                        "tolerance 0.050 mm"),
              std::string::npos)
        << out_;
    EXPECT_NE(out_.find("Clean: the program makes the part within 0.050 mm"), std::string::npos);
    EXPECT_EQ(Slurp(png).substr(1, 3), "PNG");
}

TEST_F(KorvelcVerifyTest, AFaultExitsOneAndResolutionAndToleranceAreInMillimetres) {
    std::string project = WriteFile("plate.kvp", kProject);
    std::string text = kProgram;
    text.replace(text.find("Z-12."), 5, "Z-12.5"); // sampled 0.18 off the axis: 0.39 deeper
    std::string program = WriteFile("deep.cnc", text);
    ASSERT_EQ(Verify(project + " --gcode " + program + " --res 0.25"), 1) << err_;
    EXPECT_NE(out_.find("400 x 240 cells of 0.250 mm"), std::string::npos) << out_;
    EXPECT_NE(out_.find("Gouge: Drill 2 is cut 0.394 mm too deep at X19.875 Y19.875 by line 9"),
              std::string::npos)
        << out_;
    EXPECT_NE(out_.find("Not clean: 1 problem\n"), std::string::npos) << out_;
    // With a tolerance of 1 mm the same program passes.
    EXPECT_EQ(Verify(project + " --gcode " + program + " --tolerance 1"), 0) << out_;
}

TEST_F(KorvelcVerifyTest, UsageErrorsExitTwo) {
    std::string project = WriteFile("plate.kvp", kProject);
    EXPECT_EQ(Verify(""), 2);
    EXPECT_NE(err_.find("verify needs a PROJECT"), std::string::npos) << err_;
    EXPECT_EQ(Verify(project + " --gcode"), 2);
    EXPECT_EQ(Verify(project + " --gcode x.cnc --res 0"), 2);
    EXPECT_EQ(Verify(project + " --gcode x.cnc --tolerance abc"), 2);
    EXPECT_EQ(Verify(project + " --gcode x.cnc --colour red"), 2);
    EXPECT_EQ(Verify(project + " other.kvp --gcode x.cnc"), 2);
}

TEST_F(KorvelcVerifyTest, MissingFilesExitOne) {
    std::string project = WriteFile("plate.kvp", kProject);
    EXPECT_EQ(Verify(project + " --gcode " + ScratchDir() + "/none.cnc"), 1);
    EXPECT_NE(err_.find("cannot read"), std::string::npos) << err_;
    EXPECT_EQ(Verify(ScratchDir() + "/none.kvp --gcode " + ScratchDir() + "/none.cnc"), 1);
    // A grid finer than can be simulated is refused with a message.
    std::string program = WriteFile("plate.cnc", kProgram);
    EXPECT_EQ(Verify(project + " --gcode " + program + " --res 0.001"), 1);
    EXPECT_NE(err_.find("[Resolution too fine]"), std::string::npos) << err_;
}

TEST_F(KorvelcVerifyTest, WithoutAProgramTheProjectIsCompiledFirst) {
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/drilled-plate.kvp";
    ASSERT_EQ(Verify(example + " --res 0.5"), 0) << out_ << err_;
    EXPECT_NE(out_.find("Program drilled-plate.cnc (compiled): "), std::string::npos) << out_;
    EXPECT_NE(out_.find("Clean: "), std::string::npos) << out_;
    // A project the compiler refuses: its message, and exit 1.
    std::string project = WriteFile("empty.kvp", "VER 2.05\nPROJECTUNIT MM\nENDOFFILE\n");
    EXPECT_EQ(Verify(project), 1);
    EXPECT_FALSE(err_.empty());
}

} // namespace
} // namespace korvel::test
