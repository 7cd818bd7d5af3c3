#pragma once

#include <QString>
#include <QVariant>

class QWebEnginePage;

namespace gui_test {

// Runs JavaScript in the page and waits for its result (a test failure after 10 seconds).
QVariant evaluate(QWebEnginePage *page, const QString &script);
// The text of the page's body.
QString bodyText(QWebEnginePage *page);

}  // namespace gui_test
