// Pre-drill makers for threads, large drills, bores, long holes and pockets.
#include "cam/predrill.h"

#include <bitset>
#include <cmath>
#include <string>
#include <vector>

#include "base/text.h"
#include "cam/machining_data.h"
#include "cam/tool_select.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/drill.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "paths/pocket_path.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

int NoSpace(const std::string& text) { return Refuse(text, "No space for new drills!"); }

// The origin ID of a drill: the feature it exists for (its own ID for a user's drill).
int DrillCid(int index) { return GetCID(kTypeDrill, index); }

struct Reversal {
    int index;
    LongHole original;
};
std::vector<Reversal> g_reversed;

} // namespace

int AppendSystemDrill(int pid, int cid, double x, double y, double dia, double depth,
                      int assigned_tool, int tool, double chamfer) {
    int slot = NextDrill();
    if (slot < 0)
        return -1;
    int id = ExtNewID(kTypeDrill, slot, cid);
    if (id < 0) {
        RemoveDrill(slot);
        return -1;
    }
    Drill d;
    d.id = id;
    d.pid = pid;
    d.dia = dia;
    d.wz = depth;
    d.x = x;
    d.y = y;
    d.assigned_tool = assigned_tool;
    d.tool = tool;
    d.chamfer = chamfer;
    d.valid = 1;
    d.system = 1;
    PutDrill(d, slot);
    return slot;
}

// ---- Threads: the core hole ----------------------------------------------------------------

namespace {

int PredrillThisThread(int index) {
    Thread t;
    GetThread(t, index);
    t.predrill_dia = 0;
    PutThread(t, index);
    int row = ThreadTypeIndex(t.dia, t.pitch);
    if (row < 0)
        return Refuse(Sprintf("Thread ID %d", t.id), "Unknown thread type");
    // A left-hand thread has a negative pitch; its core hole is as deep as a right-hand one's.
    double pitch = std::fabs(t.pitch);
    double d, depth;
    if (t.predrill_tool > 0) {
        AttachedToolData tool;
        if (GetAttToolDataExt(t.predrill_tool, tool) < 0)
            return Refuse(Sprintf("T%d, selected manually for thread with id %d, is empty!",
                                  t.predrill_tool, t.id),
                          "Tool disappeared");
        d = tool.dia;
        depth = t.wz + 0.5 * pitch + (tool.type == kDrillTool ? 0.3 * d : 0);
    } else {
        d = ThreadDrill(row);
        depth = t.wz + 0.5 * pitch + 0.3 * d;
    }
    depth += GetSettings().dftlex;
    int slot = AppendSystemDrill(t.pid, t.id, t.x, t.y, d, depth, -1,
                                 t.predrill_tool > 0 ? t.predrill_tool : 0, t.chamfer);
    if (slot < 0)
        return NoSpace(Sprintf("Appending a drill for thread %0.3f x %0.3f failed!", t.dia, t.wz));
    t.predrill_dia = d;
    t.assigned_tool = -1;
    PutThread(t, index);
    return 1;
}

} // namespace

int DrillsForThreading(int pid) {
    for (int i = 0; i < kMaxThreads; ++i) {
        if (GetThreadPid(i) == pid && !PredrillThisThread(i))
            return 0;
    }
    return 1;
}

// ---- Drills whose tool needs a pre-drill ---------------------------------------------------

namespace {

int PredrillThisDrill(int index) {
    Drill d;
    GetDrill(d, index);
    int cid = DrillCid(index);
    int place = d.assigned_tool;
    if (d.tool > 0)
        place = d.tool;
    if (place <= 0)
        place = GetFirstExactDrillTool(d.dia, d.wz);
    AttachedToolData tool;
    if (place <= 0 || GetAttToolDataExt(place, tool) < 0) {
        std::string text = d.system
                               ? Sprintf("No tool has been attached for predrilling ID %d", cid)
                               : Sprintf("No tool has been attached for drill %d", d.id);
        return Refuse(text, "Tool(s) missing");
    }
    d.assigned_tool = place;
    PutDrill(d, index);
    if (!(tool.dia2 < tool.dia))
        return Refuse("Tool error: Predrilling diameter too big", tool.name);
    if (!(tool.dia2 > 0))
        return 1;
    int pre = GetClosestDrillTool(tool.dia2, d.wz);
    if (pre < 0 || pre == place)
        return Refuse(Sprintf("Drill %d needs predrilling, but no suitable drill is attached", cid),
                      "Tool(s) missing");
    AttachedToolData pre_tool;
    GetAttToolDataExt(pre, pre_tool);
    if (AppendSystemDrill(d.pid, cid, d.x, d.y, pre_tool.dia, d.wz, pre, 0, 0) < 0)
        return NoSpace(Sprintf("Appending a drill for predrilling drill %d failed!", cid));
    return 1;
}

} // namespace

