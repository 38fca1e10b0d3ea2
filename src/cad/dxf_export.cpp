// DXF export: a straight sequence of group-code/value pairs, built in memory and written at
// once. Every coordinate and radius is multiplied by the scale factor k.
#include "cad/dxf_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text.h"
#include "geometry/primitives.h"
#include "geometry/types.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/longhole.h"
#include "model/machine.h"
#include "model/pocket.h"
#include "model/texts.h"
#include "model/thread.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr double kProgramVersion = 2.05;
constexpr const char* kHomePage = "https://korvel-cam.org/";
constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

struct Layer {
    const char* name;
    int colour;
};
const Layer kLayers[] = {{"0", 7},         {"BLOCK", 3},   {"BULGE", 7},
                         {"POCKET", 191},  {"DRILL", 191}, {"THREAD", 191},
                         {"ENGRAVING", 7}, {"DRAWING", 2}, {"FIXTURE", 2}};

void Put(std::string& out, int code, const std::string& value) {
    out += Sprintf("%3d\n", code);
    out += value;
    out += '\n';
}
// A value that rounds to zero is written as 0.000000, never as -0.000000.
void PutReal(std::string& out, int code, double v) {
    Put(out, code, Sprintf("%f", std::fabs(v) < 5e-7 ? 0.0 : v));
}

void Comment(std::string& out, const char* what, int id) {
    Put(out, 999, Sprintf("%s ID = %d", what, id));
}

void Line(std::string& out, const char* layer, double x1, double y1, double z1, double x2,
          double y2, double z2) {
    Put(out, 0, "LINE");
    Put(out, 8, layer);
    PutReal(out, 10, x1), PutReal(out, 20, y1), PutReal(out, 30, z1);
    PutReal(out, 11, x2), PutReal(out, 21, y2), PutReal(out, 31, z2);
}

void Circle(std::string& out, const char* layer, double x, double y, double z, double r) {
    Put(out, 0, "CIRCLE");
    Put(out, 8, layer);
    PutReal(out, 10, x), PutReal(out, 20, y), PutReal(out, 30, z);
    PutReal(out, 40, r);
}

void Arc(std::string& out, const char* layer, double cx, double cy, double z, double r, double a1,
         double a2) {
    Put(out, 0, "ARC");
    Put(out, 8, layer);
    PutReal(out, 10, cx), PutReal(out, 20, cy), PutReal(out, 30, z);
    PutReal(out, 40, r);
    PutReal(out, 50, a1), PutReal(out, 51, a2);
}

// One element (already scaled): 1 when written, 0 for an arc without a centre.
int ElementEntity(std::string& out, const char* layer, const Element& e, double z1, double z2) {
    if (e.kind == kCircle) {
        Circle(out, layer, e.x1, e.y1, z1, e.r);
        return 1;
    }
    if (e.kind != kCcwArc && e.kind != kCwArc) {
        Line(out, layer, e.x1, e.y1, z1, e.x2, e.y2, z2);
        return 1;
    }
    double cx, cy;
    if (!ArcCenter(e, cx, cy))
        return 0;
    double a1 = std::atan2(e.y1 - cy, e.x1 - cx) * kRadToDeg;
    double a2 = std::atan2(e.y2 - cy, e.x2 - cx) * kRadToDeg;
    if (e.kind == kCwArc)
        std::swap(a1, a2);
    Arc(out, layer, cx, cy, z1, e.r, a1, a2);
    return 1;
}

Element Scaled(Element e, double k) {
    e.x1 *= k, e.y1 *= k, e.x2 *= k, e.y2 *= k, e.r *= k;
    return e;
}

// The elements of a closed contour: element i from vertex i-1 to vertex i, the last from
// vertex n-1 back to vertex 0 with vertex 0's kind and radius.
int ContourEntities(std::string& out, const char* layer, const Shape& s, double z, double k) {
    int count = 0;
    for (int i = 1; i <= s.n; ++i) {
        const PathPoint& from = s.v[static_cast<std::size_t>(i - 1)];
        const PathPoint& to = s.v[static_cast<std::size_t>(i % s.n)];
        if (s.n < 2)
            break;
        Element e = ElementBetween(from, to);
        if (e.kind == 0)
            e.kind = kLine;
        count += ElementEntity(out, layer, Scaled(e, k), z, z);
    }
    return count;
}

