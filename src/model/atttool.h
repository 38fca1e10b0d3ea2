// The machine's magazine: which database tool sits in which place (1..99), with a diameter
// wear. The place is the T and H number in the G-code.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxPlaces = 99;

struct AttachedTool {
    std::string name; // a database tool; empty: the place is free
    int extra_code = 0;
    double wear = 0; // subtracted from the database diameter
    double second = 0;
};

struct AttachedToolData {
    std::string name;
    int type = 0;
    double dia = 0; // less the wear
    double dia2 = 0;
    double length = 0;
    int flutes = 0;
    double pitch = 0;
};

void InitAttachedTools();
AttachedTool GetAttachedTool(int place); // an empty record outside 1..99
void PutAttachedTool(int place, const AttachedTool& tool);
// Empties a place.
void DetachTool(int place);

// The tool in a usable place, read from the database, its diameter reduced by the wear.
// Returns the tool type; -1 for a place outside 1..99, above the tool holder's slots, empty,
// or naming a tool the database lacks.
int GetAttToolData(int place, int& type, double& dia, double& length);
int GetAttToolDataExt(int place, AttachedToolData& data);
// Whether a database tool sits in any place.
bool ToolIsAttached(const std::string& name);

// Whether any object preselects the place: top face, bulges, pockets, drills, threads, bores.
bool ToolManualySelected(int place);
// Resets every preselection of the place to automatic and deletes the milling parameters
// that went with it.
void ClearToolManualSelections(int place);
// Detaches the tools in places above the tool holder's slot count; how many were detached.
int DetachToolsBeyondHolder();

// The place's line, ended by a line feed; empty for a free place.
std::string WriteAttToolData(int place);

int AttToolCom(const char* file, int line); // ATTTOOL place name extra wear second

} // namespace korvel
