// What the fuzz targets share: a scratch folder of their own and writing the input to a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/platform.h"
#include "tooldb/library.h"

namespace korvel::fuzz {

// The scratch folder's path, kept in plain characters: the exit handler that removes the
// folder may run after static strings are gone. In memory (/dev/shm) where there is one: the
// targets write and rename files thousands of times a second.
inline char* ScratchPath() {
    static char shm[] = "/dev/shm/korvel-fuzz-XXXXXX";
    static char tmp[] = "/tmp/korvel-fuzz-XXXXXX";
    static char* path = access("/dev/shm", W_OK | X_OK) == 0 ? shm : tmp;
    return path;
}

inline void RemoveScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(ScratchPath(), ec);
}

// The target's own scratch folder (ending in '/'), made on the first call: messages are
// recorded instead of shown, the folder is the program directory and takes the database load
// report, and saves are not flushed to the disk (thousands of runs a second). The current
// folder stays as it was, so that corpus and seed folders given as relative paths still load
// and crash files land where libFuzzer was started. The folder is removed at a normal exit;
// after a crash it is kept, with the files of the last run.
inline const std::string& Workspace() {
    static const std::string dir = [] {
        if (!mkdtemp(ScratchPath()))
            std::abort(); // the target would write outside a folder of its own
        std::atexit(RemoveScratchDir);
        std::string d = std::string(ScratchPath()) + "/";
        RecordMessages(true);
        SetProgramDirectory(d);
        SetLoadReportDirectory(d);
        SetSyncWrites(false);
        return d;
    }();
    return dir;
}

inline void WriteBytes(const std::string& path, const void* data, std::size_t size) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

inline void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, text.data(), text.size());
}

inline std::string ReadText(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

} // namespace korvel::fuzz
