#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "support/NginxServer.h"
#include "support/ProjectFiles.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

constexpr const char *kSecret = "the secret text of a local file";

// Local files of every kind that a page may name: a regular file with a
// secret in it, a device without end, a FIFO without a writer, a folder.
class LocalFileLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(local.file("secret.txt")) << kSecret;
        ASSERT_EQ(::mkfifo(local.file("pipe").c_str(), 0600), 0);
        std::filesystem::create_directory(local.path() / "folder");
        std::ofstream(local.file("page.html")) << links();
    }
    std::string links() const {
        return "<html><body><a href=\"" + secret() + "\">secret</a><img src=\"" + secret() +
               "\"><img src=\"file:///dev/zero\"><img src=\"" + fileUrl("pipe") + "\"><a href=\"" + fileUrl("folder") +
               "\">folder</a></body></html>";
    }
    std::string fileUrl(const std::string &name) const { return "file://" + local.file(name); }
    std::string secret() const { return fileUrl("secret.txt"); }
    std::string project() const { return work.file("p.slk"); }
    // "<status> <error> <last error> <size>" of the address's URL resource.
    std::string outcome(const std::string &address) const {
        return test::queryText(project(),
                               "SELECT StatusCode || ' ' || Error || ' ' || LastError || ' ' || "
                               "Size FROM UrlRes WHERE Url = '" +
                                   address + "'");
    }

    test::TempDir local;
    test::TempDir work;
};

// A page from the web that links to local files gets none of them read: no
// URL resource is made for them, and the secret is nowhere in the project.
TEST_F(LocalFileLinksTest, APageFromTheWebGetsNoLocalFileRead) {
    test::TempDir site;
    std::ofstream(site.file("index.html")) << links();
    test::NginxServer server(site.path());
    const auto mirror = test::runLark("mirror " + server.url("/index.html") + " -o " + project() + " --depth 2");
    ASSERT_EQ(mirror.status, 0) << mirror.output;
    EXPECT_EQ(test::queryInteger(project(), "SELECT count(*) FROM UrlRes WHERE Url LIKE 'file:%'"), 0);
    EXPECT_EQ(
        test::queryInteger(project(), "SELECT count(*) FROM Res WHERE instr(Body, '" + std::string(kSecret) + "') > 0"),
        0);
    const auto cat = test::runLark("cat " + project() + " " + secret());
    EXPECT_FALSE(test::contains(cat, kSecret)) << cat.output;
}

// A task that starts at a local page reads the regular files it links to,
// and the other kinds fail at once with the system's error.
TEST_F(LocalFileLinksTest, ALocalTaskReadsRegularFilesOnly) {
    const auto mirror = test::runLark("mirror " + fileUrl("page.html") + " -o " + project() + " --depth 2");
    ASSERT_EQ(mirror.status, 0) << mirror.output;
    EXPECT_EQ(outcome(secret()), "200 0 0 " + std::to_string(std::strlen(kSecret)));
    EXPECT_EQ(outcome("file:///dev/zero"), "404 1 " + std::to_string(ENOTSUP) + " 0");
    EXPECT_EQ(outcome(fileUrl("pipe")), "404 1 " + std::to_string(ENOTSUP) + " 0");
    EXPECT_EQ(outcome(fileUrl("folder")), "404 1 " + std::to_string(EISDIR) + " 0");
    const auto cat = test::runLark("cat " + project() + " " + secret());
    EXPECT_TRUE(test::contains(cat, kSecret)) << cat.output;
}

}  // namespace
