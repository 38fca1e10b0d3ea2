// korvel.cfg, machine definitions and the start-up that reads them.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/undo_stack.h"
#include "model/machine.h"
#include "model/settings.h"
#include "model/thread_type.h"
#include "script/config.h"
#include "script/db_files.h"
#include "support.h"
#include "tooldb/database.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using ConfigTest = test::KorvelTest;
using V = std::vector<std::string>;

TEST_F(ConfigTest, ShippedConfigurationStartsWithoutAMessage) {
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetSettings().machine_name, "VMC-850");
    EXPECT_EQ(GetSettings().toolholder, 20);
    EXPECT_FLOAT_EQ(GetMachine().table_length, 1000);
    EXPECT_EQ(GetMachine().hslots, 5);
    EXPECT_EQ(MachineCount(), 1);
    EXPECT_EQ(GetSettings().edit, "xdg-open");
}

TEST_F(ConfigTest, MissingOrRejectedConfiguration) {
    SetProgramDirectory(MakeHome(""));
    std::remove((ScratchDir() + "/korvel.cfg").c_str());
    EXPECT_EQ(StartUp(), StartupResult::kConfigMissing);
    WriteFile("korvel.cfg", "OVERLAP 10\nOVERLAP 100\n");
    EXPECT_EQ(StartUp(), StartupResult::kConfigRejected);
    WriteFile("korvel.cfg", "OVERLAP 100\nNOSUCHWORD\nOVERLAP 1 2\nRPLANE 1 FOOT\n# ok\n");
    EXPECT_EQ(StartUp(), StartupResult::kOk);
    std::string cfg = ScratchDir() + "/korvel.cfg";
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Value(s) out of range in file [" + cfg + "], line [2]",
                 "[Errors found] Value(s) out of range in file [" + cfg + "], line [1]",
                 "[Errors found] Unrecognized command in file [" + cfg + "], line [2]",
                 "[Errors found] Syntax error in file [" + cfg + "], line [3]",
                 "[Errors found] Value(s) out of range in file [" + cfg + "], line [4]"}));
    EXPECT_EQ(UndoDepth(), 0);
}

TEST_F(ConfigTest, MachineDefinitions) {
    SetProgramDirectory(ScratchDir());
    WriteFile("a.mach", "TABLE 500 300 0 0\n");
    WriteFile("b.mach", "TABLE 700 300 0 0\nDEFINE\n");
    EXPECT_EQ(Type("CNC MillA a.mach"), 1); // the first machine is current at once
    EXPECT_FLOAT_EQ(GetMachine().table_length, 500);
    EXPECT_EQ(Type("CNC MillB b.mach"), 1); // only defined
    EXPECT_FLOAT_EQ(GetMachine().table_length, 500);
    EXPECT_EQ(Type("CNC MillA a.mach"), 1);
    EXPECT_EQ(MachineCount(), 2);
    EXPECT_EQ(Type("CNC MillA b.mach"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many CNC-Mashine definitions"});

    EXPECT_EQ(Type("CNC MillB"), 1);
    EXPECT_EQ(GetSettings().machine_name, "MillB");
    EXPECT_FLOAT_EQ(GetMachine().table_length, 700);
    EXPECT_EQ(GetSettings().output_file, "$" + std::to_string(ProcessId()) + ".tmp");
    EXPECT_EQ(Type("CNC MillA"), 1);
    EXPECT_EQ(GetSettings().output_file, GetSettings().gcfile);
    EXPECT_EQ(Type("CNC Unknown"), 0); // refused without a word
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConfigTest, MachineTableIsFull) {
    SetProgramDirectory(ScratchDir());
    WriteFile("m.mach", "# empty\n");
    for (int i = 0; i < kMaxMachines; ++i)
        ASSERT_EQ(Type("CNC M" + std::to_string(i) + " m.mach"), 1);
    EXPECT_EQ(Type("CNC M64 m.mach"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many CNC-Mashine definitions"});
}

TEST_F(ConfigTest, BadMachineFiles) {
    SetProgramDirectory(MakeHome(""));
    std::string self = WriteFile("self.mach", "TABLE 600 300 0 0\nCNC Loop self.mach\n");
    WriteFile("korvel.cfg", "CNC Loop self.mach\nCNC Gone gone.mach\nCNC Gone\n# end\n");
    EXPECT_EQ(StartUp(), StartupResult::kOk);
    EXPECT_EQ(Messages(), (V{"[Errors found] File [" + self +
                                 "] is already being read and cannot be read "
                                 "again from within itself",
                             "[" + ScratchDir() + "/gone.mach] File not found!"}));
    EXPECT_FLOAT_EQ(GetMachine().table_length, 600);
}

TEST_F(ConfigTest, EditingTheConfigurationAsksForARestart) {
    SetProgramDirectory(ScratchDir());
    Type("EDIT true");
    EditCfgFile();
    EXPECT_EQ(Messages(), V{"[Korvel Configuration] Please restart Korvel to activate changes"});
}

TEST_F(ConfigTest, FilesWithCarriageReturnsAloneStartTheSame) {
    // Every shipped file with its line feeds turned into carriage returns: the same start-up,
    // not a fall-back to the built-in set-up and an empty database.
    SetProgramDirectory(std::string(KORVEL_SOURCE_DIR) + "/data");
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    const std::string kDatabase = ToolDBText();
    const int kGroups = MaterialGroupCount();
    for (const char* name :
         {"korvel.cfg", "threads.dat", "amg.dat", "kvdb.csv", "vmc-850.mach", "simplex.fnt"}) {
        std::string text = test::Slurp(std::string(KORVEL_SOURCE_DIR) + "/data/" + name);
        for (char& c : text)
            if (c == '\n')
                c = '\r';
        WriteFile(std::string("cr/") + name, text);
    }
    SetProgramDirectory(ScratchDir() + "/cr");
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetSettings().machine_name, "VMC-850");
    EXPECT_EQ(GetSettings().toolholder, 20);
    EXPECT_EQ(GetSettings().edit, "xdg-open");
    EXPECT_EQ(MaterialGroupCount(), kGroups);
    EXPECT_GT(ThreadTypeIndex(10, 1.5), -1);
    EXPECT_EQ(ToolDBText(), kDatabase);
}

} // namespace
} // namespace korvel
