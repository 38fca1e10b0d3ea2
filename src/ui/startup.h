// The start-up both front ends run: every table initialised, the configuration read, the
// snapshot taken that new projects start from.
#pragma once

#include <string>

namespace korvel {

enum class StartupResult {
    kOk,
    kConfigMissing,  // korvel.cfg is not in the program directory
    kConfigRejected, // korvel.cfg's last line was rejected
};

// Every table of the system to its start state, settings to their built-in defaults.
void InitAllTables();

// InitAllTables, then korvel.cfg, then the configuration snapshot and empty undo lists, then
// every loading step. The program must not go on unless the result is kOk.
StartupResult StartUp();
// StartUp without the loading steps, for the desktop program, whose start-up dialog runs them
// one at a time.
StartupResult StartConfiguration();

// The loading steps after the configuration, as the start-up dialog shows them: 0 the thread
// table, 1 the material groups, 2 the database, then "Loading completed" and "Starting
// CAD-CAM...". RunLoadingStep runs one, sets the text to show ("" keeps the previous one) and
// returns the next step, or -1 when the dialog closes. A failed loader shows "Loading
// failed", makes the database read-only and skips to the last text.
int RunLoadingStep(int step, std::string& text);
// After the steps: load errors are reported in DB_ERR.TXT and make the database read-only,
// with the warnings users see.
void FinishLoading();
// Every step at once, then FinishLoading.
void RunLoadingSteps();

} // namespace korvel
