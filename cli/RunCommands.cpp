#include "RunCommands.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include "Arguments.h"
#include "CrawlProgress.h"
#include "CredentialAnswers.h"
#include "Failure.h"
#include "IndexCommand.h"
#include "OpenedProject.h"
#include "ProjectSettings.h"
#include "ProjectTemplate.h"
#include "RecordRelease.h"
#include "SiteFilter.h"
#include "TaskCommands.h"
#include "WindowQueue.h"
#include "engine.h"

namespace lark {

namespace {

constexpr int kInterruptedStatus = 130;

const std::set<std::string> kRunOptions = {"connections",
                                           "per-server",
                                           "retries",
                                           "timeout",
                                           "pause",
                                           "for",
                                           CredentialAnswers::kUserOption,
                                           CredentialAnswers::kPasswordFileOption};

std::atomic<bool> interrupted{false};

void onInterrupt(int) { interrupted = true; }

// Ctrl-C and termination end the crawl cleanly while the object lives: the
// first one asks, a second one after the crawl has been told ends the
// program at once.
class InterruptHandling {
public:
    InterruptHandling() {
        interrupted = false;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        action.sa_flags = SA_RESETHAND;
        sigaction(SIGINT, &action, &savedInt_);
        sigaction(SIGTERM, &action, &savedTerm_);
    }
    ~InterruptHandling() {
        sigaction(SIGINT, &savedInt_, nullptr);
        sigaction(SIGTERM, &savedTerm_, nullptr);
    }
    InterruptHandling(const InterruptHandling &) = delete;
    InterruptHandling &operator=(const InterruptHandling &) = delete;

private:
    struct sigaction savedInt_ {};
    struct sigaction savedTerm_ {};
};

// The connection settings given on the command line, over the project's.
void applyRunOptions(const Arguments &args) {
    eng::client::ProjectProps p = readProperties();
    p.maxConnections = static_cast<uint16_t>(args.number("connections", p.maxConnections, 100));
    p.maxPerServer = static_cast<uint16_t>(args.number("per-server", p.maxPerServer, 10));
    p.retries = static_cast<uint16_t>(args.number("retries", p.retries, 100));
    p.timeout = static_cast<uint16_t>(args.number("timeout", p.timeout, 600));
    p.pause = static_cast<uint16_t>(args.number("pause", p.pause, 60));
    if (p.maxConnections == 0 || p.maxPerServer == 0 || p.timeout == 0)
        throw UsageError("--connections, --per-server and --timeout need a number from 1");
    writeProperties(p);
}

void take(CrawlProgress &progress, const Posted &posted) {
    const auto payload = eng::client::notificationPayload(posted.msg, posted.wParam, posted.lParam);
    if (posted.msg == ENG_NOTIFY_STATISTICS) {
        if (const auto record = eng::client::recordAt<EngStatisticsRecord>(payload, 0)) progress.statistics(*record);
    } else if (posted.msg == ENG_NOTIFY_PROGRESS) {
        if (const auto record = eng::client::recordAt<EngDownloadProgressRecord>(payload, 0))
            progress.download(*record);
    }
}

// Goes online and crawls until nothing waits, the time is over or the user
// interrupts; then goes offline (running downloads are stored as cut off, to
// be fetched again) and closes the project. The exit status.
int crawl(const std::string &path, const Arguments &args) {
    WindowQueue window;
    OpenedProject project(path, window.window());
    applyRunOptions(args);
    const CredentialAnswers credentials(args);
    const bool limited = args.has("for");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(args.number("for", 0));
    InterruptHandling interrupts;
    CrawlProgress progress(std::cout, isatty(STDOUT_FILENO) != 0);
    Eng_Run();
    bool finished = false;
    while (!interrupted && !(limited && std::chrono::steady_clock::now() >= deadline)) {
        // Notifications are taken in bursts, a few times a second: waking for
        // each of them would cost the crawl more than showing them is worth.
        while (auto posted = window.take()) take(progress, *posted);
        if (progress.countsKnown() && progress.queued() == 0) {
            finished = true;
            break;
        }
        progress.show();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Eng_Stop();
    while (auto posted = window.take()) take(progress, *posted);
    progress.finish(finished ? "finished" : interrupted ? "interrupted" : "stopped");
    return interrupted ? kInterruptedStatus : 0;
}

// "-o PROJECT" is "--output PROJECT".
std::vector<std::string> withLongOutput(std::vector<std::string> words) {
    std::replace(words.begin(), words.end(), std::string("-o"), std::string("--output"));
    return words;
}

// A project name for an address: its host, as a file in the current folder.
std::string projectNameFor(const std::string &url) {
    std::string host = url.substr(url.find("://") == std::string::npos ? 0 : url.find("://") + 3);
    host = host.substr(0, host.find_first_of("/:?#"));
    std::replace_if(
        host.begin(), host.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-'; }, '_');
    return (host.empty() ? std::string("site") : host) + ".slk";
}

}  // namespace

int runProject(const std::vector<std::string> &words) {
    Arguments args(words, kRunOptions, {});
    args.expectCount(1, 1);
    return reportingFailures("run", [&] { return crawl(args.at(0), args); });
}

int mirrorSite(const std::vector<std::string> &words) {
    std::set<std::string> options = kRunOptions;
    options.insert(kTaskOptions.begin(), kTaskOptions.end());
    options.insert("output");
    Arguments args(withLongOutput(words), options, {"force", "span-hosts", "index"});
    args.expectCount(1, 1);
    const std::string url = args.at(0);
    const std::string path = args.value("output").value_or(projectNameFor(url));
    return reportingFailures("mirror", [&] {
        std::error_code error;
        if (std::filesystem::exists(path, error) && !args.has("force"))
            throw Failure("\"" + path + "\" exists already (--force replaces it)");
        try {
            eng::writeNewProject(path);
        } catch (const std::runtime_error &e) {
            throw Failure(e.what());
        }
        try {
            OpenedProject project(path);
            // A mirror stays on its site unless asked to follow links elsewhere;
            // the task's own filter entries decide the kinds they cover.
            createTaskFrom(args, url, args.has("span-hosts") ? "" : siteFilterEntry(url));
        } catch (const Failure &) {
            std::filesystem::remove(path, error);  // no task: the new project goes again
            throw;
        }
        int status = crawl(path, args);
        if (status == 0 && args.has("index")) status = indexProject({path});
        std::cout << "project " << path << '\n';
        return status;
    });
}

}  // namespace lark
