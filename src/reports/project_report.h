// The project report: a set-up sheet for the machine operator as an HTML page. It names the
// station, the project and its G-code program, says how the block is clamped and zeroed and
// lists the tools in the tool holder with their milling times from the last Make.
#pragma once

#include <string>

namespace korvel {

// The report's page as it stands now (the time it names is CurrentTime()). Reads the project,
// the settings, the tool holder, the tool database and the milling times; changes nothing.
std::string ReportHtml();

// Writes the page to a file, replacing it only when the whole page was written. 1; 0 after
// "Cannot open file for writing" captioned with the path.
int WriteReport(const std::string& path);

// File/Print report: writes report.html in the current directory and starts the HTML viewer
// (HTMLVIEW) on it without waiting. 1; 0 when the file could not be written (nothing is
// started then). The caller checks first that the project is compiled and unchanged.
int PrintReport();

} // namespace korvel
