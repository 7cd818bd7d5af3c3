#include "Startup.h"

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include "BrowserProfile.h"
#include "CredentialsPrompter.h"
#include "EngineLibrary.h"
#include "kiv.h"

namespace {

const QStringList kEngineVersions = {QStringLiteral("1.0.1.0"), QStringLiteral("1.0.2.0"), QStringLiteral("1.0.3.0"),
                                     QStringLiteral("1.0.4.0")};

QString bindError;

// The engine's message boxes, shown on the GUI thread once it is free: the
// engine may ask from its own thread while the GUI thread waits on it.
void showEngineMessage(void *, const char *caption, const char *text, uint32_t) {
    const QString title = QString::fromUtf8(caption), message = QString::fromUtf8(text);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [title, message] { QMessageBox::warning(nullptr, title, message); },
        Qt::QueuedConnection);
}

}  // namespace

// The program's pages and help are resources of a static library, which
// register only when asked to.
static void registerResources() { Q_INIT_RESOURCE(app); }

QString prepareStartup() {
    registerResources();
    // The browser engine's sandbox cannot run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    bindError = engine().bind(QStringLiteral("libengine.so"));
    registerBrowserSchemes();
    return bindError;
}

bool finishStartup() {
    if (!bindError.isEmpty() || !kEngineVersions.contains(engine().version())) {
        QMessageBox::critical(nullptr, QStringLiteral("Sitelark"), QStringLiteral("Incorrect ENGINE.DLL version."));
        return false;
    }
    Kiv_Register(nullptr);
    static const EngUiHost host{nullptr, &showEngineMessage, &CredentialsPrompter::prompt,
                                &CredentialsPrompter::cancel};
    engine().Eng_SetUiHost(&host);
    return true;
}
