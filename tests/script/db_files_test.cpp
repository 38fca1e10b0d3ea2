// The database files: kvdb.csv round trips, units, the older files and their error report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "base/units.h"
#include "support.h"
#include "tooldb/database.h"
#include "script/db_files.h"
#include "tooldb/library.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

std::string Shipped(const std::string& name) {
    return std::string(KORVEL_SOURCE_DIR) + "/data/" + name;
}

class DbFilesTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        chdir_ = std::make_unique<test::ScopedChdir>(ScratchDir());
        SetProgramDirectory(ScratchDir());
    }
    void TearDown() override {
        ReportLoadError("", true);
        chdir_.reset();
        KorvelTest::TearDown();
    }
    std::string Report() { return test::Slurp(ScratchDir() + "/DB_ERR.TXT"); }
    void LoadShipped() {
        SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
        ASSERT_GT(LoadMaterialGroups(), 0);
        ASSERT_EQ(LoadToolDB(), 1);
        SetProgramDirectory(ScratchDir());
    }
    std::unique_ptr<test::ScopedChdir> chdir_;
};

TEST_F(DbFilesTest, ShippedDatabaseLoadsAndSavesIdentically) {
    LoadShipped();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReportLoadError(""), 0);
    EXPECT_GE(MaterialCount(), 30);
    EXPECT_GE(MaterialGroupCount(), 12);
    EXPECT_EQ(ToolDBText(), test::Slurp(Shipped("kvdb.csv")));
    ASSERT_EQ(SaveToolDB(), 1);
    std::string saved = test::Slurp(ScratchDir() + "/kvdb.csv");
    EXPECT_EQ(saved, test::Slurp(Shipped("kvdb.csv")));
    // Loading the saved file gives the same tables again.
    ClearToolsMaterialsDB();
    ASSERT_EQ(LoadToolDB(), 1);
    EXPECT_EQ(ToolDBText(), saved);
}

TEST_F(DbFilesTest, ShippedDataCoverTheShop) {
    LoadShipped();
    EXPECT_GE(GetMaterialGroup("ST37-2"), 0); // the default block material
    for (const char* tool : {"DRILL 8.5", "DRILL 10.2", "DRILL 5", "TAP M6", "TAP M12",
                             "CENTER DRILL 3.15", "END MILL R10", "END MILL F2", "FACE MILL 50",
                             "COUNTERSINK 90 D12.4", "ENGRAVER 0.5", "THREAD MILL D8 P1.5"}) {
        EXPECT_GE(FindTool(tool), 0) << tool;
        for (const char* material : {"ST37-2", "ALMG3", "POM"})
            EXPECT_EQ(ToolSuitable(tool, material), 1) << tool << " " << material;
    }
}

TEST_F(DbFilesTest, ShippedGroupNumbersBecomeTheirCodes) {
    std::ifstream in(Shipped("amg.dat"));
    std::string line;
    int groups = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::string number = line.substr(0, line.find('\t'));
        std::size_t dot = number.find('.');
        ASSERT_NE(dot, std::string::npos) << number;
        int expected = std::atoi(number.substr(0, dot).c_str()) * 10 + (number[dot + 1] - '0');
        EXPECT_EQ(GroupCode(std::atof(number.c_str())), expected) << number;
        EXPECT_EQ(GroupCode(static_cast<float>(std::atof(number.c_str()))), expected) << number;
        ++groups;
    }
    EXPECT_GE(groups, 12);
    ASSERT_GT(LoadMaterialGroups(), -2);
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    LoadMaterialGroups();
    EXPECT_EQ(MaterialGroupCount(), groups);
    EXPECT_GE(FindMaterialGroup(23), 0);
}

