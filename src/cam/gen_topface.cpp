// Top face milling: rough passes in depth steps, rough finishing and fine finishing, each pass
// a set of parallel lines over the whole block.
#include "cam/gen_topface.h"

#include <string>

#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/milling_data.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/mparam.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

// The tools GRoughTop chose for this run; GFineTop reads the fine one.
int g_rough_tool = -1;
int g_fine_tool = -1;

constexpr int kMillDownRoughAlongY = 1;
constexpr int kMillDownFinishAlongY = 2;
constexpr int kMillDownMeander = 128;

// Rounding noise of the height arithmetic (allowances subtracted from the stock and added
// back), far below any cut.
constexpr double kNoise = 1e-9;

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

int Quality(const BlockRecord& b) { return b.quality == -1 ? GetSettings().quality : b.quality; }

// The height at which the part begins: the top of the top bulge, else the block top less the
// mill-down depth.
double PartTop(const BlockRecord& b) {
    int top = TopBulgeIndex();
    return top >= 0 ? Bulge_z(top) + Bulge_wz(top) : BlockTop() - b.mill_down;
}

// One pass's lines in the frame of the lines: u runs along them, v across.
struct PassFrame {
    bool along_y = false;
    double u0 = 0, ulen = 0; // start and length of the block along the lines
    double v0 = 0, vlen = 0; // across them
    int buffer = -1;

    explicit PassFrame(bool y, int buf) : along_y(y), buffer(buf) {
        BlockRecord b = GetBlock();
        u0 = y ? b.y : b.x;
        ulen = y ? b.width : b.length;
        v0 = y ? b.x : b.y;
        vlen = y ? b.length : b.width;
    }
    char ULetter() const { return along_y ? 'Y' : 'X'; }
    char VLetter() const { return along_y ? 'X' : 'Y'; }
    void Rapid(double u, double v) const {
        AppendCode(buffer, along_y ? Sprintf("G00 X%0.4f Y%0.4f", v, u)
                                   : Sprintf("G00 X%0.4f Y%0.4f", u, v));
    }
    void FeedU(double u, double f) const {
        AppendCode(buffer, Sprintf("G01 %c%0.4f F%0.4f", ULetter(), u, f));
    }
    void FeedV(double v, double f) const {
        AppendCode(buffer, Sprintf("G01 %c%0.4f F%0.4f", VLetter(), v, f));
    }
    void Z(double z) const { AppendCode(buffer, Sprintf("G00 Z%0.4f", z)); }
};

// Lines far enough apart to leave no ridge: one more than the widths that fit, spread evenly.
int LineCount(double width, double d, double overlap) {
    return static_cast<int>(width / (d * overlap)) + 1;
}

// One-way pass: every line from beside the block to beyond its far side, retract, back.
double GMillTop1(const PassFrame& f, double d, double overlap, double z, double F, double Fz) {
    const Settings& s = GetSettings();
    const double r = d / 2, q = s.qplane;
    const int n = LineCount(f.vlen, d, overlap);
    const double step = f.vlen / n;
    double time = 0;
    f.Z(SafeHeight());
    for (int k = 0; k < n; ++k) {
        f.Rapid(f.u0 - r - q, f.v0 + step / 2 + k * step);
        if (Fz > 0) {
            f.Z(z + s.rplane);
            AppendCode(f.buffer, Sprintf("G01 Z%0.4f F%0.4f", z, Fz));
            time += s.rplane / Fz; // the plunge runs from the approach height down to z
        } else {
            f.Z(z);
        }
        f.FeedU(f.u0 + f.ulen + r + q, F);
        time += (f.ulen + d + 2 * q) / F;
        f.Z(SafeHeight());
    }
    return time;
}

// Meander pass: down beside the block, then to and fro with a step across between lines.
double GMillTop2(const PassFrame& f, double d, double overlap, double z, double F) {
    const double r = d / 2, q = GetSettings().qplane;
    const int n = LineCount(f.vlen, d, overlap);
    const double step = f.vlen / n;
    double time = 0;
    double v = f.v0 + step / 2;
    f.Z(SafeHeight());
    f.Rapid(f.u0 - r - q, v);
    f.Z(z);
    for (int k = 0; k < n; ++k) {
        f.FeedU(k % 2 == 0 ? f.u0 + f.ulen : f.u0, F);
        time += f.ulen / F;
        if (k + 1 < n) {
            v += step;
            f.FeedV(v, F);
            time += step / F;
        }
    }
    f.Z(SafeHeight());
    return time;
}

