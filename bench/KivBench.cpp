// Latency of offline browsing: stored pages requested through the "kiv:"
// handler's C interface (each request: start, the engine's answer, links
// combined into offline addresses, the report, reading the data), against
// fetching the same pages from nginx with a kept-alive curl handle, the time
// a browser would wait on a local web server. Both in the same run.
//
// Usage: kiv_bench [--requests N] [--pages N]
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <numeric>
#include <string>
#include <vector>

#include "OpenedProject.h"
#include "engine.h"
#include "kiv.h"
#include "support/NginxServer.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// A page of about 8 KB: text and 30 links of the kinds pages have.
std::string pageText(int k, int pages) {
    std::string page = "<html><head><title>page " + std::to_string(k) +
                       "</title><link rel=\"stylesheet\" href=\"../style.css\"></head><body>\n";
    for (int link = 0; link < 30; ++link) {
        const int target = (k * 7 + link * 13) % pages;
        page += "<p>Paragraph " + std::to_string(link) + " of a stored page, with enough words to look like text. ";
        page += link % 3 == 0   ? "<a href=\"p" + std::to_string(target) + ".html\">next</a>"
                : link % 3 == 1 ? "<a href=\"/pages/p" + std::to_string(target) + ".html?from=" + std::to_string(k) +
                                      "#s\">other</a>"
                                : "<img src=\"../img/i" + std::to_string(link) + ".gif\" alt=\"\">";
        page += " More words follow the link so that the page has a body worth reading.</p>\n";
    }
    return page + "</body></html>\n";
}

void writeSite(const std::filesystem::path &root, int pages) {
    std::filesystem::create_directories(root / "pages");
    std::string index = "<html><body>";
    for (int k = 0; k < pages; ++k) {
        std::ofstream(root / "pages" / ("p" + std::to_string(k) + ".html")) << pageText(k, pages);
        index += "<a href=\"pages/p" + std::to_string(k) + ".html\">" + std::to_string(k) + "</a>\n";
    }
    std::ofstream(root / "index.html") << index + "</body></html>";
    std::ofstream(root / "style.css") << "body { background: url(back.png) }";
}

struct Result {
    std::string body;
    bool done = false;
    std::mutex lock;
    std::condition_variable ended;
};

// One page through the handler, to its last byte; the bytes delivered.
size_t viaKiv(const std::string &address) {
    Result result;
    const KivSink sink{&result, nullptr, nullptr, [](void *self, int32_t, uint32_t) {
                           auto &r = *static_cast<Result *>(self);
                           std::lock_guard guard(r.lock);
                           r.done = true;
                           r.ended.notify_all();
                       }};
    KivHandler *handler = Kiv_CreateHandler();
    Kiv_Start(handler, address.c_str(), 0, nullptr, 0, &sink);
    {
        std::unique_lock guard(result.lock);
        result.ended.wait(guard, [&] { return result.done; });
    }
    char buffer[16384];
    uint32_t read = 0;
    size_t total = 0;
    while (Kiv_Read(handler, buffer, sizeof buffer, &read) == KIV_S_OK) total += read;
    Kiv_ReleaseHandler(handler);
    return total;
}

size_t discard(char *, size_t size, size_t count, void *total) {
    *static_cast<size_t *>(total) += size * count;
    return size * count;
}

struct Summary {
    double median, p99, mean;
};

Summary summarise(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    const double mean = std::accumulate(micros.begin(), micros.end(), 0.0) / static_cast<double>(micros.size());
    return {micros[micros.size() / 2], micros[micros.size() * 99 / 100], mean};
}

std::vector<double> timed(int requests, const std::function<size_t(int)> &request) {
    for (int k = 0; k < std::min(requests, 200); ++k) request(k);  // warm caches
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(requests));
    for (int k = 0; k < requests; ++k) {
        const auto start = Clock::now();
        if (request(k) == 0) {
            std::fprintf(stderr, "kiv_bench: request %d delivered nothing\n", k);
            std::exit(1);
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return micros;
}

int argument(int argc, char **argv, const std::string &name, int fallback) {
    for (int k = 1; k + 1 < argc; ++k)
        if (argv[k] == name) return std::atoi(argv[k + 1]);
    return fallback;
}

}  // namespace

int main(int argc, char **argv) {
    const int requests = argument(argc, argv, "--requests", 10000);
    const int pages = argument(argc, argv, "--pages", 200);
    test::TempDir site, work;
    writeSite(site.path(), pages);
    test::NginxServer nginx(site.path());
    const std::string project = work.file("bench.slk");
    const std::string mirror =
        std::string(LARK_PROGRAM) + " mirror " + nginx.url("/index.html") + " -o " + project + " --depth 1 > /dev/null";
    if (std::system(mirror.c_str()) != 0) {
        std::fprintf(stderr, "kiv_bench: the crawl failed\n");
        return 1;
    }
    const auto pageUrl = [&](int k) { return nginx.url("/pages/p" + std::to_string(k % pages) + ".html"); };

    std::vector<double> kiv;
    {
        lark::OpenedProject opened(project);
        if (!Kiv_Register(nullptr)) return 1;
        kiv = timed(requests, [&](int k) { return viaKiv("kiv:0:09-12-2026-12-00-00:0:" + pageUrl(k)); });
    }

    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL *curl = curl_easy_init();
    size_t received = 0;
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    const std::vector<double> http = timed(requests, [&](int k) {
        received = 0;
        curl_easy_setopt(curl, CURLOPT_URL, pageUrl(k).c_str());
        return curl_easy_perform(curl) == CURLE_OK ? received : 0;
    });
    curl_easy_cleanup(curl);

    const Summary a = summarise(kiv), b = summarise(http);
    std::printf("%d requests over %d stored pages of about 8 KB with 30 links each\n\n", requests, pages);
    std::printf("%-34s %10s %10s %10s\n", "", "median us", "p99 us", "mean us");
    std::printf("%-34s %10.1f %10.1f %10.1f\n", "kiv: handler + Eng_GetBody", a.median, a.p99, a.mean);
    std::printf("%-34s %10.1f %10.1f %10.1f\n", "nginx + curl, kept alive", b.median, b.p99, b.mean);
    std::printf("%-34s %10.2f %10.2f %10.2f\n", "ratio", a.median / b.median, a.p99 / b.p99, a.mean / b.mean);
    return 0;
}
