// The engine library's exports: thin wrappers that carry each call's
// arguments to the engine thread as a command and read the answer back.
#include <cstdlib>

#include "api/CommandCall.h"
#include "api/EngineProcess.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/EngineRegistry.h"
#include "core/Messages.h"
#include "core/OnlineWatch.h"
#include "engine.h"
#include "store/Maintenance.h"
#include "sys/UiHost.h"

using namespace eng;

namespace {

template <class Write>
int32_t resultCall(uint32_t command, Wait wait, int32_t closed, Write write) {
    CommandCall call(command, wait);
    write(call.args());
    return call.run() ? call.result() : closed;
}

template <class Write>
void bufferCall(uint32_t command, Wait wait, void **addr, uint32_t *len, Write write) {
    CommandCall call(command, wait);
    write(call.args());
    if (call.run()) call.answer(addr, len);
}

template <class Write>
int32_t resultBufferCall(uint32_t command, int32_t closed, void **addr, uint32_t *len, Write write) {
    CommandCall call(command, Wait::Pump);
    write(call.args());
    if (!call.run()) return closed;
    call.answer(addr, len);
    return call.result();
}

// Commands that carry a single value (or nothing) in lParam and have no frame.
bool frameless(uint32_t command, intptr_t value = 0) {
    return EngineProcess::instance().call(command, value, Wait::Pump);
}

// Commands that carry their single argument in the frame's result.
int32_t resultSlotCall(uint32_t command, Wait wait, uint32_t value) {
    CommandCall call(command, wait);
    call.setResult(static_cast<int32_t>(value));
    return call.run() ? call.result() : 0;
}

auto noArgs = [](MemoryStream &) {};

// Compaction and repair run on the caller's thread when no project is open,
// and as commands of the engine thread when one is.
int32_t maintenance(uint32_t command, const char *path, bool (*operation)(const std::string &)) {
    const std::string file = path ? path : "";
    if (auto direct = EngineProcess::instance().runWithoutProject([&] { return operation(file) ? 1 : 0; }))
        return *direct;
    return resultCall(command, Wait::Pump, 0, [&](MemoryStream &s) { s.writeCallerAddr(path); });
}

}  // namespace

extern "C" {

int32_t Eng_OpenProject(const char *path, EngWnd *owner, EngWnd *notify, EngPump pump) {
    return EngineProcess::instance().open(path, owner, notify, pump, defaultCommandTable());
}

int32_t Eng_IsOpen(void) { return EngineProcess::instance().isOpen() ? 1 : 0; }

int32_t Eng_CloseProject(void) { return EngineProcess::instance().close(); }

int32_t Eng_IsOnline(void) {
    bool running = false;
    EngineRegistry::instance().withEngine([&](Engine &e) { running = e.running(); });
    return running ? 1 : 0;
}

void Eng_FreeMem(void *address) { freeBlock(address); }

char *Eng_GetVersion(char **cell) {
    char *version = allocateString(ENG_VERSION);
    if (cell) *cell = version;
    return version;
}

void Eng_SetUiHost(const EngUiHost *host) { setUiHost(host); }

int32_t Eng_CreateTask(const void *task) {
    return resultCall(msg::kCreateTask, Wait::Pump, ENG_NOT_OPEN, [&](MemoryStream &s) { s.writeCallerAddr(task); });
}

int32_t Eng_UpdateTask(const void *task) {
    return resultCall(msg::kUpdateTask, Wait::Pump, 0, [&](MemoryStream &s) { s.writeCallerAddr(task); });
}

int32_t Eng_DeleteTask(uint32_t task) {
    return resultCall(msg::kDeleteTask, Wait::Pump, 0, [&](MemoryStream &s) { s.writeUInt32(task); });
}

void Eng_StopTask(uint32_t task) { frameless(msg::kStopTask, task); }

void Eng_RunTask(uint32_t task) { frameless(msg::kRunTask, task); }

void Eng_GetTaskFromID(uint32_t task, void **addr, uint32_t *len) {
    bufferCall(msg::kGetTaskFromId, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(task); });
}

void Eng_GetFolderTasks(uint32_t folder, void **addr, uint32_t *len) {
    bufferCall(msg::kGetFolderTasks, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(folder); });
}

void Eng_FindTasks(const char *url, const char *form, void **addr, uint32_t *len) {
    bufferCall(msg::kFindTasks, Wait::Pump, addr, len, [&](MemoryStream &s) {
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
    });
}

