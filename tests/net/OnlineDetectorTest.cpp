#include "net/OnlineDetector.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using eng::OnlineDetector;
using eng::OnlineState;
using namespace std::chrono_literals;

namespace {

// Sends nothing: records the pings and answers them as the test says.
// Names with a letter in them need a look-up first.
class ScriptedSender : public eng::EchoSender {
public:
    void open(uint32_t probe) override {
        if (opens == failingOpen) throw std::runtime_error("no socket");
        ++opens;
        openProbes.insert(probe);
    }
    void close(uint32_t probe) override { openProbes.erase(probe); }
    bool ping(uint32_t probe, const std::string &host) override {
        pings.push_back(host);
        const bool name = host.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos;
        (name ? lookingUp : awaiting).push_back(probe);
        return !name;
    }

    int opens = 0;
    int failingOpen = -1;
    std::set<uint32_t> openProbes;
    std::vector<std::string> pings;
    std::vector<uint32_t> awaiting;
    std::vector<uint32_t> lookingUp;
};

class EventLog : public eng::OnlineEvents {
public:
    void pingEnded(const std::string &host, int32_t outcome, bool, uint32_t roundTrip) override {
        pinged.push_back(host + " " + std::to_string(outcome) + " " + std::to_string(roundTrip));
    }
    void hostRemoved(const std::string &host) override { states.push_back("removed " + host); }
    void stateChanged(OnlineState s) override { states.push_back("changed " + std::to_string(static_cast<int>(s))); }
    void settled(OnlineState s) override { states.push_back("settled " + std::to_string(static_cast<int>(s))); }

    std::vector<std::string> takeStates() { return std::exchange(states, {}); }

    std::vector<std::string> pinged;
    std::vector<std::string> states;
};

struct Detector {
    ScriptedSender sender;
    EventLog events;
    OnlineDetector detector{sender, events};
    OnlineDetector::Time now{0};

    Detector() { detector.start(now); }

    // Lets time pass in steps of 10 ms up to the moment given; every
    // request sent meanwhile is answered 10 ms later while answering.
    void runUntil(OnlineDetector::Time end, bool answering) {
        while (now < end) {
            now += 10ms;
            std::vector<uint32_t> sent = std::exchange(sender.awaiting, {});
            if (answering)
                for (uint32_t probe : sent) detector.replied(probe, now);
            detector.advance(now);
        }
    }
};

}  // namespace

TEST(OnlineDetector, AHostThatNeverAnswersIsOfflineAtOnceAndStaysSo) {
    Detector d;
    d.detector.setHosts("192.0.2.1", d.now);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 2", "settled 2"}));
    EXPECT_FALSE(d.detector.allowsDownloads());
    EXPECT_EQ(d.sender.pings.size(), 1u);  // pinged as soon as it was added
    d.runUntil(30s, false);
    EXPECT_TRUE(d.events.states.empty());
    // A ping at once and every 2 s, each timing out 1 s after it went out.
    EXPECT_EQ(d.sender.pings.size(), 16u);
    EXPECT_EQ(d.events.pinged.front(), "192.0.2.1 -3 0");
    EXPECT_FALSE(d.detector.allowsDownloads());
}

TEST(OnlineDetector, AnsweringHostTurnsItOnlineAtTheNextEvaluation) {
    Detector d;
    d.detector.setHosts("127.0.0.1", d.now);
    d.events.takeStates();
    d.runUntil(2990ms, true);
    EXPECT_EQ(d.detector.state(), OnlineState::Offline);
    EXPECT_EQ(d.events.pinged.front(), "127.0.0.1 0 10");
    d.runUntil(3s, true);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 1", "settled 1"}));
    EXPECT_TRUE(d.detector.allowsDownloads());
}

TEST(OnlineDetector, ShortLossOfRepliesIsNeverAnnouncedButALongOneIs) {
    Detector d;
    d.detector.setHosts("127.0.0.1", d.now);
    d.runUntil(10s, true);
    d.events.takeStates();
    // Ten unanswered pings empty the ring: the evaluation after them turns
    // the state offline, announced only if it lasts 4 s.
    d.runUntil(31s, false);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 2"}));
    EXPECT_FALSE(d.detector.allowsDownloads());
    d.runUntil(34s, true);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 1"}));
    d.runUntil(50s, true);
    EXPECT_TRUE(d.events.takeStates().empty());

    d.runUntil(80s, false);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 2", "settled 2"}));
    d.runUntil(84s, true);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 1", "settled 1"}));
}

