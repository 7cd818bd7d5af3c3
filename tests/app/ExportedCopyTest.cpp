// The crawled site exported by lark and opened from disk in Qt WebEngine, as
// a user opens an exported copy in a browser: the start page leads to the
// stored start page, its image shows, and a relative link opens the
// exported page it names. The site's server has stopped: all of it comes
// from the files.

#include "ExportedCopy.h"

#include <QDir>
#include <QTest>
#include <QWebEngineView>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"

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
    expectExportedSiteBrowses(view, folder + QLatin1Char('/') + startPages.front(), folder,
                              QStringLiteral("exported-copy.png"));
}

SITELARK_GUI_TEST_MAIN(ExportedCopyTest)

#include "ExportedCopyTest.moc"
