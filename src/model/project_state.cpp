// Clearing the project's tables, and the project's changed and compiled flags.
#include "model/project_state.h"

#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/contour.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/texts.h"
#include "model/thread.h"

namespace korvel {

namespace {
bool g_changed = false;
bool g_compiled = false;
} // namespace

void InitProject() {
    InitID();
    InitBlock();
    InitBulge(kAllSlots);
    ResetContour();
    RemoveDrill(kAllSlots);
    RemoveSpot(kAllSlots);
    InitThread(kAllSlots);
    InitBore(kAllSlots);
    InitLongHole(kAllSlots);
    InitPocket(kAllSlots);
    InitText(kAllSlots);
    InitFixture(kAllSlots);
    InitCLA();
    InitCLAGroups();
    ClearProjectTexts();
}

bool ProjectChanged() { return g_changed; }
void SetProjectChanged(bool changed) { g_changed = changed; }
bool Compiled() { return g_compiled; }
void SetCompiled(bool compiled) { g_compiled = compiled; }

void MarkProjectEdited() {
    g_changed = true;
    g_compiled = false;
}

} // namespace korvel
