#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include "kiv.h"

class QWebEngineUrlRequestJob;

// One "kiv:" request in flight: the library's handler and what it reported.
// A child of the browser's request, so it ends with it; ending aborts the
// handler and waits for its worker.
class KivJob : public QObject {
public:
    explicit KivJob(QWebEngineUrlRequestJob *job);
    ~KivJob() override;

    void start();

private:
    static KivSink sinkFor(KivJob *job);
    void finished(int32_t result);

    QWebEngineUrlRequestJob *job_;
    KivHandler *handler_;
    KivSink sink_;
    // Reports arrive on the worker thread before the result; the GUI thread
    // reads them once the result has been posted to it.
    QString redirect_, mimeType_;
    bool statusPage_ = false;
};
