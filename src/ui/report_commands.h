// The menu commands that make the G-code and show it or the project report in the HTML viewer:
// G-Code/Make, G-Code/View and File/Print report, with the checks in front of them and the
// rules that enable them.
#pragma once

namespace korvel {

// G-Code/Make: the compile pipeline, saving the project first when the user agrees. 1 when a
// program was written.
int MenuMake();
// Make needs a block.
bool MenuMakeEnabled();

// G-Code/View: the output file as coloured HTML. Before the project is compiled it asks
// "View existing file?" first; no cancels (0).
int MenuViewGCode();
// View needs the project compiled.
bool MenuViewGCodeEnabled();

// File/Print report: the report of a compiled project, else "Use Korvel/Make to compile the
// project" (0).
int MenuPrintReport();
// Print report needs a block and the project saved and compiled.
bool MenuPrintReportEnabled();

} // namespace korvel
