#include <gtest/gtest.h>

#include "support/RunLark.h"
#include "support/TempDir.h"

using test::contains;
using test::runLark;

TEST(LarkFolders, MkdirBuildsTheTreeThatFoldersShows) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    ASSERT_EQ(runLark("new " + path).status, 0);
    test::LarkResult news = runLark("mkdir " + path + " 1 News");
    ASSERT_EQ(news.status, 0) << news.output;
    EXPECT_EQ(news.output, "2\n");
    ASSERT_EQ(runLark("mkdir " + path + " 2 'Daily papers'").status, 0);
    ASSERT_EQ(runLark("mkdir " + path + " 1 Blogs").status, 0);
    test::LarkResult tree = runLark("folders " + path);
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.output, "Root  [1]\n  News  [2]\n    Daily papers  [3]\n  Blogs  [4]\n");

    test::LarkResult missing = runLark("mkdir " + path + " 77 X");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing, "there is no folder 77"));
    EXPECT_EQ(runLark("mkdir " + path + " root X").status, 2);
    EXPECT_EQ(runLark("folders " + dir.file("none.slk")).status, 1);
}

TEST(LarkProps, SetsWhatTheProjectKeeps) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    ASSERT_EQ(runLark("new " + path).status, 0);
    test::LarkResult set = runLark("props " + path + " --set 'note=Weekly mirror' --set filter=*.html --set options=1");
    ASSERT_EQ(set.status, 0) << set.output;
    test::LarkResult shown = runLark("props " + path);
    EXPECT_TRUE(contains(shown, "options      0x00000001")) << shown.output;
    EXPECT_TRUE(contains(shown, "note         Weekly mirror"));
    EXPECT_TRUE(contains(shown, "filter       *.html"));
    EXPECT_TRUE(contains(shown, "timeout 120 s, pause 0 s, connections 5, per server 2, retries 0"));

    test::LarkResult memoryOnly = runLark("props " + path + " --set timeout=30");
    EXPECT_EQ(memoryOnly.status, 2);
    EXPECT_TRUE(contains(memoryOnly, "cannot set \"timeout\""));
    EXPECT_EQ(runLark("props " + path + " --set options=lots").status, 2);
    EXPECT_EQ(runLark("props " + path + " --set novalue").status, 2);
}
