#include <gtest/gtest.h>

#include "support/RunLark.h"

using test::contains;
using test::runLark;

TEST(Lark, PrintsTheEnginesVersion) {
    for (const char *form : {"--version", "-V", "version"}) {
        test::LarkResult r = runLark(form);
        EXPECT_EQ(r.status, 0) << form;
        EXPECT_EQ(r.output, "lark 1.0.4.0\n") << form;
    }
}

TEST(Lark, HelpListsCommandsAndMistakesExitWithTwo) {
    test::LarkResult help = runLark("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help, "version"));
    test::LarkResult unknown = runLark("frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(contains(unknown, "unknown command \"frobnicate\""));
    test::LarkResult extra = runLark("version extra");
    EXPECT_EQ(extra.status, 2);
    EXPECT_TRUE(contains(extra, "unexpected argument \"extra\""));
    EXPECT_EQ(runLark("").status, 2);
    EXPECT_EQ(runLark("new --bogus x.slk").status, 2);
}
