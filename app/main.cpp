// Sitelark, the desktop program: binds the engine and refuses one of another
// version, registers the offline protocol handler and the browser schemes,
// then shows the main window, which opens a project.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "BrowserProfile.h"
#include "EngineLibrary.h"
#include "MainForm.h"
#include "kiv.h"

namespace {

const QStringList kEngineVersions = {QStringLiteral("1.0.1.0"), QStringLiteral("1.0.2.0"), QStringLiteral("1.0.3.0"),
                                     QStringLiteral("1.0.4.0")};

// The engine's message boxes, shown on the GUI thread once it is free: the
// engine may ask from its own thread while the GUI thread waits on it.
void showEngineMessage(void *, const char *caption, const char *text, uint32_t) {
    const QString title = QString::fromUtf8(caption), message = QString::fromUtf8(text);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [title, message] { QMessageBox::warning(nullptr, title, message); },
        Qt::QueuedConnection);
}

}  // namespace

int main(int argc, char **argv) {
    const QString bound = engine().bind(QStringLiteral("libengine.so"));
    registerBrowserSchemes();
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Sitelark"));
    if (!bound.isEmpty() || !kEngineVersions.contains(engine().version())) {
        QMessageBox::critical(nullptr, QStringLiteral("Sitelark"), QStringLiteral("Incorrect ENGINE.DLL version."));
        return 1;
    }
    Kiv_Register(nullptr);
    static const EngUiHost host{nullptr, &showEngineMessage};
    engine().Eng_SetUiHost(&host);

    MainForm form(application.arguments());
    form.show();
    QTimer::singleShot(0, &form, &MainForm::start);
    return application.exec();
}
