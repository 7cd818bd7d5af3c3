#include "ExportedCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "GuiFixture.h"
#include "PageScripts.h"

namespace gui_test {

QStringList unresolvedLinks(const QString &folder, int *resolved) {
    static const QRegularExpression link(QStringLiteral("(?:href|src|URL)=[\"']?([^\"' >]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList broken;
    const QString root = QDir(folder).canonicalPath();
    for (QDirIterator it(folder, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile page(it.next());
        if (!page.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(page.readAll());
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const QString value = m.next().captured(1).section(QLatin1Char('#'), 0, 0);
            if (value.isEmpty() || value.contains(QLatin1Char(':')) || value.startsWith(QStringLiteral("0;"))) continue;
            const QString target =
                QDir(QFileInfo(page).absolutePath()).absoluteFilePath(QUrl::fromPercentEncoding(value.toUtf8()));
            const QFileInfo file(target);
            if (file.isFile() && file.canonicalFilePath().startsWith(root))
                ++*resolved;
            else
                broken << page.fileName() + QStringLiteral(" -> ") + value;
        }
    }
    return broken;
}

void expectLinksResolve(const QString &folder) {
    int resolved = 0;
    const QStringList broken = unresolvedLinks(folder, &resolved);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
    QVERIFY2(resolved > 0, "no relative link in the export");
}

void expectExportedSiteBrowses(QWebEngineView &view, const QString &page, const QString &folder,
                               const QString &picture) {
    QWebEnginePage *shown = view.page();
    view.load(QUrl::fromLocalFile(page));
    QTRY_COMPARE_WITH_TIMEOUT(shown->title(), QStringLiteral("Test site"), 10000);
    QCOMPARE(shown->url().scheme(), QStringLiteral("file"));
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(shown, QStringLiteral("document.images.length > 0 && Array.from(document.images).every("
                                       "i => i.complete && i.naturalWidth === 64)"))
            .toBool(),
        10000);
    screenshot(&view, picture);

    const QString link = evaluate(shown, QStringLiteral("Array.from(document.links).map(a => a.href)"
                                                        ".find(h => h.endsWith('page2.html')) || ''"))
                             .toString();
    QVERIFY2(link.startsWith(QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded)), qPrintable(link));
    evaluate(shown, QStringLiteral("Array.from(document.links).find(a => a.href.endsWith('page2.html')).click()"));
    QTRY_COMPARE_WITH_TIMEOUT(shown->title(), QStringLiteral("Second"), 10000);
    QCOMPARE(shown->url(), QUrl(link));
}

}  // namespace gui_test
