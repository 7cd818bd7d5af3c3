// Whole crawls through the built lark program: a generated site served by
// nginx (and a scripted second server), crawled with lark run or lark mirror,
// then the project file compared with what the site's graph says the crawl
// must store.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "engine.h"
#include "support/ChildProcess.h"
#include "support/NginxServer.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

using namespace std::chrono_literals;
using test::SiteLink;
using test::TestSite;

namespace {

// A crawl that has not ended by then has hung.
constexpr auto kRunLimit = 50s;
// Mismatches listed per check before the rest are only counted.
constexpr size_t kShown = 12;

std::string fileText(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The rows of a query on a closed project file, every column as its bytes
// (text or blob; NULL as "").
std::vector<std::vector<std::string>> rows(const std::string &path, const std::string &sql) {
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path + ": " + error);
    }
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(error + " in " + sql);
    }
    std::vector<std::vector<std::string>> out;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const void *bytes = sqlite3_column_blob(statement, c);
            row.emplace_back(static_cast<const char *>(bytes), bytes ? sqlite3_column_bytes(statement, c) : 0);
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return out;
}

long long number(const std::string &path, const std::string &sql) {
    const auto found = rows(path, sql);
    return found.empty() ? -1 : std::stoll(found.front().front());
}

struct Lark {
    int status;
    std::string output;
};

// Runs the built lark with the words, ending it when it outlives the limit.
Lark lark(const std::vector<std::string> &words, const test::TempDir &dir, std::chrono::seconds limit = kRunLimit) {
    static int runs = 0;
    const auto log = dir.path() / ("lark-" + std::to_string(++runs) + ".log");
    std::vector<std::string> argv{LARK_PROGRAM};
    argv.insert(argv.end(), words.begin(), words.end());
    test::ChildProcess child(argv, {.pipeStdout = false, .outputFile = log});
    std::optional<int> status = child.waitForExit(limit);
    if (!status) {
        child.stop();
        return {-1, fileText(log) + "\n(ended by the test after " + std::to_string(limit.count()) + " s)"};
    }
    return {*status, fileText(log)};
}

// One line of nginx's access log: "GET /target HTTP/1.1 200 123".
struct Request {
    std::string target;
    int status = 0;
};

std::vector<Request> requests(const test::NginxServer &nginx, size_t from = 0) {
    std::vector<Request> out;
    const std::vector<std::string> lines = nginx.accessLog();
    for (size_t i = from; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string method, target, protocol;
        Request r;
        words >> method >> target >> protocol >> r.status;
        r.target = target;
        out.push_back(r);
    }
    return out;
}

// Lists the first mismatches of a check in one failure, and counts the rest.
class Mismatches {
public:
    explicit Mismatches(std::string what) : what_(std::move(what)) {}
    ~Mismatches() {
        if (count_ == 0) return;
        ADD_FAILURE() << what_ << ": " << count_ << " mismatch(es)\n" << text_ << (count_ > kShown ? "  ...\n" : "");
    }
    void add(const std::string &line) {
        if (count_++ < kShown) text_ += "  " + line + "\n";
    }
    size_t count() const { return count_; }

private:
    std::string what_, text_;
    size_t count_ = 0;
};

std::string linksText(const std::vector<SiteLink> &links) {
    std::string text = "{";
    for (const SiteLink &l : links) text += " " + std::to_string(l.kind) + ":" + l.url;
    return text + " }";
}

// What a project file holds about one address.
struct Stored {
    int rows = 0;  // UrlRes rows of the address
    int state = 0, status = 0, retries = 0, error = 0, tcpError = 0;
    std::string body;
    std::string redirect;         // the address RedirectUrlId names
    std::vector<SiteLink> links;  // Rel rows of its body, sorted
};

