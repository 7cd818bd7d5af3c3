#include "ProjectStatistics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "engine.h"
#include "net/NetworkSettings.h"
#include "support/ConnectionProperties.h"
#include "support/Eventually.h"
#include "support/NginxServer.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TaskRecords.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;

namespace {

eng::client::ProjectStatistics statistics() {
    const auto answer = eng::client::readProjectStatistics(Eng_GetStatistics, Eng_FreeMem);
    EXPECT_TRUE(answer.has_value());
    return answer.value_or(eng::client::ProjectStatistics{});
}

void writeFile(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Restores the process-wide network settings that a project's properties set.
class ProjectStatisticsCrawl : public ::testing::Test {
protected:
    ~ProjectStatisticsCrawl() override { eng::NetworkSettings::set(saved_); }
    eng::NetworkSettings saved_ = eng::NetworkSettings::current();
};

}  // namespace

TEST(ProjectStatistics, ANewProjectHasNoTimeAndNoBodies) {
    test::OpenProject project;
    const auto empty = statistics();
    EXPECT_EQ(empty.onlineDays, 0.0);
    EXPECT_TRUE(empty.types.empty());
    Eng_CloseProject();
    void *address = &address;
    uint32_t length = 7;
    Eng_GetStatistics(&address, &length);  // no project: the cells stay as they were
    EXPECT_EQ(address, &address);
    EXPECT_EQ(length, 7u);
}

// A page of 1000 bytes with three images: two of different content and a
// second address of the first, fetched again but stored once. The online
// time grows while the project runs and reaches the file when it stops.
TEST_F(ProjectStatisticsCrawl, BodiesAreCountedOncePerTypeAndTheOnlineTimeIsStoredWhenTheRunStops) {
    test::TempDir site;
    const std::string links = R"(<img src="a.gif"><img src="b.gif"><img src="a.gif?again">)";
    writeFile(site.file("page.html"), links + std::string(1000 - links.size(), ' '));
    writeFile(site.file("a.gif"), "GIF89aAAAA");
    writeFile(site.file("b.gif"), "GIF89aBBBB");
    test::NginxServer nginx(site.path());
    test::OpenProject project;
    ASSERT_TRUE(test::setConnectionProperties(4, 4, 0));
    const std::string start = nginx.url("/page.html");
    EngTaskRecord task = test::taskInput(start.c_str(), 1);
    const uint32_t taskId = static_cast<uint32_t>(Eng_CreateTask(&task));

    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(test::eventually([&] { return test::taskById(taskId).raw.state == ENG_TASK_COMPLETE; }));
    const double earlier = statistics().onlineDays;
    std::this_thread::sleep_for(20ms);
    const auto running = statistics();
    EXPECT_GT(earlier, 0.0);
    EXPECT_GT(running.onlineDays, earlier);
    EXPECT_EQ(running.types, (std::vector<eng::client::TypeFigures>{{1, 1, 1000}, {2, 2, 20}}));

    ASSERT_EQ(Eng_Stop(), 0);
    const double stopped = statistics().onlineDays;
    EXPECT_GE(stopped, running.onlineDays);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(statistics().onlineDays, stopped);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM UrlRes WHERE State = 2"), 4);
    EXPECT_NEAR(std::stod(test::queryText(project.path(), "SELECT OnlineTime FROM Project")), stopped, 1e-12);
}
