#include "support/TaskRecords.h"

namespace test {

Task taskById(uint32_t id) {
    auto tasks = tasksFrom(Eng_GetTaskFromID, id);
    return tasks.empty() ? Task{} : tasks[0];
}

std::vector<Task> tasksIn(const eng::client::RecordBuffer<EngTaskRecord> &records) {
    using eng::client::text;
    std::vector<Task> out;
    for (const EngTaskRecord &r : records) {
        Task t{r,
               text(r.url),
               text(r.formData),
               text(r.userAgent),
               text(r.filter),
               text(r.note),
               text(r.name),
               text(r.referer),
               text(r.errorText),
               text(r.contentType)};
        // The strings go with the buffer.
        t.raw.url = t.raw.formData = t.raw.reserved1 = t.raw.reserved2 = t.raw.userAgent = t.raw.filter = t.raw.note =
            t.raw.name = t.raw.referer = t.raw.errorText = t.raw.contentType = nullptr;
        out.push_back(t);
    }
    return out;
}

EngTaskRecord taskInput(const char *url, uint32_t depth, const char *filter, const char *name) {
    EngTaskRecord in{};
    in.url = const_cast<char *>(url);
    in.formData = const_cast<char *>("");
    in.userAgent = const_cast<char *>("");
    in.filter = const_cast<char *>(filter);
    in.note = const_cast<char *>("");
    in.name = const_cast<char *>(name);
    in.referer = const_cast<char *>("");
    in.depth = depth;
    in.folder = 1;
    in.acceptableAge = 0;
    return in;
}

}  // namespace test
