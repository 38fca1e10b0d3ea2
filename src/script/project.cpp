// Writing the project file whole and reading it back.
#include "script/project.h"

#include <cmath>
#include <cstdlib>

#include "base/errors.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/contour.h"
#include "model/machine.h"
#include "model/mparam.h"
#include "model/object_kind.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/core_commands.h"
#include "script/interpreter.h"
#include "script/keywords.h"

namespace korvel {

namespace {

std::string Fixed(double v, int decimals) { return FixedNonZero(v, decimals); }

// An overlap stored as its step-over factor, as the percentage its command reads; never 100,
// which the command refuses.
std::string OverlapPercent(double step_over) {
    std::string text = Sprintf("%0.3f", (1 - step_over) * 100);
    return std::strtod(text.c_str(), nullptr) >= 100 ? "99.999" : text;
}

std::string OnOffWord(int flag) { return flag ? "ON" : "OFF"; }

std::string SettingLines() {
    const Settings& s = GetSettings();
    Coordinates c = GetCoordinates();
    MachineSetup m = GetMachine();
    std::string out;
    auto line = [&out](int code, const std::string& rest) {
        out += Sprintf("$%d", code);
        if (!rest.empty())
            out += " " + rest;
        out += "\n";
    };
    line(kVer, Sprintf("%0.2f", kKorvelVersion));
    line(kProjectunit, UserUnit() == kUnitInch ? "INCH" : "MM");
    if (!s.client.empty())
        line(kClient, s.client);
    if (!s.machine_name.empty())
        line(kCnc, QuoteIfNeeded(s.machine_name));
    if (!s.operator_name.empty())
        line(kOperator, s.operator_name);
    if (!s.project.empty())
        line(kProject, s.project);
    line(kPart, s.part);
    if (!s.description.empty())
        line(kDescription, s.description);
    if (s.program != 0)
        line(kProgram, Sprintf("%d", s.program));
    if (!s.gcfile.empty())
        line(kGcfile, QuoteIfNeeded(s.gcfile));
    if (!s.dwgfile.empty())
        line(kDwgfile, QuoteIfNeeded(s.dwgfile));
    if (s.noofparts > 0)
        line(kNoofparts, Sprintf("%d", s.noofparts));
    line(kView, Sprintf("%d %s %0.5f %0.5f %d", s.view_mode, Fixed(s.view_scale, 5).c_str(),
                        s.view_x, s.view_y, s.view_bits));
    line(kCoordinates, Sprintf("%d %0.3f %0.3f %0.3f", c.work_offset, c.wz_x, c.wz_y, c.wz_z));
    line(kUcoords, Sprintf("%0.3f %0.3f %0.3f", c.user_x, c.user_y, c.user_z));
    line(kCorridor, Sprintf("%0.5f", m.corridor));
    line(kTextsize, Fixed(s.textsize, 5));
    line(kQuality, Sprintf("%d", s.quality));
    line(kRplane, Fixed(s.rplane, 3));
    line(kQplane, Fixed(s.qplane, 3));
    line(kOverlap, OverlapPercent(s.overlap));
    line(kRfoverlap, OverlapPercent(s.rf_overlap));
    line(kFfoverlap, OverlapPercent(s.ff_overlap));
    line(kFfdz, Fixed(s.ffdz, 3));
    line(kRfdz, Fixed(s.rfdz, 3));
    line(kFfdxy, Fixed(s.ffdxy, 3));
    line(kRfsor, Sprintf("%0.3f", s.rfsor));
    line(kRffor, Sprintf("%0.3f", s.rffor));
    line(kSnapsettings, Sprintf("%d", s.snapsettings));
    line(kConTolerance, Fixed(s.con_tolerance, 6));
    line(kComments, OnOffWord(s.comments));
    line(kLabeling, s.labeling < 0 ? "OFF" : "ON");
    line(kCleandrills,
         Sprintf("%s %0.3f %d %d %0.3f", OnOffWord(s.clean_drills).c_str(), s.clean_speed * 100,
                 s.clean_duration, s.clean_repeat, s.clean_distance));
    line(kCenterdrilling, Sprintf("%s %0.3f", OnOffWord(s.center_drilling).c_str(), s.cd_depth));
    // The peck is kept as a fraction of the diameter; rounding gives back the percentage read.
    line(kPeckdrill, Sprintf("%s %ld", OnOffWord(s.peck_drill).c_str(), std::lround(s.peck * 100)));
    line(kOptimise, OnOffWord(s.optimise));
    line(kExcessmr, OnOffWord(s.excessmr));
    std::string toolchange = m.tc_manual ? "MAN" : "AUTO";
    if (m.tc_position)
        toolchange += Sprintf(" %0.3f %0.3f", m.tc_x, m.tc_y);
    line(kToolchange, toolchange);
    return out;
}

} // namespace

std::string ProjectText() {
    // Built in one string: a large project is some hundred kilobytes, and copying it from
    // piece to piece was a good part of saving.
    static std::size_t last_size = 0;
    std::string out;
    out.reserve(last_size + 4096);
    out += "# KORVEL SCRIPT FILE\n";
    out += Sprintf("# Written by Korvel %0.2f\n\n", kKorvelVersion);
    out += SettingLines();
    for (int place = 1; place <= kMaxPlaces; ++place)
        out += WriteAttToolData(place);
    int id;
    if (!GetFirstRegisteredObject(id))
        return out; // without objects the file ends here, with no ENDOFFILE
    AppendObjectLines(out);
    AppendMParams(out);
    out += Sprintf("$%d\n", kEndoffile);
    last_size = out.size();
    return out;
}

int SaveProject(const std::string& path) {
    if (path.empty()) {
        ShowMessage("Please use the FILE/SAVE menu to define", "Filename undefined",
                    kMbOk | kMbIconError);
        return 0;
    }
    if (!WriteFileAtomically(path, ProjectText())) {
        ShowMessage("Can't open file for writing", path, kMbOk | kMbIconError);
        return 0;
    }
    SetProjectChanged(false);
    return 1;
}

int OpenProject(const std::string& path) {
    InitProject();
    MutableSettings().project_file = path;
    ScriptReadResult r;
    {
        SuspendUndo reading;
        r = ReadScript(path);
    }
    InitUndoBuf(); // the lists spoke of the project that was closed
    if (r.opened && OpenContourOwner() != ContourOwner::kNone) {
        // The file ends inside an outline: that outline is not stored.
        ShapeIsOpen(path.c_str(), r.lines + 1);
        ResetContour();
        r.last_result = 0;
    }
    // A file cut short of its ENDOFFILE must not leave its unit on what is typed next.
    SetUnitFactor(1.0);
    if (!DefinitionMode())
        MutableSettings().output_file = GetSettings().gcfile;
    SetProjectChanged(false);
    return r.opened && r.last_result ? 1 : 0;
}

} // namespace korvel
