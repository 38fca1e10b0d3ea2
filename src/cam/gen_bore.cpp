// Bores: roughing in rings (end mills) or helices (face mills), with or without excess
// material removal, fine finishing of the wall, and the chamfer of the edge.
#include "cam/gen_bore.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/gen_drill.h"
#include "cam/machining_data.h"
#include "cam/milling_data.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "geometry/tolerance.h"
#include "model/atttool.h"
#include "model/bore.h"
#include "model/mparam.h"
#include "model/object_ops.h"
#include "model/registry.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

constexpr int kBoreRoughIndexError = 35;
constexpr int kBoreFinishIndexError = 36;

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

double RPlane() { return GetSettings().rplane; }
bool RadiusWords() { return GetSettings().use_r_in_g02_g03 != 0; }

// A length given in millimetres, in the project unit.
double InUnit(double mm) { return UserUnit() == kUnitInch ? mm / kMMPerInch : mm; }

// Below this radius a ring or helix is not cut: its arcs would be so small that controls reject
// them as zero-radius arcs (the smallest arc of a ring is a quarter of its width), and the
// material they would take is negligible.
double MinRingWidth() { return InUnit(0.02); }

bool IsFaceMill(int type) { return type == kFaceMillRough || type == kFaceMillFine; }

// A tool wider than the diameter it is to cut would cut the bore oversize wherever it goes. The
// automatic choice allows diameters up to the approximate tolerance over; a tool preselected
// in a project file may be far wider.
bool TooWide(double tool_dia, double dia) { return tool_dia > dia && !approx_equal(tool_dia, dia); }

int Quality(const Bore& b) { return b.quality == -1 ? GetSettings().quality : b.quality; }

// The wall allowance the roughing leaves for the fine finishing: FFDXY when the wall is fine
// finished (qualities 2 to 5; never for the compiler's own bores, which get no fine tool).
double Allowance(const Bore& b) {
    int q = Quality(b);
    return (!b.system && q >= 2 && q <= 5) ? GetSettings().ffdxy : 0;
}

// The finished diameter: the nominal one with the tolerance offset (thousandths, 0.002 x offset
// on the diameter).
double FinishedDia(const Bore& b) { return b.dia + 0.002 * b.tol_offset; }

// The number of equal descents of at most `per_pass` each from the approach height down to the
// floor: one more than the whole millimetres of the descent that fit the pass depth, and never
// so few that a pass goes deeper than `per_pass` (which the whole-millimetre count allows in
// inch projects and for fractional depths).
int Descents(double descent, double per_pass) {
    int n = static_cast<int>(std::trunc(descent) / per_pass) + 1;
    int least = static_cast<int>(std::ceil(descent / per_pass - 1e-9));
    return n < least ? least : n;
}

void AddTime(int place, double length, double feed) {
    if (feed > 0)
        AddMillTime(place, length / feed);
}

// The length of an arc of a radius through an angle (radians) while descending dz.
double ArcLength(double radius, double angle, double dz) {
    return std::hypot(std::fabs(radius) * angle, dz);
}

// What every roughing of one bore works with.
struct BoreRun {
    Bore b;
    int index = -1;
    int place = -1;
    AttachedToolData tool;
    CuttingData data;
    int buffer = -1;
    double allowance = 0; // a
    double rough_dia = 0; // Dr = Df - a
};

void Line(const BoreRun& run, const std::string& text) { AppendCode(run.buffer, text); }

int GetValidBore(int index, Bore& b) {
    return index >= 0 && index < kMaxBores && GetBore(b, index) && b.valid;
}

