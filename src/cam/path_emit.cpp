// Path emission: one tool path as G-code lines at one cutting height.
#include "cam/path_emit.h"

#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"
#include "cam/code_buffer.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/settings.h"
#include "paths/path_table.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr int kCommentsDebug = 2;

// In R format an arc this close to half a turn (radians) is written as two halves: the centre
// a control derives from a radius word moves along the chord's bisector by the rounding of the
// radius divided by the cosine of half the sweep, tenths of a millimetre near a half circle.
constexpr double kHalfTurnMargin = 10 * kPi / 180;

bool IsArc(int kind) { return kind == kCcwArc || kind == kCwArc; }

// The step between two numbers as the program is written: three decimals in millimetres, four
// in inches.
double WrittenStep() { return UserUnit() == kUnitInch ? 0.0001 : 0.001; }

Point Written(double x, double y) { return Point{WrittenNumber(x), WrittenNumber(y)}; }

int ArcExpected() {
    ShowMessage("Arc expected", "Internal error", kMbOk | kMbIconError);
    return 0;
}

// The arc that ends at point i has no centre, or cannot be written so that a control finds
// one: the message names the arc as the path holds it.
int ArcCenterFailed(const PathPoint* points, int i) {
    const PathPoint& s = points[i - 1];
    const PathPoint& e = points[i];
    ShowMessage(Sprintf("Arc from (%0.4f,%0.3f) to (%0.4f,%0.3f)\nRadius: %0.3f\nDistance:%0.4f\n"
                        "Path Point:%d",
                        s.x, s.y, e.x, e.y, e.radius, distance(s.x, s.y, e.x, e.y), i),
                "Internal error: Arc center failed", kMbOk | kMbIconError);
    return 0;
}

// The centre of the arc ending at point i, as the path means it. 0 when it has none.
int PathArcCentre(const PathPoint* points, int i, double& cx, double& cy) {
    const PathPoint& s = points[i - 1];
    const PathPoint& e = points[i];
    if (!std::isfinite(e.radius))
        return 0;
    return ArcCenter(s.x, s.y, e.x, e.y, e.radius, e.kind, cx, cy);
}

// The signed angle the arc sweeps about its centre, positive, in (0, 2 pi].
double Sweep(Point s, Point e, Point c, int kind) {
    double a = std::atan2(e.y - c.y, e.x - c.x) - std::atan2(s.y - c.y, s.x - c.x);
    if (kind == kCwArc)
        a = -a;
    while (a <= 0)
        a += 2 * kPi;
    while (a > 2 * kPi)
        a -= 2 * kPi;
    return a;
}

// The point of the perpendicular bisector of s-e nearest to c: a centre from which s and e are
// at the very same distance, as close to the path's centre as that allows.
Point OnBisector(Point s, Point e, Point c) {
    double mx = (s.x + e.x) / 2, my = (s.y + e.y) / 2;
    double len = distance(s.x, s.y, e.x, e.y);
    double nx = -(e.y - s.y) / len, ny = (e.x - s.x) / len;
    double t = (c.x - mx) * nx + (c.y - my) * ny;
    return Point{mx + t * nx, my + t * ny};
}

// Centre offsets from the written start s to a centre near c, both as they will be written,
// such that the written end e lies on the written circle within kArcEndTolerance: of the
// written neighbours of the ideal offsets, the one whose centre is nearest to the ideal
// centre. false when none of them does.
bool OffsetsFor(Point s, Point e, Point c, double& I, double& J) {
    if (s.x == e.x && s.y == e.y)
        return false;
    Point ideal = OnBisector(s, e, c);
    double i0 = WrittenNumber(ideal.x - s.x), j0 = WrittenNumber(ideal.y - s.y);
    double step = WrittenStep(), best = INFINITY;
    for (int di = -1; di <= 1; ++di) {
        for (int dj = -1; dj <= 1; ++dj) {
            double i = WrittenNumber(i0 + di * step), j = WrittenNumber(j0 + dj * step);
            double r_start = std::hypot(i, j);
            double r_end = std::hypot(e.x - (s.x + i), e.y - (s.y + j));
            if (!intol(r_start, r_end, kArcEndTolerance))
                continue;
            double off = distance(s.x + i, s.y + j, ideal.x, ideal.y);
            if (off < best) {
                best = off;
                I = i;
                J = j;
            }
        }
    }
    return best < INFINITY;
}

// In inches the written step (0.0001) is larger than the tolerance, and an arc can need its
// end point moved by one step to lie on a circle through the written start: of the written
// neighbours of the end that allow centre offsets, the one nearest to the path's end.
bool MovedEnd(Point s, Point end, Point c, Point& e, double& I, double& J) {
    Point first = e;
    double step = WrittenStep(), best = INFINITY;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            Point moved = Written(first.x + dx * step, first.y + dy * step);
            double i, j, off = distance(moved.x, moved.y, end.x, end.y);
            if ((dx || dy) && off < best && OffsetsFor(s, moved, c, i, j)) {
                best = off;
                e = moved;
                I = i;
                J = j;
            }
        }
    }
    return best < INFINITY;
}

