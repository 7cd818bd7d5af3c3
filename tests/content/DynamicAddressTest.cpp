#include "content/DynamicAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DynamicAddress, MoreThanSevenDigitsOutsideImages) {
    struct Row {
        std::string url;
        bool dynamic;
    };
    const std::vector<Row> rows = {
        {"http://h/12345678.gif", false},      {"http://h/12345678.asp", true},
        {"http://h/1234567.asp", false},       {"http://h/a.asp?id=12345678", true},
        {"http://h/a.GIF?id=12345678", false}, {"http://h/1234/5678.jpg", false},
        {"http://h/1234/5678/x", true},        {"http://h/a.asp#12345678", false},
        {"http://12345678.com/x.asp", false},  {"http://h:8080/123456.asp", false},
        {"not a url 12345678", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(eng::isDynamicAddress(row.url), row.dynamic);
    }
}
