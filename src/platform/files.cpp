// Files: opening only regular files for reading, and replacing files safely when saving.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

namespace korvel {

namespace {

long g_disk_full_after = -1;
bool g_sync_writes = true;

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

std::string Directory(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a save to `path` goes: symbolic links are followed to the file they name (which need
// not exist yet). False when the chain does not end in a regular file or in nothing, or is a
// loop. `exists` tells whether the file is there, and `st` then holds its status.
bool ResolveSaveTarget(const std::string& path, std::string& target, bool& exists,
                       struct stat& st) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        if (lstat(target.c_str(), &st) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        if (S_ISREG(st.st_mode)) {
            exists = true;
            return true;
        }
        if (!S_ISLNK(st.st_mode))
            return false; // a directory, a device, a FIFO or a socket is not replaced
        char buffer[PATH_MAX];
        ssize_t n = readlink(target.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            return false;
        std::string link(buffer, static_cast<std::size_t>(n));
        target = link[0] == '/' ? link : Directory(target) + "/" + link;
    }
    return false;
}

// A file of a set on its way: the new content written to a temporary file beside the target.
struct Pending {
    std::string target;
    std::string temp;
};

// Writes one file's new content to its temporary file, with the old file's mode and owner.
bool WriteTemporary(const FileContent& file, Pending& pending) {
    bool exists = false;
    struct stat old;
    if (!ResolveSaveTarget(file.path, pending.target, exists, old))
        return false;
    pending.temp = pending.target + "." + std::to_string(ProcessId()) + ".tmp";
    // A leftover of an earlier run goes first; O_EXCL then makes sure that what is written is
    // a new file of our own, not whatever a link at that name would lead to.
    unlink(pending.temp.c_str());
    struct stat st;
    int fd = OpenNonBlocking(pending.temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW,
                             exists ? 0600 : 0666, st);
    if (fd < 0) {
        pending.temp.clear();
        return false;
    }
    const std::string& content = file.content;
    std::size_t size = content.size();
    bool ok = true;
    if (g_disk_full_after >= 0) {
        if (static_cast<long>(size) > g_disk_full_after) {
            size = static_cast<std::size_t>(g_disk_full_after);
            ok = false;
        }
        g_disk_full_after -= static_cast<long>(size);
    }
    for (std::size_t done = 0; ok && done < size;) {
        ssize_t n = write(fd, content.data() + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    if (ok && exists) {
        // The owner where we may set it (a chown can clear the mode's set-ID bits, so it
        // comes first), then the old mode.
        if (old.st_uid != st.st_uid || old.st_gid != st.st_gid) {
            if (fchown(fd, old.st_uid, old.st_gid) != 0)
                (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
        if (fchmod(fd, old.st_mode & 07777) != 0)
            ok = false;
    }
    if (ok && g_sync_writes && fsync(fd) != 0)
        ok = false;
    if (close(fd) != 0)
        ok = false;
    return ok;
}

void SyncDirectory(const std::string& path) {
    int fd = open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
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
void SetSyncWrites(bool on) { g_sync_writes = on; }

int WriteFilesAtomically(const std::vector<FileContent>& files) {
    std::vector<Pending> pending(files.size());
    int failed = -1;
    for (std::size_t i = 0; i < files.size() && failed < 0; ++i)
        if (!WriteTemporary(files[i], pending[i]))
            failed = static_cast<int>(i);
    if (failed < 0) {
        for (std::size_t i = 0; i < files.size() && failed < 0; ++i) {
            if (std::rename(pending[i].temp.c_str(), pending[i].target.c_str()) != 0)
                failed = static_cast<int>(i);
            else
                pending[i].temp.clear();
        }
    }
    for (const Pending& p : pending) {
        if (!p.temp.empty())
            unlink(p.temp.c_str());
        else if (failed < 0 && g_sync_writes)
            SyncDirectory(p.target); // the renames themselves survive a power failure
    }
    return failed;
}

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    return WriteFilesAtomically({{path, content}}) < 0;
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
