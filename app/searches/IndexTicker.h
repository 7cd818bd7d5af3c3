#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include <QObject>
#include <QString>

// Counts the words of an index import that the engine does not report while
// it runs: once a second it adds the words the engine imports in a second,
// never beyond the total, and says how far it has come.
//
// The import runs inside an engine call on the GUI thread, whose pump serves
// only the engine's notifications and paint requests while it waits, so a
// timer of the GUI thread would stand still. The seconds are counted on a
// thread of the ticker's own, which hands each tick to the GUI thread as an
// update request, the kind of posted event the pump serves.
class IndexTicker : public QObject {
    Q_OBJECT

public:
    explicit IndexTicker(QObject *parent = nullptr);
    ~IndexTicker() override;

    // Starts counting from 0 towards the total, the words per second given;
    // says "Indexing words.  Words: 0 of " + total.
    void start(int64_t total, uint32_t wordsPerSecond);
    // Stops counting; ticks still on their way are dropped.
    void stop();
    bool running() const { return running_; }
    int64_t count() const { return count_; }
    // One second more: the count grows by the speed, up to the total.
    void tick();

signals:
    void textChanged(const QString &text);

protected:
    bool event(QEvent *event) override;

private:
    void countSeconds(std::stop_token stop);

    int64_t total_ = 0;
    int64_t count_ = 0;
    uint32_t wordsPerSecond_ = 0;
    bool running_ = false;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::jthread seconds_;
};