int TextEntities(std::string* out, double k, bool all, bool note, const char* layer) {
    if (!out)
        return 0;
    int count = 0;
    Text t;
    for (int i = 0; i < kMaxTexts; ++i) {
        if (!GetText(t, i) || (t.note != 0) != note || (!all && !t.selected))
            continue;
        Put(*out, 0, "TEXT");
        Put(*out, 8, layer);
        PutReal(*out, 10, t.x * k), PutReal(*out, 20, t.y * k), PutReal(*out, 30, t.z * k);
        PutReal(*out, 40, t.height * k);
        PutReal(*out, 50, t.angle);
        if (t.scale > 0) {
            PutReal(*out, 41, t.scale);
        } else {
            Put(*out, 41, Sprintf("%f", -t.scale)); // a width of 0 comes out as -0.000000
            Put(*out, 71, "2");
        }
        Put(*out, 1, t.text);
        ++count;
    }
    return count;
}

int CLAEntities(std::string* out, double k, bool all, bool drawing) {
    if (!out)
        return 0;
    const char* layer = drawing ? "Drawing" : "Engraving";
    const char* prefix = drawing ? "Drawing" : "Engraving";
    int count = 0;
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i) {
        if (!GetCLA(e, i) || (e.drawing != 0) != drawing || (!all && !e.selected))
            continue;
        const char* what = e.kind == kCircle   ? "Circle"
                           : e.kind == kCcwArc ? "Arc CCW"
                           : e.kind == kCwArc  ? "Arc CW"
                                               : "Line";
        Put(*out, 999, Sprintf("%s %s ID = %d", prefix, what, e.id));
        double z1 = drawing ? 0 : e.z1 * k, z2 = drawing ? 0 : e.z2 * k;
        count += ElementEntity(*out, layer, Scaled(CLAElement(e), k), z1, z2);
    }
    return count;
}

// The extents, view centre and view height of the drawing.
struct View {
    double min_x, min_y, max_x, max_y;
    double cx, cy, h;
};

View ProjectView(double k) {
    MachineSetup m = GetMachine();
    Coordinates c = GetCoordinates();
    double wx = m.ws_x, wy = m.ws_y;
    View v;
    // Travel may be given negative: the corners are ordered so that min <= max.
    double ax = -c.wz_x * k, bx = (wx - c.wz_x) * k;
    double ay = -c.wz_y * k, by = (wy - c.wz_y) * k;
    v.min_x = std::min(ax, bx), v.max_x = std::max(ax, bx);
    v.min_y = std::min(ay, by), v.max_y = std::max(ay, by);
    if (Block_valid()) {
        BlockRecord b = GetBlock();
        v.cx = b.length * 0.5 + b.x;
        v.cy = b.width * 0.5 + b.y;
        v.h = std::max(b.length / 1.33, b.width);
    } else {
        v.cx = wx * 0.5 - c.wz_x;
        v.cy = wy * 0.5 - c.wz_y;
        v.h = std::max(wx / 1.33, wy);
    }
    return v;
}

} // namespace

int DXF_Start(std::string* out, double k) {
    if (!out)
        return 0;
    View v = ProjectView(k);
    *out += Sprintf("999\nKORVEL 3-Axis CAD-CAM Vesrion %0.2f\n", kProgramVersion);
    *out += Sprintf("999\n%s\n", kHomePage);
    *out += "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n";
    *out += Sprintf("  9\n$EXTMIN\n 10\n%0.5f\n 20\n%0.5f\n", v.min_x, v.min_y);
    *out += Sprintf("  9\n$EXTMAX\n 10\n%0.5f\n 20\n%0.5f\n", v.max_x, v.max_y);
    *out += "  0\nENDSEC\n";
    return 1;
}

int DXF_Open_Tables_Section(std::string* out) {
    if (!out)
        return 0;
    *out += "  0\nSECTION\n  2\nTABLES\n";
    return 1;
}

