#include <gtest/gtest.h>

#include "support/IcmpAccess.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

TEST(PingCommand, ShowsTheVerdictsThenEachHostsResult) {
    if (!test::canPing()) GTEST_SKIP() << "no ICMP socket";
    test::TempDir dir;
    const std::string project = (dir.path() / "p.slk").string();
    ASSERT_EQ(test::runLark("new " + project).status, 0);
    const test::LarkResult r = test::runLark("ping " + project + " 127.0.0.1");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(test::contains(r, "offline: downloads wait\nonline\n127.0.0.1 replied in ")) << r.output;
    EXPECT_EQ(test::runLark("ping " + project).status, 2);
}
