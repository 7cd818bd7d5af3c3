#include "support/TestSite.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <fstream>
#include <stdexcept>

namespace test {

namespace {

using namespace link_kind;

// How a link to a page of the same server is written.
enum class Form { Relative, AbsolutePath, AbsoluteHttp, Fragment, Query };

std::string folderOf(const std::string &path) { return path.substr(0, path.rfind('/') + 1); }

// The path from the folder of `from` to `to`, both absolute paths: "x.html",
// "s1/x.html", "../x.html", "../../d2/s1/x.html".
std::string relativePath(const std::string &from, const std::string &to) {
    auto segments = [](const std::string &folder) {
        std::vector<std::string> out;
        size_t start = 1;
        for (size_t slash; (slash = folder.find('/', start)) != std::string::npos; start = slash + 1)
            out.push_back(folder.substr(start, slash - start));
        return out;
    };
    const std::vector<std::string> a = segments(folderOf(from)), b = segments(folderOf(to));
    size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) ++common;
    std::string out;
    for (size_t i = common; i < a.size(); ++i) out += "../";
    for (size_t i = common; i < b.size(); ++i) out += b[i] + "/";
    return out + to.substr(to.rfind('/') + 1);
}

// A small linear congruential generator: the same numbers on every platform.
class Numbers {
public:
    explicit Numbers(unsigned seed) : state_(seed) {}
    unsigned below(unsigned bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state_ >> 33) % bound;
    }

private:
    uint64_t state_;
};

std::string filler(size_t bytes, int seed) {
    static constexpr std::string_view kWords[] = {"lorem",      "ipsum", "dolor", "sit", "amet",    "consectetur",
                                                  "adipiscing", "elit",  "sed",   "do",  "eiusmod", "tempor"};
    std::string text = "<p>";
    for (size_t i = 0; text.size() < bytes; ++i) {
        text += kWords[(i * 7 + static_cast<size_t>(seed)) % std::size(kWords)];
        text += (i % 12 == 11) ? "</p>\n<p>" : " ";
    }
    return text + "</p>\n";
}

std::string leafHtml(const std::string &title) {
    return "<html><head><title>" + title + "</title></head><body><p>" + title +
           ", nothing to follow.</p></body></html>\n";
}

uint32_t crc32(std::string_view bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::string &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::string pngChunk(std::string_view type, std::string_view data) {
    std::string out;
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type) + std::string(data);
    out += typed;
    appendBigEndian(out, crc32(typed));
    return out;
}

}  // namespace

std::string tinyGif(unsigned number) {
    std::string gif = "GIF89a";
    gif += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);  // 1x1, a global table of two colours
    gif += static_cast<char>(number & 0xFF);
    gif += static_cast<char>((number >> 8) & 0xFF);
    gif += static_cast<char>((number >> 16) & 0xFF);
    gif += std::string("\x00\x00\x00", 3);
    gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);  // the image descriptor
    gif += std::string("\x02\x02\x44\x01\x00\x3B", 6);                   // its LZW data, the trailer
    return gif;
}

std::string tinyPng(unsigned number) {
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string header;
    appendBigEndian(header, 1);
    appendBigEndian(header, 1);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
    png += pngChunk("IHDR", header);
    // One scan line (filter 0, then R G B) in a zlib stream of one stored block.
    const std::string line = {'\0', static_cast<char>(number & 0xFF), static_cast<char>((number >> 8) & 0xFF),
                              static_cast<char>((number >> 16) & 0xFF)};
    std::string zlib = std::string("\x78\x01\x01\x04\x00\xFB\xFF", 7) + line;
    uint32_t a = 1, b = 0;
    for (unsigned char c : line) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian(zlib, (b << 16) | a);
    png += pngChunk("IDAT", zlib);
    png += pngChunk("IEND", "");
    return png;
}

TestSite::TestSite(Options options) : options_(std::move(options)) {
    if (options_.baseUrl.empty() || options_.pages < 1) throw std::invalid_argument("TestSite needs a base and a page");
    build();
}

std::string TestSite::nginxConfig() {
    return "        location = /r1 { absolute_redirect off; return 301 /r2; }\n"
           "        location = /r2 { return 301 http://127.0.0.1:$server_port/r3.html; }\n"
           "        location = /slow.html { limit_rate 2k; }\n";
}

