// Start-up sequence of the program.
#include "ui/startup.h"

#include "model/atttool.h"
#include "model/registry.h"
#include "model/thread_type.h"
#include "platform/platform.h"
#include "script/config.h"
#include "script/project.h"
#include "script/settings.h"
#include "script/text.h"
#include "script/undo_stack.h"
#include "script/units.h"
#include "tooldb/database.h"
#include "tooldb/db_files.h"
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
}

void RunLoadingSteps() {
    using Step = int (*)();
    const Step steps[] = {LoadThreadDefinitions, LoadMaterialGroups, LoadToolDB};
    for (Step step : steps) {
        if (step() < 0) {
            SetSaveMode(kReadOnly);
            break;
        }
    }
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
    InitAllTables();
    bool exists = FileExist(ConfigPath());
    if (!LoadConfig())
        return exists ? StartupResult::kConfigRejected : StartupResult::kConfigMissing;
    InitUndoBuf();
    StoreCfgValues();
    RunLoadingSteps();
    return StartupResult::kOk;
}

} // namespace korvel
