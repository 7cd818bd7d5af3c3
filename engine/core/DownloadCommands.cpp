#include "core/CommandTable.h"
#include "core/CrawlScheduler.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "net/DownloadJob.h"
#include "net/DownloadPool.h"

namespace eng {

namespace {

using Entry = CommandEntry;

const DownloadJob *jobOf(const Message &message) { return reinterpret_cast<const DownloadJob *>(message.lParam); }

// wParam 0: the job's record holds a result, which the engine processes
// before the slot is released; wParam 1: the worker thread of an aborted job
// has ended.
intptr_t downloadDone(DispatchContext &c) {
    DownloadPool &pool = c.engine.downloads();
    const DownloadJob *job = jobOf(c.message);
    if (c.message.wParam == 1) {
        pool.threadEnded(job);
        return 0;
    }
    if (const auto held = pool.find(job)) c.engine.crawl().processFinished(*held);
    pool.finished(job);
    return 0;
}

intptr_t abortConnection(DispatchContext &c) {
    c.engine.downloads().abortResource(static_cast<uint32_t>(c.message.lParam));
    return 0;
}

}  // namespace

void addDownloadCommands(CommandTable &table) {
    table.set(msg::kDownloadDone, Entry{downloadDone, Entry::Caller::Internal, Entry::Frame::None});
    table.set(msg::kAbortConnection, Entry{abortConnection, Entry::Caller::Export, Entry::Frame::None});
}

}  // namespace eng
