// The three line splitters, the shared argument vector and the string routines around them.
#include "base/text.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace korvel {

namespace detail {
std::string g_line;
std::array<TokenSpan, kMaxArgs> g_span;
int g_stored = 0;
std::array<ParsedNumber, kMaxArgs> g_number;
std::uint32_t g_parsed = 0;
std::uint32_t g_whole = 0;
} // namespace detail

namespace {

int g_arg_count = 0; // what the splitter returned
std::array<std::string, kMaxArgs> g_arg;
std::uint32_t g_made = 0; // bit i: g_arg[i] holds token i

using detail::g_line;
using detail::g_number;
using detail::g_parsed;
using detail::g_span;
using detail::g_stored;
using detail::g_whole;
using detail::ParsedNumber;
using detail::Token;

// A plain decimal ("-12.50000", the numbers every written line holds) in parts: sign, its
// digits as one integer, their count and the count of those after the point. With at most 15
// digits both that integer and the power of ten are exact doubles, so one division gives the
// correctly rounded value, as strtod would.
struct PlainDecimal {
    bool negative = false;
    std::uint64_t mantissa = 0; // wraps past 19 digits, which the count refuses
    std::ptrdiff_t digits = 0;
    std::ptrdiff_t decimals = 0;
    std::uint64_t whole = 0; // the digits before the point
    std::ptrdiff_t whole_digits = 0;

    // The value, when the parts are one of the numbers read exactly this way.
    bool Value(double& value) const {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        if (digits == 0 || digits > 15)
            return false;
        value = static_cast<double>(mantissa) / kPowers[decimals];
        if (negative)
            value = -value;
        return true;
    }
};

// Reads a plain decimal's parts from p on; returns where the reading stopped.
const char* ScanPlainDecimal(const char* p, const char* end, PlainDecimal& number) {
    number.negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    const char* first = p;
    for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
        number.mantissa = number.mantissa * 10 + d;
    number.digits = number.whole_digits = p - first;
    number.whole = number.mantissa;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
            number.mantissa = number.mantissa * 10 + d;
        number.decimals = p - fraction;
        number.digits += number.decimals;
    }
    return p;
}

bool ParsePlainDecimal(std::string_view text, double& value) {
    PlainDecimal number;
    const char* end = text.data() + text.size();
    return ScanPlainDecimal(text.data(), end, number) == end && number.Value(value);
}

// Reads the number at the start of text as strtod (and so atof) does: the longest prefix that
// is a number; 0 and false when there is none. from_chars does the common decimal forms much
// faster; hexadecimal and out-of-range numbers go to strtod.
bool ParseLeadingNumber(std::string_view text, double& value) {
    if (ParsePlainDecimal(text, value))
        return true;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* p = begin;
    if (p < end && *p == '+') {
        ++p;
        if (p < end && (*p == '-' || *p == '+'))
            return (value = 0), false;
    }
    auto r = std::from_chars(p, end, value, std::chars_format::general);
    bool hexadecimal = r.ptr < end && (*r.ptr == 'x' || *r.ptr == 'X'); // "0x1A": strtod's
    if (r.ec == std::errc() && !hexadecimal)
        return true;
    if (r.ec == std::errc::invalid_argument)
        return (value = 0), false;
    std::string copy(text); // strtod needs the token's end
    char* stop = nullptr;
    value = std::strtod(copy.c_str(), &stop);
    return stop != copy.c_str();
}

constexpr int kStackDepth = 8;
std::array<std::string, kStackDepth> g_stack;
int g_stack_depth = 0;

// The delimiter set of args, each a token by itself. 0xB3 is a box-drawing bar of the old
// DOS code page that older files use as a separator.
constexpr std::string_view kDelimiters = "()[]=,<>\xB3|&#^%;";

