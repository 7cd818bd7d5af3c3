#include "core/CommandTable.h"

#include <initializer_list>

#include "core/Engine.h"
#include "core/Messages.h"
#include "sys/EngineException.h"

namespace eng {

namespace {

using Entry = CommandEntry;

// Commands whose subsystem this build does not have yet fail cleanly: the
// caller gets 0 and an empty answer, the user the engine's message.
intptr_t notAvailable(DispatchContext &) { throw CEngineException("not available yet"); }

intptr_t onlineChanged(DispatchContext &) { return 0; }

intptr_t queuedSuspended(DispatchContext &c) {
    c.engine.progress().suspended(static_cast<uint32_t>(c.message.lParam));
    c.engine.progress().postStatistics();
    return 0;
}

void setExports(CommandTable &table, std::initializer_list<uint32_t> numbers, Entry::Frame frame,
                Entry::Phase phase = Entry::Phase::InTransaction) {
    for (uint32_t n : numbers) table.set(n, Entry{notAvailable, Entry::Caller::Export, frame, phase});
}

void setInternal(CommandTable &table, uint32_t number, intptr_t (*handler)(DispatchContext &)) {
    table.set(number, Entry{handler, Entry::Caller::Internal, Entry::Frame::None});
}

}  // namespace

CommandTable defaultCommandTable() {
    using namespace msg;
    CommandTable table;
    setExports(table,
               {kCreateTask, kGetProjectProp, kSetProjectProp, kCreateFolder, kDeleteFolder, kRenameFolder,
                kGetSubFolders, kGetFolderTasks, kGetBody, kGetItemFromUrl, kSearchItems, kGetRelItems,
                kRefreshUrlRes, kExportDatabase, kKivAbortWaiting, kIndexDatabase, kExportTask, kDeleteTask,
                kMoveFolder, kGetTaskFromId, kGetFolder, kPingHosts, kUpdateTask, kGetTaskItems, kExportRes,
                kDeleteUrlRes, kGetStatistics, kFindTaskItem, kGetSource, kCreateUrlRes, kFindTasks,
                kRefreshTask, kGetItemFromUrlResId, kCountNotIndexedResources, kSerializeTask,
                kSerializeUrlres, kRefreshUrlRes2, kRefreshPrj, kCountRefreshable, kValidateQuery,
                kTestFilter, kCountNotAcceptedResources},
               Entry::Frame::InLParam);
    setExports(table, {kRun, kStop, kResetProgress, kAbortConnection, kStopTask, kRunTask}, Entry::Frame::None);
    setExports(table, {kCompactDatabase, kRepairDatabase}, Entry::Frame::InLParam, Entry::Phase::AfterCommit);

    setInternal(table, kOnlineChanged, onlineChanged);
    setInternal(table, kQueuedSuspended, queuedSuspended);
    return table;
}

}  // namespace eng
