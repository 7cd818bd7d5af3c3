#include "sys/ErrorText.h"

#include <gtest/gtest.h>

#include <cctype>

using eng::errorText;

TEST(ErrorText, KnownCodes) {
    EXPECT_EQ(errorText(0), "Ok.");
    EXPECT_EQ(errorText(12002), "The operation timed out.");
    EXPECT_EQ(errorText(12017), "The operation has been canceled.");
    EXPECT_EQ(errorText(12029), "A connection with the server could not be established.");
    EXPECT_EQ(errorText(2), "No such file or directory");
}

TEST(ErrorText, UnknownCodes) {
    EXPECT_EQ(errorText(12035), "Unknown error");  // a gap in the Internet range
    EXPECT_EQ(errorText(12000), "Unknown error");
    EXPECT_EQ(errorText(99999), "Unknown error");
    EXPECT_EQ(errorText(0xFFFFFFFFu), "Unknown error");
}

TEST(ErrorText, NeverStartsOrEndsWithWhiteSpace) {
    for (uint32_t code = 0; code < 12300; ++code) {
        const std::string t = errorText(code);
        ASSERT_FALSE(t.empty()) << code;
        ASSERT_FALSE(std::isspace(static_cast<unsigned char>(t.front()))) << code;
        ASSERT_FALSE(std::isspace(static_cast<unsigned char>(t.back()))) << code;
    }
}
