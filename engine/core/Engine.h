#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"
#include "core/BrowserWaiters.h"
#include "core/CommandTable.h"
#include "core/Dispatcher.h"
#include "core/Notifier.h"
#include "core/ProgressCounters.h"
#include "engine.h"
#include "store/CAdvUrlResTable.h"

namespace eng {

class AuthCache;
class ByteSource;
class CAdvTasksTable;
class CrawlScheduler;
class DownloadJob;
class DownloadPool;
class DownloadProgressReporter;
struct JobContext;
struct ItemRow;
class Database;
class ProjectProperties;
struct ProjectTables;
class TitleIndex;
class WordSplitter;
class Event;
class MessageQueue;
class OnlineWatch;
class ParserPlugins;
struct Link;
struct PageLink;

// What Eng_OpenProject hands to the engine thread.
struct OpenRequest {
    std::string path;
    EngWnd *owner = nullptr;
    EngWnd *notify = nullptr;
};

// The engine thread's central object: it owns the project database and every
// engine object, and only the engine thread touches it, apart from the few
// values that exports read or set without a command (the running flag, the
// active folder, the browser address).
class Engine {
public:
    static constexpr uint32_t kRootFolder = 1;

    Engine(const OpenRequest &request, std::shared_ptr<Event> completion, std::shared_ptr<MessageQueue> queue,
           CommandTable commands);
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;
    ~Engine();

    // Opens the project file exclusively, checks its version and prepares
    // the engine's state. Throws on failure.
    void open();
    // Stops everything that runs and saves what lives in memory.
    void shutdown();

    // Dispatches a message on the engine thread at once (nested dispatch).
    intptr_t send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t dispatch(const Message &message) { return dispatcher_.dispatch(message); }

    ProgressCounters &progress() { return progress_; }
    const Notifier &notifier() const { return notifier_; }
    Database &database() { return *database_; }
    ProjectTables &tables() { return *tables_; }
    // The project's word splitter, with its noise words read at open.
    const WordSplitter &words() const { return *words_; }
    ProjectProperties &properties() { return *properties_; }
    CAdvTasksTable &tasks() { return *tasks_; }
    DownloadPool &downloads() { return *downloads_; }
    // Passes the project's connection properties to the download pool and
    // to the network settings of new sessions.
    void applyConnectionSettings();
    // What a new download job needs from this engine.
    JobContext jobContext() const;
    CrawlScheduler &crawl() { return *crawl_; }
    BrowserWaiters &waiters() { return waiters_; }
    // Goes online (true) or offline; offline aborts every running download
    // and adds the time online to the project's.
    void goOnline();
    void goOffline();
    MessageQueue &queue() { return *queue_; }
    Event &completion() { return *completion_; }
    const std::string &projectPath() const { return projectPath_; }
    EngWnd *ownerWindow() const { return ownerWindow_; }

    bool running() const { return running_; }
    // The time the project has been running, in days: the stored total, and
    // while it runs the time since it started, which is stored when it stops.
    Date onlineTime() const;
    OnlineWatch &online() { return *online_; }
    const OnlineWatch &online() const { return *online_; }
    // Whether downloads may start: the online detector's verdict, computed
    // whenever it is asked.
    bool downloadsAllowed() const;
    // Whether a queued resource would be downloaded now: the project runs and
    // downloads are allowed.
    bool canFetch() const { return downloadsAllowed() && running(); }
    // The priority of the next resource the browser asks for: each request
    // goes ahead of the ones before it.
    int32_t takeBrowserPriority() { return browserPriority_++; }

    uint32_t activeFolder() const { return activeFolder_; }
    void setActiveFolder(uint32_t folder) { activeFolder_ = folder; }
    // The canonical address of the page the browser navigates to.
    std::string browserAddress() const;
    void setBrowserAddress(std::string_view address);

    uint32_t currentMessage() const { return currentMessage_; }
    void setCurrentMessage(uint32_t message) { currentMessage_ = message; }

private:
    // Turns a URL resource table event into the engine message that keeps the
    // counters and tells the application.
    void sendUrlResEvent(CAdvUrlResTable::Event event, const UrlResRow *now, const UrlResRow *before);
    // Writes the typed credentials to the project.
    void saveCredentials();
    // The pool takes the project's connections per server and pause.
    void applyPoolLimits();
    // Tells the application that an item got a URL resource.
    void notifyItemResource(const ItemRow &item, const UrlResRow &resource);
    // The links of a stored page or style sheet: the scanner's (those of the
    // worker's scan when there was one), then for a page those of the first
    // parser plug-in that answers.
    std::vector<Link> findLinks(const ByteSource &body, const std::string &url, const std::string &contentType,
                                const std::vector<PageLink> *scanned);

    ProgressCounters progress_;
    std::unique_ptr<Database> database_;
    std::unique_ptr<ProjectTables> tables_;
    std::unique_ptr<WordSplitter> words_;
    std::unique_ptr<TitleIndex> titleIndex_;
    std::unique_ptr<ProjectProperties> properties_;
    std::unique_ptr<CAdvTasksTable> tasks_;
    std::shared_ptr<DownloadProgressReporter> downloadProgress_;
    std::shared_ptr<AuthCache> auth_;
    std::unique_ptr<DownloadPool> downloads_;
    std::unique_ptr<CrawlScheduler> crawl_;
    std::unique_ptr<OnlineWatch> online_;
    std::unique_ptr<ParserPlugins> parsers_;
    BrowserWaiters waiters_;
    mutable std::mutex browserAddressLock_;
    std::string browserAddress_;
    int32_t browserPriority_ = 0;
    Notifier notifier_;
    EngWnd *ownerWindow_;
    std::atomic<uint32_t> activeFolder_{kRootFolder};
    std::shared_ptr<MessageQueue> queue_;
    std::shared_ptr<Event> completion_;
    uint32_t currentMessage_ = 0;
    std::atomic<bool> running_{false};
    Date runStartTime_ = 0;
    std::string projectPath_;
    Dispatcher dispatcher_;
};

}  // namespace eng
