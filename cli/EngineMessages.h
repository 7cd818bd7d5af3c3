#pragma once

#include <string>
#include <vector>

namespace lark {

// While it lives, the engine's message boxes are collected here instead of
// going to standard error, so that lark can report them as its own errors.
class EngineMessages {
public:
    EngineMessages();
    EngineMessages(const EngineMessages &) = delete;
    EngineMessages &operator=(const EngineMessages &) = delete;
    ~EngineMessages();

    const std::vector<std::string> &texts() const { return texts_; }
    // The messages joined into one line, or the fallback when there were none.
    std::string summary(const std::string &fallback) const;

private:
    static void messageBox(void *context, const char *caption, const char *text, uint32_t flags);
    std::vector<std::string> texts_;
};

}  // namespace lark
