// Download throughput and CPU cost of the engine's HTTP jobs against the curl
// command, both fetching the same files from a local nginx at the same
// concurrency: one large file many times, then many small files once each.
// Run by hand: download_bench [--connections N]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/JobEnds.h"
#include "core/Messages.h"
#include "net/DownloadPool.h"
#include "net/HttpJob.h"
#include "support/NginxServer.h"
#include "support/TempDir.h"
#include "sys/MessageQueue.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t kMegabyte = 1 << 20;
constexpr size_t kBigFileSize = kMegabyte;
constexpr size_t kBigFetches = 50;
constexpr size_t kSmallFileCount = 10000;
constexpr size_t kSmallFolderCount = 100;
constexpr size_t kSmallMinSize = 2 * 1024;
constexpr size_t kSmallMaxSize = 8 * 1024;
constexpr size_t kDefaultConnections = 8;
// nginx allows 256 connections per worker; curl allows at most 300 parallel transfers.
constexpr size_t kMostConnections = 200;
constexpr uint32_t kDomainKey = 1;  // every file comes from the one server
constexpr const char *kUserAgent = "LarkBench/1.0";
constexpr size_t kFailuresShown = 5;

// ---------------------------------------------------------------------------
// The served site

// A file of the served folder: its path below the root and its size.
struct SiteFile {
    std::string path;
    size_t size = 0;
};

struct Site {
    SiteFile big;
    std::vector<SiteFile> small;
};

