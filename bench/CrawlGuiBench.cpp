// The GUI thread while the program crawls the crawl benchmark's site at full
// speed: a new project with one task on the site (depth 100, 8 connections,
// as bench/crawl.sh runs lark), shown in the main window with the progress
// and statistics panes, goes online and runs until nothing is queued. Prints
// the GUI thread's CPU time against the wall time (its load), how late a
// 10 ms timer fires on the GUI thread (mean, 99th percentile, worst), the
// crawl's wall time and files done, and lark mirror's wall time on the same
// site, run first.
//
// Usage: crawlgui_bench SITE_FOLDER LARK WORK_FOLDER   (bench/crawlgui.sh runs it)
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "KestProject.h"
#include "ListTimings.h"
#include "MainForm.h"
#include "Startup.h"
#include "TaskCreation.h"
#include "support/NginxServer.h"
#include "views/TaskListFrame.h"

namespace {

using list_timings::Clock;
using list_timings::millisecondsSince;

constexpr int kConnections = 8;
constexpr int kDepth = 100;
constexpr int kTickMs = 10;
constexpr int kGiveUpMs = 1800 * 1000;

double seconds(const timeval &time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// User and system CPU seconds of the calling thread, or of the whole process.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs lark to its end; false when it could not start or failed.
bool runLark(const QString &lark, const QStringList &arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(lark, arguments);
    process.closeWriteChannel();
    if (process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    std::fprintf(stderr, "crawlgui_bench: lark %s failed\n", qPrintable(arguments.join(u' ')));
    return false;
}

// How late a repeating timer fires on the GUI thread: each tick's delay
// beyond its interval, and when the worst one came.
class TimerLateness {
public:
    TimerLateness() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kTickMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        started_ = last_ = Clock::now();
        timer_.start();
    }
    void stop() { timer_.stop(); }

    void print() const {
        if (late_.empty()) return;
        std::vector<double> sorted = late_;
        std::sort(sorted.begin(), sorted.end());
        const double mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / static_cast<double>(sorted.size());
        const double p99 = sorted[sorted.size() * 99 / 100];
        std::printf("%-34s mean %.2f ms, 99th percentile %.1f ms, worst %.0f ms (%.0f s into the crawl), %zu ticks\n",
                    "10 ms timer on the GUI thread late:", mean, p99, sorted.back(), worstAt_ / 1000, sorted.size());
    }

private:
    void tick() {
        const Clock::time_point now = Clock::now();
        const double late = std::max(0.0, std::chrono::duration<double, std::milli>(now - last_).count() - kTickMs);
        if (late_.empty() || late > *std::max_element(late_.begin(), late_.end()))
            worstAt_ = millisecondsSince(started_);
        late_.push_back(late);
        last_ = now;
    }

    QTimer timer_;
    Clock::time_point started_;
    Clock::time_point last_;
    std::vector<double> late_;
    double worstAt_ = 0;
};

// Shows the progress and statistics panes, whatever the saved layout says.
void showPanes(MainForm &form) {
    for (const char *name : {"progressWindow", "statisticWindow"})
        if (auto *pane = form.findChild<QDockWidget *>(QString::fromLatin1(name))) pane->show();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: crawlgui_bench SITE_FOLDER LARK WORK_FOLDER\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    prepareStartup();
    QApplication application(argc, argv);
    if (!finishStartup()) return 1;
    const QString lark = QString::fromLocal8Bit(argv[2]);
    const QDir work(QString::fromLocal8Bit(argv[3]));
    test::NginxServer::Options serving;
    serving.workers = 2;
    const test::NginxServer nginx(argv[1], serving);
    const QString url = QString::fromStdString(nginx.url("/"));
    const QString connections = QString::number(kConnections);

    const Clock::time_point mirroring = Clock::now();
    if (!runLark(lark, {QStringLiteral("mirror"), url, QStringLiteral("-o"), work.filePath(QStringLiteral("lark.slk")),
                        QStringLiteral("--depth"), QString::number(kDepth), QStringLiteral("--connections"),
                        connections, QStringLiteral("--per-server"), connections}))
        return 1;
    const double larkSeconds = millisecondsSince(mirroring) / 1000;

    const QString path = work.filePath(QStringLiteral("program.slk"));
    if (!runLark(lark, {QStringLiteral("new"), path})) return 1;
    MainForm form(application.arguments());
    list_timings::showQuietly(form);
    showPanes(form);
    form.openFile(path);
    KestProject &project = form.project();
    const int task = project.createTask(url, kDepth, kRootFolder);
    if (task <= 0 || !project.setConnectionLimits(kConnections, kConnections)) {
        std::fprintf(stderr, "crawlgui_bench: the task or the connection limits were refused\n");
        return 1;
    }
    form.taskList().selectTask(static_cast<uint32_t>(task));
    QApplication::processEvents();

    QEventLoop crawling;
    StatProgress last;
    QObject::connect(&project, &KestProject::statisticsChanged, &crawling, [&](const StatProgress &statistics) {
        last = statistics;
        if (statistics.itemsRemaining == 0 && statistics.itemsRetrieved > 0) crawling.quit();
    });
    QTimer::singleShot(kGiveUpMs, &crawling, [&] {
        std::fprintf(stderr, "crawlgui_bench: the crawl did not end in %d s\n", kGiveUpMs / 1000);
        crawling.exit(1);
    });
    TimerLateness lateness;
    const double guiBefore = cpuSeconds(RUSAGE_THREAD);
    const double processBefore = cpuSeconds(RUSAGE_SELF);
    const Clock::time_point started = Clock::now();
    lateness.start();
    project.setRunning(true);
    const int ended = crawling.exec();
    const double wall = millisecondsSince(started) / 1000;
    const double gui = cpuSeconds(RUSAGE_THREAD) - guiBefore;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    lateness.stop();
    project.setRunning(false);

    std::printf("%-34s %.1f s, %u files done, %u errors%s\n", "crawl in the main window:", wall, last.itemsRetrieved,
                last.errors, ended ? " (stopped: not finished)" : "");
    std::printf("%-34s %.1f s\n", "lark mirror, same site:", larkSeconds);
    std::printf("%-34s %.2f s of %.1f s = %.1f %% load (the whole process: %.1f s CPU)\n", "GUI thread CPU:", gui, wall,
                100 * gui / wall, process);
    lateness.print();
    form.close();
    return ended;
}
