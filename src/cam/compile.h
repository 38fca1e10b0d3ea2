// The compile pipeline: checks the project, machines it phase by phase into code buffers and
// writes the G-code program; the tools-and-time report; post-processing and transfer.
#pragma once

#include <string>

namespace korvel {

// Writes the project file to a path: 1, or 0 after a message. Saving lives above the compiler,
// so its callers hand it down.
using ProjectSaver = int (*)(const std::string& path);

// The compiler's state to its start: code buffers freed and empty, milling times 0, no program
// up to date or post-processed, no output override.
void InitCompiler();

// The whole run (RunCompiler), then always frees the code buffers, removes the compiler's own
// objects and restores what the run changed in the project. 1 when a program was written, 0
// when the run was refused or abandoned (a message said why); an existing G-code file is then
// left as it was.
int MakeGCode(ProjectSaver save);
// The run itself: the checks and questions in order, the phases, writing the file, the report.
int RunCompiler(ProjectSaver save);

// All drilling below one parent (the block, a bulge, a bore or a pocket): pre-drills, coincident
// drills, spots, centre-drilling and drilling. 1, or 0 after a message.
int MakeAllNecessaryDrills(int pid);
// Machines, round by round, every bore and pocket whose parent is ready, then their drilling.
int MakePossibleBoresAndPockets();

// Where the program goes: the GCFILE name, or the file set by SetGCodeOutputFile.
std::string OutputGCodeFile();
// Overrides the GCFILE name for this process (korvelc -o); empty restores it.
void SetGCodeOutputFile(const std::string& path);
// The file Make writes: the output file, or "$<process number>.tmp" when the machine needs a
// post-processor, which makes the output file from it.
std::string RawGCodeFile();

// The tools-and-time summary of the last successful run.
std::string ReportText();
// Shows the summary when the program is up to date, else says to make it first.
void MakeReport();

// Whether the post-processor was started successfully for the current program.
bool PostProcessed();
void SetPostProcessed(bool done);
// Finds a defined machine's file by its name; false when there is no such machine. The
// machine table lives above the compiler, so its callers hand the look-up down.
using MachineFileLookup = bool (*)(const std::string& name, std::string& file);
// Runs the post-processor on the raw file when the machine needs one: 1 when it was started
// (sets the post-processed flag), 0 otherwise.
int PostProcCode(MachineFileLookup lookup);
// Sends the output file with the TRANSFER program, or copies it to diskette A without one.
int TransferCode();
int CopyCodeA();

} // namespace korvel