void writeFile(const fs::path &path, const std::string &content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Bytes that do not compress, so that nothing along the way can shortcut them.
std::string randomBytes(size_t size, std::mt19937 &random) {
    std::string bytes(size, '\0');
    for (char &byte : bytes) byte = static_cast<char>(random() & 0xff);
    return bytes;
}

// An HTML page of exactly `size` bytes: a head, filler paragraphs and the closing tags.
std::string smallPage(size_t index, size_t size) {
    const std::string head =
        "<!DOCTYPE html>\n<html><head><title>Page " + std::to_string(index) + "</title></head>\n<body>\n";
    const std::string tail = "</body></html>\n";
    const std::string filler = "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod.</p>\n";
    std::string page = head;
    while (page.size() + tail.size() < size) page += filler;
    page.resize(size - tail.size());
    return page + tail;
}

// The path of small file `index`: s/NN/fileNNNN.html, a hundred files to a folder.
std::string smallPath(size_t index) {
    char path[64];
    std::snprintf(path, sizeof path, "s/%02zu/file%04zu.html", index / (kSmallFileCount / kSmallFolderCount), index);
    return path;
}

// Writes the big file and the small files below `root`, with sizes drawn from a fixed seed.
Site generateSite(const fs::path &root) {
    std::mt19937 random(20240601);
    Site site;
    site.big = {"big.bin", kBigFileSize};
    writeFile(root / site.big.path, randomBytes(kBigFileSize, random));
    std::uniform_int_distribution<size_t> sizes(kSmallMinSize, kSmallMaxSize);
    site.small.reserve(kSmallFileCount);
    for (size_t index = 0; index < kSmallFileCount; ++index) {
        SiteFile file{smallPath(index), sizes(random)};
        writeFile(root / file.path, smallPage(index, file.size));
        site.small.push_back(std::move(file));
    }
    return site;
}

// ---------------------------------------------------------------------------
// Fetch sets and measurements

// One fetch: the address and the size that its body must have.
struct Target {
    std::string url;
    size_t size = 0;
};

// A named list of fetches that both tools perform.
struct FetchSet {
    std::string name;
    std::vector<Target> targets;
};

FetchSet bigSet(const test::NginxServer &nginx, const Site &site) {
    FetchSet set{"1 MB x" + std::to_string(kBigFetches), {}};
    set.targets.assign(kBigFetches, Target{nginx.url("/" + site.big.path), site.big.size});
    return set;
}

FetchSet smallSet(const test::NginxServer &nginx, const Site &site) {
    FetchSet set{"small x" + std::to_string(site.small.size()), {}};
    for (const SiteFile &file : site.small) set.targets.push_back({nginx.url("/" + file.path), file.size});
    return set;
}

uint64_t totalBytes(const std::vector<Target> &targets) {
    uint64_t bytes = 0;
    for (const Target &target : targets) bytes += target.size;
    return bytes;
}

// What one tool did with one set.
struct Measurement {
    std::string set;
    std::string tool;
    size_t files = 0;
    uint64_t bytes = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    size_t failures = 0;
};

double seconds(const timeval &time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

double cpuSeconds(const rusage &usage) { return seconds(usage.ru_utime) + seconds(usage.ru_stime); }

// User and system time of this process, all its threads included (ended ones too).
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// ---------------------------------------------------------------------------
// The engine

// Fetches with the engine's HTTP jobs. This thread stands in for the engine
// thread: it keeps the pool's slots filled, and on each download-done message
// checks the record, hands the job back to the pool and launches the next.
class EngineFetcher {
public:
    explicit EngineFetcher(size_t connections) : connections_(connections) {}

    // Runs every fetch of the list; returns the number of failed ones.
    size_t fetch(const std::vector<Target> &targets);

private:
    void launch(const Target &target, size_t index);
    // The next download-done message; the queue's timers run meanwhile. Each
    // job ends within the network time-outs, so a message always comes.
    eng::Message nextDone();
    // Checks the result of the job that the message names and releases its slot; false when it failed.
    bool settle(const eng::Message &message, const std::vector<Target> &targets);
    void reportFailure(const Target &target, const eng::DownloadRecord &record, uintptr_t wParam);

    size_t connections_;
    std::shared_ptr<eng::MessageQueue> queue_ = std::make_shared<eng::MessageQueue>();
    eng::DownloadPool pool_{*queue_};  // declared after the queue: it is destroyed first
    size_t failuresShown_ = 0;
};

size_t EngineFetcher::fetch(const std::vector<Target> &targets) {
    size_t next = 0;
    size_t failures = 0;
    for (size_t done = 0; done < targets.size(); ++done) {
        while (next < targets.size() && pool_.activeCount() < connections_) {
            launch(targets[next], next);
            ++next;
        }
        if (!settle(nextDone(), targets)) ++failures;
    }
    if (pool_.activeCount() != 0) throw std::logic_error("the pool still holds slots after the last job");
    return failures;
}

void EngineFetcher::launch(const Target &target, size_t index) {
    auto job = std::make_shared<eng::HttpJob>(eng::JobContext{eng::postedTo(queue_), nullptr, {}});
    eng::DownloadRecord &record = job->record();
    record.url = target.url;
    record.userAgent = kUserAgent;
    record.urlResId = static_cast<uint32_t>(index + 1);  // non-zero: the retrieval belongs to a resource
    record.accessType = 1;                               // direct: no proxy of the environment
    record.domainKey = kDomainKey;
    pool_.launch(std::move(job));
}

eng::Message EngineFetcher::nextDone() {
    for (;;) {
        if (auto message = queue_->takeNext()) {
            if (message->msg == eng::msg::kDownloadDone) return *message;
            if (message->msg == eng::kTimerMessage) queue_->runTimer(static_cast<uint32_t>(message->wParam));
        } else {
            queue_->wait();
        }
    }
}

bool EngineFetcher::settle(const eng::Message &message, const std::vector<Target> &targets) {
    const auto *ended = reinterpret_cast<const eng::DownloadJob *>(message.lParam);
    const std::shared_ptr<eng::DownloadJob> job = pool_.find(ended);
    if (!job) throw std::logic_error("a download-done message names a job that the pool does not hold");
    const eng::DownloadRecord &record = job->record();
    const Target &target = targets.at(record.urlResId - 1);
    const bool complete = message.wParam == 0 && record.errorCode.load() == 0 && record.statusCode == 200 &&
                          record.body.size() == target.size;
    if (!complete) reportFailure(target, record, message.wParam);
    pool_.finished(ended);
    return complete;
}

void EngineFetcher::reportFailure(const Target &target, const eng::DownloadRecord &record, uintptr_t wParam) {
    if (failuresShown_++ >= kFailuresShown) return;
    std::fprintf(stderr, "engine failure: %s: wParam %zu, status %u, error %u, %zu of %zu bytes\n", target.url.c_str(),
                 static_cast<size_t>(wParam), record.statusCode, record.errorCode.load(), record.body.size(),
                 target.size);
}

Measurement measureEngine(EngineFetcher &fetcher, const FetchSet &set) {
    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    const size_t failures = fetcher.fetch(set.targets);
    const double wall = secondsSince(start);
    const double cpu = processCpuSeconds() - cpuBefore;
    return {.set = set.name,
            .tool = "engine",
            .files = set.targets.size(),
            .bytes = totalBytes(set.targets),
            .wallSeconds = wall,
            .cpuSeconds = cpu,
            .failures = failures};
}

// ---------------------------------------------------------------------------
// The curl command

// A finished child process: its exit status, wall time and CPU time.
struct ChildRun {
    int status = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

// curl's configuration: a URL with /dev/null as its output per fetch, and a
// report line per transfer ("status size url") to check the results by.
void writeCurlConfig(const fs::path &path, const std::vector<Target> &targets) {
    std::ofstream config(path);
    config << "write-out = \"%{http_code} %{size_download} %{url}\\n\"\n";
    for (const Target &target : targets) config << "url = \"" << target.url << "\"\noutput = \"/dev/null\"\n";
    if (!config) throw std::runtime_error("cannot write " + path.string());
}

// Runs a program found on the PATH with its standard output and error in
// files, and waits for it: wait4 gives the CPU time of that child alone.
ChildRun runChild(const std::vector<std::string> &argv, const fs::path &output, const fs::path &errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char *> arguments;
    for (const std::string &argument : argv) arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);

    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot run " + argv[0] + ": " + std::strerror(spawned));
    ChildRun run;
    rusage usage{};
    while (wait4(pid, &run.status, 0, &usage) < 0) {
        if (errno != EINTR) throw std::runtime_error("wait4 failed: " + std::string(std::strerror(errno)));
    }
    run.wallSeconds = secondsSince(start);
    run.cpuSeconds = cpuSeconds(usage);
    return run;
}

// Counts the fetches that curl's report does not show as complete (status
// 200 and the file's size), missing report lines included.
size_t curlFailures(const fs::path &report, const std::vector<Target> &targets) {
    std::map<std::string, size_t> sizes;
    for (const Target &target : targets) sizes[target.url] = target.size;
    std::ifstream in(report);
    size_t complete = 0;
    size_t shown = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        unsigned status = 0;
        size_t size = 0;
        std::string url;
        fields >> status >> size >> url;
        const auto expected = sizes.find(url);
        if (status == 200 && expected != sizes.end() && size == expected->second) {
            ++complete;
        } else if (shown++ < kFailuresShown) {
            std::fprintf(stderr, "curl failure: %s\n", line.c_str());
        }
    }
    return complete >= targets.size() ? 0 : targets.size() - complete;
}

Measurement measureCurl(const FetchSet &set, size_t connections, const fs::path &workFolder) {
    const fs::path config = workFolder / "curl.config";
    const fs::path report = workFolder / "curl.report";
    const fs::path errors = workFolder / "curl.errors";
    writeCurlConfig(config, set.targets);
    // -q first: no ~/.curlrc. HTTP/1.0, like the engine's requests: one connection per file.
    const ChildRun run = runChild({"curl", "-q", "--parallel", "--parallel-max", std::to_string(connections),
                                   "--http1.0", "-s", "-K", config.string()},
                                  report, errors);
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
        std::ifstream in(errors);
        std::fprintf(stderr, "curl ended with status %d:\n%s\n", run.status,
                     std::string(std::istreambuf_iterator<char>(in), {}).c_str());
    }
    return {.set = set.name,
            .tool = "curl",
            .files = set.targets.size(),
            .bytes = totalBytes(set.targets),
            .wallSeconds = run.wallSeconds,
            .cpuSeconds = run.cpuSeconds,
            .failures = curlFailures(report, set.targets)};
}

