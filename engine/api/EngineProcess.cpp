#include "api/EngineProcess.h"

#include <chrono>
#include <system_error>

#include "core/EngineRegistry.h"
#include "core/EngineThread.h"
#include "store/Database.h"
#include "sys/Event.h"
#include "sys/MessageQueue.h"

namespace eng {

namespace {
constexpr std::chrono::milliseconds kPumpInterval{100};
}  // namespace

EngineProcess &EngineProcess::instance() {
    static EngineProcess process;
    return process;
}

bool EngineProcess::isOpen() const { return EngineRegistry::instance().isOpen(); }

int32_t EngineProcess::open(const char *path, EngWnd *owner, EngWnd *notify, EngPump pump, CommandTable commands) {
    std::lock_guard lock(callLock_);
    pump_ = nullptr;
    if (isOpen()) return ENG_ALREADY_OPEN;
    if (!databaseEngineInstalled()) return ENG_NO_DATABASE_ENGINE;

    OpenRequest request{path ? path : "", owner, notify};
    auto queue = std::make_shared<MessageQueue>();
    auto completion = std::make_shared<Event>(Event::Reset::Auto);
    try {
        thread_ = std::thread(runEngineThread, request, completion, queue, std::move(commands));
    } catch (const std::system_error &) {
        return ENG_OPEN_FAILED;
    }
    pump_ = pump;
    completion->wait();
    if (isOpen()) {
        queue_ = std::move(queue);
        completion_ = std::move(completion);
        return 0;
    }
    thread_.join();
    pump_ = nullptr;
    return ENG_OPEN_FAILED;
}

int32_t EngineProcess::close() {
    std::lock_guard lock(callLock_);
    if (!isOpen()) return ENG_NOT_OPEN;
    queue_->postQuit();
    thread_.join();
    queue_.reset();
    completion_.reset();
    return 0;
}

void EngineProcess::waitForCompletion(Event &completion, Wait wait) const {
    if (wait == Wait::Block || !pump_) {
        completion.wait();
        return;
    }
    const auto pump = [this] {
        try {
            pump_();
        } catch (...) {
            // The pump belongs to the application; its failures do not end the wait.
        }
    };
    pump();
    while (!completion.waitFor(kPumpInterval)) pump();
    // What the command posted before it ended is served before the call
    // returns, so its last progress is never seen after its result.
    pump();
}

bool EngineProcess::call(uint32_t command, intptr_t lParam, Wait wait) {
    if (!isOpen()) return false;
    std::lock_guard lock(callLock_);
    // The project may have been closed while this thread waited for the lock.
    if (!isOpen() || !queue_->post(Message{command, 0, lParam})) return false;
    waitForCompletion(*completion_, wait);
    return true;
}

}  // namespace eng

namespace eng {

std::optional<int32_t> EngineProcess::runWithoutProject(const std::function<int32_t()> &work) {
    std::lock_guard lock(callLock_);
    if (isOpen()) return std::nullopt;
    return work();
}

}  // namespace eng
