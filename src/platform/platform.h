// The only ways the core touches the outside world: message boxes, file dialogs, external
// programs, files and directories. The desktop program installs a port of its own for the
// interactive parts; everything else (korvelc, the tests) uses the headless port.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace korvel {

// Message box flags: one button set combined with one icon.
enum : unsigned {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNoCancel = 0x03,
    kMbYesNo = 0x04,
    kMbButtonMask = 0x0f,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbIconMask = 0xf0,
};

// The answers a message box gives.
enum { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The interactive half of the port. The headless implementation is in force until another
// is installed.
class UiPort {
public:
    virtual ~UiPort() = default;
    virtual int ShowMessage(const std::string& text, const std::string& caption,
                            unsigned flags) = 0;
    // filter: pairs "description|pattern|..." as in "Projects (*.kvp)|*.kvp|";
    // false when the user cancelled.
    virtual bool AskOpenFileName(std::string& path, const std::string& filter,
                                 const std::string& default_ext) = 0;
    virtual bool AskSaveFileName(std::string& path, const std::string& filter,
                                 const std::string& default_ext) = 0;
    // Asks the main window to draw itself again; nothing where there is none.
    virtual void RedrawMainWindow() = 0;
};

// Installs a port (nullptr: the headless one again). The port must outlive its use.
void InstallUiPort(UiPort* port);

// Shows a message and returns the answer (kIdOk, kIdYes, kIdNo or kIdCancel). Every
// user-visible message of the system goes through here.
int ShowMessage(const std::string& text, const std::string& caption, unsigned flags);
bool AskOpenFileName(std::string& path, const std::string& filter, const std::string& default_ext);
bool AskSaveFileName(std::string& path, const std::string& filter, const std::string& default_ext);
void RedrawMainWindow();

// How many messages have been shown since the program started (or since the count was reset);
// messages held back by a file message limit count too.
int MessageCount();
void ResetMessageCount();

// The messages shown while one file is read: a damaged file can give one per line, which in
// the desktop program would be as many message boxes. While a FileMessages lives (reads of
// files nested in it join its count), at most the limit of OK-only messages is shown; the
// rest are counted, and when it ends one closing message gives their number and the file.
// Questions are always shown.
class FileMessages {
public:
    explicit FileMessages(const std::string& path);
    ~FileMessages();
    FileMessages(const FileMessages&) = delete;
    FileMessages& operator=(const FileMessages&) = delete;
};
// The most messages shown per file read; 0 (the default, korvelc's) shows every one.
void SetFileMessageLimit(int limit);

// Headless port. Questions are answered by the policy (kIdYes, kIdNo or kIdCancel; kIdNo at
// start); a question that offers no such button gets the nearest one it offers.
void SetHeadlessAnswer(int answer);
// Headless file dialogs: cancelled while the answer is empty, else they choose this path.
void SetHeadlessFileAnswer(const std::string& path);

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};
// Recording mode, for tests: messages are kept instead of written to stderr.
void RecordMessages(bool on);
std::vector<ShownMessage> TakeRecordedMessages();

// Starts a program from a shell command line and never waits for it. Like the Windows call it
// replaces, a result above 31 is success.
int StartProgram(const std::string& command_line);
// Batch runs (korvelc) wait instead: StartProgram then returns when the program has ended,
// with a result above 31 only when it exited with status 0, so that a batch run never ends
// before the program's output exists.
void SetStartedProgramsWaited(bool wait);

// The clock of dated output (the G-code header). Normally the system time; a fixed time when
// one is set by FixCurrentTime (tests; a negative value releases it) or by the environment
// variable SOURCE_DATE_EPOCH (reproducible output).
std::time_t CurrentTime();
void FixCurrentTime(std::time_t t);
// The current time in the 24-character layout of ctime, without its line end
// ("Wed Jun 30 21:49:08 1993"): local time, or UTC for a fixed time so that it reads the same
// in every time zone.
std::string CtimeText();

// Opens a file for reading ("rb") only when it is a regular file: a directory, a device, a FIFO
// or a socket counts as missing (nullptr), and is not even opened, since opening a FIFO waits
// for a writer for ever. info, when given, receives the file's status.
std::FILE* OpenRegularFile(const std::string& path, struct stat* info = nullptr);
// Opens a report file for writing (appending or from empty), creating it when it is missing;
// nullptr when something other than a regular file is there.
std::FILE* OpenRegularFileForWriting(const std::string& path, bool append);

// A file's new content, for the savers below.
struct FileContent {
    std::string path;
    std::string content;
};
// Replaces files safely, as one set: each new content goes to a temporary file in its
// target's folder, checked write by write and flushed to the disk; only when every one was
// written are they renamed over their targets. On a failure before the renames no file is
// changed. Returns -1 when all were replaced, else the index of the file that failed.
//   - A symbolic link is followed: the file it names is replaced (or made) and the link
//     stays.
//   - The new file keeps the old one's mode, and its owner where the process may set it.
//   - A target that exists and is not a regular file (a directory, a device, a FIFO) is
//     refused and left alone.
//   - The file is replaced, not rewritten in place: another hard link to the old file keeps
//     the old content.
int WriteFilesAtomically(const std::vector<FileContent>& files);
// The same for one file: false when it failed (the old file is then as it was).
bool WriteFileAtomically(const std::string& path, const std::string& content);
// For tests: the atomic writes that follow fail as a full disk would once this many bytes
// were written by them together; a negative count switches it off.
void SimulateDiskFullAfter(long bytes);
// For the fuzz targets, which save thousands of times a second: writes are not flushed to
// the disk (on by default).
void SetSyncWrites(bool on);

// Copies a file; false when the source cannot be read or the target not written.
bool CopyFileTo(const std::string& from, const std::string& to);

// The directory of the program's own files, ending in '/': the one set by
// SetProgramDirectory, else $KORVEL_HOME, else the executable's directory.
std::string ProgramDirectory();
void SetProgramDirectory(const std::string& dir);

// The process's current directory, ending in '/'.
std::string CurrentDirectory();
int ProcessId();

} // namespace korvel
