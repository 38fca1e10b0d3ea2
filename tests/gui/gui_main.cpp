// One application object for every GUI test, without a display, made in a German locale:
// the program must keep reading and writing numbers with a decimal point regardless.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/qt/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    korvel::UseCNumericLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
