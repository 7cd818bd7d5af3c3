#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "support/RunLark.h"
#include "support/TempDir.h"
#include "sys/FileDescriptor.h"

namespace {

bool canPing() {
    for (int type : {SOCK_DGRAM, SOCK_RAW})
        if (eng::FileDescriptor(::socket(AF_INET, type, IPPROTO_ICMP))) return true;
    return false;
}

}  // namespace

TEST(PingCommand, ShowsTheVerdictsThenEachHostsResult) {
    if (!canPing()) GTEST_SKIP() << "no ICMP socket";
    test::TempDir dir;
    const std::string project = (dir.path() / "p.slk").string();
    ASSERT_EQ(test::runLark("new " + project).status, 0);
    const test::LarkResult r = test::runLark("ping " + project + " 127.0.0.1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(test::contains(r, "offline: downloads wait\nonline\n127.0.0.1 replied in ")) << r.output;
    EXPECT_EQ(test::runLark("ping " + project).status, 2);
}
