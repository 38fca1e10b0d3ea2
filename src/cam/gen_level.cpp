// Bulge level milling: tool choice, rough milling in depth steps, rough finishing, and fine
// finishing of walls and floors.
#include "cam/gen_level.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/path_emit.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/mparam.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/level_path.h"
#include "paths/path_filter.h"
#include "paths/path_table.h"
#include "paths/path_time.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

constexpr const char* kPathError = "Path error";
constexpr const char* kToolsMissing = "Tool(s) missing";
constexpr const char* kUnsuitable = "Unsuitble tool";

// A limit on the tool's diameter that no tool meets: an inside arc too small for any tool
// (its radius not above the tolerance offset), or no room left beside the allowance. GetBestMill
// reads a limit of 0 or less as "no limit", so such a level must not pass 0.
constexpr double kNoToolFits = 1e-6;

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

// The bulges of one level and what they share, read from the first of them.
struct LevelData {
    int level = -1;
    std::vector<int> bulges; // slots, in the order the level's bulges are found
    Bulge first;
    double depth = 0; // the bulges' height: the material to remove
    double floor = 0; // the level they stand on: the floor of the milling
    int quality = 0;  // 0..5, the global QUALITY when the bulge says -1
};

bool ReadLevel(int level, LevelData& out) {
    out.level = level;
    for (int b = FindFirstLevelBulge(level); b >= 0; b = FindNextLevelBulge(level))
        out.bulges.push_back(b);
    if (out.bulges.empty())
        return false;
    GetBulge(out.bulges[0], out.first);
    out.depth = out.first.wz;
    out.floor = out.first.z;
    out.quality = out.first.quality < 0 ? GetSettings().quality : out.first.quality;
    return true;
}

bool FinishesWalls(int q) { return q >= 2; }
bool FinishesFloor(int q) { return q == 4 || q == 5; }
bool RoughFinishes(int q) { return q == 1 || q == 3 || q == 5; }

int DeclareLevelProcessed(const LevelData& level) {
    for (int b : level.bulges)
        DeclareObjectProcessed(Bulge_id(b));
    return 1;
}

// A bulge covering the whole block, or bulges without height: nothing to mill.
bool NothingToMill(const LevelData& level) {
    return BulgeEqualsBlock(level.bulges[0]) || equal(level.depth, 0);
}

// The largest tool diameter that rounds the inside arcs of every bulge of the level: twice the
// smallest clockwise-arc radius, less the tolerance offset, of any of them; 0 (no limit) when
// none has such an arc. Every bulge counts, whatever its place in the level: a bulge without
// inside arcs lifts no other bulge's limit.
double LevelDmax(const LevelData& level) {
    double m = 0;
    for (int b : level.bulges) {
        Bulge bulge;
        double radius = 0;
        if (!GetBulge(b, bulge) || !SmallestArcRadius(bulge.shape, kCwArc, radius))
            continue;
        double v = std::max(radius - 0.001 * bulge.tol_offset, kNoToolFits / 2);
        if (m == 0 || v < m)
            m = v;
    }
    return 2 * m;
}

// The limit for the milling tool, which leaves the allowance a beside it.
double MillLimit(double dmax, double a) {
    if (dmax <= 0)
        return 0;
    return std::max(dmax - a, kNoToolFits);
}

// A magazine place's tool with the cutting data it runs with on this level.
struct LevelTool {
    int place = -1;
    std::string name;
    int type = -1;
    double dia = 0, length = 0;
    CuttingData cut;
};

