// File/Import DXF and File/Export DXF: the file chosen by the user, the import settings asked
// for, then the import or the export.
#pragma once

#include <functional>

#include "cad/dxf_import.h"

namespace korvel {

// Asks the user for the import settings, starting from the given ones; false when the user
// cancelled. The desktop program shows its "Import DXF drawing" dialog here.
using AskImportSettings = std::function<bool(DXFImportSettings&)>;

// The settings the dialog opens with: the entry point at the marked start point of the drawing
// (the user origin when none is marked), the current scale, the first point as reference.
DXFImportSettings ImportDialogStart();

// 1 when a drawing was imported; 0 when the user cancelled or the import failed. Without an
// `ask` the current settings are used. A cancelled dialog puts the scale back to 1.
bool ImportDXFCommand(const AskImportSettings& ask = {});
// 1 when the project was written as a drawing.
bool ExportDXFCommand();

} // namespace korvel