double GMillTop(bool along_y, int buffer, double d, double overlap, double z, double F, double Fz) {
    if (!(d > 0) || !(overlap > 0))
        return -1;
    // A pass at the top face itself (within rounding) would cut air over the whole block.
    if (z > BlockTop() - kNoise)
        return 0;
    PassFrame frame(along_y, buffer);
    if (GetBlock().mill_down_flags & kMillDownMeander)
        return GMillTop2(frame, d, overlap, z, F);
    return GMillTop1(frame, d, overlap, z, F, Fz);
}

// The tool of a type with the largest diameter among the suitable tools of the magazine; a
// later place replaces an earlier one only when strictly larger. -1 when there is none.
int LargestTool(int type) {
    int best = -1;
    double best_dia = 0;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (!CandidatePlace(place) || GetAttToolDataExt(place, t) != type)
            continue;
        if (best < 0 || t.dia > best_dia) {
            best = place;
            best_dia = t.dia;
        }
    }
    return best;
}

// The tool and data of a top-face operation, checked. 1, or 0 after a message.
struct TopTool {
    int place = -1;
    AttachedToolData tool;
    CuttingData data;
};

int ReadTopTool(int place, int kind, TopTool& t) {
    t.place = place;
    GetAttToolDataExt(place, t.tool);
    if (!MillingData(place, GetBlockId(), kind, t.data))
        return Refuse("Missing tool-material data", t.tool.name);
    if (!(t.data.fxy > 0))
        return Refuse("Feed rate Fxy out of range", t.tool.name);
    // A spindle speed or tool diameter of zero cannot cut (a zero diameter leaves no pass).
    if (t.data.speed <= 0)
        return Refuse("Speed S out of range", t.tool.name);
    if (!(t.tool.dia > 0))
        return Refuse("Tool diameter out of range", t.tool.name);
    if (!(t.data.fz > 0))
        t.data.fz = t.data.fxy / 2;
    return 1;
}

int ChooseTopTools(const BlockRecord& b, int quality) {
    int rough = b.rough_tool > 0 ? b.rough_tool : LargestTool(kFaceMillRough);
    if (rough <= 0)
        rough = LargestTool(kEndMillRough);
    AttachedToolData t;
    if (rough <= 0 || GetAttToolDataExt(rough, t) < 0)
        return Refuse("No facemill/endmill attached for topface block milling", "Tool missing");
    g_rough_tool = rough;
    int fine = b.fine_tool;
    if (quality == 4 || quality == 5) {
        if (fine <= 0)
            fine = LargestTool(kEndMillFine);
        if (fine <= 0 || GetAttToolDataExt(fine, t) < 0)
            return Refuse("No fine endmill attached for topface fine finishing", "Tool missing");
    }
    g_fine_tool = fine > 0 ? fine : -1;
    return 1;
}

// A pass in the direction the block's mill-down flag bit asks for; its time is added to the
// tool's milling time.
void Pass(const TopTool& t, int flag_bit, int buffer, double overlap, double z, double F) {
    bool along_y = (GetBlock().mill_down_flags & flag_bit) != 0;
    double d = t.tool.dia, Fz = t.data.fz;
    double time =
        along_y ? GMillTopY(buffer, d, overlap, z, F, Fz) : GMillTopX(buffer, d, overlap, z, F, Fz);
    if (time > 0)
        AddMillTime(t.place, time);
}

// The speed and feed overrides of the finishing passes must leave the spindle turning and the
// tool moving (RFSOR and RFFOR may be set to 0). 1, or 0 after a message.
int CheckOverrides(const TopTool& t) {
    const Settings& set = GetSettings();
    if (!(t.data.fxy * set.rffor > 0))
        return Refuse("Feed rate Fxy out of range", t.tool.name);
    if (static_cast<int>(t.data.speed * set.rfsor) <= 0)
        return Refuse("Speed S out of range", t.tool.name);
    return 1;
}

