#include "core/EngineRegistry.h"

namespace eng {

EngineRegistry &EngineRegistry::instance() {
    static EngineRegistry registry;
    return registry;
}

void EngineRegistry::publish(Engine *engine) {
    std::lock_guard lock(mutex_);
    engine_ = engine;
}

void EngineRegistry::withdraw() { publish(nullptr); }

bool EngineRegistry::isOpen() const {
    std::lock_guard lock(mutex_);
    return engine_ != nullptr;
}

}  // namespace eng
