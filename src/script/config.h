// The configuration: korvel.cfg in the program directory, the machine definitions (CNC) with
// their machine files, and the font file.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxMachines = 64;
constexpr std::size_t kMaxMachineName = 79;

struct MachineDefinition {
    std::string name;
    std::string file; // relative to the program directory
};

// The defined machines, in table order.
int MachineCount();
MachineDefinition GetMachineDefinition(int index);

// The machine file of a defined machine; false when no machine has that name.
bool FindMachineFile(const std::string& name, std::string& file);

// Machine items, view flags and machine definitions to their defaults.
void InitMachine();
// Runs InitMachine, then korvel.cfg if it exists. The result of its last line; 0 when the
// file is missing.
int LoadConfig();
std::string ConfigPath();
// Opens korvel.cfg in the editor; changes take effect at the next start.
void EditCfgFile();
// Makes a defined machine current; 0 for an unknown name.
int LoadCNC(const std::string& name);

int CncCom(const char* file, int line);  // CNC name [machine file]
int FontCom(const char* file, int line); // FONT file

} // namespace korvel
