// The application's life cycle without a toolkit: start-up with a project named on the command
// line, new, open, save, save as and exit with their prompts and file dialogs, the window
// title, and the command line. The desktop program's widgets call these.
#pragma once

#include <string>

#include "ui/startup.h"

namespace korvel {

// The desktop program shows at most this many messages per file read, then one message with
// the number of the rest (SetFileMessageLimit): a damaged file must not bring up a box per line.
constexpr int kDesktopMessagesPerFile = 20;

// The project file dialogs' filter and default extension.
extern const char* const kProjectFilter;
extern const char* const kProjectExtension;

// StartUp, then the project the command line names (quotes removed), opened with its heights
// and empty undo lists. Anything but kOk ends the program with exit code -1.
StartupResult StartApplication(const std::string& project_argument);

// "KORVEL" at start, "Korvel" after New, "Korvel " and the path after Open and Save.
std::string WindowTitle();

// The view changed (zoom, projection) since it was last written to a project file.
bool ViewChanged();
void SetViewChanged(bool changed);
// After opening a project without a VIEW line but with a block, the view hides the machine
// table and zooms to the block; the view asks for that once.
bool TakeZoomToBlockRequest();

// When the project or the view changed: asks whether to store it ("... before proceeding?" or,
// for exit, "... before exiting?") and saves on yes. False when the command must stop: the
// user cancelled, or cancelled the save dialog, or the save failed.
bool ConfirmProjectChange(bool exiting);

// File menu. Each returns true when it was carried out.
bool NewProject();
bool OpenProjectDialog();
bool OpenProjectFile(const std::string& path);
bool SaveProjectCommand();
bool SaveProjectAs();
// The exit sequence: the prompt, then the database at exit and the temporary output file.
// False when the user chose to stay.
bool ExitApplication();

// A filter list "Name (*.ext)|*.ext|..." in the form of Qt's file dialogs: "Name (*.ext);;...".
std::string DialogFilter(const std::string& pairs);

// The text of Help/About.
std::string AboutText();

// The command line's OK: interprets the text as typed; 1 when it was accepted (the view is
// then redrawn and the field emptied).
int CommandLineOk(const std::string& text);
// The command line's unit label and top-level field ("mm" or "Inch"; the top level plus 1).
std::string UnitLabel();
std::string TopLevelText();
// The cursor position as the command line shows it, with the work offset.
std::string CursorPositionText(double x, double y);

} // namespace korvel
