#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "store/Database.h"

namespace eng {

// Lets a run of crawl messages (finished downloads, scheduling steps) share
// one database transaction, each message in a savepoint of its own, so that
// a busy crawl commits about once a second instead of once per download.
// The loop commits the batch before anything else runs (a command, any
// other message), before it sleeps, and when the batch is old or long.
// Each commit writes every page the batch changed to the log, and a crawl
// changes the same index pages over and over: a 100,000-page crawl took
// 73 s with batches of a second, 80 to 89 s with batches of 200 ms. A crash
// loses at most the batch's downloads, which are queued again when the
// project opens.
class TransactionBatch {
public:
    static constexpr std::chrono::milliseconds kLongest{1000};
    // Two messages a file at several thousand files a second: the time
    // limit, not this count, ends a crawl's batch.
    static constexpr uint32_t kMostMessages = 16384;
    // How long an idle loop keeps the batch open for more.
    static constexpr std::chrono::milliseconds kIdleWait{20};

    explicit TransactionBatch(Database &db) : db_(db) {}
    TransactionBatch(const TransactionBatch &) = delete;
    TransactionBatch &operator=(const TransactionBatch &) = delete;
    ~TransactionBatch();

    // A crawl message follows: opens the batch unless one is open.
    void join();
    void commitIfDue();
    // Never throws: a failure is shown and the batch rolled back.
    void commit();
    bool isOpen() const { return open_ != nullptr; }

private:
    using Clock = std::chrono::steady_clock;

    Database &db_;
    std::unique_ptr<Transaction> open_;
    Clock::time_point opened_{};
    uint32_t messages_ = 0;
};

}  // namespace eng
