// Setting commands: argument counts, ranges, unit handling and defaults of every setting.
#include "model/settings.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "model/atttool.h"
#include "model/machine.h"
#include "platform/platform.h"

namespace korvel {

namespace {

Settings g_settings;

// The settings a new project starts from: those korvel.cfg left.
struct Snapshot {
    double rplane, qplane, overlap, rf_overlap, ff_overlap, rfdz, ffdz, ffdxy, rfsor, rffor;
    int quality;
    int center_drilling;
    double cd_depth;
    int peck_drill;
    double peck;
    int clean_drills;
    double clean_speed;
    int clean_duration, clean_repeat;
    double clean_distance;
    int comments;
    int tc_manual;
    int toolholder;
    int program;
    std::string gcfile;
};
Snapshot g_snapshot;
std::array<AttachedTool, kMaxPlaces + 1> g_magazine; // the configuration's attached tools
bool g_snapshot_taken = false;

// Millimetre defaults that follow the user unit.
double MM(double mm) { return UserUnit() == kUnitInch ? mm / kMMPerInch : mm; }

// A length argument and its optional unit word: the value times the unit factor, or
// converted by the word. False for a bad unit word.
bool LengthArg(int arg, double& value) {
    double f = UnitFactor();
    if (ArgCount() > arg + 1) {
        int unit = ParseUnitWord(Arg(arg + 1).c_str());
        if (unit < 0)
            return false;
        f = FactorFromUnit(unit);
    }
    value = ArgF(arg) * f;
    return true;
}

// length [unit word], above 0.
int PositiveLength(double& setting, const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    double v;
    if (!LengthArg(1, v) || !(v > 0) || !std::isfinite(v))
        return OutOfRange(file, line);
    setting = v;
    return 1;
}

// One number in [low, high]; stored divided by `scale`.
int NumberIn(double& setting, double low, double high, double scale, const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    double v = ArgF(1);
    if (!(v >= low && v <= high))
        return OutOfRange(file, line);
    setting = v / scale;
    return 1;
}

int IntegerIn(int& setting, int low, int high, const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int v = ArgI(1);
    if (v < low || v > high)
        return OutOfRange(file, line);
    setting = v;
    return 1;
}

// OVERLAP and its twins: a percentage 0 <= p < 100 stored as the step-over factor.
int Overlap(double& setting, const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    double p = ArgF(1);
    if (!(p >= 0 && p < 100))
        return OutOfRange(file, line);
    setting = (100 - p) / 100;
    return 1;
}

// 1 for ON, 0 for OFF, -1 otherwise.
int OnOff(const std::string& word, bool any_case) {
    std::string w = any_case ? Upper(word) : word;
    if (w == "ON")
        return 1;
    if (w == "OFF")
        return 0;
    return -1;
}

// ON or OFF, exactly in upper case; else OutOfRange.
int Flag(int& setting, const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int v = OnOff(Arg(1), false);
    if (v < 0)
        return OutOfRange(file, line);
    setting = v;
    return 1;
}

// Words joined with single blanks; a word that would make the text longer than `max` is
// dropped.
std::string JoinWords(int first, std::size_t max) {
    std::string text;
    for (int i = first; i < ArgCount(); ++i) {
        std::size_t added = Arg(i).size() + (text.empty() ? 0 : 1);
        if (text.size() + added > max)
            continue;
        if (!text.empty())
            text += ' ';
        text += Arg(i);
    }
    return text;
}

// Report texts: with at least one word when `need_word`, else no word leaves the text.
int ReportText(std::string& setting, bool need_word, std::size_t max, const char* file, int line) {
    int count = ArgCount();
    if (count < 0 || (need_word && count < 2))
        return SyntaxError(file, line);
    if (count >= 2)
        setting = JoinWords(1, max);
    return 1;
}

// A file or program name: one argument, quotes removed.
int OneName(std::string& setting, const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    std::string name = NameToken(Arg(1));
    if (name.size() > kMaxFileNameText)
        return OutOfRange(file, line);
    setting = name;
    return 1;
}

// BORING and CONTURING words: any leading part of FACEMILL, SIDEMILL or ENDMILL.
int ToolKind(const std::string& word) {
    std::string w = Upper(word);
    if (std::string_view("FACEMILL").starts_with(w))
        return kChooseFaceMill;
    if (std::string_view("SIDEMILL").starts_with(w) || std::string_view("ENDMILL").starts_with(w))
        return kChooseSideOrEndMill;
    return -1;
}

int ToolChoice(int& setting, const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    int first = ToolKind(Arg(1));
    if (first < 0)
        return SyntaxError(file, line);
    if (count == 2) {
        setting = first;
        return 1;
    }
    int fallback = ToolKind(Arg(2));
    if (fallback < 0 || fallback == first)
        return SyntaxError(file, line);
    setting = fallback * 10 + first;
    return 1;
}

} // namespace

const Settings& GetSettings() { return g_settings; }
Settings& MutableSettings() { return g_settings; }

void ResetSettings() {
    g_settings = Settings();
    g_snapshot_taken = false;
    if (UserUnit() == kUnitInch) {
        // Defaults are millimetres; these are lengths that follow the user unit.
        g_settings.cd_depth = 0.12;
        g_settings.clean_distance = MM(25.0);
        g_settings.con_tolerance = 0.0004;
    }
}

void ClearProjectTexts() {
    g_settings.part.clear();
    g_settings.project.clear();
    g_settings.description.clear();
    g_settings.client.clear();
    g_settings.operator_name.clear();
    g_settings.dwgfile.clear();
    g_settings.view_given = 0;
}

void StoreCfgValues() {
    const Settings& s = g_settings;
    g_snapshot = {s.rplane,       s.qplane,
                  s.overlap,      s.rf_overlap,
                  s.ff_overlap,   s.rfdz,
                  s.ffdz,         s.ffdxy,
                  s.rfsor,        s.rffor,
                  s.quality,      s.center_drilling,
                  s.cd_depth,     s.peck_drill,
                  s.peck,         s.clean_drills,
                  s.clean_speed,  s.clean_duration,
                  s.clean_repeat, s.clean_distance,
                  s.comments,     GetMachine().tc_manual,
                  s.toolholder,   s.program,
                  s.gcfile};
    for (int place = 1; place <= kMaxPlaces; ++place)
        g_magazine[place] = GetAttachedTool(place);
    g_snapshot_taken = true;
}

void LoadCfgValues() {
    if (g_snapshot_taken) {
        const Snapshot& c = g_snapshot;
        Settings& s = g_settings;
        s.rplane = c.rplane;
        s.qplane = c.qplane;
        s.overlap = c.overlap;
        s.rf_overlap = c.rf_overlap;
        s.ff_overlap = c.ff_overlap;
        s.rfdz = c.rfdz;
        s.ffdz = c.ffdz;
        s.ffdxy = c.ffdxy;
        s.rfsor = c.rfsor;
        s.rffor = c.rffor;
        s.quality = c.quality;
        s.center_drilling = c.center_drilling;
        s.cd_depth = c.cd_depth;
        s.peck_drill = c.peck_drill;
        s.peck = c.peck;
        s.clean_drills = c.clean_drills;
        s.clean_speed = c.clean_speed;
        s.clean_duration = c.clean_duration;
        s.clean_repeat = c.clean_repeat;
        s.clean_distance = c.clean_distance;
        s.comments = c.comments;
        s.toolholder = c.toolholder;
        s.program = c.program;
        s.gcfile = c.gcfile;
        MachineSetup m = GetMachine();
        m.tc_manual = c.tc_manual;
        PutMachine(m);
        for (int place = 1; place <= kMaxPlaces; ++place)
            PutAttachedTool(place, g_magazine[place]);
    }
    MachineSetup m = GetMachine();
    m.corridor = DefaultCorridor();
    PutMachine(m);
    g_settings.project_file = "noname.kvp";
    SetDefinitionMode(0);
}

int RPlaneCom(const char* f, int l) { return PositiveLength(g_settings.rplane, f, l); }
int QPlaneCom(const char* f, int l) { return PositiveLength(g_settings.qplane, f, l); }
int OverlapCom(const char* f, int l) { return Overlap(g_settings.overlap, f, l); }
int RFOverlapCom(const char* f, int l) { return Overlap(g_settings.rf_overlap, f, l); }
int FFOverlapCom(const char* f, int l) { return Overlap(g_settings.ff_overlap, f, l); }
int RoughFinishDzCom(const char* f, int l) { return PositiveLength(g_settings.rfdz, f, l); }
int FineFinishDzCom(const char* f, int l) { return PositiveLength(g_settings.ffdz, f, l); }
int FineFinishDxyCom(const char* f, int l) { return PositiveLength(g_settings.ffdxy, f, l); }
int SpeedOverRideCom(const char* f, int l) { return NumberIn(g_settings.rfsor, 0, 4, 1, f, l); }
int FeedOverRideCom(const char* f, int l) { return NumberIn(g_settings.rffor, 0, 4, 1, f, l); }
int FinishQuality(const char* f, int l) { return IntegerIn(g_settings.quality, 0, 5, f, l); }
int DrillsForTapsLenExtCom(const char* f, int l) { return PositiveLength(g_settings.dftlex, f, l); }
int TMEFFCom(const char* f, int l) { return NumberIn(g_settings.tmeff, 1, 100, 100, f, l); }

int MinBoreDiaCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    double v = ArgF(1);
    if (!(v > 0) || !std::isfinite(v))
        return OutOfRange(f, l);
    g_settings.minbtxd = v;
    return 1;
}

