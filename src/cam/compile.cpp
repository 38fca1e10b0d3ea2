// The compile pipeline: project checks, the machining phases in their order, the program file,
// the report, and the post-processor and transfer programs that take the program further.
#include "cam/compile.h"

#include <bitset>
#include <vector>

#include "base/text.h"
#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/drill_order.h"
#include "cam/gen_drill.h"
#include "cam/generators.h"
#include "cam/machining_data.h"
#include "cam/predrill.h"
#include "cam/program_frame.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/pocket.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

std::string g_output_override;
bool g_post_processed = false;

constexpr const char* kProjectFilter = "Projects (*.kvp)|*.kvp|";

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

bool Ask(const std::string& text, const std::string& caption) {
    return ShowMessage(text, caption, kMbYesNo | kMbIconQuestion) == kIdYes;
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A path or program as one word of a shell command line, whatever characters it holds.
std::string ShellWord(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

int TypeOf(int id) {
    int type = -1, index = -1;
    FindID(id, type, index);
    return type;
}

// ---- Checks before the run -----------------------------------------------------------------

int StoreChangedProject(ProjectSaver save) {
    if (!ProjectChanged())
        return 1;
    if (!Ask("Do you want to store changes and proceed?", "Project has changed"))
        return 0;
    std::string path = GetSettings().project_file;
    if (path.empty() || BaseName(path) == "noname.kvp") {
        if (!AskSaveFileName(path, kProjectFilter, "kvp"))
            return 0;
    }
    if (!save || !save(path))
        return 0;
    MutableSettings().project_file = path;
    return 1;
}

int CheckIslandsAndExcessMaterial() {
    for (int i = 0; i < kMaxBulges; ++i)
        if (Bulge_valid(i) && Bulge_is_island(i))
            return Refuse(Sprintf("Bulge id %d is an island (attached in a pocket).\nThis is not "
                                  "supported in this version.\nSorry!",
                                  Bulge_id(i)),
                          "Part error");
    if (GetSettings().excessmr)
        return 1;
    const char* caption = "Tool crash danger warning!";
    if (TopLevel() > 0)
        return Ask("Multy layer object with excess material removal disabled! Continue anyway?",
                   caption);
    int block = GetBlockId();
    bool on_block = false, on_pocket = false;
    for (int id : RegisteredObjects()) {
        int pid = GetPID(id);
        if (pid < 1)
            continue;
        on_block |= pid == block && TypeOf(id) != kTypeBulge;
        on_pocket |= TypeOf(pid) == kTypePocket;
    }
    if (TopLevel() == 0 && on_block)
        return Ask("Excess material removal is disabled\nbut some objects have been attached on "
                   "the remaining part of the block\nContinue anyway?",
                   caption);
    if (on_pocket)
        return Ask("Excess material removal is disabled\nbut some objects have been attached on "
                   "pockets\nContinue anyway?",
                   caption);
    return 1;
}

int CheckLevelsAndHeights() {
    for (int level = TopLevel(); level >= 0; --level) {
        int first = FindFirstLevelBulge(level);
        for (int other = FindNextLevelBulge(level); first >= 0 && other >= 0;
             other = FindNextLevelBulge(level)) {
            if (!equal(Bulge_wz(first), Bulge_wz(other)))
                return Refuse(Sprintf("Co-bulges id %d and id %d have different heigths",
                                      Bulge_id(first), Bulge_id(other)),
                              "Part error");
        }
    }
    double base = GetBlock().z;
    for (int i = 0; i < kMaxBulges; ++i)
        if (Bulge_valid(i) && Bulge_z(i) < base)
            return Ask("Milling below block! Continue anyway?", "WARNING");
    return 1;
}

// Every hole, bore, pocket and bulge must stand on something that is machined (the block, a
// bulge, a bore or a pocket), or it would be left out of the program without a word; and every
// feature needs a generator of this version.
int CheckMachinable() {
    for (int id : RegisteredObjects()) {
        int type = TypeOf(id);
        if (type != kTypeDrill && type != kTypeThread && type != kTypeBore &&
            type != kTypeLongHole && type != kTypePocket && type != kTypeBulge)
            continue;
        int pid = GetPID(id);
        int ptype = TypeOf(pid);
        if (ptype != kTypeBlock && ptype != kTypeBulge && ptype != kTypeBore &&
            ptype != kTypePocket)
            return Refuse(Sprintf("Object ID %d stands on ID %d, which is no block, bulge, "
                                  "cylindrical pocket or pocket",
                                  id, pid),
                          "Part error");
    }
    std::string feature = UnmachinedFeature();
    if (!feature.empty())
        return Refuse(feature + " is not machined by this version", "Feature not supported");
    return 1;
}

// ---- The phases ----------------------------------------------------------------------------

int EachLevel(int (*generator)(int)) {
    for (int level = TopLevel(); level >= 0; --level)
        if (generator && !generator(level))
            return 0;
    return 1;
}

int Call(int (*generator)()) { return generator ? generator() : 1; }

int RoughPhases() {
    const PhaseGenerators& g = Generators();
    if (g.GRoughTop) {
        if (!g.GRoughTop())
            return 0;
    } else if (Block_valid()) {
        DeclareObjectProcessed(GetBlockId()); // no stock on the top face: nothing to mill
    }
    bool emr = GetSettings().excessmr != 0;
    for (int level = TopLevel(); level >= 0; --level) {
        int (*mill)(int) = emr ? g.GThisLevel : g.GThisLevel_NEMR;
        if (mill && !mill(level))
            return 0;
        UseNewToolBuffers();
    }
    if (!MakeAllNecessaryDrills(GetBlockId()))
        return 0;
    DeclareProcessedObjectsReady();
    for (int i = 0; i < kMaxBulges; ++i) {
        if (!Bulge_valid(i))
            continue;
        if (!MakeAllNecessaryDrills(Bulge_id(i)))
            return 0;
        DeclareProcessedObjectsReady();
    }
    return MakePossibleBoresAndPockets();
}

int FinishingPhases() {
    const PhaseGenerators& g = Generators();
    UseNewToolBuffers();
    if (!Call(g.GFineTop))
        return 0;
    if (!EachLevel(g.GFineThisLevel)) {
        CloseCodeBuffers();
        return 0;
    }
    if (!Call(g.GFineAllBores) || !Call(g.GFineAllPockets))
        return 0;
    for (int level = TopLevel(); level >= 0; --level) {
        for (int i = FindFirstLevelBulge(level); i >= 0; i = FindNextLevelBulge(level))
            if (g.GChamferThisBulge && !g.GChamferThisBulge(i))
                return 0;
    }
    return GChamferAllDrills() && Call(g.GChamferAllBores) && Call(g.GChamferAllPockets) &&
           Call(g.GAllLongHoles) && Call(g.GAllThreads) && Call(g.GAllTexts) &&
           Call(g.GEngraveAllCLA) && GEnd();
}

int WriteProgram() {
    std::string program;
    for (int b = 0; b < kCodeBuffers; ++b)
        if (!WriteCode(&program, b))
            return 0;
    std::string raw = RawGCodeFile();
    // The file is replaced whole or not at all: a refused or failed run leaves it as it was.
    if (!WriteFileAtomically(raw, program))
        return Refuse(Sprintf("Can't open G-code file [%s] for writing", raw.c_str()),
                      "File error");
    SetCompiled(true);
    MakeReport();
    return 1;
}

} // namespace

void InitCompiler() {
    CloseCodeBuffers();
    InitCodeBuffers();
    ResetMillTime();
    NoTool();
    SetPostProcessed(false);
    SetCompiled(false);
    SetGCodeOutputFile("");
    ForgetReversedLongHoles();
}

int RunCompiler(ProjectSaver save) {
    if (!StoreChangedProject(save))
        return 0;
    if (Compiled()) {
        if (!Ask("Recompile?", "G-Code file is up-to-date"))
            return 0;
        SetCompiled(false);
    }
    if (!CheckIslandsAndExcessMaterial())
        return 0;
    SetPostProcessed(false);
    RecalcZ();
    if (!CheckLevelsAndHeights() || !CheckMachinable())
        return 0;
    DeleteSelectedTools();
    DeleteSystemElements();
    DeclareAllObjectsNotReady();
    ResetMillTime();
    InitCodeBuffers();
    NoTool();
    if (!GStart())
        return 0;
    if (!RoughPhases() || !FinishingPhases())
        return 0;
    return WriteProgram();
}

int MakeGCode(ProjectSaver save) {
    int result = RunCompiler(save);
    CloseCodeBuffers();
    DeleteSystemElements();
    RestoreReversedLongHoles();
    // Which of coincident drills is drilled is the run's own business.
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i) && (d.drilling_active || d.chamfer_active)) {
            d.drilling_active = d.chamfer_active = 0;
            PutDrill(d, i);
        }
    }
    return result;
}

