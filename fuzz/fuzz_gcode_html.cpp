// Fuzzes the coloured G-code view with arbitrary text, one line at a time, and checks that each
// translated line holds the view's own tags, balanced, and no other markup character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "reports/gcode_html.h"

using namespace korvel;

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckLine(std::string line) {
    int depth = 0;
    for (const char* tag : {"<span class=\"gcode\">", "<span class=\"mcode\">",
                            "<span class=\"rem\">", "<span class=\"lab\">",
                            "<span class=\"plain\">", "</span>", "<b>", "</b>", "<i>", "</i>"}) {
        std::string t(tag);
        for (std::size_t at; (at = line.find(t)) != std::string::npos;) {
            line.erase(at, t.size());
            depth += t[1] == '/' ? -1 : 1;
        }
    }
    Check(depth == 0);
    Check(line.find_first_of("<>\"'") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        std::string line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        translate(line);
        CheckLine(line);
    }
    return 0;
}