int SpotDrillingCom(const char* f, int l) {
    g_settings.cd_depth = UserUnit() == kUnitInch ? 0.12 : 3.0;
    g_settings.center_drilling = 0;
    int count = ArgCount();
    if (count < 2 || count > 4)
        return SyntaxError(f, l);
    int on = OnOff(Arg(1), false);
    if (on < 0)
        return SyntaxError(f, l);
    g_settings.center_drilling = on;
    if (count >= 3) {
        double depth;
        if (!LengthArg(2, depth))
            return SyntaxError(f, l);
        g_settings.cd_depth = depth;
    }
    return 1;
}

int PeckDrillCom(const char* f, int l) {
    if (ArgCount() != 3)
        return SyntaxError(f, l);
    int on = OnOff(Arg(1), true);
    if (on < 0)
        return SyntaxError(f, l);
    int percent = ArgI(2);
    if (percent < 1 || percent > 299)
        return OutOfRange(f, l);
    g_settings.peck_drill = on;
    g_settings.peck = percent / 100.0;
    return 1;
}

int CleanDrillsCom(const char* f, int l) {
    Settings& s = g_settings;
    s.clean_drills = 0;
    s.clean_speed = 1.0;
    s.clean_duration = 1;
    s.clean_repeat = 1;
    s.clean_distance = UserUnit() == kUnitInch ? 1.0 : 25.0;
    int count = ArgCount();
    if (count != 2 && count != 6 && count != 7)
        return SyntaxError(f, l);
    int on = OnOff(Arg(1), false);
    if (on < 0)
        return SyntaxError(f, l);
    s.clean_drills = on;
    if (count == 2)
        return 1;
    double speed = ArgF(2);
    int duration = ArgI(3), repeat = ArgI(4);
    double distance;
    if (!LengthArg(5, distance))
        return OutOfRange(f, l);
    if (!(speed >= 100 && speed <= 990) || duration < 1 || duration > 9999 || repeat < 1 ||
        repeat > 9 || !(distance >= 0) || !std::isfinite(distance))
        return OutOfRange(f, l);
    s.clean_speed = speed / 100;
    s.clean_duration = duration;
    s.clean_repeat = repeat;
    s.clean_distance = distance;
    return 1;
}

int ThreadingCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    std::string w = Upper(Arg(1));
    if (w.size() >= 2 && std::string_view("TAP").starts_with(w))
        g_settings.threading = kThreadByTap;
    else if (w.size() >= 2 && std::string_view("THREADMILL").starts_with(w))
        g_settings.threading = kThreadByMill;
    else
        return SyntaxError(f, l);
    return 1;
}

int BoringCom(const char* f, int l) { return ToolChoice(g_settings.boring, f, l); }
int ConturingCom(const char* f, int l) { return ToolChoice(g_settings.conturing, f, l); }

int UseCom(const char* f, int l) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(f, l);
    int on = 1;
    if (count == 3 && (on = OnOff(Arg(2), false)) < 0)
        return SyntaxError(f, l);
    std::string option = Upper(Arg(1));
    Settings& s = g_settings;
    if (option == "G81")
        s.use_g81 = on;
    else if (option == "G44")
        s.use_g44 = on;
    else if (option == "G43")
        s.use_g44 = !on;
    else if (option == "G00_BEFORE_TOOL_COMP")
        s.use_g00_before_tool_comp = on;
    else if (option == "R_IN_G02_G03")
        s.use_r_in_g02_g03 = on;
    else if (option == "IJ_ONLY_IN_G02_G03")
        s.use_r_in_g02_g03 = !on;
    else if (option == "NEWFILTER")
        s.use_newfilter = on;
    else if (option == "OLDFILTER")
        s.use_newfilter = !on;
    else if (option != "G83" && option != "G40" && option != "G41" && option != "G42" &&
             option != "G12" && option != "INCH" && option != "MM")
        return SyntaxError(f, l);
    return 1;
}

