// korvel: the desktop program.
#include <QApplication>

#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_port.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korvel::UseCNumericLocale();
    korvel::QtPort port;
    std::string project = argc > 1 ? argv[1] : "";
    auto window = korvel::StartDesktop(port, project, true);
    if (!window)
        return -1; // no usable korvel.cfg
    window->show();
    return app.exec();
}
