#include "net/HttpDate.h"

#include <gtest/gtest.h>

#include "net/DownloadRecord.h"

using eng::parseHttpDate;

TEST(HttpDate, BothFormsGiveTheSameWallClockTime) {
    auto rfc1123 = parseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT");
    auto rfc850 = parseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT");
    ASSERT_TRUE(rfc1123);
    ASSERT_TRUE(rfc850);
    EXPECT_DOUBLE_EQ(*rfc1123, *rfc850);
    // 1994-11-06 is day 34644 after 30 December 1899.
    EXPECT_NEAR(*rfc1123, 34644 + (8 * 3600 + 49 * 60 + 37) / 86400.0, 1e-9);
    EXPECT_EQ(eng::formatHttpDate(*rfc1123), "Sun, 06 Nov 1994 08:49:37 GMT");
}

TEST(HttpDate, DatesOfThisCenturyAreAccepted) {
    // Years after 2020 carry every Last-Modified header sent today.
    auto recent = parseHttpDate("Wed, 09 Dec 2026 07:58:00 GMT");
    ASSERT_TRUE(recent);
    EXPECT_EQ(eng::formatHttpDate(*recent), "Wed, 09 Dec 2026 07:58:00 GMT");
    EXPECT_TRUE(parseHttpDate("Fri, 01 Jan 2094 00:00:00 GMT"));
    EXPECT_FALSE(parseHttpDate("Thu, 31 Dec 1969 23:59:59 GMT"));
}

TEST(HttpDate, MalformedDatesAreRefused) {
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 1994 24:00:00 GMT"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 1994 08:60:00 GMT"));
    EXPECT_FALSE(parseHttpDate("Sun, 32 Nov 1994 08:00:00 GMT"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 94"));
    EXPECT_FALSE(parseHttpDate("yesterday"));
    EXPECT_FALSE(parseHttpDate(""));
    // An unknown month name reads as January.
    EXPECT_EQ(eng::formatHttpDate(*parseHttpDate("Sun, 06 Foo 1994 08:49:37 GMT")).substr(5, 11), "06 Jan 1994");
    // A bare number is seconds, from 1970 or, when relative, from now.
    EXPECT_NEAR(*parseHttpDate("86400"), 25570.0, 1e-9);
    EXPECT_GT(*parseHttpDate("60", true), eng::now());
}

TEST(DownloadOutcome, NetworkErrorsAndFailures) {
    eng::DownloadRecord r;
    r.url = "http://h/";
    r.statusCode = 200;
    r.contentLength = 10;
    r.body.assign(std::string(10, 'x'));
    EXPECT_FALSE(r.networkError());
    r.body.assign(std::string(4, 'x'));
    EXPECT_TRUE(r.networkError());  // cut short
    r.statusCode = 406;
    EXPECT_FALSE(r.networkError());
    EXPECT_TRUE(r.failed());
    r.statusCode = 0;
    EXPECT_TRUE(r.networkError());  // no response
    r.url = "ftp://h/f";
    r.contentLength = 0;
    EXPECT_FALSE(r.networkError());
    r.errorCode = 12029;
    EXPECT_TRUE(r.networkError());
    r.aborted = 1;
    EXPECT_FALSE(r.networkError());
    EXPECT_TRUE(r.failed());
}
