// Coincident drills, spots, the order of drilling tools, and removing what a run added.
#include "cam/drill_order.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/thread.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

bool Similar(const Drill& a, const Drill& b) {
    return a.pid == b.pid && approx_equal(a.dia, b.dia) && approx_equal(a.x, b.x) &&
           approx_equal(a.y, b.y);
}

} // namespace

int NextSimilarDrill(int index) {
    Drill d;
    if (!GetDrill(d, index))
        return -1;
    for (int j = index + 1; j < kMaxDrills; ++j) {
        Drill other;
        if (GetDrill(other, j) && Similar(d, other))
            return j;
    }
    return -1;
}

void ActivateDrills(int pid) {
    for (int i = kMaxDrills - 1; i >= 0; --i) {
        Drill d;
        if (!GetDrill(d, i) || d.pid != pid)
            continue;
        d.drilling_active = 1;
        d.chamfer_active = d.chamfer > 0 ? 1 : 0;
        for (int j = NextSimilarDrill(i); j >= 0 && (d.drilling_active || d.chamfer_active);
             j = NextSimilarDrill(j)) {
            Drill other;
            GetDrill(other, j);
            if (d.drilling_active && other.drilling_active) {
                if (d.wz <= other.wz)
                    d.drilling_active = 0;
                else
                    other.drilling_active = 0;
            }
            if (d.chamfer_active && other.chamfer_active) {
                if (d.chamfer <= other.chamfer)
                    d.chamfer_active = 0;
                else
                    other.chamfer_active = 0;
            }
            PutDrill(other, j);
        }
        PutDrill(d, i);
    }
}

int SpotsForDrilling(int pid) {
    std::vector<int> spots_here; // the parent's spots, so that each drill is checked against them
    for (int s = 0; s < kMaxSpots; ++s)
        if (GetSpotPid(s) == pid)
            spots_here.push_back(s);
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        FindID(id, type, index);
        if (type != kTypeDrill)
            continue;
        Drill d;
        if (!GetDrill(d, index)) {
            ShowMessage("Error in SpotsForDrilling()", "Internal error", kMbOk | kMbIconError);
            return 0;
        }
        if (d.pid != pid)
            continue;
        bool present = false;
        for (int s : spots_here) {
            Spot spot;
            GetSpot(spot, s);
            if (approx_equal(spot.x, d.x) && approx_equal(spot.y, d.y)) {
                present = true;
                break;
            }
        }
        if (present)
            continue;
        int cid = GetCID(kTypeDrill, index); // the ID the user knows: the feature's own
        int slot = NextSpot();
        int spot_id = slot < 0 ? -1 : ExtNewID(kTypeSpot, slot, cid);
        if (spot_id < 0) {
            if (slot >= 0)
                RemoveSpot(slot);
            ShowMessage(Sprintf("Appending a center drill for drill with id=%d at X%0.3f Y%0.3f "
                                "failed",
                                cid, d.x, d.y),
                        "No space for new center drills!", kMbOk | kMbIconExclamation);
            return 0;
        }
        Spot spot;
        spot.id = spot_id;
        spot.pid = d.pid;
        spot.x = d.x;
        spot.y = d.y;
        spot.z = d.z;
        spot.valid = 1;
        PutSpot(spot, slot);
        spots_here.push_back(slot);
    }
    return 1;
}

bool DrillNeeded(int place, int pid) {
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i) && d.pid == pid && d.drilling_active && d.assigned_tool == place)
            return true;
    }
    return false;
}

int PreOpenDrillToolBuffers(int pid) {
    struct Needed {
        int place;
        double dia;
    };
    std::vector<Needed> tools;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (!CandidatePlace(place) || GetAttToolDataExt(place, t) != kDrillTool ||
            !DrillNeeded(place, pid))
            continue;
        tools.push_back({place, t.dia});
    }
    // Selection sort by diameter: equal diameters keep their place order.
    for (std::size_t i = 0; i < tools.size(); ++i) {
        std::size_t smallest = i;
        for (std::size_t j = i + 1; j < tools.size(); ++j)
            if (tools[j].dia < tools[smallest].dia)
                smallest = j;
        if (smallest != i) {
            Needed moved = tools[smallest];
            tools.erase(tools.begin() + static_cast<long>(smallest));
            tools.insert(tools.begin() + static_cast<long>(i), moved);
        }
    }
    // Buffers are written in the order they were opened. A tool that already has a buffer from
    // an earlier parent keeps using it, which would put its drills before those of a smaller
    // tool opened now, and a pre-drill after the drill it serves. Then every tool of this parent
    // gets a new buffer, in ascending diameter.
    bool ascending = true;
    int last = -1;
    for (const Needed& n : tools) {
        int buffer = FindToolCodeBuffer(n.place);
        int position = buffer >= 0 ? buffer : kCodeBuffers;
        if (position < last)
            ascending = false;
        last = position;
    }
    for (const Needed& n : tools) {
        int buffer = ascending ? OpenToolCodeBuffer(n.place) : OpenNewToolCodeBuffer(n.place);
        if (buffer < 0)
            return 0;
    }
    return 1;
}

void DeleteSelectedTools() {
    for (int i = 0; i < kMaxBulges; ++i) {
        Bulge b;
        if (GetBulge(i, b)) {
            b.mill_tool = b.finish_tool = -1;
            PutBulge(i, b);
        }
    }
    for (int i = 0; i < kMaxPockets; ++i) {
        Pocket p;
        if (GetPocket(i, p)) {
            p.chosen_rough = p.chosen_fine = p.chosen_predrill = -1;
            PutPocket(i, p);
        }
    }
    for (int i = 0; i < kMaxBores; ++i) {
        Bore b;
        if (GetBore(b, i)) {
            b.chosen_rough = b.chosen_fine = -1;
            PutBore(b, i);
        }
    }
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i)) {
            d.assigned_tool = -1;
            d.drilling_active = d.chamfer_active = 0;
            PutDrill(d, i);
        }
    }
    for (int i = 0; i < kMaxThreads; ++i) {
        Thread t;
        if (GetThread(t, i)) {
            t.assigned_tool = -1;
            PutThread(t, i);
        }
    }
    for (int i = 0; i < kMaxLongHoles; ++i) {
        LongHole h;
        if (GetLongHole(h, i)) {
            h.chosen_tool = -1;
            PutLongHole(h, i);
        }
    }
}

void DeleteSystemElements() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        FindID(id, type, index);
        if (type == kTypeDrill && Drill_system(index)) {
            UnregisterID(id);
            RemoveDrill(index);
        } else if (type == kTypeBore && Bore_system(index)) {
            UnregisterID(id);
            InitBore(index);
        } else if (type == kTypeSpot) {
            UnregisterID(id);
            RemoveSpot(index);
        }
    }
}

void DebugDrillsList(int stage) {
    std::string page;
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i))
            page += Sprintf("%d %0.3f x %0.3f tx = %d\n", i, d.dia, d.wz, d.assigned_tool);
        else
            page += Sprintf("%d EMPTY\n", i);
        if (i % 10 == 9 || i == kMaxDrills - 1) {
            if (ShowMessage(page + "Continue ?", Sprintf("DebugDrillsList(%d)", stage),
                            kMbYesNo | kMbIconQuestion) != kIdYes)
                return;
            page.clear();
        }
    }
}

} // namespace korvel
