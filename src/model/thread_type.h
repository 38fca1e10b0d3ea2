// The thread-type table: designations with nominal diameter, pitch and tap-drill diameter,
// filled from threads.dat. Rows fill from 0; the first row without a name ends the table.
#pragma once

#include <string>
#include <vector>

namespace korvel {

constexpr int kMaxThreadTypes = 128;
constexpr std::size_t kMaxThreadName = 79;

struct ThreadType {
    std::string name; // upper case; empty: a free row
    double dia = 0;
    double pitch = 0;
    double drill = 0;    // core drill for tapping
    double mill_dia = 0; // thread-mill diameter, the nominal diameter when defined
};

void ClearThreadTypes();
int NextThreadType(); // first free row, -1 when full
void PutThreadType(int row, const std::string& name, double dia, double pitch, double drill);
// Values of a defined row; -1 for an undefined one.
double ThreadDiameter(int row);
double ThreadPitch(int row);
double ThreadDrill(int row);
double ThreadMillDia(int row);
// "%-20s\t%0.3f\t%0.3f\t%0.3f" (name, diameter, pitch, drill) when full, else the name;
// empty for an undefined row.
std::string ThreadTypeStr(int row, bool full);
// The full texts of every row, for the thread dialog's list.
std::vector<std::string> ThreadTypeList();
// The first row matching the diameter (and, unless the pitch is 0, the pitch's size) within
// 0.1 mm; -1 when none.
int ThreadTypeIndex(double dia, double pitch);
// The designation of a thread, with " LH" when the pitch is not positive; empty when no row
// matches.
std::string ThreadStr(double dia, double pitch);

int ThreadTypeCom(const char* file, int line); // THREADTYPE name dia pitch drill [MM|INCH]

} // namespace korvel
