// The coloured HTML view of a G-code program.
#include "reports/gcode_html.h"

#include <array>
#include <fstream>
#include <iterator>

#include "base/text.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "reports/html_text.h"

namespace korvel {

namespace {

constexpr std::array<std::string_view, 34> kGWords = {
    "G0",  "G1",  "G2",  "G3",  "G4",  "G00", "G01", "G02", "G03", "G04", "G17", "G18",
    "G19", "G20", "G21", "G28", "G40", "G41", "G42", "G43", "G44", "G54", "G55", "G56",
    "G57", "G58", "G59", "G74", "G81", "G83", "G84", "G90", "G91", "G98"};

constexpr std::array<std::string_view, 15> kMWords = {"M0",  "M3",  "M4",  "M5",  "M6",
                                                      "M8",  "M9",  "M00", "M03", "M04",
                                                      "M05", "M06", "M08", "M09", "M30"};

// The page is HTML5 (standards mode), so the style sheet gives its font size in pixels; the
// size and colours are those of the view's five word kinds.
constexpr std::array<const char*, 19> kOpening = {
    "<!DOCTYPE html>",
    "<HTML>",
    "<HEAD>",
    "<meta charset=\"utf-8\">",
    "<TITLE>",
    "KORVEL",
    "</TITLE>",
    "<STYLE type=\"text/css\">",
    "<!--",
    ".plain  { font-family: Arial; color: black; font-style: normal; font-size: 12px; "
    "margin-left:0; margin-right:0}",
    ".gcode  { font-family: Arial; color: red;   font-style: normal; font-size: 12px; "
    "margin-left:0; margin-right:0}",
    ".mcode  { font-family: Arial; color: blue;  font-style: normal; font-size: 12px; "
    "margin-left:0; margin-right:0}",
    ".lab    { font-family: Arial; color: green; font-style: italic; font-size: 12px; "
    "margin-left:0; margin-right:0}",
    ".rem    { font-family: Arial; color: green; font-style: normal; font-size: 12px; "
    "margin-left:0; margin-right:0}",
    "-->",
    "</STYLE>",
    "</HEAD>",
    "<BODY>",
    "<p>",
};
constexpr std::array<const char*, 3> kClosing = {"</p>", "</BODY>", "</HTML>"};

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(std::string_view word, char c) { return !word.empty() && word[0] == c; }

// The lines of a file's text: each line end (LF, CR LF or a lone CR) ends a line; text after
// the last line end is a line too.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

std::size_t gm_len(std::string_view text) {
    if (text.empty() || IsBlankOrTab(text[0]))
        return 0;
    char c = text[0];
    if (c == '(') {
        std::size_t close = text.find(')');
        return close == std::string_view::npos ? text.size() : close;
    }
    std::size_t n = 1;
    bool cut_at_letters = c == 'N' || c == 'G' || c == 'M' || c == 'S';
    while (n < text.size() && !IsBlankOrTab(text[n]) && (!cut_at_letters || IsDigit(text[n])))
        ++n;
    return n;
}

int arg_gm(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    std::string_view rest(line);
    std::size_t end = rest.find('\n');
    if (end == std::string_view::npos)
        end = rest.find('\r');
    rest = rest.substr(0, end);
    while (true) {
        while (!rest.empty() && IsBlankOrTab(rest[0]))
            rest.remove_prefix(1);
        std::size_t n = gm_len(rest);
        if (n == 0)
            break;
        words.emplace_back(rest.substr(0, n));
        rest.remove_prefix(n);
    }
    return static_cast<int>(words.size());
}

int inv_args(const std::vector<std::string>& words, std::string& buffer) {
    buffer.clear();
    for (const std::string& w : words) {
        buffer += w;
        buffer += ' ';
    }
    return static_cast<int>(words.size());
}

int isgcode(std::string_view word) {
    for (std::string_view g : kGWords) {
        if (word == g)
            return 1;
    }
    return 0;
}

int ismcode(std::string_view word) {
    for (std::string_view m : kMWords) {
        if (word == m)
            return 1;
    }
    return 0;
}

int islabel(std::string_view word) { return StartsWith(word, 'N') ? 1 : 0; }

int translate(std::string& line) {
    std::string upper = line;
    caps(upper);
    std::vector<std::string> words;
    int count = arg_gm(upper, words);
    // The comment flag starts clear on every line: a comment opened and not closed on its line
    // is closed at the line's end, so that it cannot run into the lines that follow.
    bool comment = false;
    for (std::string& w : words) {
        std::string text = HtmlText(w);
        if (!comment && isgcode(w)) {
            w = "<span class=\"gcode\">" + text + "</span>";
        } else if (!comment && ismcode(w)) {
            w = "<span class=\"mcode\">" + text + "</span>";
        } else if (!comment && StartsWith(w, '(')) {
            w = "<span class=\"rem\"><b>" + text;
            comment = true;
        } else if (comment && StartsWith(w, ')')) {
            w = text + "</b></span>";
            comment = false;
        } else if (!comment && islabel(w)) {
            w = "<span class=\"lab\"><i>" + text + "</i></span>";
        } else if (!comment) {
            w = "<span class=\"plain\">" + text + "</span>";
        } else {
            w = text;
        }
    }
    if (comment)
        words.back() += "</b></span>";
    inv_args(words, line);
    return count;
}

int HtmlOpen(std::string& out) {
    for (const char* line : kOpening) {
        out += line;
        out += '\n';
    }
    return 1;
}

int HtmlClose(std::string& out) {
    for (const char* line : kClosing) {
        out += line;
        out += '\n';
    }
    return 1;
}

int TranslateFile(const std::string& source_path, const std::string& html_path) {
    std::ifstream in(source_path, std::ios::binary);
    if (!in) {
        ShowMessage("File not found", source_path, kMbOk | kMbIconExclamation);
        return 0;
    }
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        ShowMessage("File not found", source_path, kMbOk | kMbIconExclamation);
        return 0;
    }
    std::string page;
    page.reserve(source.size() * 4 + 1024);
    HtmlOpen(page);
    for (std::string& line : SplitLines(source)) {
        translate(line);
        page += line;
        page += "<br>\n";
    }
    HtmlClose(page);
    if (!WriteFileAtomically(html_path, page)) {
        ShowMessage("File not found", html_path, kMbOk | kMbIconExclamation);
        return 0;
    }
    return 1;
}

int ViewGCode(const std::string& gcode_path) {
    std::string html = CurrentDirectory() + "ncfile.html";
    if (TranslateFile(gcode_path, html))
        StartProgram(GetSettings().htmlview + " " + ShellQuoted(html));
    return 1;
}

} // namespace korvel
