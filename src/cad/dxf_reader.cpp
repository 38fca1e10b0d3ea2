// DXF reading: one pass over the file in memory, pair by pair, each entity's pairs gathered as
// views into the buffer and then turned into items. No allocation per pair or per entity,
// apart from the items themselves.
#include "cad/dxf_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "geometry/types.h"

namespace korvel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMaxLayerName = 79;
constexpr std::size_t kMaxMText = 1023;

struct Pair {
    int code;
    std::string_view value;
    int line; // line of the value
};

// Lines of the buffer: ended by LF, CR LF or a lone CR, trimmed of blanks and tabs.
class LineReader {
public:
    explicit LineReader(std::string_view data) : p_(data.data()), end_(p_ + data.size()) {}
    bool Next(std::string_view& line) {
        if (p_ >= end_)
            return false;
        const char* start = p_;
        while (p_ < end_ && *p_ != '\n' && *p_ != '\r')
            ++p_;
        const char* stop = p_;
        if (p_ < end_ && *p_ == '\r')
            ++p_;
        if (p_ < end_ && *p_ == '\n')
            ++p_;
        while (start < stop && (*start == ' ' || *start == '\t'))
            ++start;
        while (stop > start && (stop[-1] == ' ' || stop[-1] == '\t'))
            --stop;
        line = std::string_view(start, static_cast<std::size_t>(stop - start));
        ++number_;
        return true;
    }
    int number() const { return number_; }

private:
    const char* p_;
    const char* end_;
    int number_ = 0;
};

bool ParseInt(std::string_view s, int& v) {
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, v);
    return ec == std::errc() && ptr == end && !s.empty();
}

bool ParseReal(std::string_view s, double& v) {
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, v, std::chars_format::general);
    return ec == std::errc() && ptr == end && !s.empty() && std::isfinite(v);
}

// An entity's pairs and the numbers read from them.
class Entity {
public:
    std::string_view type;
    int line = 0;
    std::vector<Pair> pairs;
    // The last value of a real group; false (and `bad` set) for a value that is not a number.
    bool Real(int code, double& v) {
        bool found = false;
        for (const Pair& p : pairs)
            if (p.code == code) {
                if (!ParseReal(p.value, v))
                    return Bad(p, "is not a number");
                found = true;
            }
        return found;
    }
    bool Int(int code, int& v) {
        bool found = false;
        for (const Pair& p : pairs)
            if (p.code == code) {
                if (!ParseInt(p.value, v))
                    return Bad(p, "is not an integer");
                found = true;
            }
        return found;
    }
    bool Mirrored() {
        double z = 1;
        return Real(230, z) && z < 0;
    }
    bool Bad(const Pair& p, const char* what) {
        if (bad_line == 0) {
            bad_line = p.line;
            bad = "value \"" + std::string(p.value.substr(0, 40)) + "\" of group " +
                  std::to_string(p.code) + " " + what;
        }
        return false;
    }
    int bad_line = 0;
    std::string bad;
};

int LayerIndex(DXFDrawing& d, Entity& e) {
    std::string_view name;
    for (const Pair& p : e.pairs)
        if (p.code == 8)
            name = p.value;
    if (name.empty())
        return -1;
    char upper[kMaxLayerName + 1];
    std::size_t n = name.size() < kMaxLayerName ? name.size() : kMaxLayerName;
    for (std::size_t i = 0; i < n; ++i)
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    std::string_view key(upper, n);
    for (std::size_t i = 0; i < d.layers.size(); ++i)
        if (d.layers[i] == key)
            return static_cast<int>(i);
    d.layers.emplace_back(key);
    return static_cast<int>(d.layers.size()) - 1;
}

void AddElement(DXFDrawing& d, const DXFItem& base, double x1, double y1, double x2, double y2,
                double r, int kind) {
    DXFItem item = base;
    item.is_text = false;
    item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2, item.r = r, item.kind = kind;
    d.items.push_back(std::move(item));
}

void ReadLine(DXFDrawing& d, Entity& e) {
    double x1, y1, x2, y2;
    bool ok = e.Real(10, x1) & e.Real(20, y1) & e.Real(11, x2) & e.Real(21, y2);
    if (!ok || (x1 == x2 && y1 == y2))
        return; // incomplete or of zero length
    DXFItem base;
    base.layer = LayerIndex(d, e);
    AddElement(d, base, x1, y1, x2, y2, 0, kLine);
}

