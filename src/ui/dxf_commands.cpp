// File/Import DXF and File/Export DXF.
#include "ui/dxf_commands.h"

#include <string>

#include "cad/dxf_export.h"
#include "cad/dxf_import.h"
#include "platform/platform.h"

namespace korvel {

namespace {

const char* const kDxfFilter = "DXF Files (*.dxf)|*.dxf|All Files (*.*)|*.*|";
const char* const kDxfExtension = "dxf";

} // namespace

bool ImportDXFCommand() {
    std::string path;
    if (!AskOpenFileName(path, kDxfFilter, kDxfExtension))
        return false;
    return ImportDXF(path) != 0;
}

bool ExportDXFCommand() {
    std::string path;
    if (!AskSaveFileName(path, kDxfFilter, kDxfExtension))
        return false;
    return ExportDXF(path) != 0;
}

} // namespace korvel
