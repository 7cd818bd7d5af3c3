#pragma once

#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "engine.h"

namespace lark {

class Arguments;

// Answers the engine's credential prompts while it lives (it is the engine's
// UI host then). With --user (and --password-file, whose first line is the
// password) it answers with them, once for each site and realm: a second
// prompt for the same pair means they were rejected, and is cancelled. Else,
// when standard input is a terminal, it asks there ("User name:" and, without
// echo, "Password:") after showing the site and realm; otherwise it cancels
// every prompt. An abort of the download cancels an open terminal prompt.
class CredentialAnswers {
public:
    explicit CredentialAnswers(const Arguments &args);
    CredentialAnswers(const CredentialAnswers &) = delete;
    CredentialAnswers &operator=(const CredentialAnswers &) = delete;
    ~CredentialAnswers();

    // The options that give credentials.
    static constexpr const char *kUserOption = "user";
    static constexpr const char *kPasswordFileOption = "password-file";

private:
    static int32_t prompt(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password);
    static void cancel(void *context, uint32_t id);

    // The answer to one prompt: nothing for Cancel.
    std::optional<std::pair<std::string, std::string>> answer(const EngCredentialsPrompt &prompt);
    std::optional<std::pair<std::string, std::string>> askTerminal(const EngCredentialsPrompt &prompt);
    // A line typed on the terminal, or nothing when the prompt was cancelled
    // or input ended.
    std::optional<std::string> readLine(uint32_t id);

    std::optional<std::string> user_;
    std::string password_;
    std::mutex mutex_;
    std::set<std::pair<std::string, std::string>> answered_;
    std::set<uint32_t> cancelled_;
    int wake_[2] = {-1, -1};  // written by a cancel to end the terminal read
};

}  // namespace lark
