// korvelc verify: runs a project's G-code program on the simulated stock and compares the
// result with the model; the report goes to stdout, the picture to a PNG file when asked for.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/units.h"
#include "cam/verify.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "reports/verify_png.h"

namespace korvel {

namespace {

struct VerifyArgs {
    std::string project, gcode, png;
    double res_mm = 0, tolerance_mm = 0;
};

// A length in millimetres above 0; false for anything else.
bool ReadMillimetres(const std::string& text, double& mm) {
    char* end = nullptr;
    mm = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(mm) && mm > 0;
}

// Parses the words; an empty result when they are fine, else what is wrong.
std::string ParseArgs(const std::vector<std::string>& words, VerifyArgs& a) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        bool has_value = i + 1 < words.size();
        if (w == "--gcode" || w == "--png" || w == "--res" || w == "--tolerance") {
            if (!has_value)
                return w + " needs a value";
            const std::string& v = words[++i];
            if (w == "--gcode")
                a.gcode = v;
            else if (w == "--png")
                a.png = v;
            else if (!ReadMillimetres(v, w == "--res" ? a.res_mm : a.tolerance_mm))
                return w + " takes a length in millimetres above 0";
        } else if (w.starts_with("--")) {
            return "unknown option " + w;
        } else if (a.project.empty()) {
            a.project = w;
        } else {
            return "verify takes one PROJECT";
        }
    }
    return a.project.empty() ? "verify needs a PROJECT" : "";
}

bool ReadText(const std::string& path, std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

double ToUserUnit(double mm) { return UserUnit() == kUnitInch ? mm / kMMPerInch : mm; }

} // namespace

int VerifyCommand(const std::vector<std::string>& words) {
    VerifyArgs args;
    std::string problem = ParseArgs(words, args);
    if (!problem.empty())
        return Usage(problem.c_str());
    if (args.gcode.empty())
        return Usage("verify needs the program: --gcode FILE (this build cannot compile)");
    if (!Start())
        return kExitFailed;
    if (!LoadProject(args.project)) {
        std::fprintf(stderr, "korvelc: cannot read %s\n", args.project.c_str());
        return kExitFailed;
    }
    std::string program;
    if (!ReadText(args.gcode, program)) {
        std::fprintf(stderr, "korvelc: cannot read %s\n", args.gcode.c_str());
        return kExitFailed;
    }
    VerifyOptions options;
    options.res = ToUserUnit(args.res_mm);
    options.tolerance = ToUserUnit(args.tolerance_mm);
    VerifyResult result;
    if (!VerifyProgram(program, options, result))
        return kExitFailed;
    std::fputs(VerifyReport(result, args.gcode).c_str(), stdout);
    if (!args.png.empty() && !WriteVerifyPng(result, args.png))
        return kExitFailed;
    return result.clean ? kExitOk : kExitFailed;
}

} // namespace korvel