TEST_F(DbFilesTest, InchFilesConvertLengthsAndFeedsButNotSpeeds) {
    RegisterMaterialGroup(11, "STEEL", "S");
    WriteFile("kvdb.csv", "$127 INCH\n"
                          "$131\tDRILL_1/4\t2\t0.25\t0\t3\t2\t0\n"
                          "$132\tDRILL_1/4\t11\t1500\t0\t0\t4\t0\t0.00\n"
                          "$128\n");
    ASSERT_EQ(LoadToolDB(), 1);
    int type;
    double dia, dia2, length;
    GetToolData("DRILL 1/4", type, dia, dia2, length, nullptr);
    EXPECT_DOUBLE_EQ(dia, 6.35);
    EXPECT_DOUBLE_EQ(length, 76.2);
    int speed;
    double fxy, cutxy, fz, cutz, spare;
    GetToolMatGroupData("DRILL 1/4", 11, speed, fxy, cutxy, fz, cutz, spare);
    EXPECT_EQ(speed, 1500);
    EXPECT_DOUBLE_EQ(fz, 101.6);
    EXPECT_DOUBLE_EQ(UnitFactor(), 1.0);
    // Saved under an inch user unit, the file says INCH and reads back unchanged.
    SetUserUnit(kUnitInch);
    ClearToolsMaterialsDB();
    ASSERT_EQ(LoadToolDB(), 1);
    EXPECT_NE(ToolDBText().find("$127 INCH\n"), std::string::npos);
    GetToolData("DRILL 1/4", type, dia, dia2, length, nullptr);
    EXPECT_DOUBLE_EQ(dia, 0.25);
}

TEST_F(DbFilesTest, DefinitionLineErrors) {
    RegisterMaterialGroup(11, "STEEL", "S");
    const std::string kSyntax = "[Errors found] Syntax error";
    EXPECT_EQ(Type("DEFTOOL T1 2 5 0 50 2"), 0);             // 7 fields
    EXPECT_EQ(Type("DEFTOOL T1 2 5 0 50 2 0 text more"), 0); // 10 fields
    EXPECT_EQ(Type("DEFTOOL T1 2 5 0 50 2 0"), 1);           // 8: no description
    EXPECT_EQ(Type("DEFTOOL T1 2 5 0 50 2 0 other"), 0);
    EXPECT_EQ(Type("DEFTOOLMAT T2 11 1000 0 0 100 0 0"), 0);
    EXPECT_EQ(Type("DEFTOOLMAT T1 12 1000 0 0 100 0 0"), 0);
    EXPECT_EQ(Type("DEFTOOLMAT T1 11 1000 0 0 100 0 0"), 1);
    EXPECT_EQ(Type("DEFTOOLMAT T1 11 1000 0 0 100 0 0"), 0);
    EXPECT_EQ(Type("DEFTOOLMAT T1 11 1000 0 0 100 0"), 0);
    EXPECT_EQ(Type("DEFMAT ST37 11 x"), 0);
    EXPECT_EQ(Messages(), (V{kSyntax, kSyntax, "[Errors found] Dublicate definition",
                             "[Errors found] Uknown Tool", "[Errors found] Material Group Unknown",
                             "[Errors found] Dublicate definition", kSyntax, kSyntax}));
    std::string desc;
    int type;
    double d, d2, l;
    GetToolData("T1", type, d, d2, l, &desc);
    EXPECT_EQ(desc, "");
}

TEST_F(DbFilesTest, NamesWithScriptDelimitersSurviveSaving) {
    RegisterMaterialGroup(11, "STEEL", "S");
    RegisterMaterial("STEEL, COLD DRAWN", 11);
    SetToolDataExt("MILL #3 (LONG)", kEndMillFine, 3, 0, 30, 2, 0, "50% \"fast\"; side");
    RegisterToolMatGroup("MILL #3 (LONG)", 11, 8000, 500, 0.1, 0, 0, 0);
    std::string text = ToolDBText();
    ClearToolsMaterialsDB();
    WriteFile("kvdb.csv", text);
    ASSERT_EQ(LoadToolDB(), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetMaterialGroup("STEEL, COLD DRAWN"), 11);
    std::string desc;
    int type;
    double d, d2, l;
    ASSERT_GE(GetToolData("MILL #3 (LONG)", type, d, d2, l, &desc), 0);
    EXPECT_EQ(desc, "50% 'fast'; side");
    EXPECT_EQ(ToolSuitable("MILL #3 (LONG)", "STEEL, COLD DRAWN"), 1);
}

