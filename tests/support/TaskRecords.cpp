#include "support/TaskRecords.h"

namespace test {

std::vector<Task> tasksIn(void *addr, uint32_t len) {
    std::vector<Task> out;
    auto *records = static_cast<EngTaskRecord *>(addr);
    for (size_t i = 0; i < len / sizeof(EngTaskRecord); ++i) {
        Task t;
        t.raw = records[i];
        const std::pair<char *, std::string *> strings[] = {
            {t.raw.url, &t.url},         {t.raw.formData, &t.formData},   {t.raw.userAgent, &t.userAgent},
            {t.raw.filter, &t.filter},   {t.raw.note, &t.note},           {t.raw.name, &t.name},
            {t.raw.referer, &t.referer}, {t.raw.errorText, &t.errorText}, {t.raw.contentType, &t.contentType}};
        for (auto [field, text] : strings) *text = field;
        for (char *s : {t.raw.url, t.raw.formData, t.raw.reserved1, t.raw.reserved2, t.raw.userAgent, t.raw.filter,
                        t.raw.note, t.raw.name, t.raw.referer, t.raw.errorText, t.raw.contentType})
            Eng_FreeMem(s);
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
