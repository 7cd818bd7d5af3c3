#include "CredentialAnswers.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "Arguments.h"
#include "Failure.h"

namespace lark {

namespace {

// Turns the terminal's echo off for the life of the object.
class EchoOff {
public:
    EchoOff() : active_(tcgetattr(STDIN_FILENO, &saved_) == 0) {
        if (!active_) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    ~EchoOff() {
        if (active_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios saved_{};
    bool active_;
};

std::string passwordFromFile(const std::string &path) {
    std::ifstream file(path);
    if (!file) throw Failure("cannot read the password file \"" + path + "\"");
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void copyAnswer(const std::string &text, char *buffer) {
    const size_t length = std::min(text.size(), size_t{ENG_CREDENTIAL_SIZE - 1});
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

CredentialAnswers::CredentialAnswers(const Arguments &args) : user_(args.value(kUserOption)) {
    const auto passwordFile = args.value(kPasswordFileOption);
    if (passwordFile && !user_) throw UsageError("--password-file needs --user");
    if (passwordFile) password_ = passwordFromFile(*passwordFile);
    if (pipe(wake_) != 0) throw Failure(std::string("cannot make a pipe: ") + std::strerror(errno));
    EngUiHost host{};
    host.context = this;
    host.promptCredentials = &CredentialAnswers::prompt;
    host.cancelPrompt = &CredentialAnswers::cancel;
    Eng_SetUiHost(&host);
}

CredentialAnswers::~CredentialAnswers() {
    Eng_SetUiHost(nullptr);
    close(wake_[0]);
    close(wake_[1]);
}

int32_t CredentialAnswers::prompt(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password) {
    const auto typed = static_cast<CredentialAnswers *>(context)->answer(*prompt);
    if (!typed) return 0;
    copyAnswer(typed->first, userName);
    copyAnswer(typed->second, password);
    return 1;
}

void CredentialAnswers::cancel(void *context, uint32_t id) {
    auto *self = static_cast<CredentialAnswers *>(context);
    std::lock_guard lock(self->mutex_);
    self->cancelled_.insert(id);
    const char byte = 0;
    [[maybe_unused]] const auto written = write(self->wake_[1], &byte, 1);
}

std::optional<std::pair<std::string, std::string>> CredentialAnswers::answer(const EngCredentialsPrompt &prompt) {
    if (user_) {
        std::lock_guard lock(mutex_);
        if (!answered_.emplace(prompt.site, prompt.realm).second) return std::nullopt;  // rejected before
        return std::make_pair(*user_, password_);
    }
    if (isatty(STDIN_FILENO)) return askTerminal(prompt);
    std::cerr << "lark: " << prompt.site << " asks for a user name and password (realm \"" << prompt.realm
              << "\"): give --user and --password-file\n";
    return std::nullopt;
}

std::optional<std::pair<std::string, std::string>> CredentialAnswers::askTerminal(const EngCredentialsPrompt &prompt) {
    const std::string kept = prompt.userName ? prompt.userName : "";
    std::cerr << "\nSite: " << prompt.site << "\nRealm: " << prompt.realm << '\n'
              << "User name:" << (kept.empty() ? "" : " [" + kept + "]") << ' ' << std::flush;
    auto user = readLine(prompt.id);
    if (!user) return std::nullopt;
    const bool keep = user->empty() && !kept.empty();
    std::cerr << "Password:" << (keep && prompt.password ? " [kept]" : "") << ' ' << std::flush;
    std::optional<std::string> password;
    {
        EchoOff quiet;
        password = readLine(prompt.id);
    }
    std::cerr << '\n';
    if (!password) return std::nullopt;
    if (keep) {
        *user = kept;
        if (password->empty() && prompt.password) *password = prompt.password;
    }
    return std::make_pair(*user, *password);
}

std::optional<std::string> CredentialAnswers::readLine(uint32_t id) {
    std::string line;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (cancelled_.contains(id)) return std::nullopt;
        }
        pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) return std::nullopt;  // interrupted: Ctrl-C cancels
        if (watched[1].revents != 0) {
            char drained[64];
            [[maybe_unused]] const auto read = ::read(wake_[0], drained, sizeof drained);
            continue;
        }
        char c = 0;
        if (::read(STDIN_FILENO, &c, 1) != 1) return std::nullopt;
        if (c == '\n') return line;
        if (line.size() < ENG_CREDENTIAL_SIZE) line += c;
    }
}

}  // namespace lark
