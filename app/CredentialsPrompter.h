#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>

#include <QString>

#include "engine.h"

// The engine's credential prompts, shown as a CredentialsDialog on the GUI
// thread while the worker thread that asked waits here. The engine asks one
// prompt at a time. A cancel (an aborted download) answers the waiting worker
// at once, without waiting for the GUI thread, and closes the dialog there:
// the GUI thread may itself be waiting for the engine then.
class CredentialsPrompter {
public:
    // The UI host's callbacks (the context is unused).
    static int32_t prompt(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password);
    static void cancel(void *context, uint32_t id);

private:
    struct Answer {
        QString userName;
        QString password;
    };
    static CredentialsPrompter &instance();

    std::optional<Answer> ask(const EngCredentialsPrompt &prompt);
    void close(uint32_t id);
    // Takes the dialog's answer (nothing for Cancel) for the waiting prompt.
    void answer(uint32_t id, std::optional<Answer> answer);

    std::mutex mutex_;
    std::condition_variable answered_;
    uint32_t waiting_ = 0;  // the id of the prompt a worker waits on
    bool done_ = false;
    std::optional<Answer> answer_;
    std::set<uint32_t> cancelled_;
};
