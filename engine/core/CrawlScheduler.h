#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "store/ProjectTables.h"

namespace eng {

class DownloadJob;
struct DownloadRecord;
class Engine;

// What makes a project crawl: each scheduling step starts a download for the
// best queued URL resource whose host has a free slot; each finished download
// is stored, retried when it failed for a reason that may pass, and its
// page's links are followed into the tasks that hold it.
class CrawlScheduler {
public:
    // The agent of a resource that names none.
    static constexpr const char *kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)";

    explicit CrawlScheduler(Engine &engine);

    // One scheduling step; true when it started a download (or settled a
    // resource that no download can fetch), so that the loop tries again.
    bool startNext();
    // Processes the result of a finished (or cancelled) download.
    void processFinished(DownloadJob &job);
    // Follows the links of an item's stored page into its task, one level
    // deeper for plain links; embedded resources stay on their page's level.
    void followLinks(TaskRow &task, const ItemRow &item);

private:
    void fillRecord(DownloadRecord &record, const UrlResRow &resource, const std::string &url);
    // Turns a redirect into the small redirect page, or finds a meta refresh.
    void prepareRedirect(DownloadRecord &record);
    // Stores the result; queues the resource again or expands the crawl.
    void settle(UrlResRow &resource, DownloadRecord &record, bool mayRetry);
    bool shouldRetry(const UrlResRow &resource, const DownloadRecord &record) const;
    // A resource became done: every task holding it counts it and follows its links.
    void expand(const UrlResRow &resource);
    void followLinksNow(TaskRow &task, const ItemRow &item);
    // Nothing waits any more: final statistics, and the timer stops.
    void reportIfDrained();

    Engine &engine_;
    ProjectTables &tables_;
    // Items whose links wait to be followed. Following links adds items whose
    // resources may already be done, whose links are followed in turn: a work
    // list instead of recursion keeps long chains of stored pages from
    // exhausting the stack.
    std::deque<ItemRow> toFollow_;
    TaskRow *followingTask_ = nullptr;
};

}  // namespace eng
