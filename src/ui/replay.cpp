// Loading a program for the replay, drawing its moves, and the animation's step logic.
#include "ui/replay.h"

#include <cmath>

#include "base/line_file.h"
#include "cam/compile.h"
#include "geometry/gcode_reader.h"
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "ui/view.h"
#include "ui/view_pens.h"

namespace korvel {

namespace {

constexpr int kMinDelay = 1, kMaxDelay = 9999;
constexpr int kResultEnd = -1;
constexpr int kResultStopTimerRestart = -3;

// The line reader's last result other than a rejection.
int g_last_result = 0;

std::string Trimmed(const std::string& line) {
    std::size_t a = line.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return "";
    std::size_t b = line.find_last_not_of(" \t\r\n");
    return line.substr(a, b - a + 1);
}

bool SamePoint(double x1, double y1, double z1, double x2, double y2, double z2) {
    return equal(x1, x2) && equal(y1, y2) && equal(z1, z2);
}

// Draws the move of a line from (sx, sy, sz) in work coordinates.
void DrawMove(Canvas& cv, double sx, double sy, double sz, double x, double y, double z, double r,
              int motion) {
    if (SamePoint(sx, sy, sz, x, y, z) && r <= 0)
        return;
    Coordinates k = GetCoordinates();
    double ox = k.wz_x, oy = k.wz_y, oz = k.wz_z;
    switch (motion) {
    case 1:
        cv.SetPen(GetViewPen(ViewPen::kFeed));
        MachLine(cv, sx + ox, sy + oy, sz + oz, x + ox, y + oy, z + oz);
        break;
    case 2:
    case 4: // a helix is drawn flat at its starting height
        cv.SetPen(GetViewPen(ViewPen::kFeed));
        MachArc(cv, sx + ox, sy + oy, x + ox, y + oy, r, sz + oz, motion);
        break;
    case 10:
    case 12: // (x, y) is the centre
        cv.SetPen(GetViewPen(ViewPen::kFeed));
        MachCyl(cv, x + ox, y + oy, std::fabs(r), sz + oz);
        break;
    case 0:
        cv.SetPen(GetViewPen(ViewPen::kRapid));
        MachLine(cv, sx + ox, sy + oy, sz + oz, x + ox, y + oy, z + oz);
        break;
    default:
        break;
    }
}

} // namespace

int LoadProgram(std::vector<std::string>& list, const std::string& path) {
    // Only a regular file is a program (a FIFO would never end); lines may end with LF, CR LF
    // or a CR alone.
    LineFile in;
    if (!in.Open(path)) {
        ShowMessage("File not found", path, kMbOk | kMbIconError);
        return 0;
    }
    list.clear();
    std::string line;
    bool started = false, too_long = false;
    constexpr std::size_t kLongestRead = 1 << 16; // the rest of a longer line is dropped
    while (in.Next(line, kLongestRead, too_long)) {
        std::string text = Trimmed(line);
        if (text.empty())
            continue;
        if (!started) {
            if (text[0] != '%')
                return 0;
            started = true;
            continue;
        }
        if (text[0] == '%')
            return 1;
        if (text.size() > kMaxReplayLine)
            text.resize(kMaxReplayLine);
        list.push_back(text);
    }
    return 0;
}

int ExecGLine(Canvas& cv, const std::string& line, double& feed, int& result) {
    result = g_last_result;
    std::string text = Trimmed(line);
    if (text.empty() || text[0] == '(')
        return 1;
    const GcodeModal& modal = GcodeReaderModal();
    double sx = modal.x, sy = modal.y, sz = modal.z;
    double x, y, z, r;
    int motion;
    int read = gline_3D(text, x, y, z, r, feed, motion);
    result = read;
    if (read != kGcodeRejected)
        g_last_result = read;
    if (read >= 1 && motion != kGcodeNoMove)
        DrawMove(cv, sx, sy, sz, x, y, z, r, motion);
    return 1;
}

void InitReplay() { g_last_result = 0; }

int FastDelay(int delay) {
    if (delay < 2)
        return delay < kMinDelay ? kMinDelay : delay;
    int d = delay > 10 ? static_cast<int>(delay * 0.9) : delay - 1;
    return d > kMaxDelay ? kMaxDelay : d;
}

int SlowDelay(int delay) {
    if (delay >= kMaxDelay)
        return kMaxDelay;
    int d = delay > 9 ? static_cast<int>(delay * 1.1) : delay + 1;
    if (d < kMinDelay)
        d = kMinDelay;
    return d > kMaxDelay ? kMaxDelay : d;
}

bool GCodeRunFile(std::string& path) {
    if (!Compiled() && ShowMessage("Load existing file?", "Project not compiled!",
                                   kMbYesNo | kMbIconQuestion) != kIdYes)
        return false;
    path = RawGCodeFile();
    return true;
}

bool GCodeLoadAndRunFile(std::string& path) {
    return AskOpenFileName(
        path, "G-code Files (*.cnc)|*.cnc|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|", "cnc");
}

bool Replay::Open(const std::string& path, Canvas& cv) {
    running_ = false;
    current_ = 0;
    if (!LoadProgram(lines_, path)) {
        lines_.clear();
        tool_text_ = "Load Error";
        return false;
    }
    last_tool_ = -1;
    double feed;
    int result;
    ExecGLine(cv, "M30", feed, result);
    tool_text_ = "No Tool";
    return true;
}

int Replay::Delay() const { return GetSettings().delay; }

void Replay::Run(int selected) {
    if (running_ || lines_.empty())
        return;
    if (selected >= 0 && selected < static_cast<int>(lines_.size()))
        current_ = selected;
    running_ = true;
}

void Replay::Pause() { running_ = false; }

void Replay::BackToStart() {
    running_ = false;
    current_ = 0;
    last_tool_ = -1;
    tool_text_.clear();
}

void Replay::Reset(Canvas& cv) {
    BackToStart();
    double feed;
    int result;
    ExecGLine(cv, "M30", feed, result);
}

// Executes the current line; past the last line the program has ended.
int Replay::Execute(Canvas& cv) {
    if (current_ < 0 || current_ >= static_cast<int>(lines_.size()))
        return kResultEnd;
    double feed;
    int result;
    ExecGLine(cv, lines_[current_], feed, result);
    return result;
}

void Replay::ShowTool(int result) {
    if (result == 0)
        tool_text_ = "No Tool";
    else if (result != last_tool_)
        tool_text_ = lines_[current_];
    last_tool_ = result;
}

void Replay::TimerStep(Canvas& cv) {
    if (!running_)
        return;
    int result = Execute(cv);
    if (result >= 0) {
        ShowTool(result);
        ++current_;
        // A program without its end word ends after its last line.
        if (current_ >= static_cast<int>(lines_.size()))
            BackToStart();
    } else if (result == kGcodeStop) {
        running_ = false;
        ++current_;
        if (current_ >= static_cast<int>(lines_.size()))
            current_ = 0;
    } else if (result == kResultEnd) {
        BackToStart();
    } else if (result == kGcodeRejected) {
        tool_text_ = "Error";
        running_ = false;
    }
    // kResultStopTimerRestart: the timer simply goes on.
    (void)kResultStopTimerRestart;
}

void Replay::Single(Canvas& cv, int selected) {
    if (running_ || lines_.empty())
        return;
    if (selected >= 0 && selected < static_cast<int>(lines_.size()))
        current_ = selected;
    int result = Execute(cv);
    if (result >= 0 || result == kGcodeStop) {
        // A stop line is stepped over like any other: the next Single goes on after it.
        if (result >= 0)
            ShowTool(result);
        ++current_;
        if (current_ >= static_cast<int>(lines_.size()))
            BackToStart();
    } else if (result == kResultEnd) {
        BackToStart();
    } else if (result == kGcodeRejected) {
        tool_text_ = "Error";
    } else if (result == kResultStopTimerRestart) {
        last_tool_ = -1;
        tool_text_.clear();
    }
}

void Replay::Fast() { MutableSettings().delay = FastDelay(GetSettings().delay); }
void Replay::Slow() { MutableSettings().delay = SlowDelay(GetSettings().delay); }

} // namespace korvel