int MakeAllNecessaryDrills(int pid) {
    if (pid < 1)
        return 1; // no block: nothing stands on it
    bool debug = DebugComments();
    int (*const makers[])(int) = {DrillsForLongHoles, DrillsForBores, DrillsForPockets,
                                  DrillsForThreading, DrillsForLargeDrilling};
    int stage = 2;
    for (auto maker : makers) {
        if (debug)
            DebugDrillsList(stage++);
        if (!maker(pid))
            return 0;
    }
    if (debug)
        DebugDrillsList(7);
    RecalcZ(); // the new drills get the level of their parent
    ActivateDrills(pid);
    return SpotsForDrilling(pid) && GSpot(pid) && PreOpenDrillToolBuffers(pid) && GDrill(pid);
}

int MakePossibleBoresAndPockets() {
    const PhaseGenerators& g = Generators();
    bool emr = GetSettings().excessmr != 0;
    std::bitset<kMaxBores> bore_done;
    std::bitset<kMaxPockets> pocket_done;
    for (;;) {
        std::vector<int> machined;
        for (int i = 0; i < kMaxBores; ++i) {
            int id = Bore_id(i);
            if (id < 0 || bore_done[i] || ObjectIsReady(id) || !ObjectIsReady(Bore_pid(i)))
                continue;
            bore_done[i] = true;
            int (*mill)(int) = emr ? g.GThisBore : g.GThisBore_NEMR;
            if (mill && !mill(i))
                return 0;
            machined.push_back(id);
        }
        for (int i = 0; i < kMaxPockets; ++i) {
            int id = Pocket_id(i);
            if (id < 0 || pocket_done[i] || ObjectIsReady(id) || !ObjectIsReady(Pocket_pid(i)))
                continue;
            pocket_done[i] = true;
            int (*mill)(int) = emr ? g.GThisPocket : g.GThisPocket_NEMR;
            if (mill && !mill(i))
                return 0;
            machined.push_back(id);
        }
        if (machined.empty())
            break;
        UseNewToolBuffers();
        DeclareProcessedObjectsReady();
        for (int id : machined)
            if (!MakeAllNecessaryDrills(id))
                return 0;
    }
    // A bore or pocket whose parent never became ready would be missing from the program.
    for (int i = 0; i < kMaxBores; ++i)
        if (Bore_id(i) >= 0 && !Bore_system(i) && !ObjectIsReady(Bore_id(i)))
            return Refuse(Sprintf("Cylindrical pocket ID %d was not machined", Bore_id(i)),
                          "Internal error");
    for (int i = 0; i < kMaxPockets; ++i)
        if (Pocket_id(i) >= 0 && Pocket_valid(i) && !ObjectIsReady(Pocket_id(i)))
            return Refuse(Sprintf("Pocket ID %d was not machined", Pocket_id(i)), "Internal error");
    return 1;
}

