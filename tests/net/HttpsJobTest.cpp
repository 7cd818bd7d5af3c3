#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "net/HttpJob.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "support/JobRunner.h"
#include "support/NginxServer.h"
#include "support/TempDir.h"
#include "sys/InternetErrors.h"

namespace {

// Names the trusted authorities for the life of the object.
class ScopedTrust {
public:
    explicit ScopedTrust(const std::string &file) { setenv("SSL_CERT_FILE", file.c_str(), 1); }
    ~ScopedTrust() { unsetenv("SSL_CERT_FILE"); }
};

class HttpsJobTest : public ::testing::Test {
protected:
    HttpsJobTest() : server(writeSite(), options()) {}

    const std::filesystem::path &writeSite() {
        std::ofstream(root.path() / "page.html") << "<html>secure</html>";
        return root.path();
    }
    static test::NginxServer::Options options() {
        test::NginxServer::Options options;
        options.tls = true;
        options.commonName = "another-host.example";  // not the address asked for
        return options;
    }

    test::TempDir root;
    test::NginxServer server;
    test::JobRunner runner;
};

TEST_F(HttpsJobTest, ACertificateOfATrustedAuthorityIsAcceptedWhateverItsHostName) {
    ScopedTrust trust(server.certificatePath().string());
    auto job = runner.make<eng::HttpJob>(server.url("/page.html"));
    const auto &record = runner.run(*job);
    EXPECT_EQ(record.errorCode.load(), 0u);
    EXPECT_EQ(record.statusCode, 200u);
    EXPECT_EQ(record.body.text(), "<html>secure</html>");
    EXPECT_EQ(record.contentType, "text/html");
    ASSERT_TRUE(server.waitForAccessLog(1, std::chrono::seconds(5)));
    EXPECT_EQ(server.accessLog().front(), "GET /page.html HTTP/1.0 200 19");
}

// Each download makes its own request; those of one thread to the same
// server go over the one connection that the first opened, TLS included.
TEST_F(HttpsJobTest, AThreadsRequestsToAServerShareOneKeptConnection) {
    ScopedTrust trust(server.certificatePath().string());
    eng::InternetSession session(eng::SessionOptions{"LarkTest/1.0", eng::AccessType::Direct, ""});
    for (int i = 0; i < 3; ++i) {
        eng::HttpRequest request(session, server.url("/page.html"));
        ASSERT_TRUE(request.send("Accept: */*\r\n", ""));
        EXPECT_EQ(request.head().status(), 200u);
        std::string body;
        request.transfer().receive(4096, [&body](const uint8_t *bytes, size_t count) {
            body.append(reinterpret_cast<const char *>(bytes), count);
            return true;
        });
        EXPECT_EQ(body, "<html>secure</html>");
    }
    ASSERT_TRUE(server.waitForAccessLog(3, std::chrono::seconds(5)));
    EXPECT_EQ(server.connectionsLogged(), 1u);
}

TEST_F(HttpsJobTest, ACertificateOfAnUnknownAuthorityIsRefused) {
    auto job = runner.make<eng::HttpJob>(server.url("/page.html"));
    const auto &record = runner.run(*job);
    EXPECT_EQ(record.errorCode.load(), eng::kErrInvalidCa);
    EXPECT_EQ(record.statusCode, 0u);
    EXPECT_TRUE(record.networkError());
}

}  // namespace
