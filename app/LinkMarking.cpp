#include "LinkMarking.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include "ProgramOptions.h"

void markLinkAt(QWebEnginePage &page, QPoint at, const LinkMark &mark, const ProgramOptions &options) {
    QJsonObject style;
    if (options.showCursorOnLink) style[QStringLiteral("cursor")] = mark.stored ? "pointer" : "wait";
    if (options.highlightingLink) style[QStringLiteral("color")] = mark.stored ? "#0000FF" : "#FF0000";
    if (style.isEmpty() && (!options.showHintOnLinks || mark.hint.isEmpty())) return;
    const QJsonObject request{{QStringLiteral("x"), at.x() / page.zoomFactor()},
                              {QStringLiteral("y"), at.y() / page.zoomFactor()},
                              {QStringLiteral("style"), style},
                              {QStringLiteral("title"), options.showHintOnLinks ? mark.hint : QString()}};
    page.runJavaScript(QStringLiteral("(function (m) {"
                                      " var d = document, x = m.x, y = m.y, e = d.elementFromPoint(x, y);"
                                      " while (e && (e.tagName == 'IFRAME' || e.tagName == 'FRAME')) {"
                                      "  var r = e.getBoundingClientRect(), inner = null;"
                                      "  try { inner = e.contentDocument; } catch (ignored) {}"
                                      "  if (!inner) break;"
                                      "  x -= r.left; y -= r.top; d = inner; e = d.elementFromPoint(x, y); }"
                                      " while (e && e.tagName != 'A') e = e.parentElement;"
                                      " if (!e) return false;"
                                      " for (var k in m.style) e.style[k] = m.style[k];"
                                      " if (m.title) e.title = m.title;"
                                      " return true; })(%1)")
                           .arg(QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact))),
                       QWebEngineScript::ApplicationWorld, [](const QVariant &) {});
}
