// The korvelc commands that live in files of their own; each takes the words after its name
// and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// make PROJECT [-o FILE]: compiles the G-code as the desktop program's Make does.
int MakeCommand(const std::vector<std::string>& words);
// render PROJECT [-o FILE.svg] [--paths] [--view 0..5] [--gcode FILE]: the view's picture in a
// projection (0 top, 1 isometric SW, 2 axonometric, 3 isometric SE, 4 front, 5 side) with a
// program replayed over it.
int RenderCommand(const std::vector<std::string>& words);

// verify PROJECT [--gcode FILE] [--png FILE] [--res MM] [--tolerance MM]: runs the program on
// the simulated stock and compares the result with the model.
int VerifyCommand(const std::vector<std::string>& words);

// html GCODE [-o OUT.html]: the program as coloured HTML (default ncfile.html here).
int HtmlCommand(const std::vector<std::string>& words);
// report PROJECT [-o OUT.html]: makes the project, then writes its report (default
// report.html here).
int ReportCommand(const std::vector<std::string>& words);
// dxf-import DXF [-p PROJECT] [-o OUT] [--at X,Y] [--unit MM] [--first-point]
int DxfImportCommand(const std::vector<std::string>& words);
// dxf-export PROJECT [-o OUT.dxf]
int DxfExportCommand(const std::vector<std::string>& words);

} // namespace korvel
