// Interpreting script lines and files, and following INCLUDE.
#include "script/interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "platform/platform.h"
#include "script/keywords.h"

namespace korvel {

namespace {

// A file being read, known by device and inode so that another path to the same file (a
// link, "./", "../x/") is still the same file.
struct OpenScript {
    dev_t device;
    ino_t inode;
};
std::vector<OpenScript> g_reading;
int g_rejected_file_lines = 0; // RejectedFileLines

// Handlers running now: more than one while a handler interprets lines of its own.
int g_handlers_running = 0;

// Deeper nesting than this is surely a mistake; it also bounds the recursion.
constexpr std::size_t kMaxIncludeDepth = 32;

bool IsBeingRead(const struct stat& st) {
    for (const OpenScript& s : g_reading)
        if (s.device == st.st_dev && s.inode == st.st_ino)
            return true;
    return false;
}

// Reads a script file in large blocks and hands out pieces of physical lines. A line ends at
// LF, at CR LF, or at a CR alone (files from systems that end lines so): all three are one line
// end.
class PieceReader {
public:
    explicit PieceReader(std::FILE* f) : file_(f) {}

    // The next piece of a physical line, at most kMaxScriptLine bytes; line_end tells whether
    // it ends its physical line. False at the end of the file.
    bool Next(std::string& piece, bool& line_end) {
        piece.clear();
        while (true) {
            if (pos_ == size_ && !Fill()) {
                line_end = true;
                return !piece.empty();
            }
            std::size_t room = kMaxScriptLine - piece.size();
            std::size_t avail = std::min(size_ - pos_, room);
            const char* start = buffer_ + pos_;
            const char* end = FindLineEnd(start, avail);
            if (end) {
                std::size_t n = static_cast<std::size_t>(end - start);
                piece.append(start, n);
                pos_ += n;
                SkipLineEnd();
                line_end = true;
                return true;
            }
            piece.append(start, avail);
            pos_ += avail;
            if (piece.size() == kMaxScriptLine) {
                // A full piece: the line goes on unless a line end (or the end) follows.
                int c = Peek();
                line_end = c == '\n' || c == '\r' || c == EOF;
                if (c != EOF && line_end)
                    SkipLineEnd();
                return true;
            }
        }
    }

private:
    // The first LF or CR among n bytes; nullptr when there is none.
    static const char* FindLineEnd(const char* p, std::size_t n) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', n));
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', lf ? lf - p : n));
        return cr ? cr : lf;
    }
    // Steps over the line end at the read position: LF, CR LF or CR.
    void SkipLineEnd() {
        if (buffer_[pos_++] == '\r' && Peek() == '\n')
            ++pos_;
    }
    bool Fill() {
        size_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        pos_ = 0;
        return size_ > 0;
    }
    int Peek() {
        if (pos_ == size_ && !Fill())
            return EOF;
        return static_cast<unsigned char>(buffer_[pos_]);
    }

    std::FILE* file_;
    char buffer_[65536];
    std::size_t pos_ = 0, size_ = 0;
};

bool IsCommentText(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    return first != std::string::npos && (text[first] == '#' || text[first] == ';');
}

// No length, feed, speed, count or ID of the script language comes near ten million (10 km);
// a number beyond that, once the unit factor has made it a length of this project, could not
// be written back into the 254 characters of a line with its neighbours. Nor may a number be
// infinite or not a number at all ("nan", "inf", "-nan", "1e999"): every argument that the
// command does not take as text is checked, whatever it begins with.
constexpr double kMaxScriptNumber = 1e7;

bool HasAbsurdNumber(int code, int count) {
    double limit = kMaxScriptNumber / std::max(1.0, UnitFactor());
    for (int i = 1; i < count; ++i) {
        if (IsTextArgument(code, i, count))
            continue;
        // Read once: the handler takes the number from the same cache.
        double v;
        if (ArgNumber(i, v) && !(std::fabs(v) < limit))
            return true;
    }
    return false;
}

int FileNotFound(const std::string& path) {
    ShowMessage("File not found!", path, kMbOk | kMbIconExclamation);
    return 0;
}

} // namespace