int32_t Eng_RefreshTask(uint32_t task, int32_t mode) {
    return resultCall(msg::kRefreshTask, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeUInt32(task);
        s.writeInt32(mode);
    });
}

int32_t Eng_SerializeTask(const char *taskArchive, const char *urlResArchive, const char *bodyArchive, int32_t storing,
                          uint32_t folder, const uint32_t *tasks, uint32_t count) {
    return resultCall(msg::kSerializeTask, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCallerAddr(taskArchive);
        s.writeCallerAddr(urlResArchive);
        s.writeCallerAddr(bodyArchive);
        s.writeInt32(storing);
        s.writeUInt32(folder);
        s.writeCallerAddr(tasks);
        s.writeUInt32(count);
    });
}

int32_t Eng_Run(void) { return frameless(msg::kRun) ? 0 : ENG_NOT_OPEN; }

int32_t Eng_Stop(void) { return frameless(msg::kStop) ? 0 : ENG_NOT_OPEN; }

void Eng_AbortConnection(uint32_t urlRes) { frameless(msg::kAbortConnection, urlRes); }

void Eng_ResetProgress(void) { frameless(msg::kResetProgress); }

int32_t Eng_RefreshPrj(int32_t errorKind) {
    return resultCall(msg::kRefreshPrj, Wait::Pump, 0, [&](MemoryStream &s) { s.writeInt32(errorKind); });
}

int32_t Eng_CountRefreshable(int32_t errorKind) {
    return resultCall(msg::kCountRefreshable, Wait::Pump, 0, [&](MemoryStream &s) { s.writeInt32(errorKind); });
}

int32_t Eng_CountNotAcceptedResources(uint32_t task) {
    return resultCall(msg::kCountNotAcceptedResources, Wait::Pump, 0, [&](MemoryStream &s) { s.writeUInt32(task); });
}

int32_t Eng_GetProjectProp(void **addr, uint32_t *len) {
    return resultBufferCall(msg::kGetProjectProp, ENG_NOT_OPEN, addr, len, noArgs);
}

int32_t Eng_SetProjectProp(const void *buffer, uint32_t length) {
    CommandCall call(msg::kSetProjectProp, Wait::Pump);
    call.args() = MemoryStream::attach(buffer, buffer ? length : 0);
    return call.run() ? call.result() : 0;
}

void Eng_GetStatistics(void **addr, uint32_t *len) { bufferCall(msg::kGetStatistics, Wait::Pump, addr, len, noArgs); }

void Eng_GetProjectFigures(void **addr, uint32_t *len) {
    bufferCall(msg::kGetProjectFigures, Wait::Pump, addr, len, noArgs);
}

int32_t Eng_SetActiveFolder(uint32_t folder) {
    return EngineRegistry::instance().withEngine([&](Engine &e) { e.setActiveFolder(folder); }) ? 1 : 0;
}

int32_t Eng_CreateFolder(uint32_t parent, const char *name) {
    return resultCall(msg::kCreateFolder, Wait::Pump, ENG_NOT_OPEN, [&](MemoryStream &s) {
        s.writeUInt32(parent);
        s.writeCallerAddr(name);
    });
}

int32_t Eng_RenameFolder(uint32_t folder, const char *name) {
    return resultCall(msg::kRenameFolder, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeUInt32(folder);
        s.writeCallerAddr(name);
    });
}

int32_t Eng_DeleteFolder(uint32_t folder) {
    return resultCall(msg::kDeleteFolder, Wait::Pump, 0, [&](MemoryStream &s) { s.writeUInt32(folder); });
}

int32_t Eng_MoveFolder(uint32_t folder, uint32_t parent) {
    return resultCall(msg::kMoveFolder, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeUInt32(folder);
        s.writeUInt32(parent);
    });
}

void Eng_GetSubFolders(uint32_t folder, void **addr, uint32_t *len) {
    bufferCall(msg::kGetSubFolders, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(folder); });
}

void Eng_GetFolder(uint32_t folder, void **addr, uint32_t *len) {
    bufferCall(msg::kGetFolder, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(folder); });
}

int32_t Eng_RefreshUrlRes(uint32_t urlRes) {
    return resultCall(msg::kRefreshUrlRes, Wait::Pump, 0, [&](MemoryStream &s) { s.writeUInt32(urlRes); });
}

int32_t Eng_DeleteUrlRes(uint32_t urlRes) { return resultSlotCall(msg::kDeleteUrlRes, Wait::Pump, urlRes); }

