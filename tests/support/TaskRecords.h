#pragma once

#include <string>
#include <vector>

#include "engine.h"

namespace test {

// A task as the tests read it back from the engine.
struct Task {
    EngTaskRecord raw{};
    std::string url, formData, userAgent, filter, note, name, referer, errorText, contentType;
};

// Takes a buffer of task records apart and releases it.
std::vector<Task> tasksIn(void *addr, uint32_t len);
// The task with that id as the engine answers it now (an empty one when none).
Task taskById(uint32_t id);
// The input record for creating a task at an address.
EngTaskRecord taskInput(const char *url, uint32_t depth = 1, const char *filter = "", const char *name = "");

}  // namespace test
