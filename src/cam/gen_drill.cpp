// Spotting, drilling and chamfering of holes.
#include "cam/gen_drill.h"

#include <cmath>
#include <string>

#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/drill.h"
#include "model/mparam.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

int Append(int buffer, const std::string& line) { return AppendCode(buffer, line); }

double RPlane() { return GetSettings().rplane; }

} // namespace

std::vector<int> TravellingOrder(const std::vector<TravelPoint>& points, double x, double y,
                                 bool by_key) {
    std::vector<int> order;
    std::vector<bool> done(points.size(), false);
    order.reserve(points.size());
    for (std::size_t n = 0; n < points.size(); ++n) {
        int best = -1;
        double best_d2 = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (done[i])
                continue;
            const TravelPoint& p = points[i];
            double dx2 = (p.x - x) * (p.x - x), dy2 = (p.y - y) * (p.y - y);
            double d2 = dx2 + dy2;
            bool take = false;
            if (best < 0)
                take = true;
            else if (by_key && p.key != points[best].key)
                take = p.key < points[best].key;
            else
                take = d2 < best_d2 || (d2 == best_d2 && dx2 > dy2);
            if (take) {
                best = static_cast<int>(i);
                best_d2 = d2;
            }
        }
        done[best] = true;
        order.push_back(best);
        x = points[best].x;
        y = points[best].y;
    }
    return order;
}

// ---- Centre-drilling -----------------------------------------------------------------------

int GSpot(int pid) {
    const Settings& s = GetSettings();
    if (!s.center_drilling)
        return 1;
    std::vector<int> slots;
    std::vector<TravelPoint> points;
    for (int i = 0; i < kMaxSpots; ++i) {
        Spot spot;
        if (GetSpot(spot, i) && spot.pid == pid) {
            slots.push_back(i);
            points.push_back({spot.x, spot.y, 0});
        }
    }
    if (slots.empty())
        return 1;
    int place = GetFirstSpotTool();
    if (place < 0)
        return Refuse("No center drilling tool found", "Tool missing");
    AttachedToolData tool;
    if (GetAttToolDataExt(place, tool) < 0)
        return Refuse("Center drill not in library", PlaceToolName(place));
    CuttingData data;
    if (!PlaceCuttingData(place, data))
        return Refuse("Missing center drill data", tool.name);
    if (!(data.fz > 0))
        return Refuse("Feed rate Fz out of range", tool.name);
    double depth = s.cd_depth < tool.length ? s.cd_depth : tool.length;
    BlockRecord block = GetBlock();
    for (int k : TravellingOrder(points, block.x, block.y, false)) {
        Spot spot;
        GetSpot(spot, slots[k]);
        int buffer = OpenToolCodeBuffer(place);
        if (buffer < 0)
            return 0;
        if (CommentsOn())
            Append(buffer, Sprintf("(CENTER DRILLING ID %d [CD-ID %d])",
                                   GetCID(kTypeSpot, slots[k]), spot.id));
        Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", spot.x, spot.y));
        Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
        if (s.use_g81) {
            Append(buffer,
                   Sprintf("G81 R%0.4f Z%0.4f F%0.4f", spot.z + RPlane(), spot.z - depth, data.fz));
            Append(buffer, "G80");
        } else {
            Append(buffer, Sprintf("G00 Z%0.4f", spot.z + RPlane()));
            Append(buffer, Sprintf("G01 Z%0.4f F%0.4f", spot.z - depth, data.fz));
            Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
        }
        AddMillTime(place, (RPlane() + depth) / data.fz);
        DeclareObjectProcessed(spot.id);
    }
    return 1;
}

// ---- Drilling ------------------------------------------------------------------------------