// The checks and the common start of roughing: tool, cutting data, buffer, comments, the
// centre, the speed. 1, or 0 after a message.
int StartRoughing(int index, bool nemr, BoreRun& run) {
    if (!GetValidBore(index, run.b))
        return ErrCode(kBoreRoughIndexError);
    const Bore& b = run.b;
    run.index = index;
    run.place = b.chosen_rough;
    if (run.place <= 0 || GetAttToolDataExt(run.place, run.tool) < 0) {
        // Show the user which bore it is.
        UnselectAll();
        SelectBore(index, 1);
        return Refuse(Sprintf("No rough milling tool suitable for cyl.pocket id %d present", b.id),
                      "Tool missing");
    }
    const std::string& name = run.tool.name;
    if (!MillingData(run.place, b.id, kRoughMilling, run.data))
        return Refuse("Missing tool-material data", name);
    if (!(run.data.fxy > 0))
        return Refuse("Feed rate Fxy out of range", name);
    if (!(run.data.cutz > 0))
        return Refuse("Cutting depth cz out of range", name);
    if (nemr && run.tool.type == kEndMillRough && !(run.data.fz > 0))
        return Refuse("Plunging speed fz is zero!", name);
    // A zero speed or diameter cannot cut, and a zero diameter would make endless rings.
    if (run.data.speed <= 0)
        return Refuse("Speed S out of range", name);
    if (!(run.tool.dia > 0))
        return Refuse("Tool diameter out of range", name);
    if (!(b.wz > 0))
        return Refuse("Bore depth zero or negative!", name);
    run.allowance = Allowance(b);
    run.rough_dia = FinishedDia(b) - run.allowance;
    if (TooWide(run.tool.dia, run.rough_dia))
        return Refuse(
            Sprintf("Selected rough milling tool T%d diameter too big for this bore", run.place),
            "Error");
    run.buffer = OpenToolCodeBuffer(run.place);
    if (run.buffer < 0)
        return 0;
    if (CommentsOn()) {
        Line(run, Sprintf("(CYLINDRICAL POCKET ID %d)", b.id));
        if (nemr)
            Line(run, "(NO EXCESS MATERIAL REMOVAL)");
    }
    Line(run, Sprintf("G00 X%0.4f Y%0.4f", b.x, b.y));
    Line(run, Sprintf("S%d M03", run.data.speed));
    return 1;
}

// The plunge feed of the roughing: half the feed when the data have none.
double PlungeFeed(const CuttingData& data) { return data.fz > 0 ? data.fz : data.fxy / 2; }

// A tool (nearly) as wide as the bore has no room for rings or a helix: it plunges straight
// to the floor from the approach height.
void PlungeOnly(const BoreRun& run, double from_z) {
    const Bore& b = run.b;
    double fz = PlungeFeed(run.data);
    if (CommentsOn())
        Line(run, "(TOOL AS WIDE AS THE BORE: PLUNGE ONLY)");
    Line(run, Sprintf("G00 Z%0.4f", from_z));
    Line(run, Sprintf("G01 Z%0.4f F%0.4f", b.z - b.wz, fz));
    AddTime(run.place, from_z - (b.z - b.wz), fz);
}

void Finish(const BoreRun& run) {
    Line(run, Sprintf("G00 Z%0.4f", SafeHeight()));
    DeclareObjectProcessed(run.b.id);
}

// ---- End mills: concentric rings, layer by layer ---------------------------------------------

