// Tool choice over the magazine: the scans of every selection rule, and the pocket tool set.
#include "cam/tool_select.h"

#include "base/text.h"
#include "cam/machining_data.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

// The enumerating searches keep their criteria and the place they returned last.
struct Search {
    int type = 0;
    double d = 0;
    double pitch = 0;
    double depth = 0;
    int place = kMaxPlaces + 1; // past the end until a First call
};
Search g_tap_search, g_mill_search, g_thread_mill_search;

// The tool in a candidate place; false for a place that is no candidate.
bool Candidate(int place, AttachedToolData& tool) {
    if (GetAttToolDataExt(place, tool) < 0)
        return false;
    return ToolSuitable(tool.name, BlockMaterial()) != 0;
}

bool TapFits(const AttachedToolData& t, const Search& s) {
    return t.type == kTap && approx_equal(t.dia, s.d) && approx_equal(t.pitch, s.pitch) &&
           t.length >= s.depth;
}

// A thread mill cuts either hand, so its pitch is compared with the thread's by size; a mill
// entered with a negative pitch never fits. The comparison allows the coincidence tolerance:
// pitches pass through unit conversion and the five decimals of the project file (an inch
// project's M10 has 0.05906, the mill 1.5 / 25.4), and an exact test would refuse every mill.
bool ThreadMillFits(const AttachedToolData& t, const Search& s) {
    double pitch = s.pitch < 0 ? -s.pitch : s.pitch;
    return t.type == kThreadMill && t.pitch > 0 && equal(t.pitch, pitch) && s.d > t.dia &&
           s.d >= t.dia2 && t.length >= s.depth;
}

bool MillFits(const AttachedToolData& t, const Search& s) {
    double dmax = s.d > 0 ? s.d : 1000;
    return t.type == s.type && t.dia <= dmax && t.length >= s.depth;
}

// The next candidate after the search's last place that fits; -1 at the end.
template <class Fits> int Continue(Search& s, Fits fits) {
    for (int place = s.place + 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (Candidate(place, t) && fits(t, s)) {
            s.place = place;
            return place;
        }
    }
    s.place = kMaxPlaces + 1;
    return -1;
}

template <class Fits> int FirstPlace(Fits fits) {
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (Candidate(place, t) && fits(t))
            return place;
    }
    return -1;
}

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

} // namespace

bool CandidatePlace(int place) {
    AttachedToolData t;
    return Candidate(place, t);
}

int GetFirstSpotTool() {
    return FirstPlace([](const AttachedToolData& t) { return t.type == kCenterDrill; });
}

int GetFirstExactDrillTool(double d, double depth) {
    return FirstPlace([&](const AttachedToolData& t) {
        return t.type == kDrillTool && approx_equal(t.dia, d) && t.length >= depth;
    });
}

int GetClosestDrillTool(double d, double depth) {
    int best = -1;
    double best_dia = 0;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (!Candidate(place, t) || t.type != kDrillTool || t.dia < d || t.length < depth)
            continue;
        if (best < 0 || t.dia < best_dia) {
            best = place;
            best_dia = t.dia;
        }
    }
    return best;
}

int GetSuitableDrillTool(double dmax, double dmin, double depth) {
    int last = GetSettings().toolholder;
    for (int place = 1; place <= kMaxPlaces && place <= last; ++place) {
        AttachedToolData t;
        if (Candidate(place, t) && t.type == kDrillTool && t.dia >= dmin && t.dia <= dmax &&
            t.length >= depth)
            return place;
    }
    return -1;
}

int GetFirstTapperTool(double d, double pitch, double depth) {
    g_tap_search = {kTap, d, pitch, depth, 0};
    return Continue(g_tap_search, TapFits);
}
int GetNextTapperTool() { return Continue(g_tap_search, TapFits); }

int GetFirstThreadMill(double d, double pitch, double depth) {
    g_thread_mill_search = {kThreadMill, d, pitch, depth, 0};
    return Continue(g_thread_mill_search, ThreadMillFits);
}
int GetNextThreadMill() { return Continue(g_thread_mill_search, ThreadMillFits); }

int GetFirstSuitableMill(int type, double dmax, double depth) {
    g_mill_search = {type, dmax, 0, depth, 0};
    return Continue(g_mill_search, MillFits);
}
int GetNextSuitableMill() { return Continue(g_mill_search, MillFits); }
int GetMillingTool(int type, double dmax, double depth) {
    return GetFirstSuitableMill(type, dmax, depth);
}

int GetBestMill(int type, double dmax, double depth) {
    Search s{type, dmax, 0, depth, 0};
    int best = -1;
    double best_dia = 0;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (!Candidate(place, t) || !MillFits(t, s))
            continue;
        if (best < 0 || t.dia > best_dia) {
            best = place;
            best_dia = t.dia;
        }
    }
    return best;
}

