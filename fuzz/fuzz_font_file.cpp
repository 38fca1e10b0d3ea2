// Fuzzes reading a font file and turning the glyphs it defines into polylines, at the screen's
// segment angle and at the fine one of a large engraved text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"

#include "base/units.h"
#include "cad/stroke_font.h"
#include "model/contour.h"
#include "model/font.h"
#include "platform/platform.h"
#include "script/font_file.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = fuzz::Workspace();
    InitFont();
    ResetContour();
    ResetUnits();
    std::string path = dir + "input.fnt";
    fuzz::WriteBytes(path, data, size);
    LoadFont(path);
    // Every glyph at the screen's angle; one, chosen by the input's length, also at the fine
    // angle, where its arcs run into the point limit. All of them at the fine angle would cost
    // a thousand trigonometric steps per arc on every run, for the same code.
    const int fine =
        kFirstDrawableCode + static_cast<int>(size % (kGlyphCount - kFirstDrawableCode));
    std::vector<StrokePoint> points;
    for (int code = kFirstDrawableCode; code < kGlyphCount; ++code) {
        for (double angle : {6.0, 0.01}) {
            if (angle < 1 && code != fine)
                continue;
            int n = convert_char(code, 1, 1, angle, points);
            if (n > kMaxCharPoints || n != static_cast<int>(points.size()))
                __builtin_trap();
        }
    }
    TakeRecordedMessages();
    return 0;
}
