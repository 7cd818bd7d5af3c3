#include "net/CurlTransfer.h"

#include <gtest/gtest.h>

#include "net/InternetSession.h"
#include "support/ScriptedHttpServer.h"

namespace {

using test::httpResponse;

// Fetches the address on the calling thread and returns its body.
std::string fetch(const std::string &url) {
    eng::InternetSession session(eng::SessionOptions{"LarkTest/1.0", eng::AccessType::Direct, ""});
    eng::CurlTransfer transfer(session, url);
    EXPECT_TRUE(transfer.start());
    std::string body;
    transfer.receive(4096, [&body](const uint8_t *bytes, size_t count) {
        body.append(reinterpret_cast<const char *>(bytes), count);
        return true;
    });
    EXPECT_EQ(transfer.error(), 0u);
    return body;
}

}  // namespace

// A thread's next transfer to the same server goes over the connection that
// its last one left open; one that the server has closed meanwhile is
// replaced by a new connection, not a failure.
TEST(CurlTransfer, AThreadsTransfersToAServerShareAConnectionWhileItStaysOpen) {
    test::ScriptedHttpServer server;
    server.answerKeepAlive(httpResponse(200, "OK", "first", {"Connection: keep-alive"}));
    server.answer(httpResponse(200, "OK", "second", {"Connection: keep-alive"}));  // then closes all the same
    server.answer(httpResponse(200, "OK", "third"));
    EXPECT_EQ(fetch(server.url("/1")), "first");
    EXPECT_EQ(fetch(server.url("/2")), "second");
    EXPECT_EQ(server.connections(), 1u);
    EXPECT_EQ(fetch(server.url("/3")), "third");
    EXPECT_EQ(server.connections(), 2u);
    EXPECT_EQ(server.requests().size(), 3u);
}