int DXF_Def_Vport(std::string* out) {
    if (!out)
        return 0;
    static const std::pair<int, const char*> kFixed[] = {
        {70, "0"},   {10, "0.0"}, {20, "0.0"}, {11, "1.0"}, {21, "1.0"}, {13, "0.0"},
        {23, "0.0"}, {14, "0.5"}, {24, "0.5"}, {15, "0.5"}, {25, "0.5"}, {16, "0.0"},
        {26, "0.0"}, {36, "1.0"}, {17, "0.0"}, {27, "0.0"}, {37, "0.0"}, {42, "50.0"},
        {43, "0.0"}, {44, "0.0"}, {50, "0.0"}, {51, "0.0"}, {71, "0"},   {72, "100"},
        {73, "1"},   {74, "3"},   {75, "0"},   {76, "0"},   {77, "0"},   {78, "0"}};
    *out += "  0\nTABLE\n  2\nVPORT\n 70\n2\n  0\nVPORT\n  2\n*ACTIVE\n";
    for (const auto& [code, value] : kFixed)
        Put(*out, code, value);
    View v = ProjectView(1.0);
    PutReal(*out, 12, v.cx);
    PutReal(*out, 22, v.cy);
    PutReal(*out, 40, v.h * 1.2);
    PutReal(*out, 41, 1.448398576512455);
    *out += "  0\nENDTAB\n";
    return 1;
}

int DXF_Def_Layers(std::string* out) {
    if (!out)
        return 0;
    *out += Sprintf("  0\nTABLE\n  2\nLAYER\n 70\n%d\n", static_cast<int>(std::size(kLayers)));
    for (const Layer& l : kLayers)
        *out +=
            Sprintf("  0\nLAYER\n  2\n%s\n 70\n0\n 62\n%d\n  6\nCONTINUOUS\n", l.name, l.colour);
    *out += "  0\nENDTAB\n";
    return 1;
}

int DXF_Close_Tables_Section(std::string* out) {
    if (!out)
        return 0;
    *out += "  0\nENDSEC\n";
    return 1;
}

int DXF_Open_Entities_Section(std::string* out) {
    if (!out)
        return 0;
    *out += "  0\nSECTION\n  2\nENTITIES\n";
    return 1;
}

int DXF_Close_Entities_Section(std::string* out) { return DXF_Close_Tables_Section(out); }

int DXF_End(std::string* out) {
    if (!out)
        return 0;
    *out += "  0\nEOF\n";
    return 1;
}

int DXF_Block_Entities(std::string* out, double k, bool all) {
    if (!out || !Block_valid() || (!all && !Block_selected()))
        return 0;
    BlockRecord b = GetBlock();
    Comment(*out, "Block", b.id);
    double x[] = {b.x, b.x + b.length, b.x + b.length, b.x, b.x};
    double y[] = {b.y, b.y, b.y + b.width, b.y + b.width, b.y};
    for (int i = 0; i < 4; ++i)
        Line(*out, "Block", x[i] * k, y[i] * k, b.z * k, x[i + 1] * k, y[i + 1] * k, b.z * k);
    return 4;
}

int DXF_Drill_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    Drill d;
    for (int i = 0; i < kMaxDrills; ++i) {
        if (!GetDrill(d, i) || d.system || (!all && !d.selected))
            continue;
        Comment(*out, "Drill", d.id);
        Circle(*out, "Drill", d.x * k, d.y * k, d.z * k, d.dia / 2 * k);
        ++count;
    }
    return count;
}

int DXF_Thread_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    Thread t;
    for (int i = 0; i < kMaxThreads; ++i) {
        if (!GetThread(t, i) || (!all && !t.selected))
            continue;
        Comment(*out, "Thread", t.id);
        Circle(*out, "Thread", t.x * k, t.y * k, t.z * k, t.dia / 2 * k);
        ++count;
    }
    return count;
}