std::map<std::string, Stored> storedAddresses(const std::string &project) {
    std::map<std::string, Stored> out;
    for (const auto &r :
         rows(project,
              "SELECT s.String, u.State, u.StatusCode, u.Retries, u.Error, u.TcpError, r.Body, t.String "
              "FROM UrlRes u JOIN Strings s ON s.StrId = u.UrlId LEFT JOIN Res r ON r.ResId = u.ResId "
              "LEFT JOIN Strings t ON t.StrId = u.RedirectUrlId")) {
        Stored &s = out[r[0]];
        ++s.rows;
        s.state = std::stoi(r[1]);
        s.status = std::stoi(r[2]);
        s.retries = std::stoi(r[3]);
        s.error = std::stoi(r[4]);
        s.tcpError = std::stoi(r[5]);
        s.body = r[6];
        s.redirect = r[7];
    }
    for (const auto &r : rows(project,
                              "SELECT s.String, l.Relation, t.String, l.PostId FROM UrlRes u "
                              "JOIN Strings s ON s.StrId = u.UrlId JOIN Rel l ON l.ResId = u.ResId "
                              "JOIN Strings t ON t.StrId = l.UrlId WHERE u.ResId <> 0")) {
        out[r[0]].links.push_back({std::stoi(r[1]), r[2] + (r[3] == "0" ? "" : " (post " + r[3] + ")")});
    }
    for (auto &[url, s] : out) std::sort(s.links.begin(), s.links.end());
    return out;
}

struct ItemRow {
    int level = 0;
    bool hasResource = false;
};

std::map<std::string, std::vector<ItemRow>> taskItems(const std::string &project, int task) {
    std::map<std::string, std::vector<ItemRow>> out;
    for (const auto &r : rows(project,
                              "SELECT s.String, i.Level, i.UrlResId FROM Items i "
                              "JOIN Strings s ON s.StrId = i.UrlId WHERE i.TaskId = " +
                                  std::to_string(task)))
        out[r[0]].push_back({std::stoi(r[1]), r[2] != "0"});
    return out;
}

// Everything a finished crawl of one task leaves in the project: each expected
// address once, done, with its status, body and links; the task's items on
// their levels and its counters.
void checkFinishedCrawl(const std::string &project, int task, const TestSite &site,
                        const TestSite::Expectation &expected) {
    const std::map<std::string, Stored> stored = storedAddresses(project);
    {
        Mismatches m("addresses stored (UrlRes rows)");
        for (const auto &[url, level] : expected.levels) {
            const auto found = stored.find(url);
            if (found == stored.end()) {
                m.add("missing " + url + " (level " + std::to_string(level) + ")");
                continue;
            }
            const Stored &s = found->second;
            const TestSite::Address &a = site.address(url);
            if (s.rows != 1) m.add(url + " has " + std::to_string(s.rows) + " rows");
            if (s.state != ENG_STATE_DONE) m.add(url + " is in state " + std::to_string(s.state));
            if (s.status != a.status) m.add(url + " has status " + std::to_string(s.status));
            if (s.retries != a.failuresFirst)
                m.add(url + " was retried " + std::to_string(s.retries) + " times, not " +
                      std::to_string(a.failuresFirst));
            // Nothing is cut off or lost on the way; only answers of 400 and more are errors.
            if (s.tcpError) m.add(url + " (status " + std::to_string(s.status) + ") is marked as a network error");
            if (s.error != (a.status >= 400 ? 1 : 0))
                m.add(url + " (status " + std::to_string(s.status) + ") has error flag " + std::to_string(s.error));
            if (a.answer == TestSite::Answer::Redirect && s.redirect != a.location)
                m.add(url + " redirects to \"" + s.redirect + "\", not " + a.location);
            if (a.status == 200 && s.body != a.body)
                m.add(url + " stored " + std::to_string(s.body.size()) + " bytes that differ from the " +
                      std::to_string(a.body.size()) + " served");
        }
        for (const auto &[url, s] : stored)
            if (!expected.levels.count(url)) m.add("unexpected " + url);
    }
    {
        Mismatches m("links recorded for stored pages (Rel rows)");
        for (const auto &[url, level] : expected.levels) {
            const auto found = stored.find(url);
            if (found == stored.end()) continue;
            const std::set<SiteLink> &want = site.address(url).links;
            const std::vector<SiteLink> wanted(want.begin(), want.end());
            if (found->second.links != wanted)
                m.add(url + "\n    recorded " + linksText(found->second.links) + "\n    expected " + linksText(wanted));
        }
    }
    const auto items = taskItems(project, task);
    size_t withResource = 0;
    {
        Mismatches m("items of task " + std::to_string(task));
        for (const auto &[url, list] : items) {
            if (list.size() != 1) m.add(url + " has " + std::to_string(list.size()) + " items");
            const ItemRow &item = list.front();
            withResource += item.hasResource ? 1 : 0;
            const auto level = expected.levels.find(url);
            if (level != expected.levels.end()) {
                if (!item.hasResource) m.add(url + " has no resource");
                if (item.level != level->second)
                    m.add(url + " is on level " + std::to_string(item.level) + ", not " +
                          std::to_string(level->second));
            } else if (expected.refused.count(url)) {
                if (item.hasResource) m.add(url + " is refused by the filter but has a resource");
            } else {
                m.add("unexpected item " + url);
            }
        }
        for (const auto &[url, level] : expected.levels)
            if (!items.count(url)) m.add("no item for " + url);
        for (const std::string &url : expected.refused)
            if (!items.count(url)) m.add("no refused item for " + url);
    }
    const std::string counters =
        "SELECT Queued, Retrieved, State, ErrFiles FROM Tasks WHERE TaskId = " + std::to_string(task);
    const auto row = rows(project, counters);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0][0], "0") << "the task's Queued";
    EXPECT_EQ(std::stoul(row[0][1]), withResource) << "the task's Retrieved against its items with a resource";
    EXPECT_EQ(std::stoul(row[0][1]), expected.levels.size()) << "the task's Retrieved against the expected addresses";
    EXPECT_EQ(row[0][2], "2") << "the task's State (complete)";
    // ErrFiles counts 1 for each failed answer and 0x10000 for each network error.
    const auto failed = std::count_if(expected.levels.begin(), expected.levels.end(),
                                      [&](const auto &entry) { return site.address(entry.first).status >= 400; });
    EXPECT_EQ(std::stoll(row[0][3]), failed) << "the task's ErrFiles";
    EXPECT_EQ(number(project, "SELECT count(*) FROM UrlRes WHERE State = " + std::to_string(ENG_STATE_QUEUED)), 0);
}

