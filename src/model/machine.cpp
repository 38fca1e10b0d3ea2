// The machine description and its script commands.
#include "model/machine.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"

namespace korvel {

namespace {

MachineSetup g_machine;

// The factor for machine items: the unit word at `arg` when the line has one, else 1 (these
// values are written in the user unit). False for a bad unit word.
bool MachineFactor(int arg, double& factor) {
    factor = 1.0;
    if (ArgCount() <= arg)
        return true;
    int unit = ParseUnitWord(Arg(arg).c_str());
    if (unit < 0)
        return false;
    factor = FactorFromUnit(unit);
    return true;
}

int SlotsCom(bool vertical, const char* file, int line) {
    int count = ArgCount();
    if (count != 4 && count != 5)
        return SyntaxError(file, line);
    double f;
    if (!MachineFactor(4, f))
        return OutOfRange(file, line);
    int slots = ArgI(1);
    double pitch = ArgF(2) * f, width = ArgF(3) * f;
    if (vertical) {
        g_machine.vslots = slots;
        g_machine.vslot_pitch = pitch;
        g_machine.vslot_width = width;
        g_machine.hslots = 0;
    } else {
        g_machine.hslots = slots;
        g_machine.hslot_pitch = pitch;
        g_machine.hslot_width = width;
        g_machine.vslots = 0;
    }
    if (slots < 0 || !(pitch >= 0) || !(width >= 0))
        return OutOfRange(file, line);
    return 1;
}

} // namespace

MachineSetup GetMachine() { return g_machine; }
void PutMachine(const MachineSetup& machine) { g_machine = machine; }

double DefaultCorridor() { return UserUnit() == kUnitInch ? 25.0 / kMMPerInch : 25.0; }

void ResetMachineSetup() {
    g_machine = MachineSetup();
    if (UserUnit() == kUnitInch) {
        float k = static_cast<float>(kMMPerInch);
        g_machine.table_length /= k;
        g_machine.table_width /= k;
        g_machine.table_x /= k;
        g_machine.table_y /= k;
        g_machine.ws_x /= k;
        g_machine.ws_y /= k;
        g_machine.ws_z /= k;
    }
    g_machine.corridor = DefaultCorridor();
}

int TableCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 5 && count != 6)
        return SyntaxError(file, line);
    double f;
    if (!MachineFactor(5, f))
        return OutOfRange(file, line);
    g_machine.table_length = static_cast<float>(ArgF(1) * f);
    g_machine.table_width = static_cast<float>(ArgF(2) * f);
    g_machine.table_x = static_cast<float>(ArgF(3) * f);
    g_machine.table_y = static_cast<float>(ArgF(4) * f);
    if (!(g_machine.table_length > 0) || !(g_machine.table_width > 0))
        return OutOfRange(file, line);
    return 1;
}

int TableSlotsVCom(const char* file, int line) { return SlotsCom(true, file, line); }
int TableSlotsHCom(const char* file, int line) { return SlotsCom(false, file, line); }

int WorkSpaceCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 4 && count != 5)
        return SyntaxError(file, line);
    double f;
    if (!MachineFactor(4, f))
        return OutOfRange(file, line);
    g_machine.ws_x = static_cast<float>(ArgF(1) * f);
    g_machine.ws_y = static_cast<float>(ArgF(2) * f);
    g_machine.ws_z = static_cast<float>(ArgF(3) * f);
    if (!(g_machine.ws_x * g_machine.ws_y * g_machine.ws_z != 0) ||
        !std::isfinite(g_machine.ws_x * g_machine.ws_y * g_machine.ws_z))
        return OutOfRange(file, line);
    return 1;
}

int ToolChangeCom(const char* file, int line) {
    int count = ArgCount();
    // A mode alone, or a mode and the X and Y of the tool-change position. A mode with a
    // single coordinate has no meaning and is refused.
    if (count < 2 || count == 3)
        return SyntaxError(file, line);
    std::string mode = Upper(Arg(1));
    int manual;
    if (std::string_view("AUTO").starts_with(mode))
        manual = 0;
    else if (std::string_view("MANUAL").starts_with(mode))
        manual = 1;
    else
        return SyntaxError(file, line);
    g_machine.tc_manual = manual;
    if (count >= 4) {
        g_machine.tc_position = 1;
        g_machine.tc_x = ArgF(2) * UnitFactor();
        g_machine.tc_y = ArgF(3) * UnitFactor();
    } else {
        g_machine.tc_position = 0;
    }
    return 1;
}

int CorridorCom(const char* file, int line) {
    g_machine.corridor = DefaultCorridor();
    int count = ArgCount();
    double f = UnitFactor();
    if (count == 3) {
        int unit = ParseUnitWord(Arg(2).c_str());
        if (unit < 0)
            return OutOfRange(file, line);
        f = FactorFromUnit(unit);
    } else if (count != 2) {
        return SyntaxError(file, line);
    }
    double height = ArgF(1) * f;
    if (!(height >= 0) || !std::isfinite(height))
        return OutOfRange(file, line);
    g_machine.corridor = height;
    return 1;
}

} // namespace korvel
