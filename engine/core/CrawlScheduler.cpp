#include "core/CrawlScheduler.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <utility>

#include "base/HtmlEscape.h"
#include "base/HtmlScanner.h"
#include "core/CAdvTasksTable.h"
#include "core/DownloadResult.h"
#include "core/Engine.h"
#include "core/LocalFiles.h"
#include "engine.h"
#include "net/DownloadJobFactory.h"
#include "net/DownloadPool.h"
#include "net/HttpDate.h"
#include "store/ProjectProperties.h"
#include "sys/InternetErrors.h"

namespace eng {

namespace {

// Relations by which an item was found whose page's links are followed:
// plain links, frames, and the like that open a page of their own; and
// style sheets, whose own files count as their page's embedded files.
constexpr uint32_t kFollowedTags[] = {0, 4, 5, 12, 13, ENG_LINK_STYLESHEET};

}  // namespace

CrawlScheduler::CrawlScheduler(Engine &engine) : engine_(engine), tables_(engine.tables()) {}

bool CrawlScheduler::startNext() {
    DownloadPool &pool = engine_.downloads();
    const ProjectProperties &properties = engine_.properties();
    if (pool.activeCount() >= properties.maxConnections) return false;
    auto resource = tables_.urlRes.nextQueued([&pool](uint32_t domain) { return pool.serverFull(domain); });
    if (!resource) return false;

    const std::string url = tables_.strings.textOf(resource->urlId);
    const FtpProxySettings ftp{
        properties.proxyAccess, properties.ftpProxy.host, {properties.ftpProxy.userName, properties.ftpProxy.password}};
    // A local file that no task starting at a local file holds is refused.
    const bool allowed = mayFetch(tables_, *resource, url);
    auto job = allowed ? createDownloadJob(url, ftp, engine_.jobContext()) : nullptr;
    resource->state = ENG_STATE_DOWNLOADING;
    tables_.urlRes.update(*resource);
    if (!job) {
        // No download can (or may) fetch this address: it is settled as
        // failed, so that the queue does not offer it again.
        DownloadRecord unfetchable;
        unfetchable.url = url;
        unfetchable.urlResId = resource->urlResId;
        unfetchable.errorCode = allowed ? uint32_t{kErrUnrecognizedScheme} : uint32_t{EACCES};
        settle(*resource, unfetchable, false);
        reportIfDrained();
        return true;
    }
    fillRecord(job->record(), *resource, url);
    job->reportProgress();
    pool.launch(std::move(job));
    engine_.progress().downloadStarted();
    return true;
}

void CrawlScheduler::fillRecord(DownloadRecord &record, const UrlResRow &resource, const std::string &url) {
    const ProjectProperties &properties = engine_.properties();
    record.accessType = properties.proxyAccess;
    record.url = url;
    record.postData = tables_.strings.textOf(resource.postId);
    record.urlResId = resource.urlResId;
    record.domainKey = resource.domain;
    record.minSize = resource.minSize;
    record.maxSize = resource.maxSize;
    record.referer = tables_.strings.textOf(resource.referer);
    record.resumeOffset = resource.resId != 0 && holdsStoredCopy(resource.statusCode) ? resource.size : 0;
    record.bodyLimit = tables_.res.sizeLimit();
    if (resource.lastModified != 0) record.lastModified = formatHttpDate(resource.lastModified);
    record.userAgent = tables_.strings.textOf(resource.userAgentId);
    if (record.userAgent.empty()) record.userAgent = kDefaultUserAgent;
    record.useCache = (properties.optionFlags & ENG_OPTION_BROWSER_CACHE) != 0;
    if (properties.proxyAccess == ProjectProperties::kNamedProxies && record.proxy.empty()) {
        record.proxy = properties.httpProxy.host;
        record.userName = properties.httpProxy.userName;
        record.password = properties.httpProxy.password;
    }
}

void CrawlScheduler::processFinished(DownloadJob &job) {
    DownloadRecord &record = job.record();
    job.reportProgress();
    prepareRedirect(record);
    if (auto resource = tables_.urlRes.find(int64_t{record.urlResId})) settle(*resource, record, true);
    engine_.waiters().wake(record.urlResId);
    reportIfDrained();
}

void CrawlScheduler::reportIfDrained() {
    if (engine_.progress().queued() != 0) return;
    engine_.progress().postStatistics();
    engine_.progress().stopTimer();
}

void CrawlScheduler::prepareRedirect(DownloadRecord &record) {
    if (!record.location.empty()) {
        const std::string page =
            "<!-- This file is created by libengine -->\r\n"
            "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=" +
            escapeHtml(record.location) + "\"></head><body></body></html>";
        record.body.assign(page);
        // The page stands for the whole answer: its length is the length,
        // or the redirect would look like a cut transfer and be retried.
        record.contentLength = page.size();
        record.contentType = "text/html";
    } else if (record.scanned) {
        record.location = record.scanned->refresh;
    } else if (isHtmlType(record.contentType)) {
        const std::string page = record.body.text(kPageScanLimit);
        record.location = refreshTarget(linkBase(record.url, page), page);
    }
}

void CrawlScheduler::settle(UrlResRow &resource, DownloadRecord &record, bool mayRetry) {
    std::string title;
    if (record.scanned)
        title = record.scanned->title;
    else if (isHtmlType(record.contentType))
        title = pageTitle(record.body.text(kPageScanLimit), record.contentType);
    applyDownloadResult(tables_, resource, record, title);
    if (mayRetry && shouldRetry(resource, record)) {
        CAdvUrlResTable::reset(resource, false);
        tables_.urlRes.update(resource);
    } else if (resource.state == ENG_STATE_DONE) {
        expand(resource);
    }
}

bool CrawlScheduler::shouldRetry(const UrlResRow &resource, const DownloadRecord &record) const {
    if (!resource.tcpError && resource.statusCode < 500) return false;
    if (record.errorCode.load() == kErrOperationCancelled) return false;
    if (resource.statusCode == 401 || resource.statusCode == 407) return false;
    return resource.retries < engine_.properties().retries;
}

void CrawlScheduler::expand(const UrlResRow &resource) {
    CAdvTasksTable &tasks = engine_.tasks();
    for (const ItemRow &item : tables_.items.withUrlRes(resource.urlResId)) {
        auto task = tasks.load(item.taskId);
        if (!task) continue;
        {
            const CAdvTasksTable::HeldSaves held(tasks, task->taskId);
            tasks.resourceDone(*task, item, resource);
            followLinks(*task, item);
            tasks.resourceCounted(*task, resource);
        }
        tasks.save(*task);
    }
}

void CrawlScheduler::followLinks(TaskRow &task, const ItemRow &item) {
    if (followingTask_ && followingTask_->taskId == task.taskId) {
        toFollow_.push_back(item);  // a page found while following: after the current one
        return;
    }
    TaskRow *outer = followingTask_;
    std::deque<ItemRow> outerList;
    outerList.swap(toFollow_);
    followingTask_ = &task;
    toFollow_.push_back(item);
    while (!toFollow_.empty()) {
        const ItemRow next = toFollow_.front();
        toFollow_.pop_front();
        followLinksNow(task, next);
    }
    followingTask_ = outer;
    toFollow_.swap(outerList);
}

void CrawlScheduler::followLinksNow(TaskRow &task, const ItemRow &queued) {
    const auto item = tables_.items.find(int64_t{queued.itemId});  // its level may have been lowered since
    if (!item || std::find(std::begin(kFollowedTags), std::end(kFollowedTags), item->tag) == std::end(kFollowedTags))
        return;
    const auto resource = tables_.urlRes.find(int64_t{item->urlResId});
    if (!resource || resource->resId == 0) return;
    CAdvTasksTable &tasks = engine_.tasks();
    // The items read with the links, and those this loop adds or changes:
    // a page may link to one address more than once.
    std::map<std::pair<uint32_t, uint32_t>, ItemRow> changed;
    for (LinkWithItem &found : tables_.pageLinks.linksOf(resource->resId, task.taskId)) {
        const RelRow &link = found.link;
        if (item->tag == ENG_LINK_STYLESHEET && link.relation == ENG_LINK_HYPERLINK) continue;
        const int16_t level = static_cast<int16_t>(item->level + (link.relation == ENG_LINK_HYPERLINK ? 1 : 0));
        const auto target = std::make_pair(link.urlId, link.postId);
        if (auto seen = changed.find(target); seen != changed.end()) found.item = seen->second;
        if (auto &known = found.item) {
            if (level < known->level) {
                known->level = level;
                tables_.items.updateItem(*known);
                changed[target] = *known;
                if (known->urlResId) followLinks(task, *known);  // the lower level reaches further
            }
            continue;
        }
        const bool withinDepth = level <= static_cast<int32_t>(task.levels);
        const bool embeddedBeyondDepth =
            static_cast<int32_t>(task.levels) < item->level && link.relation != ENG_LINK_HYPERLINK;
        if (withinDepth || embeddedBeyondDepth)
            changed[target] = tasks.addItem(task, link.urlId, link.postId, level, link.relation, &*item, true);
    }
}

}  // namespace eng
