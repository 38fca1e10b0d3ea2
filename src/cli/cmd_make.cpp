// korvelc make: the desktop program's G-Code/Make on a project, its questions answered by
// --answer; then the post-processor, when the machine needs one, which korvelc waits for.
#include <cstdio>
#include <string>
#include <vector>

#include "cam/compile.h"
#include "cli/cli_common.h"
#include "cli/commands.h"

namespace korvel {

int MakeCommand(const std::vector<std::string>& words) {
    std::string project, output;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "-o") {
            if (i + 1 >= words.size())
                return Usage("-o needs a FILE");
            output = words[++i];
        } else if (!words[i].empty() && words[i][0] == '-') {
            return Usage(("unknown option " + words[i]).c_str());
        } else if (project.empty()) {
            project = words[i];
        } else {
            return Usage("make takes one PROJECT");
        }
    }
    if (project.empty())
        return Usage("make takes one PROJECT");
    if (!Start())
        return kExitFailed;
    bool accepted = false;
    if (!LoadProject(project, &accepted))
        return kExitFailed;
    SetGCodeOutputFile(output);
    // A rejected project line still leaves a program of the lines that were accepted, but the
    // run has failed.
    return MakeOpenedProject(true) && accepted ? kExitOk : kExitFailed;
}

} // namespace korvel
