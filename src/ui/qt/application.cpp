// Start-up of the desktop program.
#include "ui/qt/application.h"

#include <clocale>

#include "base/text.h"
#include "ui/app.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_port.h"
#include "ui/qt/startup_dialog.h"
#include "ui/startup.h"

namespace korvel {

void UseCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

std::unique_ptr<MainWindow> StartDesktop(QtPort& port, const std::string& project,
                                         bool show_dialog) {
    InstallUiPort(&port);
    SetFileMessageLimit(kDesktopMessagesPerFile);
    if (StartConfiguration() != StartupResult::kOk)
        return nullptr;
    if (show_dialog) {
        StartupDialog dialog;
        dialog.exec();
    } else {
        std::string text;
        for (int step = 0; step >= 0;)
            step = RunLoadingStep(step, text);
    }
    FinishLoading();
    auto window = std::make_unique<MainWindow>(port);
    std::string path = project;
    RemQuotes(path);
    if (!path.empty())
        OpenProjectFile(path);
    window->FitView();
    window->RefreshState();
    return window;
}

} // namespace korvel
