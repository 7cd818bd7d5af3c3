#include "core/TransactionBatch.h"

#include "core/Dispatcher.h"
#include "sys/UiHost.h"

namespace eng {

TransactionBatch::~TransactionBatch() { commit(); }

void TransactionBatch::join() {
    if (!open_) {
        try {
            open_ = std::make_unique<Transaction>(db_);
        } catch (...) {
            showEngineMessage(currentErrorText());  // the message runs in a transaction of its own
            return;
        }
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
    // A failed commit (a full disk, say) is reported like a failed command;
    // the transaction's destructor rolls the batch back.
    const std::unique_ptr<Transaction> closing = std::move(open_);
    try {
        closing->commit();
    } catch (...) {
        showEngineMessage(currentErrorText());
    }
}

}  // namespace eng
