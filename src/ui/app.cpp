// Project life cycle, prompts and the command line.
#include "ui/app.h"

#include <cstdio>

#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/heights.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/core_commands.h"
#include "script/db_files.h"
#include "script/interpreter.h"
#include "script/keywords.h"
#include "script/project.h"

namespace korvel {

const char* const kProjectFilter = "Korvel Files (*.kvp)|*.kvp|All Files (*.*)|*.*|";
const char* const kProjectExtension = "kvp";

namespace {

constexpr const char* kNoName = "noname.kvp";
constexpr int kViewTableBit = 1;

std::string g_title = "KORVEL";
bool g_view_changed = false;
bool g_zoom_to_block = false;

// Lines that change nothing of the project.
bool ChangesProject(const std::string& text) {
    std::string line = text;
    if (args(line) <= 0)
        return false;
    std::string_view name = KeywordName(recogn(Upper(Arg(0))));
    return name != "MSG" && name != "SELECT" && name != "UNSELECT" && name != "REVERSE" &&
           name != "UNDO" && name != "REDO";
}

void AfterOpening() {
    RecalcZ();
    InitUndoBuf();
    SetProjectChanged(false);
    g_view_changed = false;
    if (!GetSettings().view_given && Block_valid()) {
        MutableSettings().view_bits &= ~kViewTableBit;
        g_zoom_to_block = true;
    }
}

} // namespace

StartupResult StartApplication(const std::string& project_argument) {
    StartupResult result = StartUp();
    g_title = "KORVEL";
    if (result != StartupResult::kOk)
        return result;
    std::string path = project_argument;
    RemQuotes(path);
    if (!path.empty()) {
        OpenProject(path);
        AfterOpening();
    }
    return result;
}

std::string WindowTitle() { return g_title; }

bool ViewChanged() { return g_view_changed; }
void SetViewChanged(bool changed) { g_view_changed = changed; }

bool TakeZoomToBlockRequest() {
    bool requested = g_zoom_to_block;
    g_zoom_to_block = false;
    return requested;
}

bool ConfirmProjectChange(bool exiting) {
    if (!ProjectChanged() && !g_view_changed)
        return true;
    int answer = ShowMessage(exiting ? "Do you want to store project before exiting?"
                                     : "Do you want to store project before proceeding?",
                             "Project has changed", kMbYesNoCancel | kMbIconQuestion);
    if (answer == kIdCancel)
        return false;
    if (answer == kIdNo)
        return true;
    return SaveProjectCommand();
}

bool NewProject() {
    if (!ConfirmProjectChange(false))
        return false;
    InitProject();
    LoadCfgValues();
    RecalcZ();
    InitUndoBuf();
    SetProjectChanged(false);
    SetCompiled(false);
    g_view_changed = false;
    g_title = "Korvel";
    return true;
}

bool OpenProjectDialog() {
    if (!ConfirmProjectChange(false))
        return false;
    std::string path;
    if (!AskOpenFileName(path, kProjectFilter, kProjectExtension))
        return false;
    return OpenProjectFile(path);
}

bool OpenProjectFile(const std::string& path) {
    LoadCfgValues();
    OpenProject(path);
    AfterOpening();
    SetCompiled(false);
    g_title = "Korvel " + path;
    return true;
}

bool SaveProjectCommand() {
    const std::string& name = GetSettings().project_file;
    if (name.empty() || name == kNoName)
        return SaveProjectAs();
    if (!SaveProject(name))
        return false;
    g_view_changed = false;
    g_title = "Korvel " + name;
    return true;
}

bool SaveProjectAs() {
    std::string path;
    if (!AskSaveFileName(path, kProjectFilter, kProjectExtension))
        return false;
    if (!SaveProject(path))
        return false;
    MutableSettings().project_file = path;
    g_view_changed = false;
    g_title = "Korvel " + path;
    return true;
}

bool ExitApplication() {
    if (!ConfirmProjectChange(true))
        return false;
    SaveDatabaseAtExit();
    // The G-code handed to the post-processor was a temporary file.
    if (DefinitionMode())
        std::remove(GetSettings().output_file.c_str());
    return true;
}

std::string DialogFilter(const std::string& pairs) {
    std::string out;
    std::size_t start = 0;
    // Every other field is a description; the patterns after them repeat what they say.
    for (bool description = true; start < pairs.size(); description = !description) {
        std::size_t bar = pairs.find('|', start);
        if (bar == std::string::npos)
            bar = pairs.size();
        if (description) {
            if (!out.empty())
                out += ";;";
            out += pairs.substr(start, bar - start);
        }
        start = bar + 1;
    }
    return out;
}

std::string AboutText() {
    return Sprintf("KORVEL Version %0.2f\nCAD-CAM for 3-axis CNC machining centres",
                   kKorvelVersion);
}

int CommandLineOk(const std::string& text) {
    std::string line = text;
    bool changes = ChangesProject(text);
    int accepted = IntrepretLine(line, nullptr, 0);
    if (accepted && changes) {
        SetProjectChanged(true);
        SetCompiled(false);
        RecalcZ();
    }
    return accepted;
}

std::string UnitLabel() { return UserUnit() == kUnitInch ? "Inch" : "mm"; }

std::string TopLevelText() { return std::to_string(TopLevel() + 1); }

std::string CursorPositionText(double x, double y) {
    int offset = GetCoordinates().work_offset;
    if (offset <= 5)
        return Sprintf("G%d    X%0.3f  Y%0.3f", 54 + offset, x, y);
    return Sprintf("G59.%d    X%0.3f  Y%0.3f", offset - 5, x, y);
}

} // namespace korvel
