// The thread-type table, its look-ups and the THREADTYPE command.
#include "model/thread_type.h"

#include <array>
#include <cmath>

#include "geometry/tolerance.h"
#include "platform/platform.h"
#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"

namespace korvel {

namespace {

std::array<ThreadType, kMaxThreadTypes> g_types;

bool Defined(int row) { return row >= 0 && row < kMaxThreadTypes && !g_types[row].name.empty(); }

} // namespace

void ClearThreadTypes() { g_types.fill(ThreadType()); }

int NextThreadType() {
    for (int i = 0; i < kMaxThreadTypes; ++i)
        if (g_types[i].name.empty())
            return i;
    return -1;
}

void PutThreadType(int row, const std::string& name, double dia, double pitch, double drill) {
    if (row < 0 || row >= kMaxThreadTypes)
        return;
    ThreadType& t = g_types[row];
    t.name = Upper(name.substr(0, kMaxThreadName));
    t.dia = dia;
    t.pitch = pitch;
    t.drill = drill;
    t.mill_dia = dia;
}

double ThreadDiameter(int row) { return Defined(row) ? g_types[row].dia : -1; }
double ThreadPitch(int row) { return Defined(row) ? g_types[row].pitch : -1; }
double ThreadDrill(int row) { return Defined(row) ? g_types[row].drill : -1; }
double ThreadMillDia(int row) { return Defined(row) ? g_types[row].mill_dia : -1; }

std::string ThreadTypeStr(int row, bool full) {
    if (!Defined(row))
        return "";
    const ThreadType& t = g_types[row];
    if (!full)
        return t.name;
    return Sprintf("%-20s\t%0.3f\t%0.3f\t%0.3f", t.name.c_str(), t.dia, t.pitch, t.drill);
}

std::vector<std::string> ThreadTypeList() {
    std::vector<std::string> list;
    for (int row = 0; Defined(row); ++row)
        list.push_back(ThreadTypeStr(row, true));
    return list;
}

int ThreadTypeIndex(double dia, double pitch) {
    // A left-hand thread finds the same row as a right-hand one.
    double p = std::fabs(pitch);
    for (int row = 0; row < kMaxThreadTypes && g_types[row].dia > 0; ++row) {
        const ThreadType& t = g_types[row];
        if (!approx_equal(t.dia, dia))
            continue;
        if (pitch == 0 || (t.pitch != 0 && approx_equal(t.pitch, p)))
            return row;
    }
    return -1;
}

std::string ThreadStr(double dia, double pitch) {
    int row = ThreadTypeIndex(dia, pitch);
    if (row < 0)
        return "";
    return pitch > 0 ? g_types[row].name : g_types[row].name + " LH";
}

int ThreadTypeCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 5 && count != 6)
        return SyntaxError(file, line);
    double f = 1.0;
    if (count == 6) {
        int unit = ParseUnitWord(Arg(5).c_str());
        if (unit < 0)
            return SyntaxError(file, line);
        f = FactorFromUnit(unit);
    }
    int row = NextThreadType();
    if (row < 0) {
        std::string text =
            file ? Sprintf("Too many thread type definitions, file [%s], line [%d]", file, line)
                 : std::string("Too many thread type definitions");
        ShowMessage(text, "Errors found", kMbOk | kMbIconExclamation);
        return 0;
    }
    PutThreadType(row, Arg(1), ArgF(2) * f, ArgF(3) * f, ArgF(4) * f);
    return 1;
}

} // namespace korvel