int DXF_LongHole_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    LongHole h;
    for (int i = 0; i < kMaxLongHoles; ++i) {
        if (!GetLongHole(h, i) || (!all && !h.selected))
            continue;
        double x0 = h.x * k, y0 = h.y * k, dx = h.lx * k, dy = h.ly * k, r = h.dia / 2 * k;
        double z = h.z * k, a = std::atan2(dy, dx);
        double p1x = x0 + r * std::sin(a), p1y = y0 - r * std::cos(a);
        double p3x = x0 - r * std::sin(a), p3y = y0 + r * std::cos(a);
        double p2x = p1x + dx, p2y = p1y + dy, p4x = p3x + dx, p4y = p3y + dy;
        Line(*out, "Pocket", p1x, p1y, z, p2x, p2y, z);
        Line(*out, "Pocket", p4x, p4y, z, p3x, p3y, z);
        double ex = x0 + dx, ey = y0 + dy;
        Arc(*out, "Pocket", ex, ey, z, r, std::atan2(p2y - ey, p2x - ex) * kRadToDeg,
            std::atan2(p4y - ey, p4x - ex) * kRadToDeg);
        Arc(*out, "Pocket", x0, y0, z, r, std::atan2(p3y - y0, p3x - x0) * kRadToDeg,
            std::atan2(p1y - y0, p1x - x0) * kRadToDeg);
        count += 4;
    }
    return count;
}

int DXF_Bulge_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    Bulge b;
    for (int i = 0; i < kMaxBulges; ++i) {
        if (!GetBulge(i, b) || (!all && !b.selected))
            continue;
        Comment(*out, "Bulge", b.id);
        count += ContourEntities(*out, "Bulge", b.shape, b.z * k, k);
    }
    return count;
}

int DXF_Bore_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    Bore b;
    for (int i = 0; i < kMaxBores; ++i) {
        if (!GetBore(b, i) || b.system || (!all && !b.selected))
            continue;
        Comment(*out, "Bore", b.id);
        Circle(*out, "Pocket", b.x * k, b.y * k, b.z * k, b.dia / 2 * k);
        ++count;
    }
    return count;
}

int DXF_Pocket_Entities(std::string* out, double k, bool all) {
    if (!out)
        return 0;
    int count = 0;
    Pocket p;
    for (int i = 0; i < kMaxPockets; ++i) {
        if (!GetPocket(i, p) || (!all && !p.selected))
            continue;
        Comment(*out, "Pocket", p.id);
        count += ContourEntities(*out, "Pocket", p.shape, p.z * k, k);
    }
    return count;
}

int DXF_CLA_Entities(std::string* out, double k, bool all) {
    return CLAEntities(out, k, all, true);
}
int DXF_Engraving_Entities(std::string* out, double k, bool all) {
    return CLAEntities(out, k, all, false);
}
int DXF_Text_Entities(std::string* out, double k, bool all) {
    return TextEntities(out, k, all, true, "Drawing");
}
int DXF_EngrText_Entities(std::string* out, double k, bool all) {
    return TextEntities(out, k, all, false, "Engraving");
}

std::string ExportDXFText(int& entities) {
    const double k = 1.0;
    std::string out;
    RecalcZ();
    DXF_Start(&out, k);
    DXF_Open_Tables_Section(&out);
    DXF_Def_Vport(&out);
    DXF_Def_Layers(&out);
    DXF_Close_Tables_Section(&out);
    DXF_Open_Entities_Section(&out);
    entities = DXF_Block_Entities(&out, k, true) + DXF_Drill_Entities(&out, k, true) +
               DXF_Thread_Entities(&out, k, true) + DXF_LongHole_Entities(&out, k, true) +
               DXF_Bulge_Entities(&out, k, true) + DXF_Bore_Entities(&out, k, true) +
               DXF_Pocket_Entities(&out, k, true) + DXF_CLA_Entities(&out, k, true) +
               DXF_Text_Entities(&out, k, true) + DXF_Engraving_Entities(&out, k, true) +
               DXF_EngrText_Entities(&out, k, true);
    DXF_Close_Entities_Section(&out);
    DXF_End(&out);
    return out;
}

int ExportDXF(const std::string& path) {
    int entities = 0;
    std::string text = ExportDXFText(entities);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0)
        ok = false;
    if (!ok) {
        if (f)
            std::remove(path.c_str()); // a partial drawing would read as a broken one
        ShowMessage("Can't open file for writing", path, kMbOk | kMbIconExclamation);
        return 0;
    }
    ShowMessage(Sprintf("%d Entities exported", entities), path, kMbOk);
    return 1;
}

} // namespace korvel
