#include "sys/UiHost.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>

#include "base/FitText.h"
#include "sys/PromptCancel.h"

namespace eng {

namespace {
std::mutex hostMutex;
std::optional<EngUiHost> registeredHost;
std::atomic<uint32_t> lastPromptId{0};

constexpr size_t kCredentialLength = 50;

std::optional<EngUiHost> currentHost() {
    std::lock_guard lock(hostMutex);
    return registeredHost;
}

// An answer buffer's text up to its NUL (or its end), cut to the column length.
std::string answerText(const char *buffer) {
    const std::string_view text(buffer, strnlen(buffer, ENG_CREDENTIAL_SIZE));
    return fitText(text, kCredentialLength);
}

}  // namespace

void setUiHost(const EngUiHost *host) {
    std::lock_guard lock(hostMutex);
    if (host)
        registeredHost = *host;
    else
        registeredHost.reset();
}

void showEngineMessage(const std::string &text) {
    const std::optional<EngUiHost> host = currentHost();
    if (host && host->messageBox) {
        host->messageBox(host->context, kEngineCaption, text.c_str(), ENG_MB_ICONEXCLAMATION | ENG_MB_TOPMOST);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", kEngineCaption, text.c_str());
}

std::optional<Credentials> promptCredentials(const CredentialsQuestion &question, PromptCancel &cancel) {
    const std::optional<EngUiHost> host = currentHost();
    if (!host || !host->promptCredentials) return std::nullopt;
    const uint32_t id = ++lastPromptId;
    const auto closer = [host, id] {
        if (host->cancelPrompt) host->cancelPrompt(host->context, id);
    };
    if (!cancel.open(closer)) return std::nullopt;
    const EngCredentialsPrompt prompt{
        .id = id,
        .kind = question.kind,
        .site = question.site.c_str(),
        .realm = question.realm.c_str(),
        .userName = question.prefill ? question.prefill->userName.c_str() : nullptr,
        .password = question.prefill ? question.prefill->password.c_str() : nullptr,
    };
    char userName[ENG_CREDENTIAL_SIZE] = {}, password[ENG_CREDENTIAL_SIZE] = {};
    const bool ok = host->promptCredentials(host->context, &prompt, userName, password) != 0;
    cancel.closed();
    if (!ok || cancel.cancelled()) return std::nullopt;
    return Credentials{answerText(userName), answerText(password)};
}

}  // namespace eng