// The rough-finishing pass at `s` below the block top, at the overridden speed and feed.
void RoughFinishTop(const TopTool& t, int buffer, double s) {
    const Settings& set = GetSettings();
    if (CommentsOn())
        AppendCode(buffer, "(ROUGH FINISHING TOPFACE)");
    if (set.rfsor != 1)
        AppendCode(buffer, Sprintf("S%d M03", static_cast<int>(t.data.speed * set.rfsor)));
    Pass(t, kMillDownFinishAlongY, buffer, set.rf_overlap, BlockTop() - s, t.data.fxy * set.rffor);
    if (set.rfsor != 1)
        AppendCode(buffer, Sprintf("S%d M03", t.data.speed));
}

} // namespace

int TopFaceRoughTool() { return g_rough_tool; }
int TopFaceFineTool() { return g_fine_tool; }

double GMillTopX(int buffer, double d, double overlap, double z, double feedXY, double feedZ) {
    return GMillTop(false, buffer, d, overlap, z, feedXY, feedZ);
}

double GMillTopY(int buffer, double d, double overlap, double z, double feedXY, double feedZ) {
    return GMillTop(true, buffer, d, overlap, z, feedXY, feedZ);
}

int GRoughTop() {
    g_rough_tool = g_fine_tool = -1;
    BlockRecord b = GetBlock();
    if (!b.valid)
        return 1;
    double s = BlockTop() - PartTop(b);
    if (s < -0.001 || s > b.height + 0.001) {
        ShowMessage("Check Block height and/or Shape Milling Base settings",
                    "Part is out of block!", kMbOk);
        return 0;
    }
    if (s < 0.0025) {
        DeclareObjectProcessed(b.id);
        return 1;
    }
    const Settings& set = GetSettings();
    int q = Quality(b);
    TopTool t;
    if (!ChooseTopTools(b, q) || !ReadTopTool(g_rough_tool, kRoughMilling, t))
        return 0;
    if (!(t.data.cutz > 0))
        return Refuse("Cutting depth Cz out of range", t.tool.name);
    bool rough_finish = q == 1 || q == 3 || q == 5;
    if (rough_finish && !CheckOverrides(t))
        return 0;
    int buffer = OpenToolCodeBuffer(t.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, "(ROUGH MILLING TOPFACE)");
    if (q == 1 || q == 3)
        s -= set.rfdz;
    else if (q == 4)
        s -= set.ffdz;
    else if (q == 5)
        s -= set.rfdz + set.ffdz;
    AppendCode(buffer, Sprintf("S%d M03", t.data.speed));
    if (s > kNoise) {
        int n = static_cast<int>((s - 0.001) / t.data.cutz) + 1;
        double step = s / n;
        for (int k = 1; k <= n; ++k)
            Pass(t, kMillDownRoughAlongY, buffer, set.overlap, BlockTop() - k * step, t.data.fxy);
    }
    if (rough_finish)
        RoughFinishTop(t, buffer, s + set.rfdz);
    DeclareObjectProcessed(b.id);
    return 1;
}

int GFineTop() {
    BlockRecord b = GetBlock();
    int q = Quality(b);
    if (!b.valid || (q != 4 && q != 5) || g_fine_tool <= 0)
        return 1;
    const Settings& set = GetSettings();
    TopTool t;
    if (!ReadTopTool(g_fine_tool, kFinishing, t))
        return 0;
    // A fine end mill has no cutting depth of its own (it finishes a wall at its full length):
    // it then takes the fine allowance in one pass.
    if (t.data.cutz < 0)
        return Refuse("Cutting depth Cz out of range", t.tool.name);
    if (!(t.data.fxy * set.rffor > 0))
        return Refuse("Feed rate Fxy out of range", t.tool.name);
    int buffer = OpenToolCodeBuffer(t.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, "(FINE FINISHING TOPFACE)");
    AppendCode(buffer, Sprintf("S%d M03", t.data.speed));
    int n = t.data.cutz > 0 ? static_cast<int>(set.ffdz / t.data.cutz) + 1 : 1;
    double step = set.ffdz / n;
    double zt = PartTop(b);
    for (int k = 1; k <= n; ++k)
        Pass(t, kMillDownFinishAlongY, buffer, set.ff_overlap, zt + set.ffdz - k * step,
             t.data.fxy * set.rffor);
    return 1;
}

} // namespace korvel