TEST_F(DbFilesTest, SavedLinesAlwaysReadBack) {
    RegisterMaterialGroup(11, "STEEL", "S");
    SetToolDataExt(std::string(79, 'N'), kEndMillFine, 3, 0, 30, 2, 0, std::string(255, 'd'));
    SetToolDataExt("Q\"UOTE", kDrillTool, 3, 0, 30, 2, 0, "");
    std::string text = ToolDBText();
    ClearToolsMaterialsDB();
    WriteFile("kvdb.csv", text);
    ASSERT_EQ(LoadToolDB(), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ToolDBText(), text);
    std::string desc;
    int type;
    double d, d2, l;
    ASSERT_GE(GetToolData(std::string(79, 'N'), type, d, d2, l, &desc), 0);
    EXPECT_GT(desc.size(), 100u);
    EXPECT_GE(FindTool("Q'UOTE"), 0);
    EXPECT_EQ(Type("DEFTOOL HUGE 2 1e300 0 10 2 0"), 0);
    EXPECT_EQ(Type("DEFTOOLMAT Q'UOTE 11 100 inf 0 0 0 0"), 0);
    EXPECT_EQ(Messages(), V(2, "[Errors found] Value(s) out of range"));
}

TEST_F(DbFilesTest, OlderFilesAndTheirReport) {
    WriteFile("amg.dat", "# groups\n1.1\tSTEEL\tUNALLOYED\n2.3\tSTAINLESS\tDUPLEX\n4.1\tAL\n"
                         "x.y\tBAD\tNUMBER\n" +
                             std::string(300, 'z') + "\n\n4.1\tALU\tWROUGHT\n");
    WriteFile("material.dat", "st37-2\t1.1\nX2CRNIMON\t2.3\nLONELY\n");
    WriteFile("tool.dat", "DRILL_6\t2\t6\t0\t60\t2\t0\tHSS\n"
                          "DRILL_6\t2\t6.5\t0\t60\t2\t0\tsecond\n"
                          "MILL_8\t5\t8\t0\t24\t4\t0\t\"4_flutes\"\n"
                          "BROKEN\t5\n");
    WriteFile("toolmat.dat", "DRILL_6\t1.1\t1600\t0\t0\t150\t0\t0\n"
                             "GHOST\t1.1\t1600\t0\t0\t150\t0\t0\n"
                             "DRILL_6\t9.9\t1600\t0\t0\t150\t0\t0\n"
                             "DRILL_6\t1.1\t1700\t0\t0\t160\t0\t0\n"
                             "# comment\n"
                             "MILL_8\t2.3\t9000\t900\t0\t200\t4\t0\n");
    EXPECT_EQ(LoadMaterialGroups(), 8);
    EXPECT_EQ(LoadMaterials(), 3);
    EXPECT_EQ(LoadTools(), 2);
    EXPECT_EQ(LoadToolMat(), 2);
    EXPECT_EQ(MaterialGroupCount(), 3);
    EXPECT_EQ(GetMaterialGroup("X2CRNIMON"), 23);
    EXPECT_EQ(GetMaterialGroup("ST37-2"), 11); // upper-cased
    std::string desc;
    int type;
    double d, d2, l;
    GetToolData("DRILL 6", type, d, d2, l, &desc);
    EXPECT_EQ(d, 6); // the first of two lines with the same name stays
    GetToolData("MILL 8", type, d, d2, l, &desc);
    EXPECT_EQ(desc, "4_flutes"); // quoted: underscores kept
    EXPECT_EQ(ToolSuitable("MILL 8", "X2CRNIMON"), 1);
    EXPECT_EQ(ReportLoadError("", true), 10);
    EXPECT_EQ(Report(), "1\tFile [amg.dat], Line [4] Arguments missmatch\n"
                        "2\tFile [amg.dat], Line [5] Invalid group number\n"
                        "3\tFile [amg.dat], Line [6] Line too long\n"
                        "4\tFile [material.dat], Line [3] Arguments missmatch\n"
                        "5\tFile [tool.dat], Line [2] Dublicate entry\n"
                        "6\tFile [tool.dat], Line [4] Arguments missmatch\n"
                        "7\tFile [toolmat.dat], Line [2] Unknown tool\n"
                        "8\tFile [toolmat.dat], Line [3] Unknown material group\n"
                        "9\tFile [toolmat.dat], Line [4] Dublicate entry\n"
                        "10\tFile [toolmat.dat], Line [5] Arguments missmatch\n");
}

