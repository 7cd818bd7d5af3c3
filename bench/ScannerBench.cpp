// Link extraction over a generated corpus of 10,000 pages: our scanner, and
// for comparison libxml2's HTML parser building a tree and collecting every
// href and src attribute from it, in the same run.
#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <random>
#include <string>
#include <vector>

#include "base/HtmlScanner.h"

namespace {

constexpr int kPages = 10000;

// Pages of the shapes crawled sites have: a head with style sheets and
// scripts, paragraphs of text, links, images, tables, comments.
const std::vector<std::string> &corpus() {
    static const std::vector<std::string> pages = [] {
        std::mt19937 random(7);
        std::vector<std::string> out;
        out.reserve(kPages);
        for (int p = 0; p < kPages; ++p) {
            std::string page = "<!DOCTYPE html><html><head><title>Page " + std::to_string(p) + "</title>";
            page += "<link rel=stylesheet href=\"/css/site.css\"><script src=\"/js/app.js\"></script></head><body>";
            const int blocks = 10 + static_cast<int>(random() % 20);
            for (int b = 0; b < blocks; ++b) {
                switch (random() % 5) {
                    case 0:
                        page += "<p>Some text about item " + std::to_string(random() % 1000) +
                                " with words, more words and still more words to read.</p>";
                        break;
                    case 1:
                        page += "<a href=\"/section/" + std::to_string(random() % 200) + "/page" +
                                std::to_string(random() % 50) + ".html\">link</a> ";
                        break;
                    case 2:
                        page += "<img src=\"../images/pic" + std::to_string(random() % 300) +
                                ".jpg\" alt=\"picture\" width=100 height=80>";
                        break;
                    case 3:
                        page += "<table><tr><td background=\"bg.gif\">cell</td><td><a href='?page=" +
                                std::to_string(random() % 99) + "&amp;sort=asc'>next</a></td></tr></table>";
                        break;
                    default:
                        page += "<!-- a comment with <a href=\"hidden.html\"> inside --><div class=\"box\">box</div>";
                }
            }
            out.push_back(page + "</body></html>");
        }
        return out;
    }();
    return pages;
}

int64_t corpusBytes() {
    int64_t bytes = 0;
    for (const std::string &page : corpus()) bytes += static_cast<int64_t>(page.size());
    return bytes;
}

void ScannerLinks(benchmark::State &state) {
    size_t links = 0;
    for (auto _ : state)
        for (const std::string &page : corpus())
            links += eng::extractLinks("http://example.com/dir/page.html", page).links.size();
    benchmark::DoNotOptimize(links);
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(ScannerLinks)->Unit(benchmark::kMillisecond);

// One page with 100,000 links, a tenth of them repeated: the cost of keeping
// each kind and address once must grow with the links, not with their square.
void ScannerPageWithManyLinks(benchmark::State &state) {
    std::string page = "<html><body>";
    for (int i = 0; i < 100000; ++i)
        page += "<a href=\"/p/" + std::to_string(i % 10 == 0 ? 0 : i) + ".html\">" + std::to_string(i) + "</a>\n";
    page += "</body></html>";
    size_t links = 0;
    for (auto _ : state) links += eng::extractLinks("http://example.com/", page).links.size();
    benchmark::DoNotOptimize(links);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(ScannerPageWithManyLinks)->Unit(benchmark::kMillisecond);

void collect(xmlNode *node, size_t &links) {
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE)
            for (xmlAttr *a = node->properties; a; a = a->next)
                if (xmlStrcasecmp(a->name, BAD_CAST "href") == 0 || xmlStrcasecmp(a->name, BAD_CAST "src") == 0)
                    ++links;
        collect(node->children, links);
    }
}

void Libxml2Links(benchmark::State &state) {
    size_t links = 0;
    for (auto _ : state)
        for (const std::string &page : corpus()) {
            htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), "page.html", "UTF-8",
                                            HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
            collect(xmlDocGetRootElement(doc), links);
            xmlFreeDoc(doc);
        }
    benchmark::DoNotOptimize(links);
    state.SetBytesProcessed(state.iterations() * corpusBytes());
}
BENCHMARK(Libxml2Links)->Unit(benchmark::kMillisecond);

}  // namespace
