// Tool shapes for the stock simulation.
#include "cam/sim_tool.h"

#include <cmath>

#include "geometry/primitives.h"
#include "model/atttool.h"
#include "model/thread_type.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

// The lower surface of a cone rises by this much per unit of radius: 1 / tan(half angle).
constexpr double kDrillSlope = 0.60086061902756; // 118 degree point: 1 / tan(59 degrees)
constexpr double kNinetyDegreeSlope = 1.0;

// The core diameter of a tap: the tap drill of its thread type, else its diameter less the
// pitch (a metric tap drill); never more than the tap itself.
double TapCore(double dia, double pitch) {
    double core = dia - std::fabs(pitch);
    int row = ThreadTypeIndex(dia, pitch);
    if (row >= 0 && ThreadDrill(row) > 0)
        core = ThreadDrill(row);
    return core > 0 && core <= dia ? core : dia;
}

} // namespace

SimTool MakeSimTool(int type, double dia, double dia2, double length, double pitch) {
    SimTool t;
    t.type = type;
    t.length = length;
    double r = dia > 0 && std::isfinite(dia) ? dia / 2 : 0;
    t.radius = r;
    switch (type) {
    case kCenterDrill:
        t.slope = kNinetyDegreeSlope;
        break;
    case kDrillTool:
        t.slope = kDrillSlope;
        break;
    case kCountersink:
        t.slope = kNinetyDegreeSlope;
        t.tip_radius = dia2 > 0 && dia2 < dia ? dia2 / 2 : 0;
        break;
    case kTap:
        t.radius = TapCore(dia, pitch) / 2;
        break;
    case kThreadMill: {
        double core = dia - std::fabs(pitch);
        t.radius = core > 0 ? core / 2 : r;
        break;
    }
    case kEndMillRough:
    case kEndMillFine:
    case kFaceMillRough:
    case kFaceMillFine:
    case kSpecialTool:
        t.mills = true;
        break;
    default: // engraving tools and tools of unknown type cut with their diameter
        break;
    }
    return t;
}

bool SimToolOfPlace(int place, SimTool& tool, std::string* name) {
    AttachedToolData data;
    if (GetAttToolDataExt(place, data) < 0)
        return false;
    tool = MakeSimTool(data.type, data.dia, data.dia2, data.length, data.pitch);
    tool.place = place;
    if (name)
        *name = data.name;
    return true;
}

} // namespace korvel
