#include "core/Engine.h"

#include "base/CanonicalUrl.h"
#include "base/HtmlScanner.h"
#include "base/StyleSheetScanner.h"
#include "core/CAdvTasksTable.h"
#include "core/CrawlScheduler.h"
#include "core/DownloadProgressReporter.h"
#include "core/JobEnds.h"
#include "core/Messages.h"
#include "core/OnlineWatch.h"
#include "core/Records.h"
#include "engine.h"
#include "net/AuthCache.h"
#include "net/DownloadJob.h"
#include "net/DownloadPool.h"
#include "net/NetworkSettings.h"
#include "plugins/ParserPlugins.h"
#include "plugins/PluginAnswer.h"
#include "search/TitleIndex.h"
#include "search/WordIndexer.h"
#include "store/Database.h"
#include "store/ProjectProperties.h"
#include "store/ProjectTables.h"
#include "store/ProjectVersion.h"
#include "sys/Event.h"
#include "sys/MessageQueue.h"
#include "sys/UiHost.h"

namespace eng {

Engine::Engine(const OpenRequest &request, std::shared_ptr<Event> completion, std::shared_ptr<MessageQueue> queue,
               CommandTable commands)
    : progress_(notifier_, *queue),
      notifier_(request.notify),
      ownerWindow_(request.owner),
      queue_(std::move(queue)),
      completion_(std::move(completion)),
      projectPath_(request.path),
      dispatcher_(*this, std::move(commands)) {}

Engine::~Engine() = default;

void Engine::open() {
    database_ = std::make_unique<Database>(projectPath_);
    checkProjectVersion(*database_);
    database_->takeExclusiveLock();
    addWordLookupIndexes(*database_);
    tables_ = std::make_unique<ProjectTables>(
        *database_, [this](CAdvUrlResTable::Event event, const UrlResRow *now, const UrlResRow *before) {
            titleIndex_->update(now, before);
            sendUrlResEvent(event, now, before);
        });
    words_ = std::make_unique<WordSplitter>(noiseWordsOf(tables_->noiseWords));
    titleIndex_ = std::make_unique<TitleIndex>(tables_->titleIndex, *words_);
    database_->dropRuntimeTables();
    parsers_ = ParserPlugins::besideEngine();
    tables_->res.setLinkExtractor(
        [this](const ByteSource &body, const std::string &url, const std::string &contentType,
               const std::vector<PageLink> *scanned) { return findLinks(body, url, contentType, scanned); });
    properties_ = std::make_unique<ProjectProperties>(tables_->project, tables_->strings);
    properties_->load();
    CAdvTasksTable::Hooks hooks;
    hooks.announce = [this](const TaskRow &task, bool added) {
        send(added ? msg::kTaskAdded : msg::kTaskChanged, 0, reinterpret_cast<intptr_t>(&task));
    };
    hooks.itemGotResource = [this](const ItemRow &item, const UrlResRow &resource) {
        notifyItemResource(item, resource);
    };
    hooks.projectFilter = [this] { return properties_->filter.text(); };
    hooks.followLinks = [this](TaskRow &task, const ItemRow &item) { crawl_->followLinks(task, item); };
    tasks_ = std::make_unique<CAdvTasksTable>(*tables_, std::move(hooks));
    downloadProgress_ = std::make_shared<DownloadProgressReporter>(progress_, notifier_);
    auth_ = std::make_shared<AuthCache>(&promptCredentials);
    auth_->load(tables_->auth);
    downloads_ = std::make_unique<DownloadPool>(*queue_);
    applyPoolLimits();
    crawl_ = std::make_unique<CrawlScheduler>(*this);
    online_ = std::make_unique<OnlineWatch>(*this);
    // Downloads that the end of an earlier session cut off are queued again.
    tables_->urlRes.setAllStates(ENG_STATE_DOWNLOADING, ENG_STATE_QUEUED);
    progress_.setCounts(tables_->urlRes.countQueued(), 0, tables_->urlRes.countErrors(ErrorKind::AllErrors, false));
    progress_.postStatistics();
}

std::vector<Link> Engine::findLinks(const ByteSource &body, const std::string &url, const std::string &contentType,
                                    const std::vector<PageLink> *scanned) {
    const bool askPlugins = !isStyleSheetType(contentType) && parsers_->available();
    // The body is read back only when no scan came with it or a plug-in needs it.
    const std::string page = scanned && !askPlugins ? std::string() : body.text(kPageScanLimit);
    std::vector<Link> links;
    for (const PageLink &found : scanned ? *scanned : extractBodyLinks(url, page, contentType).links)
        links.push_back(Link{static_cast<uint8_t>(found.kind), found.url, ""});
    if (askPlugins)
        if (auto answer = parsers_->ask(linkBase(url, page), page)) addAnswerLinks(*answer, links);
    return links;
}

void Engine::applyPoolLimits() {
    downloads_->setMaxPerServer(properties_->maxPerServer);
    downloads_->setPause(properties_->pause);
}

void Engine::applyConnectionSettings() {
    applyPoolLimits();
    NetworkSettings::setProjectTimeout(properties_->timeout);
}

JobContext Engine::jobContext() const {
    // A job may outlive the engine on its worker thread: it keeps the cache.
    CredentialsPrompt prompt = [auth = auth_](DownloadRecord &record, uint32_t retry, const std::string &,
                                              PromptCancel &cancel) { return auth->ask(record, retry, cancel); };
    return JobContext{postedTo(queue_), downloadProgress_, std::move(prompt)};
}

void Engine::goOnline() {
    if (running_) return;
    running_ = true;
    runStartTime_ = now();
}

Date Engine::onlineTime() const { return properties_->onlineTime + (running_ ? now() - runStartTime_ : 0); }

void Engine::goOffline() {
    if (!running_) return;
    running_ = false;
    downloads_->abortAll();
    properties_->onlineTime += now() - runStartTime_;
    runStartTime_ = 0;
    progress_.stopTimer();
}

void Engine::shutdown() {
    if (online_) online_->stop();
    if (downloads_) {
        goOffline();
        downloads_->shutdown();
    }
    if (downloadProgress_) downloadProgress_->disconnect();
    waiters_.releaseAll();
    progress_.stopTimer();
    try {
        Transaction saving(*database_);
        properties_->save();
        saving.commit();
    } catch (...) {
        showEngineMessage(currentErrorText());
    }
    saveCredentials();
}

void Engine::saveCredentials() {
    if (!auth_) return;
    // Row by row: a failure keeps the rows written before it.
    try {
        auth_->save(tables_->auth);
    } catch (...) {
        showEngineMessage(currentErrorText());
    }
}

intptr_t Engine::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return dispatcher_.dispatch(Message{message, wParam, lParam});
}

