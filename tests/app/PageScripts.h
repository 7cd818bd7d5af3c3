#pragma once

#include <QString>
#include <QVariant>

class QWebEnginePage;
class QWebEngineView;

namespace gui_test {

// Runs JavaScript in the page and waits for its result (a test failure after 10 seconds).
QVariant evaluate(QWebEnginePage *page, const QString &script);
// The text of the page's body.
QString bodyText(QWebEnginePage *page);
// Clicks the middle of the page's first element that the CSS selector finds
// with the mouse, as a user does, once it is scrolled into view.
void click(QWebEngineView *view, const QString &selector);

}  // namespace gui_test
