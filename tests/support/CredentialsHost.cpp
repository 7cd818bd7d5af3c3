#include "support/CredentialsHost.h"

#include <chrono>
#include <cstring>

namespace test {

namespace {
constexpr auto kPatience = std::chrono::minutes(1);

std::optional<std::string> optionalText(const char *text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}
}  // namespace

CredentialsHost::CredentialsHost(Answer answer, bool hold) : answer_(std::move(answer)), hold_(hold) {
    EngUiHost host{};
    host.context = this;
    host.promptCredentials = &CredentialsHost::prompt;
    host.cancelPrompt = &CredentialsHost::cancel;
    Eng_SetUiHost(&host);
}

CredentialsHost::~CredentialsHost() { Eng_SetUiHost(nullptr); }

int32_t CredentialsHost::prompt(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password) {
    auto *self = static_cast<CredentialsHost *>(context);
    AskedCredentials asked{prompt->id,
                           prompt->kind,
                           prompt->site,
                           prompt->realm,
                           optionalText(prompt->userName),
                           optionalText(prompt->password)};
    std::unique_lock lock(self->mutex_);
    self->asked_.push_back(asked);
    ++self->open_;
    self->changed_.notify_all();
    if (self->hold_) self->changed_.wait(lock, [&] { return self->cancelled_.contains(asked.id); });
    --self->open_;
    self->changed_.notify_all();
    if (self->hold_) return 0;
    lock.unlock();
    const auto typed = self->answer_(asked);
    if (!typed) return 0;
    std::strncpy(userName, typed->userName.c_str(), ENG_CREDENTIAL_SIZE - 1);
    std::strncpy(password, typed->password.c_str(), ENG_CREDENTIAL_SIZE - 1);
    return 1;
}

void CredentialsHost::cancel(void *context, uint32_t id) {
    auto *self = static_cast<CredentialsHost *>(context);
    std::lock_guard lock(self->mutex_);
    self->cancelled_.insert(id);
    self->changed_.notify_all();
}

std::vector<AskedCredentials> CredentialsHost::asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

std::set<uint32_t> CredentialsHost::cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

bool CredentialsHost::waitForPrompts(size_t count) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return asked_.size() >= count; });
}

bool CredentialsHost::waitUntilClosed() const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return open_ == 0; });
}

}  // namespace test