TEST_F(DbFilesTest, MissingOlderFiles) {
    EXPECT_EQ(LoadMaterialGroups(), -1);
    EXPECT_EQ(LoadMaterials(), -1);
    EXPECT_EQ(LoadTools(), 0);
    EXPECT_EQ(LoadToolMat(), 0);
    EXPECT_EQ(LoadToolDB(), 1); // no kvdb.csv: an empty database
    EXPECT_EQ(Report(), "1\t" + ScratchDir() + "/amg.dat: file missing!\n2\t" + ScratchDir() +
                            "/material.dat: Can't read file\n");
}

TEST_F(DbFilesTest, GarbageAndFullTablesNeverCrash) {
    std::string garbage;
    for (int i = 0; i < 4000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    for (const char* name : {"amg.dat", "material.dat", "tool.dat", "toolmat.dat", "kvdb.csv"})
        WriteFile(name, garbage);
    LoadMaterialGroups();
    LoadMaterials();
    LoadTools();
    LoadToolMat();
    EXPECT_EQ(LoadToolDB(), -1);
    Messages();
    std::string tools;
    for (int i = 0; i <= kMaxTools; ++i)
        tools += "T" + std::to_string(i) + "\t2\t5\t0\t50\t2\t0\n";
    WriteFile("tool.dat", tools);
    InitAllTables();
    EXPECT_EQ(LoadTools(), kMaxTools);
    EXPECT_NE(Report().find("Tool Data Base Error: Too many tools!"), std::string::npos);
}

TEST_F(DbFilesTest, LibraryDirectoryAndSaveModes) {
    EXPECT_EQ(Type("LIBRARY /nowhere/lib CONF"), 1);
    EXPECT_EQ(SaveMode(), kAskOnExit);
    EXPECT_EQ(LibraryPath("tool.dat"), "/nowhere/lib/tool.dat");
    EXPECT_EQ(Type("LIBRARY \"/other dir\""), 1);
    EXPECT_EQ(SaveMode(), kAskOnExit);
    EXPECT_EQ(LibraryDirectory(), "/other dir");
    EXPECT_EQ(Type("LIBRARY lib KEEP"), 0);
    EXPECT_EQ(Type("LIBRARY lib R"), 1);
    EXPECT_EQ(SaveMode(), kReadOnly);
    EXPECT_EQ(Type("LIBRARY lib CONFIRM"), 1); // read-only is not lifted
    EXPECT_EQ(SaveMode(), kReadOnly);
    EXPECT_EQ(Messages(), V{"[Errors found] Syntax error"});
}

TEST_F(DbFilesTest, SavingIntoTheLibraryAndAtExit) {
    RegisterMaterialGroup(11, "STEEL", "S");
    SetToolDataExt("DRILL 6", kDrillTool, 6, 0, 60, 2, 0, "");
    RegisterToolMatGroup("DRILL 6", 11, 1600, 0, 0, 150, 0, 0);
    WriteFile("lib/keep", "");
    Type("LIBRARY " + ScratchDir() + "/lib CONFIRM");
    SetHeadlessAnswer(kIdNo);
    SaveDatabaseAtExit();
    EXPECT_EQ(Messages(), V{"[Korvel] Save Tool Data Base Data ?"});
    EXPECT_EQ(test::Slurp(ScratchDir() + "/lib/kvdb.csv"), "");
    SetHeadlessAnswer(kIdYes);
    SaveDatabaseAtExit();
    EXPECT_EQ(SaveMode(), kSaveOnExit);
    EXPECT_EQ(test::Slurp(ScratchDir() + "/lib/tool.dat"),
              "DRILL_6\t2\t6.000\t0.000\t60.000\t2\t0.000\t\n");
    EXPECT_EQ(test::Slurp(ScratchDir() + "/lib/toolmat.dat"),
              "DRILL_6\t1.1\t1600\t0.000\t0.000\t150.000\t0.000\t0\n");
    EXPECT_NE(test::Slurp(ScratchDir() + "/lib/kvdb.csv").find("$131\tDRILL_6\t2\t6.000000"),
              std::string::npos);
}

TEST_F(DbFilesTest, AFailedSaveLeavesTheOldFile) {
    WriteFile("kvdb.csv", "old contents\n");
    SimulateDiskFullAfter(10);
    EXPECT_EQ(SaveToolDB(), 0);
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() +
                            "/kvdb.csv] Can't open file (Material and Tool "
                            "DB) for writing"});
    EXPECT_EQ(test::Slurp(ScratchDir() + "/kvdb.csv"), "old contents\n");
    Type("LIBRARY /nonexistent-dir");
    EXPECT_EQ(SaveTools(), -1);
    EXPECT_EQ(Messages(), V{"[/nonexistent-dir/tool.dat] Can't open file for writing"});
}