std::string TestSite::throttledNginxConfig(int bytesPerSecond) {
    return nginxConfig() + "        if (-f $document_root/throttle) { set $limit_rate " +
           std::to_string(bytesPerSecond) + "; }\n";
}

void TestSite::write(const std::filesystem::path &root) const {
    for (const File &file : files_) {
        const std::filesystem::path target = root / file.path.substr(1);
        std::filesystem::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary);
        out << file.bytes;
        if (!out) throw std::runtime_error("cannot write " + target.string());
    }
}

const TestSite::Address &TestSite::address(const std::string &url) const {
    const auto found = addresses_.find(url);
    if (found == addresses_.end()) throw std::out_of_range("the site has no address " + url);
    return found->second;
}

std::optional<std::string> TestSite::requestTarget(const std::string &url) const {
    if (url.rfind(options_.baseUrl + "/", 0) != 0) return std::nullopt;
    std::string target;
    for (const char c : url.substr(options_.baseUrl.size())) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            target += c;
            continue;
        }
        static constexpr char kHex[] = "0123456789abcdef";
        target += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
    return target;
}

std::string TestSite::leafUrl(int k) const { return url("/chain/leaf" + std::to_string(k) + ".html"); }
std::string TestSite::leafImageUrl(int k) const { return url("/chain/leaf" + std::to_string(k) + ".gif"); }

void TestSite::addFile(const std::string &path, std::string bytes, Answer answer) {
    Address &a = addresses_[url(path)];
    a.answer = answer;
    a.body = bytes;
    files_.push_back({path, std::move(bytes)});
}

void TestSite::addPage(const std::string &path, std::string html, std::vector<SiteLink> links,
                       const std::vector<std::string> &extraAddresses) {
    Address page;
    page.links.insert(links.begin(), links.end());
    page.body = html;
    for (const std::string &extra : extraAddresses) addresses_[url(extra)] = page;
    addresses_[url(path)] = page;
    files_.push_back({path, std::move(html)});
}

void TestSite::addQueryVariant(const std::string &pagePath, const std::string &query) {
    const auto page = addresses_.find(url(pagePath));
    if (page == addresses_.end()) throw std::logic_error("no page " + pagePath + " for its query");
    addresses_[url(pagePath) + query] = page->second;
}

std::string TestSite::numberedPagePath(int page) const {
    if (page == 0) return "/index.html";
    if (page <= 3) return "/d" + std::to_string(page) + "/index.html";
    // The folder of a page two or three steps below the start is a sub-folder
    // of its parent's; deeper pages stay in their parent's folder.
    int depth = 0;
    for (int p = page; p > 0; p = (p - 1) / 3) ++depth;
    const int parent = (page - 1) / 3;
    std::string folder = folderOf(numberedPagePath(parent));
    const std::string branch = std::to_string((page - 1) % 3 + 1);
    if (depth == 2) folder += "s" + branch + "/";
    if (depth == 3) folder += "t" + branch + "/";
    return folder + "p" + std::to_string(page) + ".html";
}

