#pragma once

#include <string>
#include <vector>

#include "RecordBuffer.h"
#include "engine.h"

namespace test {

// A task as the tests read it back from the engine: the record's numbers in
// raw (its string fields are cleared) and its texts.
struct Task {
    EngTaskRecord raw{};
    std::string url, formData, userAgent, filter, note, name, referer, errorText, contentType;
};

// The tasks of a buffer of task records, copied out.
std::vector<Task> tasksIn(const eng::client::RecordBuffer<EngTaskRecord> &records);
// The tasks an export answers with (its last two parameters receive the
// buffer), given the arguments before them; the buffer is released.
template <class Export, class... Arguments>
std::vector<Task> tasksFrom(Export answering, Arguments... arguments) {
    return tasksIn(eng::client::receiveRecords<EngTaskRecord>(Eng_FreeMem, answering, arguments...));
}
// The task with that id as the engine answers it now (an empty one when none).
Task taskById(uint32_t id);
// The input record for creating a task at an address.
EngTaskRecord taskInput(const char *url, uint32_t depth = 1, const char *filter = "", const char *name = "");

}  // namespace test
