#pragma once

#include <QApplication>

// The application object that models drawing icons need, without a display;
// made once for the test program.
inline void ensureOffscreenApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_unit_tests";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}
