// The korvelc commands that live in files of their own. Each takes the words after its name and
// returns the process's exit status.
// The korvelc commands that live in files of their own; each takes the words after its name
// and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// make PROJECT [-o FILE]: compiles the G-code as the desktop program's Make does.
int MakeCommand(const std::vector<std::string>& words);
// render PROJECT [-o FILE.svg] [--paths]
int RenderCommand(const std::vector<std::string>& words);

// verify PROJECT [--gcode FILE] [--png FILE] [--res MM] [--tolerance MM]: runs the program on
// the simulated stock and compares the result with the model.
int VerifyCommand(const std::vector<std::string>& words);

// dxf-import DXF [-p PROJECT] [-o OUT] [--at X,Y] [--unit MM] [--first-point]
int DxfImportCommand(const std::vector<std::string>& words);
// dxf-export PROJECT [-o OUT.dxf]
int DxfExportCommand(const std::vector<std::string>& words);

} // namespace korvel
