// G-Code/Make, G-Code/View and File/Print report.
#include "ui/report_commands.h"

#include "cam/compile.h"
#include "model/block.h"
#include "model/project_state.h"
#include "platform/platform.h"
#include "reports/gcode_html.h"
#include "reports/project_report.h"
#include "script/project.h"

namespace korvel {

int MenuMake() { return MakeGCode(SaveProject); }

bool MenuMakeEnabled() { return Block_valid() != 0; }

int MenuViewGCode() {
    if (!Compiled() && ShowMessage("View existing file?", "Project not compiled!",
                                   kMbYesNo | kMbIconQuestion) != kIdYes)
        return 0;
    return ViewGCode(OutputGCodeFile());
}

bool MenuViewGCodeEnabled() { return Compiled(); }

int MenuPrintReport() {
    if (!Compiled()) {
        ShowMessage("Use Korvel/Make to compile the project", "Project has changed",
                    kMbOk | kMbIconExclamation);
        return 0;
    }
    return PrintReport();
}

bool MenuPrintReportEnabled() { return Block_valid() && !ProjectChanged() && Compiled(); }

} // namespace korvel
