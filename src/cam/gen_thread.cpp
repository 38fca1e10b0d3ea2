// Tapping and thread milling: the threading tool of every thread, the order in which threads
// are cut, and the G-code of both kinds of cycle.
#include "cam/gen_thread.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/gen_drill.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/mparam.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

// Internal error codes: a thread slot that holds no thread, and a thread whose assigned tool is
// missing or neither a tap nor a thread mill.
constexpr int kErrNoThread = 32;
constexpr int kErrThreadTool = 33;

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

int Append(int buffer, const std::string& line) { return AppendCode(buffer, line); }

bool ValidThread(int index, Thread& t) {
    return index >= 0 && index < kMaxThreads && GetThread(t, index);
}

bool AmongTaps(int place, const Thread& t) {
    for (int p = GetFirstTapperTool(t.dia, t.pitch, t.wz); p > 0; p = GetNextTapperTool())
        if (p == place)
            return true;
    return false;
}

// Thread mills are matched against the core hole they must enter.
bool AmongThreadMills(int place, const Thread& t) {
    for (int p = GetFirstThreadMill(t.predrill_dia, t.pitch, t.wz); p > 0; p = GetNextThreadMill())
        if (p == place)
            return true;
    return false;
}

int ChooseThreadTool(const Thread& t) {
    int tap = GetFirstTapperTool(t.dia, t.pitch, t.wz);
    int mill = GetFirstThreadMill(t.predrill_dia, t.pitch, t.wz);
    if (GetSettings().threading == kThreadByMill)
        return mill > 0 ? mill : tap;
    return tap > 0 ? tap : mill;
}

} // namespace

int AssignToolToThread(int index) {
    Thread t;
    if (!ValidThread(index, t))
        return ErrCode(kErrNoThread);
    if (!(t.predrill_dia > 0))
        return Refuse("Predrilling diameter 0", "FATAL");
    int place = -1;
    if (t.tool > 0) {
        AttachedToolData tool;
        if (t.tool > kMaxPlaces || GetAttToolDataExt(t.tool, tool) < 0)
            return Refuse(
                Sprintf("T%d, selected manually for thread with id %d, is empty!", t.tool, t.id),
                "Tool disappeared");
        if (!AmongTaps(t.tool, t) && !AmongThreadMills(t.tool, t))
            return Refuse(Sprintf("Manualy selected tool %s unsuitable for thread ID %d",
                                  tool.name.c_str(), t.id),
                          "Wrong tool selection");
        place = t.tool;
    } else {
        place = ChooseThreadTool(t);
        if (place <= 0)
            return Refuse(Sprintf("No thread mill or tap found for thread ID %d", t.id),
                          "Tool missing");
    }
    t.assigned_tool = place;
    PutThread(t, index);
    return 1;
}

int GAllThreads() {
    std::vector<int> slots;
    std::vector<TravelPoint> points;
    for (int i = 0; i < kMaxThreads; ++i) {
        Thread t;
        if (!GetThread(t, i))
            continue;
        if (!AssignToolToThread(i))
            return 0;
        GetThread(t, i);
        slots.push_back(i);
        points.push_back({t.x, t.y, static_cast<double>(t.assigned_tool)});
    }
    BlockRecord b = GetBlock();
    for (int k : TravellingOrder(points, b.x, b.y, true))
        if (!GThisThread(slots[k]))
            return 0;
    return 1;
}

int GThisThread(int index) {
    Thread t;
    if (!ValidThread(index, t))
        return ErrCode(kErrNoThread);
    AttachedToolData tool;
    int type = GetAttToolDataExt(t.assigned_tool, tool);
    if (type == kThreadMill)
        return GMillThisThread(index);
    if (type == kTap)
        return GTapThisThread(index);
    return ErrCode(kErrThreadTool);
}

// ---- Tapping -------------------------------------------------------------------------------

