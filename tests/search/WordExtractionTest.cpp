#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/BodyText.h"
#include "search/WordSplitter.h"

namespace eng {
namespace {

using Words = std::vector<std::string>;

const WordSplitter &splitter() {
    static const WordSplitter s({"the", "s", "2", "a", "and", "of"});
    return s;
}

Words wordsOfPage(std::string_view contentType, std::string_view body) {
    return splitter().words(bodyText(contentType, body));
}

TEST(WordExtractionTest, TagsBecomeBlanksAndReferencesAreDecodedBeforeSplitting) {
    EXPECT_EQ(wordsOfPage("text/html", "The Cat's 2 <b>dogs</b>&amp;CATS"), (Words{"cat", "dogs", "cats"}));
    EXPECT_EQ(wordsOfPage("text/html", "one<br>two<p> three"), (Words{"one", "two", "three"}));
    EXPECT_EQ(wordsOfPage("text/html", "&lt;tag&gt;"), (Words{"tag"}));
}

TEST(WordExtractionTest, ScriptAndStyleBlocksAreDroppedWhatEverTheirCase) {
    EXPECT_EQ(wordsOfPage("text/html", "before<SCRIPT>var hidden=1;</Script>>after"), (Words{"before", "after"}));
    EXPECT_EQ(wordsOfPage("text/html", "x<style>p{color:red}</style>\ny"), (Words{"x", "y"}));
    EXPECT_EQ(wordsOfPage("text/html", "kept<script>never closed"), (Words{"kept"}));
}

TEST(WordExtractionTest, OnlyLatinCapitalsAreLowercased) {
    EXPECT_EQ(splitter().words("\xC3\x89t\xC3\xA9 CAF\xC3\x89"), (Words{"\xC3\x89t\xC3\xA9", "caf\xC3\x89"}));
}

TEST(WordExtractionTest, NoBreakSpaceSeparatesWordsWrittenOrReferenced) {
    EXPECT_EQ(wordsOfPage("text/html; charset=utf-8", "left&nbsp;right"), (Words{"left", "right"}));
    EXPECT_EQ(splitter().words("left\xC2\xA0right"), (Words{"left", "right"}));
    // Latin-1 bytes recoded to UTF-8 give the same two bytes.
    EXPECT_EQ(wordsOfPage("text/html; charset=iso-8859-1", "left\xA0right"), (Words{"left", "right"}));
}

TEST(WordExtractionTest, NonLatinWordsAreKeptWhole) {
    std::string russian = "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";  // "привет"
    EXPECT_EQ(splitter().words("hello " + russian + "!"), (Words{"hello", russian}));
    EXPECT_EQ(wordsOfPage("text/html; charset=windows-1251", "\xEF\xF0\xE8\xE2\xE5\xF2"), (Words{russian}));
}

TEST(WordExtractionTest, LongWordsKeepTheirFirstTwentyCharacters) {
    EXPECT_EQ(splitter().words("abcdefghijklmnopqrstuvwxyz"), (Words{"abcdefghijklmnopqrst"}));
    std::string cyrillic;
    for (int i = 0; i < 25; ++i) cyrillic += "\xD0\xB6";
    Words cut = splitter().words(cyrillic);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), 40u);  // twenty two-byte characters, none split
}

TEST(WordExtractionTest, NoiseWordsAndDelimitersGiveNoWords) {
    EXPECT_TRUE(splitter().words("The and of a 2 s").empty());
    EXPECT_TRUE(splitter().words(std::string("\x01\x1F\x7F .,;-_=+&") + '\0').empty());
    EXPECT_EQ(splitter().words(std::string("nul\0split", 9)), (Words{"nul", "split"}));
}

}  // namespace
}  // namespace eng