void ReadCircle(DXFDrawing& d, Entity& e) {
    double x, y, r;
    bool ok = e.Real(10, x) & e.Real(20, y) & e.Real(40, r);
    if (!ok || !(r > 0))
        return;
    if (e.Mirrored())
        x = -x; // the centre is given in the mirrored object coordinates
    DXFItem base;
    base.layer = LayerIndex(d, e);
    AddElement(d, base, x, y, 0, 0, r, kCircle);
}

void ReadArc(DXFDrawing& d, Entity& e) {
    double cx, cy, r, a1, a2;
    bool ok = e.Real(10, cx) & e.Real(20, cy) & e.Real(40, r) & e.Real(50, a1) & e.Real(51, a2);
    if (!ok || !(r > 0))
        return;
    if (e.Mirrored()) {
        // Seen from above, the arc runs the other way round the mirrored centre.
        cx = -cx;
        std::swap(a1, a2);
        a1 = 180 - a1;
        a2 = 180 - a2;
    }
    a1 = std::fmod(a1, 360.0);
    a2 = std::fmod(a2, 360.0);
    if (a1 > a2)
        a2 += 360;
    if (a2 - a1 < 1e-9)
        return; // no sweep
    auto px = [&](double a) { return cx + r * std::cos(a * kPi / 180); };
    auto py = [&](double a) { return cy + r * std::sin(a * kPi / 180); };
    DXFItem base;
    base.layer = LayerIndex(d, e);
    if (a2 - a1 >= 180) {
        double m = (a1 + a2) / 2;
        AddElement(d, base, px(a1), py(a1), px(m), py(m), r, kCcwArc);
        AddElement(d, base, px(m), py(m), px(a2), py(a2), r, kCcwArc);
    } else {
        AddElement(d, base, px(a1), py(a1), px(a2), py(a2), r, kCcwArc);
    }
}

