#include "core/TransactionBatch.h"

#include "core/Dispatcher.h"
#include "sys/UiHost.h"

namespace eng {

TransactionBatch::~TransactionBatch() {
    try {
        commit();
    } catch (...) {
        showEngineMessage(currentErrorText());
    }
}

void TransactionBatch::join() {
    if (!open_) {
        open_ = std::make_unique<Transaction>(db_);
        opened_ = Clock::now();
        messages_ = 0;
    }
    ++messages_;
}

void TransactionBatch::commitIfDue() {
    if (open_ && (messages_ >= kMostMessages || Clock::now() - opened_ >= kLongest)) commit();
}

void TransactionBatch::commit() {
    if (!open_) return;
    // A failed commit leaves the transaction to its destructor, which rolls it back.
    const std::unique_ptr<Transaction> closing = std::move(open_);
    closing->commit();
}

}  // namespace eng
