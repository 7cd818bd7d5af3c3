#include "base/Charset.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using eng::CharsetIndex;

TEST(CharsetNames, ExactNamesInTableOrder) {
    struct Row {
        std::string name;
        CharsetIndex charset;
    };
    const std::vector<Row> rows = {
        {"koi8-r", CharsetIndex::Koi8R},
        {"koi", CharsetIndex::Koi8R},
        {"win", CharsetIndex::Windows1251},
        {"cp-1251", CharsetIndex::Windows1251},
        {"alt", CharsetIndex::Cp866},
        {"866", CharsetIndex::Cp866},
        {"cyrillic", CharsetIndex::Iso8859_5},
        {"iso-ir-144", CharsetIndex::Iso8859_5},
        {"x-mac-cyrillic", CharsetIndex::MacCyrillic},
        {"windows1250", CharsetIndex::Windows1250},
        {"ISO-8859-1", CharsetIndex::Iso8859_1},
        {"iso8859.1", CharsetIndex::Iso8859_1},
        {"iso_8859-2:1988", CharsetIndex::Iso8859_2},
        // Letter case counts, and only the names listed select a charset.
        {"Windows-1251", CharsetIndex::Unknown},
        {"KOI8-R", CharsetIndex::Unknown},
        {"iso-8859-5", CharsetIndex::Unknown},
        {"utf-8", CharsetIndex::Unknown},
        {"koi8-r ", CharsetIndex::Unknown},
        {"", CharsetIndex::Unknown},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(eng::charsetOfName(row.name), row.charset);
    }
}

TEST(CharsetNames, DeclaredByTheRestAfterCharsetEquals) {
    struct Row {
        std::string contentType;
        std::optional<CharsetIndex> charset;
    };
    const std::vector<Row> rows = {
        {"text/html", std::nullopt},
        {"text/html; charset=koi8-r", CharsetIndex::Koi8R},
        {"text/html;charset=x-cp1251", CharsetIndex::Windows1251},
        {"text/html; Charset=cp866", CharsetIndex::Cp866},
        {"text/html; charset=koi8-r; format=flowed", CharsetIndex::Unknown},
        {"text/html; charset=\"koi8-r\"", CharsetIndex::Unknown},
        {"text/html; charset=", CharsetIndex::Unknown},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.contentType);
        EXPECT_EQ(eng::declaredCharset(row.contentType), row.charset);
    }
}