int32_t Eng_CreateUrlRes(const char *url, const char *form, uint32_t task) {
    return resultCall(msg::kCreateUrlRes, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
        s.writeUInt32(task);
    });
}

int32_t Eng_SerializeUrlres(const char *urlResArchive, const char *bodyArchive, int32_t storing, const uint32_t *urlRes,
                            uint32_t count) {
    return resultCall(msg::kSerializeUrlres, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCallerAddr(urlResArchive);
        s.writeCallerAddr(bodyArchive);
        s.writeInt32(storing);
        s.writeCallerAddr(urlRes);
        s.writeUInt32(count);
    });
}

void Eng_GetTaskItems(uint32_t task, void **addr, uint32_t *len) {
    bufferCall(msg::kGetTaskItems, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(task); });
}

void Eng_FindTaskItem(uint32_t task, uint32_t item, void **addr, uint32_t *len) {
    bufferCall(msg::kFindTaskItem, Wait::Pump, addr, len, [&](MemoryStream &s) {
        s.writeUInt32(task);
        s.writeUInt32(item);
    });
}

void Eng_GetRelItems(uint32_t urlRes, int16_t group, void **addr, uint32_t *len) {
    bufferCall(msg::kGetRelItems, Wait::Pump, addr, len, [&](MemoryStream &s) {
        s.writeUInt32(urlRes);
        s.writeInt16(group);
    });
}

int32_t Eng_GetStoredLinks(const char *url, const char *form, void **addr, uint32_t *len) {
    return resultBufferCall(msg::kGetStoredLinks, ENG_NOT_OPEN, addr, len, [&](MemoryStream &s) {
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
    });
}

void Eng_GetBody(const char *url, const char *form, uint32_t referrerHash, uint32_t task, double date, void **addr,
                 uint32_t *len) {
    bufferCall(msg::kGetBody, Wait::Block, addr, len, [&](MemoryStream &s) {
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
        s.writeUInt32(referrerHash);
        s.writeUInt32(task);
        s.writeDate(date);
    });
}

void Eng_GetItemFromUrl(const char *url, const char *form, uint32_t task, double date, void **addr, uint32_t *len) {
    bufferCall(msg::kGetItemFromUrl, Wait::Pump, addr, len, [&](MemoryStream &s) {
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
        s.writeUInt32(task);
        s.writeDate(date);
    });
}

void Eng_GetItemFromUrlResID(uint32_t urlRes, void **addr, uint32_t *len) {
    bufferCall(msg::kGetItemFromUrlResId, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(urlRes); });
}

void Eng_GetSource(uint32_t urlRes, void **addr, uint32_t *len) {
    bufferCall(msg::kGetSource, Wait::Pump, addr, len, [&](MemoryStream &s) { s.writeUInt32(urlRes); });
}

int32_t Eng_KivAbortWaiting(uint32_t token) { return resultSlotCall(msg::kKivAbortWaiting, Wait::Block, token); }

int32_t Eng_RefreshUrlRes2(uint32_t task, const char *url, const char *form, double date) {
    return resultCall(msg::kRefreshUrlRes2, Wait::Block, 0, [&](MemoryStream &s) {
        s.writeUInt32(task);
        s.writeCallerAddr(url);
        s.writeCallerAddr(form);
        s.writeDate(date);
    });
}

void Eng_BeforeNavigate(const char *url, const char *) {
    EngineRegistry::instance().withEngine([&](Engine &e) { e.setBrowserAddress(url ? url : ""); });
}

int32_t Eng_IndexDatabase(void) { return resultCall(msg::kIndexDatabase, Wait::Pump, 0, noArgs); }

void Eng_CountNotIndexedResources(uint32_t *count, uint32_t *size) {
    bufferCall(msg::kCountNotIndexedResources, Wait::Pump, nullptr, nullptr, [&](MemoryStream &s) {
        s.writeCallerAddr(count);
        s.writeCallerAddr(size);
    });
}

int32_t Eng_SearchItems(int32_t maxResults, const char *bodyQuery, int16_t states, const char *urlPattern,
                        const char *titleQuery, int32_t minSize, int32_t maxSize, double doneFrom, double doneTo,
                        double modifiedFrom, double modifiedTo, int32_t type, void **addr, uint32_t *len) {
    return resultBufferCall(msg::kSearchItems, 0, addr, len, [&](MemoryStream &s) {
        s.writeInt32(maxResults);
        s.writeCountedText(bodyQuery ? bodyQuery : "");
        s.writeInt16(states);
        s.writeCountedText(urlPattern ? urlPattern : "");
        s.writeCountedText(titleQuery ? titleQuery : "");
        s.writeInt32(minSize);
        s.writeInt32(maxSize);
        s.writeDate(doneFrom);
        s.writeDate(doneTo);
        s.writeDate(modifiedFrom);
        s.writeDate(modifiedTo);
        s.writeInt32(type);
    });
}

