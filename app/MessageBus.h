#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// A window that takes the program's broadcasts.
class BusWindow {
public:
    virtual ~BusWindow();
    virtual void busMessage(int message, quintptr wParam, qintptr lParam) = 0;
};

// The registry of windows and the broadcasts over it. On the GUI thread only.
class MessageBus {
public:
    static MessageBus &instance();

    void add(BusWindow *window, const QString &name);
    void remove(BusWindow *window);
    // Sends to every window but the sender, then to the sender itself.
    void sendToAll(int message, quintptr wParam = 0, qintptr lParam = 0, BusWindow *sender = nullptr);
    // Posts to every window but the sender; a window gone by then gets nothing.
    void postToAll(int message, quintptr wParam = 0, qintptr lParam = 0, BusWindow *sender = nullptr);

private:
    bool registered(const BusWindow *window) const;

    struct Entry {
        BusWindow *window;
        QString name;
    };
    std::vector<Entry> windows_;
};
