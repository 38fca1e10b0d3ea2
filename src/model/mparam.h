// Individual milling parameters: speed, feeds and cutting depth/width for one object and one
// kind of machining, overriding the database. Lengths and feeds in the user unit.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxMParams = 8192;

// Kinds of machining; the keyword of a kind is its code plus 98 (MPARAM_X is 99).
enum MParamKind : int {
    kRoughMilling = 1,
    kFinishing = 2,
    kDrilling = 3,
    kThreadCutting = 4,
    kThreadMilling = 5,
};

struct MParam {
    int owner = 0;
    int kind = -1; // -1: a free entry
    int speed = 0;
    double v[4] = {0, 0, 0, 0}; // per kind: feed, width or removal, plunge feed, depth
};

// Frees every entry.
void InitMParams();
int NewMParam(); // the first free entry, -1 when full
int RegisterMParam(int owner, int kind, int speed, double v1, double v2, double v3, double v4);
int DeleteMParam(int owner, int kind); // the number freed
// The first entry of that owner and kind: 1 and its values, else 0.
int RetrieveMParam(int owner, int kind, int& speed, double v[4]);
// Registers a copy of every entry of one owner for another.
void CopyMParam(int from_owner, int to_owner);
// Frees every entry of an owner.
int DeleteOwnerMParams(int owner);
// Iterates the used entries in table order through one cursor; 0 at the end.
int GetFirstMParam(MParam& entry);
int GetNextMParam(MParam& entry);
int MParamCount();

// The same per bulge level: every bulge of the level of the bulge in `index` (a slot of the
// bulge table).
int RegisterLevelMParam(int index, int kind, int speed, double v1, double v2, double v3, double v4);
int DeleteLevelMParam(int index, int kind);
int RetrieveLevelMParam(int index, int kind, int& speed, double v[4]);

// The project file's lines, each ended by a line feed.
// The line of one entry (MPARAM_X .. MPARAM_TM in code form), without a line end.
std::string MParamLine(const MParam& entry);
std::string WriteMParams();
void AppendMParams(std::string& out); // the same lines, appended to out

int ParamXCom(const char* file, int line);  // MPARAM_X owner speed v1 v2 v3 v4
int ParamFCom(const char* file, int line);  // MPARAM_F
int ParamDCom(const char* file, int line);  // MPARAM_D
int ParamTCCom(const char* file, int line); // MPARAM_TC
int ParamTMCom(const char* file, int line); // MPARAM_TM

} // namespace korvel
