#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "sys/DateTime.h"

namespace eng {

// The inputs and results of one retrieval, shared by its download job (on a
// worker thread) and the engine thread. The error code may be written by an
// abort at any moment, so it is only exchanged atomically.
struct DownloadRecord {
    enum State : uint32_t { Created = 1, ThreadStarted = 2, Receiving = 3, Finished = 4, ThreadFailed = 5 };

    uint32_t state = Created;
    std::vector<uint8_t> body;
    uint32_t contentLength = 0;
    uint32_t lastChunk = 0;
    uint32_t received = 0;
    uint32_t statusCode = 0;
    uint32_t accessType = 0;
    bool useCache = false;
    uint32_t aborted = 0;
    std::string httpVersion;
    std::string url;
    std::string proxy;
    std::string contentType;  // lower-cased
    std::string statusText;
    std::string lastModified;  // If-Modified-Since on input, Last-Modified on output
    std::string server;
    std::string location;  // absolute and canonical; empty when there is none
    uint32_t urlResId = 0;
    Date started = 0;
    std::string userAgent;
    std::string accept = "*/*";
    std::string postData;
    std::string realm;
    std::string referer;
    std::string userName;
    std::string password;
    bool credentialsRefused = false;
    uint32_t domainKey = 0;
    uint32_t resumeOffset = 0;
    uint32_t minSize = 0;
    uint32_t maxSize = 0;
    uint32_t pauseTimer = 0;
    std::atomic<uint32_t> errorCode{0};

    // The retrieval failed for network reasons and may be tried again.
    bool networkError() const;
    // The retrieval failed: a status of 400 or more, or it was aborted.
    bool failed() const { return statusCode >= 400 || aborted != 0; }
};

}  // namespace eng
