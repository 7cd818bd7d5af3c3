#include "ProjectProps.h"

#include "PackedRecords.h"
#include "RecordBuffer.h"

namespace eng::client {

std::optional<ProjectProps> readProjectProps(decltype(&Eng_GetProjectProp) get, FreeMem freeMem) {
    auto [result, buffer] = receiveWithResult(freeMem, get);
    const RecordBuffer<EngProjectProps> records(std::move(buffer));
    if (result != 0 || records.size() != 1 || !records.whole()) return std::nullopt;
    const EngProjectProps r = records.at(0);
    return ProjectProps{r.optionFlags,    r.timeout,     r.pause,           r.maxConnections,
                        r.maxPerServer,   r.retries,     text(r.note),      text(r.filter),
                        text(r.userText), r.proxyAccess, text(r.httpProxy), text(r.ftpProxy)};
}

bool writeProjectProps(decltype(&Eng_SetProjectProp) set, const ProjectProps &props) {
    // The record points at the value's own texts, which the engine only reads.
    EngProjectProps r{};
    r.optionFlags = props.optionFlags;
    r.timeout = props.timeout;
    r.pause = props.pause;
    r.maxConnections = props.maxConnections;
    r.maxPerServer = props.maxPerServer;
    r.retries = props.retries;
    r.note = const_cast<char *>(props.note.c_str());
    r.filter = const_cast<char *>(props.filter.c_str());
    r.userText = const_cast<char *>(props.userText.c_str());
    r.proxyAccess = props.proxyAccess;
    r.httpProxy = const_cast<char *>(props.httpProxy.c_str());
    r.ftpProxy = const_cast<char *>(props.ftpProxy.c_str());
    return set(&r, sizeof r) == 1;
}

}  // namespace eng::client
