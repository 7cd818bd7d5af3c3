#include "IndexCommand.h"

#include <unistd.h>

#include <chrono>
#include <future>
#include <iostream>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "PackedRecords.h"
#include "RecordRelease.h"
#include "WindowQueue.h"
#include "engine.h"

namespace lark {

namespace {

using namespace std::chrono_literals;

// Takes the figures out of an index progress notification.
void take(EngIndexProgressRecord &figures, const Posted &posted) {
    const auto payload = eng::client::notificationPayload(posted.msg, posted.wParam, posted.lParam);
    if (posted.msg == ENG_NOTIFY_INDEX)
        if (const auto record = eng::client::recordAt<EngIndexProgressRecord>(payload, 0)) figures = *record;
}

void show(const EngIndexProgressRecord &f, bool terminal) {
    if (f.phase != ENG_INDEX_EXTRACTING || !terminal) return;
    std::cout << "\rindexing: " << f.done << " of " << f.bodies << " bodies, " << f.words << " words" << std::flush;
}

}  // namespace

int indexProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(1, 1);
    WindowQueue window;
    OpenedProject project(args.at(0), window.window());
    uint32_t waiting = 0;
    Eng_CountNotIndexedResources(&waiting, nullptr);
    std::cout << waiting << " bodies to index\n";

    const bool terminal = isatty(STDOUT_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    auto indexing = std::async(std::launch::async, [] { return Eng_IndexDatabase(); });
    EngIndexProgressRecord figures{};
    while (indexing.wait_for(100ms) != std::future_status::ready) {
        while (auto posted = window.take()) take(figures, *posted);
        show(figures, terminal);
    }
    const int32_t result = indexing.get();
    while (auto posted = window.take()) take(figures, *posted);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (terminal && figures.phase != 0) std::cout << '\n';
    if (result != 1) throw Failure("the project could not be indexed; nothing was changed");
    std::cout << figures.done << " bodies indexed, " << figures.words << " words written in " << seconds << " s\n";
    return 0;
}

}  // namespace lark
