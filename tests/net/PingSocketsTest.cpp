#include "net/PingSockets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "support/Eventually.h"

using namespace std::chrono_literals;

namespace {

class Recorder : public eng::EchoReceiver {
public:
    void replied(uint32_t probe, Time) override { replies.push_back(probe); }
    void sent(uint32_t probe, Time) override { looked.push_back(probe); }
    void lookupFailed(uint32_t probe) override { failed.push_back(probe); }

    std::vector<uint32_t> replies;
    std::vector<uint32_t> looked;
    std::vector<uint32_t> failed;
};

// Identities far from those the detectors of other tests hand out.
constexpr uint32_t kFirst = 900001;
constexpr uint32_t kSecond = 900002;

bool hasIpv6Loopback() {
    std::ifstream interfaces("/proc/net/if_inet6");
    std::string line;
    while (std::getline(interfaces, line))
        if (line.rfind("00000000000000000000000000000001", 0) == 0) return true;
    return false;
}

struct Sockets {
    eng::PingSockets sockets;
    Recorder recorder;

    bool pollUntil(const std::vector<uint32_t> &replies) {
        return test::eventually([&] {
            sockets.poll(recorder, 0ms);
            return recorder.replies == replies;
        });
    }
};

}  // namespace

TEST(PingSockets, LoopbackRepliesReachOnlyTheProbeThatSentTheRequest) {
    Sockets s;
    try {
        s.sockets.open(kFirst);
        s.sockets.open(kSecond);
    } catch (const std::exception &e) {
        GTEST_SKIP() << "no ICMP socket: " << e.what();
    }
    EXPECT_TRUE(s.sockets.ping(kFirst, "127.0.0.1"));
    ASSERT_TRUE(s.pollUntil({kFirst}));
    // On a raw socket the second probe saw the same reply, and took no notice.
    std::this_thread::sleep_for(50ms);
    s.sockets.poll(s.recorder, 0ms);
    EXPECT_EQ(s.recorder.replies, (std::vector<uint32_t>{kFirst}));

    if (!hasIpv6Loopback()) GTEST_SKIP() << "no IPv6 loopback";
    EXPECT_TRUE(s.sockets.ping(kSecond, "::1"));
    EXPECT_TRUE(s.pollUntil({kFirst, kSecond}));
}

TEST(PingSockets, NamesAreLookedUpAsideAndRemembered) {
    Sockets s;
    try {
        s.sockets.open(kFirst);
        s.sockets.open(kSecond);
    } catch (const std::exception &e) {
        GTEST_SKIP() << "no ICMP socket: " << e.what();
    }
    // localhost comes from the hosts file: no traffic leaves the machine.
    EXPECT_FALSE(s.sockets.ping(kFirst, "localhost"));
    ASSERT_TRUE(s.pollUntil({kFirst}));
    EXPECT_EQ(s.recorder.looked, (std::vector<uint32_t>{kFirst}));
    // The address is shared by every probe that pings the name.
    EXPECT_TRUE(s.sockets.ping(kSecond, "LOCALHOST"));
    EXPECT_TRUE(s.pollUntil({kFirst, kSecond}));
}
