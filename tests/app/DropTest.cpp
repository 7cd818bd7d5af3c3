// Addresses dropped on the program: the drop box turns them into tasks of
// its folder, and dropped data (links, shortcut files, text) gives its addresses.

#include <QMimeData>
#include <QTest>

#include "DropBox.h"
#include "DroppedAddresses.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "GuiTestSite.h"
#include "MainForm.h"
#include "ModalAnswers.h"

using namespace gui_test;

class DropTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Empty); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void addressesDroppedOnTheDropBoxBecomeTasks();
    void droppedDataGivesItsAddresses();
};

void DropTest::addressesDroppedOnTheDropBoxBecomeTasks() {
    KestProject &project = fixture_.project();
    DropBox &box = fixture_.form().dropBox();
    QCOMPARE(box.windowTitle(), QStringLiteral("Root Folder"));  // the root folder is "Root"
    const auto drop = [&](const QString &text) {
        QMimeData data;
        data.setText(text);
        return box.take(data);
    };
    QVERIFY(!project.findTasks(url(QStringLiteral("/page2.html"))));
    QCOMPARE(drop(url(QStringLiteral("/page2.html")) + QStringLiteral("\r\n") +
                  QStringLiteral("kiv:0:09-12-2026-10-00-00:0:") + url(QStringLiteral("/evil.html"))),
             2);
    QVERIFY(project.findTasks(url(QStringLiteral("/page2.html"))));
    QVERIFY(project.findTasks(url(QStringLiteral("/evil.html"))));
    QVERIFY(box.animating());  // the box shows it took them
    QTRY_VERIFY_WITH_TIMEOUT(!box.animating(), 5000);

    // A text that is no address says so and creates nothing.
    QString shown;
    whenOpen<QMessageBox>([&shown](QMessageBox *box) {
        shown = box->text();
        box->close();
    });
    QCOMPARE(drop(QStringLiteral("mailto:someone")), 0);
    QCOMPARE(shown, QStringLiteral("The URL mailto:someone is not valid."));
    QVERIFY(!box.animating());
    // Closed, the project leaves the box with nothing to drop into.
    fixture_.project().setActive(false);
    QCOMPARE(box.windowTitle(), QString());
    QCOMPARE(drop(url(QStringLiteral("/page2.html"))), 0);
}

void DropTest::droppedDataGivesItsAddresses() {
    const QString shortcut = fixture_.workPath(QStringLiteral("site.url")),
                  plain = fixture_.workPath(QStringLiteral("notes.txt"));
    writeFile(shortcut.toStdString(), "[InternetShortcut]\r\nURL=http://example.test/from-shortcut.html\r\n");
    writeFile(plain.toStdString(), "text");
    QMimeData links;
    links.setUrls({QUrl(QStringLiteral("http://example.test/a.html")), QUrl::fromLocalFile(shortcut),
                   QUrl::fromLocalFile(plain)});
    links.setText(QStringLiteral("ignored while there are links"));
    QCOMPARE(droppedAddresses(links), (QStringList{QStringLiteral("http://example.test/a.html"),
                                                   QStringLiteral("http://example.test/from-shortcut.html"), plain}));
    QMimeData text;
    text.setText(QStringLiteral("http://example.test/1.html\r\n\r\nhttp://example.test/2.html\n"));
    QCOMPARE(droppedAddresses(text),
             (QStringList{QStringLiteral("http://example.test/1.html"), QStringLiteral("http://example.test/2.html")}));
}

SITELARK_GUI_TEST_MAIN(DropTest)

#include "DropTest.moc"
