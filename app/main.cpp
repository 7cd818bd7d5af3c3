// Sitelark, the desktop program: binds the engine and refuses one of another
// version, registers the offline protocol handler and the browser schemes,
// then shows the main window, which opens a project.
#include <QTimer>

#include "MainForm.h"
#include "SitelarkApplication.h"
#include "Startup.h"

int main(int argc, char **argv) {
    prepareStartup();
    SitelarkApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Sitelark"));
    if (!finishStartup()) return 1;
    MainForm form(application.arguments());
    form.show();
    QTimer::singleShot(0, &form, &MainForm::start);
    return application.exec();
}