void Engine::sendUrlResEvent(CAdvUrlResTable::Event event, const UrlResRow *now, const UrlResRow *before) {
    static constexpr uint32_t kMessages[] = {msg::kUrlResInserted, msg::kUrlResChanged, msg::kUrlResDeleting};
    send(kMessages[static_cast<int>(event)], reinterpret_cast<uintptr_t>(now), reinterpret_cast<intptr_t>(before));
}

void Engine::notifyItemResource(const ItemRow &item, const UrlResRow &resource) {
    notifier_.post(ENG_NOTIFY_URLRES, [&](MemoryStream &out) {
        out.writeByte(ENG_URLRES_ITEM_GOT_RESOURCE);
        writeItemRecord(out, item);
        writeUrlResRecord(out, resource, tables_->strings);
    });
}

bool Engine::downloadsAllowed() const {
    // Downloads are allowed while no ping host is configured; the online
    // detector's verdict takes over once hosts are pinged.
    return !online_ || online_->allowsDownloads();
}

std::string Engine::browserAddress() const {
    std::lock_guard lock(browserAddressLock_);
    return browserAddress_;
}

void Engine::setBrowserAddress(std::string_view address) {
    std::string canonical = canonicalUrl(address);
    std::lock_guard lock(browserAddressLock_);
    browserAddress_ = std::move(canonical);
}

}  // namespace eng