void TestSite::buildNumberedPages() {
    const int n = options_.pages;
    Numbers numbers(options_.seed);
    std::vector<std::pair<std::string, std::string>> queries;  // (page path, query) of the query links
    for (int i = 0; i < n; ++i) {
        const std::string path = numberedPagePath(i);
        std::vector<SiteLink> links;
        std::string body;
        int written = 0;
        auto link = [&](int target, Form form) {
            const std::string to = numberedPagePath(target);
            std::string href, address = url(to);
            switch (form) {
                case Form::Relative:
                    href = relativePath(path, to);
                    break;
                case Form::AbsolutePath:
                    href = to;
                    break;
                case Form::AbsoluteHttp:
                    href = url(to);
                    break;
                case Form::Fragment:
                    href = relativePath(path, to) + "#part" + std::to_string(written);
                    break;
                case Form::Query:
                    href = relativePath(path, to) + "?x=1";
                    address += "?x=1";
                    queries.emplace_back(to, "?x=1");
                    break;
            }
            body += "<li><a href=\"" + href + "\">Page " + std::to_string(target) + "</a></li>\n";
            links.push_back({kHyperlink, address});
            ++written;
        };
        body += "<ul>\n";
        for (int c = 3 * i + 1; c <= 3 * i + 3 && c < n; ++c)
            link(c, static_cast<Form>((i + c) % 4));  // no query on the tree's own links
        if (i > 0) link((i - 1) / 3, Form::Relative);
        for (int k = 0; k < 2 && n > 1; ++k)
            link(static_cast<int>(numbers.below(static_cast<unsigned>(n))), static_cast<Form>((i * 7 + k) % 5));
        if (i > 0) {
            body += "<li><a href=\"/index.html\">Home</a></li>\n";
            links.push_back({kHyperlink, url("/index.html")});
        }
        body += "</ul>\n";
        if (i % 4 == 0) {
            body += "<p><img src=\"/img/shared.gif\" alt=\"\"></p>\n";
            links.push_back({kImage, url("/img/shared.gif")});
        }
        if (i % 5 == 2) {
            const std::string image = "p" + std::to_string(i) + ".png";
            body += "<p><IMG SRC=" + image + " ALT=picture></p>\n";
            links.push_back({kImage, url(folderOf(path) + image)});
            addFile(folderOf(path) + image, tinyPng(static_cast<unsigned>(i) + 1), Answer::Image);
        }
        if (options_.padding > 0) body += filler(options_.padding, i);
        const std::string title = i == 0 ? "Start" : "Page " + std::to_string(i);
        std::string head = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
                           "</title></head>\n<body><h1>" + title + "</h1>\n";
        if (i == 0 && options_.specials) {
            // The start page's own links come first.
            auto special = [&](const std::string &markup, int kind, const std::string &address) {
                head += markup + "\n";
                links.push_back({kind, address});
            };
            special("<a href=\"special/style.html\">Style</a>", kHyperlink, url("/special/style.html"));
            special("<a href=\"frames/index.html\">Frames</a>", kHyperlink, url("/frames/index.html"));
            special("<a href=\"/r1\">Moved</a>", kHyperlink, url("/r1"));
            special("<a href=\"refresh.html\">Refreshed</a>", kHyperlink, url("/refresh.html"));
            special("<a href=\"missing.html\">Missing</a>", kHyperlink, url("/missing.html"));
            special("<a href=\"slow.html\">Slow</a>", kHyperlink, url("/slow.html"));
            special("<a href=\"chain/c1.html\">Chain</a>", kHyperlink, url("/chain/c1.html"));
            special("<a href=\"special/query.html?a=1&amp;b=2\">Query</a>", kHyperlink,
                    url("/special/query.html?a=1&b=2"));
            special("<map name=\"m\"><area shape=\"rect\" coords=\"0,0,1,1\" href=\"special/area.html\"></map>",
                    kHyperlink, url("/special/area.html"));
            special("<script src=\"js/site.js\"></script>", kScript, url("/js/site.js"));
            if (n > 3) special("<a href=\"d3/\">Folder</a>", kHyperlink, url("/d3/"));
            if (!options_.otherServerUrl.empty())
                special("<a href=\"" + flakyUrl() + "\">Elsewhere</a>", kHyperlink, flakyUrl());
            head += "<a href=\"mailto:someone@example.com\">Mail</a> <a href=\"javascript:void(0)\">Script</a>\n";
        }
        std::vector<std::string> extra;
        if (i == 3 && options_.specials) extra.push_back("/d3/");
        addPage(path, head + body + "</body></html>\n", std::move(links), extra);
    }
    for (const auto &[page, query] : queries) addQueryVariant(page, query);
}

