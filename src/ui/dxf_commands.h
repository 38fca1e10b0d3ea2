// File/Import DXF and File/Export DXF: the file chosen by the user, then the import (with the
// current import settings) or the export.
#pragma once

namespace korvel {

// 1 when a drawing was imported; 0 when the user cancelled or the import failed.
bool ImportDXFCommand();
// 1 when the project was written as a drawing.
bool ExportDXFCommand();

} // namespace korvel
