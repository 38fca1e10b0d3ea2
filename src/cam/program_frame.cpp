// The opening and closing buffers of a program, tool changes and the per-place milling times.
#include "cam/program_frame.h"

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

int g_current_place = -1; // the tool in the spindle
std::array<double, kMaxPlaces + 1> g_mill_time{};

bool ExtraCode(int place) { return GetAttachedTool(place).extra_code != 0; }

// Appends the lines of a user's start or end text: its words joined with a blank after each;
// a word beginning with ';' ends a line and is itself dropped.
void AppendUserCode(int buffer, const std::string& text) {
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (word[0] == ';') {
            AppendCode(buffer, line);
            line.clear();
            continue;
        }
        line += word + " ";
    }
    AppendCode(buffer, line);
}

void AppendWorkOffsetAndUnit(int buffer) {
    int offset = GetCoordinates().work_offset;
    std::string unit = UserUnit() == kUnitInch ? "G20" : "G21";
    std::string system;
    if (offset >= 0 && offset <= 5)
        system = Sprintf("G%d", offset + 54);
    else if (offset >= 6 && offset <= 8)
        system = Sprintf("G59.%d", offset - 5);
    if (system.empty()) {
        AppendCode(buffer, "(ERROR: Unknown Coordinate System)");
        AppendCode(buffer, "G90");
        AppendCode(buffer, "G98");
        AppendCode(buffer, unit);
    } else if (GetSettings().multi_g_lines) {
        AppendCode(buffer, system + " G90 G98 " + unit);
    } else {
        AppendCode(buffer, system);
        AppendCode(buffer, "G90");
        AppendCode(buffer, "G98");
        AppendCode(buffer, unit);
    }
}

// The tool-change block at the head of a new buffer of `place`, with the spindle speed.
void AppendToolChange(int buffer, int place, int speed) {
    const Settings& s = GetSettings();
    MachineSetup m = GetMachine();
    if (g_current_place != -1) {
        if (ExtraCode(g_current_place))
            AppendCode(buffer, "M89");
        AppendCode(buffer, Sprintf("G28 Z%0.4f", SafeHeight()));
    }
    if (m.tc_position)
        AppendCode(buffer, Sprintf("G00 X%0.4f Y%0.4f", m.tc_x, m.tc_y));
    g_current_place = place;
    std::string name = CommentText(PlaceToolName(place));
    if (m.tc_manual) {
        AppendCode(buffer, "M00");
        if (CommentsOn())
            AppendCode(buffer, "(NEW TOOL: " + name + ")");
    }
    if (CommentsOn())
        AppendCode(buffer, Sprintf("T%d M06 (%s)", place, name.c_str()));
    else
        AppendCode(buffer, Sprintf("T%d M06", place));
    AppendCode(buffer, Sprintf("S%d M03", speed));
    if (s.use_g00_before_tool_comp) {
        AppendCode(buffer, "G00 G91 X0 Y0");
        AppendCode(buffer, "G90");
    }
    AppendCode(buffer, Sprintf(s.use_g44 ? "G44 H%d M08" : "G43 H%d M08", place));
    if (ExtraCode(place))
        AppendCode(buffer, "M88");
}

int OpenBuffer(int place, bool reuse) {
    if (place == -1) {
        g_current_place = -1;
        return -1;
    }
    if (reuse) {
        int existing = FindToolCodeBuffer(place);
        if (existing >= 0)
            return existing;
    }
    CuttingData data;
    std::string name = PlaceToolName(place);
    if (!PlaceCuttingData(place, data)) {
        ShowMessage("Missing tool-material data", name, kMbOk | kMbIconExclamation);
        return -1;
    }
    if (data.speed <= 0) {
        ShowMessage("Speed S out of range", name, kMbOk | kMbIconExclamation);
        return -1;
    }
    int buffer = NewCodeBuffer(place);
    if (buffer < 0)
        return -1;
    AppendToolChange(buffer, place, data.speed);
    return buffer;
}

} // namespace

int FindToolCodeBuffer(int place) {
    // Buffer 0 is the opening buffer and belongs to no tool.
    for (int b = kCodeBuffers - 1; b >= 1; --b)
        if (CodeTool(b) == place)
            return b;
    return -1;
}

int OpenToolCodeBuffer(int place) { return OpenBuffer(place, true); }
int OpenNewToolCodeBuffer(int place) { return OpenBuffer(place, false); }

int NoTool() { return OpenToolCodeBuffer(-1); }

int CurrentToolPlace() { return g_current_place; }

int GStart() {
    int buffer = NewCodeBuffer(-1);
    if (buffer < 0)
        return 0;
    const Settings& s = GetSettings();
    SetLineNumbering(s.labeling >= 0);
    AppendCode(buffer, Sprintf("\n%c", 37));
    if (s.part.empty())
        AppendCode(buffer, Sprintf("O%d", s.program));
    else
        AppendCode(buffer, Sprintf("O%d (%s)", s.program, CommentText(s.part).c_str()));
    AppendCode(buffer, Sprintf("(Korvel, Version %0.2f)", kGCodeVersion));
    if (!s.user.empty())
        AppendCode(buffer, "(User   : " + CommentText(s.user) + ")");
    AppendCode(buffer, "(Created: " + CtimeText() + ")");
    AppendUserCode(buffer, s.progstart);
    AppendWorkOffsetAndUnit(buffer);
    return 1;
}

int GEnd() {
    int buffer = NewCodeBuffer(-1);
    if (buffer < 0)
        return 0;
    AppendCode(buffer, "M09");
    for (int place = 1; place <= kMaxPlaces; ++place) {
        if (g_mill_time[place] != 0 && ExtraCode(place)) {
            AppendCode(buffer, "M89");
            break;
        }
    }
    AppendUserCode(buffer, GetSettings().progend);
    AppendCode(buffer, "M30");
    AppendCode(buffer, "%");
    return 1;
}

void ResetMillTime() { g_mill_time.fill(0); }

void AddMillTime(int place, double minutes) {
    if (place >= 0 && place <= kMaxPlaces)
        g_mill_time[place] += minutes;
}

double MillTime(int place) { return place >= 0 && place <= kMaxPlaces ? g_mill_time[place] : 0; }

double TotalMillTime() {
    double total = 0;
    for (int place = 1; place <= kMaxPlaces; ++place)
        total += g_mill_time[place];
    return total;
}

} // namespace korvel
