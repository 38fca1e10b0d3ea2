// What the fuzz targets share: a scratch folder of their own and writing the input to a file.
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/syscall.h>
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

// Removes the scratch folder with plain system calls only, so that it may run in a signal
// handler too. The targets write files straight into the folder, never subfolders.
inline void RemoveScratchDir() {
    int dir = open(ScratchPath(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    alignas(8) char buffer[8192];
    for (long n; (n = syscall(SYS_getdents64, dir, buffer, sizeof buffer)) > 0;) {
        for (long at = 0; at < n;) {
            // struct linux_dirent64: inode, offset, record length, type, name
            unsigned short length;
            std::memcpy(&length, buffer + at + 16, sizeof length);
            const char* name = buffer + at + 19;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 &&
                unlinkat(dir, name, 0) != 0)
                unlinkat(dir, name, AT_REMOVEDIR);
            at += length;
        }
    }
    close(dir);
    rmdir(ScratchPath());
}

// libFuzzer ends a run stopped by Ctrl-C or SIGTERM with _Exit, which skips the exit handlers:
// the folder is removed here first, then libFuzzer's own handler prints its statistics and
// ends the run.
inline struct sigaction g_previous_stop[2];

inline void RemoveScratchDirAndStop(int signal, siginfo_t* info, void* context) {
    RemoveScratchDir();
    const struct sigaction& previous = g_previous_stop[signal == SIGINT ? 0 : 1];
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_IGN && previous.sa_handler != SIG_DFL) {
        previous.sa_handler(signal);
    } else {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

inline void RemoveScratchDirOnStop() {
    struct sigaction action {};
    action.sa_sigaction = RemoveScratchDirAndStop;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_previous_stop[0]);
    sigaction(SIGTERM, &action, &g_previous_stop[1]);
}

// The target's own scratch folder (ending in '/'), made on the first call: messages are
// recorded instead of shown, the folder is the program directory and takes the database load
// report, and saves are not flushed to the disk (thousands of runs a second). The current
// folder stays as it was, so that corpus and seed folders given as relative paths still load
// and crash files land where libFuzzer was started. The folder is removed at a normal exit and
// when the run is stopped; after a crash it is kept, with the files of the last run.
inline const std::string& Workspace() {
    static const std::string dir = [] {
        if (!mkdtemp(ScratchPath()))
            std::abort(); // the target would write outside a folder of its own
        std::atexit(RemoveScratchDir);
        RemoveScratchDirOnStop();
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
