#include "core/CommandTable.h"

#include "core/CallFrame.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "store/Maintenance.h"

namespace eng {

namespace {

using Entry = CommandEntry;

intptr_t onlineChanged(DispatchContext &) { return 0; }

// Compaction and repair of another project file, run after the command's
// transaction: the path comes in the frame, 1 or 0 goes back.
template <bool (*operation)(const std::string &)>
intptr_t maintain(DispatchContext &c) {
    c.frame->result = operation(c.frame->stream.readCallerText()) ? 1 : 0;
    return 0;
}

// Repair answers with its report as well (Eng_RepairDatabaseReport reads it).
intptr_t repair(DispatchContext &c) {
    std::string report;
    c.setResult(repairDatabase(c.args().readCallerText(), report) ? 1 : 0);
    c.answer().writeCountedText(report);
    return 0;
}

intptr_t queuedSuspended(DispatchContext &c) {
    c.engine.progress().suspended(static_cast<uint32_t>(c.message.lParam));
    c.engine.progress().postStatistics();
    return 0;
}

void setInternal(CommandTable &table, uint32_t number, intptr_t (*handler)(DispatchContext &)) {
    table.set(number, Entry{handler, Entry::Caller::Internal, Entry::Frame::None});
}

}  // namespace

CommandTable defaultCommandTable() {
    using namespace msg;
    CommandTable table;
    table.set(kCompactDatabase, Entry{maintain<compactDatabase>, Entry::Caller::Export, Entry::Frame::InLParam,
                                      Entry::Phase::AfterCommit});
    table.set(kRepairDatabase, Entry{repair, Entry::Caller::Export, Entry::Frame::InLParam, Entry::Phase::AfterCommit});

    setInternal(table, kOnlineChanged, onlineChanged);
    setInternal(table, kQueuedSuspended, queuedSuspended);
    addFolderCommands(table);
    addPropertyCommands(table);
    addProjectFigures(table);
    addUrlResEvents(table);
    addItemCommands(table);
    addUrlResCommands(table);
    addTaskCommands(table);
    addFilterCommands(table);
    addTaskTransfer(table);
    addDownloadCommands(table);
    addCrawlCommands(table);
    addPingCommands(table);
    addBrowserLookups(table);
    addBodyRequests(table);
    addIndexCommands(table);
    addSearchCommands(table);
    addExportCommands(table);
    return table;
}

}  // namespace eng
