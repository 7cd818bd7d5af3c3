// The hosts that the online detection pings.
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/OnlineWatch.h"

namespace eng {

namespace {

// A host that cannot get a socket ends the command without a message: the
// program sets its hosts whenever a project opens, and a system that grants
// no ICMP socket would otherwise complain every time. The result tells it.
intptr_t pingHosts(DispatchContext &c) {
    const std::string hosts = c.args().readCallerText();
    try {
        c.engine.online().setHosts(hosts);
        c.setResult(0);
    } catch (const std::exception &) {
        c.setResult(-1);
    }
    return 0;
}

}  // namespace

void addPingCommands(CommandTable &table) {
    table.set(msg::kPingHosts, CommandEntry{pingHosts, CommandEntry::Caller::Export, CommandEntry::Frame::InLParam});
}

}  // namespace eng
