// The rules of the "Make Options" dialog, without a toolkit: the values it shows, the ranges it
// accepts and how it stores them in the settings. Percentages are as the dialog shows them;
// lengths in the user unit.
#pragma once

namespace korvel {

struct MakeOptions {
    double corridor = 0;              // "Safe corridor above block" (> 0)
    double rplane = 0;                // "Fast block approach heigth" (> 0)
    bool stop_at_tool_change = false; // TOOLCHANGE MANUAL
    bool go_xy_at_tool_change = false;
    double tool_change_x = 0, tool_change_y = 0;
    bool comments = false;
    bool line_numbers = false;
    double overlap = 0;   // "Horizontal overlap" % (0..99)
    double extension = 0; // "Out of block mil. extension" (QPLANE, > 0)
    bool filter_paths = false;
    bool excess_material_removal = true;
    bool center_drilling = false;
    double center_drilling_depth = 0; // > 0 and < 10 mm
    bool peck_drilling = false;
    double peck = 0; // % of the diameter (1..299)
    bool drill_cleaning = false;
    double cleaning_speed = 0;    // % (100..990)
    double cleaning_distance = 0; // above the corridor (>= 0)
    int cleaning_duration = 0;    // ms (1..9999)
    int cleaning_repeat = 0;      // 1..9
    bool fine_vertical = false;   // the three finishing boxes give the global quality
    bool rough_horizontal = false;
    bool fine_horizontal = false;
    double ffdxy = 0;                             // "Max. material removal (dxy)" (> 0)
    double rfdz = 0;                              // rough "(dz)" (> 0)
    double ffdz = 0;                              // fine "(dz)" (> 0)
    double rf_overlap = 0, ff_overlap = 0;        // % (0..99)
    double speed_override = 0, feed_override = 0; // % (1..400)
};

// The settings as the dialog shows them.
MakeOptions CurrentMakeOptions();
// Whether every value lies in its range (the dialog stays open otherwise, without a message).
bool MakeOptionsValid(const MakeOptions& options);
// OK: stores the values, marks the project changed and its G-code out of date. 0 (nothing
// stored) when a value is out of range.
int StoreMakeOptions(const MakeOptions& options);
// The global quality the finishing boxes stand for; -1 for the combinations that have none
// (they leave the quality as it is).
int QualityOfBoxes(bool fine_vertical, bool rough_horizontal, bool fine_horizontal);
// Unticking "Excess Material Removal" warns of the consequences.
void ExcessMaterialRemovalUnticked();

} // namespace korvel
