// Fuzzes the G-code word scanner and line reader with arbitrary text, one line at a time, in a
// millimetre and an inch project, and checks that every result is one the reader may give.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/units.h"
#include "geometry/gcode_reader.h"

using namespace korvel;

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void ScanWords(std::string_view line) {
    int letter;
    double value;
    while (std::optional<std::string_view> rest = gcom(line, letter, value)) {
        Check(rest->size() < line.size()); // every word moves on
        Check(letter >= 'A' && letter <= 'Z');
        line = *rest;
    }
    Check(letter == -1 || letter == '%' || letter == '(');
}

void ReadLines(std::string_view text) {
    GcodeReader reader;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ScanWords(line);
        double x, y, z, r, feed;
        int motion;
        int result = reader.gline_3D(line, x, y, z, r, feed, motion);
        Check(result == kGcodeStop || result == kGcodeRejected || (result >= -1 && result <= 99));
        Check(motion == -1 || motion == 0 || motion == 1 || motion == 2 || motion == 4 ||
              motion == 10 || motion == 12);
        Check(result != kGcodeRejected || motion == -1);
        Check(std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::isfinite(r) &&
              std::isfinite(feed));
        const GcodeModal& m = reader.Modal();
        Check(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.z));
        Check(m.motion >= 0 && m.motion <= 3);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ResetUnits();
    ReadLines(text);
    SetUserUnit(kUnitInch);
    ReadLines(text);
    ResetUnits();
    return 0;
}
