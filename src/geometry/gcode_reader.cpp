// The G-code word scanner and line reader.
#include "geometry/gcode_reader.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/units.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "geometry/types.h"

namespace korvel {

namespace {

enum CharClass : unsigned char {
    kOtherChar, // ends the line
    kBlankChar,
    kEndChar, // end of the line
    kIntegerWord,
    kRealWord,
    kPercentChar,
    kCommentChar,
    kNumberChar, // digits, '.' and '-': what the scanner moves over after a letter
};

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> c{};
    c[' '] = c['\t'] = kBlankChar;
    c['\0'] = c['\n'] = c['\r'] = kEndChar;
    for (char l : std::string_view("AGHLMNOPST")) {
        c[static_cast<unsigned char>(l)] = kIntegerWord;
        c[static_cast<unsigned char>(l - 'A' + 'a')] = kIntegerWord;
    }
    for (char l : std::string_view("BEFIJKQRXYZ")) {
        c[static_cast<unsigned char>(l)] = kRealWord;
        c[static_cast<unsigned char>(l - 'A' + 'a')] = kRealWord;
    }
    c['%'] = kPercentChar;
    c['('] = kCommentChar;
    for (char d = '0'; d <= '9'; ++d)
        c[static_cast<unsigned char>(d)] = kNumberChar;
    c['.'] = c['-'] = kNumberChar;
    return c;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

unsigned char ClassOf(char ch) { return kClasses[static_cast<unsigned char>(ch)]; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The integer at the start of s (an optional '-', then digits), as atoi reads it but held
// within the int range.
double ReadInteger(std::string_view s) {
    std::size_t i = 0;
    bool negative = i < s.size() && s[i] == '-';
    if (negative)
        ++i;
    long long v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        if (v <= INT_MAX)
            v = v * 10 + (s[i] - '0');
    if (v > INT_MAX)
        v = INT_MAX;
    return static_cast<double>(negative ? -v : v);
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The number at the start of s (an optional '-', digits, an optional '.' and digits), as
// strtod reads the same characters; 0 when there is none.
double ReadReal(std::string_view s) {
    std::size_t i = 0;
    bool negative = i < s.size() && s[i] == '-';
    if (negative)
        ++i;
    std::uint64_t mantissa = 0;
    int significant = 0, decimals = 0;
    bool any = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        char ch = s[i];
        if (ch == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(ch))
            break;
        any = true;
        mantissa = mantissa * 10 + static_cast<unsigned>(ch - '0'); // wraps only when unused
        significant += mantissa != 0;
        decimals += point;
    }
    if (!any)
        return 0;
    // Up to 15 significant digits the mantissa and the power of ten are exact doubles, and one
    // division rounds correctly: the same value the library would read.
    if (significant <= 15 && decimals <= 22) {
        double v = static_cast<double>(mantissa) / kPowersOfTen[decimals];
        return negative ? -v : v;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + i, v, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range)
        v = std::strtod(std::string(s.substr(0, i)).c_str(), nullptr); // infinity or zero
    (void)end;
    return v;
}

} // namespace

void UnitConvertion(int project_inch, int code_inch, double& value) {
    if (project_inch && !code_inch)
        value /= kMMPerInch;
    else if (!project_inch && code_inch)
        value *= kMMPerInch;
}

std::optional<std::string_view> gcom(std::string_view text, int& letter, double& value) {
    letter = -1;
    value = 0;
    std::size_t i = 0;
    while (i < text.size() && ClassOf(text[i]) == kBlankChar)
        ++i;
    if (i == text.size())
        return std::nullopt;
    unsigned char cls = ClassOf(text[i]);
    if (cls == kPercentChar || cls == kCommentChar) {
        letter = text[i];
        return std::nullopt;
    }
    if (cls != kIntegerWord && cls != kRealWord)
        return std::nullopt;
    char upper = text[i] >= 'a' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
    std::size_t start = ++i;
    bool point = false;
    for (; i < text.size() && ClassOf(text[i]) == kNumberChar; ++i)
        point |= text[i] == '.';
    std::string_view number = text.substr(start, i - start);
    if (cls == kIntegerWord) {
        if (point)
            return std::nullopt;
        value = ReadInteger(number);
    } else {
        value = ReadReal(number);
        if (!point)
            value /= 1000;
    }
    letter = upper;
    return text.substr(i);
}

// ---------------------------------------------------------------------------------------------
// The line reader.

int GcodeReader::gline_3D(std::string_view line, double& x, double& y, double& z, double& r,
                          double& feed, int& motion) {
    LineWords w;
    w.incremental = modal_.distance_mode == 91;
    w.project_inch = UserUnit() == kUnitInch;
    w.x = modal_.x;
    w.y = modal_.y;
    w.z = modal_.z;
    bool accepted = true;
    std::string_view rest = line;
    int letter;
    double value;
    while (std::optional<std::string_view> next = gcom(rest, letter, value)) {
        if (!ApplyWord(letter, value, w)) {
            accepted = false;
            break;
        }
        rest = *next;
    }
    int code = kGcodeNoMove;
    double radius = 0;
    if (accepted && w.move) {
        static constexpr int kModalCodes[4] = {kRapid, kLine, kCwArc, kCcwArc};
        code = w.g_motion != kGcodeNoMove ? w.g_motion : kModalCodes[modal_.motion];
        if (!std::isfinite(w.x) || !std::isfinite(w.y) || !std::isfinite(w.z))
            accepted = false; // increments that overflowed
        else if (code == kCwArc || code == kCcwArc)
            accepted = ResolveArc(w, code, radius);
    }
    // A rejected line moves nothing; what its words changed before the fault (an O or M30
    // reset among them) stays.
    feed = modal_.feed;
    r = 0;
    motion = kGcodeNoMove;
    if (!accepted) {
        x = modal_.x;
        y = modal_.y;
        z = modal_.z;
        return kGcodeRejected;
    }
    double start_x = modal_.x, start_y = modal_.y;
    modal_.x = x = w.x;
    modal_.y = y = w.y;
    modal_.z = z = w.z;
    if (code != kGcodeNoMove && (code & kGcodeFullCircle)) {
        x = start_x + w.i;
        y = start_y + w.j;
    }
    r = radius;
    motion = code;
    return w.stop ? kGcodeStop : modal_.spindle_tool;
}

bool GcodeReader::ApplyWord(int letter, double value, LineWords& w) {
    bool arc_modal = modal_.motion == 2 || modal_.motion == 3;
    double v = value;
    switch (letter) {
    case 'O':
        modal_.feed = 0;
        modal_.motion = 0;
        modal_.spindle_tool = 0;
        modal_.tool = 0;
        ResetPosition(w);
        return true;
    case 'G':
        return ApplyG(static_cast<int>(value), w);
    case 'M':
        return ApplyM(static_cast<int>(value), w);
    case 'T':
        if (value < 1 || value > 99)
            return false;
        modal_.tool = static_cast<int>(value);
        return true;
    case 'F':
        Convert(w, v);
        if (!std::isfinite(v))
            return false;
        modal_.feed = v;
        return true;
    case 'X':
        return Axis(value, modal_.x, w.x, w);
    case 'Y':
        return Axis(value, modal_.y, w.y, w);
    case 'Z':
        return Axis(value, modal_.z, w.z, w);
    case 'R':
    case 'I':
    case 'J':
        if (!arc_modal)
            return true;
        Convert(w, v);
        if (!std::isfinite(v))
            return false;
        if (letter == 'R') {
            w.r = v;
            w.r_given = true;
        } else {
            (letter == 'I' ? w.i : w.j) = v;
            w.ij_given = true;
            w.move = true;
        }
        return true;
    default: // words this reader does not follow
        return true;
    }
}

bool GcodeReader::ApplyG(int code, LineWords& w) {
    switch (code) {
    case 0:
    case 28:
        modal_.motion = 0;
        w.g_motion = kRapid;
        break;
    case 1:
        modal_.motion = 1;
        w.g_motion = kLine;
        break;
    case 2:
        modal_.motion = 2;
        w.g_motion = kCwArc;
        break;
    case 3:
        modal_.motion = 3;
        w.g_motion = kCcwArc;
        break;
    case 20:
    case 21:
        modal_.inch = code == 20;
        break;
    case 90:
    case 91:
        // The line goes on in the mode it started with.
        modal_.distance_mode = code;
        w.i = w.j = 0;
        break;
    default:
        break;
    }
    return true;
}

bool GcodeReader::ApplyM(int code, LineWords& w) {
    if (code == 6) {
        modal_.spindle_tool = modal_.tool;
    } else if (code == 30) {
        modal_.motion = 0;
        modal_.tool = 0;
        modal_.spindle_tool = -1;
        ResetPosition(w);
    } else if (code == 0) {
        w.stop = true;
    }
    return true;
}

// The new value of an axis: converted, absolute or added to the last one; a value other than
// the last one makes the line a move. False when the number does not fit a double.
bool GcodeReader::Axis(double value, double last, double& out, LineWords& w) const {
    Convert(w, value);
    if (!std::isfinite(value))
        return false;
    out = w.incremental ? last + value : value;
    if (out != last)
        w.move = true;
    return true;
}

// Converts a value read from the program into the project unit.
void GcodeReader::Convert(const LineWords& w, double& value) const {
    UnitConvertion(w.project_inch, modal_.inch < 0 ? w.project_inch : modal_.inch, value);
}

// Program start and end put the position back to the origin; the rest of the line starts
// there.
void GcodeReader::ResetPosition(LineWords& w) {
    modal_.x = modal_.y = modal_.z = 0;
    w.x = w.y = w.z = 0;
}

// Checks an arc move and works out its radius and motion code.
bool GcodeReader::ResolveArc(const LineWords& w, int& motion, double& r) const {
    if (w.r_given == w.ij_given)
        return false;
    double xs = modal_.x, ys = modal_.y;
    if (equal(w.x, xs) && equal(w.y, ys)) {
        if (!w.ij_given)
            return false;
        motion |= kGcodeFullCircle;
    }
    if (!w.ij_given) {
        r = w.r;
        return true;
    }
    double radius = std::sqrt(sqr(w.i) + sqr(w.j));
    if (!r_equal(distance(xs + w.i, ys + w.j, w.x, w.y), radius))
        return false;
    // These angles are not those of the radii, but their difference exceeds pi exactly when
    // the arc does: the reflected, shifted vectors keep the orientation test.
    double a1 = std::atan2(w.i, w.j);
    double a2 = std::atan2(w.x - xs + w.i, w.y - ys + w.j);
    bool ccw = (motion & ~kGcodeFullCircle) == kCcwArc;
    if (ccw && a1 > a2)
        a2 += 2 * kPi;
    if (!ccw && a2 > a1)
        a1 += 2 * kPi;
    r = double_abs(a1 - a2) > kPi ? -radius : radius;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The shared reader.

namespace {
GcodeReader& SharedReader() {
    static GcodeReader reader;
    return reader;
}
} // namespace

int gline_3D(std::string_view line, double& x, double& y, double& z, double& r, double& feed,
             int& motion) {
    return SharedReader().gline_3D(line, x, y, z, r, feed, motion);
}

const GcodeModal& GcodeReaderModal() { return SharedReader().Modal(); }

void InitGcodeReader() { SharedReader() = GcodeReader(); }

} // namespace korvel
