#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "EngineBuffer.h"
#include "RecordBuffer.h"
#include "engine.h"
#include "support/Eventually.h"
#include "support/IcmpAccess.h"
#include "support/OpenProject.h"
#include "support/ScriptedHttpServer.h"
#include "support/TaskRecords.h"
#include "sys/FileDescriptor.h"

using namespace std::chrono_literals;

namespace {

struct HostState {
    std::string host;
    int32_t replied;
    uint32_t roundTrip;
};

std::vector<HostState> pingStates() {
    eng::client::RecordBuffer<EngPingStateRecord> records(eng::client::receive(Eng_FreeMem, Eng_GetPingSocketsState));
    std::vector<HostState> states;
    for (const EngPingStateRecord &r : records) states.push_back({eng::client::text(r.host), r.replied, r.roundTrip});
    return states;
}

// The allowed flags the engine announced, in order, waiting up to the time
// given for as many as expected.
std::vector<uintptr_t> onlineNotifications(lark::WindowQueue &window, size_t expected,
                                           std::chrono::milliseconds limit = 8s) {
    std::vector<uintptr_t> flags;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (flags.size() < expected && std::chrono::steady_clock::now() < end) {
        if (const auto posted = window.take(50ms); posted && posted->msg == ENG_NOTIFY_ONLINE)
            flags.push_back(posted->wParam);
    }
    return flags;
}

bool bringLoopbackUp() {
    eng::FileDescriptor s(::socket(AF_INET, SOCK_DGRAM, 0));
    ifreq request{};
    std::strcpy(request.ifr_name, "lo");
    if (::ioctl(s.get(), SIOCGIFFLAGS, &request) != 0) return false;
    request.ifr_flags |= IFF_UP;
    return ::ioctl(s.get(), SIOCSIFFLAGS, &request) == 0;
}

}  // namespace

TEST(OnlineDetection, LoopbackHostTurnsTheEngineOnlineAndShowsItsResult) {
    if (!test::canPing()) GTEST_SKIP() << "no ICMP socket";
    test::OpenProject project;
    EXPECT_TRUE(pingStates().empty());
    EXPECT_EQ(Eng_PingHosts(" 127.0.0.1 \r\n"), 0);
    // Offline at once with the first host; online at the first evaluation.
    EXPECT_EQ(onlineNotifications(project.notifications(), 2), (std::vector<uintptr_t>{0, 1}));
    const std::vector<HostState> states = pingStates();
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0].host, "127.0.0.1");
    EXPECT_EQ(states[0].replied, 1);
    EXPECT_LT(states[0].roundTrip, 1000u);

    EXPECT_EQ(Eng_PingHosts(""), 0);
    EXPECT_TRUE(pingStates().empty());
    EXPECT_TRUE(onlineNotifications(project.notifications(), 1, 300ms).empty());
}

// In a network namespace of its own the test thread, the engine thread and
// the test server see only their own loopback interface: an address off it
// has no route, so its pings never get an answer and nothing leaves the
// machine.
TEST(OnlineDetection, DownloadsWaitWhileNoHostAnswersAndStartWhenOneDoes) {
    if (!test::canPing()) GTEST_SKIP() << "no ICMP socket";
    std::optional<std::string> skipped;
    std::thread([&] {
        if (::unshare(CLONE_NEWNET) != 0 || !bringLoopbackUp()) {
            skipped = "no network namespace";
            return;
        }
        test::ScriptedHttpServer server;
        server.answer(test::httpResponse(200, "OK", "page"));
        test::OpenProject project;
        EXPECT_EQ(Eng_PingHosts("10.255.255.1"), 0);
        EXPECT_EQ(onlineNotifications(project.notifications(), 1), (std::vector<uintptr_t>{0}));
        const std::string url = server.url("/");
        EngTaskRecord in = test::taskInput(url.c_str(), 0);
        const auto task = static_cast<uint32_t>(Eng_CreateTask(&in));
        ASSERT_EQ(Eng_Run(), 0);
        std::this_thread::sleep_for(3500ms);  // past the first evaluation
        EXPECT_TRUE(server.requests().empty());
        ASSERT_EQ(pingStates().size(), 1u);
        EXPECT_EQ(pingStates()[0].replied, 0);

        EXPECT_EQ(Eng_PingHosts("10.255.255.1\n127.0.0.1"), 0);
        EXPECT_EQ(onlineNotifications(project.notifications(), 1), (std::vector<uintptr_t>{1}));
        EXPECT_TRUE(test::eventually([&] { return test::taskById(task).raw.state == ENG_TASK_COMPLETE; }));
        EXPECT_EQ(server.requests().size(), 1u);
    }).join();
    if (skipped) GTEST_SKIP() << *skipped;
}
