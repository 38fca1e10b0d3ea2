// Pocket milling: rough milling, rough finishing and fine finishing of walls and floor.
#include "cam/gen_pocket.h"

#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/path_emit.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/mparam.h"
#include "model/object_ops.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/path_table.h"
#include "paths/path_time.h"
#include "paths/pocket_path.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr const char* kPathError = "Path error";
constexpr int kWallPath = 1;    // the outline offset inwards by the tool radius
constexpr int kSegmentPath = 2; // the scan-line segments inside it

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

// A path failure: the message, and the pocket left as the only selected object so that the
// user sees which one it was.
int PathFailure(int p, const std::string& text) {
    ShowMessage(text, kPathError, kMbOk | kMbIconExclamation);
    UnselectAll();
    SelectPocket(p, 1);
    return 0;
}

struct PocketData {
    int index = -1;
    Pocket rec;
    int quality = 0; // 0..5, the global QUALITY when the pocket says -1
    double top = 0;  // the surface the pocket is cut from
    double depth = 0;
};

bool ReadPocket(int p, PocketData& out) {
    if (p < 0 || p >= kMaxPockets || !GetPocket(p, out.rec))
        return false;
    out.index = p;
    out.quality = out.rec.quality < 0 ? GetSettings().quality : out.rec.quality;
    out.top = out.rec.z;
    out.depth = out.rec.wz;
    return true;
}

// A magazine place's tool with the cutting data it runs with on this pocket: the database's
// data for the block's material, with the pocket's own milling parameters of `kind` in their
// place where the user set them. False when the place holds no tool.
struct PocketTool {
    int place = -1;
    std::string name;
    double dia = 0;
    CuttingData cut;
};

bool ReadPocketTool(int place, const PocketData& pocket, int kind, PocketTool& tool) {
    tool = PocketTool{};
    tool.place = place;
    int type = 0;
    double length = 0;
    if (place < 1 || GetAttToolData(place, type, tool.dia, length) < 0)
        return false;
    tool.name = PlaceToolName(place);
    PlaceCuttingData(place, tool.cut);
    int speed = 0;
    double v[4] = {0, 0, 0, 0};
    if (RetrieveMParam(pocket.rec.id, kind, speed, v)) {
        tool.cut.speed = speed;
        tool.cut.fxy = v[0];
        tool.cut.cutxy = v[1];
        if (kind == kRoughMilling) {
            tool.cut.fz = v[2];
            tool.cut.cutz = v[3];
        }
    }
    return true;
}

int Processed(const PocketData& pocket) {
    DeclareObjectProcessed(pocket.rec.id);
    return 1;
}

