#include "support/TaskRecords.h"

namespace test {

Task taskById(uint32_t id) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetTaskFromID(id, &addr, &len);
    auto tasks = tasksIn(addr, len);
    return tasks.empty() ? Task{} : tasks[0];
}

std::vector<Task> tasksIn(void *addr, uint32_t len) {
    std::vector<Task> out;
    auto *records = static_cast<EngTaskRecord *>(addr);
    for (size_t i = 0; i < len / sizeof(EngTaskRecord); ++i) {
        Task t;
        t.raw = records[i];
        // Strings are copied out of the packed record by value, then released.
        auto take = [](char *text) {
            std::string copy = text;
            Eng_FreeMem(text);
            return copy;
        };
        t.url = take(t.raw.url);
        t.formData = take(t.raw.formData);
        take(t.raw.reserved1);
        take(t.raw.reserved2);
        t.userAgent = take(t.raw.userAgent);
        t.filter = take(t.raw.filter);
        t.note = take(t.raw.note);
        t.name = take(t.raw.name);
        t.referer = take(t.raw.referer);
        t.errorText = take(t.raw.errorText);
        t.contentType = take(t.raw.contentType);
        out.push_back(t);
    }
    Eng_FreeMem(addr);
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
