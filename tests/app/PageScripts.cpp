#include "PageScripts.h"

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

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

void click(QWebEngineView *view, const QString &selector) {
    const QVariantList middle =
        evaluate(view->page(), QStringLiteral("(() => { const e = document.querySelector('%1'); if (!e) return [];"
                                              " e.scrollIntoView(); const r = e.getBoundingClientRect();"
                                              " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                                   .arg(selector))
            .toList();
    QVERIFY2(middle.size() == 2, qPrintable(QStringLiteral("nothing on the page is ") + selector));
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(middle[0].toInt(), middle[1].toInt()));
}

}  // namespace gui_test