// A radius word for the arc from the written start s to the written end e that puts the
// centre a control derives from it nearest to c: a written radius no shorter than half the
// chord, negative when the centre lies on the side of the longer arc. false when none.
bool RadiusFor(Point s, Point e, Point c, int kind, double& R) {
    if (s.x == e.x && s.y == e.y)
        return false;
    Point ideal = OnBisector(s, e, c);
    double half = distance(s.x, s.y, e.x, e.y) / 2;
    // Left of the chord is the short arc's side for a counter-clockwise arc.
    double cross = (e.x - s.x) * (ideal.y - s.y) - (e.y - s.y) * (ideal.x - s.x);
    bool short_side = (kind == kCcwArc) == (cross > 0);
    double r0 = WrittenNumber(distance(s.x, s.y, ideal.x, ideal.y));
    double step = WrittenStep(), best = INFINITY;
    for (int d = -1; d <= 1; ++d) {
        double r = WrittenNumber(r0 + d * step);
        if (!(r >= half) || !(r > 0))
            continue;
        double signed_r = short_side ? r : -r, cx, cy;
        if (!ArcCenter(s.x, s.y, e.x, e.y, signed_r, kind, cx, cy))
            continue;
        double off = distance(cx, cy, ideal.x, ideal.y);
        if (off < best) {
            best = off;
            R = signed_r;
        }
    }
    return best < INFINITY;
}

class Emitter {
public:
    Emitter(int buffer, double z, double feed_xy, double feed_z, double approach)
        : buffer_(buffer), z_(z), feed_xy_(feed_xy), feed_z_(feed_z), approach_(approach) {
        BlockRecord block = GetBlock();
        safe_ = block.z + block.height + GetMachine().corridor;
        const Settings& s = GetSettings();
        rplane_ = s.rplane;
        r_format_ = s.use_r_in_g02_g03 != 0;
        debug_ = s.comments == kCommentsDebug;
    }

    int Run(const PathPoint* points, int count);

private:
    int Put(const std::string& line) { return AppendCode(buffer_, line); }
    int Retract();
    int Move(const PathPoint& p);
    int Plunge();
    int Cut(const PathPoint* points, int i);
    int ArcTo(const PathPoint* points, int i, Point centre);
    int ArcPiece(Point end, Point centre, int kind, const char* g);
    int IJArc(Point end, Point centre, const char* g);
    int LineTo(Point end);

    int buffer_;
    double z_, feed_xy_, feed_z_, approach_;
    double safe_ = 0, rplane_ = 0;
    bool r_format_ = false, debug_ = false;
    bool tool_up_ = true;
    Point at_; // where the written program has left the tool
};

int Emitter::Run(const PathPoint* points, int count) {
    if (debug_ && !Put("(Starting path)"))
        return 0;
    if (!Put(Sprintf("G00 Z%0.4f", safe_)) || !Move(points[0]))
        return 0;
    for (int i = 1; i < count; ++i) {
        const PathPoint& p = points[i];
        if (equal(p.x, points[i - 1].x) && equal(p.y, points[i - 1].y))
            continue;
        if (debug_ && !Put(Sprintf("(PATH ELEMENT[%d,%d])", i - 1, i)))
            return 0;
        if (p.kind == kRapid) {
            if (!Retract() || !Move(p))
                return 0;
        } else if (p.kind == kLine || IsArc(p.kind)) {
            if (!Cut(points, i))
                return 0;
        } else {
            return ErrCode(kErrEmitKind);
        }
    }
    tool_up_ = true;
    return Put(Sprintf("G00 Z%0.4f", safe_));
}

int Emitter::Retract() {
    if (tool_up_)
        return 1;
    tool_up_ = true;
    return Put(Sprintf("G00 Z%0.4f", safe_));
}

int Emitter::Move(const PathPoint& p) {
    at_ = Written(p.x, p.y);
    return Put(Sprintf("G00 X%0.4f Y%0.4f", at_.x, at_.y));
}

int Emitter::Plunge() {
    if (!tool_up_)
        return 1;
    tool_up_ = false;
    if (feed_z_ > 0)
        return Put(Sprintf("G00 Z%0.4f", z_ + approach_ + rplane_)) &&
               Put(Sprintf("G01 Z%0.4f F%0.4f", z_, feed_z_));
    return Put(Sprintf("G00 Z%0.4f", z_));
}

