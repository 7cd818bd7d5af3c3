#include "core/EngineThread.h"

#include "core/Dispatcher.h"
#include "core/EngineRegistry.h"
#include "core/Messages.h"
#include "core/TransactionBatch.h"
#include "sys/CrashGuard.h"
#include "sys/Event.h"
#include "sys/MessageQueue.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

// Handles a message that is not one of the engine's own numbered messages.
void dispatchPlatformMessage(Engine &engine, const Message &m) {
    if (m.msg == kTimerMessage)
        engine.queue().runTimer(static_cast<uint32_t>(m.wParam));
    else if (m.msg >= msg::kFirstEngineMessage)
        engine.dispatch(m);
}

}  // namespace

void runMessageLoop(Engine &engine) {
    MessageQueue &queue = engine.queue();
    TransactionBatch batch(engine.database());
    for (;;) {
        batch.commitIfDue();
        if (auto late = queue.takeOverdueTimer()) {
            queue.runTimer(static_cast<uint32_t>(late->wParam));
            continue;
        }
        if (auto command = queue.takeInRange(msg::kFirstCommand, msg::kLastCommand)) {
            batch.commit();
            engine.dispatch(*command);
            continue;
        }
        if (queue.hasInRange(msg::kDownloadDone, msg::kDownloadDone)) {
            batch.join();
            if (engine.canFetch()) engine.send(msg::kStartNext);
            if (auto done = queue.takeInRange(msg::kDownloadDone, msg::kDownloadDone)) engine.dispatch(*done);
            continue;
        }
        if (auto other = queue.takeNext()) {
            batch.commit();
            if (other->msg == kQuitMessage) return;
            dispatchPlatformMessage(engine, *other);
            continue;
        }
        if (engine.canFetch()) {
            batch.join();
            if (engine.send(msg::kStartNext) != 0) continue;
        }
        // Downloads tend to finish one after another: the batch stays open
        // for a moment in case the next one is about to end.
        if (batch.isOpen() && queue.waitFor(TransactionBatch::kIdleWait)) continue;
        batch.commit();
        queue.wait();
    }
}

bool runEngineThread(const OpenRequest &request, std::shared_ptr<Event> completion, std::shared_ptr<MessageQueue> queue,
                     CommandTable commands) {
    const CrashGuard crashGuard;
    std::unique_ptr<Engine> engine;
    try {
        engine = std::make_unique<Engine>(request, completion, queue, std::move(commands));
        engine->open();
    } catch (...) {
        showEngineMessage(currentErrorText());
        engine.reset();
        queue->close();
        completion->set();
        return false;
    }
    EngineRegistry::instance().publish(engine.get());
    completion->set();
    runMessageLoop(*engine);
    queue->close();
    engine->shutdown();
    EngineRegistry::instance().withdraw();
    return true;
}

}  // namespace eng
