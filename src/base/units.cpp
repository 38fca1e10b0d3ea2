// The unit factor, the user unit and the definition mode of the interpreter.
#include "base/units.h"

#include "base/text.h"

namespace korvel {

namespace {
double g_unit_factor = 1.0;
int g_user_unit = kUnitMM;
int g_definition_mode = 0;
} // namespace

double UnitFactor() { return g_unit_factor; }
void SetUnitFactor(double factor) { g_unit_factor = factor; }
int UserUnit() { return g_user_unit; }
void SetUserUnit(int unit) { g_user_unit = unit; }
int DefinitionMode() { return g_definition_mode; }
void SetDefinitionMode(int mode) { g_definition_mode = mode; }

int ParseUnitWord(const char* word) {
    std::string upper = Upper(word);
    if (upper == "MM")
        return kUnitMM;
    if (upper == "INCH")
        return kUnitInch;
    return -1;
}

double FactorFromUnit(int unit) {
    if (unit == g_user_unit)
        return 1.0;
    return unit == kUnitInch ? kMMPerInch : kInchPerMM;
}

void ResetUnits() {
    g_unit_factor = 1.0;
    g_user_unit = kUnitMM;
    g_definition_mode = 0;
}

} // namespace korvel