// nginx saw a request for each expected address of its own, `times` times
// (0: at least once), and none for anything else. Only after a killed run may
// an answer have been cut off (499: the client went away).
void checkRequests(const std::vector<Request> &seen, const TestSite &site, const TestSite::Expectation &expected,
                   int times, bool afterKill = false) {
    std::map<std::string, int> wanted;  // target -> status
    for (const auto &[url, level] : expected.levels)
        if (auto target = site.requestTarget(url)) wanted[*target] = site.address(url).status;
    std::map<std::string, int> count;
    Mismatches m("requests nginx answered");
    for (const Request &r : seen) {
        ++count[r.target];
        const auto found = wanted.find(r.target);
        if (found == wanted.end())
            m.add("unexpected request " + r.target + " (" + std::to_string(r.status) + ")");
        else if (r.status != found->second && !(afterKill && r.status == 499))
            m.add(r.target + " answered " + std::to_string(r.status));
    }
    for (const auto &[target, status] : wanted) {
        const int n = count[target];
        if (n == 0 || (times > 0 && n != times))
            m.add(target + " requested " + std::to_string(n) + " times" +
                  (times > 0 ? ", not " + std::to_string(times) : ""));
    }
}

TestSite::Options siteOptions(int pages, std::string otherServerUrl = "", bool specials = true, size_t padding = 0) {
    TestSite::Options options;
    options.pages = pages;
    options.otherServerUrl = std::move(otherServerUrl);
    options.specials = specials;
    options.padding = padding;
    return options;
}

