#include "PingCommand.h"

#include <chrono>
#include <iostream>

#include "Arguments.h"
#include "EngineBuffer.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "RecordBuffer.h"
#include "WindowQueue.h"
#include "engine.h"

namespace lark {

namespace {

constexpr unsigned long kDefaultSeconds = 4;
constexpr unsigned long kMostSeconds = 3600;

// Shows the verdicts the engine posts until the time is up.
void showVerdicts(WindowQueue &window, std::chrono::seconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
        auto posted = window.take(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
        if (posted && posted->msg == ENG_NOTIFY_ONLINE)
            std::cout << (posted->wParam ? "online" : "offline: downloads wait") << '\n';
    }
}

void showHostStates() {
    eng::client::RecordBuffer<EngPingStateRecord> states(eng::client::receive(Eng_FreeMem, Eng_GetPingSocketsState));
    for (const EngPingStateRecord &state : states) {
        std::cout << eng::client::text(state.host);
        if (state.replied)
            std::cout << " replied in " << state.roundTrip << " ms\n";
        else
            std::cout << " no reply\n";
    }
}

}  // namespace

int pingHosts(const std::vector<std::string> &words) {
    Arguments args(words, {"for"}, {});
    args.expectCount(2, SIZE_MAX);
    const auto seconds = std::chrono::seconds(args.number("for", kDefaultSeconds, kMostSeconds));
    std::string hosts;
    for (size_t i = 1; i < args.count(); ++i) hosts += args.at(i) + "\n";
    return reportingFailures("ping", [&] {
        WindowQueue window;
        OpenedProject project(args.at(0), window.window());
        Eng_PingHosts(hosts.c_str());
        showVerdicts(window, seconds);
        showHostStates();
        return 0;
    });
}

}  // namespace lark
