#include "IndexCommand.h"

#include <unistd.h>

#include <iostream>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "PackedRecords.h"
#include "RecordRelease.h"
#include "WatchedCall.h"
#include "WindowQueue.h"
#include "engine.h"

namespace lark {

namespace {

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
    EngIndexProgressRecord figures{};
    const WatchedResult indexed = watchedCall(
        window, [] { return Eng_IndexDatabase(); }, [&](const Posted &posted) { take(figures, posted); },
        [&] { show(figures, terminal); });
    if (terminal && figures.phase != 0) std::cout << '\n';
    if (indexed.result != 1) throw Failure("the project could not be indexed; nothing was changed");
    std::cout << figures.done << " bodies indexed, " << figures.words << " words written in " << indexed.seconds
              << " s\n";
    return 0;
}

}  // namespace lark
