#include <gtest/gtest.h>

#include "store/StringRef.h"
#include "support/TableFixture.h"

using eng::StringKind;

namespace {

struct Strings : test::TableFixture {
    eng::CStrTable &table() { return tables->strings; }
    int64_t rows() { return scalar("SELECT count(*) FROM Strings"); }
    int64_t chunks() { return scalar("SELECT count(*) FROM StrChunks"); }
};

}  // namespace

TEST(StringTable, InterningFindsTheSameStringOnce) {
    Strings s;
    const uint32_t a = s.table().intern("http://example.com/", StringKind::Url, true);
    EXPECT_NE(a, 0u);
    EXPECT_EQ(s.table().intern("http://example.com/", StringKind::Url, true), a);
    EXPECT_EQ(s.rows(), 1);
    // The same text under another kind is another string.
    const uint32_t note = s.table().intern("http://example.com/", StringKind::Note, true);
    EXPECT_NE(note, a);
    EXPECT_EQ(s.table().intern("", StringKind::Url, true), 0u);
    EXPECT_EQ(s.table().intern("http://unknown/", StringKind::Url, false), 0u);
    EXPECT_EQ(s.rows(), 2);
    EXPECT_EQ(s.scalar("SELECT RefCount FROM Strings WHERE StrId = " + std::to_string(a)), 0);
    EXPECT_EQ(s.scalar("SELECT Hash FROM Strings WHERE StrId = " + std::to_string(a)),
              eng::CStrTable::hashOf("http://example.com/"));
}

TEST(StringTable, ImageButtonCoordinatesDoNotMakeANewString) {
    Strings s;
    const uint32_t first = s.table().intern("http://h/s?q=1&b.x=5&b.y=9", StringKind::Url, true);
    EXPECT_EQ(s.table().intern("http://h/s?q=1&b.x=40&b.y=2", StringKind::Url, true), first);
    EXPECT_EQ(s.table().intern("http://h/s?q=1", StringKind::Url, false), first);
    EXPECT_EQ(s.table().textOf(first), "http://h/s?q=1&b.x=5&b.y=9");  // as first interned
    EXPECT_NE(s.table().intern("http://h/s?q=2&b.x=5&b.y=9", StringKind::Url, true), first);
}

TEST(StringTable, LongTextsContinueInChunks) {
    Strings s;
    struct Case {
        size_t length;
        std::vector<size_t> chunkSizes;
    } cases[] = {{255, {}}, {256, {1}}, {305, {50}}, {356, {50, 50, 1}}};
    for (const Case &c : cases) {
        std::string text(c.length, 'a');
        text.back() = 'z';
        text[0] = static_cast<char>('0' + c.length % 10);
        const uint32_t key = s.table().intern(text, StringKind::FormData, true);
        EXPECT_EQ(s.table().textOf(key), text) << c.length;
        std::vector<size_t> sizes;
        for (const auto &chunk : s.tables->strChunks.chunksOf(key)) sizes.push_back(chunk.value.size());
        EXPECT_EQ(sizes, c.chunkSizes) << c.length;
        EXPECT_EQ(s.table().intern(text, StringKind::FormData, false), key);
    }
    // Multi-byte characters are never split between row and chunks.
    std::string wide;
    while (wide.size() < 400) wide += "\xC3\xA9";  // é
    const uint32_t key = s.table().intern(wide, StringKind::Note, true);
    EXPECT_EQ(s.table().textOf(key), wide);
    // A note of three-byte characters up to the cap takes more than 256
    // chunks, which come back in their order.
    std::string note;
    for (int i = 0; note.size() + 3 <= eng::CStrTable::kMaxLength; ++i) note += i % 2 ? "\xE2\x82\xAC" : "\xE6\x97\xA5";
    const uint32_t noteKey = s.table().intern(note, StringKind::Note, true);
    EXPECT_GT(s.tables->strChunks.chunksOf(noteKey).size(), 256u);
    EXPECT_EQ(s.table().textOf(noteKey), note);
    // Beyond the cap, the text is kept cut.
    const std::string huge(20000, 'h');
    const uint32_t big = s.table().intern(huge, StringKind::FormData, true);
    EXPECT_EQ(s.table().textOf(big), huge.substr(0, eng::CStrTable::kMaxLength));
}

TEST(StringTable, ReleasingTheLastReferenceDeletesRowAndChunks) {
    Strings s;
    const std::string text(356, 'x');
    const uint32_t key = s.table().intern(text, StringKind::Url, true);
    s.table().addReference(key);
    EXPECT_EQ(s.table().find(int64_t{key})->refCount, 1u);
    s.table().addReference(key);
    EXPECT_EQ(s.table().find(int64_t{key})->refCount, 2u);
    EXPECT_EQ(s.table().release(key), 1u);
    EXPECT_EQ(s.chunks(), 3);
    EXPECT_EQ(s.table().release(key), 0u);
    EXPECT_EQ(s.rows(), 0);
    EXPECT_EQ(s.chunks(), 0);
    EXPECT_EQ(s.table().textOf(key), "");
    const uint32_t again = s.table().intern(text, StringKind::Url, true);
    EXPECT_NE(again, key);  // a new key, never the old one
    s.table().addReference(0);
    s.table().addReference(999);
    EXPECT_EQ(s.rows(), 1);  // no row made for either
    EXPECT_EQ(s.table().find(int64_t{again})->refCount, 0u);
    EXPECT_EQ(s.table().release(0), 0u);
    EXPECT_EQ(s.table().release(999), 0u);
}

TEST(StringRef, TrimsAllButAddressesAndFormDataAndMovesReferences) {
    Strings s;
    eng::StringRef note(s.table(), StringKind::Note);
    note.setText("  my note \n");
    EXPECT_EQ(note.text(), "my note");
    eng::StringRef url(s.table(), StringKind::Url);
    url.setText(" http://a/ ");
    EXPECT_EQ(url.text(), " http://a/ ");

    const uint32_t stored = note.replaceStored(0);
    EXPECT_EQ(s.scalar("SELECT RefCount FROM Strings WHERE StrId = " + std::to_string(stored)), 1);
    EXPECT_EQ(note.replaceStored(stored), stored);  // unchanged: no reference moves
    EXPECT_EQ(s.scalar("SELECT RefCount FROM Strings WHERE StrId = " + std::to_string(stored)), 1);
    note.setText("another note");
    const uint32_t changed = note.replaceStored(stored);
    EXPECT_NE(changed, stored);
    EXPECT_EQ(s.scalar("SELECT count(*) FROM Strings WHERE StrId = " + std::to_string(stored)), 0);

    eng::StringRef loaded(s.table(), StringKind::Note, changed);
    EXPECT_EQ(loaded.text(), "another note");
    EXPECT_EQ(loaded.key(), changed);
}