// The tool in `place`: its geometry, and the database's cutting data for the block's material
// with the level's own milling parameters of `kind` in their place where the user set them.
// False when the place holds no tool.
bool ReadLevelTool(int place, const LevelData& level, int kind, LevelTool& tool) {
    tool = LevelTool{};
    tool.place = place;
    if (place < 1 || GetAttToolData(place, tool.type, tool.dia, tool.length) < 0)
        return false;
    tool.name = PlaceToolName(place);
    PlaceCuttingData(place, tool.cut);
    int speed = 0;
    double v[4] = {0, 0, 0, 0};
    if (RetrieveLevelMParam(level.bulges[0], kind, speed, v)) {
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

void AssignTools(const LevelData& level, int mill, int finish) {
    for (int b : level.bulges) {
        Bulge bulge;
        if (!GetBulge(b, bulge))
            continue;
        if (mill != 0)
            bulge.mill_tool = mill;
        if (finish != 0)
            bulge.finish_tool = finish;
        PutBulge(b, bulge);
    }
}

// The finishing tool (quality 2 and above): the preselected one, else the fine end mill of the
// largest diameter that rounds the level's inside arcs. 0 after a message.
int ChooseFinishingTool(const LevelData& level, double dmax, LevelTool& fine) {
    int place = level.first.fine_tool > 0 ? level.first.fine_tool
                                          : GetBestMill(kEndMillFine, dmax, level.depth);
    if (!ReadLevelTool(place, level, kFinishing, fine))
        return Refuse(Sprintf("No suitable finishing tool for level %d", level.level),
                      kToolsMissing);
    if (fine.length < level.depth)
        return Refuse(Sprintf("Selected finishing tool T%d [%s] too short for level %d", place,
                              fine.name.c_str(), level.level),
                      kUnsuitable);
    AssignTools(level, 0, place);
    return 1;
}

// The rough tool by CONTURING: its last digit names the kind tried first (7 rough face mills,
// 5 rough end mills), its tens digit the kind tried when none of the first fits.
int MillByConturing(double limit, double depth) {
    int conturing = GetSettings().conturing;
    int first = conturing % 10, fallback = conturing / 10 % 10;
    if (first != kChooseFaceMill && first != kChooseSideOrEndMill)
        return -1;
    auto type = [](int choice) {
        return choice == kChooseFaceMill ? kFaceMillRough : kEndMillRough;
    };
    int place = GetBestMill(type(first), limit, depth);
    bool other = (first == kChooseFaceMill && fallback == kChooseSideOrEndMill) ||
                 (first == kChooseSideOrEndMill && fallback == kChooseFaceMill);
    if (place < 0 && other)
        place = GetBestMill(type(fallback), limit, depth);
    return place;
}

// The milling tool: the preselected one, else chosen by CONTURING (with excess material
// removal) or the rough end mill of the largest diameter (without, since it must plunge).
// Assigned to every bulge; its length and cutting data checked. 0 after a message.
int ChooseMillingTool(const LevelData& level, double limit, bool emr, LevelTool& mill) {
    int place = level.first.rough_tool;
    if (place <= 0)
        place = emr ? MillByConturing(limit, level.depth)
                    : GetBestMill(kEndMillRough, limit, level.depth);
    if (!ReadLevelTool(place, level, kRoughMilling, mill))
        return Refuse(Sprintf(emr ? "No suitable milling tool for level %d"
                                  : "No suitable endmill for level %d",
                              level.level),
                      kToolsMissing);
    AssignTools(level, place, 0);
    if (mill.length < level.depth)
        return Refuse(Sprintf("Selected milling tool T%d [%s] too short for level %d", place,
                              mill.name.c_str(), level.level),
                      kUnsuitable);
    if (!(mill.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", mill.name);
    if (!(mill.cut.cutz > 0))
        return Refuse("Cutting depth Cz out of range", mill.name);
    if (!emr && !(mill.cut.fz > 0))
        return Refuse("Plunging rate Fz out of range", mill.name);
    return 1;
}

// Whether the level may be milled with its contours at offset r: 1 when they keep clear of
// themselves and each other, or when the user chooses to go on although they do not (the
// program would then cut into the features that stand too close). 0 otherwise.
int ContoursAccepted(const LevelData& level, double r) {
    int crossing = LevelContoursCross(level.level, r);
    if (crossing < 0)
        return 0;
    if (crossing == 0)
        return 1;
    return ShowMessage(std::string(kLevelCrossingText) + "\nContinue anyway?",
                       "WARNING! Path intersection", kMbYesNo | kMbIconExclamation) == kIdYes;
}

// The level's area path into the XL path, scanning along Y or X.
bool BuildLevelPath(const LevelData& level, double r, double overlap, double dia, bool along_y) {
    if (along_y)
        return MakeLevelPathY(level.level, r, overlap, dia, kCrossingsChecked) > 0;
    return MakeLevelPathX(level.level, r, overlap, dia, kCrossingsChecked) > 0;
}

// Emits the XL path at z and adds its time to the tool. 0 after the message `failure`.
int EmitXL(const LevelTool& tool, int buffer, double z, double feed, double plunge, double approach,
           const std::string& failure) {
    AddMillTime(tool.place, CalcXLPathTime(z, feed, plunge));
    if (!GXLPath(buffer, z, feed, plunge, approach))
        return Refuse(failure, kPathError);
    return 1;
}

// The filter and the optimiser of the XL path, when OPTIMISE is on. 0 after an internal error.
int OptimiseXL(double r) {
    if (!GetSettings().optimise)
        return 1;
    PathRef xl = GetXLPath();
    return PathFilter_Block(xl.points, *xl.count, r) && PathOptimiser(xl.points, *xl.count, r);
}

// Opens the tool's buffer with the level's comment and the spindle speed; -1 on failure.
int OpenLevelBuffer(const LevelTool& tool, const std::string& comment) {
    int buffer = OpenToolCodeBuffer(tool.place);
    if (buffer < 0)
        return -1;
    if (CommentsOn())
        AppendCode(buffer, comment);
    AppendCode(buffer, Sprintf("S%d M03", tool.cut.speed));
    return buffer;
}

// Rough milling in equal depth steps down to the floor allowance f.
int RoughMill(const LevelData& level, const LevelTool& mill, double f, int& buffer) {
    int n = static_cast<int>((level.depth - f) / mill.cut.cutz) + 1;
    double step = (level.depth - f) / n;
    buffer = OpenLevelBuffer(mill, Sprintf("(MILLING LEVEL %d)", level.level));
    if (buffer < 0)
        return 0;
    std::string failure = Sprintf("Cannot follow path for milling level %d", level.level);
    for (int k = 1; k <= n; ++k) {
        double z = level.floor + level.depth - k * step;
        if (!EmitXL(mill, buffer, z, mill.cut.fxy, mill.cut.fxy, step, failure))
            return 0;
    }
    return 1;
}

// Rough finishing: one area pass at the floor (above the fine allowance with quality 5), at
// the speed and feed overrides. `buffer` is -1 when rough milling had nothing to do.
int RoughFinish(const LevelData& level, const LevelTool& mill, double r, int buffer) {
    const Settings& s = GetSettings();
    if (!BuildLevelPath(level, r, s.rf_overlap, mill.dia, level.first.scan & 2))
        return Refuse(Sprintf("Cannot make path for rough finishing level %d", level.level),
                      kPathError);
    bool milled = buffer >= 0;
    if (!milled && (buffer = OpenToolCodeBuffer(mill.place)) < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(ROUGH FINISHING LEVEL %d)", level.level));
    bool override_speed = s.rfsor != 1;
    if (override_speed)
        AppendCode(buffer, Sprintf("S%d M03", static_cast<int>(mill.cut.speed * s.rfsor)));
    else if (!milled)
        AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    double z = level.floor + (level.quality == 5 ? s.ffdz : 0);
    double feed = mill.cut.fxy * s.rffor;
    if (!EmitXL(mill, buffer, z, feed, feed, 0,
                Sprintf("Cannot follow path for rough finishing level %d", level.level)))
        return 0;
    if (override_speed)
        AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    return 1;
}

// The contour of bulge b at offset r into the XL path (through path 0). 0 after an error.
int ContourToXL(int b, double r) {
    ClearPaths();
    if (!MakeBulgePath(0, b, r))
        return 0;
    ClearXLPath();
    PathRef contour = GetPath(0), xl = GetXLPath();
    for (int i = 0; i < contour.size(); ++i)
        AppendPathPoint(xl, contour[i]);
    return OptimiseXL(r);
}

// The finishing contour of bulge b into the XL path: a move to the contour at offset `lead`
// (outside the allowance), then the contour at offset rt, entered by a line. 0 after an error.
int FinishingContourToXL(int b, double rt, double lead) {
    ClearPaths();
    if (!MakeBulgePath(0, b, lead) || !MakeBulgePath(1, b, rt))
        return 0;
    ClearXLPath();
    PathRef entry = GetPath(0), contour = GetPath(1), xl = GetXLPath();
    AppendPathPoint(xl, PathPoint{entry[0].x, entry[0].y, 0, kRapid});
    for (int i = 0; i < contour.size(); ++i) {
        PathPoint p = contour[i];
        if (i == 0) {
            p.kind = kLine;
            p.radius = 0;
        }
        AppendPathPoint(xl, p);
    }
    return OptimiseXL(rt);
}

// Fine finishing of the walls, bulge by bulge, in passes no deeper than the tool's diameter
// and length; the pass at the floor only when no floor pass follows.
int FinishWalls(const LevelData& level, const LevelTool& fine, int buffer) {
    double rt = fine.dia / 2;
    double p = std::min(fine.dia, fine.length);
    if (!(p > 0))
        p = level.depth;
    int n = static_cast<int>(level.depth / p) + 1;
    double step = level.depth / n;
    bool at_floor = level.quality == 2 || level.quality == 3 || !GetSettings().excessmr;
    for (int b : level.bulges) {
        if (!FinishingContourToXL(b, rt, fine.cut.cutxy / 2 + rt))
            return 0;
        std::string failure = Sprintf("Cannot follow path for finishing level %d, bulge id %d",
                                      level.level, Bulge_id(b));
        for (int k = 1; k <= n - 1; ++k) {
            double z = level.floor + level.depth - k * step;
            if (!EmitXL(fine, buffer, z, fine.cut.fxy, fine.cut.fxy, step, failure))
                return 0;
        }
        if (at_floor && !EmitXL(fine, buffer, level.floor, fine.cut.fxy, fine.cut.fxy, 0, failure))
            return 0;
    }
    return 1;
}

// Fine finishing of the floor: one area pass with the finishing tool at the floor.
int FinishFloor(const LevelData& level, const LevelTool& fine, int buffer) {
    if (!BuildLevelPath(level, fine.dia / 2, GetSettings().overlap, fine.dia, level.first.scan & 2))
        return Refuse(Sprintf("Cannot make path for finishing level %d", level.level), kPathError);
    return EmitXL(fine, buffer, level.floor, fine.cut.fxy, fine.cut.fxy, 0,
                  Sprintf("Cannot follow path for finishing level %d", level.level));
}

} // namespace

int BulgeEqualsBlock(int bulge_index) {
    Bulge bulge;
    if (bulge_index < 0 || bulge_index >= kMaxBulges || !GetBulge(bulge_index, bulge))
        return 0;
    if (bulge.kind != kShapeRectangle || bulge.shape.n < 1 || bulge.shape.v[0].radius != 0)
        return 0;
    BlockRecord block = GetBlock();
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ShapeExtent(bulge.shape, x0, y0, x1, y1);
    return equal(x0, block.x) && equal(y0, block.y) && equal(x1, block.x + block.length) &&
           equal(y1, block.y + block.width);
}

int GThisLevel(int level_number) {
    LevelData level;
    if (!ReadLevel(level_number, level))
        return 1;
    if (NothingToMill(level))
        return DeclareLevelProcessed(level);
    const Settings& s = GetSettings();
    double dmax = LevelDmax(level);
    LevelTool fine, mill;
    double a = 0; // the wall allowance for fine finishing, across both sides of the tool
    if (FinishesWalls(level.quality)) {
        if (!ChooseFinishingTool(level, dmax, fine))
            return 0;
        a = s.ffdxy;
        if (fine.cut.cutxy > 0 && fine.cut.cutxy < a)
            a = fine.cut.cutxy;
    }
    if (!ChooseMillingTool(level, MillLimit(dmax, a), true, mill))
        return 0;
    double r = (mill.dia + a) / 2;
    if (!ContoursAccepted(level, r))
        return 0;
    if (!BuildLevelPath(level, r, s.overlap, mill.dia, level.first.scan & 1))
        return Refuse(Sprintf("Cannot make path for milling level %d", level_number), kPathError);
    double f = FinishesFloor(level.quality) ? s.ffdz : 0;
    if (!(f < level.depth))
        return DeclareLevelProcessed(level);
    int buffer = -1;
    if (RoughFinishes(level.quality))
        f += s.rfdz;
    if (!RoughFinishes(level.quality) || level.depth > f) {
        if (!RoughMill(level, mill, f, buffer))
            return 0;
    }
    if (RoughFinishes(level.quality) && !RoughFinish(level, mill, r, buffer))
        return 0;
    return DeclareLevelProcessed(level);
}

int GThisLevel_NEMR(int level_number) {
    LevelData level;
    if (!ReadLevel(level_number, level))
        return 1;
    if (NothingToMill(level))
        return DeclareLevelProcessed(level);
    double dmax = LevelDmax(level);
    LevelTool fine, mill;
    double a = 0;
    if (FinishesWalls(level.quality)) {
        if (!ChooseFinishingTool(level, dmax, fine))
            return 0;
        a = std::max(GetSettings().ffdxy, fine.cut.cutxy);
    }
    if (!ChooseMillingTool(level, MillLimit(dmax, a), false, mill))
        return 0;
    double r = (mill.dia + a) / 2;
    if (!ContoursAccepted(level, r))
        return 0;
    int buffer = OpenToolCodeBuffer(mill.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn()) {
        AppendCode(buffer, Sprintf("(MILLING LEVEL %d)", level_number));
        AppendCode(buffer, "(NO EXCESS MATERIAL REMOVAL)");
    }
    AppendCode(buffer, Sprintf("S%d M03", mill.cut.speed));
    int n = static_cast<int>(level.depth / mill.cut.cutz) + 1;
    double step = level.depth / n;
    for (int b : level.bulges) {
        if (!ContourToXL(b, r))
            return 0;
        std::string failure = Sprintf("Cannot follow path for finishing level %d, bulge id %d",
                                      level_number, Bulge_id(b));
        for (int k = 1; k <= n; ++k) {
            double z = level.floor + level.depth - k * step;
            if (!EmitXL(mill, buffer, z, mill.cut.fxy, mill.cut.fz, step, failure))
                return 0;
        }
    }
    return DeclareLevelProcessed(level);
}

int GFineThisLevel(int level_number) {
    LevelData level;
    if (!ReadLevel(level_number, level) || !FinishesWalls(level.quality) || NothingToMill(level))
        return 1;
    int place = level.first.finish_tool;
    LevelTool fine;
    if (place < 1 || !ReadLevelTool(place, level, kFinishing, fine))
        return Refuse("Tool disapeared", "GFineThisLevel()");
    if (!(fine.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", fine.name);
    if (!(fine.cut.cutxy > 0))
        return Refuse("Cutting depth Cxy out of range", fine.name);
    if (!ContoursAccepted(level, fine.dia / 2))
        return 0;
    int buffer = OpenLevelBuffer(fine, Sprintf("(FINISHING LEVEL %d)", level_number));
    if (buffer < 0 || !FinishWalls(level, fine, buffer))
        return 0;
    if (!FinishesFloor(level.quality) || !GetSettings().excessmr)
        return 1;
    return FinishFloor(level, fine, buffer);
}

} // namespace korvel
