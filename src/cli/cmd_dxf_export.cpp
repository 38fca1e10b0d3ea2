// korvelc dxf-export: the project as a DXF drawing.
#include <cstdio>
#include <string>
#include <vector>

#include "cad/dxf_export.h"
#include "cli/cli_common.h"
#include "cli/commands.h"

namespace korvel {

int DxfExportCommand(const std::vector<std::string>& words) {
    std::string project, output;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "-o" && i + 1 < words.size())
            output = words[++i];
        else if (w.size() > 1 && w[0] == '-')
            return Usage(("unknown option or missing value: " + w).c_str());
        else if (project.empty())
            project = w;
        else
            return Usage("dxf-export takes one PROJECT");
    }
    if (project.empty())
        return Usage("dxf-export needs a PROJECT");
    if (!Start())
        return kExitFailed;
    bool ok = LoadProject(project);
    if (output.empty()) {
        int entities = 0;
        std::string text = ExportDXFText(entities);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return ok ? kExitOk : kExitFailed;
    }
    return ExportDXF(output) && ok ? kExitOk : kExitFailed;
}

} // namespace korvel