// ---------------------------------------------------------------------------
// The report

void printTable(const std::vector<Measurement> &rows) {
    std::printf("%-12s %-7s %7s %8s %8s %8s %9s %7s %15s %8s\n", "set", "tool", "files", "MB", "wall s", "MB/s",
                "files/s", "CPU s", "CPU s/1k files", "failures");
    for (const Measurement &row : rows) {
        const double megabytes = static_cast<double>(row.bytes) / kMegabyte;
        std::printf("%-12s %-7s %7zu %8.1f %8.3f %8.1f %9.1f %7.3f %15.3f %8zu\n", row.set.c_str(), row.tool.c_str(),
                    row.files, megabytes, row.wallSeconds, megabytes / row.wallSeconds, row.files / row.wallSeconds,
                    row.cpuSeconds, row.cpuSeconds * 1000 / row.files, row.failures);
    }
    std::printf("(MB = 1,048,576 bytes; engine CPU: this whole process; curl CPU: the curl process)\n");
}

// engine/curl for wall and CPU time, one line per set; rows come in engine, curl pairs.
void printRatios(const std::vector<Measurement> &rows) {
    std::printf("\nengine/curl   %8s %8s\n", "wall", "CPU");
    for (size_t i = 0; i + 1 < rows.size(); i += 2) {
        const Measurement &engine = rows[i];
        const Measurement &curl = rows[i + 1];
        std::printf("%-12s  %8.2f %8.2f\n", engine.set.c_str(), engine.wallSeconds / curl.wallSeconds,
                    engine.cpuSeconds / curl.cpuSeconds);
    }
}

