#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "client/RecordBuffer.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ScriptedHttpServer.h"
#include "support/TaskRecords.h"

using namespace std::chrono_literals;

namespace {

struct Resource {
    uint32_t id = 0;
    int32_t status = 0;
    std::string url;
};

// The URL resource of an (empty item, resource) answer, strings released.
std::optional<Resource> resourceIn(eng::client::EngineBuffer buffer) {
    const eng::client::RecordBuffer<eng::client::ItemResource> pairs(std::move(buffer));
    if (pairs.bytes().empty()) return std::nullopt;
    EXPECT_EQ(pairs.bytes().size(), sizeof(eng::client::ItemResource));
    const auto pair = pairs.first();
    if (!pair) return std::nullopt;
    return Resource{pair->resource.id, pair->resource.status, eng::client::text(pair->resource.url)};
}

std::optional<Resource> byUrl(const std::string &url, uint32_t task = 0, double date = 0) {
    return resourceIn(eng::client::receive(Eng_FreeMem, Eng_GetItemFromUrl, url.c_str(), "", task, date));
}

std::optional<Resource> byId(uint32_t id) {
    return resourceIn(eng::client::receive(Eng_FreeMem, Eng_GetItemFromUrlResID, id));
}

// The counted text of a source answer.
std::string source(uint32_t id) {
    const eng::client::EngineBuffer answer = eng::client::receive(Eng_FreeMem, Eng_GetSource, id);
    const auto size = eng::client::recordAt<uint32_t>(answer.bytes(), 0);
    if (!size) return "(none)";
    const auto text = answer.bytes().subspan(sizeof *size);
    return std::string(reinterpret_cast<const char *>(text.data()), std::min<size_t>(*size, text.size()));
}

// A project with two fetched pages: one stored, one missing (404).
class BrowserLookups : public ::testing::Test {
protected:
    void SetUp() override {
        server.answer(test::httpResponse(200, "OK", "<html>stored page</html>", {"Content-Type: text/html"}));
        server.answer(test::httpResponse(404, "Not Found", "gone", {"Content-Type: text/html"}));
        const std::string pageUrl = server.url("/page.html"), missingUrl = server.url("/missing.html");
        EngTaskRecord first = test::taskInput(pageUrl.c_str(), 0);
        stored = static_cast<uint32_t>(Eng_CreateTask(&first));
        ASSERT_EQ(Eng_Run(), 0);
        ASSERT_TRUE(server.waitForRequests(1, 5s));
        EngTaskRecord second = test::taskInput(missingUrl.c_str(), 0);
        missing = static_cast<uint32_t>(Eng_CreateTask(&second));
        for (int i = 0; i < 1000 && (test::taskById(stored).raw.state != ENG_TASK_COMPLETE ||
                                     test::taskById(missing).raw.state != ENG_TASK_COMPLETE);
             ++i)
            std::this_thread::sleep_for(5ms);
        ASSERT_EQ(test::taskById(missing).raw.state, ENG_TASK_COMPLETE);
        ASSERT_EQ(Eng_Stop(), 0);
    }

    test::ScriptedHttpServer server;
    test::OpenProject project;
    uint32_t stored = 0, missing = 0;
};

TEST_F(BrowserLookups, AnAddressIsFoundWithOrWithoutItsTaskAndSoIsItsSource) {
    const auto page = byUrl(server.url("/page.html"));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->url, server.url("/page.html"));
    EXPECT_EQ(byUrl(server.url("/page.html"), stored)->id, page->id);
    EXPECT_EQ(byUrl(server.url("/page.html#anchor"), 0, 50000.0)->id, page->id);  // canonical, closest to a date
    EXPECT_EQ(byId(page->id)->url, page->url);
    EXPECT_EQ(source(page->id), "<html>stored page</html>");

    EXPECT_FALSE(byUrl(server.url("/never.html")));
    EXPECT_FALSE(byUrl("not an address"));
    EXPECT_FALSE(byId(999));
    EXPECT_EQ(source(999), "(none)");
}

TEST_F(BrowserLookups, RefreshQueuesOnlyAFailedResourceAgain) {
    EXPECT_EQ(Eng_RefreshUrlRes2(stored, server.url("/page.html").c_str(), "", 0), 0);     // stored fine
    EXPECT_EQ(Eng_RefreshUrlRes2(stored, server.url("/missing.html").c_str(), "", 0), 0);  // not that task's
    EXPECT_EQ(Eng_RefreshUrlRes2(missing, server.url("/missing.html").c_str(), "", 0), 1);
    EXPECT_EQ(test::taskById(missing).raw.queued, 1u);
    EXPECT_EQ(test::taskById(missing).raw.state, ENG_TASK_ACTIVE);
    EXPECT_EQ(Eng_RefreshUrlRes2(0, server.url("/nowhere.html").c_str(), "", 0), 0);
}

}  // namespace
