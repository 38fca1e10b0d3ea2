// Where the database files live, whether they are written back at exit, and the report of
// problems met while loading them (DB_ERR.TXT in the current directory).
#pragma once

#include <string>

namespace korvel {

// Database save modes.
constexpr int kSaveOnExit = 1;
constexpr int kReadOnly = 0;
constexpr int kAskOnExit = -2;

// The library directory named by LIBRARY; empty: the program directory.
const std::string& LibraryDirectory();
void SetLibraryDirectory(const std::string& dir);
// The path of a database file: "<library>/<name>", or the program directory and the name.
std::string LibraryPath(const std::string& name);

int SaveMode();
void SetSaveMode(int mode);

// Collects load errors: a non-empty text is written as "<count>\t<text>" to DB_ERR.TXT (made
// anew by the first error of the run) and the count is returned. With close set the file is
// closed and the count returned and reset to 0. Otherwise the count is returned.
int ReportLoadError(const std::string& text, bool close = false);

// For tests and fuzzing, which must not change folder: the report goes into this folder
// instead of the current one ("" again: the current one).
void SetLoadReportDirectory(const std::string& dir);

// Library directory empty, save mode 1, report closed and its count 0.
void ResetLibrary();

} // namespace korvel
