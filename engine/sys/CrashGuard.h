#pragma once

#include <memory>
#include <string>

namespace eng {

// While it lives, a processor fault on the thread that made it (SIGSEGV,
// SIGBUS, SIGFPE or SIGILL) is reported before it takes its course: the
// handler runs on an alternate stack (a stack overflow still gets its
// report), writes the one-line description to standard error and appends
// the time and the report (see CrashReport.h) to crashLogPath(). Then the
// signal goes on to whatever handled it before, by default ending the
// process: the project file keeps every committed transaction and SQLite
// rolls the open one back at the next open. Faults on other threads go
// straight on. One guard at a time; on the thread that made it.
class CrashGuard {
public:
    CrashGuard();
    ~CrashGuard();
    CrashGuard(const CrashGuard &) = delete;
    CrashGuard &operator=(const CrashGuard &) = delete;

    // "engine_err.txt" in the folder of the engine's library, or, when that
    // folder is not writable, in the user's data folder
    // ($XDG_DATA_HOME or ~/.local/share, then "Quenmar").
    static std::string crashLogPath();

private:
    std::unique_ptr<char[]> alternateStack_;
};

}  // namespace eng
