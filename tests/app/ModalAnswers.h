#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

// Answers for the modal dialogs a command opens. Each is set up before the
// command runs and waits for its dialog on a timer, which the dialog's own
// event loop serves.
namespace gui_test {

// Calls the handler with the next modal dialog of the type once it is open
// (a warning when none opens within 20 seconds).
template <typename Dialog>
void whenOpen(std::function<void(Dialog *)> handle) {
    auto *poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, handle] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            handle(dialog);
        } else if ((*waited += 50) > 20000) {
            poll->deleteLater();
            poll->stop();
            qWarning("no dialog opened");
        }
    });
    poll->start(50);
}

// Fills the next file dialog with the path, and accepts it.
void answerFileDialog(const QString &path);
// Answers the next message box with the button, keeping its text.
void answerMessageBox(QMessageBox::StandardButton button, QString *text);

}  // namespace gui_test
