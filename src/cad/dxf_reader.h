// Reading a DXF drawing: the ENTITIES section of a text DXF file turned into plain lines, arcs,
// circles and texts in drawing units, each with the layer it came from. Nothing is put into the
// project here (see dxf_import.h), so a file that cannot be read to its end adds nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One item read: an element (kind 1 line, 2 counter-clockwise arc, 4 clockwise arc, 8 circle
// with its centre in x1, y1) or a text.
struct DXFItem {
    bool is_text = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
    int kind = 0;
    // Texts: insertion point in x1, y1.
    double height = 0, angle = 0, width = 1; // angle in degrees; width < 0 mirrored
    int align = 0;                           // 0 left, 1 right, 2 centred
    std::string text;
    int layer = -1;    // index into DXFDrawing::layers, -1 for none
    int polyline = -1; // LWPOLYLINE number: its elements get a new group of their own
};

struct DXFDrawing {
    std::vector<std::string> layers; // upper case, at most 79 characters
    std::vector<DXFItem> items;      // in the order of the file
    int polylines = 0;
};

// Reads a whole DXF file held in memory. 1 when it was read to its EOF; else 0 with `error`
// saying what is wrong and `error_line` the line it was found on (1 for the first line).
int ReadDXF(std::string_view data, DXFDrawing& drawing, std::string& error, int& error_line);

// One polyline segment from (x1, y1) to (x2, y2) with the bulge of its start vertex, as
// elements: nothing for a zero-length segment, a line for bulge 0, else one arc, or two arcs
// split at the arc's midpoint when it sweeps more than half a turn.
void RegisterVertex(DXFDrawing& drawing, double x1, double y1, double x2, double y2, double bulge,
                    const DXFItem& base);

// A (multi-line) text as one text item per line: lines are cut at \P; line k sits 1.5 heights
// further along the text's own down direction; a leading format group {...;  } is removed.
void RegisterMText(DXFDrawing& drawing, const DXFItem& text);

} // namespace korvel
