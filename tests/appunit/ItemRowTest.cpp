#include "items/ItemRow.h"

#include <gtest/gtest.h>

#include "views/TaskRow.h"

namespace {

EngUrlResRecord resource(uint32_t id, uint8_t state, uint32_t error, int32_t type) {
    EngUrlResRecord record{};
    record.id = id;
    record.state = state;
    record.error = error;
    record.type = type;
    record.status = 404;
    record.errorText = const_cast<char *>("Ok.");
    record.title = const_cast<char *>("Title");
    record.contentType = const_cast<char *>("text/html");
    return record;
}

TEST(ItemRowTest, ACompleteResourceShowsOkOrErrorByItsErrorFlag) {
    const EngItemRecord item{7, 3, 2, 45000.5, 0};
    const ItemRow ok = ItemRow::fromRecords(item, resource(9, ENG_STATE_DONE, 0, 1));
    EXPECT_EQ(ok.state, TaskRow::Ok);
    EXPECT_EQ(ok.result, "Ok.");
    EXPECT_EQ(ok.item, 7u);
    EXPECT_EQ(ok.task, 3u);
    EXPECT_EQ(ok.level, 2);
    const ItemRow failed = ItemRow::fromRecords(item, resource(9, ENG_STATE_DONE, 1, 1));
    EXPECT_EQ(failed.state, TaskRow::Failed);
    EXPECT_EQ(failed.result, "Not Found");
    EXPECT_TRUE(failed.retrieved());
    EXPECT_EQ(ItemRow::fromRecords(item, resource(9, ENG_STATE_QUEUED, 0, 1)).state, TaskRow::Queued);
}

TEST(ItemRowTest, AnItemWithoutResourceShowsNotAvailable) {
    const ItemRow row = ItemRow::fromRecords(EngItemRecord{7, 3, 0, 0, 0}, EngUrlResRecord{});
    EXPECT_FALSE(row.hasResource());
    for (const QString &text :
         {row.caption(), row.contentTypeText(), row.modifiedText(), row.completedText(), row.resultText()})
        EXPECT_EQ(text, "n/a");
    const ItemRow stored = ItemRow::fromRecords(EngItemRecord{7, 3, 0, 0, 0}, resource(9, ENG_STATE_DONE, 0, 1));
    EXPECT_EQ(stored.modifiedText(), "n/a");  // no date given
    EXPECT_EQ(stored.caption(), "Title");
}

TEST(ItemRowTest, TypesFallUnderTheirFilterBits) {
    const std::pair<int32_t, uint32_t> bits[] = {{0, 32}, {1, 1}, {2, 2}, {3, 4}, {4, 8}, {5, 32}, {6, 16}, {77, 32}};
    for (auto [type, bit] : bits)
        EXPECT_EQ(ItemRow::fromRecords(EngItemRecord{}, resource(1, ENG_STATE_DONE, 0, type)).typeBit(), bit) << type;
}

}  // namespace
