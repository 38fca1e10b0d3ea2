// Glyph polylines and the layout of texts in the stroke font.
#include "cad/stroke_font.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "geometry/primitives.h"
#include "model/font.h"
#include "model/texts.h"
#include "platform/platform.h"

namespace korvel {

namespace {

// How point k of a glyph is reached: the chords of its arc (0 for a point passed over, 1 for
// a jump or a line), and the arc's centre and sweep.
struct PointPlan {
    int chords = 0;
    double cx = 0, cy = 0;
    double sweep_deg = 0; // signed: negative for a clockwise arc
};

// The sweep of the arc from the previous point, in degrees (positive): the short way for a
// positive radius, the long way for a negative one.
double Sweep(double h, double r) {
    double a = h < double_abs(r) ? 2 * std::asin(h / double_abs(r)) : kPi;
    if (r < 0)
        a = 2 * kPi - a;
    return a * 180 / kPi;
}

// Plans every point; `count` becomes the number of points planned (fewer than the glyph's
// when an arc has no centre, after its message).
int Plan(const Glyph& g, double segment_angle, PointPlan* plan) {
    for (int k = 0; k < g.count; ++k) {
        PointPlan& p = plan[k];
        int kind = g.kind[k];
        if (kind == kRapid || kind == kLine) {
            p.chords = 1;
            continue;
        }
        if ((kind != kCcwArc && kind != kCwArc) || k == 0)
            continue; // passed over
        double x0 = g.x[k - 1], y0 = g.y[k - 1];
        if (!ArcCenter(x0, y0, g.x[k], g.y[k], g.radius[k], kind, p.cx, p.cy)) {
            ShowMessage(Sprintf("ARC FAILED\nx1=%0.5f y1=%0.5f x2=%0.5f y2=%0.5f r=%0.5f", x0, y0,
                                g.x[k], g.y[k], g.radius[k]),
                        "Character definition error", kMbOk | kMbIconExclamation);
            return k;
        }
        double sweep = Sweep(distance(x0, y0, g.x[k], g.y[k]) / 2, g.radius[k]);
        // Far more chords than any polyline can hold would overflow the count: the share
        // below brings them down anyway.
        p.chords = static_cast<int>(std::fmin(sweep / segment_angle, 1e6)) + 1;
        p.sweep_deg = kind == kCwArc ? -sweep : sweep;
    }
    return g.count;
}

// Brings the arcs' chords down, in proportion, until the glyph fits the polyline.
void Share(PointPlan* plan, int count) {
    long total = 0, arcs = 0;
    for (int k = 0; k < count; ++k) {
        total += plan[k].chords;
        if (plan[k].sweep_deg != 0)
            arcs += plan[k].chords;
    }
    if (total <= kMaxCharPoints)
        return;
    // Lines and jumps keep their one point each. Rounding every arc down to at least one
    // chord can add one point per arc, so the share leaves room for as many as there are.
    double room = kMaxCharPoints - (total - arcs) - kMaxGlyphPoints;
    for (int k = 0; k < count; ++k)
        if (plan[k].sweep_deg != 0)
            plan[k].chords = std::max(1, static_cast<int>(plan[k].chords * room / arcs));
}

StrokePoint Scaled(double x, double y, double sx, double sy, int pen) {
    return StrokePoint{x * sx, y * sy, pen};
}

} // namespace

int convert_char(int code, double sx, double sy, double segment_angle,
                 std::vector<StrokePoint>& points) {
    points.clear();
    if (code < kFirstDrawableCode || code >= kGlyphCount || !(segment_angle > 0) ||
        !std::isfinite(sx) || !std::isfinite(sy))
        return 0;
    Glyph g;
    if (!GetGlyph(code, g))
        GetGlyph(0, g);
    if (!g.defined || g.count <= 0)
        return 0;
    PointPlan plan[kMaxGlyphPoints];
    int count = Plan(g, segment_angle, plan);
    Share(plan, count);
    for (int k = 0; k < count; ++k) {
        const PointPlan& p = plan[k];
        if (p.chords == 0)
            continue;
        if (p.sweep_deg == 0) {
            points.push_back(Scaled(g.x[k], g.y[k], sx, sy, g.kind[k] == kRapid ? 0 : 1));
            continue;
        }
        // Each chord end is the arc's start turned about the centre; the last one is the
        // stored end point itself, so that rounding never opens the stroke.
        for (int i = 1; i < p.chords; ++i) {
            double x = g.x[k - 1], y = g.y[k - 1];
            TurnPoint(p.cx, p.cy, p.sweep_deg * i / p.chords, x, y);
            points.push_back(Scaled(x, y, sx, sy, 1));
        }
        points.push_back(Scaled(g.x[k], g.y[k], sx, sy, 1));
    }
    return static_cast<int>(points.size());
}

int draw_char(StrokeSink& sink, int code, double x, double y, double z, double sx, double sy,
              double angle_deg) {
    std::vector<StrokePoint> points;
    int n = convert_char(code, sx, sy, kScreenSegmentAngle, points);
    double a = angle_deg * kPi / 180, c = std::cos(a), s = std::sin(a);
    sink.MoveTo(x, y, z);
    for (const StrokePoint& p : points) {
        double px = x + p.x * c - p.y * s, py = y + p.x * s + p.y * c;
        if (p.pen)
            sink.LineTo(px, py, z);
        else
            sink.MoveTo(px, py, z);
    }
    return n;
}

std::vector<CharPlacement> LayOutText(int text_index) {
    std::vector<CharPlacement> chars;
    Text t;
    if (!GetText(t, text_index))
        return chars;
    double w = t.note ? 0 : t.eng_width;
    double u = (t.height - w) / kFontHeight;
    double a = t.angle * kPi / 180, c = std::cos(a), s = std::sin(a);
    double wx = TextWx(text_index);
    double along = t.align == kAlignRight ? -wx : t.align == kAlignCentre ? -wx / 2 : 0;
    along += t.scale > 0 ? w / 4 : -w / 4;
    double across = w / 2;
    for (char byte : t.text) {
        CharPlacement p;
        p.code = CharCode(byte);
        p.x = t.x + along * c - across * s;
        p.y = t.y + along * s + across * c;
        p.sx = u * t.scale;
        p.sy = u;
        chars.push_back(p);
        along += (CharAdvance(p.code) * u + w) * t.spacing * t.scale;
    }
    return chars;
}

int DrawTextStrokes(StrokeSink& sink, int text_index) {
    Text t;
    if (!GetText(t, text_index))
        return 0;
    int n = 0;
    for (const CharPlacement& p : LayOutText(text_index))
        n += draw_char(sink, p.code, p.x, p.y, t.z, p.sx, p.sy, t.angle);
    return n;
}

} // namespace korvel