// ---- Files, report, post-processing and transfer -------------------------------------------

std::string OutputGCodeFile() {
    return g_output_override.empty() ? GetSettings().gcfile : g_output_override;
}

void SetGCodeOutputFile(const std::string& path) { g_output_override = path; }

std::string RawGCodeFile() {
    if (DefinitionMode())
        return Sprintf("$%d.tmp", ProcessId());
    return OutputGCodeFile();
}

std::string ReportText() {
    std::string text = "Tools used:\n\nT\tMill Time (sec)\tName\n";
    for (int place = 1; place <= kMaxPlaces; ++place) {
        if (MillTime(place) > 0)
            text += Sprintf("%-2d\t%-20.0f\t%s\n", place, MillTime(place) * 60,
                            PlaceToolName(place).c_str());
    }
    double total = TotalMillTime();
    int minutes = static_cast<int>(total);
    text += Sprintf("\nTotal Milling Time: %d min, %d sec", minutes,
                    static_cast<int>((total - minutes) * 60));
    if (text.size() > 4096)
        text.resize(4096);
    return text;
}

void MakeReport() {
    if (Compiled())
        ShowMessage(ReportText(), "Compilation completed succesfully", kMbOk | kMbIconInformation);
    else
        ShowMessage("Use G-Code/Make to update G-Code file",
                    "Compilation error or G-Code out of date", kMbOk | kMbIconExclamation);
}

bool PostProcessed() { return g_post_processed; }
void SetPostProcessed(bool done) { g_post_processed = done; }

int PostProcCode(MachineFileLookup lookup) {
    if (!DefinitionMode())
        return 0;
    std::string machine_file;
    if (!lookup || !lookup(GetSettings().machine_name, machine_file))
        return 0;
    std::string dir = ProgramDirectory();
    std::string command = ShellWord(dir + GetSettings().postproc) + " " +
                          ShellWord(dir + machine_file) + " " + ShellWord(RawGCodeFile()) + " " +
                          ShellWord(OutputGCodeFile());
    if (StartProgram(command) <= 30)
        return 0;
    SetPostProcessed(true);
    return 1;
}

int TransferCode() {
    const std::string& program = GetSettings().transfer;
    if (program.empty())
        return CopyCodeA();
    std::string command = program + " " + ShellWord(OutputGCodeFile());
    if (StartProgram(command) < 31)
        return Refuse("Transfer failed", command);
    return 1;
}

int CopyCodeA() {
    std::string output = OutputGCodeFile();
    if (CopyFileTo(output, "A:/" + BaseName(output))) {
        ShowMessage(Sprintf("G-Code file %s copied succesfully to diskette a:", output.c_str()),
                    "Transfer done", kMbOk | kMbIconInformation);
        return 1;
    }
    return Refuse(Sprintf("Can't copy file %s to diskette a:", output.c_str()), "Tranfer failed");
}

} // namespace korvel