// Tested for every character of every script line: a table rather than a search.
constexpr std::array<bool, 256> kIsDelimiter = [] {
    std::array<bool, 256> table{};
    for (char c : kDelimiters)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

bool IsDelimiter(char c) { return kIsDelimiter[static_cast<unsigned char>(c)]; }
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where a script word ends: a blank, a tab or a delimiter.
constexpr std::array<bool, 256> kEndsWord = [] {
    std::array<bool, 256> table = kIsDelimiter;
    table[' '] = table['\t'] = true;
    return table;
}();

// A script word is read as a plain decimal on the way, since most words of a script are
// numbers: slot's number is then known without reading the word again.
struct ScriptToken {
    std::size_t operator()(std::string_view s, int slot) const {
        if (s.empty())
            return 0;
        if (IsDelimiter(s[0]))
            return 1;
        if (s[0] == '"') {
            std::size_t close = s.find('"', 1);
            return close == std::string_view::npos ? s.size() : close + 1;
        }
        const char* begin = s.data();
        const char* end = begin + s.size();
        PlainDecimal number;
        const char* p = ScanPlainDecimal(begin, end, number);
        const char* word_end = p;
        while (word_end < end && !kEndsWord[static_cast<unsigned char>(*word_end)])
            ++word_end;
        std::size_t length = static_cast<std::size_t>(word_end - begin);
        ParsedNumber& n = g_number[static_cast<std::size_t>(slot)];
        if (p == word_end && length <= kMaxArgLen && number.Value(n.value)) {
            n.consumed = true;
            g_parsed |= 1u << slot;
            if (number.whole_digits <= 9) { // what atoi gives, within the int range
                int whole = static_cast<int>(number.whole);
                n.whole = number.negative ? -whole : whole;
                g_whole |= 1u << slot;
            }
        }
        return length;
    }
};

struct TabField {
    std::size_t operator()(std::string_view s, int) const {
        std::size_t n = s.find('\t');
        return n == std::string_view::npos ? s.size() : n;
    }
};

struct GCodeWord {
    std::size_t operator()(std::string_view s, int) const {
        if (s.empty())
            return 0;
        char c = s[0];
        if (c == 'N' || c == 'G' || c == 'M' || c == 'S') {
            std::size_t n = 1;
            while (n < s.size() && IsDigit(s[n]))
                ++n;
            return n;
        }
        if (c == '(') {
            std::size_t close = s.find(')');
            return close == std::string_view::npos ? s.size() : close;
        }
        std::size_t n = 0;
        while (n < s.size() && !IsBlankOrTab(s[n]))
            ++n;
        return n;
    }
};

// The loop the three splitters share: skip blanks and tabs, measure a token, store its span.
template <typename Rule> int Split(std::string& line, Rule rule) {
    std::size_t nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    rmnl(line);
    g_line.assign(line);
    g_stored = 0;
    g_made = 0;
    g_parsed = 0;
    g_whole = 0;
    std::string_view all(g_line);
    std::size_t pos = 0;
    while (true) {
        while (pos < all.size() && IsBlankOrTab(all[pos]))
            ++pos;
        std::size_t len = rule(all.substr(pos), g_stored);
        if (len == 0)
            break;
        if (len > kMaxArgLen)
            len = kMaxArgLen; // a longer run continues as the next token
        g_span[g_stored++] = {pos, len};
        pos += len;
        if (g_stored == kMaxArgs)
            return g_arg_count = -1;
    }
    return g_arg_count = g_stored;
}

} // namespace

int args(std::string& line) { return Split(line, ScriptToken()); }
int argt(std::string& line) { return Split(line, TabField()); }
int arg_gm(std::string& line) { return Split(line, GCodeWord()); }

const std::string& Arg(int i) {
    static const std::string empty;
    if (i < 0 || i >= g_stored)
        return empty;
    std::uint32_t bit = 1u << i;
    if (!(g_made & bit)) {
        g_arg[i].assign(Token(i));
        g_made |= bit;
    }
    return g_arg[i];
}

