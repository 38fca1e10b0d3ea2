// Drills (user holes of one diameter and depth) and spots (centre-drilling points the compiler
// makes in front of drilling; never saved). Both tables hold their records on the heap,
// allocated when a slot is taken.
#pragma once

#include <array>
#include <string>

namespace korvel {

constexpr int kMaxDrills = 1024;
constexpr int kMaxSpots = 1024;

struct Drill {
    int id = 0;
    int pid = 0;
    double dia = 0;
    double wz = 0; // depth below the surface it starts from
    double x = 0, y = 0;
    double z = 0;           // that surface (computed)
    int assigned_tool = -1; // chosen by the compiler; not saved
    int tool = 0;           // preselected drilling tool, 0 = automatic
    double chamfer = 0;
    int reserved[3] = {1, 0, -1}; // carried unchanged; see DrillReservedInLineOrder
    int valid = 0;
    int selected = 0;
    int drilling_active = 0; // among coincident drills, the one drilled (compile only)
    int chamfer_active = 0;
    int system = 0; // made by the compiler
};

struct Spot {
    int id = 0; // registered with type 999 and the origin ID of the drill it serves
    int pid = 0;
    double x = 0, y = 0;
    double z = 0;
    int valid = 0;
    int flag = 0;
};

// The reserved fields in the order a DRILL line holds them (its last three values).
inline std::array<int, 3> DrillReservedInLineOrder(const Drill& d) {
    return {d.reserved[1], d.reserved[0], d.reserved[2]};
}
// Sets the reserved fields from the last three values of a DRILL line, in line order.
inline void SetDrillReservedFromLine(Drill& d, int first, int second, int third) {
    d.reserved[1] = first;
    d.reserved[0] = second;
    d.reserved[2] = third;
}

// Drill slots: Next allocates, Remove frees (kAllSlots: every slot).
int NextDrill();
void RemoveDrill(int index);
int GetDrill(Drill& drill, int index);        // returns valid
void PutDrill(const Drill& drill, int index); // the slot must be allocated
int GetDrillId(int index);
int GetDrillPid(int index);
double Drill_wz(int index); // -1 for a free slot
int Drill_selected(int index);
int Drill_system(int index);
void SetDrill_z(int index, double z);
int SelectDrill(int index, int marks);
int UnSelectDrill(int index, int marks);
bool DrillClicked(int index, double px, double py);

int NextSpot();
void RemoveSpot(int index);
int GetSpot(Spot& spot, int index);
void PutSpot(const Spot& spot, int index);
int GetSpotId(int index);
int GetSpotPid(int index);
void SetSpot_z(int index, double z);

// The drill's line; 0 (line empty) for a free slot or a system drill.
int StrDrillData(std::string& line, int index);

void MoveDrillBy(int index, double dx, double dy);
void MirrorDrillX(int index, double a);
void MirrorDrillY(int index, double b);
void TurnDrill(int index, double cx, double cy, double angle_deg);
// Nothing unless f > 0 and f != 1; resets the preselected tool.
void ScaleDrillBy(int index, double cx, double cy, double f);
// A copy moved by (dx, dy) under a new ID; the ID, or -1 when a table is full.
int CopyDrillTo(int index, double dx, double dy);

int DrillCom(const char* file, int line); // DRILL

} // namespace korvel
