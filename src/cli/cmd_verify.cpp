// korvelc verify: runs a project's G-code program on the simulated stock and compares the
// result with the model; the report goes to stdout, the picture to a PNG file when asked for.
// Without --gcode the project is compiled first, as korvelc make does, into a temporary file;
// the program verified is the compiler's own (before any post-processor).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/units.h"
#include "cam/compile.h"
#include "cam/verify.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/platform.h"
#include "reports/verify_png.h"
#include "script/project.h"

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

// A FIFO or a folder given as the program counts as a file that cannot be read.
bool ReadText(const std::string& path, std::string& text) {
    std::FILE* f = OpenRegularFile(path);
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

// Compiles the loaded project as korvelc make does, into a temporary file that is removed
// again; false when the run was refused (a message said why) or the program cannot be read.
bool CompileProgram(std::string& program) {
    std::string dir = std::filesystem::temp_directory_path().string();
    std::string path = Sprintf("%s/korvel-verify-%d.cnc", dir.c_str(), ProcessId());
    SetGCodeOutputFile(path);
    bool made = MakeGCode(SaveProject) != 0;
    // With a post-processor the compiler writes its own program to a file of its own.
    std::string raw = RawGCodeFile();
    bool read = made && ReadText(raw, program);
    std::remove(raw.c_str());
    std::remove(path.c_str());
    SetGCodeOutputFile("");
    if (made && !read)
        std::fprintf(stderr, "korvelc: cannot read the compiled program %s\n", raw.c_str());
    return read;
}

} // namespace

int VerifyCommand(const std::vector<std::string>& words) {
    VerifyArgs args;
    std::string problem = ParseArgs(words, args);
    if (!problem.empty())
        return Usage(problem.c_str());
    if (!Start())
        return kExitFailed;
    bool accepted = false;
    if (!LoadProject(args.project, &accepted)) {
        std::fprintf(stderr, "korvelc: cannot read %s\n", args.project.c_str());
        return kExitFailed;
    }
    std::string program, name = args.gcode;
    if (args.gcode.empty()) {
        if (!CompileProgram(program))
            return kExitFailed;
        name = OutputGCodeFile() + " (compiled)";
    } else if (!ReadText(args.gcode, program)) {
        std::fprintf(stderr, "korvelc: cannot read %s\n", args.gcode.c_str());
        return kExitFailed;
    }
    VerifyOptions options;
    options.res = ToUserUnit(args.res_mm);
    options.tolerance = ToUserUnit(args.tolerance_mm);
    VerifyResult result;
    if (!VerifyProgram(program, options, result))
        return kExitFailed;
    std::fputs(VerifyReport(result, name).c_str(), stdout);
    if (!args.png.empty() && !WriteVerifyPng(result, args.png))
        return kExitFailed;
    return result.clean && accepted ? kExitOk : kExitFailed;
}

} // namespace korvel