int ArgCount() { return g_arg_count; }

struct SavedArguments::State {
    std::string line;
    std::array<detail::TokenSpan, kMaxArgs> span;
    int stored;
    std::array<ParsedNumber, kMaxArgs> number;
    std::uint32_t parsed, whole;
    int count;
    std::array<std::string, kMaxArgs> arg;
    std::uint32_t made;
};

SavedArguments::SavedArguments()
    : state_(new State{g_line, g_span, g_stored, g_number, g_parsed, g_whole, g_arg_count, g_arg,
                       g_made}) {}

SavedArguments::~SavedArguments() {
    State& s = *state_;
    g_line = std::move(s.line);
    g_span = s.span;
    g_stored = s.stored;
    g_number = s.number;
    g_parsed = s.parsed;
    g_whole = s.whole;
    g_arg_count = s.count;
    g_arg = std::move(s.arg);
    g_made = s.made;
}

namespace detail {

bool ArgNumberSlow(int i, double& value) {
    if (i < 0 || i >= g_stored) {
        value = 0;
        return false;
    }
    ParsedNumber& n = g_number[i];
    n.consumed = ParseLeadingNumber(Token(i), n.value);
    g_parsed |= 1u << i;
    value = n.value;
    return n.consumed;
}

int ArgISlow(int i) {
    // atoi: the leading integer, clamped to the int range (atoi itself is undefined there).
    std::string_view text = Token(i);
    const char* p = text.data();
    const char* end = p + text.size();
    if (p < end && *p == '+' && p + 1 < end && p[1] != '-')
        ++p;
    long long v = 0;
    auto r = std::from_chars(p, end, v);
    if (r.ec == std::errc::result_out_of_range)
        return *p == '-' ? INT_MIN : INT_MAX;
    if (r.ec != std::errc())
        return 0;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace detail

int inv_args(std::string& buffer) {
    buffer.clear();
    for (int i = 0; i < g_arg_count; ++i) {
        buffer += Token(i);
        buffer += ' ';
    }
    return g_arg_count;
}

int rmnl(std::string& s) {
    std::size_t at = s.find('\n');
    if (at == std::string::npos)
        at = s.find('\r');
    if (at == std::string::npos)
        return 0;
    s.resize(at);
    return 1;
}

int enl(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::size_t rmb(std::string& s) {
    rmtb(s);
    std::size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? s.size() : first;
}

void rmtb(std::string& s) {
    std::size_t last = s.find_last_not_of(" \t");
    s.resize(last == std::string::npos ? 0 : last + 1);
}

void caps(std::string& s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
}

std::string Upper(std::string_view s) {
    std::string u(s);
    caps(u);
    return u;
}

void RemQuotes(std::string& s) {
    s.erase(0, rmb(s));
    if (!s.empty() && s.front() == '"')
        s.erase(0, 1);
    if (!s.empty() && s.back() == '"')
        s.pop_back();
}

void UScore2Blank(std::string& s) {
    for (char& c : s)
        if (c == '_')
            c = ' ';
}

void Blank2UScore(std::string& s) {
    for (char& c : s)
        if (c == ' ' || c == '\t')
            c = '_';
}

void cpstr(std::string& dst, std::string_view src) {
    std::string out;
    out.reserve(src.size());
    for (std::size_t i = 0; i < src.size(); ++i) {
        if (src[i] == ' ' && i > 0 && src[i - 1] == ' ')
            continue;
        out += src[i];
    }
    dst = std::move(out);
}

void q_copy(std::string& dst, std::string_view src, std::size_t n) { dst.assign(src.substr(0, n)); }

int IsBlank(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }

int FileExist(const std::string& path) {
    std::FILE* f = OpenRegularFile(path);
    if (!f)
        return 0;
    std::fclose(f);
    return 1;
}

void Remember(const std::string& s) {
    if (g_stack_depth < kStackDepth)
        g_stack[g_stack_depth++] = s;
}

void Retrieve(std::string& s) {
    if (g_stack_depth >= 1)
        s = g_stack[--g_stack_depth];
}

void ClearStringStack() { g_stack_depth = 0; }

namespace {

bool g_exact_floats = false;

// "%.*f" as printf writes it, for the common case of a moderate value and a few decimals: the
// value scaled to an integer and rounded. The scaling rounds once, so this is exact unless the
// scaled value lies within that rounding of a tie, and those are left to the exact conversion
// (false, as for large values and many decimals).
bool FixedQuick(double v, int precision, char* buffer, std::string_view& text) {
    static constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (precision < 0 || precision > 9)
        return false;
    double scaled = std::fabs(v) * kScale[precision];
    if (!(scaled < 1e15))
        return false; // also NaN
    double whole = std::floor(scaled);
    double fraction = scaled - whole; // exact below 2^52
    if (std::fabs(fraction - 0.5) <= scaled * 1e-15)
        return false;
    auto rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    // The decimals are peeled off the right end (dividing by a constant is a multiplication),
    // what remains is the integer part.
    char decimals[9];
    for (int i = precision; i > 0; --i) {
        decimals[i - 1] = static_cast<char>('0' + rounded % 10);
        rounded /= 10;
    }
    char* out = buffer;
    if (std::signbit(v))
        *out++ = '-';
    out = std::to_chars(out, out + 24, rounded).ptr;
    if (precision > 0) {
        *out++ = '.';
        std::memcpy(out, decimals, static_cast<std::size_t>(precision));
        out += precision;
    }
    text = std::string_view(buffer, static_cast<std::size_t>(out - buffer));
    return true;
}

// Appends one converted argument. Returns false for a conversion this formatter does not
// know, so that the caller falls back on vsnprintf.
bool AppendConversion(std::string& out, const char*& f, va_list& ap) {
    char buffer[400];
    std::string_view text;
    // The two conversions that every written line is made of, "%d" and "%0.5f" (or another
    // single-digit precision), without the general parsing below.
    if (f[0] == 'd') {
        ++f;
        auto r = std::to_chars(buffer, buffer + sizeof buffer, va_arg(ap, int));
        out.append(buffer, static_cast<std::size_t>(r.ptr - buffer));
        return true;
    }
    if (f[0] == '0' && f[1] == '.' && f[2] >= '0' && f[2] <= '9' && f[3] == 'f' &&
        !g_exact_floats) {
        double v = va_arg(ap, double);
        if (!FixedQuick(v, f[2] - '0', buffer, text)) {
            if (std::isnan(v) || std::isinf(v) || std::fabs(v) >= 1e300)
                return false; // printf's own spelling of these
            auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed,
                                   f[2] - '0');
            if (r.ec != std::errc())
                return false;
            text = std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer));
        }
        f += 4;
        out += text;
        return true;
    }
    bool left = false, zero = false;
    for (;; ++f) {
        if (*f == '-')
            left = true;
        else if (*f == '0')
            zero = true;
        else if (*f == ' ' || *f == '+' || *f == '#')
            return false;
        else
            break;
    }
    int width = 0;
    if (*f == '*') {
        width = va_arg(ap, int);
        ++f;
    } else {
        while (*f >= '0' && *f <= '9')
            width = width * 10 + (*f++ - '0');
    }
    if (zero && width > 0)
        return false; // zero padding
    int precision = -1;
    if (*f == '.') {
        ++f;
        precision = 0;
        if (*f == '*') {
            precision = va_arg(ap, int);
            ++f;
        } else {
            while (*f >= '0' && *f <= '9')
                precision = precision * 10 + (*f++ - '0');
        }
    }
    char length = 0;
    if (*f == 'l' || *f == 'z')
        length = *f++;
    switch (*f++) {
    case 'd':
    case 'i': {
        long v = length == 'l'   ? va_arg(ap, long)
                 : length == 'z' ? va_arg(ap, long)
                                 : va_arg(ap, int);
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
        text = std::string_view(buffer, r.ptr - buffer);
        break;
    }
    case 'u': {
        unsigned long v = length == 'z'   ? va_arg(ap, std::size_t)
                          : length == 'l' ? va_arg(ap, unsigned long)
                                          : va_arg(ap, unsigned);
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
        text = std::string_view(buffer, r.ptr - buffer);
        break;
    }
    case 'f':
    case 'g': {
        double v = va_arg(ap, double);
        bool fixed = f[-1] == 'f';
        if (precision < 0)
            precision = 6;
        if (fixed && g_exact_floats) {
            fixed = false;
            precision = 17;
        }
        if (std::isnan(v) || std::isinf(v) || (fixed && std::fabs(v) >= 1e300))
            return false; // printf's own spelling of these
        if (fixed && FixedQuick(v, precision, buffer, text))
            break;
        if (!fixed && precision == 0)
            precision = 1;
        auto r =
            std::to_chars(buffer, buffer + sizeof buffer, v,
                          fixed ? std::chars_format::fixed : std::chars_format::general, precision);
        if (r.ec != std::errc())
            return false;
        text = std::string_view(buffer, r.ptr - buffer);
        break;
    }
    case 's': {
        const char* v = va_arg(ap, const char*);
        text = v ? std::string_view(v) : std::string_view("(null)");
        if (precision >= 0 && text.size() > static_cast<std::size_t>(precision))
            text = text.substr(0, precision);
        break;
    }
    case 'c':
        buffer[0] = static_cast<char>(va_arg(ap, int));
        text = std::string_view(buffer, 1);
        break;
    case '%':
        text = "%";
        break;
    default:
        return false;
    }
    std::size_t pad = width > static_cast<int>(text.size()) ? width - text.size() : 0;
    if (!left)
        out.append(pad, ' ');
    out += text;
    if (left)
        out.append(pad, ' ');
    return true;
}

std::string VSprintf(const char* format, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, ap);
        out.resize(static_cast<std::size_t>(n));
    }
    return out;
}

} // namespace

