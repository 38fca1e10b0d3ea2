// Start-up configuration and machine definitions.
#include "script/config.h"

#include <array>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "model/atttool.h"
#include "model/machine.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/font_file.h"
#include "script/interpreter.h"

namespace korvel {

namespace {

std::array<MachineDefinition, kMaxMachines> g_machines;
int g_machine_count = 0; // entries are filled from the first; the table ends at the first free

int FindMachine(const std::string& name) {
    for (int i = 0; i < g_machine_count; ++i)
        if (g_machines[i].name == name)
            return i;
    return -1;
}

int TooManyMachines(const char* file, int line) {
    std::string text =
        file ? Sprintf("Too many CNC-Mashine definitions, file [%s], line [%d]", file, line)
             : std::string("Too many CNC-Mashine definitions");
    ShowMessage(text, "Errors found", kMbOk | kMbIconExclamation);
    return 0;
}

std::string Truncated(std::string s, std::size_t max) {
    if (s.size() > max)
        s.resize(max);
    return s;
}

} // namespace

int MachineCount() { return g_machine_count; }

MachineDefinition GetMachineDefinition(int index) {
    return index >= 0 && index < g_machine_count ? g_machines[index] : MachineDefinition();
}

bool FindMachineFile(const std::string& name, std::string& file) {
    int index = FindMachine(name);
    if (index < 0)
        return false;
    file = g_machines[index].file;
    return true;
}

void InitMachine() {
    ResetMachineSetup();
    MutableSettings().view_given = 0;
    for (MachineDefinition& m : g_machines)
        m = MachineDefinition();
    g_machine_count = 0;
}

std::string ConfigPath() { return ProgramDirectory() + "korvel.cfg"; }

int LoadConfig() {
    InitMachine();
    std::string path = ConfigPath();
    if (!FileExist(path))
        return 0;
    return InterpretFile(path);
}

void EditCfgFile() {
    StartProgram(GetSettings().edit + " '" + ConfigPath() + "'");
    ShowMessage("Please restart Korvel to activate changes", "Korvel Configuration",
                kMbOk | kMbIconInformation);
}

int LoadCNC(const std::string& name) {
    MutableSettings().machine_name = Truncated(name, kMaxMachineName);
    int index = FindMachine(MutableSettings().machine_name);
    if (index < 0)
        return 0;
    SetDefinitionMode(0);
    InterpretFile(ProgramDirectory() + g_machines[index].file);
    Settings& s = MutableSettings();
    if (DefinitionMode())
        s.output_file = Sprintf("$%d.tmp", ProcessId()); // handed to the post-processor
    else
        s.output_file = s.gcfile;
    int detached = DetachToolsBeyondHolder();
    if (detached > 0)
        ShowMessage(Sprintf("%d tool(s) could not be loaded", detached), "Toolholder too small!",
                    kMbOk | kMbIconExclamation);
    return 1;
}

int CncCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    std::string name = Truncated(NameToken(Arg(1)), kMaxMachineName);
    if (count == 2)
        return LoadCNC(name);

    std::string machine_file = Arg(2);
    int index = FindMachine(name);
    if (index >= 0 && g_machines[index].file != machine_file)
        return TooManyMachines(file, line);
    if (index < 0) {
        if (g_machine_count == kMaxMachines)
            return TooManyMachines(file, line);
        index = g_machine_count++;
        g_machines[index] = {name, Truncated(machine_file, kMaxSettingText)};
    }
    if (index != 0)
        return 1;
    // The first machine defined is the current one at once.
    MutableSettings().machine_name = name;
    return InterpretFile(ProgramDirectory() + g_machines[index].file);
}

int FontCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    return LoadFont(ProgramDirectory() + Arg(1));
}

} // namespace korvel