// Serves a generated site: nginx over a folder, the site written into it once
// its address is known.
class SiteServer {
public:
    SiteServer(TestSite::Options options, std::string nginxConfig) {
        nginx_ = std::make_unique<test::NginxServer>(
            folder_.path(), test::NginxServer::Options{.extraServerConfig = std::move(nginxConfig)});
        options.baseUrl = nginx_->url("");
        site_ = std::make_unique<TestSite>(std::move(options));
        site_->write(folder_.path());
    }
    const TestSite &site() const { return *site_; }
    const test::NginxServer &nginx() const { return *nginx_; }
    const std::filesystem::path &folder() const { return folder_.path(); }

private:
    test::TempDir folder_;
    std::unique_ptr<test::NginxServer> nginx_;
    std::unique_ptr<TestSite> site_;
};

class CrawlEndToEnd : public ::testing::Test {
protected:
    // A new project with one task; its number.
    int newTask(const std::string &url, const std::vector<std::string> &options) {
        const Lark made = lark({"new", project_}, dir_);
        EXPECT_EQ(made.status, 0) << made.output;
        std::vector<std::string> words{"add", project_, url};
        words.insert(words.end(), options.begin(), options.end());
        const Lark added = lark(words, dir_);
        EXPECT_EQ(added.status, 0) << added.output;
        return std::atoi(added.output.c_str());
    }
    Lark run(const std::vector<std::string> &options) {
        std::vector<std::string> words{"run", project_};
        words.insert(words.end(), options.begin(), options.end());
        return lark(words, dir_);
    }
    void crawlFiltered(const std::string &filter, const std::function<bool(const std::string &)> &refused);

    test::TempDir dir_;
    const std::string project_ = dir_.file("site.slk");
};

// The whole site to depth 3: redirects, refresh, frames, a missing page, a
// slow page (8 KB at 2 KB/s, with a receive time-out of 3 s that it never
// reaches between two parts), and a page elsewhere that fails once.
TEST_F(CrawlEndToEnd, StoresEveryAddressWithinTheDepthOnceWithItsLinks) {
    test::ScriptedHttpServer elsewhere;
    elsewhere.answer(test::httpResponse(500, "Internal Server Error", "try again", {"Content-Type: text/plain"}));
    SiteServer server(siteOptions(300, elsewhere.url("")), TestSite::nginxConfig());
    const TestSite &site = server.site();
    elsewhere.answer(test::httpResponse(200, "OK", site.address(site.flakyUrl()).body, {"Content-Type: text/html"}));

    const TestSite::Expectation expected = site.expected(3);
    // The site reaches beyond the depth, and the depth holds every kind of page.
    ASSERT_GT(site.expected(30).levels.size(), expected.levels.size() + 50);
    for (const std::string &url : {site.flakyUrl(), site.slowUrl(), site.missingUrl(), site.url("/r3.html"),
                                   site.url("/frames/inner-child.html"), site.url("/from-flaky-child.html")})
        ASSERT_TRUE(expected.levels.count(url)) << url;

    const int task = newTask(site.startUrl(), {"--depth", "3"});
    ASSERT_EQ(task, 1);
    const Lark crawl = run({"--retries", "2", "--timeout", "3", "--per-server", "4", "--connections", "6"});
    ASSERT_EQ(crawl.status, 0) << crawl.output;
    EXPECT_NE(crawl.output.find("finished"), std::string::npos) << crawl.output;

    checkFinishedCrawl(project_, task, site, expected);
    checkRequests(requests(server.nginx()), site, expected, 1);
    // The page elsewhere: a 500, then the 200 that is stored.
    const std::vector<std::string> asked = elsewhere.requests();
    EXPECT_EQ(asked.size(), 2u);
    for (const std::string &request : asked) EXPECT_EQ(request.rfind("GET /flaky.html ", 0), 0u) << request;
}

