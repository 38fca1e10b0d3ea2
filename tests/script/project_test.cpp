// The project file: writing, opening, round trips, damaged files and failed saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/undo_stack.h"
#include "base/units.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/heights.h"
#include "model/machine.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "script/project.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class ProjectTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(StartUp(), StartupResult::kOk); // the build's own data
        Messages();
    }
    // Opens a file as the program does after start-up.
    int Open(const std::string& path) {
        LoadCfgValues();
        int result = OpenProject(path);
        RecalcZ();
        return result;
    }
    std::string SaveAndRead(const std::string& name) {
        std::string path = ScratchDir() + "/" + name;
        EXPECT_EQ(SaveProject(path), 1);
        return test::Slurp(path);
    }
};

TEST_F(ProjectTest, ExamplesSaveOpenAndSaveAgainIdentically) {
    for (const char* name :
         {"drilled-plate", "first-steps", "flange-plate", "pocket-plate", "stepped-boss"}) {
        SCOPED_TRACE(name);
        std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/" + name + ".kvp";
        ASSERT_EQ(Open(example), 1);
        EXPECT_TRUE(Messages().empty());
        std::string first = SaveAndRead("first.kvp");
        ASSERT_EQ(Open(ScratchDir() + "/first.kvp"), 1);
        EXPECT_EQ(SaveAndRead("second.kvp"), first);
        if (std::string(name) != "first-steps") {
            EXPECT_EQ(first, test::Slurp(example)); // the examples are in the writer's own form
        }
    }
}

TEST_F(ProjectTest, OpeningIsNotAnEditToUndo) {
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    ASSERT_GT(UndoDepth(), 0);
    ASSERT_EQ(Open(std::string(KORVEL_SOURCE_DIR) + "/examples/flange-plate.kvp"), 1);
    EXPECT_EQ(UndoDepth(), 0); // neither the closed project's entries nor the file's
    std::string before = ProjectText();
    Type("UNDO");
    EXPECT_EQ(ProjectText(), before);
}

TEST_F(ProjectTest, InchProjectsOpenUnderMillimetres) {
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/stepped-boss.kvp";
    ASSERT_EQ(Open(example), 1);
    std::string mm = SaveAndRead("mm.kvp");
    BlockRecord before = GetBlock();
    // Switch the program to inches: the project is read converted and saved in inches.
    SetUserUnit(kUnitInch);
    ASSERT_EQ(Open(ScratchDir() + "/mm.kvp"), 1);
    EXPECT_NEAR(GetBlock().length, 150 / 25.4, 1e-9);
    std::string inch = SaveAndRead("inch.kvp");
    EXPECT_NE(inch.find("$127 INCH\n"), std::string::npos);
    // Back under millimetres the values return within the printed precision.
    SetUserUnit(kUnitMM);
    ASSERT_EQ(Open(ScratchDir() + "/inch.kvp"), 1);
    EXPECT_DOUBLE_EQ(UnitFactor(), 1.0);
    EXPECT_NEAR(GetBlock().length, before.length, 1e-3);
    EXPECT_NEAR(GetBlock().z, before.z, 1e-3);
    Bulge b;
    int type, index;
    ASSERT_TRUE(FindID(3, type, index));
    GetBulge(index, b);
    EXPECT_NEAR(b.shape.v[0].radius, 20, 1e-3);
    EXPECT_NEAR(GetCoordinates().wz_x, -420, 0.03); // three decimals in inches
}

