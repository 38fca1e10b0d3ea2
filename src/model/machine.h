// The machine a project is made on: its table with T-slots, working space, tool change and the
// safe corridor above the block. Lengths are in the user unit.
#pragma once

namespace korvel {

struct MachineSetup {
    float table_length = 660, table_width = 365; // table size in X and Y
    float table_x = -560, table_y = -382.5f;     // table corner
    int vslots = 0;                              // vertical T-slots: count, pitch, width
    double vslot_pitch = 0, vslot_width = 0;
    int hslots = 0; // horizontal T-slots; only one direction is in force at a time
    double hslot_pitch = 0, hslot_width = 0;
    float ws_x = -450, ws_y = -450, ws_z = -500; // working space (travel)
    int tc_manual = 0;                           // 0 automatic tool change, 1 manual
    int tc_position = 0;                         // 1: tc_x, tc_y give the tool-change position
    double tc_x = 0, tc_y = 0;
    double corridor = 25; // height above the block in which rapid moves are safe
};

MachineSetup GetMachine();
void PutMachine(const MachineSetup& machine);

// The default safe corridor in the user unit (25 mm).
double DefaultCorridor();
// Every machine item to its default, in the user unit.
void ResetMachineSetup();

int TableCom(const char* file, int line);       // TABLE length width x y [unit]
int TableSlotsVCom(const char* file, int line); // VTSLOTS count pitch width [unit]
int TableSlotsHCom(const char* file, int line); // HTSLOTS count pitch width [unit]
int WorkSpaceCom(const char* file, int line);   // WORKSPACE x y z [unit]
int ToolChangeCom(const char* file, int line);  // TOOLCHANGE AUTO|MANUAL [x y]
int CorridorCom(const char* file, int line);    // CORRIDOR height [unit]

} // namespace korvel