// A filter that refuses part of the site: nothing of it is requested, its
// links are recorded as refused items, and the rest of the site is crawled
// as if that part were not there.
void CrawlEndToEnd::crawlFiltered(const std::string &filter, const std::function<bool(const std::string &)> &refused) {
    SiteServer server(siteOptions(300), TestSite::nginxConfig());
    const TestSite &site = server.site();
    const TestSite::Expectation expected = site.expected(3, refused);
    const TestSite::Expectation unfiltered = site.expected(3);
    ASSERT_FALSE(expected.refused.empty());
    ASSERT_GE(std::count_if(unfiltered.levels.begin(), unfiltered.levels.end(),
                            [&](const auto &entry) { return refused(entry.first); }),
              4);

    const int task = newTask(site.startUrl(), {"--depth", "3", "--filter", filter});
    ASSERT_EQ(task, 1);
    const Lark crawl = run({"--per-server", "4", "--connections", "6"});
    ASSERT_EQ(crawl.status, 0) << crawl.output;

    checkFinishedCrawl(project_, task, site, expected);
    const std::vector<Request> seen = requests(server.nginx());
    for (const Request &r : seen) EXPECT_FALSE(refused(site.url(r.target))) << r.target;
    checkRequests(seen, site, expected, 1);
}

TEST_F(CrawlEndToEnd, FilteredBranchIsNeverRequested) {
    crawlFiltered("not */d2/*", [](const std::string &url) { return url.find("/d2/") != std::string::npos; });
}

// Style sheets refused: the images only they name are never asked for either.
TEST_F(CrawlEndToEnd, FilesOfARefusedStyleSheetAreNeverRequested) {
    crawlFiltered("not */css/*", [](const std::string &url) { return url.find("/css/") != std::string::npos; });
}

// A page on the task's last level whose only link is an image still gets the
// image (embedded resources stay on their page's level); the page one level
// further, and its image, are never requested.
TEST_F(CrawlEndToEnd, ImageOfAPageAtTheTaskDepthIsFetched) {
    SiteServer server(siteOptions(40), TestSite::nginxConfig());
    const TestSite &site = server.site();
    constexpr int kDepth = 2;
    const TestSite::Expectation expected = site.expected(kDepth);
    ASSERT_EQ(expected.levels.at(site.leafUrl(kDepth - 1)), kDepth);
    ASSERT_EQ(site.address(site.leafUrl(kDepth - 1)).links,
              (std::set<SiteLink>{{test::link_kind::kImage, site.leafImageUrl(kDepth - 1)}}));

    const Lark mirror =
        lark({"mirror", site.startUrl(), "-o", project_, "--depth", std::to_string(kDepth), "--per-server", "4"}, dir_);
    ASSERT_EQ(mirror.status, 0) << mirror.output;

    const auto stored = storedAddresses(project_);
    const auto image = stored.find(site.leafImageUrl(kDepth - 1));
    ASSERT_NE(image, stored.end()) << "the image of the page at the depth was not fetched";
    EXPECT_EQ(image->second.state, ENG_STATE_DONE);
    EXPECT_EQ(image->second.status, 200);
    EXPECT_EQ(image->second.body, site.address(site.leafImageUrl(kDepth - 1)).body);
    const auto items = taskItems(project_, 1);
    const auto imageItem = items.find(site.leafImageUrl(kDepth - 1));
    ASSERT_NE(imageItem, items.end());
    EXPECT_EQ(imageItem->second.front().level, kDepth);
    EXPECT_FALSE(stored.count(site.leafUrl(kDepth)));
    EXPECT_FALSE(stored.count(site.leafImageUrl(kDepth)));

    checkFinishedCrawl(project_, 1, site, expected);
    checkRequests(requests(server.nginx()), site, expected, 1);
}

// A page that links to a picture before it shows it, and links twice to a
// page: each target is one item, the picture on its page's level.
TEST_F(CrawlEndToEnd, AnAddressLinkedTwiceFromAPageIsOneItemOnItsLowestLevel) {
    test::TempDir site;
    std::ofstream(site.file("index.html"))
        << "<a href=\"pic.gif\">Picture</a> <a href=\"next.html\">Next</a> <a href=\"next.html\">Again</a>"
           "<img src=\"pic.gif\">";
    std::ofstream(site.file("pic.gif")) << "GIF89a";
    std::ofstream(site.file("next.html")) << "<p>next</p>";
    const test::NginxServer nginx(site.path());
    const Lark mirror = lark({"mirror", nginx.url("/index.html"), "-o", project_, "--depth", "1"}, dir_);
    ASSERT_EQ(mirror.status, 0) << mirror.output;

    const auto items = taskItems(project_, 1);
    ASSERT_EQ(items.size(), 3u);
    ASSERT_EQ(items.at(nginx.url("/pic.gif")).size(), 1u);
    EXPECT_EQ(items.at(nginx.url("/pic.gif")).front().level, 0);
    ASSERT_EQ(items.at(nginx.url("/next.html")).size(), 1u);
    EXPECT_EQ(items.at(nginx.url("/next.html")).front().level, 1);
    EXPECT_EQ(requests(nginx).size(), 3u);
}

