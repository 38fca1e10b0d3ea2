// The desktop program's start-up, shared by main and the GUI tests.
#pragma once

#include <memory>
#include <string>

namespace korvel {

class MainWindow;
class QtPort;

// Numbers are read and written in the "C" locale whatever the user's LANG: Qt sets the process
// locale when the application object is made, so this puts LC_NUMERIC back afterwards.
void UseCNumericLocale();

// The configuration, the start-up dialog with its loading steps (run without showing the dialog
// when `show_dialog` is false), the load warnings, the main window, and the project named on
// the command line. Null when the configuration stops the program (exit code -1).
std::unique_ptr<MainWindow> StartDesktop(QtPort& port, const std::string& project,
                                         bool show_dialog);

} // namespace korvel
