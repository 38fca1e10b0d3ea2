// Files: opening only regular files for reading, and replacing files safely when saving.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

namespace korvel {

namespace {

long g_disk_full_after = -1;

// Opens with O_NONBLOCK, so that a FIFO that took the place of the file between the check
// and the open cannot stop the program, then makes the descriptor blocking again.
int OpenNonBlocking(const std::string& path, int flags, mode_t mode, struct stat& st) {
    int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    int fl = fcntl(fd, F_GETFL);
    if (fl >= 0)
        fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

} // namespace

std::FILE* OpenRegularFile(const std::string& path, struct stat* info) {
    struct stat st;
    // Not even opened unless it is a regular file: opening a device can have effects of its own.
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    int fd = OpenNonBlocking(path, O_RDONLY, 0, st);
    if (fd < 0)
        return nullptr;
    std::FILE* f = fdopen(fd, "rb");
    if (!f) {
        close(fd);
        return nullptr;
    }
    if (info)
        *info = st;
    return f;
}

std::FILE* OpenRegularFileForWriting(const std::string& path, bool append) {
    struct stat st;
    int flags = O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC);
    int fd = OpenNonBlocking(path, flags, 0666, st);
    if (fd < 0)
        return nullptr;
    std::FILE* f = fdopen(fd, append ? "a" : "w");
    if (!f)
        close(fd);
    return f;
}

void SimulateDiskFullAfter(long bytes) { g_disk_full_after = bytes; }

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    std::string temp = path + "." + std::to_string(ProcessId()) + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    std::size_t size = content.size();
    bool ok = true;
    if (g_disk_full_after >= 0 && static_cast<long>(size) > g_disk_full_after) {
        size = static_cast<std::size_t>(g_disk_full_after);
        ok = false;
    }
    if (std::fwrite(content.data(), 1, size, f) != size || std::fflush(f) != 0 ||
        fsync(fileno(f)) != 0)
        ok = false;
    if (std::fclose(f) != 0)
        ok = false;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    std::FILE* in = OpenRegularFile(from);
    if (!in)
        return false;
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (std::fwrite(buffer, 1, n, out) != n) {
            ok = false;
            break;
        }
    }
    if (std::ferror(in))
        ok = false;
    std::fclose(in);
    if (std::fclose(out) != 0)
        ok = false;
    return ok;
}

} // namespace korvel
