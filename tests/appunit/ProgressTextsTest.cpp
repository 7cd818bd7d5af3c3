#include "views/ProgressTexts.h"

#include <gtest/gtest.h>

namespace {

DownloadProgress download(uint32_t received, uint32_t contentLength, uint32_t resumeOffset = 0) {
    DownloadProgress progress;
    progress.received = received;
    progress.contentLength = contentLength;
    progress.resumeOffset = resumeOffset;
    return progress;
}

TEST(ProgressTextsTest, AResumedDownloadCountsTheBytesKeptFromBefore) {
    const DownloadProgress resumed = download(500, 2000, 1000);
    EXPECT_EQ(receivedText(resumed), "1,500");
    EXPECT_EQ(sizeText(resumed), "3,000");
    EXPECT_EQ(percentText(resumed), "50%");
}

TEST(ProgressTextsTest, WithoutALengthSizeAndPercentageAreNotAvailable) {
    const DownloadProgress unknown = download(123456, 0);
    EXPECT_EQ(receivedText(unknown), "123,456");
    EXPECT_EQ(sizeText(unknown), "n/a");
    EXPECT_EQ(percentText(unknown), "n/a");
}

TEST(ProgressTextsTest, PercentagesRoundAndLargeCountsDoNotOverflow) {
    EXPECT_EQ(percentText(download(1, 3)), "33%");
    EXPECT_EQ(percentText(download(2, 3)), "67%");
    EXPECT_EQ(percentText(download(0, 10)), "0%");
    const DownloadProgress huge = download(4'000'000'000u, 4'000'000'000u, 4'000'000'000u);
    EXPECT_EQ(receivedText(huge), "8,000,000,000");
    EXPECT_EQ(percentText(huge), "100%");
}

TEST(ProgressTextsTest, RetrievedBytesTurnIntoKilobytesFrom10240) {
    EXPECT_EQ(retrievedBytesText(0), "0");
    EXPECT_EQ(retrievedBytesText(10239), "10,239");
    EXPECT_EQ(retrievedBytesText(10240), "10 Kb");
    EXPECT_EQ(retrievedBytesText(2'000'000'000u), "1,953,125 Kb");
}

TEST(ProgressTextsTest, SpansShowAsHoursMinutesSeconds) {
    EXPECT_EQ(elapsedText(0), "00:00:00");
    EXPECT_EQ(elapsedText(3725), "01:02:05");
    EXPECT_EQ(elapsedText(-5), "00:00:00");
    EXPECT_EQ(elapsedText(100 * 3600 + 1), "100:00:01");
}

}  // namespace