int32_t Eng_ValidateQueryAt(const char *text, int32_t kind, int32_t *position) {
    if (position) *position = -1;
    CommandCall call(msg::kValidateQuery, Wait::Pump);
    call.args().writeCallerAddr(text);
    call.args().writeInt32(kind);
    if (!call.run()) return 0;
    // The position comes back in the answer stream.
    MemoryStream &answer = call.args();
    answer.seekToStart();
    if (position && answer.length() >= sizeof(int32_t)) *position = answer.readInt32();
    return call.result();
}

int32_t Eng_ValidateQuery(const char *text, int32_t kind) { return Eng_ValidateQueryAt(text, kind, nullptr); }

int32_t Eng_TestFilter(const char *filter, const char *url, int32_t linkKind, char **report) {
    CommandCall call(msg::kTestFilter, Wait::Pump);
    call.args().writeCallerAddr(filter);
    call.args().writeCallerAddr(url);
    call.args().writeInt32(linkKind);
    if (!call.run()) return 0;
    if (report) {
        // The report comes back as counted text in the answer stream.
        MemoryStream &answer = call.args();
        answer.seekToStart();
        *report = answer.length() ? allocateString(answer.readCountedText()) : nullptr;
    }
    return call.result();
}

int32_t Eng_ExportDatabase(const char *path, uint32_t flags, uint32_t nameLength) {
    return resultCall(msg::kExportDatabase, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCountedText(path ? path : "");
        s.writeUInt32(flags);
        s.writeUInt32(nameLength);
    });
}

int32_t Eng_ExportTask(const char *path, uint32_t task, uint32_t flags, uint32_t nameLength) {
    return resultCall(msg::kExportTask, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCountedText(path ? path : "");
        s.writeUInt32(task);
        s.writeUInt32(flags);
        s.writeUInt32(nameLength);
    });
}

int32_t Eng_ExportRes(const char *path, uint32_t urlRes, uint32_t flags, uint32_t nameLength) {
    return resultCall(msg::kExportRes, Wait::Pump, 0, [&](MemoryStream &s) {
        s.writeCallerAddr(path);
        s.writeUInt32(urlRes);
        s.writeUInt32(flags);
        s.writeUInt32(nameLength);
    });
}

int32_t Eng_PingHosts(const char *hosts) {
    // The command's own result (whether every host got a socket) stays
    // inside the engine: the caller always gets 0.
    resultCall(msg::kPingHosts, Wait::Pump, 0, [&](MemoryStream &s) { s.writeCallerAddr(hosts); });
    return 0;
}

void Eng_GetPingSocketsState(void **addr, uint32_t *len) {
    // Read on the caller's thread: an open project answers with one record
    // per host that has a result, a closed one leaves the cells untouched.
    EngineRegistry::instance().withEngine([&](Engine &e) {
        MemoryStream records;
        for (const auto &[host, state] : e.online().hostStates()) {
            records.writeStrRef(host);
            records.writeInt32(state.replied);
            records.writeUInt32(state.roundTrip);
        }
        DetachedBuffer buffer;
        if (addr) buffer = records.detach();
        if (addr) *addr = buffer.data;
        if (len) *len = buffer.length;
    });
}

int32_t Eng_CompactDatabase(const char *path) { return maintenance(msg::kCompactDatabase, path, compactDatabase); }

int32_t Eng_RepairDatabase(const char *path) { return maintenance(msg::kRepairDatabase, path, repairDatabase); }

int32_t Eng_RepairDatabaseReport(const char *path, char **report) {
    std::string text;
    const std::string file = path ? path : "";
    std::optional<int32_t> result =
        EngineProcess::instance().runWithoutProject([&] { return repairDatabase(file, text) ? 1 : 0; });
    if (!result) {
        // With a project open the engine thread repairs, and answers with the report.
        CommandCall call(msg::kRepairDatabase, Wait::Pump);
        call.args().writeCallerAddr(path);
        if (!call.run()) return 0;
        MemoryStream &answer = call.args();
        answer.seekToStart();
        if (answer.length()) text = answer.readCountedText();
        result = call.result();
    }
    if (report) *report = allocateString(text);
    return *result;
}

}  // extern "C"
