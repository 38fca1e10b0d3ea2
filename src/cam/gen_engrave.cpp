// Engraving of texts and of engraving elements: tool choice, cutting data, and the G-code lines
// of characters and of chains of elements.
#include "cam/gen_engrave.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "cad/stroke_font.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/cla.h"
#include "model/font.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/texts.h"
#include "platform/platform.h"

namespace korvel {

namespace {

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

// The engraving tool's place and its cutting data for the block's material: 1, or 0 after a
// message. `what` names the feature in the "no tool" message.
int EngravingToolAndData(const std::string& what, double width, double depth, int& place,
                         CuttingData& data) {
    place = GetEngravingTool(width, depth);
    if (place < 0)
        return Refuse(Sprintf("No engraving tool present for %s\nEngraving width = %f\n"
                              "Engraving depth = %f",
                              what.c_str(), width, depth),
                      "Tool missing");
    if (!PlaceCuttingData(place, data))
        return Refuse("Missing tool-material data", PlaceToolName(place));
    if (!(data.fxy > 0))
        return Refuse("Feed rate Fxy out of range", PlaceToolName(place));
    return 1;
}

} // namespace

// ---- Texts ---------------------------------------------------------------------------------

double GThisChar(int buffer, int code, double x, double y, double z, double sx, double sy,
                 double angle, double depth, double Fxy, double Fz) {
    if (buffer < 0 || code < kFirstDrawableCode || code >= kGlyphCount)
        return 0;
    const Settings& set = GetSettings();
    double segment = set.nchrarcseg;
    if (set.chrarcsegcor && sy > 0)
        segment /= sy;
    std::vector<StrokePoint> points;
    if (convert_char(code, sx, sy, segment, points) <= 0)
        return 0;
    const double a = angle * kPi / 180, c = std::cos(a), s = std::sin(a);
    const double up = z + set.rplane, down = z - depth;
    double length = 0, px = x, py = y;
    bool tool_down = false;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const StrokePoint& p = points[k];
        double qx = x + p.x * c - p.y * s, qy = y + p.x * s + p.y * c;
        if (p.pen == 0 || k == 0) {
            // The first point is reached with the tool up even when the glyph draws to it:
            // plunging where the previous character ended would cut a stroke of its own.
            if (tool_down)
                AppendCode(buffer, Sprintf("G00 Z%0.4f", up));
            tool_down = false;
            AppendCode(buffer, Sprintf("G00 X%0.4f Y%0.4f", qx, qy));
        }
        if (p.pen == 1) {
            if (!tool_down) {
                AppendCode(buffer, Sprintf("G01 Z%0.4f F%0.4f", down, Fz));
                length += (up - down) * Fxy / Fz; // the plunge's time at the XY feed
                tool_down = true;
            }
            if (k > 0) {
                AppendCode(buffer, Sprintf("G01 X%0.4f Y%0.4f F%0.4f", qx, qy, Fxy));
                length += distance(px, py, qx, qy);
            }
        }
        px = qx;
        py = qy;
    }
    if (tool_down)
        AppendCode(buffer, Sprintf("G00 Z%0.4f", up));
    return length;
}

int GThisText(int index) {
    Text t;
    if (index < 0 || index >= kMaxTexts || !GetText(t, index) || t.note)
        return ErrCode(kErrNoEngravingText);
    int place = -1;
    CuttingData data;
    if (!EngravingToolAndData(Sprintf("text ID %d", t.id), t.eng_width, t.eng_depth, place, data))
        return 0;
    const double fxy = data.fxy, fz = data.fz > 0 ? data.fz : data.fxy / 2;
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(ENGRAVING TEXT ID %d)", t.id));
    std::vector<CharPlacement> chars = LayOutText(index);
    AppendCode(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    if (!chars.empty())
        AppendCode(buffer, Sprintf("G00 X%0.4f Y%0.4f", chars[0].x, chars[0].y));
    AppendCode(buffer, Sprintf("G00 Z%0.4f", t.z + GetSettings().rplane));
    double length = 0;
    for (const CharPlacement& ch : chars)
        length += GThisChar(buffer, ch.code, ch.x, ch.y, t.z, ch.sx, ch.sy, t.angle, t.eng_depth,
                            fxy, fz);
    AppendCode(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    AddMillTime(place, length / fxy);
    DeclareObjectProcessed(t.id);
    return 1;
}

int GAllTexts() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypeEngText && !GThisText(index))
            return 0;
    }
    return 1;
}

