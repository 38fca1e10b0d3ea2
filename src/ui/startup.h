// The start-up both front ends run: every table initialised, the configuration read, the
// snapshot taken that new projects start from.
#pragma once

namespace korvel {

enum class StartupResult {
    kOk,
    kConfigMissing,  // korvel.cfg is not in the program directory
    kConfigRejected, // korvel.cfg's last line was rejected
};

// Every table of the system to its start state, settings to their built-in defaults.
void InitAllTables();

// InitAllTables, then korvel.cfg, then the configuration snapshot and empty undo lists. The
// program must not go on unless the result is kOk.
StartupResult StartUp();

// The loading steps after the configuration: the thread table, the material groups and the
// database. A failed step skips the rest and makes the database read-only; load errors are
// reported in DB_ERR.TXT and make it read-only too, with a warning.
void RunLoadingSteps();

} // namespace korvel