int Emitter::Cut(const PathPoint* points, int i) {
    const PathPoint& p = points[i];
    Point centre;
    bool arc = IsArc(p.kind);
    if (arc) {
        int small = ArcTooSmall(points, i);
        // An arc with no centre is only a fault when it is long enough to be written as one.
        if (!small && !PathArcCentre(points, i, centre.x, centre.y))
            return ArcCenterFailed(points, i);
        arc = !small;
    }
    if (!Plunge())
        return 0;
    if (!arc)
        return LineTo(Written(p.x, p.y));
    return ArcTo(points, i, centre);
}

int Emitter::LineTo(Point end) {
    at_ = end;
    return Put(Sprintf("G01 X%0.4f Y%0.4f F%0.4f", end.x, end.y, feed_xy_));
}

int Emitter::ArcTo(const PathPoint* points, int i, Point centre) {
    const PathPoint& p = points[i];
    const char* g = p.kind == kCwArc ? "G02" : "G03";
    Point start{points[i - 1].x, points[i - 1].y}, end{p.x, p.y};
    if (r_format_ && std::fabs(Sweep(start, end, centre, p.kind) - kPi) < kHalfTurnMargin) {
        Element e = ElementBetween(points[i - 1], p);
        Point mid;
        if (!MiddPoint(e, mid.x, mid.y))
            return ArcCenterFailed(points, i);
        if (!ArcPiece(mid, centre, p.kind, g))
            return ArcCenterFailed(points, i);
        return ArcPiece(end, centre, p.kind, g) || ArcCenterFailed(points, i);
    }
    return ArcPiece(end, centre, p.kind, g) || ArcCenterFailed(points, i);
}

// One arc from the written position to `end` about `centre`; 0 (nothing written) when it
// cannot be written within the tolerance.
int Emitter::ArcPiece(Point end, Point centre, int kind, const char* g) {
    if (!r_format_)
        return IJArc(end, centre, g);
    Point e = Written(end.x, end.y);
    double R;
    if (!RadiusFor(at_, e, centre, kind, R))
        return 0;
    at_ = e;
    return Put(Sprintf("%s X%0.4f Y%0.4f R%0.4f F%0.4f", g, e.x, e.y, R, feed_xy_));
}

int Emitter::IJArc(Point end, Point centre, const char* g) {
    Point e = Written(end.x, end.y);
    double I = 0, J = 0;
    if (!OffsetsFor(at_, e, centre, I, J) && !MovedEnd(at_, end, centre, e, I, J))
        return 0;
    at_ = e;
    return Put(Sprintf("%s X%0.4f Y%0.4f I%0.4f J%0.4f F%0.4f", g, e.x, e.y, I, J, feed_xy_));
}

// Whether the values a path is emitted with are numbers, and a path that cuts has a feed.
bool ValuesUsable(const PathPoint* points, int count, double z, double feedXY, double feedZ,
                  double approach) {
    if (!std::isfinite(z) || !std::isfinite(feedZ) || !std::isfinite(approach))
        return false;
    bool cuts = false;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y))
            return false;
        cuts = cuts || (i > 0 && points[i].kind != kRapid);
    }
    return !cuts || (std::isfinite(feedXY) && feedXY > 0);
}

} // namespace

int Arc_IJ_val(const PathPoint* points, int i, double& I, double& J) {
    if (i < 1 || !IsArc(points[i].kind))
        return ArcExpected();
    double cx, cy;
    if (!PathArcCentre(points, i, cx, cy))
        return ArcCenterFailed(points, i);
    I = cx - points[i - 1].x;
    J = cy - points[i - 1].y;
    return 1;
}

int ArcTooSmall(const PathPoint* points, int i) {
    if (i < 1 || !IsArc(points[i].kind))
        return ArcExpected();
    const PathPoint& s = points[i - 1];
    const PathPoint& e = points[i];
    // A chord typed as 0.01 may come out a rounding error longer.
    return distance(s.x, s.y, e.x, e.y) <= kArcTooSmallChord * (1 + 1e-9) ? 1 : 0;
}

int GPathGeneral(const PathPoint* points, int count, int buffer, double z, double feedXY,
                 double feedZ, double approach) {
    if (buffer < 0 || buffer >= kCodeBuffers)
        return ErrCode(kErrEmitBuffer);
    if (!points || count < 2)
        return 1;
    if (!ValuesUsable(points, count, z, feedXY, feedZ, approach))
        return ErrCode(kErrEmitValue);
    Emitter emitter(buffer, z, feedXY, feedZ, approach);
    return emitter.Run(points, count);
}

int GPath(int path, int buffer, double z, double feedXY, double feedZ, double approach) {
    if (path < 1 || path >= kPathCount)
        return ErrCode(kErrEmitPath);
    PathRef p = GetPath(path);
    return GPathGeneral(p.points, p.size(), buffer, z, feedXY, feedZ, approach);
}

int GXLPath(int buffer, double z, double feedXY, double feedZ, double approach) {
    PathRef p = GetXLPath();
    return GPathGeneral(p.points, p.size(), buffer, z, feedXY, feedZ, approach);
}

} // namespace korvel
