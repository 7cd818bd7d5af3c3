// lark export on sites crawled from a scripted server: the files on disk
// mirror the addresses, every link between exported files resolves, links
// elsewhere are absolute, hostile addresses stay inside the destination, and
// nothing the export did not write is touched.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "OpenedProject.h"
#include "PackedRecords.h"
#include "RecordRelease.h"
#include "WindowQueue.h"
#include "engine.h"
#include "support/ProjectFiles.h"
#include "support/RunLark.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string html(const std::string &body) { return test::httpResponse(200, "OK", body, {"Content-Type: text/html"}); }

std::string contents(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string percentDecoded(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The link values of a written page: href, src and a refresh's URL.
std::vector<std::string> linksIn(const std::string &page) {
    static const std::regex link(R"((?:href|src|URL)=["']?([^"' >]*))", std::regex::icase);
    std::vector<std::string> links;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link); it != std::sregex_iterator(); ++it)
        links.push_back((*it)[1].str());
    return links;
}

// Every file below the folder, by its path relative to it.
std::set<std::string> filesBelow(const fs::path &folder) {
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).string());
    return files;
}

// Every relative link of every written page leads to a written file, and no
// file or link lies outside the destination.
void expectLinksResolve(const fs::path &destination, size_t &relativeLinks) {
    const fs::path root = fs::canonical(destination);
    for (const auto &entry : fs::recursive_directory_iterator(destination)) {
        ASSERT_FALSE(entry.is_symlink()) << entry.path();
        ASSERT_EQ(entry.path().filename().string().find(".lark-export-"), std::string::npos) << entry.path();
        if (entry.is_directory() || entry.path().extension() != ".html") continue;
        for (std::string link : linksIn(contents(entry.path()))) {
            if (link.starts_with("http:") || link.starts_with("https:") || link.starts_with("0;")) continue;
            link = link.substr(0, link.find('#'));
            const fs::path target = fs::weakly_canonical(entry.path().parent_path() / percentDecoded(link));
            EXPECT_TRUE(fs::is_regular_file(target)) << entry.path() << " -> " << link;
            EXPECT_EQ(target.string().rfind(root.string() + "/", 0), 0u) << target;
            ++relativeLinks;
        }
    }
}

// How many url( and @import values the exported style sheets hold; each
// must name a file on disk, read as a browser reads it.
size_t urlsResolving(const fs::path &folder, const std::vector<std::string> &sheets) {
    static const std::regex value(R"re((?:url\(["']?|@import ')([^"')#]+))re");
    size_t resolved = 0;
    for (const std::string &sheet : sheets) {
        const std::string text = contents(folder / sheet);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), value); it != std::sregex_iterator(); ++it) {
            const fs::path target = (folder / sheet).parent_path() / percentDecoded((*it)[1].str());
            EXPECT_TRUE(fs::is_regular_file(target)) << sheet << " -> " << (*it)[1].str();
            ++resolved;
        }
    }
    return resolved;
}

class ExportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = "127.0.0.1_" + std::to_string(server_.port());
        server_.route("/start.html", html("<html><base href=\"" + server_.url("/") +
                                          "\"><a href=\"a/\">a</a><img src=\"a/b.gif\"><a href=\"c/d.html#part\">d</a>"
                                          "<a href=\"page.asp\">asp</a><a href=\"q?x=1\">1</a><a href=\"q?x=2\">2</a>"
                                          "<a href=\"Case.html\">C</a><a href=\"case.html\">c</a>"
                                          "<a href=\"http://elsewhere.test/x.html\">away</a><a href=\"once\">r1</a>"
                                          "<a href=\"%2e%2e/up.html\">up</a><a href=\"..%2fup2.html\">up2</a>"
                                          "<a href=\"n%00ul.html\">nul</a><a href=\"p?x=../../etc/passwd\">p</a>"
                                          "<a href=\"" +
                                          std::string(10000, 'L') + "/x.html\">long</a></html>"));
        server_.route("/a/", html("<html><img src=\"b.gif\"><a href=\"../c/d.html\">d</a></html>"));
        server_.route("/a/b.gif", test::httpResponse(200, "OK", "GIF89a", {"Content-Type: image/gif"}));
        server_.route("/c/d.html", html("<html><a href=\"../a/\">back</a><a href=\"/start.html\">home</a></html>"));
        server_.route("/page.asp", html("<html><a href=\"start.html\">home</a></html>"));
        server_.route("/Case.html", html("<html>upper</html>"));
        server_.route("/case.html", html("<html>lower</html>"));
        server_.route("/once", test::httpResponse(302, "Found", "", {"Location: " + server_.url("/c/d.html")}));
        server_.route("/twice", test::httpResponse(302, "Found", "", {"Location: " + server_.url("/once")}));
        server_.route("/framed.html", html("<html><link rel=stylesheet href=\"s.css\"><a href=\"a/b.gif\">p</a>"
                                           "<img src=\"a/b.gif\">"
                                           "<iframe src=\"c/d.html\"></iframe><frame src=\"framed.html\">"
                                           "<a href=\"case.html\">c</a></html>"));
        server_.route("/f1.html", html("<html><iframe src=\"f2.html\"></iframe></html>"));
        server_.route("/f2.html", html("<html><iframe src=\"f1.html\"></iframe><img src=\"a/b.gif\"></html>"));
        server_.route("/s.css", test::httpResponse(200, "OK", "p {}", {"Content-Type: text/css"}));
        // Whatever the hostile addresses are requested as.
        for (int i = 0; i < 20; ++i) server_.answer(html("<html>anything</html>"));
    }

    void mirror(const std::string &path, const std::string &project) {
        const auto run = test::runLark("mirror " + server_.url(path) + " -o " + project + " --depth 2");
        ASSERT_EQ(run.status, 0) << run.output;
    }

    // Mirrors from the page; the number of its stored URL resource.
    std::string mirroredPage(const std::string &path, const std::string &project) {
        mirror(path, project);
        return std::to_string(test::queryInteger(
            project, "SELECT UrlResId FROM UrlRes WHERE Url = '" + server_.url(path) + "' AND ResId <> 0"));
    }

    test::TempDir dir_;
    test::ScriptedHttpServer server_;
    std::string host_;
};

TEST_F(ExportCommandTest, WritesTheTaskAsFilesWhoseLinksResolve) {
    const std::string project = dir_.file("site.slk");
    mirror("/start.html", project);
    const fs::path out = dir_.file("out");
    const auto result = test::runLark("export " + project + " 1 " + out.string());
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(test::contains(result, " links rewritten to exported files, ")) << result.output;

    // The page that opens the start page, beside the tree of addresses.
    EXPECT_EQ(contents(out / "start.html"), "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=start_files/" +
                                                host_ + "/start.html\"></head><body></body></html>");
    const fs::path site = out / "start_files" / host_;
    const std::set<std::string> files = filesBelow(site);
    for (const std::string name :
         {"start.html", "a/index.html", "a/b.gif", "c/d.html", "page.asp", "q/x=1", "q/x=2", "Case.html", "case.html"})
        EXPECT_TRUE(files.count(name)) << name << " missing";
    EXPECT_EQ(contents(site / "Case.html"), "<html>upper</html>");
    EXPECT_EQ(contents(site / "case.html"), "<html>lower</html>");
    for (const std::string &name : files) EXPECT_LE(fs::path(name).filename().string().size(), 100u) << name;
    // Hostile addresses become names inside their folder: the crawl resolves
    // "%2e%2e"; an encoded slash, a NUL and a query that looks like a path
    // become plain names, a 10,000-character segment is cut.
    const std::vector<std::string> hostile{"up.html", ".._up2.html", "n_ul.html", "p/x=.._.._etc_passwd",
                                           std::string(100, 'L') + "/x.html"};
    for (const std::string &name : hostile) EXPECT_TRUE(files.count(name)) << name << " missing";

    // The links: into the folder, between two folders, to a query sibling,
    // through a redirect, and away; the BASE is blanked.
    const std::string start = contents(site / "start.html");
    for (const std::string link :
         {"href=\"a/index.html\">a", "src=\"a/b.gif\"", "href=\"c/d.html#part\">d", "href=\"q/x=1\">1",
          "href=\"q/x=2\">2", "href=\"c/d.html\">r1", "href=\"http://elsewhere.test/x.html\">away"})
        EXPECT_NE(start.find(link), std::string::npos) << link << " in " << start;
    EXPECT_EQ(start.find("<base"), std::string::npos);
    EXPECT_EQ(contents(site / "a/index.html"), "<html><img src=\"b.gif\"><a href=\"../c/d.html\">d</a></html>");
    EXPECT_EQ(contents(site / "c/d.html"),
              "<html><a href=\"../a/index.html\">back</a><a href=\"../start.html\">home</a></html>");

    size_t relative = 0;
    expectLinksResolve(out, relative);
    EXPECT_GE(relative, 10u);
    EXPECT_EQ(filesBelow(dir_.path()).count("etc/passwd"), 0u);
    EXPECT_FALSE(fs::exists(dir_.file("up.html")));
    EXPECT_FALSE(fs::exists(dir_.file("out/up.html")));
}