// ---- Engraving elements --------------------------------------------------------------------

namespace {

bool EngravingElement(int index, CLA& e) {
    return index >= 0 && index < kMaxCLA && GetCLA(e, index) && !e.drawing;
}

// One chain being engraved: the tool, its feeds and the depth passes.
struct Chain {
    int place = -1;
    int buffer = -1;
    double fxy = 0, fz = 0;
    int passes = 1;
    double step = 0;
    double rplane = 0;
};

const char* KindLabel(int kind) {
    switch (kind) {
    case kLine:
        return "LINE";
    case kCircle:
        return "CIRCLE";
    case kCwArc:
        return "CW ARC";
    default:
        return "CCW ARC";
    }
}

// The cut of one arc. With radius words, an arc within 10 degrees of half a turn is written as
// two halves: from a rounded radius near a half circle a control finds a centre far off.
int CutArc(const Chain& ch, const CLA& e) {
    double cx = 0, cy = 0;
    if (!ArcCenter(e.x1, e.y1, e.x2, e.y2, e.radius, e.kind, cx, cy))
        return Refuse(Sprintf("Engraving arc ID %d has no centre:\nits ends lie more than "
                              "twice its radius apart",
                              e.id),
                      "Part error");
    const char* g = e.kind == kCwArc ? "G02" : "G03";
    if (!GetSettings().use_r_in_g02_g03)
        return AppendCode(ch.buffer, Sprintf("%s X%0.4f Y%0.4f I%0.4f J%0.4f F%0.4f", g, e.x2, e.y2,
                                             cx - e.x1, cy - e.y1, ch.fxy));
    double h = distance(e.x1, e.y1, e.x2, e.y2) / 2;
    double sweep = h < e.radius ? 2 * std::asin(h / e.radius) * 180 / kPi : 180;
    if (sweep > 170) {
        double mx = e.x1, my = e.y1;
        TurnPoint(cx, cy, e.kind == kCwArc ? -sweep / 2 : sweep / 2, mx, my);
        AppendCode(ch.buffer,
                   Sprintf("%s X%0.4f Y%0.4f R%0.4f F%0.4f", g, mx, my, e.radius, ch.fxy));
    }
    return AppendCode(ch.buffer,
                      Sprintf("%s X%0.4f Y%0.4f R%0.4f F%0.4f", g, e.x2, e.y2, e.radius, ch.fxy));
}

int Cut(const Chain& ch, const CLA& e) {
    if (e.kind == kLine)
        return AppendCode(ch.buffer, Sprintf("G01 X%0.4f Y%0.4f F%0.4f", e.x2, e.y2, ch.fxy));
    if (e.kind == kCircle)
        return AppendCode(ch.buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f",
                                             e.x1 - e.radius, e.y1, e.radius, ch.fxy));
    return CutArc(ch, e);
}

