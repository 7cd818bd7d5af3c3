#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "sys/FileDescriptor.h"

namespace eng {

// A helper program that the engine runs, killed with its process group
// (unless it has ended) and reaped when the object ends. The program leads a
// process group of its own (a terminal's Ctrl-C is not for it; what it
// starts goes with it), reads /dev/null as its input, writes its output to
// the engine's standard error, starts with every signal at its default and
// none blocked, and gets one descriptor of the engine as its descriptor 3.
// It inherits the engine's other descriptors that lack close-on-exec, which
// a helper should close first thing.
class SpawnedProcess {
public:
    // Throws CEngineException when the program cannot be started.
    SpawnedProcess(const std::filesystem::path &program, const std::vector<std::string> &arguments, int passed);
    SpawnedProcess(const SpawnedProcess &) = delete;
    SpawnedProcess &operator=(const SpawnedProcess &) = delete;
    ~SpawnedProcess();

    pid_t pid() const { return pid_; }
    // Waits up to the limit for the program to end and reaps it; false when
    // it still runs then.
    bool waitForExit(std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
    FileDescriptor ended_;  // readable once the process has ended
    bool reaped_ = false;
};

}  // namespace eng