int GTapThisThread(int index) {
    Thread t;
    if (!ValidThread(index, t))
        return ErrCode(kErrNoThread);
    const int place = t.assigned_tool;
    AttachedToolData tap;
    if (GetAttToolDataExt(place, tap) != kTap)
        return ErrCode(kErrThreadTool);
    CuttingData data;
    int own_speed = 0;
    double v[4];
    if (RetrieveMParam(t.id, kThreadCutting, own_speed, v))
        data.speed = own_speed;
    else if (!PlaceCuttingData(place, data))
        return Refuse("Missing tool-material data", tap.name);
    if (t.pitch == -tap.pitch)
        return Refuse(Sprintf("Thread ID %d", t.id), "Tool/thread left/right missmatch");
    if (!approx_equal(t.pitch, tap.pitch))
        return Refuse(Sprintf("Tool pitch does not match thread pitch. Thread ID %d", t.id),
                      "Tool Error");
    // A tap advances one pitch per turn: a feed out of step with the spindle breaks it. The feed
    // is therefore always the speed times the tap's pitch, whatever feed the cutting data hold
    // (they hold one only when it was entered with the tap's data; tapping parameters carry the
    // speed alone).
    const double feed = data.speed * std::fabs(tap.pitch);
    if (!(feed > 0))
        return Refuse("Feed rate Fz out of range", tap.name);
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        Append(buffer, Sprintf("(THREAD ID %d)", t.id));
    Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", t.x, t.y));
    Append(buffer, "M05");
    const double rplane = GetSettings().rplane;
    const double r = t.z + rplane, bottom = t.z - t.wz;
    if (tap.pitch > 0) {
        Append(buffer, Sprintf("S%d M03", data.speed));
        Append(buffer, Sprintf("G84 R%0.4f Z%0.4f F%0.4f", r, bottom, feed));
    } else {
        Append(buffer, Sprintf("S%d M04", data.speed));
        Append(buffer, Sprintf("G74 R%0.4f Z%0.4f F%0.4f", r, bottom, feed));
    }
    Append(buffer, "G80");
    AddMillTime(place, (rplane + t.wz) / feed);
    DeclareObjectProcessed(t.id);
    return 1;
}

// ---- Thread milling ------------------------------------------------------------------------

namespace {

struct Orbit {
    double x = 0, y = 0; // thread centre
    double r = 0;        // radius of the tool centre's path
    double zs = 0;       // height where the orbit starts; it ends two pitches lower
    double p = 0;        // the mill's pitch
    double feed = 0;     // feed along the full circle; the half-circles take TMEFF of it
    bool right_hand = true;
};

// One radial pass: down to the start height at the centre, a half-circle out to the thread's
// radius, one full turn down one pitch, a half-circle back to the centre. Clockwise arcs
// descending cut a right-hand thread, counter-clockwise ones a left-hand thread.
void AppendOrbit(int buffer, const Orbit& o, double plunge_feed) {
    const bool radius_words = GetSettings().use_r_in_g02_g03 != 0;
    const char* g = o.right_hand ? "G02" : "G03";
    const double arc_feed = o.feed * GetSettings().tmeff;
    const double out_x = o.x - o.r;
    Append(buffer, Sprintf("G01 Z%0.4f F%0.4f", o.zs, plunge_feed));
    if (radius_words)
        Append(buffer, Sprintf("%s X%0.4f R%0.4f Z%0.4f F%0.4f", g, out_x, o.r / 2, o.zs - o.p / 2,
                               arc_feed));
    else
        Append(buffer, Sprintf("%s X%0.4f Y%0.4f I%0.4f J0.0000 Z%0.4f F%0.4f", g, out_x, o.y,
                               -o.r / 2, o.zs - o.p / 2, arc_feed));
    if (o.right_hand)
        Append(buffer, Sprintf("G02 X%0.4f Y%0.4f I%0.4f J0.0000 Z%0.4f F%0.4f", out_x, o.y, o.r,
                               o.zs - 1.5 * o.p, o.feed));
    else
        Append(buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f Z%0.4f F%0.4f", out_x, o.y, o.r,
                               o.zs - 1.5 * o.p, o.feed));
    if (radius_words)
        Append(buffer, Sprintf("%s X%0.4f R%0.4f Z%0.4f F%0.4f", g, o.x, o.r / 2, o.zs - 2 * o.p,
                               arc_feed));
    else
        Append(buffer, Sprintf("%s X%0.4f Y%0.4f I%0.4f J0.0000 Z%0.4f F%0.4f", g, o.x, o.y,
                               o.r / 2, o.zs - 2 * o.p, arc_feed));
}

