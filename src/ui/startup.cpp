// Start-up sequence of the program.
#include "ui/startup.h"

#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "cad/dots.h"
#include "cam/compile.h"
#include "model/atttool.h"
#include "model/font.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/thread_type.h"
#include "paths/path_table.h"
#include "platform/platform.h"
#include "script/config.h"
#include "script/db_files.h"
#include "script/project.h"
#include "script/thread_file.h"
#include "tooldb/database.h"
#include "tooldb/library.h"

namespace korvel {

void InitAllTables() {
    ResetUnits();
    ResetSettings();
    InitID();
    InitProject();
    InitMachine();
    InitUndoBuf();
    ClearStringStack();
    ClearThreadTypes();
    ResetLibrary();
    InitToolDatabase();
    InitAttachedTools();
    InitCompiler();
    InitFont();
    SetProjectChanged(false);
    ClearPaths();
    ClearXLPath();
    RemoveDots();
}

int RunLoadingStep(int step, std::string& text) {
    struct Step {
        int (*load)();
        const char* text;
    };
    static const Step kSteps[] = {
        {LoadThreadDefinitions, "Loading Thread Definitions..."},
        {LoadMaterialGroups, "Loading Material Groups..."},
        {LoadToolDB, "Loading Materials and Tools..."},
        {nullptr, ""},
        {nullptr, "Loading completed"},
        {nullptr, ""},
        {nullptr, "Starting CAD-CAM..."},
    };
    constexpr int kLastStep = 6;
    if (step < 0 || step > kLastStep) {
        text.clear();
        return -1;
    }
    text = kSteps[step].text;
    if (kSteps[step].load && kSteps[step].load() < 0) {
        text = "Loading failed";
        SetSaveMode(kReadOnly);
        return kLastStep;
    }
    return step + 1;
}

void RunLoadingSteps() {
    std::string text;
    for (int step = 0; step >= 0;)
        step = RunLoadingStep(step, text);
    FinishLoading();
}

void FinishLoading() {
    if (ReportLoadError("", true) > 0) {
        SetSaveMode(kReadOnly);
        ShowMessage("ERRORS in Tool Data Base. Please read the report in DB_ERR.TXT\n"
                    "Tool Data base files will not be updated on exit!",
                    "Korvel", kMbOk | kMbIconExclamation);
    }
    if (SaveMode() == kReadOnly)
        ShowMessage("WARNING!\nTools Data Base is READONLY\n\nAny changes made will be effective "
                    "only during this seccion\nand will be lost on exit",
                    "Korvel", kMbOk | kMbIconExclamation);
}

StartupResult StartUp() {
    StartupResult result = StartConfiguration();
    if (result == StartupResult::kOk)
        RunLoadingSteps();
    return result;
}

StartupResult StartConfiguration() {
    InitAllTables();
    bool exists = FileExist(ConfigPath());
    if (!LoadConfig())
        return exists ? StartupResult::kConfigRejected : StartupResult::kConfigMissing;
    InitUndoBuf();
    StoreCfgValues();
    return StartupResult::kOk;
}

} // namespace korvel