int OptimiseCom(const char* f, int l) { return Flag(g_settings.optimise, f, l); }
int ExcessMaterialRemovalCom(const char* f, int l) { return Flag(g_settings.excessmr, f, l); }
int MultipleGCodeLinesCom(const char* f, int l) { return Flag(g_settings.multi_g_lines, f, l); }
int NumberCommentLinesCom(const char* f, int l) { return Flag(g_settings.num_c_lines, f, l); }
int CharArcSegCorCom(const char* f, int l) { return Flag(g_settings.chrarcsegcor, f, l); }

int FilterOutPathIntersectionsCom(const char* f, int l) {
    if (ArgCount() != 1)
        return SyntaxError(f, l);
    g_settings.alt_path_filter = 0;
    return 1;
}

int CommentsCom(const char* f, int l) {
    int count = ArgCount();
    if (count == 1) {
        g_settings.comments = 1;
        return 1;
    }
    if (count != 2)
        return SyntaxError(f, l);
    std::string w = Upper(Arg(1));
    if (w == "ON")
        g_settings.comments = 1;
    else if (w == "OFF")
        g_settings.comments = 0;
    else if (w == "DEBUG")
        g_settings.comments = 2;
    else
        return SyntaxError(f, l);
    return 1;
}

int LabelingCom(const char* f, int l) {
    int count = ArgCount();
    int on = 1;
    if (count == 2)
        on = OnOff(Arg(1), true);
    if ((count != 1 && count != 2) || on < 0)
        return SyntaxError(f, l);
    g_settings.labeling = on ? 0 : -1;
    return 1;
}

// A tool in a place above the new count could no longer be loaded, yet it would still be saved
// with the project and then refused when the project is opened: it is detached, as when a
// machine with a smaller tool holder is loaded.
int ToolholderCom(const char* f, int l) {
    if (!IntegerIn(g_settings.toolholder, 1, 99, f, l))
        return 0;
    int detached = DetachToolsBeyondHolder();
    if (detached > 0)
        ShowMessage(Sprintf("%d tool(s) could not be loaded", detached), "Toolholder too small!",
                    kMbOk | kMbIconExclamation);
    return 1;
}
int DelayCom(const char* f, int l) { return IntegerIn(g_settings.delay, 1, 9999, f, l); }

int ConTolCom(const char* f, int l) {
    g_settings.con_tolerance = UserUnit() == kUnitInch ? 0.0004 : 0.01;
    return PositiveLength(g_settings.con_tolerance, f, l);
}

int NominalCharArcSegmentCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    double v = ArgF(1);
    if (!(v > 0) || !std::isfinite(v))
        return OutOfRange(f, l);
    g_settings.nchrarcseg = v;
    return 1;
}

int TextSizeCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    double v = ArgF(1);
    if (!(v > 0) || !std::isfinite(v))
        return OutOfRange(f, l);
    g_settings.textsize = v;
    return 1;
}

int OSnapCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    g_settings.snapsettings = ArgI(1);
    return 1;
}

int BackGroundCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    g_settings.background_white = std::string_view("WHITE").starts_with(Upper(Arg(1)));
    return 1;
}