// The rough mill chosen for the pocket, with its cutting data checked. The tools are normally
// chosen when the parent's holes are made; a pocket that reaches here without them has them
// chosen now. 0 after a message.
int RoughTool(PocketData& pocket, PocketTool& mill) {
    if (pocket.rec.chosen_rough < 1) {
        if (!SelectPocketTools(pocket.index))
            return 0;
        GetPocket(pocket.index, pocket.rec);
    }
    if (!ReadPocketTool(pocket.rec.chosen_rough, pocket, kRoughMilling, mill))
        return Refuse(
            Sprintf("No suitable end mill/drill tool pair found for pocket %d", pocket.rec.id),
            "Tool(s) missing");
    if (!(mill.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", mill.name);
    if (!(mill.cut.cutz > 0))
        return Refuse("Cutting depth Cz out of range", mill.name);
    if (!(mill.cut.fz > 0))
        return Refuse("Feed rate Fz out of range", mill.name);
    return 1;
}

int BuildPaths(int p, double r, double overlap, bool along_y) {
    return along_y ? MakePocketPathsY(p, r, overlap) : MakePocketPathsX(p, r, overlap);
}

// Emits `path` at z and adds its time to the tool. 0 after the message `failure`.
int Emit(const PocketData& pocket, const PocketTool& tool, int path, int buffer, double z,
         double feed, double plunge, double approach, const char* failure) {
    AddMillTime(tool.place, CalcPathTime(path, z, feed, plunge));
    if (!GPath(path, buffer, z, feed, plunge, approach))
        return PathFailure(pocket.index, failure);
    return 1;
}

// The wall contour and the segments inside it at z.
int EmitArea(const PocketData& pocket, const PocketTool& tool, int buffer, double z, double feed,
             double approach) {
    const char* failure = "Cannot follow specified pocket Path";
    return Emit(pocket, tool, kWallPath, buffer, z, feed, tool.cut.fz, approach, failure) &&
           Emit(pocket, tool, kSegmentPath, buffer, z, feed, tool.cut.fz, approach, failure);
}

// Rough milling in equal depth steps down to the floor allowance f.
int RoughMill(const PocketData& pocket, const PocketTool& mill, double r, double f, int buffer) {
    if (!BuildPaths(pocket.index, r, GetSettings().overlap, pocket.rec.scan & 1))
        return PathFailure(pocket.index, "Cannot make specified pocket path");
    int n = static_cast<int>((pocket.depth - f) / mill.cut.cutz) + 1;
    double step = (pocket.depth - f) / n;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(MILL POCKET ID %d)", pocket.rec.id));
    AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    for (int k = 1; k <= n; ++k)
        if (!EmitArea(pocket, mill, buffer, pocket.top - k * step, mill.cut.fxy, step))
            return 0;
    return 1;
}

// One area pass at the floor (above the fine allowance with quality 5) at the speed and feed
// overrides. The spindle is started here when rough milling had nothing to do.
int RoughFinish(const PocketData& pocket, const PocketTool& mill, double r, bool milled,
                int buffer) {
    const Settings& s = GetSettings();
    if (!BuildPaths(pocket.index, r, s.rf_overlap, pocket.rec.scan & 2))
        return PathFailure(pocket.index, "Cannot make rough milling pocket path");
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(ROUGH FIN. POCKET ID %d)", pocket.rec.id));
    bool override_speed = s.rfsor != 1;
    if (override_speed)
        AppendCode(buffer, Sprintf("S%d M03", static_cast<int>(mill.cut.speed * s.rfsor)));
    else if (!milled)
        AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    double z = pocket.top - pocket.depth + (pocket.quality == 5 ? s.ffdz : 0);
    if (!EmitArea(pocket, mill, buffer, z, mill.cut.fxy * s.rffor, 0))
        return 0;
    if (override_speed)
        AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    return 1;
}

bool FinishesFloor(int q) { return q == 4 || q == 5; }
bool RoughFinishes(int q) { return q == 1 || q == 3 || q == 5; }

} // namespace

int GThisPocket(int p) {
    PocketData pocket;
    if (!ReadPocket(p, pocket))
        return ErrCode(kErrRoughPocket);
    if (equal(pocket.depth, 0))
        return Processed(pocket);
    PocketTool mill;
    if (!RoughTool(pocket, mill))
        return 0;
    double a = PocketFinishAllowance(pocket.rec.chosen_fine);
    const Settings& s = GetSettings();
    double f = FinishesFloor(pocket.quality) ? s.ffdz : 0;
    if (f > pocket.depth)
        return Processed(pocket);
    if (RoughFinishes(pocket.quality))
        f += s.rfdz;
    int buffer = OpenToolCodeBuffer(mill.place);
    if (buffer < 0)
        return 0;
    double r = mill.dia / 2 + a;
    bool milled = pocket.depth > f;
    if (milled && !RoughMill(pocket, mill, r, f, buffer))
        return 0;
    if (RoughFinishes(pocket.quality) && !RoughFinish(pocket, mill, r, milled, buffer))
        return 0;
    return Processed(pocket);
}

int GThisPocket_NEMR(int p) {
    PocketData pocket;
    if (!ReadPocket(p, pocket))
        return ErrCode(kErrRoughPocket);
    if (equal(pocket.depth, 0))
        return Processed(pocket);
    PocketTool mill;
    if (!RoughTool(pocket, mill))
        return 0;
    double a = PocketFinishAllowance(pocket.rec.chosen_fine);
    int buffer = OpenToolCodeBuffer(mill.place);
    if (buffer < 0)
        return 0;
    if (pocket.depth > 0) {
        if (!MakePocketPath(kWallPath, p, mill.dia / 2 + a))
            return PathFailure(p, "Cannot make specified pocket path");
        int n = static_cast<int>(pocket.depth / mill.cut.cutz) + 1;
        double step = pocket.depth / n;
        if (CommentsOn()) {
            AppendCode(buffer, Sprintf("(MILL POCKET ID %d)", pocket.rec.id));
            AppendCode(buffer, "(NO EXCESS MATERIAL REMOVAL)");
        }
        AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
        for (int k = 1; k <= n; ++k)
            if (!Emit(pocket, mill, kWallPath, buffer, pocket.top - k * step, mill.cut.fxy,
                      mill.cut.fz, step, "Cannot follow specified pocket Path"))
                return 0;
    }
    return Processed(pocket);
}

int GFineThisPocket(int p) {
    PocketData pocket;
    if (!ReadPocket(p, pocket))
        return ErrCode(kErrFinePocket);
    if (pocket.quality <= 1 || equal(pocket.depth, 0) || pocket.rec.chosen_fine < 1)
        return 1;
    PocketTool fine;
    if (!ReadPocketTool(pocket.rec.chosen_fine, pocket, kFinishing, fine))
        return Refuse("Tool disapeared", "GFineThisPocket()");
    if (!(fine.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", fine.name);
    if (!(fine.cut.cutxy > 0))
        return Refuse("Cutting width Cxy out of range", fine.name);
    if (!(fine.cut.fz > 0))
        fine.cut.fz = fine.cut.fxy / 2;
    const Settings& s = GetSettings();
    if (!BuildPaths(p, fine.dia / 2, s.ff_overlap, pocket.rec.scan & 2))
        return PathFailure(p, "Cannot make specified pocket path");
    int n = static_cast<int>(pocket.depth / fine.dia) + 1;
    double step = pocket.depth / n;
    int buffer = OpenToolCodeBuffer(fine.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(FINE MILL. POCKET ID %d VER.FACE)", pocket.rec.id));
    AppendCode(buffer, Sprintf("S%d M03", fine.cut.speed));
    for (int k = 1; k <= n; ++k)
        if (!Emit(pocket, fine, kWallPath, buffer, pocket.top - k * step, fine.cut.fxy, fine.cut.fz,
                  step, "Cannot follow specified pocket path"))
            return 0;
    if (!FinishesFloor(pocket.quality) || !s.excessmr)
        return 1;
    n = static_cast<int>(s.ffdz / fine.cut.cutxy) + 1;
    step = s.ffdz / n;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(FINE MILL. POCKET ID %d HOR.FACE)", pocket.rec.id));
    double floor = pocket.top - pocket.depth;
    for (int k = 1; k <= n; ++k)
        if (!Emit(pocket, fine, kSegmentPath, buffer, floor + s.ffdz - k * step, fine.cut.fxy,
                  fine.cut.fz, step, "Cannot follow specified pocket Path"))
            return 0;
    return 1;
}

int GFineAllPockets() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypePocket && Pocket_valid(index) &&
            !GFineThisPocket(index))
            return 0;
    }
    return 1;
}

} // namespace korvel
