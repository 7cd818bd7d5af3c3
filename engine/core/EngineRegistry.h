#pragma once

#include <mutex>

namespace eng {

class Engine;

// The process-wide record of the open project's engine object. Exports that
// work without a command (status queries, the active folder, the browser
// address) reach the engine through it, under its lock, so that the object
// cannot end while they use it.
class EngineRegistry {
public:
    static EngineRegistry &instance();

    void publish(Engine *engine);
    void withdraw();
    bool isOpen() const;

    // Runs f with the engine while a project is open; returns false otherwise.
    template <class F>
    bool withEngine(F &&f) const {
        std::lock_guard lock(mutex_);
        if (!engine_) return false;
        f(*engine_);
        return true;
    }

private:
    mutable std::mutex mutex_;
    Engine *engine_ = nullptr;
};

}  // namespace eng
