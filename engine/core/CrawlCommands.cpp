// Going online and offline, the scheduling step and the processing of
// finished downloads, the progress reset.
#include "core/CommandTable.h"
#include "core/CrawlScheduler.h"
#include "core/Engine.h"
#include "core/Messages.h"

namespace eng {

namespace {

using Entry = CommandEntry;

intptr_t run(DispatchContext &c) {
    c.engine.goOnline();
    return 0;
}

intptr_t stop(DispatchContext &c) {
    c.engine.goOffline();
    return 0;
}

intptr_t resetProgress(DispatchContext &c) {
    c.engine.progress().resetProgress();
    return 0;
}

intptr_t startNext(DispatchContext &c) { return c.engine.crawl().startNext() ? 1 : 0; }

}  // namespace

void addCrawlCommands(CommandTable &table) {
    table.set(msg::kRun, Entry{run, Entry::Caller::Export, Entry::Frame::None});
    table.set(msg::kStop, Entry{stop, Entry::Caller::Export, Entry::Frame::None});
    table.set(msg::kResetProgress, Entry{resetProgress, Entry::Caller::Export, Entry::Frame::None});
    table.set(msg::kStartNext, Entry{startNext, Entry::Caller::Internal, Entry::Frame::None});
}

}  // namespace eng
