#pragma once

#include <functional>

#include <QEvent>
#include <QObject>

#include "engine.h"

// The window the engine posts its notifications to: each post becomes an
// event on the GUI thread's queue, handed to the handler there and released
// afterwards (also when it is never handled). The pump given to the engine
// dispatches only these events and paint requests while a call waits, so no
// user command can start inside an engine call.
class NotificationWindow : public QObject {
public:
    using Handler = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

    explicit NotificationWindow(Handler handler);
    ~NotificationWindow() override;
    EngWnd *window() { return &window_.base; }

    // The pump for Eng_OpenProject: on the GUI thread only.
    static void pump();

protected:
    bool event(QEvent *event) override;

private:
    static int post(EngWnd *self, uint32_t message, uintptr_t wParam, intptr_t lParam);

    struct Window {
        EngWnd base;
        NotificationWindow *owner;
    };
    Window window_;
    Handler handler_;
};
