#include "searches/SizeRangeText.h"

#include <gtest/gtest.h>

namespace {

void expectRange(const QString &text, int32_t min, int32_t max) {
    const std::optional<SizeRange> range = readSizeRange(text);
    ASSERT_TRUE(range) << text.toStdString();
    EXPECT_EQ(range->min, min) << text.toStdString();
    EXPECT_EQ(range->max, max) << text.toStdString();
}

TEST(SizeRangeTextTest, OneNumberIsTheMaximumTwoAreTheRangeNoneIsAnySize) {
    expectRange("5000", 0, 5000);
    expectRange(" 100 - 2000 ", 100, 2000);
    expectRange("7-7", 7, 7);
    expectRange("", 0, 2147483647);
    expectRange("   ", 0, 2147483647);
    expectRange("2147483647", 0, 2147483647);
}

TEST(SizeRangeTextTest, AnythingElseIsNoRange) {
    for (const char *text : {"abc", "10k", "-5", "5-", "1-2-3", "+5", "2000-100", "2147483648", "1.5", "1 2"})
        EXPECT_FALSE(readSizeRange(text)) << text;
}

TEST(SizeRangeTextTest, TheTextOfARangeReadsBackAsIt) {
    EXPECT_EQ(sizeRangeText({0, 2147483647}), "");
    EXPECT_EQ(sizeRangeText({0, 5000}), "5000");
    EXPECT_EQ(sizeRangeText({100, 2000}), "100-2000");
    for (const SizeRange range : {SizeRange{0, 2147483647}, SizeRange{0, 0}, SizeRange{3, 3}, SizeRange{1, 9}}) {
        const std::optional<SizeRange> back = readSizeRange(sizeRangeText(range));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->min, range.min);
        EXPECT_EQ(back->max, range.max);
    }
}

}  // namespace
