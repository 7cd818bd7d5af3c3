#pragma once

#include <string>

#include "engine.h"

namespace lark {

// A project opened through the engine for the life of the object. Opening
// refuses exactly what the program refuses, with the engine's own words (as
// a Failure).
class OpenedProject {
public:
    // Notifications go to the window when one is given.
    explicit OpenedProject(const std::string &path, EngWnd *notify = nullptr);
    OpenedProject(const OpenedProject &) = delete;
    OpenedProject &operator=(const OpenedProject &) = delete;
    ~OpenedProject();

    // Opens and closes again: throws a Failure when the project cannot be opened.
    static void check(const std::string &path);
};

}  // namespace lark