int DrillsForLargeDrilling(int pid) {
    // A pre-drill may itself need one. A pre-drill made in a slot above the one being visited is
    // met later in the same pass; one made in a free slot below is met by the next pass, which
    // repeats until a pass makes no drill. Every drill is visited once.
    std::bitset<kMaxDrills> visited;
    for (bool again = true; again;) {
        again = false;
        for (int i = 0; i < kMaxDrills; ++i) {
            if (visited[i] || GetDrillPid(i) != pid || !(Drill_wz(i) > 0))
                continue;
            visited[i] = true;
            again = true;
            if (!PredrillThisDrill(i))
                return 0;
        }
    }
    return 1;
}

// ---- Bores ---------------------------------------------------------------------------------

namespace {

// The pre-drill diameter a rough tool needs to enter a bore roughed to diameter D: a face mill
// its diameter plus its dead zone less D, an end mill its minimum drill diameter; 0 or less
// means none.
double PredrillDiameter(int place, double D) {
    AttachedToolData t;
    if (GetAttToolDataExt(place, t) < 0)
        return 0;
    if (t.type == kFaceMillRough || t.type == kFaceMillFine)
        return t.dia + t.dia2 - D;
    return t.dia2;
}

bool IsBoringTool(int type) {
    return type == kFaceMillRough || type == kFaceMillFine || type == kEndMillRough ||
           type == kEndMillFine;
}

// A rough tool is usable when it needs no pre-drill or a drill exists for it.
bool Enters(int place, double D, double depth) {
    double p = PredrillDiameter(place, D);
    return p <= 0 || GetClosestDrillTool(p, depth) >= 0;
}

// The rough tool for a bore by the BORING setting; -1 after a message.
int ChooseBoringTool(const Bore& b, double D) {
    int choice = GetSettings().boring;
    int face = -1, end = -1;
    switch (choice) {
    case kChooseFaceMill:
        face = GetBestBoringFaceMill(D, b.wz);
        if (face < 0)
            Refuse(Sprintf("No facemill for milling cyl.pocket %d", b.id), "Tool(s) missing");
        return face;
    case kChooseSideOrEndMill:
        end = GetBestMill(kEndMillRough, D, b.wz);
        if (end < 0)
            Refuse(Sprintf("No endmill for milling cyl.pocket %d", b.id), "Tool(s) missing");
        return end;
    default:
        break;
    }
    face = GetBestBoringFaceMill(D, b.wz);
    end = GetBestMill(kEndMillRough, D, b.wz);
    int first = choice == 75 ? end : face;
    int second = choice == 75 ? face : end;
    if (first >= 0 && Enters(first, D, b.wz))
        return first;
    if (second >= 0 && Enters(second, D, b.wz))
        return second;
    Refuse(Sprintf("No suitable tools/tool-pairs present for milling cyl.pocket %d", b.id),
           "Tool(s) missing");
    return -1;
}

} // namespace

int SelectToolsAndPredrillThisBore(int bore_index) {
    Bore b;
    if (!GetBore(b, bore_index))
        return 1;
    b.chosen_rough = -1;
    b.chosen_fine = -1;
    PutBore(b, bore_index);
    int quality = b.quality == -1 ? GetSettings().quality : b.quality;
    double allowance = (b.system || quality == 0 || quality == 1) ? 0 : GetSettings().ffdxy;
    if (allowance > 0) {
        int fine = b.fine_tool > 0 ? b.fine_tool : GetBestMill(kEndMillFine, b.dia, b.wz);
        if (fine < 0)
            return Refuse(Sprintf("No endmill for fine milling cyl.pocket %d", b.id),
                          "Tool(s) missing");
        b.chosen_fine = fine;
        PutBore(b, bore_index);
    }
    double D = b.dia - allowance;
    int rough = -1;
    if (b.rough_tool > 0) {
        AttachedToolData t;
        if (GetAttToolDataExt(b.rough_tool, t) < 0 || !IsBoringTool(t.type))
            return Refuse(Sprintf("Preselected tool unsuitable for cyl.pocket %d", b.id),
                          "Please select another tool");
        rough = b.rough_tool;
    } else {
        rough = ChooseBoringTool(b, D);
        if (rough < 0)
            return 0;
    }
    double p = PredrillDiameter(rough, D);
    if (p <= 0) {
        b.chosen_rough = rough;
        PutBore(b, bore_index);
        return 1;
    }
    int drill = GetClosestDrillTool(p, b.wz);
    if (drill < 0)
        return Refuse(Sprintf("No drill for predrilling cyl.pocket %d", b.id), "Tool(s) missing");
    AttachedToolData drill_tool;
    GetAttToolDataExt(drill, drill_tool);
    if (drill_tool.dia > D)
        return Refuse(Sprintf("No drill for predrilling cyl.pocket %d (Drill dia too big)", b.id),
                      "Tool(s) missing");
    b.chosen_rough = rough;
    PutBore(b, bore_index);
    int cid = GetCID(kTypeBore, bore_index);
    if (AppendSystemDrill(b.pid, cid, b.x, b.y, drill_tool.dia, b.wz, drill, 0, 0) < 0)
        return NoSpace(Sprintf("Appending a drill for predrilling cyl.pocket %d failed!", b.id));
    return 1;
}