// The speed, feed and radial cutting depth of a thread mill for one thread: the thread's own
// thread-milling parameters, else the tool's cutting data. 1, or 0 after a message.
int ThreadMillData(const Thread& t, int place, const std::string& name, CuttingData& data) {
    int own_speed = 0;
    double v[4];
    if (RetrieveMParam(t.id, kThreadMilling, own_speed, v)) {
        data.speed = own_speed;
        data.fxy = v[0];
        data.cutxy = v[1];
    } else if (!PlaceCuttingData(place, data)) {
        return Refuse("Missing tool-material data", name);
    }
    if (!(data.fxy > 0))
        return Refuse("Feed rate out of range", name);
    if (!(data.cutxy > 0))
        return Refuse("Side cutting depth out of range", name);
    // "S0 M03" would send the mill into the hole on a stopped spindle.
    if (data.speed <= 0)
        return Refuse("Speed S out of range", name);
    return 1;
}

} // namespace

int GMillThisThread(int index) {
    Thread t;
    if (!ValidThread(index, t))
        return ErrCode(kErrNoThread);
    const int place = t.assigned_tool;
    AttachedToolData mill;
    if (GetAttToolDataExt(place, mill) != kThreadMill)
        return ErrCode(kErrThreadTool);
    const int row = ThreadTypeIndex(t.dia, t.pitch);
    if (row < 0)
        return Refuse(Sprintf("Thread ID %d", t.id), "Unknown thread type!");
    CuttingData data;
    if (!ThreadMillData(t, place, mill.name, data))
        return 0;
    const double D = ThreadMillDia(row), d = mill.dia;
    if (!(d < D) || mill.dia2 > D)
        return Refuse(Sprintf("Tool diameter too big for thread id %d", t.id), mill.name);
    // Radial thread depth: from the core hole out to the nominal diameter.
    const double h = (D - ThreadDrill(row)) / 2;
    if (!(h > 0))
        return Refuse("Data for thread in thread.dat corrupted!", ThreadTypeStr(row, false));
    const int passes = static_cast<int>(h / data.cutxy) + 1;
    const double step = h / passes;
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        Append(buffer, Sprintf("(THREAD ID %d)", t.id));
    Append(buffer, Sprintf("S%d M03", data.speed));
    Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", t.x, t.y));
    Append(buffer, Sprintf("G00 Z%0.4f", t.z));
    Orbit o;
    o.x = t.x;
    o.y = t.y;
    o.p = mill.pitch;
    o.zs = t.z - t.wz + 2 * o.p;
    o.right_hand = t.pitch > 0;
    for (int k = passes; k >= 1; --k) {
        o.r = (D - d) / 2 - (k - 1) * step;
        // A core hole drilled wider than the table's (a preselected core drill) leaves nothing
        // to cut on the innermost orbits; an orbit of no radius is no circle a control reads.
        if (o.r < 0 || equal(o.r, 0))
            continue;
        // The feed is given for the cutting edge, which runs on a circle d/2 wider than the
        // tool centre's: the centre is fed slower by r / (r + d/2).
        o.feed = data.fxy * o.r / (o.r + d / 2);
        AppendOrbit(buffer, o, data.fxy);
        AddMillTime(place, 3 * M_PI * o.r / o.feed);
    }
    Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    DeclareObjectProcessed(t.id);
    return 1;
}

} // namespace korvel
