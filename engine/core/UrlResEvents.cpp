// What happens when a URL resource is inserted, changed or deleted: the
// progress counters follow its state, and the application hears of changes
// and deletions (notification with an empty item and the resource).
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/Records.h"
#include "net/DownloadPool.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

const UrlResRow *newRow(DispatchContext &c) { return reinterpret_cast<const UrlResRow *>(c.message.wParam); }
const UrlResRow *oldRow(DispatchContext &c) { return reinterpret_cast<const UrlResRow *>(c.message.lParam); }

CountedUrlRes counted(const UrlResRow &row) { return {static_cast<CrawlState>(row.state), row.error}; }

// While the project runs the statistics timer reports changes; while it is
// stopped they are reported at once. A resource that stopped downloading
// (its task was stopped, or it was deleted) loses its running download.
void counted(DispatchContext &c, CounterChange change, uint32_t urlResId) {
    if (change.changed && !c.engine.running()) c.engine.progress().postStatistics();
    if (change.abortDownload) c.engine.downloads().abortResource(urlResId);
}

void notify(DispatchContext &c, uint8_t action, const UrlResRow &row) {
    CStrTable &strings = c.engine.tables().strings;
    c.engine.notifier().post(ENG_NOTIFY_URLRES, [&](MemoryStream &out) {
        out.writeByte(action);
        writeItemRecord(out, ItemRow{});
        writeUrlResRecord(out, row, strings);
    });
}

intptr_t inserted(DispatchContext &c) {
    counted(c, c.engine.progress().inserted(counted(*newRow(c))), newRow(c)->urlResId);
    return 0;
}

intptr_t changed(DispatchContext &c) {
    counted(c, c.engine.progress().changed(counted(*newRow(c)), counted(*oldRow(c))), newRow(c)->urlResId);
    notify(c, ENG_URLRES_CHANGED, *newRow(c));
    return 0;
}

intptr_t deleting(DispatchContext &c) {
    counted(c, c.engine.progress().deleted(counted(*oldRow(c))), oldRow(c)->urlResId);
    notify(c, ENG_URLRES_DELETING, *oldRow(c));
    return 0;
}

CommandEntry internal(intptr_t (*handler)(DispatchContext &)) {
    return CommandEntry{handler, CommandEntry::Caller::Internal, CommandEntry::Frame::None};
}

}  // namespace

void addUrlResEvents(CommandTable &table) {
    table.set(msg::kUrlResInserted, internal(inserted));
    table.set(msg::kUrlResChanged, internal(changed));
    table.set(msg::kUrlResDeleting, internal(deleting));
}

}  // namespace eng
