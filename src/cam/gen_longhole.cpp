// Long hole milling: centre-line passes for a slot as wide as the tool, oval rings for wider
// slots.
#include "cam/gen_longhole.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/longhole.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

struct SlotTool {
    int place = -1;
    std::string name;
    double dia = 0;
    CuttingData cut;
};

// The slot, its tool and the layers it is cut in, with the time of the feed moves so far.
struct SlotCut {
    LongHole h;
    SlotTool tool;
    int buffer = -1;
    int layers = 1;
    double dz = 0;
    double minutes = 0;
};

void Line(SlotCut& s, const std::string& text) { AppendCode(s.buffer, text); }

void FeedXY(SlotCut& s, double x0, double y0, double x, double y) {
    Line(s, Sprintf("G01 X%0.4f Y%0.4f F%0.4f", x, y, s.tool.cut.fxy));
    s.minutes += std::hypot(x - x0, y - y0) / s.tool.cut.fxy;
}

void FeedZ(SlotCut& s, double from, double to) {
    Line(s, Sprintf("G01 Z%0.4f F%0.4f", to, s.tool.cut.fz));
    s.minutes += std::fabs(from - to) / s.tool.cut.fz;
}

// A counter-clockwise half circle of radius o about (cx, cy) from (x0, y0) to (x, y).
void HalfCircle(SlotCut& s, double x0, double y0, double x, double y, double cx, double cy,
                double o) {
    if (GetSettings().use_r_in_g02_g03)
        Line(s, Sprintf("G03 X%0.4f Y%0.4f R%0.4f F%0.4f", x, y, o, s.tool.cut.fxy));
    else
        Line(s, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J%0.4f F%0.4f", x, y, cx - x0, cy - y0,
                        s.tool.cut.fxy));
    s.minutes += M_PI * o / s.tool.cut.fxy;
}

// Every layer along the centre line, from the start to the end.
void NarrowSlot(SlotCut& s) {
    const LongHole& h = s.h;
    double level = h.z;
    for (int k = 1; k <= s.layers; ++k) {
        double z = h.z - k * s.dz;
        Line(s, Sprintf("G00 X%0.4f Y%0.4f", h.x, h.y));
        Line(s, Sprintf("G00 Z%0.4f", level));
        FeedZ(s, level, z);
        FeedXY(s, h.x, h.y, h.x + h.lx, h.y + h.ly);
        Line(s, Sprintf("G00 Z%0.4f", SafeHeight()));
        level = z;
    }
}

// One ring at offset o in every layer: down on the centre line at the start, out to the right
// side, along it, round the end, back along the left side, round the start and back to the
// centre line; then up to the safe height.
void Ring(SlotCut& s, double o) {
    const LongHole& h = s.h;
    double theta = std::atan2(h.ly, h.lx);
    double rx = h.x + o * std::sin(theta), ry = h.y - o * std::cos(theta);
    double lx = h.x - o * std::sin(theta), ly = h.y + o * std::cos(theta);
    double ex = h.x + h.lx, ey = h.y + h.ly;
    double level = h.z;
    for (int k = 1; k <= s.layers; ++k) {
        double z = h.z - k * s.dz;
        FeedZ(s, level, z);
        FeedXY(s, h.x, h.y, rx, ry);
        FeedXY(s, rx, ry, rx + h.lx, ry + h.ly);
        HalfCircle(s, rx + h.lx, ry + h.ly, lx + h.lx, ly + h.ly, ex, ey, o);
        FeedXY(s, lx + h.lx, ly + h.ly, lx, ly);
        HalfCircle(s, lx, ly, rx, ry, h.x, h.y, o);
        FeedXY(s, rx, ry, h.x, h.y);
        level = z;
    }
    Line(s, Sprintf("G00 Z%0.4f", SafeHeight()));
}

// Rings from the centre outwards until the last one runs the tool along the slot's sides. The
// first ring lies no farther than half a diameter from the centre line, so that no rib is left
// standing along it; the next ones follow at the step-over.
void WideSlot(SlotCut& s) {
    const LongHole& h = s.h;
    double d = s.tool.dia;
    double step = d * GetSettings().overlap;
    double last = (h.dia - d) / 2;
    Line(s, Sprintf("G00 X%0.4f Y%0.4f", h.x, h.y));
    double o = std::min(step, d / 2);
    for (;; o += step) {
        bool final_ring = o >= last || equal(o, last) || !(step > 0);
        if (final_ring)
            o = last;
        // Every ring starts from the surface: down at rapid into the cut the last ring left
        // open, then at feed.
        Line(s, Sprintf("G00 Z%0.4f", h.z));
        Ring(s, o);
        if (final_ring)
            break;
    }
}

int ReadSlotTool(const LongHole& h, SlotTool& tool) {
    tool.place = h.chosen_tool;
    int type = 0;
    double length = 0;
    if (tool.place < 1 || GetAttToolData(tool.place, type, tool.dia, length) < 0)
        return Refuse(Sprintf("No endmill found for longhole ID %d", h.id), "Tool missing");
    tool.name = PlaceToolName(tool.place);
    if (!PlaceCuttingData(tool.place, tool.cut))
        return Refuse("Missing side mill data", tool.name);
    if (!(tool.cut.cutz > 0))
        return Refuse("Cutting depth Cz out of range", tool.name);
    if (!(tool.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", tool.name);
    if (!(tool.cut.fz > 0))
        tool.cut.fz = tool.cut.fxy / 2;
    // A tool wider than the slot would cut beyond its sides.
    if (tool.dia > h.dia && !equal(tool.dia, h.dia))
        return Refuse(Sprintf("No endmill found for longhole ID %d", h.id), "Tool missing");
    return 1;
}

} // namespace

int GThisLongHole(int index) {
    SlotCut s;
    if (index < 0 || index >= kMaxLongHoles || !GetLongHole(s.h, index))
        return ErrCode(kErrLongHole);
    if (!ReadSlotTool(s.h, s.tool))
        return 0;
    s.buffer = OpenToolCodeBuffer(s.tool.place);
    if (s.buffer < 0)
        return 0;
    s.layers = static_cast<int>(s.h.wz / s.tool.cut.cutz) + 1;
    s.dz = s.h.wz / s.layers;
    if (CommentsOn())
        Line(s, Sprintf("(LONGHOLE ID %d)", s.h.id));
    if (equal(s.h.dia, s.tool.dia))
        NarrowSlot(s);
    else
        WideSlot(s);
    AddMillTime(s.tool.place, s.minutes);
    DeclareObjectProcessed(s.h.id);
    return 1;
}

int GAllLongHoles() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypeLongHole && !GThisLongHole(index))
            return 0;
    }
    return 1;
}

} // namespace korvel