void TestSite::buildSpecials() {
    buildStylePages();
    addFile("/js/site.js", "var site = 1;\n", Answer::Script);

    // A frameset; the right frame holds an iframe.
    addPage("/frames/index.html",
            "<html><head><title>Frames</title></head>\n<frameset cols=\"30%,70%\"><frame src=\"left.html\" "
            "name=\"l\"><frame src=\"right.html\"></frameset></html>\n",
            {{kFrame, url("/frames/left.html")}, {kFrame, url("/frames/right.html")}});
    addPage("/frames/left.html",
            "<html><body><a href=\"deep.html\">Deep</a> <a href=\"../index.html\" target=\"_top\">Home</a>"
            "</body></html>\n",
            {{kHyperlink, url("/frames/deep.html")}, {kHyperlink, url("/index.html")}});
    addPage("/frames/right.html",
            "<html><body><img src=\"right.gif\"><iframe src=\"inner.html\"></iframe></body></html>\n",
            {{kImage, url("/frames/right.gif")}, {kIframe, url("/frames/inner.html")}});
    addFile("/frames/right.gif", tinyGif(0x030303), Answer::Image);
    addPage("/frames/inner.html", "<html><body><a href=\"inner-child.html\">Child</a></body></html>\n",
            {{kHyperlink, url("/frames/inner-child.html")}});
    addPage("/frames/deep.html", leafHtml("Deep"), {});
    addPage("/frames/inner-child.html", leafHtml("Inner child"), {});

    // The redirect chain /r1 -> /r2 -> /r3.html (nginxConfig()).
    Address r1, r2;
    r1.answer = r2.answer = Answer::Redirect;
    r1.status = r2.status = 301;
    r1.location = url("/r2");
    r2.location = url("/r3.html");
    r1.links = {{kRefresh, r1.location}};
    r2.links = {{kRefresh, r2.location}};
    addresses_[url("/r1")] = r1;
    addresses_[url("/r2")] = r2;
    addPage("/r3.html", "<html><body><a href=\"after-redirect.html\">On</a></body></html>\n",
            {{kHyperlink, url("/after-redirect.html")}});
    addPage("/after-redirect.html", leafHtml("After the redirect"), {});

    // A META refresh.
    addPage("/refresh.html",
            "<html><head><title>Refresh</title><meta http-equiv=\"refresh\" content=\"0;URL=refresh-target.html\">"
            "</head><body></body></html>\n",
            {{kRefresh, url("/refresh-target.html")}});
    addPage("/refresh-target.html", "<html><body><a href=\"refresh-child.html\">On</a></body></html>\n",
            {{kHyperlink, url("/refresh-child.html")}});
    addPage("/refresh-child.html", leafHtml("After the refresh"), {});

    // A missing page: nginx's own 404 page, which has no links.
    Address missing;
    missing.answer = Answer::Missing;
    missing.status = 404;
    addresses_[url("/missing.html")] = missing;

    // The slow page: its link comes at the end.
    addPage("/slow.html",
            "<html><head><title>Slow</title></head><body>\n" + filler(8000, 3) +
                "<a href=\"slow-child.html\">After the wait</a></body></html>\n",
            {{kHyperlink, url("/slow-child.html")}});
    addPage("/slow-child.html", leafHtml("After the slow page"), {});

    // The chain: c_k is on level k, leaf k (only an image) on level k + 1.
    for (int k = 1; k <= kChainLength; ++k) {
        const std::string number = std::to_string(k);
        std::string html = "<html><head><title>Chain " + number + "</title></head><body>\n";
        std::vector<SiteLink> links;
        if (k < kChainLength) {
            html += "<a href=\"c" + std::to_string(k + 1) + ".html\">Next</a>\n";
            links.push_back({kHyperlink, url("/chain/c" + std::to_string(k + 1) + ".html")});
        }
        html += "<a href=\"leaf" + number + ".html\">Leaf</a>\n</body></html>\n";
        links.push_back({kHyperlink, leafUrl(k)});
        addPage("/chain/c" + number + ".html", html, links);
        addPage("/chain/leaf" + number + ".html",
                "<html><head><title>Leaf " + number + "</title></head><body><img src=\"leaf" + number +
                    ".gif\" alt=\"\"></body></html>\n",
                {{kImage, leafImageUrl(k)}});
        addFile("/chain/leaf" + number + ".gif", tinyGif(0x100000u + static_cast<unsigned>(k)), Answer::Image);
    }

    // A query written with "&amp;", and the target of an image map's area.
    addPage("/special/query.html", "<html><body><a href=\"query-child.html\">On</a></body></html>\n",
            {{kHyperlink, url("/special/query-child.html")}});
    addQueryVariant("/special/query.html", "?a=1&b=2");
    addresses_.erase(url("/special/query.html"));  // served, but linked only with its query
    addPage("/special/query-child.html", leafHtml("After the query"), {});
    addPage("/special/area.html", leafHtml("An area"), {});

    addFile("/img/shared.gif", tinyGif(0x040404), Answer::Image);

    // The page on the second server: 500 once, then 200 with a link back.
    if (!options_.otherServerUrl.empty()) {
        Address flaky;
        flaky.onOtherServer = true;
        flaky.failuresFirst = 1;
        flaky.body = "<html><head><title>Flaky</title></head><body><a href=\"" + url("/from-flaky.html") +
                     "\">Back</a></body></html>\n";
        flaky.links = {{kHyperlink, url("/from-flaky.html")}};
        addresses_[flakyUrl()] = flaky;
        addPage("/from-flaky.html", "<html><body><a href=\"from-flaky-child.html\">On</a></body></html>\n",
                {{kHyperlink, url("/from-flaky-child.html")}});
        addPage("/from-flaky-child.html", leafHtml("After the retried page"), {});
    }
}