namespace {

void AppendCycle(int buffer, const Drill& d, double fz) {
    const Settings& s = GetSettings();
    double bottom = d.z - d.wz, approach = d.z + RPlane();
    if (s.peck_drill) {
        Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
        Append(buffer,
               Sprintf("G83 R%0.4f Z%0.4f Q%0.4f F%0.4f", approach, bottom, d.dia * s.peck, fz));
        Append(buffer, "G80");
    } else if (s.use_g81) {
        Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
        Append(buffer, Sprintf("G81 R%0.4f Z%0.4f F%0.4f", approach, bottom, fz));
        Append(buffer, "G80");
    } else {
        Append(buffer, Sprintf("G00 Z%0.4f", approach));
        Append(buffer, Sprintf("G01 Z%0.4f F%0.4f", bottom, fz));
        Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    }
}

// Chips are thrown off by reversing the spindle at a higher speed above the block.
void AppendCleaning(int buffer, int speed) {
    const Settings& s = GetSettings();
    if (CommentsOn())
        Append(buffer, "(DRILL CLEANING)");
    if (s.clean_distance > 0)
        Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight() + s.clean_distance));
    for (int r = 0; r < s.clean_repeat; ++r) {
        Append(buffer, "M05");
        Append(buffer, Sprintf("S%d M04", static_cast<int>(speed * s.clean_speed)));
        Append(buffer, Sprintf("G04 P%d", s.clean_duration));
    }
    Append(buffer, Sprintf("S%d M03", speed));
}

int DrillOne(int index) {
    Drill d;
    GetDrill(d, index);
    int place = d.assigned_tool > 0 ? d.assigned_tool : GetFirstExactDrillTool(d.dia, d.wz);
    if (place <= 0)
        return Refuse(Sprintf("No drilling tool found for drill ID=%d", d.id), "Tool missing");
    d.assigned_tool = place;
    PutDrill(d, index);
    std::string name = PlaceToolName(place);
    CuttingData data;
    if (!PlaceCuttingData(place, data))
        return Refuse("Missing drill data", name);
    int cid = GetCID(kTypeDrill, index);
    int speed = data.speed;
    double fz = data.fz;
    int own_speed = 0;
    double v[4];
    if (RetrieveMParam(cid, kDrilling, own_speed, v)) {
        speed = own_speed;
        fz = v[2];
    }
    // A feed or speed of zero would write "F0." or "S0 M03" and divide the time by zero.
    if (!(fz > 0))
        return Refuse("Feed rate Fz out of range", name);
    if (speed <= 0)
        return Refuse("Speed S out of range", name);
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        Append(buffer,
               cid == d.id ? Sprintf("(DRILL ID %d)", d.id) : Sprintf("(PREDRILLING ID %d)", cid));
    Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", d.x, d.y));
    Append(buffer, Sprintf("S%d M03", speed));
    AppendCycle(buffer, d, fz);
    AddMillTime(place, (RPlane() + d.wz) / fz);
    if (GetSettings().clean_drills)
        AppendCleaning(buffer, speed);
    DeclareObjectProcessed(d.id);
    return 1;
}

} // namespace

int GDrill(int pid) {
    std::vector<int> slots;
    std::vector<TravelPoint> points;
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i) && d.pid == pid && d.drilling_active) {
            slots.push_back(i);
            points.push_back({d.x, d.y, d.dia});
        }
    }
    BlockRecord b = GetBlock();
    for (int k : TravellingOrder(points, b.x + b.length, b.y + b.width, true))
        if (!DrillOne(slots[k]))
            return 0;
    return 1;
}

// ---- Chamfering ----------------------------------------------------------------------------

int GChamferAllDrills() {
    std::vector<int> slots;
    std::vector<TravelPoint> points;
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (GetDrill(d, i) && d.chamfer > 0 && d.chamfer_active) {
            slots.push_back(i);
            points.push_back({d.x, d.y, 0});
        }
    }
    BlockRecord b = GetBlock();
    for (int k : TravellingOrder(points, b.x, b.y, false))
        if (!GChamferThisDrill(slots[k]))
            return 0;
    return 1;
}

