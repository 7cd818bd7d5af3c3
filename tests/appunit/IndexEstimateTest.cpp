#include "searches/IndexEstimate.h"

#include <gtest/gtest.h>

namespace {

TEST(IndexEstimateTest, StoredSpeedsCountOnlyAboveTheirFloor) {
    const IndexSpeeds fast = IndexSpeeds::fromStored(50000, 90000);
    EXPECT_EQ(fast.extractWordsPerSec, 50000u);
    EXPECT_EQ(fast.indexWordsPerSec, 90000u);
    const IndexSpeeds slow = IndexSpeeds::fromStored(7999, 29999);
    EXPECT_EQ(slow.extractWordsPerSec, 8000u);
    EXPECT_EQ(slow.indexWordsPerSec, 30000u);
    const IndexSpeeds edge = IndexSpeeds::fromStored(8000, 30000);
    EXPECT_EQ(edge.extractWordsPerSec, 8000u);
    EXPECT_EQ(edge.indexWordsPerSec, 30000u);
    // Never measured: extraction is taken as a little faster than its floor.
    const IndexSpeeds unknown = IndexSpeeds::fromStored(std::nullopt, std::nullopt);
    EXPECT_EQ(unknown.extractWordsPerSec, 10000u);
    EXPECT_EQ(unknown.indexWordsPerSec, 30000u);
}

TEST(IndexEstimateTest, TheTimeIsTheWordsAtBothSpeeds) {
    // 22 bytes a word: 660,000,000 bytes are 30,000,000 words, 3000 s to
    // extract at 10,000 a second and 1000 s to import at 30,000.
    EXPECT_EQ(estimatedIndexSeconds(660'000'000, {10000, 30000}), 4000u);
    EXPECT_EQ(estimatedIndexSeconds(21, {10000, 30000}), 0u);
    EXPECT_EQ(durationText(4000), "01:06:40");
    EXPECT_EQ(durationText(0), "00:00:00");
    EXPECT_EQ(durationText(100 * 3600 + 59), "100:00:59");
}

TEST(IndexEstimateTest, TheQuestionNamesTheTime) {
    EXPECT_EQ(indexQuestion(660'000'000, {10000, 30000}),
              "You have chosen to search for words in the text of web pages.\r\nTo use this capability, the "
              "program needs to index the database.\r\nThe estimated time to do it is 01:06:40.");
}

}  // namespace