// A run killed outright in the middle (SIGKILL: nothing is closed) and run
// again to the end: every page is stored exactly once, none is lost, and
// none that was stored before the kill is requested again.
TEST_F(CrawlEndToEnd, KilledRunLosesNothingWhenRunAgain) {
    // Pages of about 2 KB served at 1 KB/s while the throttle file lies in the
    // folder: each takes about a second, so the kill finds some stored and
    // some on the way.
    SiteServer server(siteOptions(400, "", false, 1500), TestSite::throttledNginxConfig(1024));
    const TestSite &site = server.site();
    const TestSite::Expectation expected = site.expected(100);
    ASSERT_EQ(expected.levels.size(), site.addresses().size()) << "every address is reachable";
    std::ofstream(server.folder() / "throttle") << "on\n";

    const int task = newTask(site.startUrl(), {"--depth", "100"});
    ASSERT_EQ(task, 1);
    {
        const auto log = dir_.path() / "killed-run.log";
        test::ChildProcess killed({LARK_PROGRAM, "run", project_, "--per-server", "8", "--connections", "8"},
                                  {.pipeStdout = false, .outputFile = log});
        ASSERT_TRUE(server.nginx().waitForAccessLog(24, 30s)) << fileText(log);
        ASSERT_TRUE(killed.running()) << "the run ended before the kill:\n" << fileText(log);
        ASSERT_EQ(kill(-killed.pid(), SIGKILL), 0);
        EXPECT_EQ(killed.waitForExit(5s), 128 + SIGKILL);
    }
    // nginx logs a request when it ends; the killed run's connections end now.
    std::this_thread::sleep_for(300ms);
    const size_t before = server.nginx().accessLog().size();

    // What the killed run left, read from a copy so that lark opens the
    // original as it was.
    test::TempDir copy;
    for (const char *suffix : {"", "-wal"}) {
        const std::filesystem::path from = project_ + suffix;
        if (std::filesystem::exists(from))
            std::filesystem::copy_file(from, copy.file(std::string("left.slk") + suffix));
    }
    const std::string left = copy.file("left.slk");
    std::set<std::string> storedBefore;
    for (const auto &r : rows(left,
                              "SELECT s.String FROM UrlRes u JOIN Strings s ON s.StrId = u.UrlId "
                              "WHERE u.State = 2"))
        storedBefore.insert(r[0]);
    const long long waiting = number(left, "SELECT count(*) FROM UrlRes WHERE State = 3");
    const long long cutOff = number(left, "SELECT count(*) FROM UrlRes WHERE State = 4");
    ASSERT_GT(storedBefore.size(), 0u) << "nothing was stored before the kill";
    ASSERT_GT(waiting, 0) << "nothing was left queued after the kill";
    ASSERT_GT(cutOff, 0) << "no download was on its way at the kill";

    std::filesystem::remove(server.folder() / "throttle");
    const Lark again = run({"--per-server", "4", "--connections", "6"});
    ASSERT_EQ(again.status, 0) << again.output;

    checkFinishedCrawl(project_, task, site, expected);
    const std::vector<Request> all = requests(server.nginx());
    checkRequests(all, site, expected, 0, true);
    Mismatches m("pages stored before the kill and requested again");
    for (const Request &r : requests(server.nginx(), before))
        if (storedBefore.count(site.url(r.target))) m.add(r.target);
}

}  // namespace