// The text of group 1 (and 3 for MTEXT pieces) with characters a project line cannot carry
// replaced: a double quote by a single one, control characters by blanks.
std::string CleanText(std::string_view s) {
    std::string t(s);
    for (char& c : t) {
        if (c == '"')
            c = '\'';
        else if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return t;
}

void ReadText(DXFDrawing& d, Entity& e) {
    DXFItem t;
    t.is_text = true;
    bool ok = e.Real(10, t.x1) & e.Real(20, t.y1) & e.Real(40, t.height);
    std::string_view text;
    bool has_text = false;
    for (const Pair& p : e.pairs)
        if (p.code == 1)
            text = p.value, has_text = true;
    double width = 1, angle = 0;
    int flags = 0;
    e.Real(41, width);
    e.Real(50, angle);
    e.Int(71, flags);
    if (!ok || !has_text)
        return;
    t.width = flags == 2 ? -width : width;
    t.angle = angle;
    t.text = CleanText(text);
    t.layer = LayerIndex(d, e);
    RegisterMText(d, t);
}

void ReadMText(DXFDrawing& d, Entity& e) {
    DXFItem t;
    t.is_text = true;
    bool ok = e.Real(10, t.x1) & e.Real(20, t.y1) & e.Real(40, t.height);
    std::string text;
    double dx = 0, dy = 0, angle = 0;
    bool has_angle = false, has_dir = false;
    int attach = 1;
    for (const Pair& p : e.pairs) {
        if ((p.code == 1 || p.code == 3) && text.size() + p.value.size() <= kMaxMText)
            text += p.value;
        else if (p.code == 50)
            has_angle = true, has_dir = false;
        else if (p.code == 11 || p.code == 21)
            has_dir = true, has_angle = false;
    }
    if (has_angle)
        e.Real(50, angle);
    if (has_dir && (e.Real(11, dx) | e.Real(21, dy)))
        angle = std::atan2(dy, dx);
    e.Int(71, attach);
    if (!ok)
        return;
    double shift = attach >= 1 && attach <= 3   ? t.height
                   : attach >= 4 && attach <= 6 ? t.height / 2
                                                : 0;
    // Moved down by the shift along the text's own down direction.
    t.x1 += shift * std::sin(angle);
    t.y1 -= shift * std::cos(angle);
    t.align = attach % 3 == 0 ? 1 : attach % 3 == 2 ? 2 : 0;
    t.angle = angle * 180 / kPi;
    t.width = 1;
    t.text = CleanText(text);
    t.layer = LayerIndex(d, e);
    RegisterMText(d, t);
}

// LWPOLYLINE: vertices in order, each 10 starting a new one; bulge 42 belongs to the vertex
// just started.
void ReadLWPolyline(DXFDrawing& d, Entity& e) {
    int flags = 0;
    e.Int(70, flags);
    bool mirrored = e.Mirrored();
    std::vector<std::pair<double, double>> pts;
    std::vector<double> bulges;
    for (const Pair& p : e.pairs) {
        double v;
        if (p.code != 10 && p.code != 20 && p.code != 42)
            continue;
        if (!ParseReal(p.value, v)) {
            e.Bad(p, "is not a number");
            return;
        }
        if (p.code == 10) {
            pts.emplace_back(mirrored ? -v : v, 0);
            bulges.push_back(0);
        } else if (!pts.empty()) {
            if (p.code == 20)
                pts.back().second = v;
            else
                bulges.back() = mirrored ? -v : v;
        }
    }
    DXFItem base;
    base.polyline = d.polylines++;
    std::size_t n = pts.size();
    for (std::size_t i = 1; i < n; ++i)
        RegisterVertex(d, pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second,
                       bulges[i - 1], base);
    if ((flags & 1) && n > 1)
        RegisterVertex(d, pts[n - 1].first, pts[n - 1].second, pts[0].first, pts[0].second,
                       bulges[n - 1], base);
}

// An old-style POLYLINE and the VERTEX entities that follow it up to SEQEND.
struct OpenPolyline {
    bool open = false;
    bool closed = false;
    bool mirrored = false;
    int layer = -1;
    std::vector<double> x, y, bulge;
};

void FinishPolyline(DXFDrawing& d, OpenPolyline& pl) {
    if (!pl.open)
        return;
    DXFItem base;
    base.layer = pl.layer;
    std::size_t n = pl.x.size();
    for (std::size_t i = 1; i < n; ++i)
        RegisterVertex(d, pl.x[i - 1], pl.y[i - 1], pl.x[i], pl.y[i], pl.bulge[i - 1], base);
    if (pl.closed && n > 1)
        RegisterVertex(d, pl.x[n - 1], pl.y[n - 1], pl.x[0], pl.y[0], pl.bulge[n - 1], base);
    pl = OpenPolyline{};
}

void StartPolyline(DXFDrawing& d, Entity& e, OpenPolyline& pl) {
    FinishPolyline(d, pl);
    int flags = 0;
    e.Int(70, flags);
    pl.open = true;
    pl.closed = (flags & 1) != 0;
    pl.mirrored = e.Mirrored();
    pl.layer = LayerIndex(d, e);
}

void ReadVertex(Entity& e, OpenPolyline& pl) {
    double x, y, b = 0;
    int flags = 0;
    bool ok = e.Real(10, x) & e.Real(20, y);
    e.Real(42, b);
    e.Int(70, flags);
    if (!pl.open || !ok || (flags & 16))
        return; // outside a polyline, incomplete, or a spline frame point
    pl.x.push_back(pl.mirrored ? -x : x);
    pl.y.push_back(y);
    pl.bulge.push_back(pl.mirrored ? -b : b);
}

void ReadEntity(DXFDrawing& d, Entity& e, OpenPolyline& pl) {
    const std::string_view t = e.type;
    if (t == "VERTEX") {
        ReadVertex(e, pl);
        return;
    }
    FinishPolyline(d, pl); // SEQEND, or a polyline left without it
    if (t == "LINE")
        ReadLine(d, e);
    else if (t == "ARC")
        ReadArc(d, e);
    else if (t == "CIRCLE")
        ReadCircle(d, e);
    else if (t == "TEXT")
        ReadText(d, e);
    else if (t == "MTEXT")
        ReadMText(d, e);
    else if (t == "LWPOLYLINE")
        ReadLWPolyline(d, e);
    else if (t == "POLYLINE")
        StartPolyline(d, e, pl);
}

struct Reader {
    LineReader lines;
    DXFDrawing& drawing;
    std::string& error;
    int& error_line;

    bool Fail(int line, std::string what) {
        error = std::move(what);
        error_line = line;
        return false;
    }
    // 1 a pair, 0 the end of the file before a pair, -1 a fault.
    int Next(Pair& p) {
        std::string_view code;
        if (!lines.Next(code))
            return 0;
        if (!ParseInt(code, p.code))
            return Fail(lines.number(),
                        "group code \"" + std::string(code.substr(0, 40)) + "\" is not an integer"),
                   -1;
        if (!lines.Next(p.value))
            return Fail(lines.number(), "the file ends after a group code"), -1;
        p.line = lines.number();
        return 1;
    }
    bool Run();
    bool Entities(Pair& p);
};

// Reads the ENTITIES section from the pair after "2 ENTITIES" up to its ENDSEC.
bool Reader::Entities(Pair& p) {
    Entity e;
    OpenPolyline pl;
    int got = Next(p);
    while (got == 1 && p.code != 0)
        got = Next(p); // pairs before the first entity
    while (got == 1) {
        if (p.value == "ENDSEC") {
            FinishPolyline(drawing, pl);
            return true;
        }
        e.type = p.value;
        e.line = p.line;
        e.pairs.clear();
        while ((got = Next(p)) == 1 && p.code != 0)
            e.pairs.push_back(p);
        if (got != 1)
            break;
        ReadEntity(drawing, e, pl);
        if (e.bad_line)
            return Fail(e.bad_line, e.bad + " in " + std::string(e.type.substr(0, 40)));
    }
    if (got == 0)
        Fail(lines.number(), "the file ends inside the ENTITIES section");
    return false;
}

bool Reader::Run() {
    Pair p;
    bool entities = false;
    int got;
    while ((got = Next(p)) == 1) {
        if (p.code != 0)
            continue;
        if (p.value == "EOF") {
            if (!entities)
                return Fail(p.line, "the file has no ENTITIES section");
            return true;
        }
        if (p.value != "SECTION")
            continue;
        if ((got = Next(p)) != 1)
            break;
        if (p.code == 2 && p.value == "ENTITIES") {
            if (entities)
                return Fail(p.line, "a second ENTITIES section");
            if (!Entities(p))
                return false;
            entities = true;
        }
    }
    if (got == 0)
        return Fail(lines.number(),
                    entities ? "the file ends without EOF" : "the file has no ENTITIES section");
    return false;
}

} // namespace

