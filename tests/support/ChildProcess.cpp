#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace test {

namespace {

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

Pipe makePipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe2() failed");
    return {UniqueFd(ends[0]), UniqueFd(ends[1])};
}

void closeAllBut(int keep) {
    const bool below = keep == 3 || close_range(3, keep - 1, 0) == 0;
    if (below && close_range(keep + 1, UINT_MAX, 0) == 0) return;
    for (int fd = 3; fd < 4096; ++fd) {
        if (fd != keep) close(fd);
    }
}

// Runs in the child between fork and exec: async-signal-safe calls only.
[[noreturn]] void execChild(char *const *argv, pid_t parent, int input, int output, int errors, int failure) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    dup2(input, STDIN_FILENO);
    if (output >= 0) dup2(output, STDOUT_FILENO);
    if (errors >= 0) dup2(errors, STDERR_FILENO);
    closeAllBut(failure);
    execv(argv[0], argv);
    const int error = errno;
    [[maybe_unused]] ssize_t ignored = write(failure, &error, sizeof error);
    _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &argv) : ChildProcess(argv, Options{}) {}

ChildProcess::ChildProcess(const std::vector<std::string> &argv, const Options &options) {
    if (argv.empty()) throw std::invalid_argument("ChildProcess needs a program");
    std::vector<char *> arguments;
    for (const std::string &argument : argv) arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);

    UniqueFd input(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!input) throw std::runtime_error("cannot open /dev/null");
    UniqueFd outputFile;
    if (!options.outputFile.empty()) {
        outputFile.reset(open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
        if (!outputFile) throw std::runtime_error("cannot open " + options.outputFile.string());
    }
    Pipe output;
    if (options.pipeStdout) output = makePipe();
    Pipe failure = makePipe();

    const int childOutput = options.pipeStdout ? output.write.get() : outputFile.get();
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork() failed");
    if (pid_ == 0) {
        execChild(arguments.data(), parent, input.get(), childOutput, outputFile.get(), failure.write.get());
    }
    setpgid(pid_, pid_);  // also done by the child: whichever runs first wins the race against stop()

    output.write.reset();
    failure.write.reset();
    stdout_ = std::move(output.read);
    int error = 0;
    ssize_t n;
    do {
        n = read(failure.read.get(), &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof error)) {
        reapIfExited(0);
        throw std::runtime_error("cannot run " + argv[0] + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::reapIfExited(int flags) {
    if (reaped_) return true;
    int status = 0;
    pid_t result;
    rusage usage{};
    do {
        result = wait4(pid_, &status, flags, &usage);
    } while (result < 0 && errno == EINTR);
    if (result == 0) return false;
    reaped_ = true;
    if (result < 0) return true;  // not our child any more: nothing to wait for
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    peakRssKb_ = usage.ru_maxrss;
    return true;
}

void ChildProcess::sendSignal(int number) {
    if (kill(-pid_, number) != 0) kill(pid_, number);
}

bool ChildProcess::running() { return !reapIfExited(WNOHANG); }

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    if (!stdout_) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd ready{stdout_.get(), POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return std::nullopt;
        char buffer[4096];
        const ssize_t n = read(stdout_.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reapIfExited(WNOHANG)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return exitCode_;
}

void ChildProcess::stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0 || reaped_) return;
    sendSignal(SIGTERM);
    if (!waitForExit(grace)) {
        sendSignal(SIGKILL);
        reapIfExited(0);
    }
    kill(-pid_, SIGKILL);  // whatever the child left in its group
}

}  // namespace test