// All passes of one element. `continuing`: the tool stands at the element's start at the depth
// where the previous element of the chain ended.
int EngraveElement(const Chain& ch, const CLA& e, bool continuing) {
    if (CommentsOn())
        AppendCode(ch.buffer, Sprintf("(ENGRAVING %s ID %d)", KindLabel(e.kind), e.id));
    const double z = e.z1;
    const double length = e.kind == kCircle ? 2 * kPi * e.radius : dist(CLAElement(e));
    const double sx = e.kind == kCircle ? e.x1 - e.radius : e.x1;
    bool approach = !continuing;
    for (int k = 1; k <= ch.passes; ++k) {
        if (approach) {
            AppendCode(ch.buffer, Sprintf("G00 X%0.4f Y%0.4f", sx, e.y1));
            AppendCode(ch.buffer, Sprintf("G00 Z%0.4f", z + ch.rplane));
            AppendCode(ch.buffer, Sprintf("G01 Z%0.4f F%0.4f", z - k * ch.step, ch.fz));
            AddMillTime(ch.place, ch.step / ch.fz);
        } else if (k == 1 && ch.passes > 1) {
            // Rise in the groove already cut to the first pass's depth, so that the new
            // element's material is taken one step at a time like the first element's.
            AppendCode(ch.buffer, Sprintf("G01 Z%0.4f F%0.4f", z - ch.step, ch.fz));
            AddMillTime(ch.place, (ch.passes - 1) * ch.step / ch.fz);
        }
        if (!Cut(ch, e))
            return 0;
        AddMillTime(ch.place, length / ch.fxy);
        approach = k < ch.passes;
        if (approach)
            AppendCode(ch.buffer, Sprintf("G00 Z%0.4f", z + ch.rplane));
    }
    return 1;
}

} // namespace

int GetNotReadyENG_CLA(int& index) {
    for (int i = 0; i < kMaxCLA; ++i) {
        CLA e;
        if (EngravingElement(i, e) && !ObjectIsReady(e.id)) {
            index = i;
            return 1;
        }
    }
    index = -1;
    return 0;
}

int GetNextNotReadyENG_CLA(int& index) {
    CLA a;
    const int from = index;
    index = -1;
    if (!EngravingElement(from, a) || a.kind == kCircle)
        return 0;
    for (int j = 0; j < kMaxCLA; ++j) {
        CLA b;
        if (j == from || !EngravingElement(j, b) || b.kind == kCircle || ObjectIsReady(b.id) ||
            b.pid != a.pid || b.eng_width != a.eng_width || b.eng_depth != a.eng_depth)
            continue;
        if (equal(b.x1, a.x2) && equal(b.y1, a.y2)) {
            index = j;
            return 1;
        }
        if (equal(b.x2, a.x2) && equal(b.y2, a.y2)) {
            ReverseCLA(j);
            index = j;
            return 1;
        }
    }
    return 0;
}

int GThisEngraveCLA(int index) {
    CLA e;
    if (!EngravingElement(index, e))
        return ErrCode(kErrNoEngravingElement);
    Chain ch;
    CuttingData data;
    if (!EngravingToolAndData(Sprintf("Line/Arc/Circle ID %d", e.id), e.eng_width, e.eng_depth,
                              ch.place, data))
        return 0;
    const std::string name = PlaceToolName(ch.place);
    if (!(data.fz > 0))
        return Refuse("Feed rate Fz out of range", name);
    if (!(data.cutz > 0))
        return Refuse("Cuting depth Cz out of range", name);
    ch.fxy = data.fxy;
    ch.fz = data.fz;
    ch.rplane = GetSettings().rplane;
    double n = std::floor(e.eng_depth / data.cutz) + 1;
    if (!(n < 1e6))
        return Refuse("Cuting depth Cz out of range", name);
    ch.passes = static_cast<int>(n);
    if (ch.passes % 2 == 0)
        ++ch.passes;
    ch.step = e.eng_depth / ch.passes;
    ch.buffer = OpenToolCodeBuffer(ch.place);
    if (ch.buffer < 0)
        return 0;
    for (bool continuing = false;; continuing = true) {
        if (!EngraveElement(ch, e, continuing))
            return 0;
        DeclareObjectReady(e.id);
        if (!GetNextNotReadyENG_CLA(index))
            break;
        GetCLA(e, index);
    }
    return AppendCode(ch.buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
}

int GEngraveAllCLA() {
    for (int index = -1; GetNotReadyENG_CLA(index);)
        if (!GThisEngraveCLA(index))
            return 0;
    return 1;
}

} // namespace korvel
