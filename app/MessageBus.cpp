#include "MessageBus.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>

BusWindow::~BusWindow() { MessageBus::instance().remove(this); }

MessageBus &MessageBus::instance() {
    static MessageBus bus;
    return bus;
}

void MessageBus::add(BusWindow *window, const QString &name) { windows_.push_back({window, name}); }

void MessageBus::remove(BusWindow *window) {
    std::erase_if(windows_, [&](const Entry &e) { return e.window == window; });
}

bool MessageBus::registered(const BusWindow *window) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const Entry &e) { return e.window == window; });
}

void MessageBus::sendToAll(int message, quintptr wParam, qintptr lParam, BusWindow *sender) {
    // A receiver may open or close windows: go through a copy, skipping any gone meanwhile.
    const std::vector<Entry> receivers = windows_;
    for (const Entry &e : receivers)
        if (e.window != sender && registered(e.window)) e.window->busMessage(message, wParam, lParam);
    if (sender && registered(sender)) sender->busMessage(message, wParam, lParam);
}

void MessageBus::postToAll(int message, quintptr wParam, qintptr lParam, BusWindow *sender) {
    for (const Entry &e : windows_) {
        if (e.window == sender) continue;
        BusWindow *window = e.window;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, window, message, wParam, lParam] {
                if (registered(window)) window->busMessage(message, wParam, lParam);
            },
            Qt::QueuedConnection);
    }
}
