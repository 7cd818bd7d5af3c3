// Reading and replacing the project properties as one record.
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "store/ProjectProperties.h"

namespace eng {

namespace {

static_assert(sizeof(EngProjectProps) == 4 + 5 * 2 + 4 + 5 * sizeof(char *));

std::string callerText(const char *text) { return text ? text : ""; }

intptr_t getProjectProp(DispatchContext &c) {
    ProjectProperties &p = c.engine.properties();
    MemoryStream &out = c.answer();
    EngProjectProps record{};
    record.optionFlags = p.optionFlags;
    record.timeout = p.timeout;
    record.pause = p.pause;
    record.maxConnections = p.maxConnections;
    record.maxPerServer = p.maxPerServer;
    record.retries = p.retries;
    record.note = out.newString(p.note.text());
    record.filter = out.newString(p.filter.text());
    record.userText = out.newString(p.userText.text());
    record.proxyAccess = p.proxyAccess;
    record.httpProxy = out.newString(p.httpProxy.host);
    record.ftpProxy = out.newString(p.ftpProxy.host);
    out.writeRecord(record);
    return 0;
}

intptr_t setProjectProp(DispatchContext &c) {
    EngProjectProps record{};
    c.args().read(&record, sizeof record);
    PropertiesInput input;
    input.optionFlags = record.optionFlags;
    input.timeout = record.timeout;
    input.pause = record.pause;
    input.maxConnections = record.maxConnections;
    input.maxPerServer = record.maxPerServer;
    input.retries = record.retries;
    input.note = callerText(record.note);
    input.filter = callerText(record.filter);
    input.userText = callerText(record.userText);
    input.proxyAccess = record.proxyAccess;
    if (input.proxyAccess == ProjectProperties::kNamedProxies) {
        input.httpProxy = callerText(record.httpProxy);
        input.ftpProxy = callerText(record.ftpProxy);
    }
    c.engine.properties().set(input);
    c.engine.applyConnectionSettings();
    c.setResult(1);
    return 0;
}

}  // namespace

void addPropertyCommands(CommandTable &table) {
    table.set(msg::kGetProjectProp, {getProjectProp});
    table.set(msg::kSetProjectProp, {setProjectProp});
}

}  // namespace eng
