#include "IndexTicker.h"

#include <algorithm>
#include <chrono>

#include <QCoreApplication>
#include <QEvent>

IndexTicker::IndexTicker(QObject *parent) : QObject(parent) {}

IndexTicker::~IndexTicker() { stop(); }

void IndexTicker::start(int64_t total, uint32_t wordsPerSecond) {
    stop();
    total_ = total;
    count_ = 0;
    wordsPerSecond_ = wordsPerSecond;
    running_ = true;
    emit textChanged(QStringLiteral("Indexing words.  Words: 0 of ") + QString::number(total));
    seconds_ = std::jthread([this](std::stop_token stop) { countSeconds(stop); });
}

void IndexTicker::stop() {
    running_ = false;
    if (!seconds_.joinable()) return;
    seconds_.request_stop();
    wake_.notify_all();
    seconds_.join();
    QCoreApplication::removePostedEvents(this, QEvent::UpdateRequest);
}

void IndexTicker::countSeconds(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, stop, std::chrono::seconds(1), [] { return false; }) && !stop.stop_requested())
        QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest));
}

void IndexTicker::tick() {
    count_ = std::min(total_, count_ + wordsPerSecond_);
    emit textChanged(QStringLiteral("Indexing words. Words: %1 of %2").arg(count_).arg(total_));
}

bool IndexTicker::event(QEvent *event) {
    if (event->type() != QEvent::UpdateRequest) return QObject::event(event);
    if (running_) tick();
    return true;
}