// A style sheet's url(...) and @import values, a style attribute's and a
// srcset's lead to the exported files on disk, relative to the file that
// names them.
TEST_F(ExportCommandTest, StyleSheetsAndStylesLeadToTheExportedFiles) {
    const auto gif = [](const std::string &name) {
        return test::httpResponse(200, "OK", "GIF89a" + name, {"Content-Type: image/gif"});
    };
    const auto css = [](const std::string &text) {
        return test::httpResponse(200, "OK", text, {"Content-Type: text/css"});
    };
    server_.route("/styled.html", html("<html><link rel=stylesheet href=\"css/site.css\"><img srcset=\"img/x.gif 2x\">"
                                       "<p style=\"background:url(&quot;img/y.gif&quot;)\">y</p></html>"));
    server_.route("/css/site.css", css("@import 'more.css';\nbody { background: url(\"../img/bg(1).gif\") }\n"
                                       "p { background: url(/img/x.gif#frag) }"));
    server_.route("/css/more.css", css("em { background: url(deep/z.gif) }"));
    server_.route("/img/x.gif", gif("x"));
    server_.route("/img/y.gif", gif("y"));
    server_.route("/img/bg(1).gif", gif("bg"));
    server_.route("/css/deep/z.gif", gif("z"));
    const std::string project = dir_.file("styled.slk");
    mirror("/styled.html", project);
    const fs::path out = dir_.file("styled");
    const auto result = test::runLark("export " + project + " 1 " + out.string());
    ASSERT_EQ(result.status, 0) << result.output;

    const fs::path site = out / "styled_files" / host_;
    const std::string page = contents(site / "styled.html");
    EXPECT_NE(page.find("srcset=\"img/x.gif 2x\""), std::string::npos) << page;
    EXPECT_NE(page.find("style=\"background:url(img/y.gif)\""), std::string::npos) << page;
    EXPECT_EQ(contents(site / "css/site.css"),
              "@import 'more.css';\nbody { background: url(\"../img/bg%281%29.gif\") }\n"
              "p { background: url(../img/x.gif#frag) }");
    EXPECT_EQ(urlsResolving(site, {"css/site.css", "css/more.css"}), 4u);
    EXPECT_EQ(contents(site / "css/deep/z.gif"), "GIF89az");

    // The page alone: its sheets beside it, each sheet's files in a folder of its own.
    const std::string urlRes = std::to_string(
        test::queryInteger(project, "SELECT UrlResId FROM UrlRes WHERE Url = '" + server_.url("/styled.html") + "'"));
    const fs::path alone = dir_.file("styled-page");
    ASSERT_EQ(test::runLark("export " + project + " --page " + urlRes + " " + alone.string()).status, 0);
    EXPECT_EQ(filesBelow(alone),
              (std::set<std::string>{"styled.html", "styled_files/site.css", "styled_files/x.gif", "styled_files/y.gif",
                                     "styled_files/site_files/more.css", "styled_files/site_files/bg(1).gif",
                                     "styled_files/site_files/x.gif", "styled_files/site_files/more_files/z.gif"}));
    EXPECT_EQ(urlsResolving(alone, {"styled_files/site.css", "styled_files/site_files/more.css"}), 4u);
}

TEST_F(ExportCommandTest, PagesGetHtmlNamesAndLinksFollowThem) {
    const std::string project = dir_.file("site.slk");
    mirror("/start.html", project);
    const fs::path out = dir_.file("html");
    const auto result = test::runLark("export " + project + " 1 " + out.string() + " --html-ext --length 40");
    ASSERT_EQ(result.status, 0) << result.output;
    const fs::path site = out / "start_files" / host_;
    EXPECT_TRUE(fs::exists(site / "page.html"));
    EXPECT_FALSE(fs::exists(site / "page.asp"));
    EXPECT_NE(contents(site / "start.html").find("href=\"page.html\""), std::string::npos);
    EXPECT_TRUE(fs::exists(site / "a/b.gif"));
    for (const std::string &name : filesBelow(out)) EXPECT_LE(fs::path(name).filename().string().size(), 50u) << name;
    size_t relative = 0;
    expectLinksResolve(out, relative);
}

