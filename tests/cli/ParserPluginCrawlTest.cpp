// Parser plug-ins in an installed lark: the program with libengine.so, the
// helper lark-parser-host and a Parsers folder beside them, crawling a site
// served by nginx.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ChildProcess.h"
#include "support/NginxServer.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"

namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;

namespace fs = std::filesystem;

// lark, its libraries and the helper in a folder of their own (lark finds its
// libraries beside itself, the engine its Parsers folder and the helper
// beside itself), with the test plug-ins given as name: built plug-in.
fs::path installLark(const fs::path &folder, const std::vector<std::pair<std::string, std::string>> &plugins) {
    const fs::path built = fs::path(LARK_PROGRAM).parent_path();
    fs::create_directories(folder / "Parsers");
    fs::copy_file(LARK_PROGRAM, folder / "lark");
    for (const char *name : {"libengine.so", "libKiv.so", "lark-parser-host"})
        fs::create_symlink(built / name, folder / name);
    for (const auto &[name, plugin] : plugins)
        fs::create_symlink(fs::path(TEST_PARSERS_DIR) / (plugin + ".so"), folder / "Parsers" / name);
    return folder / "lark";
}

std::string fileText(const fs::path &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A page links a page that only a plug-in sees, once plainly and once with
// post data: both are stored and fetched, the second with a POST. The
// plug-in after one that crashes on every page answers.
TEST(ParserPluginCrawl, APluginLinkIsStoredAndFetched) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "site");
    test::NginxServer nginx(dir.path() / "site");
    const std::string hidden = nginx.url("/hidden.html");
    std::ofstream(dir.path() / "site" / "index.html")
        << "<a href=\"seen.html\">seen</a><script>load('hidden.html')</script><!--answer-->" + hidden + "\0\0\0"s +
               hidden + "\0q=1\0\0"s;
    std::ofstream(dir.path() / "site" / "seen.html") << "<p>seen</p>";
    std::ofstream(dir.path() / "site" / "hidden.html") << "<p>hidden</p>";
    const fs::path lark = installLark(dir.path() / "bin", {{"cp1.so", "cpCrash"}, {"cp2.so", "cpEcho"}});
    const std::string project = (dir.path() / "p.slk").string();

    test::ChildProcess run({lark.string(), "mirror", nginx.url("/index.html"), "-o", project, "--depth", "1"},
                           {.outputFile = dir.path() / "lark.log"});
    ASSERT_EQ(run.waitForExit(60s), 0) << fileText(dir.path() / "lark.log");

    EXPECT_EQ(test::queryText(project,
                              "SELECT group_concat(Relation || ' ' || u.String || ' ' || ifnull(p.String, ''), ', ') "
                              "FROM (SELECT * FROM Rel ORDER BY rowid) r JOIN Strings u ON u.StrId = r.UrlId "
                              "LEFT JOIN Strings p ON p.StrId = r.PostId WHERE r.ResId = (SELECT ResId FROM UrlRes "
                              "WHERE UrlId = (SELECT StrId FROM Strings WHERE String = '" +
                                  nginx.url("/index.html") + "'))"),
              "0 " + nginx.url("/seen.html") + " , 0 " + hidden + " , 0 " + hidden + " q=1");
    ASSERT_TRUE(nginx.waitForAccessLog(4, 5s));
    std::string requests;
    for (const std::string &line : nginx.accessLog()) requests += line + "\n";
    EXPECT_NE(requests.find("GET /hidden.html HTTP/1.0 200"), std::string::npos) << requests;
    EXPECT_NE(requests.find("POST /hidden.html "), std::string::npos) << requests;
}

}  // namespace
