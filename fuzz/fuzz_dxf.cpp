// Fuzzes the DXF reader: any bytes read as a drawing must end in items or a located error,
// never in a crash, a hang or an item with a value that is not a finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cad/dxf_reader.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DXFDrawing drawing;
    std::string error;
    int line = 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ReadDXF(text, drawing, error, line)) {
        if (error.empty() || line < 0 || !drawing.items.empty())
            __builtin_trap();
        return 0;
    }
    for (const DXFItem& item : drawing.items) {
        double values[] = {item.x1, item.y1, item.x2, item.y2, item.r, item.height, item.angle};
        for (double v : values)
            if (!std::isfinite(v))
                __builtin_trap();
        if (item.layer >= static_cast<int>(drawing.layers.size()) ||
            item.polyline >= drawing.polylines)
            __builtin_trap();
    }
    return 0;
}