TEST_F(ExportCommandTest, RedirectedStartAddressesOpenTheirFinalPage) {
    for (const std::string path : {"/once", "/twice"}) {
        const std::string project = dir_.file(path.substr(1) + ".slk");
        mirror(path, project);
        const fs::path out = dir_.file(path.substr(1));
        const auto result = test::runLark("export " + project + " 1 " + out.string());
        ASSERT_EQ(result.status, 0) << result.output;
        // The task is named after the page it arrived at.
        EXPECT_EQ(contents(out / "d.html"), "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=d_files/" +
                                                host_ + "/c/d.html\"></head><body></body></html>")
            << path;
        size_t relative = 0;
        expectLinksResolve(out, relative);
    }
}

TEST_F(ExportCommandTest, NeverWritesIntoWhatItDidNotMake) {
    const std::string project = dir_.file("site.slk");
    mirror("/start.html", project);
    const fs::path out = dir_.file("busy");
    fs::create_directories(out / "start_files");
    std::ofstream(out / "start_files" / "mine.txt") << "mine";
    fs::create_directory(dir_.file("elsewhere"));
    fs::create_directory_symlink(dir_.file("elsewhere"), out / "start[1]_files");

    const auto first = test::runLark("export " + project + " 1 " + out.string());
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(filesBelow(out / "start_files"), (std::set<std::string>{"mine.txt"}));
    EXPECT_TRUE(fs::is_empty(dir_.file("elsewhere")));
    EXPECT_TRUE(fs::exists(out / "start[2].html"));
    EXPECT_TRUE(fs::exists(out / "start[2]_files" / host_ / "a/index.html"));

    // Again: a new page and folder, the first export untouched.
    const std::string before = contents(out / "start[2].html");
    ASSERT_EQ(test::runLark("export " + project + " 1 " + out.string()).status, 0);
    EXPECT_EQ(contents(out / "start[2].html"), before);
    EXPECT_TRUE(fs::exists(out / "start[3]_files" / host_ / "a/index.html"));

    // A destination that cannot be made is a clear error.
    std::ofstream(dir_.file("plain")) << "a file";
    const auto refused = test::runLark("export " + project + " 1 " + dir_.file("plain/sub"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(test::contains(refused, "Cant't create directory " + dir_.file("plain/sub"))) << refused.output;
    const auto missing = test::runLark("export " + project + " 9 " + out.string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(test::contains(missing, "there is no task 9")) << missing.output;
}

TEST_F(ExportCommandTest, ReportsItsPhasesAndWhatItWrote) {
    const std::string project = dir_.file("site.slk");
    mirror("/start.html", project);
    const fs::path out = dir_.file("progress");
    lark::WindowQueue window;
    std::vector<EngExportProgressRecord> phases;
    EngExportSummaryRecord summary{};
    {
        lark::OpenedProject opened(project, window.window());
        ASSERT_EQ(Eng_ExportTask((out.string() + "/").c_str(), 1, 0, 0), 1);
        EXPECT_EQ(Eng_ExportTask(out.string().c_str(), 99, 0, 0), 0);
        while (auto posted = window.take()) {
            const auto payload = eng::client::notificationPayload(posted->msg, posted->wParam, posted->lParam);
            if (posted->msg == ENG_NOTIFY_EXPORT) {
                phases.push_back(*eng::client::recordAt<EngExportProgressRecord>(payload, 0));
                if (phases.back().phase == ENG_EXPORT_FINISHED)
                    summary = *eng::client::recordAt<EngExportSummaryRecord>(payload, 0);
            }
        }
    }
    ASSERT_GE(phases.size(), 4u);
    EXPECT_EQ(phases.front().phase, ENG_EXPORT_STARTED);
    EXPECT_EQ(phases[1].phase, ENG_EXPORT_COLLECTING);
    EXPECT_EQ(phases[1].current, 0);
    const EngExportProgressRecord &written = phases[phases.size() - 2];
    EXPECT_EQ(written.phase, ENG_EXPORT_WRITING);
    EXPECT_EQ(written.current, written.total);
    EXPECT_EQ(phases.back().phase, ENG_EXPORT_FINISHED);
    for (size_t i = 1; i < phases.size(); ++i) EXPECT_GE(phases[i].phase, phases[i - 1].phase);

    // The summary tells what is on disk.
    uint64_t bytes = 0;
    for (const std::string &name : filesBelow(out)) bytes += fs::file_size(out / name);
    EXPECT_EQ(static_cast<size_t>(summary.progress.current), filesBelow(out).size());
    EXPECT_EQ(summary.bytes, bytes);
    EXPECT_GE(summary.localLinks, 10u);
    EXPECT_GE(summary.absoluteLinks, 1u);
    EXPECT_EQ(summary.notWritten, 0u);
}

TEST_F(ExportCommandTest, PageNamesDifferingOnlyInCaseDoNotShareAFolder) {
    const std::string project = dir_.file("site.slk");
    mirror("/start.html", project);
    const fs::path out = dir_.file("named");
    {
        lark::OpenedProject opened(project);
        ASSERT_EQ(Eng_ExportTask((out / "Task").c_str(), 1, 0, 0), 1);
        ASSERT_EQ(Eng_ExportTask((out / "task").c_str(), 1, 0, 0), 1);
    }
    std::set<std::string> top;
    for (const auto &entry : fs::directory_iterator(out)) top.insert(entry.path().filename().string());
    EXPECT_EQ(top, (std::set<std::string>{"Task.html", "Task_files", "task[1].html", "task[1]_files"}));
}

TEST_F(ExportCommandTest, APageIsExportedWithWhatItEmbeds) {
    const std::string project = dir_.file("page.slk");
    const std::string page = mirroredPage("/framed.html", project);
    const fs::path out = dir_.file("page");
    const auto result = test::runLark("export " + project + " --page " + page + " " + out.string());
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(filesBelow(out), (std::set<std::string>{"framed.html", "framed_files/s.css", "framed_files/b.gif",
                                                      "framed_files/d.html"}));
    // The frame back to the page itself and the hyperlinks stay absolute,
    // the one to the image it also shows among them.
    EXPECT_EQ(contents(out / "framed.html"),
              "<html><link rel=stylesheet href=\"framed_files/s.css\"><a href=\"" + server_.url("/a/b.gif") +
                  "\">p</a><img src=\"framed_files/b.gif\">"
                  "<iframe src=\"framed_files/d.html\"></iframe><frame src=\"" +
                  server_.url("/framed.html") + "\"><a href=\"" + server_.url("/case.html") + "\">c</a></html>");
    size_t relative = 0;
    expectLinksResolve(out, relative);
    EXPECT_EQ(relative, 3u);

    const fs::path alone = dir_.file("alone");
    ASSERT_EQ(test::runLark("export " + project + " --page " + page + " " + alone.string() + " --page-only").status, 0);
    EXPECT_EQ(filesBelow(alone), (std::set<std::string>{"framed.html"}));
    EXPECT_NE(contents(alone / "framed.html").find("src=\"" + server_.url("/a/b.gif") + "\""), std::string::npos);
    EXPECT_EQ(test::runLark("export " + project + " --page 999 " + alone.string()).status, 1);
}

TEST_F(ExportCommandTest, FramesThatLeadBackAreExportedOnce) {
    const std::string project = dir_.file("frames.slk");
    const std::string page = mirroredPage("/f1.html", project);
    const fs::path out = dir_.file("frames");
    ASSERT_EQ(test::runLark("export " + project + " --page " + page + " " + out.string()).status, 0);
    EXPECT_EQ(filesBelow(out), (std::set<std::string>{"f1.html", "f1_files/f2.html", "f1_files/f2_files/b.gif"}));
    EXPECT_NE(contents(out / "f1_files/f2.html").find("<iframe src=\"" + server_.url("/f1.html") + "\">"),
              std::string::npos);
    size_t relative = 0;
    expectLinksResolve(out, relative);
    EXPECT_EQ(relative, 2u);
}

TEST_F(ExportCommandTest, AProjectIsExportedWithAPagePerTaskInItsFolderTree) {
    const std::string project = dir_.file("news.slk");
    mirror("/start.html", project);
    for (const std::string name : {"Task", "task"})
        ASSERT_EQ(test::runLark("add " + project + " " + server_.url("/start.html") + " --name " + name).status, 0);
    ASSERT_EQ(test::runLark("mkdir " + project + " 1 Sub").status, 0);
    ASSERT_EQ(test::runLark("add " + project + " " + server_.url("/c/d.html") + " --name inner --folder 2").status, 0);

    const fs::path out = dir_.file("whole");
    const auto result = test::runLark("export " + project + " --project " + out.string());
    ASSERT_EQ(result.status, 0) << result.output;
    const fs::path exported = out / "news Lark Project";
    const std::set<std::string> files = filesBelow(exported);
    for (const std::string name : {"Root/Task[1].html", "Root/task.html", "Root/Sub/inner.html"})
        EXPECT_TRUE(files.count(name)) << name << " missing";
    EXPECT_TRUE(files.count("Project Files/" + host_ + "/a/index.html"));
    EXPECT_EQ(contents(exported / "Root/Sub/inner.html"),
              "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=../../Project%20Files/" + host_ +
                  "/c/d.html\"></head><body></body></html>");
    size_t relative = 0;
    expectLinksResolve(out, relative);
    EXPECT_GE(relative, 10u);
}

}  // namespace
