// The engine's credential prompt in the program: the dialog that a 401
// opens while the download waits, answered by the user or closed by an abort.

#include "CredentialsDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "ModalAnswers.h"
#include "StoredResource.h"
#include "TaskCreation.h"
#include "support/ScriptedHttpServer.h"

using namespace gui_test;

class CredentialsDialogTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Empty); }
    void init() {
        fixture_.setUp();
        fixture_.project().setRunning(true);
    }
    void cleanup() { fixture_.tearDown(); }

    void theTypedCredentialsAreSentAndThePageIsStored();
    void goingOfflineClosesTheOpenDialog();

private:
    // The address answers 401 for the realm "Back Office", then as scripted.
    void fetch(test::ScriptedHttpServer &server, const QString &path, std::string thereafter = {}) {
        server.answer(test::httpResponse(401, "Unauthorized", "no", {"WWW-Authenticate: Basic realm=\"Back Office\""}));
        if (!thereafter.empty()) server.answer(std::move(thereafter));
        const QString address = QString::fromStdString(server.url(path.toStdString()));
        QVERIFY(fixture_.project().createTask(address, 0, kRootFolder) > 0);
    }
};

void CredentialsDialogTest::theTypedCredentialsAreSentAndThePageIsStored() {
    test::ScriptedHttpServer server;
    bool answered = false;
    whenOpen<CredentialsDialog>([&](CredentialsDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("User Authentication Required"));
        QStringList labels;
        for (const QLabel *label : dialog->findChildren<QLabel *>()) labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Please type your user name and password:")));
        QVERIFY(labels.contains(QStringLiteral("Back Office")));
        QVERIFY(labels.contains(QStringLiteral("http://127.0.0.1:%1").arg(server.port())));
        QVERIFY(labels.contains(QStringLiteral("&User name :")));
        QVERIFY(labels.contains(QStringLiteral("&Password:")));
        QCOMPARE(dialog->passwordBox()->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog->userNameBox()->maxLength(), 50);
        QTest::keyClicks(dialog->userNameBox(), QStringLiteral("clerk"));
        QTest::keyClicks(dialog->passwordBox(), QStringLiteral("ledger"));
        screenshot(dialog, QStringLiteral("credentials-dialog.png"));
        QTest::keyClick(dialog->passwordBox(), Qt::Key_Return);  // OK is the default button
        answered = true;
    });
    fetch(server, QStringLiteral("/books.html"),
          test::httpResponse(200, "OK", "<html>Accounts</html>", {"Content-Type: text/html"}));
    const QString address = QString::fromStdString(server.url("/books.html"));
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QVERIFY(answered);
    QVERIFY(!storedResource(address)->failed);
    const auto requests = server.requests();
    QCOMPARE(requests.size(), size_t{2});
    QVERIFY(requests[1].find("Authorization: Basic Y2xlcms6bGVkZ2Vy\r\n") != std::string::npos);  // clerk:ledger
}

void CredentialsDialogTest::goingOfflineClosesTheOpenDialog() {
    test::ScriptedHttpServer server;
    QPointer<CredentialsDialog> shown;
    whenOpen<CredentialsDialog>([&](CredentialsDialog *dialog) { shown = dialog; });
    fetch(server, QStringLiteral("/vault.html"));
    QTRY_VERIFY_WITH_TIMEOUT(shown, 20000);
    fixture_.project().setRunning(false);
    QTRY_VERIFY_WITH_TIMEOUT(!shown, 20000);
    QCOMPARE(server.requests().size(), size_t{1});
}

SITELARK_GUI_TEST_MAIN(CredentialsDialogTest)
#include "CredentialsDialogTest.moc"
