#include "net/HttpExchangeText.h"

#include <gtest/gtest.h>

#include "net/FtpCredentials.h"
#include "net/ResponseHead.h"

namespace {

TEST(RealmOf, QuotedBareAndMissing) {
    EXPECT_EQ(eng::realmOf("Basic realm=\"Staff Only\""), "Staff Only");
    // A Digest challenge's nonce changes with every answer: the realm ends at its own closing quote.
    EXPECT_EQ(eng::realmOf("Digest Realm=\"Mixed Case\", nonce=\"abc\""), "Mixed Case");
    EXPECT_EQ(eng::realmOf("Basic realm=\"say \\\"hi\\\"\", charset=\"UTF-8\""), "say \"hi\"");
    EXPECT_EQ(eng::realmOf("Basic realm=bare, charset=\"UTF-8\""), "bare");
    EXPECT_TRUE(eng::isDigestChallenge("DIGEST realm=\"x\""));
    EXPECT_FALSE(eng::isDigestChallenge("Basic realm=\"Digest\""));
    EXPECT_EQ(eng::realmOf("Basic realm=plain"), "plain");
    EXPECT_EQ(eng::realmOf("Basic realm=\"unterminated"), "unterminated");
    EXPECT_EQ(eng::realmOf("Negotiate"), "");
}

TEST(FtpCredentials, FromTheAddressOrAnonymous) {
    auto login = eng::ftpCredentials("ftp://joe:se:cret@host/pub/file");
    EXPECT_EQ(login.userName, "joe");
    EXPECT_EQ(login.password, "se:cret");
    login = eng::ftpCredentials("ftp://joe@host/");
    EXPECT_EQ(login.userName, "joe");
    EXPECT_EQ(login.password, "");
    for (const char *anonymous : {"ftp://host/pub/file", "ftp://:pw@host/", "ftp://host/mail@box.txt"}) {
        login = eng::ftpCredentials(anonymous);
        EXPECT_EQ(login.userName, "anonymous") << anonymous;
        EXPECT_EQ(login.password, eng::kAnonymousFtpPassword) << anonymous;
    }
}

TEST(ResponseHead, InterimAnswersAreSkippedAndFieldsFoundInAnyCase) {
    eng::ResponseHead head;
    for (const char *line :
         {"220 FTP greeting\r\n", "HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 404 Not Found Here\r\n",
          "content-length: 12\r\n", "X-Twice: first\r\n", "x-twice: second\r\n"})
        head.addLine(line);
    EXPECT_FALSE(head.complete());
    head.addLine("\r\n");
    EXPECT_TRUE(head.complete());
    EXPECT_EQ(head.version(), "HTTP/1.1");
    EXPECT_EQ(head.status(), 404u);
    EXPECT_EQ(head.statusText(), "Not Found Here");
    EXPECT_EQ(head.contentLength(), 12u);
    EXPECT_EQ(head.field("X-TWICE"), "first");
    EXPECT_FALSE(head.field("Location").has_value());

    eng::ResponseHead odd;
    for (const char *line : {"HTTP/1.0 200\r\n", "Content-Length: 12abc\r\n", "\r\n"}) odd.addLine(line);
    EXPECT_EQ(odd.status(), 200u);
    EXPECT_EQ(odd.statusText(), "");
    EXPECT_EQ(odd.contentLength(), 0u);
}

}  // namespace