TEST_F(ProjectTest, FileLayoutRules) {
    InitProject();
    std::string empty = ProjectText();
    EXPECT_EQ(empty.rfind("# KORVEL SCRIPT FILE\n# ", 0), 0u);
    EXPECT_EQ(empty.find("$128"), std::string::npos);    // no objects, no ENDOFFILE
    EXPECT_NE(empty.find("\n$12\n"), std::string::npos); // an empty PART is written bare

    Type("COMMENTS DEBUG");
    Type("TOOLCHANGE MAN");
    Type("BLOCK 7 100 80 20 0 0 -20 0 0 -1");
    Type("RBULGE 3 7 10 10 5 0 0 0 0 0 0 -1 0 0");
    std::string text = ProjectText();
    EXPECT_NE(text.find("\n$21 ON\n"), std::string::npos);
    EXPECT_NE(text.find("\n$50 MAN\n"), std::string::npos);
    EXPECT_LT(text.find("\n$15 3 7 "), text.find("\n$3 7 "));
    EXPECT_EQ(text.substr(text.size() - 5), "$128\n");
    Type("TOOLCHANGE AUTO 100 -50");
    EXPECT_NE(ProjectText().find("\n$50 AUTO 100.000 -50.000\n"), std::string::npos);

    std::string path = ScratchDir() + "/layout.kvp";
    Type("TOOLCHANGE MAN");
    ASSERT_EQ(SaveProject(path), 1);
    Type("COMMENTS OFF");
    ASSERT_EQ(Open(path), 1);
    EXPECT_EQ(GetSettings().comments, 1); // DEBUG reopens as ON
    EXPECT_EQ(GetMachine().tc_manual, 1);
    EXPECT_EQ(GetMachine().tc_position, 0);
}

TEST_F(ProjectTest, PercentagesComeBackAsTyped) {
    Type("PECKDRILL ON 29");
    Type("CLEANDRILLS ON 155 250 2 10");
    Type("OVERLAP 99.9999");
    std::string text = ProjectText();
    EXPECT_NE(text.find("\n$82 ON 29\n"), std::string::npos);
    EXPECT_NE(text.find("\n$36 ON 155.000 250 2 10.000\n"), std::string::npos);
    EXPECT_NE(text.find("\n$69 99.999\n"), std::string::npos);
    Type("QPLANE 0.0001"); // too small for three decimals: written in full
    std::string path = ScratchDir() + "/p.kvp";
    ASSERT_EQ(SaveProject(path), 1);
    ASSERT_EQ(Open(path), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_DOUBLE_EQ(GetSettings().qplane, 0.0001);
}

TEST_F(ProjectTest, AFailedSaveKeepsTheOldFile) {
    std::string path = WriteFile("kept.kvp", "old project\n");
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    SetProjectChanged(true);
    SimulateDiskFullAfter(100);
    EXPECT_EQ(SaveProject(path), 0);
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(test::Slurp(path), "old project\n");
    EXPECT_TRUE(ProjectChanged());
    // The temporary file cannot be made (as with a folder that may not be written).
    std::filesystem::create_directory(path + "." + std::to_string(ProcessId()) + ".tmp");
    EXPECT_EQ(SaveProject(path), 0);
    EXPECT_EQ(test::Slurp(path), "old project\n");
    EXPECT_EQ(SaveProject(""), 0);
    EXPECT_EQ(Messages(), (V{"[" + path + "] Can't open file for writing",
                             "[" + path + "] Can't open file for writing",
                             "[Filename undefined] Please use the FILE/SAVE menu to define"}));
    EXPECT_EQ(SaveProject(ScratchDir() + "/new.kvp"), 1);
    EXPECT_FALSE(ProjectChanged());
}

TEST_F(ProjectTest, DamagedProjectsOpenAsFarAsTheirLinesAllow) {
    std::string path = WriteFile("damaged.kvp", "VER 2.05\nPROJECTUNIT INCH\n"
                                                "BLOCK 1 4 3 1 0 0 -1 0 0 -1\n"
                                                "\x01\x02 garbage ;;\n"
                                                "FROBNICATE 12\n"
                                                "DRILL 5 99 0.25 0.5 1 1 0 0 0 1 -1\n"
                                                "RBULGE 1 1 2 2 0.5 0 0 0 0 0 0 -1 0 0\n"
                                                "BULGE 6 1 0 0 0.2 0 0 0 -1 0 0\n"
                                                "LINETO 1 0\n");
    EXPECT_EQ(Open(path), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Unrecognized command in file [" + path + "], line [4]",
                             "[Errors found] Unrecognized command in file [" + path + "], line [5]",
                             "[Errors found] Wrong object type in file [" + path + "], line [7]",
                             "[Errors found] Open Shape in file [" + path + "], line [10]"}));
    EXPECT_DOUBLE_EQ(UnitFactor(), 1.0); // no ENDOFFILE, but nothing typed next is scaled
    EXPECT_DOUBLE_EQ(GetBlock().length, 101.6);
    // The drill on a missing parent is kept, and everything saved reads back without a word.
    std::string saved = SaveAndRead("saved.kvp");
    EXPECT_NE(saved.find("$22 5 99 "), std::string::npos);
    ASSERT_EQ(Open(ScratchDir() + "/saved.kvp"), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(SaveAndRead("again.kvp"), saved);

    EXPECT_EQ(Open(ScratchDir()), 0);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() + "] File not found!"});
}

