#include "ProjectSettings.h"

#include "EngineMessages.h"
#include "Failure.h"

namespace lark {

Properties readProperties() {
    void *addr = nullptr;
    uint32_t len = 0;
    if (Eng_GetProjectProp(&addr, &len) != 0 || len != sizeof(EngProjectProps))
        throw Failure("the properties could not be read");
    Properties p;
    p.raw = *static_cast<EngProjectProps *>(addr);
    // Each string is copied out of the record by value, then released.
    auto take = [](char *text) {
        std::string copy = text ? text : "";
        Eng_FreeMem(text);
        return copy;
    };
    p.note = take(p.raw.note);
    p.filter = take(p.raw.filter);
    p.userText = take(p.raw.userText);
    p.httpProxy = take(p.raw.httpProxy);
    p.ftpProxy = take(p.raw.ftpProxy);
    Eng_FreeMem(addr);
    return p;
}

void writeProperties(Properties p) {
    p.raw.note = p.note.data();
    p.raw.filter = p.filter.data();
    p.raw.userText = p.userText.data();
    p.raw.httpProxy = p.httpProxy.data();
    p.raw.ftpProxy = p.ftpProxy.data();
    EngineMessages messages;
    if (Eng_SetProjectProp(&p.raw, sizeof p.raw) != 1)
        throw Failure(messages.summary("the properties could not be written"));
}

}  // namespace lark