int GetBestBoringFaceMill(double D, double depth) {
    double ratio = GetSettings().minbtxd;
    int best = -1;
    double best_size = 0;
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedToolData t;
        if (!Candidate(place, t) || t.type != kFaceMillRough || D < t.dia * ratio ||
            t.length < depth)
            continue;
        double size = t.dia + t.dia2; // the hole the mill needs to enter without a pre-drill
        if (D >= size)
            return place;
        if (best < 0 || size < best_size) {
            best = place;
            best_size = size;
        }
    }
    return best;
}

int GetEngravingTool(double d, double depth) {
    int place = FirstPlace([&](const AttachedToolData& t) {
        return t.type == kEngravingTool && approx_equal(t.dia, d) && t.length >= depth;
    });
    if (place >= 0)
        return place;
    return FirstPlace([&](const AttachedToolData& t) {
        return t.type == kEndMillRough && approx_equal(t.dia, d) && approx_equal(t.dia2, 0) &&
               t.length >= depth;
    });
}

int GetChamferingTool() {
    return FirstPlace([](const AttachedToolData& t) { return t.type == kCountersink; });
}

namespace {

// The pre-drill for a rough end mill that cannot plunge: a drill of at least the mill's
// minimum drill diameter that fits where it is drilled. It stands on the roughing contour, half
// the mill's diameter plus the allowance inside the wall, so it may be no wider than the mill
// plus twice the allowance; and no wider than the largest diameter that fits the pocket's
// inside arcs, less the allowance (a pocket without inside arcs sets no such limit).
int PocketPreDrill(double dmax, double allowance, const AttachedToolData& mill, double depth) {
    double limit = mill.dia + 2 * allowance;
    if (dmax > 0 && dmax - allowance < limit)
        limit = dmax - allowance;
    return GetSuitableDrillTool(limit, mill.dia2, depth);
}

// The plunge feed of a place's tool for the block material; 0 without cutting data.
double PlungeFeed(int place) {
    CuttingData data;
    return PlaceCuttingData(place, data) ? data.fz : 0;
}

} // namespace

double PocketFinishAllowance(int fine_place) {
    if (fine_place < 0)
        return 0;
    double allowance = GetSettings().ffdxy;
    CuttingData data;
    if (PlaceCuttingData(fine_place, data) && data.cutxy < allowance)
        allowance = data.cutxy;
    return allowance;
}

int SelectPocketTools(int pocket_index) {
    Pocket p;
    if (!GetPocket(pocket_index, p))
        return 0;
    if (!(p.wz > 0))
        return Refuse("Zero or negative pocket depth!", Sprintf("Invalid pocket %d", p.id));
    double dmax = 2 * MinPocketCCWR(pocket_index);
    int quality = p.quality == -1 ? GetSettings().quality : p.quality;
    int fine = -1;
    double allowance = 0;
    if (quality >= 2 && quality <= 5) {
        fine = p.fine_tool > 0 ? p.fine_tool : GetBestMill(kEndMillFine, dmax, p.wz);
        if (fine < 0)
            return Refuse(Sprintf("No suitable finishing tool for pocket %d", p.id),
                          "Tool(s) missing");
        allowance = PocketFinishAllowance(fine);
    }
    int rough = -1, drill = -1;
    if (p.rough_tool > 0) {
        rough = p.rough_tool;
        AttachedToolData mill;
        GetAttToolDataExt(rough, mill);
        if (!(mill.dia2 == 0 && PlungeFeed(rough) > 0)) {
            drill = PocketPreDrill(dmax, allowance, mill, p.wz);
            if (drill < 0)
                return Refuse(
                    Sprintf("No suitable drill found for preselected mill, pocket %d", p.id),
                    "Tool missing");
        }
    } else {
        // The roughing path runs half the diameter plus the allowance inside the wall, which
        // must still round the tightest inside arc: at most dmax - 2 a. A pocket too tight for
        // any mill has no bound of 0 or less, which would mean "any diameter".
        double bound = dmax - 2 * allowance;
        int first =
            dmax > 0 && !(bound > 0) ? -1 : GetFirstSuitableMill(kEndMillRough, bound, p.wz);
        for (int place = first; place >= 0; place = GetNextSuitableMill()) {
            AttachedToolData mill;
            GetAttToolDataExt(place, mill);
            if (mill.dia2 <= 0 && PlungeFeed(place) != 0) {
                rough = place;
                break;
            }
            int pre = PocketPreDrill(dmax, allowance, mill, p.wz);
            if (pre >= 0) {
                rough = place;
                drill = pre;
                break;
            }
        }
        if (rough < 0)
            return Refuse(Sprintf("No suitable end mill/drill tool pair found for pocket %d", p.id),
                          "Tool(s) missing");
    }
    p.chosen_rough = rough;
    p.chosen_fine = fine;
    p.chosen_predrill = drill;
    PutPocket(pocket_index, p);
    return 1;
}

} // namespace korvel
