// Database location, save mode and the load error report.
#include "tooldb/library.h"

#include <cstdio>

#include "platform/platform.h"

namespace korvel {

namespace {

std::string g_library_dir;
int g_save_mode = kSaveOnExit;
int g_error_count = 0;
std::FILE* g_report = nullptr;
bool g_report_made = false; // the report is made anew once per run
std::string g_report_dir;   // SetLoadReportDirectory; empty: the current directory

} // namespace

const std::string& LibraryDirectory() { return g_library_dir; }
void SetLibraryDirectory(const std::string& dir) { g_library_dir = dir; }

std::string LibraryPath(const std::string& name) {
    if (g_library_dir.empty())
        return ProgramDirectory() + name;
    return g_library_dir + "/" + name;
}

int SaveMode() { return g_save_mode; }
void SetSaveMode(int mode) { g_save_mode = mode; }

int ReportLoadError(const std::string& text, bool close) {
    if (!text.empty()) {
        ++g_error_count;
        if (!g_report) {
            std::string dir = g_report_dir.empty() ? CurrentDirectory() : g_report_dir;
            std::string path = dir + "DB_ERR.TXT";
            g_report = OpenRegularFileForWriting(path, g_report_made);
            g_report_made = true;
        }
        // An unwritable report still counts the error: the database turns read-only anyway.
        if (g_report) {
            std::fprintf(g_report, "%d\t%s\n", g_error_count, text.c_str());
            std::fflush(g_report);
        }
        return g_error_count;
    }
    if (close && g_report) {
        std::fclose(g_report);
        g_report = nullptr;
        int count = g_error_count;
        g_error_count = 0;
        return count;
    }
    return g_error_count;
}

void SetLoadReportDirectory(const std::string& dir) {
    g_report_dir = dir.empty() || dir.back() == '/' ? dir : dir + "/";
}

void ResetLibrary() {
    g_library_dir.clear();
    g_save_mode = kSaveOnExit;
    if (g_report)
        std::fclose(g_report);
    g_report = nullptr;
    g_report_made = false;
    g_error_count = 0;
}

} // namespace korvel
