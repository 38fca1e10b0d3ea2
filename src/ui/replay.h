// The replay of a G-code program over the drawing: the program's lines between its two "%"
// lines are read one by one by the shared G-code line reader, and each move is drawn with the
// view's primitives (cuts in the feed pen, rapid moves in the rapid pen). The animation dialog
// is a thin shell over Replay, which holds the list, the current line, the running flag, the
// tool shown and what the dialog's timer must do.
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"

namespace korvel {

constexpr std::size_t kMaxReplayLine = 254;

// Reads a program into list: the first non-blank line must start with "%"; every following
// non-blank line (trimmed of blanks and tabs, cut to 254 characters) is added until a line
// that starts with "%". 0 when the file cannot be opened ("File not found", captioned with the
// path), does not start with "%" or ends before the closing "%"; else 1.
int LoadProgram(std::vector<std::string>& list, const std::string& path);

// Reads one line and draws its move. result keeps the previous line's value for a blank or
// comment line, else becomes the line reader's (the tool in the spindle, -1 after program end,
// -2 for a rejected line, -99 after M00). Only with a tool in the spindle (result >= 1) is a
// move drawn; feed receives the modal feed. Always 1.
int ExecGLine(Canvas& cv, const std::string& line, double& feed, int& result);
// Forgets the last result (0, no tool); the line reader has its own InitGcodeReader.
void InitReplay();

// The step delay buttons: Fast shortens and Slow lengthens the DELAY setting by a tenth (by 1
// below 10 and 11); the delay stays within 1..9999 ms.
int FastDelay(int delay);
int SlowDelay(int delay);

// The program G-Code/Run replays: the project's G-code file. When the project is not compiled
// the user is asked "Load existing file?"; false on No.
bool GCodeRunFile(std::string& path);
// G-Code/Load && Run: the file chosen in the open dialog; false when cancelled.
bool GCodeLoadAndRunFile(std::string& path);

class Replay {
public:
    // Loads the program and starts at line 0 with the reader reset (M30); false after a failed
    // load, when the tool field shows "Load Error".
    bool Open(const std::string& path, Canvas& cv);

    // The dialog's buttons; `selected` is the line selected in the list.
    void Run(int selected);
    void Pause();
    void Reset(Canvas& cv);
    void Single(Canvas& cv, int selected);
    void Fast();
    void Slow();
    // One step of the running timer.
    void TimerStep(Canvas& cv);

    const std::vector<std::string>& Lines() const { return lines_; }
    int Current() const { return current_; }
    bool Running() const { return running_; }
    int LastTool() const { return last_tool_; }
    const std::string& ToolText() const { return tool_text_; }
    // The timer runs while running; it restarts with Delay() after every step.
    int Delay() const;

private:
    int Execute(Canvas& cv);
    void BackToStart();
    void ShowTool(int result);

    std::vector<std::string> lines_;
    int current_ = 0;
    bool running_ = false;
    int last_tool_ = -1;
    std::string tool_text_;
};

} // namespace korvel
