#include "sys/SpawnedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "base/EngineException.h"

extern char **environ;

namespace eng {

namespace {

// The descriptor the program gets as 3, moved out of the low numbers so
// that the mapping never maps a descriptor onto itself (which would keep
// its close-on-exec).
constexpr int kPassedAs = 3;
constexpr int kAboveStandard = 10;

// posix_spawn's attributes and file actions, freed when they go.
struct SpawnSetup {
    SpawnSetup() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
};

}  // namespace

SpawnedProcess::SpawnedProcess(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                               int passed) {
    const FileDescriptor moved(fcntl(passed, F_DUPFD_CLOEXEC, kAboveStandard));
    if (!moved) throw CEngineException("Cannot start " + program.string() + ": " + std::strerror(errno));
    SpawnSetup setup;
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.attributes, &signals);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, STDERR_FILENO, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, moved.get(), kPassedAs);

    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments) argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    if (const int error = posix_spawn(&pid_, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ))
        throw CEngineException("Cannot start " + program.string() + ": " + std::strerror(error));
    ended_ = FileDescriptor(static_cast<int>(syscall(SYS_pidfd_open, pid_, 0)));
}

SpawnedProcess::~SpawnedProcess() {
    if (reaped_) return;
    ::kill(-pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

bool SpawnedProcess::waitForExit(std::chrono::milliseconds limit) {
    if (reaped_) return true;
    pollfd watch{ended_.get(), POLLIN, 0};
    if (!ended_ || poll(&watch, 1, static_cast<int>(limit.count())) != 1) return false;
    reaped_ = waitpid(pid_, nullptr, 0) == pid_;
    return reaped_;
}

}  // namespace eng
