#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine.h"

namespace test {

// A credentials prompt as the engine asked it.
struct AskedCredentials {
    uint32_t id = 0;
    uint32_t kind = 0;
    std::string site;
    std::string realm;
    std::optional<std::string> userName;  // what the prompt opened with
    std::optional<std::string> password;
};

struct TypedCredentials {
    std::string userName;
    std::string password;
};

// Registers itself as the engine's UI host and answers its credential
// prompts with the given function (nothing for Cancel). A held prompt stays
// open until the engine cancels it.
class CredentialsHost {
public:
    using Answer = std::function<std::optional<TypedCredentials>(const AskedCredentials &)>;
    explicit CredentialsHost(Answer answer, bool hold = false);
    CredentialsHost(const CredentialsHost &) = delete;
    CredentialsHost &operator=(const CredentialsHost &) = delete;
    ~CredentialsHost();

    std::vector<AskedCredentials> asked() const;
    // Waits until `count` prompts were opened (false after a minute).
    bool waitForPrompts(size_t count) const;
    // Waits until the held prompts all returned (false after a minute).
    bool waitUntilClosed() const;
    std::set<uint32_t> cancelled() const;

private:
    static int32_t prompt(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password);
    static void cancel(void *context, uint32_t id);

    Answer answer_;
    bool hold_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<AskedCredentials> asked_;
    std::set<uint32_t> cancelled_;
    size_t open_ = 0;
};

}  // namespace test
