#include "SitelarkApplication.h"

#include <exception>

#include <QMessageBox>

#include "ProgramSettings.h"

bool SitelarkApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        const QString message = QString::fromUtf8(error.what());
        ProgramSettings().setText(QStringLiteral("LastException"), message);
        QMessageBox::critical(nullptr, QStringLiteral("Sitelark"), message);
        return false;
    }
}
