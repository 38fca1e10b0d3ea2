// The three line splitters, the shared argument vector and the string routines around them.
#include "script/text.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace korvel {

namespace {

std::array<std::string, kMaxArgs> g_arg;
int g_arg_count = 0;

constexpr int kStackDepth = 8;
std::array<std::string, kStackDepth> g_stack;
int g_stack_depth = 0;

// The delimiter set of args, each a token by itself. 0xB3 is a box-drawing bar of the old
// DOS code page that older files use as a separator.
constexpr std::string_view kDelimiters = "()[]=,<>\xB3|&#^%;";

bool IsDelimiter(char c) { return kDelimiters.find(c) != std::string_view::npos; }
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

using TokenRule = std::size_t (*)(std::string_view rest);

std::size_t ScriptToken(std::string_view s) {
    if (s.empty())
        return 0;
    if (IsDelimiter(s[0]))
        return 1;
    if (s[0] == '"') {
        std::size_t close = s.find('"', 1);
        return close == std::string_view::npos ? s.size() : close + 1;
    }
    std::size_t n = 0;
    while (n < s.size() && !IsBlankOrTab(s[n]) && !IsDelimiter(s[n]))
        ++n;
    return n;
}

std::size_t TabField(std::string_view s) {
    std::size_t n = s.find('\t');
    return n == std::string_view::npos ? s.size() : n;
}

std::size_t GCodeWord(std::string_view s) {
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

// The loop the three splitters share: skip blanks and tabs, measure a token, store it.
int Split(std::string& line, TokenRule rule) {
    std::size_t nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    rmnl(line);
    g_arg_count = 0;
    std::string_view rest(line);
    while (true) {
        while (!rest.empty() && IsBlankOrTab(rest[0]))
            rest.remove_prefix(1);
        std::size_t len = rule(rest);
        if (len == 0)
            break;
        if (len > kMaxArgLen)
            len = kMaxArgLen; // a longer run continues as the next token
        q_copy(g_arg[g_arg_count], rest, len);
        rest.remove_prefix(len);
        if (++g_arg_count == kMaxArgs) {
            g_arg_count = -1;
            break;
        }
    }
    return g_arg_count;
}

} // namespace

int args(std::string& line) { return Split(line, ScriptToken); }
int argt(std::string& line) { return Split(line, TabField); }
int arg_gm(std::string& line) { return Split(line, GCodeWord); }

const std::string& Arg(int i) {
    static const std::string empty;
    return i >= 0 && i < kMaxArgs ? g_arg[i] : empty;
}

int ArgCount() { return g_arg_count; }

double ArgF(int i) { return std::atof(Arg(i).c_str()); }

int ArgI(int i) {
    long v = std::strtol(Arg(i).c_str(), nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

int inv_args(std::string& buffer) {
    buffer.clear();
    for (int i = 0; i < g_arg_count; ++i) {
        buffer += g_arg[i];
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
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
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

std::string Sprintf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
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
    va_end(ap);
    return out;
}

std::string QuoteIfNeeded(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t") == std::string::npos &&
        text.find_first_of(kDelimiters) == std::string::npos)
        return text;
    return "\"" + text + "\"";
}

std::string ExactNumber(double v) { return Sprintf("%.17g", v); }

} // namespace korvel
