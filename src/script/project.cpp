// Clearing the project's tables.
#include "script/project.h"

#include "model/block.h"
#include "model/registry.h"
#include "script/settings.h"

namespace korvel {

void InitProject() {
    InitID();
    InitBlock();
    ClearProjectTexts();
}

} // namespace korvel
