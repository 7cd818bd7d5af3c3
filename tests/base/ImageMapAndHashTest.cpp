#include <gtest/gtest.h>

#include "base/ImageMapCoordinates.h"
#include "base/UrlHash.h"

TEST(UrlHash, KnownValuesAndSignedBytes) {
    EXPECT_EQ(eng::urlHash(""), 0u);
    EXPECT_EQ(eng::urlHash("abc"), 108966u);
    EXPECT_EQ(eng::urlHash("a"), 97u);
    // A byte of 0xFF counts as -1.
    EXPECT_EQ(eng::urlHash("\xFF"), 0xFFFFFFFFu);
    EXPECT_EQ(eng::urlHash("a\xFF"), 97u * 33u - 1u);
}

TEST(ImageMapCoordinates, StripsOnlyATrailingButtonPairAfterAnotherParameter) {
    using eng::stripImageMapCoordinates;
    EXPECT_EQ(stripImageMapCoordinates("a=1&go.x=12&go.y=7"), "a=1");
    EXPECT_EQ(stripImageMapCoordinates("http://h/s?q=1&b.x=5&b.y=9"), "http://h/s?q=1");
    EXPECT_EQ(stripImageMapCoordinates("go.x=12&go.y=7"), "go.x=12&go.y=7");
    EXPECT_EQ(stripImageMapCoordinates("a=1&go.x=12&go.y=7&b=2"), "a=1&go.x=12&go.y=7&b=2");
    EXPECT_EQ(stripImageMapCoordinates("a=1&go.x=12&stop.y=7"), "a=1&go.x=12&stop.y=7");
    EXPECT_EQ(stripImageMapCoordinates("a=1&go.x=12&go.y="), "a=1");  // no digits at all still count
    EXPECT_EQ(stripImageMapCoordinates("a=1&go.x=12&go.y=7a"), "a=1&go.x=12&go.y=7a");
    EXPECT_EQ(stripImageMapCoordinates("plain text"), "plain text");
    EXPECT_EQ(stripImageMapCoordinates(""), "");
}
