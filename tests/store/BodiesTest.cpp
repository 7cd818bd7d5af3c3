#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"
#include "support/TableFixture.h"

namespace {

std::vector<uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

const std::string kPage = "<html><body><a href=\"x.html\">x</a></body></html>";

// A body store whose pages each link to two fixed addresses.
struct Bodies : test::TableFixture {
    Bodies() {
        res().setLinkExtractor([](const eng::ByteSource &, const std::string &url, const std::string &,
                                  const std::vector<eng::PageLink> *) {
            return std::vector<eng::Link>{{0, url + "x.html", ""}, {1, "http://example.com/logo.gif", ""}};
        });
    }
    eng::CResTable &res() { return tables->res; }
    int64_t count(const std::string &table) { return scalar("SELECT count(*) FROM \"" + table + "\""); }
};

}  // namespace

TEST(Bodies, IdenticalFilesAreStoredOnceAndGoWithTheirLastUser) {
    Bodies b;
    auto first =
        b.res().storeFetched(eng::MemoryBytes(bytes("GIF89a-image-bytes")), "image/gif", "http://a.example/logo.gif");
    auto second =
        b.res().storeFetched(eng::MemoryBytes(bytes("GIF89a-image-bytes")), "image/gif", "http://b.example/logo.gif");
    EXPECT_EQ(first.key, second.key);
    EXPECT_EQ(first.type, 2);  // GIF
    EXPECT_EQ(b.count("Res"), 1);
    b.res().addReference(first.key);
    EXPECT_EQ(b.res().find(int64_t{first.key})->refCount, 1u);
    b.res().addReference(first.key);
    EXPECT_EQ(b.res().find(int64_t{first.key})->refCount, 2u);
    EXPECT_EQ(b.res().release(first.key), 1);
    EXPECT_EQ(b.count("Res"), 1);
    EXPECT_EQ(b.res().release(first.key), 0);
    EXPECT_EQ(b.count("Res"), 0);
    EXPECT_EQ(b.res().release(0), -1);
    b.res().addReference(0);
    b.res().addReference(first.key);  // gone: no row comes back
    EXPECT_EQ(b.count("Res"), 0);
    EXPECT_EQ(b.res().release(first.key), -1);
}

TEST(Bodies, PagesAreNeverSharedAndEachKeepsItsLinks) {
    Bodies b;
    auto one = b.res().storeFetched(eng::MemoryBytes(bytes(kPage)), "text/html", "http://a.example/");
    auto two = b.res().storeFetched(eng::MemoryBytes(bytes(kPage)), "text/html", "http://b.example/");
    EXPECT_NE(one.key, two.key);
    EXPECT_EQ(one.type, 1);
    EXPECT_EQ(b.tables->rel.linksOf(one.key).size(), 2u);
    EXPECT_EQ(b.tables->rel.linksOf(two.key).size(), 2u);
    EXPECT_EQ(b.tables->rel.linkOf(b.tables->rel.linksOf(two.key)[0]).url, "http://b.example/x.html");
    // The shared logo address is one string with a reference per link.
    EXPECT_EQ(b.scalar("SELECT RefCount FROM Strings WHERE String = 'http://example.com/logo.gif'"), 2);
}

TEST(Bodies, ReleasingAPageDeletesItsLinksAndWordsAndTheirStrings) {
    Bodies b;
    auto page = b.res().storeFetched(eng::MemoryBytes(bytes(kPage)), "text/html", "http://a.example/");
    b.res().addReference(page.key);
    b.db->execute("INSERT INTO \"Index\" (ResId, Word, Pos) VALUES (" + std::to_string(page.key) +
                  ", 'word', 0), (999, 'other', 0)");
    b.res().setIndexed(page.key, true);
    EXPECT_EQ(b.res().release(page.key), 0);
    EXPECT_EQ(b.count("Rel"), 0);
    EXPECT_EQ(b.count("Strings"), 0);
    EXPECT_EQ(b.scalar("SELECT count(*) FROM \"Index\""), 1);  // another body's words stay
}

