#include "core/CommandTable.h"

#include <initializer_list>

#include "base/EngineException.h"
#include "core/CallFrame.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "store/Maintenance.h"

namespace eng {

namespace {

using Entry = CommandEntry;

// Commands whose subsystem this build does not have yet fail cleanly: the
// caller gets 0 and an empty answer, the user the engine's message.
intptr_t notAvailable(DispatchContext &) { throw CEngineException("not available yet"); }

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

void setExports(CommandTable &table, std::initializer_list<uint32_t> numbers, Entry::Frame frame) {
    for (uint32_t n : numbers) table.set(n, Entry{notAvailable, Entry::Caller::Export, frame});
}

void setInternal(CommandTable &table, uint32_t number, intptr_t (*handler)(DispatchContext &)) {
    table.set(number, Entry{handler, Entry::Caller::Internal, Entry::Frame::None});
}

}  // namespace

CommandTable defaultCommandTable() {
    using namespace msg;
    CommandTable table;
    setExports(table, {kCreateTask,    kGetProjectProp,  kSetProjectProp, kCreateFolder,  kDeleteFolder,
                       kRenameFolder,  kGetSubFolders,   kGetFolderTasks, kGetBody,       kSearchItems,
                       kGetRelItems,   kRefreshUrlRes,   kExportDatabase, kIndexDatabase, kExportTask,
                       kDeleteTask,    kMoveFolder,      kGetTaskFromId,  kGetFolder,     kPingHosts,
                       kUpdateTask,    kGetTaskItems,    kExportRes,      kDeleteUrlRes,  kGetStatistics,
                       kFindTaskItem,  kCreateUrlRes,    kFindTasks,      kRefreshTask,   kCountNotIndexedResources,
                       kSerializeTask, kSerializeUrlres, kValidateQuery,  kTestFilter,    kCountNotAcceptedResources},
               Entry::Frame::InLParam);
    setExports(table, {kStopTask, kRunTask}, Entry::Frame::None);
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