int IntrepretLine(std::string& line, const char* file, int line_no) {
    // A line interpreted while a handler runs (INCLUDE, undo, a machine or font file) must not
    // leave its arguments in place of the handler's own.
    std::optional<SavedArguments> outer;
    if (g_handlers_running > 0)
        outer.emplace();
    int count = args(line);
    std::string_view first = ArgView(0);
    if (count == 0 || first[0] == '#' || first[0] == ';')
        return 1;
    int code = recogn(first);
    CommandHandler handler = KeywordHandler(code);
    if (!handler)
        return UnRecogn(file, line_no);
    if (HasAbsurdNumber(code, count))
        return OutOfRange(file, line_no);
    ++g_handlers_running;
    int result = handler(file, line_no);
    --g_handlers_running;
    return result;
}

ScriptReadResult ReadScript(const std::string& path) {
    ScriptReadResult result;
    struct stat st;
    // Only regular files are scripts: a directory, a device or a pipe is not found (reading
    // /dev/zero or a FIFO would never end).
    std::FILE* f = OpenRegularFile(path, &st);
    if (!f) {
        FileNotFound(path);
        return result;
    }
    if (IsBeingRead(st)) {
        std::fclose(f);
        // Reached through a machine or font file that names itself; INCLUDE says it first.
        ShowMessage(Sprintf("File [%s] is already being read and cannot be read again from "
                            "within itself",
                            path.c_str()),
                    "Errors found", kMbOk | kMbIconExclamation);
        return result;
    }
    result.opened = true;
    g_reading.push_back({st.st_dev, st.st_ino});
    FileMessages messages(path);

    // A piece that continues an over-long line is interpreted as a line of its own, but its
    // messages name the physical line it belongs to. The rest of an over-long comment line is
    // still comment: its text must never run as a command.
    std::string piece;
    bool line_end = true;
    bool starts_line = true;
    bool comment_line = false;
    int line_no = 0;
    auto reader = std::make_unique<PieceReader>(f);
    while (reader->Next(piece, line_end)) {
        if (starts_line) {
            ++line_no;
            comment_line = IsCommentText(piece);
        }
        if (starts_line || !comment_line) {
            result.last_result = IntrepretLine(piece, path.c_str(), line_no);
            if (result.last_result == 0) {
                ++result.rejected;
                ++g_rejected_file_lines;
            }
        } else {
            result.last_result = 1;
        }
        starts_line = line_end;
    }
    result.lines = line_no;
    if (std::ferror(f)) {
        ShowMessage(
            Sprintf("Reading stopped at line %d: the file cannot be read further.", line_no), path,
            kMbOk | kMbIconExclamation);
        result.last_result = 0;
        ++result.rejected;
        ++g_rejected_file_lines;
    }
    std::fclose(f);
    g_reading.pop_back();
    return result;
}

int RejectedFileLines() { return g_rejected_file_lines; }
void ResetRejectedFileLines() { g_rejected_file_lines = 0; }

int InterpretFile(const std::string& path) {
    ScriptReadResult r = ReadScript(path);
    return r.opened ? r.last_result : 0;
}

int IncludeCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    std::string path = ProgramDirectory() + Arg(1);
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && IsBeingRead(st)) {
        std::string what = Sprintf("INCLUDE of [%s] would read a file that is already being "
                                   "read (include cycle)",
                                   path.c_str());
        return ScriptError(what.c_str(), file, line);
    }
    if (g_reading.size() >= kMaxIncludeDepth) {
        std::string what = Sprintf("INCLUDE of [%s] nests files more than %zu deep", path.c_str(),
                                   kMaxIncludeDepth);
        return ScriptError(what.c_str(), file, line);
    }
    return InterpretFile(path);
}

} // namespace korvel