ExactFloats::ExactFloats() : previous_(g_exact_floats) { g_exact_floats = true; }
ExactFloats::~ExactFloats() { g_exact_floats = previous_; }

// The writers format many thousands of numbers; printf's float conversion is the slowest part
// of saving, so the common conversions are done here with to_chars, which rounds exactly as
// printf does. Anything unusual goes to vsnprintf.
std::string Sprintf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list fallback;
    va_copy(fallback, ap);
    std::string out;
    out.reserve(128); // one script line
    bool ok = true;
    for (const char* f = format; *f && ok;) {
        const char* percent = f;
        while (*percent && *percent != '%')
            ++percent; // the text between conversions is mostly one blank
        out.append(f, percent - f);
        if (!*percent)
            break;
        f = percent + 1;
        ok = AppendConversion(out, f, ap);
    }
    if (!ok)
        out = VSprintf(format, fallback);
    va_end(fallback);
    va_end(ap);
    return out;
}

std::string NameToken(const std::string& token) {
    std::string name = token;
    if (!name.empty() && name.front() == '"') {
        name.erase(0, 1);
        if (!name.empty() && name.back() == '"')
            name.pop_back();
    }
    for (char& c : name)
        if (c == '"')
            c = '\'';
    return name;
}

std::string QuoteIfNeeded(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t") == std::string::npos &&
        text.find_first_of(kDelimiters) == std::string::npos)
        return text;
    return "\"" + text + "\"";
}

std::string ExactNumber(double v) { return Sprintf("%.17g", v); }

std::string FixedNonZero(double v, int decimals) {
    std::string text = Sprintf("%0.*f", decimals, v);
    if (v != 0 && std::strtod(text.c_str(), nullptr) == 0)
        return ExactNumber(v);
    return text;
}

} // namespace korvel
