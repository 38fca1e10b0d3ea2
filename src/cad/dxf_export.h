// File/Export DXF: the whole project as a flat 2-D drawing (release 12, AC1009): every feature
// as LINE, ARC, CIRCLE and TEXT entities on a layer of its kind, lengths in the project's unit.
#pragma once

#include <string>

namespace korvel {

// Writes the project to `path` and shows "%d Entities exported" under the path. 0 (and "Can't
// open file for writing") when the file cannot be written.
int ExportDXF(const std::string& path);
// The whole drawing as text; `entities` gets the number of entities written.
std::string ExportDXFText(int& entities);

// The fixed parts, each appended to `out`; 0 for a missing output.
int DXF_Start(std::string* out, double k);
int DXF_Open_Tables_Section(std::string* out);
int DXF_Def_Vport(std::string* out);
int DXF_Def_Layers(std::string* out);
int DXF_Close_Tables_Section(std::string* out);
int DXF_Open_Entities_Section(std::string* out);
int DXF_Close_Entities_Section(std::string* out);
int DXF_End(std::string* out);

// The entities of one kind of feature, every valid one with `all` set, else the selected ones,
// coordinates and radii multiplied by k. Each returns the number of entities written.
int DXF_Block_Entities(std::string* out, double k, bool all);
int DXF_Drill_Entities(std::string* out, double k, bool all);
int DXF_Thread_Entities(std::string* out, double k, bool all);
int DXF_LongHole_Entities(std::string* out, double k, bool all);
int DXF_Bulge_Entities(std::string* out, double k, bool all);
int DXF_Bore_Entities(std::string* out, double k, bool all);
int DXF_Pocket_Entities(std::string* out, double k, bool all);
int DXF_CLA_Entities(std::string* out, double k, bool all);
int DXF_Text_Entities(std::string* out, double k, bool all);
int DXF_Engraving_Entities(std::string* out, double k, bool all);
int DXF_EngrText_Entities(std::string* out, double k, bool all);

} // namespace korvel