int DrillsForBores(int pid) {
    for (int i = 0; i < kMaxBores; ++i) {
        if (Bore_pid(i) == pid && !SelectToolsAndPredrillThisBore(i))
            return 0;
    }
    return 1;
}

// ---- Long holes ----------------------------------------------------------------------------

namespace {

bool StrictlyInside(double x, double y, double x0, double y0, double x1, double y1) {
    return x > x0 && x < x1 && y > y0 && y < y1;
}

int PredrillThisLongHole(int index) {
    LongHole h;
    GetLongHole(h, index);
    int mill = GetBestMill(kEndMillRough, h.dia, h.wz);
    if (mill < 0)
        return Refuse(Sprintf("No endmill attached for longhole %d", h.id), "Tool(s) missing");
    h.chosen_tool = mill;
    PutLongHole(h, index);
    AttachedToolData tool;
    GetAttToolDataExt(mill, tool);
    CuttingData data;
    bool plunges = tool.dia2 <= 0 && PlaceCuttingData(mill, data) && data.fz > 0;
    if (plunges)
        return 1;
    // A cutter that starts beside the block needs no hole to enter: the slot is cut from the
    // end that lies outside.
    BlockRecord b = GetBlock();
    double r = tool.dia / 2;
    double x0 = b.x - r, y0 = b.y - r, x1 = b.x + b.length + r, y1 = b.y + b.width + r;
    if (!StrictlyInside(h.x, h.y, x0, y0, x1, y1))
        return 1;
    if (!StrictlyInside(h.x + h.lx, h.y + h.ly, x0, y0, x1, y1)) {
        g_reversed.push_back({index, h});
        h.x += h.lx;
        h.y += h.ly;
        h.lx = -h.lx;
        h.ly = -h.ly;
        PutLongHole(h, index);
        return 1;
    }
    int drill = GetClosestDrillTool(tool.dia2, h.wz);
    if (drill < 0)
        return Refuse(Sprintf(" No drill attached for longhole %d", h.id), "Tool(s) missing");
    AttachedToolData drill_tool;
    GetAttToolDataExt(drill, drill_tool);
    int cid = GetCID(kTypeLongHole, index);
    if (AppendSystemDrill(h.pid, cid, h.x, h.y, drill_tool.dia, h.wz, drill, 0, 0) < 0)
        return NoSpace(Sprintf("Appending a drill for longhole %d failed!", h.id));
    return 1;
}

} // namespace

int DrillsForLongHoles(int pid) {
    for (int i = 0; i < kMaxLongHoles; ++i) {
        if (GetLongHolePid(i) == pid && !PredrillThisLongHole(i))
            return 0;
    }
    return 1;
}

void RestoreReversedLongHoles() {
    // Last reversal first, so that a hole reversed twice gets its very first state back.
    for (auto it = g_reversed.rbegin(); it != g_reversed.rend(); ++it) {
        LongHole now;
        if (GetLongHole(now, it->index) && now.id == it->original.id) {
            LongHole restored = it->original;
            restored.z = now.z;
            restored.chosen_tool = -1;
            PutLongHole(restored, it->index);
        }
    }
    g_reversed.clear();
}

void ForgetReversedLongHoles() { g_reversed.clear(); }

// ---- Pockets -------------------------------------------------------------------------------

namespace {

// The wall contour of pocket milling: it plunges at this path's first point.
constexpr int kPocketRoughPath = 1;

} // namespace

int DrillForThisPocket(int pocket_index) {
    if (!SelectPocketTools(pocket_index))
        return 0;
    Pocket p;
    if (!GetPocket(pocket_index, p) || !(p.wz > 0))
        return 0;
    if (p.chosen_predrill < 0)
        return 1;
    AttachedToolData mill, drill;
    if (GetAttToolDataExt(p.chosen_rough, mill) < 0 ||
        GetAttToolDataExt(p.chosen_predrill, drill) < 0)
        return 0;
    double allowance = PocketFinishAllowance(p.chosen_fine);
    double x, y;
    if (!MakePocketPath(kPocketRoughPath, pocket_index, mill.dia / 2 + allowance) ||
        !GetPocketPathDrillPoint(kPocketRoughPath, x, y))
        return Refuse(Sprintf("Can't make path for pocket %d", p.id), "Path error");
    int cid = GetCID(kTypePocket, pocket_index);
    if (AppendSystemDrill(p.pid, cid, x, y, drill.dia, p.wz, p.chosen_predrill, 0, 0) < 0)
        return NoSpace(Sprintf("Appending a drill for predrilling pocket %d failed!", p.id));
    return 1;
}

int DrillsForPockets(int pid) {
    for (int i = 0; i < kMaxPockets; ++i) {
        if (Pocket_valid(i) && GetPocketPid(i) == pid && !DrillForThisPocket(i))
            return 0;
    }
    return 1;
}

} // namespace korvel
