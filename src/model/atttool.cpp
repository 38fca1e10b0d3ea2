// The attached tools and the preselections that refer to them.
#include "model/atttool.h"

#include <array>
#include <functional>

#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/mparam.h"
#include "model/pocket.h"
#include "model/thread.h"
#include "platform/platform.h"
#include "base/errors.h"
#include "base/keyword_codes.h"
#include "model/settings.h"
#include "base/text.h"
#include "base/units.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

std::array<AttachedTool, kMaxPlaces + 1> g_places; // place 0 unused

bool ValidPlace(int place) { return place >= 1 && place <= kMaxPlaces; }

// Visits every preselection in the project: visit(tool number, the object that owns the
// milling parameters going with it, their kind, a function that resets the preselection).
using Reset = std::function<void()>;

template <class Record, class Get, class Put>
Reset Resetter(int slot, Get get, Put put, int Record::*field) {
    return [=] {
        Record r;
        get(r, slot);
        r.*field = 0;
        put(r, slot);
    };
}

void ForEachPreselection(const std::function<void(int, int, int, const Reset&)>& visit) {
    BlockRecord block = GetBlock();
    if (block.valid) {
        visit(block.rough_tool, block.id, kRoughMilling, [] {
            BlockRecord b = GetBlock();
            b.rough_tool = 0;
            PutBlock(b);
        });
        visit(block.fine_tool, block.id, kFinishing, [] {
            BlockRecord b = GetBlock();
            b.fine_tool = 0;
            PutBlock(b);
        });
    }
    auto get_bulge = [](Bulge& r, int i) { GetBulge(i, r); };
    auto put_bulge = [](const Bulge& r, int i) { PutBulge(i, r); };
    for (int i = 0; i < kMaxBulges; ++i) {
        Bulge b;
        if (!GetBulge(i, b))
            continue;
        visit(b.rough_tool, b.id, kRoughMilling,
              Resetter(i, get_bulge, put_bulge, &Bulge::rough_tool));
        visit(b.fine_tool, b.id, kFinishing, Resetter(i, get_bulge, put_bulge, &Bulge::fine_tool));
    }
    auto get_pocket = [](Pocket& r, int i) { GetPocket(i, r); };
    auto put_pocket = [](const Pocket& r, int i) { PutPocket(i, r); };
    for (int i = 0; i < kMaxPockets; ++i) {
        Pocket p;
        if (!GetPocket(i, p))
            continue;
        visit(p.rough_tool, p.id, kRoughMilling,
              Resetter(i, get_pocket, put_pocket, &Pocket::rough_tool));
        visit(p.fine_tool, p.id, kFinishing,
              Resetter(i, get_pocket, put_pocket, &Pocket::fine_tool));
    }
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i))
            visit(d.tool, d.id, kDrilling, Resetter(i, GetDrill, PutDrill, &Drill::tool));
    }
    for (int i = 0; i < kMaxThreads; ++i) {
        Thread t;
        if (!GetThread(t, i))
            continue;
        visit(t.tool, t.id, kThreadCutting, Resetter(i, GetThread, PutThread, &Thread::tool));
        visit(t.predrill_tool, t.id, kDrilling,
              Resetter(i, GetThread, PutThread, &Thread::predrill_tool));
    }
    for (int i = 0; i < kMaxBores; ++i) {
        Bore b;
        if (!GetBore(b, i))
            continue;
        visit(b.rough_tool, b.id, kRoughMilling, Resetter(i, GetBore, PutBore, &Bore::rough_tool));
        visit(b.fine_tool, b.id, kFinishing, Resetter(i, GetBore, PutBore, &Bore::fine_tool));
    }
}

bool InUse(const std::string& name) { return ToolIsAttached(name); }

} // namespace

void InitAttachedTools() {
    g_places.fill(AttachedTool());
    SetToolInUseCheck(InUse);
}

AttachedTool GetAttachedTool(int place) {
    return ValidPlace(place) ? g_places[place] : AttachedTool();
}

void PutAttachedTool(int place, const AttachedTool& tool) {
    if (ValidPlace(place))
        g_places[place] = tool;
}

void DetachTool(int place) { PutAttachedTool(place, AttachedTool()); }

int GetAttToolDataExt(int place, AttachedToolData& data) {
    if (!ValidPlace(place) || place > GetSettings().toolholder || g_places[place].name.empty())
        return -1;
    const AttachedTool& a = g_places[place];
    data = AttachedToolData();
    data.name = a.name;
    if (GetToolDataExt(a.name, data.type, data.dia, data.dia2, data.length, data.flutes, data.pitch,
                       nullptr) < 0)
        return -1;
    data.dia -= a.wear;
    return data.type;
}

int GetAttToolData(int place, int& type, double& dia, double& length) {
    AttachedToolData data;
    if (GetAttToolDataExt(place, data) < 0)
        return -1;
    type = data.type;
    dia = data.dia;
    length = data.length;
    return type;
}

bool ToolIsAttached(const std::string& name) {
    for (int place = 1; place <= kMaxPlaces; ++place)
        if (!g_places[place].name.empty() && g_places[place].name == name)
            return true;
    return false;
}

bool ToolManualySelected(int place) {
    bool selected = false;
    ForEachPreselection([&](int tool, int, int, const Reset&) { selected |= tool == place; });
    return selected;
}

void ClearToolManualSelections(int place) {
    ForEachPreselection([&](int tool, int owner, int kind, const Reset& reset) {
        if (tool != place)
            return;
        reset();
        DeleteMParam(owner, kind);
        if (kind == kThreadCutting)
            DeleteMParam(owner, kThreadMilling);
    });
}

int DetachToolsBeyondHolder() {
    int detached = 0;
    for (int place = GetSettings().toolholder + 1; place <= kMaxPlaces; ++place) {
        if (!g_places[place].name.empty()) {
            DetachTool(place);
            ++detached;
        }
    }
    return detached;
}

std::string WriteAttToolData(int place) {
    if (!ValidPlace(place) || g_places[place].name.empty())
        return "";
    const AttachedTool& a = g_places[place];
    std::string name = a.name;
    Blank2UScore(name);
    name = QuoteIfNeeded(NameToken(name));
    return Sprintf("$%d %d %s %d %0.5f %0.5f\n", kAtttool, place, name.c_str(), a.extra_code,
                   a.wear, a.second);
}

int AttToolCom(const char* file, int line) {
    if (ArgCount() != 6)
        return SyntaxError(file, line);
    int place = ArgI(1);
    if (!ValidPlace(place))
        return OutOfRange(file, line);
    const Settings& s = GetSettings();
    if (place > s.toolholder) {
        std::string text =
            s.machine_name.empty()
                ? Sprintf("Toolholder has been defined to have %d tool slots.\nCan't attach tool "
                          "T%d",
                          s.toolholder, place)
                : Sprintf("%s has a toolholder with %d slots.\nCan't attach tool T%d",
                          s.machine_name.c_str(), s.toolholder, place);
        ShowMessage(text, "Data out of range!", kMbOk | kMbIconExclamation);
        return 0;
    }
    AttachedTool a;
    a.name = NameToken(Arg(2));
    UScore2Blank(a.name);
    a.name = a.name.substr(0, kMaxDbName);
    a.extra_code = ArgI(3);
    a.wear = ArgF(4) * UnitFactor();
    a.second = ArgF(5) * UnitFactor();
    g_places[place] = a;
    return 1;
}

} // namespace korvel
