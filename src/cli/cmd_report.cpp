// korvelc report: the desktop program's File/Print report, written to a file instead of opened
// in the viewer. The report is of a compiled project, so the project is made first, as
// korvelc make does (the program goes to the project's GCFILE).
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/platform.h"
#include "reports/project_report.h"

namespace korvel {

int ReportCommand(const std::vector<std::string>& words) {
    std::string project, output;
    if (!FileAndOutput(words, "report takes one PROJECT", project, output))
        return kExitUsage;
    if (!Start())
        return kExitFailed;
    bool accepted = false;
    if (!LoadProject(project, &accepted))
        return kExitFailed;
    if (!MakeOpenedProject(false))
        return kExitFailed;
    if (output.empty())
        output = CurrentDirectory() + "report.html";
    // A rejected project line fails the run, after the report of the lines that were accepted.
    return WriteReport(output) && accepted ? kExitOk : kExitFailed;
}

} // namespace korvel
