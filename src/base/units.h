// Length units. Every stored length is in the user unit (0 millimetres, 1 inches). A script
// declares the unit it was written in; handlers multiply each length they read by the unit
// factor (1, 25.4 or 1/25.4) so that it arrives in the user unit.
#pragma once

namespace korvel {

constexpr int kUnitMM = 0;
constexpr int kUnitInch = 1;
constexpr double kMMPerInch = 25.4;
constexpr double kInchPerMM = 0.03937007874015748;

double UnitFactor();
void SetUnitFactor(double factor);
int UserUnit();
void SetUserUnit(int unit);

// Definition mode: 0 at start, 1 after DEFINE (machine definitions are being read).
int DefinitionMode();
void SetDefinitionMode(int mode);

// Parses a unit word (MM or INCH, any case); -1 for anything else.
int ParseUnitWord(const char* word);
// The factor that converts a length written in `unit` into the user unit.
double FactorFromUnit(int unit);

// Unit factor 1, user unit millimetres, definition mode 0.
void ResetUnits();

} // namespace korvel
