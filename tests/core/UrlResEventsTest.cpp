#include <gtest/gtest.h>

#include "client/RecordBuffer.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"
#include "support/OpenProject.h"

using namespace std::chrono_literals;
using eng::DispatchContext;

namespace {

struct Notice {
    uint8_t action;
    EngItemRecord item;
    uint32_t id, state, status, error;
    std::string url, errorText;
};

// The URL resource notifications posted so far (statistics are skipped).
std::vector<Notice> urlResNotices(lark::WindowQueue &window) {
    std::vector<Notice> out;
    while (auto p = window.take(0ms)) {
        if (p->msg == ENG_NOTIFY_URLRES) {
            EXPECT_EQ(p->wParam, sizeof(eng::client::ResourceNotification));
            const auto notification = eng::client::recordAt<eng::client::ResourceNotification>(
                eng::client::notificationPayload(p->msg, p->wParam, p->lParam), 0);
            if (notification) {
                const EngUrlResRecord r = notification->resource;
                out.push_back({notification->action, notification->item, r.id, r.state, static_cast<uint32_t>(r.status),
                               r.error, eng::client::text(r.url), eng::client::text(r.errorText)});
            }
        }
    }
    return out;
}

// A command whose handler walks one resource through a series of states.
eng::CommandTable lifeOfAResource() {
    eng::CommandTable table = eng::defaultCommandTable();
    table.set(eng::msg::kGetStatistics, {[](DispatchContext &c) {
                  auto &t = c.engine.tables();
                  eng::UrlResRow row = t.urlRes.make(t.strings.intern("http://h/", eng::StringKind::Url, true), 0);
                  row.state = 3;
                  t.urlRes.insert(row);  // queued +1, no notice
                  row.state = 4;
                  t.urlRes.update(row);  // no counter rule; a notice
                  row.state = 2;
                  row.error = true;
                  row.statusCode = eng::kStatusUnchanged;
                  row.lastError = 12002;
                  t.urlRes.update(row);  // done +1, queued -1, errors +1
                  row.state = 3;
                  row.error = false;
                  t.urlRes.update(row);            // queued +1, errors -1
                  t.urlRes.release(row.urlResId);  // queued -1, deleting notice
                  eng::MemoryStream &out = c.answer();
                  out.writeRecord(c.engine.progress().snapshot());
                  return intptr_t{0};
              }});
    return table;
}

}  // namespace

TEST(UrlResEvents, CountersFollowEveryChangeAndTheApplicationHearsOfIt) {
    test::OpenProject project(lifeOfAResource());
    ASSERT_EQ(project.openResult(), 0);
    const auto statistics = eng::client::receiveRecords<EngStatisticsRecord>(Eng_FreeMem, Eng_GetStatistics);
    ASSERT_EQ(statistics.bytes().size(), sizeof(EngStatisticsRecord));
    const EngStatisticsRecord counts = statistics.at(0);
    // The records are packed: "+" compares a copy of a field, which a reference could not reach aligned.
    EXPECT_EQ(+counts.queued, 0u);
    EXPECT_EQ(+counts.done, 1u);
    EXPECT_EQ(+counts.errors, 0u);

    auto notices = urlResNotices(project.notifications());
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0].action, ENG_URLRES_CHANGED);
    EXPECT_EQ(notices[0].state, 4u);
    EXPECT_EQ(notices[0].url, "http://h/");
    EXPECT_EQ(+notices[0].item.item, 0u);  // an empty item
    EXPECT_EQ(notices[1].state, 2u);
    EXPECT_EQ(notices[1].error, 1u);
    EXPECT_EQ(notices[1].errorText, "Ok.");  // status 499 reads as no error, whatever the last error
    EXPECT_EQ(notices[3].action, ENG_URLRES_DELETING);
    EXPECT_EQ(notices[3].state, 3u);
}
