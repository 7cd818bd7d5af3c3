#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/CommandTable.h"
#include "engine.h"

namespace eng {

class Event;
class MessageQueue;

// How an export waits for its command: application exports keep the
// caller's windows alive through the pump callback; the offline protocol
// handler's exports block without pumping.
enum class Wait { Pump, Block };

// The library's process-wide state: at most one open project, its engine
// thread and queue, the completion event shared by all commands, the pump
// callback, and the call lock that keeps one command in flight at a time.
class EngineProcess {
public:
    static EngineProcess &instance();

    int32_t open(const char *path, EngWnd *owner, EngWnd *notify, EngPump pump, CommandTable commands);
    int32_t close();
    bool isOpen() const;

    // Posts a command and waits for its completion. Returns false, without
    // posting, when no project is open.
    bool call(uint32_t command, intptr_t lParam, Wait wait);
    // Runs work on the caller's thread while no project is open (and none
    // can open meanwhile); nothing when a project is open.
    std::optional<int32_t> runWithoutProject(const std::function<int32_t()> &work);

private:
    void waitForCompletion(Event &completion, Wait wait) const;

    // Held from before posting a command until its answer has been read, and
    // around open and close. Recursive: a nested call from the same thread
    // (which the pump must not make) would not deadlock.
    mutable std::recursive_mutex callLock_;
    std::thread thread_;
    std::shared_ptr<MessageQueue> queue_;
    std::shared_ptr<Event> completion_;
    EngPump pump_ = nullptr;
};

}  // namespace eng
