#include "export/ExportNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using eng::exportSegments;
using eng::uniqueExportName;
using Names = std::vector<std::string>;

TEST(ExportNamesTest, SplitsTheAddressPastTheSchemeWithTheQueryAsOneLastName) {
    EXPECT_EQ(exportSegments("http://site.test/a/b.html", 0), (Names{"site.test", "a", "b.html"}));
    EXPECT_EQ(exportSegments("https://site.test\\a\\b", 0), (Names{"site.test", "a", "b"}));
    EXPECT_EQ(exportSegments("http://site.test/", 0), (Names{"site.test"}));
    EXPECT_EQ(exportSegments("http://site.test//a///b", 0), (Names{"site.test", "a", "b"}));
    // A query that looks like a path stays one name.
    EXPECT_EQ(exportSegments("http://site.test/p?x=../../etc/passwd", 0),
              (Names{"site.test", "p", "x=.._.._etc_passwd"}));
}

TEST(ExportNamesTest, DecodedNamesNeverLeaveTheirFolder) {
    EXPECT_EQ(exportSegments("http://s/%2e%2e/x", 0), (Names{"s", "__", "x"}));
    EXPECT_EQ(exportSegments("http://s/%2E/x", 0), (Names{"s", "_", "x"}));
    EXPECT_EQ(exportSegments("http://s/..%2f..%2fx", 0), (Names{"s", ".._.._x"}));
    EXPECT_EQ(exportSegments("http://s/a%00b", 0), (Names{"s", "a_b"}));
    EXPECT_EQ(exportSegments("http://s/a%5cb", 0), (Names{"s", "a_b"}));
    EXPECT_EQ(exportSegments("http://s/../.", 0), (Names{"s", "__", "_"}));
    for (const std::string &name : exportSegments("http://s/%2e%2e%2f%2e%2e%2f%00/%2F%5C%3A%2A%3F%22%3C%3E%7C", 0)) {
        EXPECT_NE(name, ".");
        EXPECT_NE(name, "..");
        EXPECT_EQ(name.find_first_of(std::string("/\\:*?\"<>|\0", 10)), std::string::npos) << name;
    }
}

TEST(ExportNamesTest, LongNamesAreCutKeepingTheFileExtension) {
    const std::string longPart(10000, 'a');
    const Names names = exportSegments("http://s/" + longPart + "/" + longPart + ".html", 0);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1], std::string(100, 'a'));
    EXPECT_EQ(names[2], std::string(100, 'a'));
    EXPECT_EQ(exportSegments("http://s/" + longPart + ".html", 100)[1], std::string(100, 'a') + ".html");
    EXPECT_EQ(exportSegments("http://s/abcdefgh.html", 5), (Names{"s", "abcde.html"}));
    // A cut that leaves only dots is sanitised again.
    EXPECT_EQ(exportSegments("http://s/..abc/x", 2), (Names{"s", "__", "x"}));
}

TEST(ExportNamesTest, TakenNamesGetANumberBeforeTheExtension) {
    EXPECT_EQ(uniqueExportName("a.html", {}), "a.html");
    EXPECT_EQ(uniqueExportName("a.html", {"a.html"}), "a[1].html");
    EXPECT_EQ(uniqueExportName("a.html", {"a.html", "a[1].html"}), "a[2].html");
    EXPECT_EQ(uniqueExportName("a", {"a"}), "a[1]");
    EXPECT_EQ(uniqueExportName("A.html", {"a.html"}), "A.html");
}
