#include "content/LocalFileNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr size_t npos = std::string::npos;

}  // namespace

TEST(LocalFileNames, ExtensionOfUrl) {
    struct Row {
        std::string url;
        std::string extension;
        size_t position;
    };
    const std::vector<Row> rows = {
        {"http://h/dir/page.html", "html", 18},
        {"HTTP://H/P.GIF", "GIF", 11},
        {"http://h/dir/page.asp?x=a.b", "asp", 18},
        {"http://h/page.HTM#x.y", "HTM", 14},
        {"https://h/x.tar.gz", "gz", 16},
        {"http://h/dir/page?x=a.b", "", npos},
        {"http://h/a.b/c", "b", 11},
        {"http://h/dir.v2/", "v2", 13},
        {"http://h/a\\b.c\\d", "", npos},
        {"http://h", "", npos},
        {"http://h:99999/x.gif", "", npos},
        {"ftp://h/a.b/c", "b/c", 10},
        {"ftp://h/file.txt?x", "txt?x", 13},
        {"file:///tmp/x.txt", "txt", 14},
        {"file:///tmp/a.b\\c", "", npos},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url);
        const eng::UrlExtension extension = eng::extensionOfUrl(row.url);
        EXPECT_EQ(extension.text, row.extension);
        EXPECT_EQ(extension.position, row.position);
    }
}

TEST(LocalFileNames, FileNameOfUrl) {
    struct Row {
        std::string url;
        bool sanitise;
        bool keepExtension;
        size_t maxLength;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"http://h/dir/page.asp?x=1", false, false, 0, "page.asp"},
        {"http://h/a/b.asp?q=x/y", false, false, 0, "b.asp"},
        {"http://h/", false, false, 0, ""},
        {"http://h", false, false, 0, ""},
        {"http://h?x", false, false, 0, ""},
        {"http://h/dir/", false, false, 0, ""},
        {"http://h/dir/page.html", false, false, 0, "page.html"},
        {"http://h\\dir\\x.htm", false, false, 0, "x.htm"},
        {"http://h/dir\\x.htm", false, false, 0, "dir\\x.htm"},
        {"http://h/dir\\x.htm", true, false, 0, "dir_x.htm"},
        {"http://h/dir\\x.htm?y", false, false, 0, "x.htm"},
        {"ftp://h/pub/a:b*c.txt", true, false, 0, "a_b_c.txt"},
        {"http://h/verylongname.jpeg", false, true, 8, "verylong.jpeg"},
        {"http://h/verylongname.jpeg", false, false, 8, "verylong"},
        {"http://h/verylongname.jpeg", false, false, 0, "verylongname.jpeg"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(eng::fileNameOfUrl(row.url, row.sanitise, row.keepExtension, row.maxLength), row.expected);
    }
}

TEST(LocalFileNames, PathSegmentsOfUrl) {
    using Segments = std::vector<std::string>;
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://www.Example.com/Dir/Page.asp?Q=1", false, false, 0),
              (Segments{"www.example.com", "dir", "page.asp", "q=1"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/a//b/", false, false, 0), (Segments{"h", "a", "b"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/dir\\sub\\f.txt", false, false, 0),
              (Segments{"h", "dir", "sub", "f.txt"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/x.html?a=1/2\\3", true, false, 0), (Segments{"h", "x.html", "a=1_2_3"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h:8080/a", true, false, 0), (Segments{"h_8080", "a"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h:8080/a", false, false, 0), (Segments{"h:8080", "a"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/?", false, false, 0), (Segments{"h"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("ftp://h/", false, false, 0), (Segments{"h"}));
    // Folders are cut to the maximum length; the last name only when shortening, keeping its extension.
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/VeryLongDirectory/VeryLongName.jpeg", false, true, 8),
              (Segments{"h", "verylong", "verylong.jpeg"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/VeryLongDirectory/VeryLongName.jpeg", false, false, 8),
              (Segments{"h", "verylong", "verylongname.jpeg"}));
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/d/page?averyveryverylongquery", false, true, 8),
              (Segments{"h", "d", "page", "averyver"}));
}

TEST(LocalFileNames, ShortenName) {
    struct Row {
        std::string name;
        size_t maxLength;
        bool plain;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"", 8, false, ""},
        {"verylongname.jpeg", 8, false, "verylong.jpeg"},
        {"a.tiffile", 8, false, "a.tiff"},
        {"verylongname.jpeg", 8, true, "verylong"},
        {"noextensionname", 5, false, "noext"},
        {"a.b.longname", 3, false, "a.b.long"},
        {"short.txt", 8, false, "short.txt"},
        {"x.jpeg", 0, false, "x.jpeg"},
        // A cut never splits a UTF-8 character.
        {"caf\xC3\xA9s.txt", 4, false, "caf.txt"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(eng::shortenName(row.name, row.maxLength, row.plain), row.expected);
    }
}

TEST(LocalFileNames, SanitizedNamesHoldNoForbiddenCharacterAndAreNoDotSegments) {
    EXPECT_EQ(eng::sanitizeFileName("a/b:c*d?e\"f<g>h|i\\j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(eng::sanitizeFileName("plain name (1).txt"), "plain name (1).txt");
    // No name made from an address leaves its folder or ends early.
    EXPECT_EQ(eng::sanitizeFileName(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(eng::sanitizeFileName("."), "_");
    EXPECT_EQ(eng::sanitizeFileName(".."), "__");
    EXPECT_EQ(eng::sanitizeFileName("..."), "...");
    EXPECT_EQ(eng::pathSegmentsOfUrl("http://h/a/../../b/./c.html", true, false, 0),
              (std::vector<std::string>{"h", "a", "__", "__", "b", "_", "c.html"}));
    EXPECT_EQ(eng::fileNameOfUrl("http://h/a/..", true, true, 0), "__");
}

TEST(LocalFileNames, HtmlFileName) {
    struct Row {
        std::string name;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"a.htm", "a.htm"},   {"a.asp", "a.html"},     {"a", "a.html"},  {"a.HTM", "a.html"},
        {"a.html", "a.html"}, {"a.b.php", "a.b.html"}, {"a.", "a.html"}, {"dir.x\\name", "dir.x\\name.html"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(eng::htmlFileName(row.name), row.expected);
    }
}
