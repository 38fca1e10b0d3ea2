// Fuzzes reading a font file and turning every glyph it defines into polylines, at the
// screen's segment angle and at the fine one of a large engraved text.
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
    std::vector<StrokePoint> points;
    for (int code = kFirstDrawableCode; code < kGlyphCount; ++code) {
        for (double angle : {6.0, 0.01}) {
            int n = convert_char(code, 1, 1, angle, points);
            if (n > kMaxCharPoints || n != static_cast<int>(points.size()))
                __builtin_trap();
        }
    }
    TakeRecordedMessages();
    return 0;
}