TEST(OnlineDetector, HostListIsSplitTrimmedAndComparedWithoutCase) {
    Detector d;
    d.detector.setHosts(" alpha \r\nBeta\n\nALPHA\nbeta ", d.now);
    EXPECT_EQ(d.sender.opens, 2);
    EXPECT_EQ(d.sender.pings, (std::vector<std::string>{"alpha", "Beta"}));
    d.detector.setHosts("beta", d.now);
    EXPECT_EQ(d.sender.openProbes.size(), 1u);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"changed 2", "settled 2", "removed alpha"}));
}

TEST(OnlineDetector, EmptyListRemovesEveryHostAndAllowsDownloads) {
    Detector d;
    d.detector.setHosts("192.0.2.1\n192.0.2.2", d.now);
    d.events.takeStates();
    d.detector.setHosts("", d.now);
    EXPECT_TRUE(d.sender.openProbes.empty());
    EXPECT_EQ(d.events.takeStates(),
              (std::vector<std::string>{"removed 192.0.2.2", "removed 192.0.2.1", "changed 0", "settled 0"}));
    EXPECT_TRUE(d.detector.allowsDownloads());
    d.runUntil(10s, false);
    EXPECT_EQ(d.sender.pings.size(), 2u);
}

TEST(OnlineDetector, HostThatCannotGetASocketEndsTheListAtOnce) {
    Detector d;
    d.detector.setHosts("192.0.2.9", d.now);
    d.sender.failingOpen = 2;
    EXPECT_THROW(d.detector.setHosts("192.0.2.1\n192.0.2.2\n192.0.2.3", d.now), std::runtime_error);
    // The host added before the failure stays, and none was removed.
    EXPECT_EQ(d.sender.openProbes.size(), 2u);
    EXPECT_EQ(d.detector.probeIds().size(), 2u);
}

TEST(OnlineDetector, RemovingTheOnlyAnsweringHostTurnsOfflineAtOnce) {
    Detector d;
    d.detector.setHosts("127.0.0.1\n192.0.2.1", d.now);
    d.runUntil(3s, true);
    EXPECT_EQ(d.detector.state(), OnlineState::Online);
    // A host added now has no replies in its ring yet.
    d.detector.setHosts("192.0.2.7\n127.0.0.1", d.now);
    d.events.takeStates();
    d.detector.setHosts("192.0.2.7", d.now);
    EXPECT_EQ(d.events.takeStates(), (std::vector<std::string>{"removed 127.0.0.1", "changed 2", "settled 2"}));
}

TEST(OnlineDetector, LookupsDelayThePingAndAFailedOneCountsAsNoReply) {
    Detector d;
    d.detector.setHosts("example.test", d.now);
    ASSERT_EQ(d.sender.lookingUp.size(), 1u);
    const uint32_t probe = d.sender.lookingUp.front();
    // No reply time-out runs while the name is looked up.
    d.runUntil(1500ms, false);
    EXPECT_TRUE(d.events.pinged.empty());
    d.detector.sent(probe, d.now);
    d.detector.replied(probe, d.now + 30ms);
    EXPECT_EQ(d.events.pinged.back(), "example.test 0 30");

    d.sender.lookingUp.clear();
    d.runUntil(2s, false);
    ASSERT_EQ(d.sender.lookingUp.size(), 1u);
    d.detector.lookupFailed(probe);
    EXPECT_EQ(d.events.pinged.back(), "example.test -2 30");
}

TEST(OnlineDetector, RepliesNotAwaitedAreIgnored) {
    Detector d;
    d.detector.setHosts("192.0.2.1", d.now);
    const uint32_t probe = d.detector.probeIds().front();
    d.runUntil(1s, false);  // timed out
    d.detector.replied(probe, d.now);
    d.detector.replied(probe + 1000, d.now);
    d.detector.sent(probe, d.now);
    d.runUntil(1990ms, false);
    EXPECT_EQ(d.events.pinged, (std::vector<std::string>{"192.0.2.1 -3 0"}));
}