// Every other way a page names a file it shows: style sheets (linked,
// imported by a <style> block, by a sheet and by a preload), their url(...)
// values (quoted, unquoted, escaped, with a fragment, in a comment that hides
// one), style attributes, srcset lists, a picture's source, a video's poster,
// sources and track, an audio, an icon, an object, an embed and preloads.
// The Latin page is in ISO-8859-1: its links hold an "é" written as one byte,
// which the crawl requests as UTF-8.
void TestSite::buildStylePages() {
    auto file = [&](const std::string &path, Answer answer, unsigned number) {
        addFile(path, answer == Answer::Image ? tinyGif(number) : "file " + std::to_string(number) + "\n", answer);
    };
    addPage(
        "/special/style.html",
        "<html><head><title>Style</title>\n<link rel=\"stylesheet\" href=\"../css/site.css\">\n"
        "<style>@import \"../css/imported.css\";\nbody { background: url(/img/style-only.gif) }</style>\n"
        "<link rel=\"Shortcut Icon\" href=\"/favicon.ico\"><link rel=preload as=style href=\"../css/preloaded.css\">"
        "<link rel=modulepreload href=\"../js/module.js\"><link rel=preload as=font href=\"../media/font.woff2\">"
        "</head>\n<body><img src=\"../img/shared.gif\" srcset=\"../img/one-x.gif 1x, ../img/two-x.gif 2x\">\n"
        "<div style=\"background-image: url(&quot;../img/attribute-only.gif&quot;)\">x</div>\n"
        "<picture><source srcset=\"../img/picture.gif\" type=\"image/gif\"><img src=\"../img/shared.gif\"></picture>\n"
        "<video poster=\"../media/poster.gif\" src=\"../media/clip.webm\"><source src=\"../media/clip.mp4\">"
        "<track src=\"../media/subtitles.vtt\"></video>\n<audio src=\"../media/sound.ogg\"></audio>\n"
        "<object data=\"../media/drawing.svg\"></object><embed src=\"../media/movie.swf\">\n"
        "<a href=\"../index.html\">Home</a> <a href=\"latin.html\">Latin</a></body></html>\n",
        {{kStylesheet, url("/css/site.css")},
         {kStylesheet, url("/css/imported.css")},
         {kBackground, url("/img/style-only.gif")},
         {kImage, url("/favicon.ico")},
         {kStylesheet, url("/css/preloaded.css")},
         {kScript, url("/js/module.js")},
         {kEmbed, url("/media/font.woff2")},
         {kImage, url("/img/shared.gif")},
         {kImage, url("/img/one-x.gif")},
         {kImage, url("/img/two-x.gif")},
         {kBackground, url("/img/attribute-only.gif")},
         {kImage, url("/img/picture.gif")},
         {kImage, url("/media/poster.gif")},
         {kEmbed, url("/media/clip.webm")},
         {kEmbed, url("/media/clip.mp4")},
         {kEmbed, url("/media/subtitles.vtt")},
         {kSound, url("/media/sound.ogg")},
         {kEmbed, url("/media/drawing.svg")},
         {kEmbed, url("/media/movie.swf")},
         {kHyperlink, url("/index.html")},
         {kHyperlink, url("/special/latin.html")}});
    addPage("/special/latin.html",
            "<html><head><meta charset=\"iso-8859-1\"><title>Latin</title>\n"
            "<style>p { background: url('../img/caf\xE9-style.gif') }</style></head>\n"
            "<body><img srcset=\"../img/caf\xE9.gif 2x\"><p style=\"background:url(../img/\xE9t\xE9.gif)\">\xE9</p>"
            "</body></html>\n",
            {{kBackground, url("/img/caf\xC3\xA9-style.gif")},
             {kImage, url("/img/caf\xC3\xA9.gif")},
             {kBackground, url("/img/\xC3\xA9t\xC3\xA9.gif")}});
    addFile("/css/site.css",
            "@charset \"utf-8\";\n@import url(base.css);\nbody { background: url(../img/css-only.gif) }\n"
            "/* h2 { background: url(../img/commented.gif) } */\n.a { background: url('../img/sp\\72 ite.gif#x') }\n"
            "@font-face { font-family: f; src: url(\"../media/sheet-font.woff\") format(\"woff\") }\n",
            Answer::StyleSheet);
    addresses_[url("/css/site.css")].links = {{kStylesheet, url("/css/base.css")},
                                              {kBackground, url("/img/css-only.gif")},
                                              {kBackground, url("/img/sprite.gif")},
                                              {kBackground, url("/media/sheet-font.woff")}};
    addFile("/css/base.css", "h1 { background: url(/img/base-only.gif) }\n", Answer::StyleSheet);
    addresses_[url("/css/base.css")].links = {{kBackground, url("/img/base-only.gif")}};
    addFile("/css/imported.css", "p { background: url(\"../img/imported-only.gif\") }\n", Answer::StyleSheet);
    addresses_[url("/css/imported.css")].links = {{kBackground, url("/img/imported-only.gif")}};
    addFile("/css/preloaded.css", "em { color: red }\n", Answer::StyleSheet);
    unsigned number = 0x010101;
    for (const char *image :
         {"/img/style-only.gif", "/img/css-only.gif", "/favicon.ico", "/img/one-x.gif", "/img/two-x.gif",
          "/img/attribute-only.gif", "/img/picture.gif", "/media/poster.gif", "/img/sprite.gif", "/img/base-only.gif",
          "/img/imported-only.gif", "/img/caf\xC3\xA9-style.gif", "/img/caf\xC3\xA9.gif", "/img/\xC3\xA9t\xC3\xA9.gif"})
        file(image, Answer::Image, number++);
    for (const char *other :
         {"/js/module.js", "/media/font.woff2", "/media/clip.webm", "/media/clip.mp4", "/media/subtitles.vtt",
          "/media/sound.ogg", "/media/drawing.svg", "/media/movie.swf", "/media/sheet-font.woff"})
        file(other, Answer::Script, number++);
}

