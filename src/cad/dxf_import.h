// File/Import DXF: a drawing's lines, arcs, circles, polylines and texts added to the project as
// drawing elements and drawing texts, each DXF layer becoming a drawing group of its name.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// The settings of "Import DXF drawing", kept between imports for the run.
struct DXFImportSettings {
    double scale = 1;                // one drawing unit = scale project units; > 0
    double entry_x = 0, entry_y = 0; // where the reference point lands, project units
    bool first_point = true;         // the first point read is the reference point (else 0, 0)
};
DXFImportSettings& DXFImportOptions();

// Imports a DXF file with the current settings. A file that cannot be opened shows "Can't open
// file for reading"; one that cannot be read to its end shows what is wrong and on which line,
// and adds nothing. Otherwise "%d DXF entities found" under "Import DXF completed".
// 1 for a completed import; 0 when nothing could be read or an item could not be registered
// (a full table: what came before stays).
int ImportDXF(const std::string& path);
// The same for a file already in memory; `name` is used in the messages.
int ImportDXFData(std::string_view data, const std::string& name);
// The count of elements and texts the last import registered.
int DXFRegisteredCount();

// Registers one element in drawing units: moved and scaled as the settings say, skipped (1) when
// the group already holds the same element within 0.001. Kind 999 resets the reference point
// and the count instead. 0 when the table is full ("Too many drawing elements").
int RegisterCLA(double x1, double y1, double x2, double y2, double r, int kind, int group);
// Whether the group holds the same element within 0.001: same kind and ends (a circle: centre)
// and radius; a line with its ends swapped; an arc of the other direction with swapped ends.
bool CLAexistsInGroup(double x1, double y1, double x2, double y2, double r, int kind, int group);
// Registers one drawing text read at (x, y) in drawing units. 0 for a height of 0 or less
// ("Zero or Negative Text Height") or a full table ("Too many texts").
int RegisterText(double x, double y, double height, double angle, int alignment,
                 double width_factor, const std::string& text);
// Clears the reference point.
void ResetDXFOffset();

} // namespace korvel