int ReadDXF(std::string_view data, DXFDrawing& drawing, std::string& error, int& error_line) {
    drawing = DXFDrawing{};
    error.clear();
    error_line = 0;
    Reader reader{LineReader(data), drawing, error, error_line};
    if (reader.Run())
        return 1;
    drawing = DXFDrawing{};
    return 0;
}

void RegisterVertex(DXFDrawing& d, double x1, double y1, double x2, double y2, double bulge,
                    const DXFItem& base) {
    double dx = x2 - x1, dy = y2 - y1;
    double chord = std::hypot(dx, dy);
    if (chord == 0)
        return;
    if (bulge == 0) {
        AddElement(d, base, x1, y1, x2, y2, 0, kLine);
        return;
    }
    int kind = bulge < 0 ? kCwArc : kCcwArc;
    double theta = 4 * std::atan(std::fabs(bulge)); // included angle
    double r = chord / (2 * std::sin(theta / 2));
    if (!(r > 0) || !std::isfinite(r))
        return;
    if (std::fabs(bulge) <= 1) {
        AddElement(d, base, x1, y1, x2, y2, r, kind);
        return;
    }
    // The arc's midpoint lies the sagitta (bulge times half the chord) off the chord's middle,
    // to the right of the chord's direction for a counter-clockwise arc.
    double mx = (x1 + x2) / 2 + bulge / 2 * dy;
    double my = (y1 + y2) / 2 - bulge / 2 * dx;
    AddElement(d, base, x1, y1, mx, my, r, kind);
    AddElement(d, base, mx, my, x2, y2, r, kind);
}

void RegisterMText(DXFDrawing& d, const DXFItem& text) {
    std::string s = text.text;
    // A format group {\f...;text} keeps only its text.
    if (!s.empty() && s[0] == '{') {
        std::size_t semi = s.find(';');
        s = semi == std::string::npos ? std::string() : s.substr(semi + 1);
        if (!s.empty() && s.back() == '}')
            s.pop_back();
    }
    double a = text.angle * kPi / 180;
    double step = 1.5 * text.height;
    std::size_t start = 0;
    for (int k = 0;; ++k) {
        std::size_t at = start;
        while (at + 1 < s.size() && !(s[at] == '\\' && (s[at + 1] == 'P' || s[at + 1] == 'p')))
            ++at;
        bool last = at + 1 >= s.size();
        std::string piece = s.substr(start, last ? std::string::npos : at - start);
        if (!piece.empty()) {
            DXFItem t = text;
            t.text = std::move(piece);
            t.x1 = text.x1 + k * step * std::sin(a);
            t.y1 = text.y1 - k * step * std::cos(a);
            d.items.push_back(std::move(t));
        }
        if (last)
            break;
        start = at + 2;
    }
}

} // namespace korvel
