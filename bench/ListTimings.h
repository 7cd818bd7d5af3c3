#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QScrollBar>
#include <QTreeView>
#include <QWindow>

#include "MainForm.h"

// What the list benches share: the main window shown without questions,
// times since a start, and scrolling a list a page at a time, painted.
namespace list_timings {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Shows the window and waits until it is on the screen. Nothing is to ask
// whether to go online: the lists alone are measured.
inline void showQuietly(MainForm &form) {
    form.options().showOnlinePrompt2 = false;
    form.options().goToOnlineAfterOpen = false;
    form.resize(1200, 800);
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Paints the view's rows now and serves what painting them posted.
inline void paint(QTreeView &view) {
    view.viewport()->repaint();
    QApplication::processEvents();
}

// Scrolls the view a page down, then as many up, each step painted; prints
// the mean and the worst step.
inline void printScrollSteps(QTreeView &view, int steps) {
    std::vector<double> times;
    QScrollBar *bar = view.verticalScrollBar();
    for (int k = 0; k < steps; ++k) {
        const Clock::time_point step = Clock::now();
        bar->triggerAction(k < steps / 2 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
        paint(view);
        times.push_back(millisecondsSince(step));
    }
    double total = 0;
    for (double time : times) total += time;
    std::printf("scroll step (page, painted): mean %.2f ms, worst %.2f ms over %d steps\n", total / steps,
                *std::max_element(times.begin(), times.end()), steps);
}

}  // namespace list_timings
