#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/ResponseHead.h"

namespace eng {

class InternetSession;

// One transfer on a session, driven step by step by its caller's thread: it
// runs until the response head is in, then hands the body to the caller's
// consumer as it arrives. A transfer that stays silent for the session's receive time-out
// fails with 12002; closing the session ends it at once with 12017. Refused
// connections are tried again as often as the session's connect retries say.
// A thread's transfers keep their connections open for its next ones:
// a connection to the same server is used again (keep-alive).
class CurlTransfer {
public:
    CurlTransfer(InternetSession &session, const std::string &url);
    CurlTransfer(const CurlTransfer &) = delete;
    CurlTransfer &operator=(const CurlTransfer &) = delete;
    ~CurlTransfer();

    // The easy handle, for options of the caller's protocol before start.
    CURL *handle() const { return easy_.get(); }

    // Hands body bytes to the consumer in pieces of at most this size.
    using Consumer = std::function<bool(const uint8_t *bytes, size_t count)>;

    // Curl answers the server's challenge itself (Digest): a 401 or 407
    // head then stands only when the transfer ends with it, and its body
    // is not kept.
    void answerChallenges() { answersChallenges_ = true; }
    // Runs until the response head is complete, body bytes wait or the
    // transfer ended. False when it failed before any answer came.
    bool start();
    // Hands the body to `consume` in pieces of at most `pieceSize` bytes as
    // they arrive, straight from the network buffer, until the body ends or
    // the consumer answers false (which drops the transfer, no error). A
    // failure under way ends the body too (see error()).
    void receive(size_t pieceSize, const Consumer &consume);

    const ResponseHead &head() const { return head_; }
    // The Internet library error number of the failure; 0 while none happened.
    uint32_t error() const { return error_; }
    // Curl's own result once the transfer ended.
    CURLcode result() const { return result_; }
    // The time stamp of the remote file (FTP) in seconds since 1970, when
    // asked for and known; else -1.
    int64_t fileTime() const;
    // The size that the server announced, or -1.
    int64_t announcedSize() const;

    struct MultiDeleter {
        void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
    };

private:
    struct EasyDeleter {
        void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
    };
    using Clock = std::chrono::steady_clock;

    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);
    // Passes bytes to the consumer piece by piece; false when it stopped them.
    bool deliver(const uint8_t *bytes, size_t count);

    // Runs the transfer until `ready` holds or it ends.
    template <typename Ready>
    void runUntil(Ready ready);
    void collectResult();
    // The head is a challenge that curl is answering by itself.
    bool curlAnswersHead() const;
    void fail(uint32_t error);
    // Ends the transfer where it stands.
    void drop();
    std::chrono::milliseconds timeLeft() const;

    InternetSession &session_;
    std::unique_ptr<CURL, EasyDeleter> easy_;
    std::unique_ptr<CURLM, MultiDeleter> multi_;
    bool answersChallenges_ = false;
    bool added_ = false;
    bool ended_ = false;
    CURLcode result_ = CURLE_OK;
    uint32_t error_ = 0;
    uint32_t connectAttempts_ = 0;
    bool anythingReceived_ = false;
    Clock::time_point lastActivity_;
    ResponseHead head_;
    // Body bytes that arrive before the consumer asks for them; past a limit
    // the transfer pauses until it does.
    std::string pending_;
    bool paused_ = false;
    const Consumer *consumer_ = nullptr;
    size_t pieceSize_ = 0;
    bool consumerStopped_ = false;
};

}  // namespace eng
