// The Directory tab with 100,000 files of one site: the time to show the
// tree (files sorted and grouped), to open the site's folder of 100,000
// files painted, the time per scroll step of that folder (a page down,
// painted) over 200 steps (mean and worst), and the time to place 1,000
// files arriving while the folder is shown. Prints the figures in
// milliseconds. The files are made in memory: no project, no engine.
//
// Usage: directory_bench   (QT_QPA_PLATFORM=offscreen runs it without a display)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QScrollBar>
#include <QTreeView>

#include "items/DirectoryModel.h"
#include "views/TaskRow.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFiles = 100000;
constexpr int kArriving = 1000;
constexpr int kScrollSteps = 200;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

ItemRow file(int number) {
    ItemRow row;
    row.resource = static_cast<uint32_t>(number + 1);
    row.state = TaskRow::Ok;
    // Most files in the site's folder, every tenth one a folder deeper.
    row.address = number % 10 ? QStringLiteral("http://site.example/page%1.html").arg(number)
                              : QStringLiteral("http://site.example/dir%1/page%2.html").arg(number % 500).arg(number);
    return row;
}

void paint(QTreeView &view) {
    view.viewport()->repaint();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    std::vector<ItemRow> files;
    files.reserve(kFiles);
    for (int k = 0; k < kFiles; ++k) files.push_back(file(k));
    // In the engine's order (by item), not by address.
    std::reverse(files.begin(), files.end());

    DirectoryModel model;
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(800, 600);
    view.show();

    const Clock::time_point showing = Clock::now();
    model.reset(std::move(files));
    paint(view);
    const double shown = millisecondsSince(showing);

    const Clock::time_point opening = Clock::now();
    const QModelIndex scheme = model.index(0, 0);
    view.expand(scheme);
    const QModelIndex site = model.index(0, 0, scheme);
    view.expand(site);
    paint(view);
    const double opened = millisecondsSince(opening);

    std::vector<double> steps;
    for (int k = 0; k < kScrollSteps; ++k) {
        const Clock::time_point step = Clock::now();
        view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        paint(view);
        steps.push_back(millisecondsSince(step));
    }
    double sum = 0;
    for (double step : steps) sum += step;

    const Clock::time_point arriving = Clock::now();
    for (int k = 0; k < kArriving; ++k) model.add(file(kFiles + k));
    paint(view);
    const double placed = millisecondsSince(arriving);

    // The same without a view: what the model's own placing costs.
    view.setModel(nullptr);
    const Clock::time_point unviewed = Clock::now();
    for (int k = 0; k < kArriving; ++k) model.add(file(kFiles + kArriving + k));
    const double placedAlone = millisecondsSince(unviewed);

    std::printf("files %d, folder rows %d\n", kFiles, model.rowCount(site));
    std::printf("shown %.1f ms, site folder opened %.1f ms\n", shown, opened);
    std::printf("scroll step mean %.2f ms, worst %.2f ms\n", sum / kScrollSteps,
                *std::max_element(steps.begin(), steps.end()));
    std::printf("%d arriving files placed %.1f ms shown, %.1f ms without a view\n", kArriving, placed, placedAlone);
    return 0;
}