// One layer's rings of step s, n rings, from the centre and back to it. Ring 1 is reached by a
// half-circle from the centre; each further ring by a half-circle across to the other side that
// grows the radius by one step; a final half-circle returns to the centre.
void AppendRings(const BoreRun& run, double s, int n) {
    const double x = run.b.x, y = run.b.y, F = run.data.fxy;
    auto arc = [&](double ex, double i, double radius, double angle) {
        Line(run, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", ex, y, i, F));
        AddTime(run.place, ArcLength(radius, angle, 0), F);
    };
    arc(x - s, -s / 2, s / 2, M_PI);
    arc(x - s, s, s, 2 * M_PI);
    double r = s;
    for (int i = 2; i <= n; ++i) {
        r = i * s;
        bool left = i % 2 == 1;
        if (left)
            arc(x - r, s / 2 - r, r - s / 2, M_PI);
        else
            arc(x + r, r - s / 2, r - s / 2, M_PI);
        arc(left ? x - r : x + r, left ? r : -r, r, 2 * M_PI);
    }
    bool left = n % 2 == 1;
    arc(x, left ? r / 2 : -r / 2, r / 2, M_PI);
}

int EndMillRoughing(const BoreRun& run) {
    const Bore& b = run.b;
    const double d = run.tool.dia;
    const int layers = static_cast<int>(b.wz / run.data.cutz) + 1;
    const double dz = b.wz / layers;
    // The ring width subtracts the allowance once more than the rough diameter does: the rings
    // leave the allowance a on the radius for the fine finishing.
    const double W = run.rough_dia - run.allowance - d;
    const double fz = PlungeFeed(run.data);
    // The approach stops the return plane above the bore's surface: a bore on a floor that is
    // itself still roughed carries that floor's allowance, which a rapid to the surface would
    // run into.
    const double approach = b.z + RPlane();
    if (W < MinRingWidth()) {
        PlungeOnly(run, approach);
    } else {
        const int n = static_cast<int>(W / (2 * d * GetSettings().overlap)) + 1;
        const double s = W / (2 * n);
        Line(run, Sprintf("G00 Z%0.4f", approach));
        for (int k = 1; k <= layers; ++k) {
            Line(run, Sprintf("G01 Z%0.4f F%0.4f", b.z - k * dz, fz));
            AddTime(run.place, k == 1 ? dz + RPlane() : dz, fz);
            AppendRings(run, s, n);
        }
    }
    Finish(run);
    return 1;
}

// ---- Face mills: helical descents ------------------------------------------------------------

// The helices of the roughing, the contour-only roughing and the fine finishing differ only in
// how they write their arcs: the I/J half-circle down ends in "J0.000" (roughing, finishing) or
// "J0.0" (contour only); the finishing repeats the feed on every arc, the roughing only where
// the feed may have changed.
enum class HelixStyle { kRough, kContour, kFine };

// A half-circle written with a radius word leaves the control to find its centre from the
// chord and the radius as the program holds them. Only when the written radius is exactly half
// the written chord does the centre lie on the chord: a radius 0.0005 longer moves the centre
// of a 10 mm half-circle 0.1 mm off the chord, one 0.0005 shorter makes the arc impossible. Such
// a half-circle is written as two quarter circles, whose centres the rounding hardly moves.
// From (sx, y) to (ex, y) counter-clockwise, descending from z0 to z1 when `with_z`, with the
// feed word when `feed` is above 0.
void HalfCircleR(const BoreRun& run, double sx, double ex, bool with_z, double z0, double z1,
                 double feed) {
    const double y = run.b.y;
    auto arc = [&](double x, double ay, double z, double radius) {
        std::string text = Sprintf("G03 X%0.4f Y%0.4f", x, ay);
        if (with_z)
            text += Sprintf(" Z%0.4f", z);
        text += Sprintf(" R%0.4f", radius);
        if (feed > 0)
            text += Sprintf(" F%0.4f", feed);
        Line(run, text);
    };
    const double R = std::fabs(ex - sx) / 2;
    const double chord = std::fabs(WrittenNumber(ex) - WrittenNumber(sx));
    if (std::fabs(chord - 2 * WrittenNumber(R)) <= 1e-7) {
        arc(ex, y, z1, R);
        return;
    }
    // Counter-clockwise: from the right end over the top, from the left end under the bottom.
    const double cx = (sx + ex) / 2;
    arc(cx, sx > ex ? y + R : y - R, (z0 + z1) / 2, R);
    arc(ex, y, z1, R);
}

void AppendHelixDown(const BoreRun& run, double r, double z0, double z, HelixStyle style) {
    const double x = run.b.x, y = run.b.y, F = run.data.fxy;
    if (RadiusWords())
        HalfCircleR(run, x, x - r, true, z0, z, F);
    else if (style == HelixStyle::kContour)
        Line(run, Sprintf("G03 X%0.4f Y%0.4f Z%0.4f I%0.4f J0.0 F%0.4f", x - r, y, z, -r / 2, F));
    else
        Line(run, Sprintf("G03 X%0.4f Y%0.4f Z%0.4f I%0.4f J0.000 F%0.4f", x - r, y, z, -r / 2, F));
}

void AppendHelixBack(const BoreRun& run, double r, HelixStyle style) {
    const double x = run.b.x, y = run.b.y, F = run.data.fxy;
    bool fine = style == HelixStyle::kFine;
    if (RadiusWords())
        HalfCircleR(run, x - r, x, false, 0, 0, fine ? F : 0);
    else if (fine)
        Line(run, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", x, y, r / 2, F));
    else
        Line(run, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.000 F%0.4f", x, y, r / 2, F));
}

// From the centre at the approach height, a descending half-circle out to radius r, further
// descending full circles down to the floor, one flat circle, and a half-circle back to the
// centre; `descents` equal descents in all.
void AppendHelix(const BoreRun& run, double r, int descents, HelixStyle style) {
    const Bore& b = run.b;
    const double x = b.x, y = b.y, F = run.data.fxy;
    const double top = b.z + RPlane(), p = (b.wz + RPlane()) / descents;
    const bool fine = style == HelixStyle::kFine;
    Line(run, Sprintf("G00 Z%0.4f", top));
    AppendHelixDown(run, r, top, top - p, style);
    AddTime(run.place, ArcLength(r / 2, M_PI, p), F);
    for (int k = 2; k <= descents; ++k) {
        double z = top - k * p;
        Line(run, fine
                      ? Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 Z%0.4f F%0.4f", x - r, y, r, z, F)
                      : Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 Z%0.4f", x - r, y, r, z));
        AddTime(run.place, ArcLength(r, 2 * M_PI, p), F);
    }
    Line(run, fine ? Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000 F%0.4f", x - r, y, r, F)
                   : Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0000", x - r, y, r));
    AppendHelixBack(run, r, style);
    AddTime(run.place, ArcLength(r, 2 * M_PI, 0) + ArcLength(r / 2, M_PI, 0), F);
}

int FaceMillRoughing(const BoreRun& run) {
    const Bore& b = run.b;
    const double d = run.tool.dia, step = d * GetSettings().overlap;
    const double R = (run.rough_dia - d) / 2;
    const int descents = Descents(b.wz + RPlane(), run.data.cutz);
    if (R < MinRingWidth() / 2) {
        PlungeOnly(run, b.z + RPlane());
    } else {
        double r = std::max(step / 2, run.tool.dia2 / 2);
        for (bool last = false; !last; r += step) {
            if (r >= R) {
                r = R;
                last = true;
            }
            AppendHelix(run, r, descents, HelixStyle::kRough);
        }
    }
    Finish(run);
    return 1;
}

// ---- Contour only ----------------------------------------------------------------------------

// An end mill plunges at the centre pass by pass and cuts one circle at the wall each time.
void EndMillContour(const BoreRun& run, double r) {
    const Bore& b = run.b;
    const double x = b.x, y = b.y, F = run.data.fxy, fz = PlungeFeed(run.data);
    const double top = b.z + RPlane();
    const int passes = Descents(b.wz + RPlane(), run.data.cutz);
    const double p = (b.wz + RPlane()) / passes;
    const bool radius_words = RadiusWords();
    auto half = [&](double sx, double ex, double i) {
        if (radius_words)
            HalfCircleR(run, sx, ex, false, 0, 0, F);
        else
            Line(run, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0 F%0.4f", ex, y, i, F));
    };
    Line(run, Sprintf("G00 X%0.4f Y%0.4f", x, y));
    Line(run, Sprintf("G00 Z%0.4f", top));
    for (int k = 1; k <= passes; ++k) {
        Line(run, Sprintf("G01 Z%0.4f F%0.4f", top - k * p, fz));
        half(x, x - r, -r / 2);
        if (radius_words) {
            half(x - r, x + r, 0);
            half(x + r, x - r, 0);
        } else {
            Line(run, Sprintf("G03 X%0.4f Y%0.4f I%0.4f J0.0 F%0.4f", x - r, y, r, F));
        }
        half(x - r, x, r / 2);
        AddTime(run.place, p, fz);
        AddTime(run.place, 2 * M_PI * r + M_PI * r, F);
    }
    Line(run, Sprintf("G01 Z%0.4f F%0.4f", top, 2 * fz));
    AddTime(run.place, b.wz + RPlane(), 2 * fz);
}

int ContourRoughing(const BoreRun& run) {
    // The contour is the rough diameter, tolerance offset and allowance included, like the
    // clearing roughing's: the nominal diameter would cut a bore with a negative offset
    // oversize and leave one with a positive offset undersize without a fine pass.
    const double r = (run.rough_dia - run.tool.dia) / 2;
    if (r < MinRingWidth() / 2)
        PlungeOnly(run, run.b.z + RPlane());
    else if (IsFaceMill(run.tool.type))
        AppendHelix(run, r, Descents(run.b.wz + RPlane(), run.data.cutz), HelixStyle::kContour);
    else
        EndMillContour(run, r);
    Finish(run);
    return 1;
}

} // namespace

int GThisBore(int index) {
    BoreRun run;
    if (!StartRoughing(index, false, run))
        return 0;
    // Face mills cannot plunge: both kinds descend in helices, as their pre-drill assumes.
    return IsFaceMill(run.tool.type) ? FaceMillRoughing(run) : EndMillRoughing(run);
}

int GThisBore_NEMR(int index) {
    BoreRun run;
    if (!StartRoughing(index, true, run))
        return 0;
    return ContourRoughing(run);
}

// ---- Fine finishing --------------------------------------------------------------------------

int GFineThisBore(int index) {
    Bore b;
    if (!GetValidBore(index, b))
        return ErrCode(kBoreFinishIndexError);
    if (b.system || b.chosen_fine <= 0)
        return 1;
    if (!ObjectIsReady(b.id))
        return Refuse("Attempt to fine mill a bore which is not ready", "Internal error");
    BoreRun run;
    run.b = b;
    run.index = index;
    run.place = b.chosen_fine;
    if (GetAttToolDataExt(run.place, run.tool) < 0)
        return Refuse(Sprintf("No endmill for fine milling cyl.pocket %d", b.id),
                      "Tool(s) missing");
    const std::string& name = run.tool.name;
    if (!MillingData(run.place, b.id, kFinishing, run.data))
        return Refuse("Missing tool-material data", name);
    if (!(run.data.fxy > 0))
        return Refuse("Feed rate Fxy out of range", name);
    if (!(run.data.cutxy > 0))
        return Refuse("Cutting depth cxy out of range", name);
    if (run.data.speed <= 0)
        return Refuse("Speed S out of range", name);
    const double d = run.tool.dia;
    if (!(d > 0))
        return Refuse("Tool diameter out of range", name);
    if (!(b.wz > 0))
        return Refuse("Bore depth zero or negative!", name);
    // The helix descends one tool diameter per turn.
    if (TooWide(d, FinishedDia(b)))
        return Refuse(
            Sprintf("Selected fine milling tool T%d diameter too big for this bore", run.place),
            "Error");
    const int descents = Descents(b.wz + RPlane(), d);
    const double r = (FinishedDia(b) - d) / 2;
    run.buffer = OpenToolCodeBuffer(run.place);
    if (run.buffer < 0)
        return 0;
    if (CommentsOn())
        Line(run, Sprintf("(FINE MILL CYL.POCKET ID %d)", b.id));
    Line(run, Sprintf("S%d M03", run.data.speed));
    Line(run, Sprintf("G00 X%0.4f Y%0.4f", b.x, b.y));
    if (r < MinRingWidth() / 2) {
        run.data.fz = 0; // finishing data have no plunge feed: half the feed
        PlungeOnly(run, b.z + RPlane());
    } else {
        AppendHelix(run, r, descents, HelixStyle::kFine);
    }
    Line(run, Sprintf("G00 Z%0.4f", SafeHeight()));
    return 1;
}

int GFineAllBores() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypeBore && !GFineThisBore(index))
            return 0;
    }
    return 1;
}

// ---- Chamfer ---------------------------------------------------------------------------------

int GChamferThisBore(int index) {
    Bore b;
    if (!GetValidBore(index, b))
        return ErrCode(kBoreFinishIndexError);
    if (b.system || !(b.chamfer > 0))
        return 1;
    if (b.chamfer > b.wz)
        return Refuse(Sprintf("Cylindrical pocket id %d: Chamfer exceeds depth!", b.id),
                      "Can't make chamfer");
    if (!ObjectIsReady(b.id))
        return Refuse("Attempt to chamfer a bore which is not ready", "Internal error");
    int place = GetChamferingTool();
    if (place < 0)
        return Refuse("No chamfering tool present", "Tool missing");
    AttachedToolData tool;
    GetAttToolDataExt(place, tool);
    // A 90-degree countersink: its cone runs from the tip diameter up to the maximum over its
    // length.
    if (tool.dia - 2 * tool.length > b.dia)
        return Refuse(
            Sprintf(" Minimum tool diameter is too big for cylindrical pocket id %d", b.id),
            tool.name);
    int buffer = OpenToolCodeBuffer(place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(CHAMFER CYL.POCKET ID %d)", b.id));
    return CutHoleChamfer(buffer, place, {b.x, b.y, b.z, b.dia, b.wz, b.chamfer, b.id, false});
}

int GChamferAllBores() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypeBore && !GChamferThisBore(index))
            return 0;
    }
    return 1;
}

} // namespace korvel