TEST_F(ProjectTest, OutlinesReportEachBadLineWithItsNumber) {
    std::string path = WriteFile("outlines.kvp", "BLOCK 1 100 80 30 0 0 -30 0 0 -1\n"
                                                 "BULGE 5 1 10 10 8 0 0 0 -1 0 0\n"
                                                 "LINETO 40\n"
                                                 "CWTO 40 10\n"
                                                 "CCWTO 40 10 5 1\n"
                                                 "LINETO 40 10\n"
                                                 "LINETO 40 40\n"
                                                 "LINETO 10 10\n"
                                                 "END\n"
                                                 "POCKET 6 1 50 10 4 0 0 0 -1 0 0\n"
                                                 "LINETO 80\n"
                                                 "LINETO 80 10\n"
                                                 "CCWTO 80 40\n"
                                                 "LINETO 80 40\n"
                                                 "LINETO 50 10\n"
                                                 "END\n"
                                                 "POCKET 7 1 0 0 0 0 0 0 -1 0 0\n"
                                                 "LINETO 5 0\n"
                                                 "CWTO 0 0 3\n"
                                                 "END\n"
                                                 "BULGE 8 1 0 0 5 0 0 0 -1 0 0\n"
                                                 "LINETO 5 0\n"
                                                 "LINETO 5 5\n"
                                                 "LINETO 0 0 0\n"
                                                 "END\n");
    EXPECT_EQ(Open(path), 0);
    auto at = [&](const std::string& what, int line) {
        return "[Errors found] " + what + " in file [" + path + "], line [" + std::to_string(line) +
               "]";
    };
    EXPECT_EQ(Messages(),
              (V{at("Syntax error", 3), at("Syntax error", 4), at("Syntax error", 5),
                 at("Syntax error", 11), at("Syntax error", 13), at("Value(s) out of range", 17),
                 at("Command unexpetced", 18), at("Command unexpetced", 19),
                 at("END command unexpetced", 20), at("Syntax error", 24), at("Open Shape", 25)}));
    EXPECT_EQ(LinesOf(5), "$16 5 1 10.00000 10.00000 8.00000 0.00000 0 0 -1 0 0\n"
                          "$31 40.00000 10.00000\n$31 40.00000 40.00000\n$31 10.00000 10.00000\n"
                          "$17\n");
    EXPECT_EQ(LinesOf(6), "$27 6 1 50.00000 10.00000 4.00000 0.00000 0 0 -1 0 0\n"
                          "$31 80.00000 10.00000\n$31 80.00000 40.00000\n$31 50.00000 10.00000\n"
                          "$17\n");
    EXPECT_EQ(IndexOf(7), -1);
    EXPECT_EQ(IndexOf(8), -1);
}

