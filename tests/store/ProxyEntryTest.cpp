#include <gtest/gtest.h>

#include "store/ProjectProperties.h"

TEST(ProxyEntry, PartsAndRunsOfSeparators) {
    using eng::ProxyEntry;
    struct Case {
        const char *entry, *host, *user, *password;
    } cases[] = {
        {"proxy", "proxy", "", ""},
        {"proxy:8080", "proxy:8080", "", ""},
        {"proxy:8080:ann:secret", "proxy:8080", "ann", "secret"},
        {"proxy:8080:ann:secret:extra", "proxy:8080", "ann", "secret"},
        {"proxy::ann:secret", "proxy:ann", "secret", ""},
        {":::", "", "", ""},
        {"", "", "", ""},
    };
    for (const Case &c : cases) {
        ProxyEntry p = ProxyEntry::parse(c.entry);
        EXPECT_EQ(p.host, c.host) << c.entry;
        EXPECT_EQ(p.userName, c.user) << c.entry;
        EXPECT_EQ(p.password, c.password) << c.entry;
    }
    EXPECT_EQ(ProxyEntry::parse(std::string(2000, 'p')).host.size(), 1023u);
}
