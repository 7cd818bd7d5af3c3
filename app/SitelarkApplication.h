#pragma once

#include <QApplication>

// The program's application object: an error that escapes an event handler
// is shown in an error box and kept as "LastException" in the settings,
// instead of ending the program.
class SitelarkApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};
