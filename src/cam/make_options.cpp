// The Make Options dialog's ranges and how its values become settings.
#include "cam/make_options.h"

#include "base/units.h"
#include "model/machine.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

bool In(double v, double low, double high) { return v >= low && v <= high; }
bool Positive(double v) { return v > 0 && v < 1e9; }

double Percent(double step_over) { return (1 - step_over) * 100; }
double StepOver(double percent) { return (100 - percent) / 100; }

// The centre-drilling depth must stay below 10 mm (in the user unit).
double MaxCenterDrillingDepth() { return UserUnit() == kUnitInch ? 10 / kMMPerInch : 10; }

} // namespace

int QualityOfBoxes(bool fine_vertical, bool rough_horizontal, bool fine_horizontal) {
    if (!fine_vertical && !fine_horizontal)
        return rough_horizontal ? 1 : 0;
    if (fine_vertical && !fine_horizontal)
        return rough_horizontal ? 3 : 2;
    if (fine_vertical && fine_horizontal)
        return rough_horizontal ? 5 : 4;
    return -1;
}

MakeOptions CurrentMakeOptions() {
    const Settings& s = GetSettings();
    MachineSetup m = GetMachine();
    MakeOptions o;
    o.corridor = m.corridor;
    o.rplane = s.rplane;
    o.stop_at_tool_change = m.tc_manual != 0;
    o.go_xy_at_tool_change = m.tc_position != 0;
    o.tool_change_x = m.tc_x;
    o.tool_change_y = m.tc_y;
    o.comments = s.comments != 0;
    o.line_numbers = s.labeling >= 0;
    o.overlap = Percent(s.overlap);
    o.extension = s.qplane;
    o.filter_paths = s.optimise != 0;
    o.excess_material_removal = s.excessmr != 0;
    o.center_drilling = s.center_drilling != 0;
    o.center_drilling_depth = s.cd_depth;
    o.peck_drilling = s.peck_drill != 0;
    o.peck = s.peck * 100;
    o.drill_cleaning = s.clean_drills != 0;
    o.cleaning_speed = s.clean_speed * 100;
    o.cleaning_distance = s.clean_distance;
    o.cleaning_duration = s.clean_duration;
    o.cleaning_repeat = s.clean_repeat;
    int q = s.quality;
    o.fine_vertical = q >= 2;
    o.rough_horizontal = q == 1 || q == 3 || q == 5;
    o.fine_horizontal = q >= 4;
    o.ffdxy = s.ffdxy;
    o.rfdz = s.rfdz;
    o.ffdz = s.ffdz;
    o.rf_overlap = Percent(s.rf_overlap);
    o.ff_overlap = Percent(s.ff_overlap);
    o.speed_override = s.rfsor * 100;
    o.feed_override = s.rffor * 100;
    return o;
}

bool MakeOptionsValid(const MakeOptions& o) {
    // The upper limit of the cleaning speed is the one CLEANDRILLS accepts, so that a project
    // saved with it reads back.
    return Positive(o.corridor) && Positive(o.rplane) && In(o.overlap, 0, 99) &&
           Positive(o.extension) && o.center_drilling_depth > 0 &&
           o.center_drilling_depth < MaxCenterDrillingDepth() && In(o.peck, 1, 299) &&
           In(o.cleaning_speed, 100, 990) && In(o.cleaning_distance, 0, 1e9) &&
           o.cleaning_duration >= 1 && o.cleaning_duration <= 9999 && o.cleaning_repeat >= 1 &&
           o.cleaning_repeat <= 9 && Positive(o.ffdxy) && Positive(o.rfdz) && Positive(o.ffdz) &&
           In(o.rf_overlap, 0, 99) && In(o.ff_overlap, 0, 99) && In(o.speed_override, 1, 400) &&
           In(o.feed_override, 1, 400);
}

int StoreMakeOptions(const MakeOptions& o) {
    if (!MakeOptionsValid(o))
        return 0;
    MachineSetup m = GetMachine();
    m.corridor = o.corridor;
    m.tc_manual = o.stop_at_tool_change ? 1 : 0;
    m.tc_position = o.go_xy_at_tool_change ? 1 : 0;
    m.tc_x = o.go_xy_at_tool_change ? o.tool_change_x : 0;
    m.tc_y = o.go_xy_at_tool_change ? o.tool_change_y : 0;
    PutMachine(m);
    Settings& s = MutableSettings();
    s.rplane = o.rplane;
    s.comments = o.comments ? (s.comments == 2 ? 2 : 1) : 0; // DEBUG stays DEBUG
    s.labeling = o.line_numbers ? 0 : -1;
    s.overlap = StepOver(o.overlap);
    s.qplane = o.extension;
    s.optimise = o.filter_paths ? 1 : 0;
    s.excessmr = o.excess_material_removal ? 1 : 0;
    s.center_drilling = o.center_drilling ? 1 : 0;
    s.cd_depth = o.center_drilling_depth;
    s.peck_drill = o.peck_drilling ? 1 : 0;
    s.peck = o.peck / 100;
    s.clean_drills = o.drill_cleaning ? 1 : 0;
    s.clean_speed = o.cleaning_speed / 100;
    s.clean_distance = o.cleaning_distance;
    s.clean_duration = o.cleaning_duration;
    s.clean_repeat = o.cleaning_repeat;
    int quality = QualityOfBoxes(o.fine_vertical, o.rough_horizontal, o.fine_horizontal);
    if (quality >= 0)
        s.quality = quality;
    s.ffdxy = o.ffdxy;
    s.rfdz = o.rfdz;
    s.ffdz = o.ffdz;
    s.rf_overlap = StepOver(o.rf_overlap);
    s.ff_overlap = StepOver(o.ff_overlap);
    s.rfsor = o.speed_override / 100;
    s.rffor = o.feed_override / 100;
    MarkProjectEdited();
    return 1;
}

void ExcessMaterialRemovalUnticked() {
    ShowMessage("You have disabled excess material removal.\nTool crash danger!\nHorizontal "
                "finishing is disabled!",
                "WARNING", kMbOk | kMbIconExclamation);
}

} // namespace korvel