TEST_F(ProjectTest, EightThousandObjects) {
    std::string text = "PROJECTUNIT MM\nBLOCK 1 1000 1000 20 0 0 -20 0 0 -1\n";
    for (int id = 2; id <= kMaxObjectId; ++id)
        text += "$22 " + std::to_string(id) + " 1 3 5 " + std::to_string(id % 100) + " " +
                std::to_string(id / 100) + " 0 0 0 1 -1\n";
    text += "DRILL 8192 1 3 5 0 0 0 0 0 1 -1\nENDOFFILE\n";
    std::string path = WriteFile("big.kvp", text);
    EXPECT_EQ(Open(path), 1);
    // 1023 drills fill the table; the rest are refused one line each.
    EXPECT_EQ(Messages().size(), static_cast<std::size_t>(kMaxObjectId - 1 - 1024 + 1));
    std::string saved = SaveAndRead("big-saved.kvp");
    ASSERT_EQ(Open(ScratchDir() + "/big-saved.kvp"), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(SaveAndRead("big-again.kvp"), saved);
}

TEST_F(ProjectTest, ValuesThatCouldNotBeWrittenBackAreRefused) {
    // Found by fuzzing: 50000500 inches is a length of 1.27e9 mm, which would be written into a
    // line the reader refuses, and the drill would be lost on reopening.
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    Type("PROJECTUNIT INCH");
    EXPECT_EQ(Type("DRILL 7 1 10 12 50000500 1 0 0 0 1 -1"), 0);
    EXPECT_EQ(Type("DRILL 7 1 10 12 393000 1 0 0 0 1 -1"), 1); // 9982 m: still written back
    Type("ENDOFFILE");
    EXPECT_EQ(Type("DRILL 8 1 10 12 9999999 1 0 0 0 1 -1"), 1);
    EXPECT_EQ(Type("DRILL 9 1 10 12 10000000 1 0 0 0 1 -1"), 0);
    // The longest engraving text with the largest numbers still fits its line.
    Type("ENG_TEXT 10 1 \"" + std::string(200, 't') +
         "\" -9999999.99999 -9999999.99999 -9999999.99999 9999999.99999 9999999.99999 "
         "9999999.99999 -9999999.99999 -9999999.99999 2");
    std::string path = ScratchDir() + "/large.kvp";
    ASSERT_EQ(SaveProject(path), 1);
    for (const std::string& line : [&] {
             std::vector<std::string> lines;
             std::istringstream in(test::Slurp(path));
             for (std::string l; std::getline(in, l);)
                 lines.push_back(l);
             return lines;
         }())
        EXPECT_LE(line.size(), 254u) << line.substr(0, 20);
    std::string saved = test::Slurp(path);
    ASSERT_EQ(Open(path), 1);
    EXPECT_EQ(Messages(), V(2, "[Errors found] Value(s) out of range"));
    EXPECT_EQ(SaveAndRead("again.kvp"), saved);
}

TEST_F(ProjectTest, TinySizesAreWrittenSoThatTheyReopen) {
    // Found by fuzzing: an engraving text 0.0000006 high was written with five decimals as 0,
    // which the reader refuses, and the text was lost on reopening. Every size that must be
    // above zero is written in full when five decimals would make it zero.
    TypeAll({"BLOCK 1 100 80 0.000004 0 0 -20 0 0 -1",
             "RBULGE 2 1 0.000004 0.000003 0.000002 10 10 0 0 0 0 -1 0 0",
             "CBULGE 3 1 0.000004 0.000002 30 25 0 0 0 -1 0 0",
             "POLYGON 4 1 6 0.000004 0.000002 50 50 0 0 0 -1 0 0",
             "BULGE 5 1 10 10 0.000002 0 0 0 -1 0 0", "LINETO 20 10", "LINETO 20 20",
             "LINETO 10 10", "END",
             "RPOCKET 6 1 0.000004 0.000004 0.000002 60 10 0.000001 0 0 0 -1 0 0",
             "POCKET 7 1 70 10 0.000002 0 0 0 -1 0 0", "LINETO 80 10", "LINETO 80 20",
             "LINETO 70 10", "END", "ENG_TEXT 8 1 \"S\" 0 70 75 0.0000006 0.000003 0.000002 1 1 2",
             "INFO_TEXT 9 1 \"N\" 0 60 0 0.0000006 1 1 0"});
    std::string saved = SaveAndRead("tiny.kvp");
    EXPECT_NE(saved.find("\n$53 8 1 \"S\" 0.00000 70.00000 75.00000 5.9999999999999997e-07 "
                         "3.0000000000000001e-06 1.9999999999999999e-06 1.00000 1.00000 2\n"),
              std::string::npos);
    EXPECT_NE(saved.find("\n$15 2 1 4.0000000005591119e-06 2.9999999995311555e-06 "),
              std::string::npos);
    EXPECT_NE(saved.find(" 10.00000 10.00000 0.00000 0.00000 "), std::string::npos); // as before
    ASSERT_EQ(Open(ScratchDir() + "/tiny.kvp"), 1);
    EXPECT_TRUE(Messages().empty());
    for (int id = 1; id <= 9; ++id)
        EXPECT_GE(IndexOf(id), 0) << id;
    EXPECT_EQ(SaveAndRead("tiny-again.kvp"), saved);
}

TEST_F(ProjectTest, ALowerToolHolderDetachesTheToolsBeyondIt) {
    // Found by fuzzing: a tool attached in place 7 stayed attached after TOOLHOLDER 4, unusable
    // but still saved, and opening the saved project refused it.
    TypeAll({"ATTTOOL 1 CENTER_DRILL_3.15 0 0 0", "ATTTOOL 7 FACE_MILL_50 0 0 0",
             "ATTTOOL 8 DRILL_10 0 0 0", "BLOCK 1 100 80 20 0 0 -20 0 0 -1"});
    Messages();
    EXPECT_EQ(Type("TOOLHOLDER 7"), 1);
    EXPECT_EQ(Messages(), V{"[Toolholder too small!] 1 tool(s) could not be loaded"});
    EXPECT_EQ(Type("TOOLHOLDER 4"), 1);
    EXPECT_EQ(Messages(), V{"[Toolholder too small!] 1 tool(s) could not be loaded"});
    EXPECT_EQ(Type("TOOLHOLDER 20"), 1);
    EXPECT_TRUE(Messages().empty());
    Type("TOOLHOLDER 4");
    std::string saved = SaveAndRead("holder.kvp");
    EXPECT_NE(saved.find("\n$11 1 CENTER_DRILL_3.15 "), std::string::npos);
    EXPECT_EQ(saved.find("\n$11 7 "), std::string::npos);
    EXPECT_EQ(saved.find("\n$11 8 "), std::string::npos);
    ASSERT_EQ(OpenProject(ScratchDir() + "/holder.kvp"), 1); // with the holder as it is now
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(SaveAndRead("holder-again.kvp"), saved);
}

TEST_F(ProjectTest, NamesAndTextsStayOneToken) {
    Type("GCFILE \"out put.cnc\"");
    Type("DWGFILE \"a,b.dxf\"");
    Type("PART " + std::string(300, 'p'));
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    Type("MATERIAL \"st 52,3\"");
    EXPECT_EQ(GetBlock().material, "ST 52,3");
    std::string path = ScratchDir() + "/names.kvp";
    ASSERT_EQ(SaveProject(path), 1);
    ASSERT_EQ(Open(path), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetSettings().gcfile, "out put.cnc");
    EXPECT_EQ(GetSettings().dwgfile, "a,b.dxf");
    EXPECT_EQ(GetBlock().material, "ST 52,3");
    // The word of 255 characters would make the text too long for its line; the rest stays.
    EXPECT_EQ(GetSettings().part, std::string(45, 'p'));
    EXPECT_EQ(Type("GCFILE " + std::string(250, 'g')), 0);
    EXPECT_EQ(Type("BLOCK 1 1e300 80 20 0 0 -20 0 0 -1"), 0);
    EXPECT_EQ(Messages(), V(2, "[Errors found] Value(s) out of range"));
}

} // namespace
} // namespace korvel
