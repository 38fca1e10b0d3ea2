// korvelc: the batch front end. Runs the same start-up as the desktop program, without
// windows, then one command on a project.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "model/heights.h"
#include "model/object_kind.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "reports/model_json.h"
#include "script/config.h"
#include "script/interpreter.h"
#include "script/project.h"
#include "ui/startup.h"

namespace korvel {
namespace {

const char* const kUsage =
    "usage: korvelc [--home DIR] [--answer yes|no|cancel] COMMAND ...\n"
    "  check PROJECT      open the project; exit 1 if any message was shown\n"
    "  exec  [-p PROJECT] [-o OUT] [--dump] [--dump-db] [--print-objects] LINE...\n"
    "                     start empty or from PROJECT, interpret each LINE as typed into\n"
    "                     the command line (options may also follow the LINEs; after --\n"
    "                     everything is a LINE), then:\n"
    "                       -o OUT           save the project to OUT\n"
    "                       --dump           print the model as JSON\n"
    "                       --dump-db        the same, with every database record\n"
    "                       --print-objects  print every object's project-file lines\n"
    "  dump  PROJECT      print the model of a project as JSON\n"
    "  make  PROJECT [-o FILE]\n"
    "                     compile the G-code to FILE, else the project's GCFILE; the\n"
    "                     tools-and-time summary is printed on stdout\n"
    "  render PROJECT [-o FILE.svg] [--paths] [--view 0..5] [--gcode FILE]\n"
    "                     draw the project from the top as SVG (to FILE.svg, else stdout);\n"
    "                     --paths adds the contour and pocket paths, for each feature's\n"
    "                     preselected rough tool (else a 10 mm one, or the largest that\n"
    "                     fits its inside arcs); --view draws the view as the desktop\n"
    "                     program shows it, 0 top, 1 isometric SW, 2 axonometric,\n"
    "                     3 isometric SE, 4 front, 5 side, and --gcode replays a program\n"
    "                     over it (cuts in the feed pen, rapid moves in the rapid pen)\n"
    "  verify PROJECT [--gcode FILE] [--png FILE] [--res MM] [--tolerance MM]\n"
    "                     simulate the program (FILE, else the project compiled) on the\n"
    "                     stock and compare it with the model; exit 1 when it is not\n"
    "                     within the tolerance (default 0.05 mm)\n"
    "  html  GCODE [-o OUT.html]\n"
    "                     the G-code program as coloured HTML (to OUT.html, else ncfile.html)\n"
    "  report PROJECT [-o OUT.html]\n"
    "                     make the project as make does, then write its report (set-up\n"
    "                     sheet) to OUT.html, else report.html\n"
    "  dxf-import DXF [-p PROJECT] [-o OUT] [--at X,Y] [--unit MM] [--first-point]\n"
    "                     import a DXF drawing as drawing elements (one drawing unit =\n"
    "                     MM project units; the reference point, 0,0 or with\n"
    "                     --first-point the first point read, lands on X,Y), save to OUT\n"
    "  dxf-export PROJECT [-o OUT.dxf]\n"
    "                     the project as a DXF drawing (to OUT.dxf, else stdout)\n";

} // namespace

int Usage(const char* problem) {
    if (problem)
        std::fprintf(stderr, "korvelc: %s\n", problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

namespace {

bool g_dump_db = false; // --dump-db: the database's records too

void PrintModel() { std::fputs(ModelJson(g_dump_db).c_str(), stdout); }

int CheckCommand(const std::vector<std::string>& words) {
    if (words.size() != 1)
        return Usage("check takes one PROJECT");
    if (!Start())
        return kExitFailed;
    ResetMessageCount();
    LoadProject(words[0]);
    return MessageCount() > 0 ? kExitFailed : kExitOk;
}

int ExecCommand(const std::vector<std::string>& words) {
    std::string project, output;
    std::vector<std::string> lines;
    bool options_done = false;
    bool dump = false;
    bool print_objects = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (options_done) {
            lines.push_back(w);
        } else if (w == "--") {
            options_done = true;
        } else if (w == "-p") {
            if (i + 1 >= words.size())
                return Usage("-p needs a PROJECT");
            project = words[++i];
        } else if (w == "-o") {
            if (i + 1 >= words.size())
                return Usage("-o needs an OUT file");
            output = words[++i];
        } else if (w == "--dump") {
            dump = true;
        } else if (w == "--dump-db") {
            dump = g_dump_db = true;
        } else if (w == "--print-objects") {
            print_objects = true;
        } else if (w.size() > 1 && w[0] == '-' && w[1] == '-') {
            return Usage(("unknown option " + w).c_str());
        } else {
            lines.push_back(w);
        }
    }
    if (!Start())
        return kExitFailed;
    bool failed = false;
    bool accepted = true;
    if (!project.empty() && (!LoadProject(project, &accepted) || !accepted))
        failed = true;
    for (const std::string& typed : lines) {
        std::string line = typed;
        if (!IntrepretLine(line, nullptr, 0))
            failed = true;
    }
    RecalcZ();
    if (!output.empty() && !SaveProject(output))
        failed = true;
    if (dump)
        PrintModel();
    if (print_objects)
        std::fputs(AllObjectLines().c_str(), stdout);
    return failed ? kExitFailed : kExitOk;
}

int DumpCommand(const std::vector<std::string>& words) {
    if (words.size() != 1)
        return Usage("dump takes one PROJECT");
    if (!Start())
        return kExitFailed;
    bool accepted = false;
    LoadProject(words[0], &accepted);
    PrintModel();
    return accepted ? kExitOk : kExitFailed;
}

int Main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i < words.size() && words[i].starts_with("--"); ++i) {
        if (words[i] == "--home" && i + 1 < words.size()) {
            SetProgramDirectory(words[++i]);
        } else if (words[i] == "--answer" && i + 1 < words.size()) {
            const std::string& a = words[++i];
            if (a == "yes")
                SetHeadlessAnswer(kIdYes);
            else if (a == "no")
                SetHeadlessAnswer(kIdNo);
            else if (a == "cancel")
                SetHeadlessAnswer(kIdCancel);
            else
                return Usage("--answer takes yes, no or cancel");
        } else if (words[i] == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        } else {
            return Usage(("unknown option " + words[i]).c_str());
        }
    }
    if (i >= words.size())
        return Usage("no COMMAND given");
    std::string command = words[i];
    std::vector<std::string> rest(words.begin() + static_cast<long>(i) + 1, words.end());
    if (command == "check")
        return CheckCommand(rest);
    if (command == "exec")
        return ExecCommand(rest);
    if (command == "dump")
        return DumpCommand(rest);
    if (command == "make")
        return MakeCommand(rest);
    if (command == "render")
        return RenderCommand(rest);
    if (command == "dxf-import")
        return DxfImportCommand(rest);
    if (command == "dxf-export")
        return DxfExportCommand(rest);
    if (command == "verify")
        return VerifyCommand(rest);
    if (command == "html")
        return HtmlCommand(rest);
    if (command == "report")
        return ReportCommand(rest);
    return Usage(("unknown command " + command).c_str());
}

} // namespace
} // namespace korvel

int main(int argc, char** argv) {
    int status = korvel::Main(argc, argv);
    // What was printed must have arrived: a full disk or a closed pipe is a failure, not a
    // cut-off model with status 0.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "korvelc: writing the standard output failed\n");
        if (status == 0)
            status = 1;
    }
    return status;
}
