#include "GuiTestProgram.h"

#include <cstdio>

#include "Startup.h"

GuiTestProgram::GuiTestProgram(int &argc, char **argv) {
    qputenv("XDG_CONFIG_HOME", home_.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home_.path() + QStringLiteral("/data")).toLocal8Bit());
    if (const QString error = prepareStartup(); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return;
    }
    application_ = std::make_unique<QApplication>(argc, argv);
    ready_ = finishStartup();
}
