#include "PageScripts.h"

#include <QTest>
#include <QWebEnginePage>

namespace gui_test {

QVariant evaluate(QWebEnginePage *page, const QString &script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    for (int waited = 0; !done && waited < 10000; waited += 10) QTest::qWait(10);
    if (!done) QTest::qFail("the script gave no result", __FILE__, __LINE__);
    return result;
}

QString bodyText(QWebEnginePage *page) {
    return evaluate(page, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

}  // namespace gui_test
