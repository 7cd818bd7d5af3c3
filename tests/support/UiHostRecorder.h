#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "engine.h"

namespace test {

struct ShownMessage {
    std::string caption;
    std::string text;
    uint32_t flags;
};

// Registers itself as the engine's UI host and records every message box.
class UiHostRecorder {
public:
    UiHostRecorder();
    UiHostRecorder(const UiHostRecorder &) = delete;
    UiHostRecorder &operator=(const UiHostRecorder &) = delete;
    ~UiHostRecorder();

    std::vector<ShownMessage> messages() const;
    void clear();

private:
    static void messageBox(void *context, const char *caption, const char *text, uint32_t flags);

    mutable std::mutex mutex_;
    std::vector<ShownMessage> messages_;
};

}  // namespace test
