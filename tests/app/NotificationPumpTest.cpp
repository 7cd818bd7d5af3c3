// The pump the program gives the engine: while an engine call waits, only
// the engine's notifications are dispatched. No main window: the window
// under test is the only one receiving notifications.

#include <vector>

#include <QCoreApplication>
#include <QTest>

#include "GuiTestProgram.h"
#include "NotificationWindow.h"

class NotificationPumpTest : public QObject {
    Q_OBJECT

private slots:
    void whileTheEngineWorksOnlyItsNotificationsAreDispatched();
};

void NotificationPumpTest::whileTheEngineWorksOnlyItsNotificationsAreDispatched() {
    std::vector<uint32_t> handled;
    NotificationWindow notifications([&](uint32_t message, uintptr_t, intptr_t) { handled.push_back(message); });
    bool userEventRan = false;
    QMetaObject::invokeMethod(
        qApp, [&] { userEventRan = true; }, Qt::QueuedConnection);
    EngWnd *window = notifications.window();
    QCOMPARE(window->post(window, ENG_NOTIFY_ONLINE, 1, 0), 1);
    NotificationWindow::pump();  // as the engine does while a call waits
    QCOMPARE(handled, std::vector<uint32_t>{ENG_NOTIFY_ONLINE});
    QVERIFY(!userEventRan);  // no user command starts inside an engine call
    QCoreApplication::processEvents();
    QVERIFY(userEventRan);
}

SITELARK_GUI_TEST_MAIN(NotificationPumpTest)

#include "NotificationPumpTest.moc"
