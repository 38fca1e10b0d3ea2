// Start-up sequence of the program.
#include "ui/startup.h"

#include "model/registry.h"
#include "script/config.h"
#include "script/project.h"
#include "script/settings.h"
#include "script/text.h"
#include "script/undo_stack.h"
#include "script/units.h"

namespace korvel {

void InitAllTables() {
    ResetUnits();
    ResetSettings();
    InitID();
    InitProject();
    InitMachine();
    InitUndoBuf();
    ClearStringStack();
}

StartupResult StartUp() {
    InitAllTables();
    bool exists = FileExist(ConfigPath());
    if (!LoadConfig())
        return exists ? StartupResult::kConfigRejected : StartupResult::kConfigMissing;
    InitUndoBuf();
    StoreCfgValues();
    return StartupResult::kOk;
}

} // namespace korvel