namespace {

// The three counter-clockwise arcs of a circular chamfer at radius r around (x, y): a
// half-circle out to (x - r, y), the full circle, a half-circle back to the centre.
void AppendChamferCircle(int buffer, double x, double y, double r, double feed, bool shallow) {
    bool radius_words = GetSettings().use_r_in_g02_g03 != 0;
    if (radius_words)
        Append(buffer, Sprintf("G03 X%0.4f R%0.4f F%0.4f", x - r, r / 2, feed));
    else
        Append(buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", x - r, y, -r / 2, feed));
    if (shallow)
        Append(buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", x - r, y, r, feed));
    else
        Append(buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f F%0.4f", x - r, y, r, feed));
    if (radius_words)
        Append(buffer, Sprintf("G03 X%0.4f R%0.4f F%0.4f", x, r / 2, feed));
    else
        Append(buffer, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", x, y, r / 2, feed));
}

} // namespace

int GChamferThisDrill(int index) {
    Drill d;
    if (!GetDrill(d, index) || !(d.chamfer > 0))
        return 1;
    const double D = d.dia, w = d.wz, c = d.chamfer;
    int cid = GetCID(kTypeDrill, index);
    if (c > w - 0.3 * D)
        return Refuse(Sprintf("Object id %d: Chamfer exceeds real drill depth!", cid),
                      "Can't make chamfer");
    int place = GetChamferingTool();
    if (place < 0)
        return Refuse("No chamfering tool present", "Tool missing");
    AttachedToolData tool;
    GetAttToolDataExt(place, tool);
    // A 90-degree countersink: its cone runs from the tip diameter up to Dmax over its length.
    double Dmax = tool.dia, L = tool.length, Dmin = Dmax - 2 * L;
    if (Dmin > D)
        return Refuse(Sprintf(" Minimum tool diameter is too big for chamfering object id %d", cid),
                      tool.name);
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    CuttingData data;
    PlaceCuttingData(place, data);
    if (CommentsOn())
        Append(buffer, cid == d.id ? Sprintf("(CHAMFER DRILL ID %d)", d.id)
                                   : Sprintf("(CHAMFER PREDRILL FOR OBJECT ID %d)", cid));
    double h = (Dmax - D) / 2;
    if (data.fz > 0 && h - c > 0 && w > L - (h - c)) {
        // Plunge: the cone's diameter at the surface ends at D + 2c.
        Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", d.x, d.y));
        Append(buffer, Sprintf("G00 Z%0.4f", d.z - (L - h) + RPlane()));
        Append(buffer, Sprintf("G01 Z%0.4f F%0.4f", d.z - (L - h) - c, data.fz));
        AddMillTime(place, (2 * c + RPlane()) / data.fz);
    } else {
        if (!(data.fxy > 0))
            return Refuse("Feed rate Fxy out of range", tool.name);
        // The hole's depth is measured to the drill's point: the countersink's flat tip (of
        // diameter Dmin) reaches the point's cone (118 degrees) that much higher up, so the
        // bottom it may go down to is the depth where the drilled cone is Dmin wide.
        double bottom = w - 0.3 * Dmin;
        bool shallow = bottom <= L / 2;
        double tip = shallow ? d.z - bottom + 0.01 : d.z - L / 2;
        double Ds = shallow ? Dmin + 2 * (bottom - 0.01) : Dmax - L; // the cone at the surface
        double r = (D - Ds) / 2 + c;
        // The cone goes down into the hole at rapid: it must not touch the hole's edge.
        if (Ds > D || !(r > 0))
            return Refuse(Sprintf("Object id %d: Countersink too wide for the hole, chamfer "
                                  "cannot be cut by circles",
                                  cid),
                          "Can't make chamfer");
        Append(buffer, Sprintf("G00 X%0.4f Y%0.4f", d.x, d.y));
        Append(buffer, Sprintf("G00 Z%0.4f", tip));
        AppendChamferCircle(buffer, d.x, d.y, r, data.fxy, shallow);
        AddMillTime(place, 2 * M_PI * r / data.fxy);
    }
    Append(buffer, Sprintf("G00 Z%0.4f", SafeHeight()));
    return 1;
}

} // namespace korvel
