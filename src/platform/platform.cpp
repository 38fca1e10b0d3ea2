// The headless port and the operating-system facilities shared by every port.
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvel {

namespace {

class HeadlessPort final : public UiPort {
public:
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override {
        if (recording) {
            recorded.push_back({text, caption, flags});
        } else {
            std::string escaped;
            for (char c : text) {
                if (c == '\n')
                    escaped += "\\n";
                else if (c != '\r')
                    escaped += c;
            }
            std::fprintf(stderr, "[%s] %s\n", caption.c_str(), escaped.c_str());
            std::fflush(stderr);
        }
        return Answer(flags & kMbButtonMask);
    }
    bool AskOpenFileName(std::string& path, const std::string&, const std::string&) override {
        path = file_answer;
        return !file_answer.empty();
    }
    bool AskSaveFileName(std::string& path, const std::string&, const std::string&) override {
        path = file_answer;
        return !file_answer.empty();
    }
    void RedrawMainWindow() override {}

    int Answer(unsigned buttons) const {
        switch (buttons) {
        case kMbYesNo:
            return answer == kIdYes ? kIdYes : kIdNo;
        case kMbYesNoCancel:
            return answer;
        case kMbOkCancel:
            return answer == kIdYes ? kIdOk : kIdCancel;
        default:
            return kIdOk;
        }
    }

    int answer = kIdNo;
    std::string file_answer;
    bool recording = false;
    std::vector<ShownMessage> recorded;
};

HeadlessPort g_headless;
UiPort* g_port = &g_headless;
int g_message_count = 0;
std::string g_program_dir;

// The file read whose messages are being limited (FileMessages).
struct MessageGroup {
    int limit = 0;
    int depth = 0;
    std::string path;
    int shown = 0;
    int held_back = 0;
};
MessageGroup g_group;

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

void InstallUiPort(UiPort* port) { g_port = port ? port : &g_headless; }

int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    ++g_message_count;
    if (g_group.depth > 0 && g_group.limit > 0 && (flags & kMbButtonMask) == kMbOk) {
        if (g_group.shown >= g_group.limit) {
            ++g_group.held_back;
            return kIdOk;
        }
        ++g_group.shown;
    }
    return g_port->ShowMessage(text, caption, flags);
}

FileMessages::FileMessages(const std::string& path) {
    if (g_group.depth++ == 0) {
        g_group.path = path;
        g_group.shown = g_group.held_back = 0;
    }
}

FileMessages::~FileMessages() {
    if (--g_group.depth > 0 || g_group.held_back == 0)
        return;
    std::string text = std::to_string(g_group.held_back) + " more messages about file [" +
                       g_group.path + "] were not shown";
    g_group.held_back = 0;
    g_port->ShowMessage(text, "Errors found", kMbOk | kMbIconExclamation);
}

void SetFileMessageLimit(int limit) { g_group.limit = limit < 0 ? 0 : limit; }

bool AskOpenFileName(std::string& path, const std::string& filter, const std::string& ext) {
    return g_port->AskOpenFileName(path, filter, ext);
}

bool AskSaveFileName(std::string& path, const std::string& filter, const std::string& ext) {
    return g_port->AskSaveFileName(path, filter, ext);
}

void RedrawMainWindow() { g_port->RedrawMainWindow(); }

int MessageCount() { return g_message_count; }
void ResetMessageCount() { g_message_count = 0; }

void SetHeadlessAnswer(int answer) { g_headless.answer = answer; }
void SetHeadlessFileAnswer(const std::string& path) { g_headless.file_answer = path; }

void RecordMessages(bool on) {
    g_headless.recording = on;
    g_headless.recorded.clear();
}

std::vector<ShownMessage> TakeRecordedMessages() {
    std::vector<ShownMessage> taken;
    taken.swap(g_headless.recorded);
    return taken;
}

namespace {
bool g_wait_for_programs = false;

// Runs the command through the shell and waits for it: 33 when it exited with status 0.
int RunProgramAndWait(const std::string& command_line) {
    pid_t child = fork();
    if (child < 0)
        return 0;
    if (child == 0) {
        int null_fd = open("/dev/null", O_RDWR);
        if (null_fd >= 0) {
            dup2(null_fd, STDIN_FILENO);
            close(null_fd);
        }
        execl("/bin/sh", "sh", "-c", command_line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return 0;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 33 : 0;
}
} // namespace

void SetStartedProgramsWaited(bool wait) { g_wait_for_programs = wait; }

int StartProgram(const std::string& command_line) {
    if (g_wait_for_programs)
        return RunProgramAndWait(command_line);
    // Double fork: the grandchild runs the command through the shell, the child exits at once
    // and is reaped here, so the caller never waits and leaves no zombie behind.
    pid_t child = fork();
    if (child < 0)
        return 0;
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            int null_fd = open("/dev/null", O_RDWR);
            if (null_fd >= 0) {
                dup2(null_fd, STDIN_FILENO);
                close(null_fd);
            }
            execl("/bin/sh", "sh", "-c", command_line.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return 0;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 33 : 0;
}

std::string ProgramDirectory() {
    if (!g_program_dir.empty())
        return g_program_dir;
    if (const char* home = std::getenv("KORVEL_HOME"); home && *home)
        return WithSlash(home);
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return CurrentDirectory();
    std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

void SetProgramDirectory(const std::string& dir) {
    g_program_dir = dir.empty() ? std::string() : WithSlash(dir);
}

std::string CurrentDirectory() {
    char path[PATH_MAX];
    if (!getcwd(path, sizeof path))
        return "./";
    return WithSlash(path);
}

int ProcessId() { return static_cast<int>(getpid()); }

namespace {
std::time_t g_fixed_time = -1;

// SOURCE_DATE_EPOCH, when set to a plain non-negative number; -1 otherwise.
std::time_t SourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (!text || !*text)
        return -1;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    return *end == '\0' && value >= 0 ? static_cast<std::time_t>(value) : -1;
}
} // namespace

void FixCurrentTime(std::time_t t) { g_fixed_time = t < 0 ? -1 : t; }

std::time_t CurrentTime() {
    if (g_fixed_time >= 0)
        return g_fixed_time;
    std::time_t epoch = SourceDateEpoch();
    return epoch >= 0 ? epoch : std::time(nullptr);
}

std::string CtimeText() {
    std::time_t t = CurrentTime();
    bool fixed = g_fixed_time >= 0 || SourceDateEpoch() >= 0;
    std::tm parts{};
    if (!(fixed ? gmtime_r(&t, &parts) : localtime_r(&t, &parts)))
        return "Thu Jan  1 00:00:00 1970";
    char text[64];
    // The layout of ctime, written out so that no locale and no static buffer is involved.
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDays[parts.tm_wday % 7],
                  kMonths[parts.tm_mon % 12], parts.tm_mday, parts.tm_hour, parts.tm_min,
                  parts.tm_sec, 1900 + parts.tm_year);
    return text;
}

} // namespace korvel
