// The crawled site exported by lark and opened from disk in Qt WebEngine, as
// a user opens an exported copy in a browser: the start page leads to the
// stored start page, its image shows, and a relative link opens the
// exported page it names. The site's server has stopped: all of it comes
// from the files.

#include <QDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "PageScripts.h"

using namespace gui_test;

class ExportedCopyTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(GuiFixture::Window::Empty); }
    void cleanup() { fixture_.tearDown(); }

    void theExportedPagesShowTheirImagesAndFollowTheirLinksFromDisk();
};

void ExportedCopyTest::theExportedPagesShowTheirImagesAndFollowTheirLinksFromDisk() {
    const QString folder = fixture_.workPath(QStringLiteral("exported"));
    const QString summary = larkOutput({QStringLiteral("export"), fixture_.projectPath(), QStringLiteral("1"), folder});
    QVERIFY2(summary.contains(QStringLiteral(" written to ")), qPrintable(summary));
    const QStringList startPages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    QCOMPARE(startPages.size(), 1);

    QWebEngineView view;
    view.resize(900, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QWebEnginePage *page = view.page();
    view.load(QUrl::fromLocalFile(folder + QLatin1Char('/') + startPages.front()));
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Test site"), 10000);  // after the start page's refresh
    QCOMPARE(page->url().scheme(), QStringLiteral("file"));
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(page, QStringLiteral("document.images.length > 0 && Array.from(document.images).every("
                                      "i => i.complete && i.naturalWidth === 64)"))
            .toBool(),
        10000);
    screenshot(&view, QStringLiteral("exported-copy.png"));

    const QString link = evaluate(page, QStringLiteral("Array.from(document.links).map(a => a.href)"
                                                       ".find(h => h.endsWith('page2.html')) || ''"))
                             .toString();
    QVERIFY2(link.startsWith(QStringLiteral("file://") + folder), qPrintable(link));
    evaluate(page, QStringLiteral("Array.from(document.links).find(a => a.href.endsWith('page2.html')).click()"));
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Second"), 10000);
    QCOMPARE(page->url(), QUrl(link));
}

SITELARK_GUI_TEST_MAIN(ExportedCopyTest)

#include "ExportedCopyTest.moc"
