#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/NginxServer.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

// The apr1 hash of a password, as htpasswd files hold it.
std::string apr1Hash(const std::string &password) {
    FILE *pipe = popen(("openssl passwd -apr1 " + password).c_str(), "r");
    std::string hash(256, '\0');
    hash.resize(pipe ? fread(hash.data(), 1, hash.size(), pipe) : 0);
    if (pipe) pclose(pipe);
    while (!hash.empty() && hash.back() == '\n') hash.pop_back();
    return hash;
}

void writeFile(const std::string &path, const std::string &text) { std::ofstream(path) << text; }

// A site behind nginx's Basic authentication for the user "lark", password
// "secret"; lark runs with no terminal on its input.
class PasswordCommandTest : public ::testing::Test {
protected:
    PasswordCommandTest() {
        writeFile(dir.file("htpasswd"), "lark:" + apr1Hash("secret") + "\n");
        writeFile(site.file("index.html"), "<html><a href=\"next.html\">next</a></html>");
        writeFile(site.file("next.html"), "<html>behind the door</html>");
        writeFile(dir.file("right"), "secret\n");
        writeFile(dir.file("wrong"), "guess\n");
        nginx = std::make_unique<test::NginxServer>(
            site.path(),
            test::NginxServer::Options{.extraServerConfig = "auth_basic \"Members\";\nauth_basic_user_file " +
                                                            dir.file("htpasswd") + ";\n"});
    }
    test::LarkResult mirror(const std::string &options) {
        return test::runLark("mirror " + nginx->url("/index.html") + " -o " + project + " --force " + options +
                             " </dev/null");
    }

    test::TempDir dir;
    test::TempDir site;
    std::unique_ptr<test::NginxServer> nginx;
    const std::string project = dir.file("p.slk");
};

TEST_F(PasswordCommandTest, MirrorLogsInWithTheGivenUserAndKeepsTheCredentials) {
    const auto run = mirror("--user lark --password-file " + dir.file("right"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "finished: done 2  queued 0  errors 0")) << run.output;
    const auto page = test::runLark("cat " + project + " " + nginx->url("/next.html"));
    EXPECT_TRUE(test::contains(page, "behind the door")) << page.output;

    // The project was closed and is opened again: its stored credentials
    // answer the site without being given.
    const auto added = test::runLark("add " + project + " " + nginx->url("/next.html?again"));
    ASSERT_EQ(added.status, 0) << added.output;
    const auto again = test::runLark("run " + project + " </dev/null");
    EXPECT_TRUE(test::contains(again, "errors 0")) << again.output;
    EXPECT_FALSE(test::contains(again, "asks for a user name")) << again.output;
}

TEST_F(PasswordCommandTest, RejectedCredentialsAreGivenOnceThenTheSiteIsRefused) {
    const auto run = mirror("--user lark --password-file " + dir.file("wrong"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "errors 1")) << run.output;
    ASSERT_TRUE(nginx->waitForAccessLog(2, std::chrono::seconds(20)));
    // Without credentials, then once with the given ones: when they fail the
    // prompt that follows is cancelled.
    EXPECT_EQ(nginx->accessLog().size(), 2u);
}

// On a terminal (a pseudo-terminal made by script(1), the answers typed
// ahead) lark shows the site and realm and reads the user name and password.
TEST_F(PasswordCommandTest, OnATerminalLarkAsksForTheUserNameAndPassword) {
    const std::string command = "printf 'lark\\nsecret\\n' | script -qec '" + std::string(LARK_PROGRAM) + " mirror " +
                                nginx->url("/index.html") + " -o " + project + " --force' /dev/null 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output(1 << 16, '\0');
    output.resize(fread(output.data(), 1, output.size(), pipe));
    pclose(pipe);
    EXPECT_NE(output.find("Site: " + nginx->url("") + "\r\nRealm: Members\r\nUser name: Password:"), std::string::npos)
        << output;
    EXPECT_NE(output.find("finished: done 2  queued 0  errors 0"), std::string::npos) << output;
}

TEST_F(PasswordCommandTest, WithoutATerminalOrUserTheSiteIsRefused) {
    const auto run = mirror("");
    EXPECT_TRUE(test::contains(run, "asks for a user name and password (realm \"Members\")")) << run.output;
    EXPECT_TRUE(test::contains(run, "errors 1")) << run.output;
    const auto usage = mirror("--password-file " + dir.file("right"));
    EXPECT_TRUE(test::contains(usage, "--password-file needs --user")) << usage.output;
}

}  // namespace
