// The Files List window of a task of many files: the time from the List
// command to the list loaded and painted (and from a reload of the list),
// the time per scroll step (a page down or up, painted) over 200 steps, mean
// and worst, and the time to sort by address. Prints the figures in
// milliseconds.
//
// The project is made once and kept in the cache folder: a generated site of
// pages, each linking 100 small files of four types, served by nginx and
// mirrored by lark to depth 2.
//
// Usage: itemlist_bench CACHE_FOLDER LARK [FILES]   (bench/itemlist.sh runs it)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "ListTimings.h"
#include "MainForm.h"
#include "RecordBuffer.h"
#include "Startup.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/ItemWindow.h"
#include "support/NginxServer.h"
#include "support/TempDir.h"
#include "views/TaskListFrame.h"

namespace {

using list_timings::Clock;
using list_timings::millisecondsSince;
using list_timings::paint;
constexpr int kFilesPerPage = 100;
constexpr int kScrollSteps = 200;

void write(const std::filesystem::path &path, const std::string &text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The index links the pages; page i links the files of folder di: texts,
// GIF and PNG pictures and small pages without links, in turn.
void writeSite(const std::filesystem::path &root, int pages) {
    std::string index = "<html><head><title>Files</title></head><body>\n";
    for (int page = 0; page < pages; ++page) {
        const std::string folder = "d" + std::to_string(page) + "/";
        index += "<a href=\"p" + std::to_string(page) + ".html\">page " + std::to_string(page) + "</a>\n";
        std::string links = "<html><head><title>Page " + std::to_string(page) + "</title></head><body>\n";
        for (int file = 0; file < kFilesPerPage; ++file) {
            static const char *const kinds[] = {".txt", ".gif", ".png", ".html"};
            const std::string name = folder + "f" + std::to_string(file) + kinds[file % 4];
            links += "<a href=\"" + name + "\">" + name + "</a>\n";
            write(root / name, file % 4 == 3 ? "<html><head><title>Leaf " + name + "</title></head></html>"
                                             : "file " + name + std::string(static_cast<size_t>(file), 'x'));
        }
        write(root / ("p" + std::to_string(page) + ".html"), links + "</body></html>\n");
    }
    write(root / "index.html", index + "</body></html>\n");
}

// Makes the project of about the number of files unless the cache holds it.
bool makeProject(const QString &path, const QString &lark, int files) {
    if (QFile::exists(path)) return true;
    const int pages = std::max(1, files / kFilesPerPage);
    const Clock::time_point making = Clock::now();
    test::TempDir site;
    writeSite(site.path(), pages);
    test::NginxServer nginx(site.path());
    QProcess mirror;
    mirror.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    mirror.start(lark, {QStringLiteral("mirror"), QString::fromStdString(nginx.url("/index.html")),
                        QStringLiteral("-o"), partial, QStringLiteral("--depth"), QStringLiteral("2"),
                        QStringLiteral("--connections"), QStringLiteral("8")});
    mirror.closeWriteChannel();
    if (!mirror.waitForFinished(-1) || mirror.exitCode() != 0) {
        std::fprintf(stderr, "itemlist_bench: lark mirror failed: %s\n", mirror.readAllStandardOutput().constData());
        return false;
    }
    std::printf("project of %d pages and %d files made in %.0f s\n", pages + 1, pages * kFilesPerPage,
                millisecondsSince(making) / 1000);
    return QFile::rename(partial, path);
}

// Answers the next question box with No: the bench shows every file.
void answerNo() {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            box->button(QMessageBox::No)->click();
        }
    });
    poll->start(1);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: itemlist_bench CACHE_FOLDER LARK [FILES]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    prepareStartup();
    QApplication application(argc, argv);
    if (!finishStartup()) return 1;
    const int files = argc > 3 ? std::atoi(argv[3]) : 100000;
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("items-%1.slk").arg(files));
    if (!makeProject(path, QString::fromLocal8Bit(argv[2]), files)) return 1;

    MainForm form(application.arguments());
    list_timings::showQuietly(form);
    form.openFile(path);
    if (!form.taskList().selectTask(1)) {
        std::fprintf(stderr, "itemlist_bench: the project has no task 1\n");
        return 1;
    }
    const std::optional<TaskRow> task = form.project().task(1);

    answerNo();
    const Clock::time_point opening = Clock::now();
    ItemWindow *window = form.showItems(*task);
    QTreeView &view = window->list().view();
    paint(view);
    const double opened = millisecondsSince(opening);
    const int rows = window->list().model().size();
    std::printf("List command to the list of %d files shown: %.0f ms (the question answered at once)\n", rows, opened);
    const Clock::time_point reloading = Clock::now();
    window->reload();
    paint(view);
    std::printf("reload and show: %.0f ms\n", millisecondsSince(reloading));

    {
        const Clock::time_point reading = Clock::now();
        const auto pairs =
            eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem, engine().Eng_GetTaskItems, 1u);
        std::printf("of which the engine's %zu pairs: %.0f ms", pairs.size(), millisecondsSince(reading));
        const Clock::time_point converting = Clock::now();
        const std::vector<ItemRow> converted = itemRows(pairs);
        std::printf(", their rows: %.0f ms\n", millisecondsSince(converting));
    }

    list_timings::printScrollSteps(view, kScrollSteps);
    const Clock::time_point jumping = Clock::now();
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    paint(view);
    std::printf("jump to the end, painted: %.2f ms\n", millisecondsSince(jumping));
    const Clock::time_point sorting = Clock::now();
    window->list().model().sortBy(ItemListModel::Url);
    paint(view);
    std::printf("sort by address, painted: %.0f ms\n", millisecondsSince(sorting));
    form.close();
    return 0;
}
