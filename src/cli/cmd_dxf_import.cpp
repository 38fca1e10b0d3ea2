// korvelc dxf-import: a DXF drawing added to a project as drawing elements and texts.
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "cad/dxf_import.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "model/block.h"
#include "model/heights.h"
#include "script/project.h"

namespace korvel {

namespace {

// "X,Y" as two numbers.
bool ParsePoint(const std::string& s, double& x, double& y) {
    char tail = 0;
    return std::sscanf(s.c_str(), "%lf,%lf%c", &x, &y, &tail) == 2;
}

bool ParseNumber(const std::string& s, double& v) {
    char tail = 0;
    return std::sscanf(s.c_str(), "%lf%c", &v, &tail) == 1;
}

} // namespace

int DxfImportCommand(const std::vector<std::string>& words) {
    std::string dxf, project, output;
    Coordinates origin = GetCoordinates();
    DXFImportSettings settings;
    settings.first_point = false;
    bool at_given = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        bool has_value = i + 1 < words.size();
        if (w == "-p" && has_value) {
            project = words[++i];
        } else if (w == "-o" && has_value) {
            output = words[++i];
        } else if (w == "--at" && has_value) {
            if (!ParsePoint(words[++i], settings.entry_x, settings.entry_y))
                return Usage("--at takes X,Y");
            at_given = true;
        } else if (w == "--unit" && has_value) {
            if (!ParseNumber(words[++i], settings.scale) || !(settings.scale > 0))
                return Usage("--unit takes a length greater than 0");
        } else if (w == "--first-point") {
            settings.first_point = true;
        } else if (w.size() > 1 && w[0] == '-') {
            return Usage(("unknown option or missing value: " + w).c_str());
        } else if (dxf.empty()) {
            dxf = w;
        } else {
            return Usage("dxf-import takes one DXF");
        }
    }
    if (dxf.empty())
        return Usage("dxf-import needs a DXF file");
    if (!Start())
        return kExitFailed;
    bool ok = project.empty() || LoadProject(project);
    if (!at_given) {
        // As the dialog opens: at the user origin.
        origin = GetCoordinates();
        settings.entry_x = origin.user_x;
        settings.entry_y = origin.user_y;
    }
    DXFImportOptions() = settings;
    if (!ImportDXF(dxf))
        ok = false;
    RecalcZ();
    if (!output.empty() && !SaveProject(output))
        ok = false;
    return ok ? kExitOk : kExitFailed;
}

} // namespace korvel