TEST_F(DbFilesTest, TheFilesAtExitAreReplacedAsOneSet) {
    RegisterMaterialGroup(11, "STEEL", "S");
    SetToolDataExt("DRILL 6", kDrillTool, 6, 0, 60, 2, 0, "");
    RegisterToolMatGroup("DRILL 6", 11, 1600, 0, 0, 150, 0, 0);
    for (const char* name : {"tool.dat", "toolmat.dat", "kvdb.csv"})
        WriteFile(name, "old\n");
    // The disk fills up while kvdb.csv, the last of them, is written: none is replaced.
    SimulateDiskFullAfter(120);
    SaveDatabaseAtExit();
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() +
                            "/kvdb.csv] Can't open file (Material and Tool DB) for writing"});
    for (const char* name : {"tool.dat", "toolmat.dat", "kvdb.csv"})
        EXPECT_EQ(test::Slurp(ScratchDir() + "/" + name), "old\n") << name;
    SimulateDiskFullAfter(10);
    SaveDatabaseAtExit();
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() + "/tool.dat] Can't open file for writing"});
    EXPECT_EQ(test::Slurp(ScratchDir() + "/tool.dat"), "old\n");

    SaveDatabaseAtExit();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(test::Slurp(ScratchDir() + "/tool.dat"),
              "DRILL_6\t2\t6.000\t0.000\t60.000\t2\t0.000\t\n");
    EXPECT_EQ(test::Slurp(ScratchDir() + "/kvdb.csv"), ToolDBText());
}

TEST_F(DbFilesTest, OlderFilesWithCarriageReturnsAlone) {
    WriteFile("amg.dat", "# groups\r1.1\tSTEEL\tS\r\r2.3\tALU\tA\rbroken\r");
    EXPECT_EQ(LoadMaterialGroups(), 5);
    EXPECT_GE(FindMaterialGroup(11), 0);
    EXPECT_GE(FindMaterialGroup(23), 0);
    WriteFile("tool.dat", "DRILL_6\t2\t6\t0\t60\t2\t0\rDRILL_8\t2\t8\t0\t60\t2\t0\r\n");
    EXPECT_EQ(LoadTools(), 2);
    ReportLoadError("", true);
    EXPECT_EQ(Report(), "1\tFile [amg.dat], Line [5] Arguments missmatch\n");
}

TEST_F(DbFilesTest, ImportingTheOlderFiles) {
    RegisterMaterialGroup(11, "STEEL", "S");
    SetToolDataExt("OLD", kDrillTool, 6, 0, 60, 2, 0, "");
    EXPECT_EQ(LoadOldDB(), 0);
    EXPECT_EQ(Messages(), V{"[File: Material.dat] Loading Materials failed"});
    EXPECT_EQ(FindTool("OLD"), -1); // the database was emptied first
    EXPECT_EQ(SaveMode(), kReadOnly);
    WriteFile("material.dat", "ST37\t1.1\n");
    WriteFile("tool.dat", "DRILL_6\t2\t6\t0\t60\t2\t0\n");
    EXPECT_EQ(LoadOldDB(), 1);
    EXPECT_EQ(SaveMode(), kAskOnExit);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_GE(FindTool("DRILL 6"), 0);
}

TEST_F(DbFilesTest, ALoadErrorMakesTheDatabaseReadOnly) {
    std::string home = MakeHome("home");
    WriteFile("home/korvel.cfg", "LIBRARY " + home + " CONFIRM\n# end\n");
    WriteFile("home/amg.dat", "1.1\tSTEEL\tSTEEL\nbroken\n");
    SetProgramDirectory(home);
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    EXPECT_EQ(SaveMode(), kReadOnly);
    V shown = Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].substr(0, 38), "[Korvel] ERRORS in Tool Data Base. Ple");
}

} // namespace
} // namespace korvel