// ---------------------------------------------------------------------------
// The command line

[[noreturn]] void usage(const char *program) {
    std::fprintf(stderr, "usage: %s [--connections N]   (N from 1 to %zu, default %zu)\n", program, kMostConnections,
                 kDefaultConnections);
    std::exit(2);
}

size_t parseConnections(int argc, char **argv) {
    size_t connections = kDefaultConnections;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument != "--connections" || i + 1 == argc) usage(argv[0]);
        char *end = nullptr;
        const unsigned long value = std::strtoul(argv[++i], &end, 10);
        if (*end != '\0' || value < 1 || value > kMostConnections) usage(argv[0]);
        connections = value;
    }
    return connections;
}

int run(size_t connections) {
    test::TempDir work;
    const fs::path siteRoot = work.path() / "site";
    std::printf("Writing the site to %s ...\n", siteRoot.c_str());
    const Site site = generateSite(siteRoot);

    test::NginxServer::Options options;
    options.workers = 2;                            // a master and two workers: nginx is not the bottleneck
    options.extraServerConfig = "access_log off;";  // no log line to write per request
    const test::NginxServer nginx(siteRoot, options);
    std::printf("nginx on %s, %zu connections, HTTP/1.0 with one connection per file\n\n", nginx.url("/").c_str(),
                connections);

    EngineFetcher engine(connections);
    const std::vector<Target> warmUp{{nginx.url("/" + site.small.front().path), site.small.front().size}};
    engine.fetch(warmUp);  // the curl library's one-time set-up stays out of the measurement

    std::vector<Measurement> rows;
    for (const FetchSet &set : {bigSet(nginx, site), smallSet(nginx, site)}) {
        rows.push_back(measureEngine(engine, set));
        rows.push_back(measureCurl(set, connections, work.path()));
    }
    printTable(rows);
    printRatios(rows);

    size_t failures = 0;
    for (const Measurement &row : rows) failures += row.failures;
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    const size_t connections = parseConnections(argc, argv);
    try {
        return run(connections);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "download_bench: %s\n", error.what());
        return 2;
    }
}
