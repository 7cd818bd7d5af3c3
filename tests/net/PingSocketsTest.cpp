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

// Two probes' sockets; the test is skipped where ICMP sockets cannot be opened.
class PingSocketsTest : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            sockets.open(kFirst);
            sockets.open(kSecond);
        } catch (const std::exception &e) {
            GTEST_SKIP() << "no ICMP socket: " << e.what();
        }
    }

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

TEST_F(PingSocketsTest, LoopbackRepliesReachOnlyTheProbeThatSentTheRequest) {
    EXPECT_TRUE(sockets.ping(kFirst, "127.0.0.1"));
    ASSERT_TRUE(pollUntil({kFirst}));
    // On a raw socket the second probe saw the same reply, and took no notice.
    std::this_thread::sleep_for(50ms);
    sockets.poll(recorder, 0ms);
    EXPECT_EQ(recorder.replies, (std::vector<uint32_t>{kFirst}));

    if (!hasIpv6Loopback()) GTEST_SKIP() << "no IPv6 loopback";
    EXPECT_TRUE(sockets.ping(kSecond, "::1"));
    EXPECT_TRUE(pollUntil({kFirst, kSecond}));
}

TEST_F(PingSocketsTest, NamesAreLookedUpAsideAndRemembered) {
    // localhost comes from the hosts file: no traffic leaves the machine.
    EXPECT_FALSE(sockets.ping(kFirst, "localhost"));
    ASSERT_TRUE(pollUntil({kFirst}));
    EXPECT_EQ(recorder.looked, (std::vector<uint32_t>{kFirst}));
    // The address is shared by every probe that pings the name.
    EXPECT_TRUE(sockets.ping(kSecond, "LOCALHOST"));
    EXPECT_TRUE(pollUntil({kFirst, kSecond}));
}
