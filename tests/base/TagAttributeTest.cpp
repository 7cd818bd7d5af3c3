#include "base/TagAttribute.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(TagAttribute, ValueInTagText) {
    struct Row {
        std::string tagText;
        std::optional<std::string> content;
    };
    const std::vector<Row> rows = {
        {"meta content=\"text/html; charset=koi8-r\"", "text/html; charset=koi8-r"},
        {"meta CONTENT = 'a b' ", "a b"},
        {"meta content=text/html; charset=koi8-r", "text/html;"},
        // "content" inside another attribute's value has no "=" after it.
        {"meta http-equiv=content-type content=x", "x"},
        {"meta content=\" \x01spaced\x7F \"", "spaced"},
        {"meta content=\"unterminated", std::nullopt},
        {"meta content=\"\"", std::nullopt},
        {"meta content=", std::nullopt},
        {"meta contents", std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.tagText);
        EXPECT_EQ(eng::tagAttributeValue(row.tagText, "content"), row.content);
    }
}

// Names are read whole, as browsers read them: a lazy loader's data-src is
// not the image's src, nor is "src=" written inside another value.
TEST(TagAttribute, NamesAreWholeAndValuesAreNotSearched) {
    struct Row {
        std::string tagText;
        std::optional<std::string> src;
    };
    const std::vector<Row> rows = {
        {"img data-src=\"lazy.png\" src=\"real.png\"", "real.png"},
        {"img srcset=\"a.png 2x\" src=b.png", "b.png"},
        {"img alt=\"src=alt.png\" title=\"it's src=t.png\" src=real.png", "real.png"},
        {"img alt=\"x\"src=\"glued.png\"", "glued.png"},
        {"img/src=slashed.png", "slashed.png"},
        {"img SRC = 'first.png' src=second.png", "first.png"},
        {"img src data-x=1 src=late.png", "late.png"},
        {"img alt=\"unclosed src=x.png", std::nullopt},
        {"img =src=odd.png", std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.tagText);
        EXPECT_EQ(eng::tagAttributeValue(row.tagText, "src"), row.src);
    }
}

TEST(TagAttribute, FirstMatchingTagOutsideComments) {
    struct Row {
        std::string page;
        std::optional<std::string> content;
    };
    const std::vector<Row> rows = {
        {"<html><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\"></html>", "text/html"},
        {"<meta http-equiv=refresh content=5><meta http-equiv=content-type content=a>", "a"},
        {"<meta http-equiv=content-type content=a><meta http-equiv=content-type content=b>", "a"},
        {"<!-- <meta http-equiv=content-type content=a> --><meta http-equiv=content-type content=b>", "b"},
        {"<metadata http-equiv=content-type-x content=a>", "a"},
        {"<link http-equiv=content-type content=a>", std::nullopt},
        {"<meta http-equiv=content-type>", std::nullopt},
        {"<!-- <meta http-equiv=content-type content=a>", std::nullopt},
        {"<p <meta http-equiv=content-type content=a", std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(eng::findTagAttribute(row.page, "meta", "http-equiv", "content-type", "content"), row.content);
    }
}
