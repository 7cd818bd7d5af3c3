#pragma once

#include <string>

#include "WindowQueue.h"
#include "core/CommandTable.h"
#include "support/TempDir.h"

namespace test {

// A project file in a temporary folder, opened for the life of the object
// with the given command handlers and a notification window over a queue.
class OpenProject {
public:
    explicit OpenProject(eng::CommandTable commands = eng::defaultCommandTable(), bool withWindow = true);
    OpenProject(const OpenProject &) = delete;
    OpenProject &operator=(const OpenProject &) = delete;
    ~OpenProject();

    const std::string &path() const { return path_; }
    lark::WindowQueue &notifications() { return window_; }
    int32_t openResult() const { return openResult_; }

private:
    TempDir dir_;
    std::string path_;
    lark::WindowQueue window_;
    int32_t openResult_;
};

}  // namespace test