int ViewCom(const char* f, int l) {
    if (ArgCount() != 6)
        return SyntaxError(f, l);
    int mode = ArgI(1);
    double scale = ArgF(2);
    // A view that cannot be drawn (unknown projection, no scale) is refused here rather than
    // divided by later.
    if (mode < 0 || mode > 3 || !(scale > 0) || !std::isfinite(scale))
        return OutOfRange(f, l);
    Settings& s = g_settings;
    s.view_mode = mode;
    s.view_scale = scale;
    s.view_x = ArgF(3) * UnitFactor();
    s.view_y = ArgF(4) * UnitFactor();
    s.view_bits = ArgI(5);
    s.view_given = 1;
    return 1;
}

int ProgramCom(const char* f, int l) {
    int count = ArgCount();
    std::string number;
    if (count == 2)
        number = Arg(1);
    else if (count == 3 && Upper(Arg(1)) == "O")
        number = Arg(2);
    else
        return SyntaxError(f, l);
    if (!number.empty() && (number[0] == 'O' || number[0] == 'o'))
        number.erase(0, 1);
    g_settings.program = std::atoi(number.c_str());
    return 1;
}

int GCFileCom(const char* f, int l) {
    if (!OneName(g_settings.gcfile, f, l))
        return 0;
    // A machine with a post-processor keeps its temporary file as the file Make writes; the
    // post-processor makes the GCFILE from it.
    if (!DefinitionMode())
        g_settings.output_file = g_settings.gcfile;
    return 1;
}
int DWGFileCom(const char* f, int l) { return OneName(g_settings.dwgfile, f, l); }
int CImgCom(const char* f, int l) { return OneName(g_settings.company_img, f, l); }
int EditorCom(const char* f, int l) { return OneName(g_settings.edit, f, l); }
int BrowserCom(const char* f, int l) { return OneName(g_settings.htmlview, f, l); }
int DWGEditorCom(const char* f, int l) { return OneName(g_settings.dwgeditor, f, l); }
int PostProcCom(const char* f, int l) { return OneName(g_settings.postproc, f, l); }

int NoOfPartsCom(const char* f, int l) {
    if (ArgCount() != 2)
        return SyntaxError(f, l);
    g_settings.noofparts = ArgI(1);
    return 1;
}

int PartCom(const char* f, int l) {
    return ReportText(g_settings.part, false, kMaxSettingText, f, l);
}
int ProjectCom(const char* f, int l) {
    return ReportText(g_settings.project, false, kMaxSettingText, f, l);
}
int DescrCom(const char* f, int l) {
    return ReportText(g_settings.description, false, kMaxSettingText, f, l);
}
int ClientCom(const char* f, int l) {
    return ReportText(g_settings.client, true, kMaxSettingText, f, l);
}
int UserCom(const char* f, int l) {
    return ReportText(g_settings.user, true, kMaxSettingText, f, l);
}
int CNameCom(const char* f, int l) {
    return ReportText(g_settings.company, true, kMaxSettingText, f, l);
}
int CLogoCom(const char* f, int l) {
    return ReportText(g_settings.company_logo, true, kMaxSettingText, f, l);
}
int OperatorCom(const char* f, int l) {
    return ReportText(g_settings.operator_name, true, kMaxOperatorText, f, l);
}

int ProgStartCom(const char* f, int l) {
    if (ArgCount() < 1)
        return SyntaxError(f, l);
    g_settings.progstart = JoinWords(1, kMaxSettingText);
    return 1;
}

int ProgEndCom(const char* f, int l) {
    if (ArgCount() < 1)
        return SyntaxError(f, l);
    g_settings.progend = JoinWords(1, kMaxSettingText);
    return 1;
}

int HelpCom(const char* f, int l) {
    if (ArgCount() != 3)
        return SyntaxError(f, l);
    g_settings.help_program = NameToken(Arg(1));
    g_settings.help_document = NameToken(Arg(2));
    return 1;
}

int TransferProgCom(const char* f, int l) {
    int count = ArgCount();
    if (count < 2)
        return SyntaxError(f, l);
    if (count == 2) {
        g_settings.transfer = NameToken(Arg(1));
    } else {
        g_settings.transfer = JoinWords(1, kMaxSettingText);
    }
    return 1;
}

} // namespace korvel
