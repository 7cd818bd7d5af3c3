#include "views/SpeedSamples.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

int64_t sum(const SpeedSamples &samples) {
    return std::accumulate(samples.points().begin(), samples.points().end(), int64_t{0});
}

TEST(SpeedSamplesTest, TheFirstUpdateDrawsOneSecond) {
    SpeedSamples samples;
    EXPECT_EQ(samples.points().size(), size_t(SpeedSamples::kPoints));
    EXPECT_EQ(samples.average(), 0);
    samples.add(50'000, 3000);
    EXPECT_EQ(samples.points().back(), 3000);
    EXPECT_EQ(samples.points()[SpeedSamples::kPoints - 2], 0);
    EXPECT_EQ(samples.samples(), 1);
    EXPECT_EQ(samples.average(), 3000);
}

TEST(SpeedSamplesTest, AnUpdateFiveAndAHalfSecondsLaterDrawsFivePointsAndCarriesTheRest) {
    SpeedSamples samples;
    samples.add(10'000, 0);
    samples.add(15'500, 11000);
    // 11,000 bytes over 5.5 s: 10,000 drawn as five points of 2,000.
    for (int k = SpeedSamples::kPoints - 5; k < SpeedSamples::kPoints; ++k) EXPECT_EQ(samples.points()[k], 2000) << k;
    EXPECT_EQ(samples.points()[SpeedSamples::kPoints - 6], 0);
    EXPECT_EQ(sum(samples), 10000);
    // The half second left over goes into the next second.
    samples.add(16'000, 0);
    EXPECT_EQ(samples.points().back(), 1000);
    EXPECT_EQ(sum(samples), 11000);
}

TEST(SpeedSamplesTest, TheChartKeepsAHundredPointsAndTheAverageCountsOnlySamplesTaken) {
    SpeedSamples samples;
    for (int second = 1; second <= 150; ++second) samples.add(second * 1000, 500);
    EXPECT_EQ(samples.points().size(), size_t(SpeedSamples::kPoints));
    EXPECT_EQ(samples.samples(), SpeedSamples::kPoints);
    EXPECT_EQ(samples.average(), 500);
    samples.restartCount();
    samples.add(151'000, 500);
    EXPECT_EQ(samples.samples(), 1);
    samples.reset();
    EXPECT_EQ(sum(samples), 0);
    EXPECT_EQ(samples.average(), 0);
}

TEST(SpeedSamplesTest, ALongGapDrawsAtMostAHundredStepsAndAClockGoingBackDrawsNothing) {
    SpeedSamples samples;
    samples.add(1000, 100);
    samples.add(1000 + 500'000, 100'000);
    EXPECT_EQ(samples.points().size(), size_t(SpeedSamples::kPoints));
    EXPECT_EQ(samples.points().front(), samples.points().back());
    const auto before = samples.points();
    samples.add(100, 7000);
    EXPECT_EQ(samples.points(), before);
}

}  // namespace
