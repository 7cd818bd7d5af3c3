#include <gtest/gtest.h>

#include <fstream>

#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

// lark cat on a project mirrored from local files.
class CatCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir.file("page.html")) << "<html><body><a href=\"next.html\">next</a></body></html>";
        page = "file://" + dir.file("page.html");
        ASSERT_EQ(test::runLark("mirror " + page + " -o " + dir.file("p.slk") + " --depth 0").status, 0);
    }
    test::TempDir dir;
    std::string page;
};

TEST_F(CatCommandTest, AStoredPageWithItsLinksAsOfflineAddresses) {
    const auto cat = test::runLark("cat " + dir.file("p.slk") + " " + page + " --task 1 --date 01-02-2026-03-04-05");
    ASSERT_EQ(cat.status, 0) << cat.output;
    EXPECT_EQ(cat.output.rfind("Content-Type: text/html\nAddress: " + page + "\n\n<html><body><a href=\"kiv:", 0), 0u)
        << cat.output;
    EXPECT_TRUE(test::contains(cat, ":01-02-2026-03-04-05:1:file://" + dir.file("next.html") + "\">next</a>"))
        << cat.output;
}

TEST_F(CatCommandTest, AMissingPageGetsItsStatusPageAndABadDateFails) {
    const auto queued = test::runLark("cat " + dir.file("p.slk") + " file://" + dir.file("missing.html"));
    EXPECT_EQ(queued.status, 0) << queued.output;
    EXPECT_TRUE(test::contains(queued, "The page is queued")) << queued.output;

    const auto badDate = test::runLark("cat " + dir.file("p.slk") + " " + page + " --date 2026-13-45");
    EXPECT_EQ(badDate.status, 1);
    EXPECT_TRUE(test::contains(badDate, "day-month-year-hour-minute-second")) << badDate.output;
    EXPECT_EQ(test::runLark("cat " + dir.file("none.slk") + " " + page).status, 1);
}

}  // namespace
