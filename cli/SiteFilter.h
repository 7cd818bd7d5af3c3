#pragma once

#include <string>
#include <string_view>

namespace lark {

// A filter entry of the expression for every kind of link, without size limits.
std::string filterEntryForEveryKind(std::string_view expression);

// The filter entry that keeps a crawl on the site of its start address: for
// every kind of link, addresses on the start host with the start port, over
// http or https alike (a site on its scheme's default port is the same site
// on the other scheme's default port); for ftp, the start host over ftp; for
// a local file, local files. Empty for an address that cannot be split.
std::string siteFilterEntry(const std::string &startUrl);

}  // namespace lark