TEST(Bodies, EqualSizeAndHashStillCompareBytes) {
    Bodies b;
    // "Ab" and "BA" hash alike: 65 * 33 + 98 = 66 * 33 + 65.
    auto ab = b.res().storeFetched(eng::MemoryBytes(bytes("Ab")), "application/octet-stream", "http://h/1");
    auto ba = b.res().storeFetched(eng::MemoryBytes(bytes("BA")), "application/octet-stream", "http://h/2");
    EXPECT_NE(ab.key, ba.key);
    EXPECT_EQ(b.scalar("SELECT count(DISTINCT Hash) FROM Res"), 1);
    EXPECT_EQ(b.res().storeFetched(eng::MemoryBytes(bytes("BA")), "application/octet-stream", "http://h/3").key,
              ba.key);
    EXPECT_EQ(b.res().storeFetched(eng::MemoryBytes(bytes("Ab")), "application/octet-stream", "http://h/4").key,
              ab.key);
}

TEST(Bodies, EmptyBodiesShareAndContentTypesAreFitted) {
    Bodies b;
    auto empty = b.res().storeFetched(eng::MemoryBytes({}), "", "http://h/a");
    EXPECT_EQ(b.res().storeFetched(eng::MemoryBytes({}), "image/png", "http://h/b").key, empty.key);
    auto stored = b.res().read(empty.key);
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->bytes.empty());
    EXPECT_EQ(stored->contentType, "n/a");
    auto typed = b.res().storeFetched(eng::MemoryBytes(bytes("data")), std::string(40, 't'), "http://h/c");
    EXPECT_EQ(b.res().read(typed.key)->contentType, std::string(30, 't'));
    EXPECT_FALSE(b.res().read(12345));
}

TEST(Bodies, LargeBodiesRoundTripAndTooLargeOnesFailClearly) {
    Bodies b;
    std::vector<uint8_t> big(100 * 1024 * 1024);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    auto stored = b.res().storeFetched(eng::MemoryBytes(big), "application/zip", "http://h/big.zip");
    EXPECT_TRUE(b.res().read(stored.key)->bytes == big);

    sqlite3_limit(b.db->handle(), SQLITE_LIMIT_LENGTH, 4096);
    try {
        b.res().storeFetched(eng::MemoryBytes(std::vector<uint8_t>(5000, 1)), "application/zip", "http://h/huge.zip");
        ADD_FAILURE() << "a body over the limit was stored";
    } catch (const std::exception &e) {
        EXPECT_NE(std::string(e.what()).find("http://h/huge.zip is too large to store"), std::string::npos);
    }
}

TEST(Bodies, ArchiveCarriesBodiesAndBrowsedLinksToAnotherProject) {
    Bodies from;
    auto image = from.res().storeFetched(eng::MemoryBytes(bytes("GIF89a-some-image")), "image/gif", "http://h/i.gif");
    auto page = from.res().storeFetched(eng::MemoryBytes(bytes(kPage)), "text/html", "http://h/");
    from.tables->rel.addLink(page.key, {eng::kBrowsedLinkKind, "http://h/seen-in-browser.js", ""});
    std::vector<uint8_t> big(70000, 'z');
    auto large = from.res().storeFetched(eng::MemoryBytes(big), "application/octet-stream", "http://h/big.bin");
    const std::string archivePath = from.dir.file("bodies.bin");
    {
        eng::ArchiveWriter w(archivePath);
        from.res().writeArchive(w, {{image.key, "i"}, {page.key, "p"}, {large.key, "b"}});
        w.finish();
    }
    Bodies to;
    to.res().storeFetched(eng::MemoryBytes(bytes("something else first")), "text/plain", "http://x/");
    eng::ArchiveReader r(archivePath);
    auto keys = to.res().readArchive(r);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(to.res().read(keys[image.key])->bytes, bytes("GIF89a-some-image"));
    EXPECT_EQ(to.res().read(keys[large.key])->bytes, big);
    EXPECT_EQ(to.res().read(keys[page.key])->type, 1);
    // The page was parsed again (two links) and kept its browsed link.
    auto links = to.tables->rel.linksOf(keys[page.key]);
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(to.tables->rel.linkOf(links[2]).url, "http://h/seen-in-browser.js");

    eng::ArchiveWriter w(from.dir.file("bad.bin"));
    EXPECT_THROW(from.res().writeArchive(w, {{9999, "missing"}}), std::exception);
}
