// korvelc html: a G-code program as the coloured HTML page of the desktop program's
// G-Code/View, written to a file instead of opened in the viewer.
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/platform.h"
#include "reports/gcode_html.h"

namespace korvel {

int HtmlCommand(const std::vector<std::string>& words) {
    std::string gcode, output;
    if (!FileAndOutput(words, "html takes one GCODE", gcode, output))
        return kExitUsage;
    if (output.empty())
        output = CurrentDirectory() + "ncfile.html";
    return TranslateFile(gcode, output) ? kExitOk : kExitFailed;
}

} // namespace korvel
