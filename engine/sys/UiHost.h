#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine.h"
#include "sys/Credentials.h"

namespace eng {

inline constexpr const char *kEngineCaption = "Lark Engine";

// Registers the application's user-interface services (null removes them).
void setUiHost(const EngUiHost *host);

// Shows an engine message box: caption "Lark Engine", exclamation icon,
// topmost. Without a host the text goes to standard error.
void showEngineMessage(const std::string &text);

class PromptCancel;

// What a credentials prompt shows: the kind (ENG_PROMPT_SERVER or
// ENG_PROMPT_PROXY), the site, the realm and the answer it opens with.
struct CredentialsQuestion {
    uint32_t kind = ENG_PROMPT_SERVER;
    std::string site;
    std::string realm;
    std::optional<Credentials> prefill;
};

// Asks the host for credentials and waits for the answer, each text cut to
// 50 bytes; nothing for Cancel, for a prompt closed by `cancel`, and without
// a host that prompts.
std::optional<Credentials> promptCredentials(const CredentialsQuestion &question, PromptCancel &cancel);

}  // namespace eng