void TestSite::build() {
    if (options_.specials) buildSpecials();
    buildNumberedPages();
    if (!options_.specials) addFile("/img/shared.gif", tinyGif(0x040404), Answer::Image);
    checkLinkClasses();
}

// Every link leads to a known address, and no address is reached both by a
// followed kind of link and by another.
void TestSite::checkLinkClasses() const {
    auto followed = [](int kind) {
        return kind == kHyperlink || kind == kFrame || kind == kIframe || kind == kRefresh || kind == kStylesheet;
    };
    std::map<std::string, std::set<bool>> classes;
    classes[startUrl()].insert(true);
    for (const auto &[from, a] : addresses_)
        for (const SiteLink &l : a.links) {
            if (!addresses_.count(l.url)) throw std::logic_error(from + " links to unknown " + l.url);
            classes[l.url].insert(followed(l.kind));
        }
    for (const auto &[url, kinds] : classes)
        if (kinds.size() > 1) throw std::logic_error(url + " is reached by followed and other links");
    auto &self = const_cast<TestSite &>(*this);
    for (auto &[url, a] : self.addresses_) {
        const auto found = classes.find(url);
        a.linksFollowed = found != classes.end() && found->second.count(true);
    }
}

TestSite::Expectation TestSite::expected(int depth, const std::function<bool(const std::string &)> &refused) const {
    Expectation out;
    std::set<std::string> settled;
    std::deque<std::pair<std::string, int>> queue{{startUrl(), 0}};
    out.levels[startUrl()] = 0;
    // Breadth first with weights 0 and 1: each address is settled at its lowest level.
    while (!queue.empty()) {
        const auto [from, level] = queue.front();
        queue.pop_front();
        if (level != out.levels.at(from) || !settled.insert(from).second) continue;
        const Address &page = address(from);
        if (!page.linksFollowed) continue;
        for (const SiteLink &l : page.links) {
            const int to = level + (l.kind == kHyperlink ? 1 : 0);
            if (to > depth) continue;
            if (refused && l.url != startUrl() && refused(l.url)) {
                out.refused.insert(l.url);
                continue;
            }
            const auto known = out.levels.find(l.url);
            if (known != out.levels.end() && known->second <= to) continue;
            out.levels[l.url] = to;
            if (l.kind == kHyperlink)
                queue.emplace_back(l.url, to);
            else
                queue.emplace_front(l.url, to);
        }
    }
    return out;
}

}  // namespace test
