#include "NotificationWindow.h"

#include <QCoreApplication>
#include <QThread>

#include "EngineLibrary.h"
#include "RecordRelease.h"

namespace {

const QEvent::Type kNotificationEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// One posted notification; its payload is released with the event, handled or not.
class NotificationEvent : public QEvent {
public:
    NotificationEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
        : QEvent(kNotificationEvent), message(message), wParam(wParam), lParam(lParam) {}
    ~NotificationEvent() override {
        eng::client::releaseNotificationPayload(message, wParam, lParam, engine().Eng_FreeMem);
    }
    const uint32_t message;
    const uintptr_t wParam;
    const intptr_t lParam;
};

// The window that receives notifications now; the pump serves only it.
NotificationWindow *current = nullptr;

}  // namespace

NotificationWindow::NotificationWindow(Handler handler)
    : window_{{&NotificationWindow::post}, this}, handler_(std::move(handler)) {
    current = this;
}

NotificationWindow::~NotificationWindow() {
    if (current == this) current = nullptr;
}

int NotificationWindow::post(EngWnd *self, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    NotificationWindow *owner = reinterpret_cast<Window *>(self)->owner;
    QCoreApplication::postEvent(owner, new NotificationEvent(message, wParam, lParam));
    return 1;
}

bool NotificationWindow::event(QEvent *event) {
    if (event->type() != kNotificationEvent) return QObject::event(event);
    const auto *notification = static_cast<NotificationEvent *>(event);
    handler_(notification->message, notification->wParam, notification->lParam);
    return true;
}

void NotificationWindow::pump() {
    if (!current || QThread::currentThread() != QCoreApplication::instance()->thread()) return;
    QCoreApplication::sendPostedEvents(current, kNotificationEvent);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}
