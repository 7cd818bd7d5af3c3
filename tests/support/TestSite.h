#pragma once

#include <compare>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace test {

// A link as a stored page records it: its kind (the scanner's link kinds) and
// its absolute address.
struct SiteLink {
    int kind = 0;
    std::string url;
    auto operator<=>(const SiteLink &) const = default;
};

// The link kinds the generated pages use.
namespace link_kind {
constexpr int kHyperlink = 0, kImage = 1, kBackground = 2, kFrame = 4, kIframe = 5, kScript = 6, kSound = 7, kEmbed = 9,
              kStylesheet = 11, kRefresh = 12;
}

// A deterministic web site written into a folder for nginx to serve, with the
// graph of its addresses, so that a test knows exactly what a crawl of it
// must store and which links each stored page records.
//
// Pages are numbered; page 0 is /index.html, page i > 0 hangs under page
// (i - 1) / 3 in nested folders (/d1/, /d1/s2/, /d1/s2/t3/), and every page
// also links to two pseudo-random pages (a fixed seed). Links are written
// relative ("p7.html", "s1/p9.html", "../p2.html"), with an absolute path,
// as absolute http addresses of the same host, with a fragment, or with a
// query (a distinct address that nginx answers with the same file). Some
// pages show images (PNG and GIF bytes, each image different).
//
// With the special pages, the start page also links to: a page with every
// other way of naming a file it shows (style sheets, which import others and
// name images nothing else links to, <style> blocks and style attributes,
// srcset lists, media, icons, objects and preloads), which links to a page in
// ISO-8859-1 that does some of that with non-ASCII names; a frameset whose frames hold an iframe; a redirect chain /r1
// -> /r2
// -> /r3.html; a page with a META refresh; a missing page (404); a slowly
// served page (about 8 KB at 2 KB/s); a page on a second server (a scripted
// server that answers 500 once, then 200); a chain of pages c1, c2, ... each
// with a leaf page whose only link is an image; a folder address (/d3/); a
// query written with "&amp;"; an image map's area; a script.
//
// How a crawl reaches the addresses (what expected() computes): a plain link
// (kind 0) leads one level deeper, every other kind stays on its page's
// level. Only pages reached by a plain link, a frame, an iframe or a refresh,
// and style sheets, have their links followed; images and scripts do not. A
// redirect is stored as a small page whose only link is a refresh to the
// location, so its target stays on the level of the redirected address. Each
// address is reached by links of one class only (followed or not), so its
// first link's kind never matters. A task of depth D keeps the addresses of
// level D or less.
class TestSite {
public:
    struct Options {
        std::string baseUrl;         // "http://127.0.0.1:<port>", the nginx server that serves the folder
        std::string otherServerUrl;  // the scripted server's "http://127.0.0.1:<port>"; empty: no link to it
        int pages = 300;             // numbered pages, the start page included
        unsigned seed = 20240611;    // of the cross links
        bool specials = true;        // the special pages listed above
        size_t padding = 0;          // bytes of filler text added to each numbered page
    };

    // What answers an address.
    enum class Answer { Page, Image, StyleSheet, Script, Redirect, Missing };

    struct Address {
        Answer answer = Answer::Page;
        int status = 200;
        std::string body;            // the bytes served with status 200 (nginx or the second server)
        std::string location;        // of a redirect: the absolute target
        std::set<SiteLink> links;    // what a stored copy records (a redirect: its refresh)
        bool onOtherServer = false;  // answered by the scripted server
        int failuresFirst = 0;       // 500 answers before the 200
        bool linksFollowed = false;  // reached by followed link kinds (or the start page)
    };

    struct Expectation {
        std::map<std::string, int> levels;  // address -> level, every address the task stores
        std::set<std::string> refused;      // addresses the task records as refused by its filter
    };

    explicit TestSite(Options options);

    // The lines for the nginx server block that this site needs (the redirects
    // and the slow page). They do not depend on the port.
    static std::string nginxConfig();
    // The same with every answer slowed to `bytesPerSecond` while a file named
    // "throttle" lies in the served folder.
    static std::string throttledNginxConfig(int bytesPerSecond);

    // Writes the site's files into the folder (which nginx serves).
    void write(const std::filesystem::path &root) const;

    const Options &options() const { return options_; }
    std::string startUrl() const { return url("/index.html"); }
    std::string url(std::string_view path) const { return options_.baseUrl + std::string(path); }
    std::string otherUrl(std::string_view path) const { return options_.otherServerUrl + std::string(path); }

    // Every address the site answers or links to.
    const std::map<std::string, Address> &addresses() const { return addresses_; }
    const Address &address(const std::string &url) const;
    // The request target ("/d1/p4.html?x=1") of an address of the nginx
    // server, as the engine requests it (bytes from 0x80 as "%c3");
    // nothing for an address elsewhere.
    std::optional<std::string> requestTarget(const std::string &url) const;

    // What a task of the depth, started at /index.html, stores; `refused`
    // tells the addresses its filter refuses (the start address is never
    // filtered).
    Expectation expected(int depth, const std::function<bool(const std::string &)> &refused = {}) const;

    // The pages at the end of the chain: leaf k (level k + 1 from the start
    // page) links to nothing but its image.
    std::string leafUrl(int k) const;
    std::string leafImageUrl(int k) const;
    int chainLength() const { return kChainLength; }

    // Special addresses.
    std::string flakyUrl() const { return otherUrl("/flaky.html"); }
    std::string slowUrl() const { return url("/slow.html"); }
    std::string missingUrl() const { return url("/missing.html"); }

private:
    static constexpr int kChainLength = 8;

    struct File {
        std::string path;  // under the root, with its leading "/"
        std::string bytes;
    };

    void build();
    void buildNumberedPages();
    void buildSpecials();
    void buildStylePages();
    std::string numberedPagePath(int page) const;
    void addPage(const std::string &path, std::string html, std::vector<SiteLink> links,
                 const std::vector<std::string> &extraAddresses = {});
    void addFile(const std::string &path, std::string bytes, Answer answer);
    void addQueryVariant(const std::string &pagePath, const std::string &query);
    void checkLinkClasses() const;

    Options options_;
    std::vector<File> files_;
    std::map<std::string, Address> addresses_;
};

// A 1x1 GIF and PNG whose colour depends on the number, so that no two are equal.
std::string tinyGif(unsigned number);
std::string tinyPng(unsigned number);

}  // namespace test
