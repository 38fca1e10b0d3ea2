// The code buffers, their writer with line numbering, and the number normaliser.
#include "cam/code_buffer.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"
#include "base/units.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace korvel {

namespace {

std::array<std::vector<std::string>, kCodeBuffers> g_lines;
std::array<int, kCodeBuffers> g_place;
int g_count = 0;        // buffers opened since InitCodeBuffers
int g_last_buffer = -1; // the last-opened pair survives UseNewToolBuffers
int g_last_place = -1;
int g_line_number = -1; // the N number of the next written line; -1: numbering off

const std::vector<std::string> kNoLines;

int Fatal(const char* text) {
    ShowMessage(text, "FATAL ERROR", kMbOk | kMbIconError);
    return 0;
}

bool InRange(int buffer) { return buffer >= 0 && buffer < kCodeBuffers; }

bool IsAddress(char c) {
    return c == 'I' || c == 'J' || c == 'F' || c == 'X' || c == 'Y' || c == 'Z' || c == 'R' ||
           c == 'Q';
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// A number printed with the unit's decimals, without trailing zeros (the point stays), and a
// value that rounds to zero without its sign.
std::string Normalised(int unit, const std::string& run) {
    double value = std::atof(run.c_str());
    std::string text = Sprintf(unit == kUnitInch ? "%0.4f" : "%0.3f", value);
    std::size_t point = text.find('.');
    if (point != std::string::npos) {
        std::size_t last = text.find_last_not_of('0');
        text.erase(last + 1);
    }
    if (text == "-0.")
        text = "0.";
    return text;
}

} // namespace

int InitCodeBuffers() {
    for (auto& lines : g_lines)
        lines.clear();
    g_place.fill(-1);
    g_count = 0;
    g_last_buffer = -1;
    g_last_place = -1;
    g_line_number = GetSettings().labeling >= 0 ? 0 : -1;
    return 1;
}

int NewCodeBuffer(int place) {
    if (g_count >= kCodeBuffers) {
        Fatal("Too many code buffers opened");
        return -1;
    }
    int buffer = g_count++;
    g_lines[buffer].clear();
    g_place[buffer] = place;
    g_last_buffer = buffer;
    g_last_place = place;
    return buffer;
}

int CodeTool(int buffer) {
    if (!InRange(buffer)) {
        Fatal("Buffer number out of range");
        return -1;
    }
    return buffer == g_last_buffer ? g_last_place : g_place[buffer];
}

void UseNewToolBuffers() {
    for (int b = 0; b < g_count; ++b)
        g_place[b] = -1;
}

int CodeBufferCount() { return g_count; }

int AppendCode(int buffer, const std::string& text) {
    if (text.empty())
        return 1;
    if (!InRange(buffer))
        return Fatal("Buffer number out of range");
    std::string line;
    cpstr(line, text);
    std::vector<std::string>& lines = g_lines[buffer];
    // A line never follows an identical line: a repeated rapid or spindle line does nothing.
    if (!lines.empty() && lines.back() == line)
        return 1;
    lines.push_back(std::move(line));
    return 1;
}

const std::vector<std::string>& CodeLines(int buffer) {
    return InRange(buffer) ? g_lines[buffer] : kNoLines;
}

int _FreeCodeBuffer(int buffer) {
    if (!InRange(buffer))
        return Fatal("Buffer number out of range");
    std::vector<std::string>().swap(g_lines[buffer]);
    return 1;
}

int CloseCodeBuffers() {
    for (int b = 0; b < kCodeBuffers; ++b)
        _FreeCodeBuffer(b);
    return 1;
}

int LineNumberCounter() { return g_line_number; }
void SetLineNumbering(bool on) { g_line_number = on ? 0 : -1; }

int WriteCode(std::string* target, int buffer) {
    if (!InRange(buffer))
        return Fatal("Buffer number out of range");
    if (!target)
        return Fatal("Target file pointer is NULL");
    bool number_comments = GetSettings().num_c_lines != 0;
    int unit = UserUnit();
    std::string line, normalised;
    for (const std::string& text : g_lines[buffer]) {
        bool numbered = g_line_number >= 0 && !text.empty() && text[0] != '\n' && text[0] != '\r' &&
                        text[0] != '%' && text[0] != 'O' && (text[0] != '(' || number_comments);
        if (numbered)
            line = Sprintf("N%d %s  ", g_line_number, text.c_str());
        else
            line = text + "  ";
        // Every written line consumes a number, numbered or not.
        if (g_line_number >= 0)
            ++g_line_number;
        IJFXYZR_mm_to_inch(unit, line, normalised);
        *target += normalised;
        *target += '\n';
    }
    return 1;
}

int IJFXYZR_mm_to_inch(int unit, const std::string& source, std::string& target) {
    target.clear();
    target.reserve(source.size() + 8);
    int rewritten = 0;
    int comment_depth = 0;
    std::size_t i = 0;
    while (i < source.size()) {
        char c = source[i++];
        target += c;
        // Inside a comment the digits are the user's text and stay as they are.
        if (c == '(') {
            ++comment_depth;
            continue;
        }
        if (c == ')' && comment_depth > 0) {
            --comment_depth;
            continue;
        }
        if (comment_depth > 0 || !IsAddress(c))
            continue;
        std::size_t start = i;
        while (i < source.size() && IsNumberChar(source[i]))
            ++i;
        std::string run = source.substr(start, i - start);
        if (run.size() <= 4) {
            target += run;
            continue;
        }
        target += Normalised(unit, run);
        target += ' ';
        rewritten = 1;
    }
    return rewritten;
}

double WrittenNumber(double value) {
    std::string written;
    IJFXYZR_mm_to_inch(UserUnit(), Sprintf("X%0.4f", value), written);
    return std::atof(written.c_str() + 1);
}

std::string CommentText(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '(')
            c = '[';
        else if (c == ')')
            c = ']';
    }
    return out;
}

} // namespace korvel
