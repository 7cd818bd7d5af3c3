#include "base/DomainKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/UrlHash.h"

TEST(DomainKey, SiteKeysOfAddresses) {
    struct Row {
        std::string url;
        std::string key;
    };
    const std::vector<Row> rows = {
        {"http://www.example.com/x", "example.com"},
        {"https://www.example.com/", "example.com"},
        {"http://example.com/", "example.com"},
        {"http://www.example.co.uk/", "co.uk"},
        {"http://192.168.1.20:8080/x", "192.168.1.20"},
        {"http://localhost/", "localhost"},
        {"http://[::1]/", "[::1]"},
        {"http://256.1.1.1/", "1.1"},
        {"http://4294967296.1.1.1/", "1.1"},
        {"http://1.2.3/", "2.3"},
        {"http://1.2.3.4.5/", "4.5"},
        {"http://.1.2.3/", "2.3"},
        {"http://www.example.com./", "com."},
        {"http:// www.example.com /", "example.com"},
        {"ftp://ftp.example.com/", ""},
        {"file:///x", ""},
        {"mailto:x@example.com", ""},
        {"http:///x", ""},
        {"not a url", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(eng::domainKey(row.url), row.key);
    }
}

TEST(DomainKey, HostsOfOneSiteShareTheKeyAndItsHash) {
    const std::string www = eng::domainKey("http://www.example.com/a.html");
    const std::string images = eng::domainKey("http://images.example.com/b.gif");
    EXPECT_EQ(www, images);
    EXPECT_EQ(eng::urlHash(www), eng::urlHash(images));
    EXPECT_NE(eng::domainKey("http://www.example.org/"), www);
}
