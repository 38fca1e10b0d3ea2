// File/Import DXF and File/Export DXF.
#include "ui/dxf_commands.h"

#include <string>

#include "cad/dots.h"
#include "cad/dxf_export.h"
#include "platform/platform.h"

namespace korvel {

namespace {

const char* const kDxfFilter = "DXF Files (*.dxf)|*.dxf|All Files (*.*)|*.*|";
const char* const kDxfExtension = "dxf";

} // namespace

DXFImportSettings ImportDialogStart() {
    DXFImportSettings s = DXFImportOptions();
    GetDot(0, s.entry_x, s.entry_y);
    s.first_point = true;
    return s;
}

bool ImportDXFCommand(const AskImportSettings& ask) {
    std::string path;
    if (!AskOpenFileName(path, kDxfFilter, kDxfExtension))
        return false;
    if (ask) {
        DXFImportSettings s = ImportDialogStart();
        if (!ask(s)) {
            DXFImportOptions().scale = 1;
            return false;
        }
        DXFImportOptions() = s;
    }
    return ImportDXF(path) != 0;
}

bool ExportDXFCommand() {
    std::string path;
    if (!AskSaveFileName(path, kDxfFilter, kDxfExtension))
        return false;
    return ExportDXF(path) != 0;
}

} // namespace korvel
