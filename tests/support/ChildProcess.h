#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/UniqueFd.h"

namespace test {

// A program started with fork and exec, stopped and reaped when the object
// ends. The child reads /dev/null as its input, gets no other descriptor of
// this process and leads its own process group (stop() signals the whole
// group). The kernel sends it SIGTERM when the thread that started it ends,
// so that a crashing test leaves no server behind (nginx's master then stops
// its workers too): start children from a thread that outlives them.
class ChildProcess {
public:
    struct Options {
        bool pipeStdout = false;           // the child's standard output is read with readLine()
        std::filesystem::path outputFile;  // receives stderr, and stdout unless piped; empty: inherited
    };

    // argv[0] is the program's full path. Throws std::runtime_error when it
    // cannot be started.
    explicit ChildProcess(const std::vector<std::string> &argv);
    ChildProcess(const std::vector<std::string> &argv, const Options &options);
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    bool running();

    // The next line of the child's standard output without its newline, or
    // nothing at the end of the output or when the timeout passes first.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    // The exit code (128 + the signal's number when a signal ended it), or
    // nothing when the child still runs after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    // The most memory the child held at once, in KiB, once it is reaped.
    std::optional<long> peakRssKb() const {
        return reaped_ && exitCode_ >= 0 ? std::optional(peakRssKb_) : std::nullopt;
    }

    // SIGTERM to the process group, SIGKILL when the child still runs after
    // the grace period, then reaps it. Does nothing once the child is reaped.
    void stop(std::chrono::milliseconds grace = std::chrono::seconds(2));

private:
    bool reapIfExited(int flags);
    void sendSignal(int number);  // to the group, or to the child alone when it leads none

    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitCode_ = -1;
    long peakRssKb_ = 0;
    UniqueFd stdout_;
    std::string pending_;
};

}  // namespace test
