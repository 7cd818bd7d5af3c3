#include <benchmark/benchmark.h>

#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/CanonicalUrl.h"
#include "base/Url.h"
#include "base/UrlHash.h"

namespace {

constexpr size_t kAddressCount = 1000;

// Link texts as pages hold them: relative and absolute, with folders to climb,
// queries, fragments, escapes, entity-encoded ampersands and stray case.
std::vector<std::string> makeLinks() {
    static const char *const hosts[] = {"www.example.com",    "WWW.Example.COM",    "images.example.com:80",
                                        "shop.example.co.uk", "192.168.10.20:8080", "[2001:db8::7]"};
    static const char *const folders[] = {"", "products/", "news/2024/", "a/b/c/", "images/thumbs/"};
    static const char *const names[] = {"index.html", "page.asp",  "item%20list.php", "caf%C3%A9.htm",
                                        "logo.gif",   "style.css", "Default.aspx",    "download.zip"};
    static const char *const queries[] = {"", "", "?id=12345678", "?q=a+b&amp;page=2", "?sort=asc&x=%2F"};
    static const char *const fragments[] = {"", "", "", "#top", "#section-2"};
    std::mt19937 random(20240601);
    const auto pick = [&](const auto &table) { return std::string(table[random() % std::size(table)]); };
    std::vector<std::string> links;
    links.reserve(kAddressCount);
    while (links.size() < kAddressCount) {
        const std::string tail = pick(folders) + pick(names) + pick(queries) + pick(fragments);
        switch (random() % 6) {
            case 0:
                links.push_back("http://" + pick(hosts) + "/" + tail);
                break;
            case 1:
                links.push_back("HTTPS://" + pick(hosts) + "/x/../" + tail);
                break;
            case 2:
                links.push_back("/" + tail);
                break;
            case 3:
                links.push_back("../" + tail);
                break;
            case 4:
                links.push_back("./" + tail);
                break;
            default:
                links.push_back(" " + tail + " ");
                break;
        }
    }
    return links;
}

const std::string kPage = "http://www.example.com/catalogue/section/page.html?view=list";

// The absolute addresses that the links of makeLinks() resolve to.
std::vector<std::string> makeAddresses() {
    std::vector<std::string> addresses;
    for (const std::string &link : makeLinks())
        addresses.push_back(*eng::url::combine(kPage, link, eng::url::NoEncode));
    return addresses;
}

// Canonical form and hash of absolute addresses, as every stored address gets.
void canonicalUrlAndHash(benchmark::State &state) {
    const std::vector<std::string> addresses = makeAddresses();
    for (auto _ : state) {
        for (const std::string &address : addresses) benchmark::DoNotOptimize(eng::urlHash(eng::canonicalUrl(address)));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * addresses.size()));
}
BENCHMARK(canonicalUrlAndHash);

// A link of a page resolved against the page, made canonical and hashed.
void resolvedLinkAndHash(benchmark::State &state) {
    const std::vector<std::string> links = makeLinks();
    for (auto _ : state) {
        for (const std::string &link : links) {
            const std::optional<std::string> absolute = eng::url::combine(kPage, link, eng::url::NoEncode);
            benchmark::DoNotOptimize(eng::urlHash(eng::canonicalUrl(*absolute)));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * links.size()));
}
BENCHMARK(resolvedLinkAndHash);

}  // namespace
