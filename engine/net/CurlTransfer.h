#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <curl/curl.h>

#include "net/ResponseHead.h"

namespace eng {

class InternetSession;

// One transfer on a session, driven step by step by its caller's thread: it
// runs until the response head is in, then hands out the body as the caller
// reads it. A transfer that stays silent for the session's receive time-out
// fails with 12002; closing the session ends it at once with 12017. Refused
// connections are tried again as often as the session's connect retries say.
class CurlTransfer {
public:
    CurlTransfer(InternetSession &session, const std::string &url);
    CurlTransfer(const CurlTransfer &) = delete;
    CurlTransfer &operator=(const CurlTransfer &) = delete;
    ~CurlTransfer();

    // The easy handle, for options of the caller's protocol before start.
    CURL *handle() const { return easy_.get(); }

    // Runs until the response head is complete, body bytes wait or the
    // transfer ended. False when it failed before any answer came.
    bool start();
    // Copies up to `capacity` body bytes; 0 at the end of the body, also when
    // the transfer failed under way (see error()).
    size_t read(uint8_t *buffer, size_t capacity);

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

private:
    struct EasyDeleter {
        void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
    };
    struct MultiDeleter {
        void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
    };
    using Clock = std::chrono::steady_clock;

    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);

    // Runs the transfer until `ready` holds or it ends.
    template <typename Ready>
    void runUntil(Ready ready);
    void collectResult();
    void fail(uint32_t error);
    std::chrono::milliseconds timeLeft() const;

    InternetSession &session_;
    std::unique_ptr<CURL, EasyDeleter> easy_;
    std::unique_ptr<CURLM, MultiDeleter> multi_;
    bool added_ = false;
    bool ended_ = false;
    CURLcode result_ = CURLE_OK;
    uint32_t error_ = 0;
    uint32_t connectAttempts_ = 0;
    bool anythingReceived_ = false;
    Clock::time_point lastActivity_;
    ResponseHead head_;
    std::string pending_;
    size_t pendingStart_ = 0;
};

}  // namespace eng
