#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/HtmlScanner.h"
#include "sys/SpooledBody.h"

namespace eng {

// A byte count as the 32-bit fields outside the engine hold it: the largest
// they can when it is larger.
inline uint32_t clampedCount(uint64_t count) {
    return count > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(count);
}

// What the worker thread read from a fetched page or style sheet, so that the
// engine thread stores it without scanning the body again: the body's links
// (as extractBodyLinks finds them against the record's address) and, for a
// page, its title and META refresh target.
struct ScannedBody {
    std::vector<PageLink> links;
    std::string title;
    std::string refresh;
};

// The inputs and results of one retrieval, shared by its download job (on a
// worker thread) and the engine thread. The error code may be written by an
// abort at any moment, so it is only exchanged atomically.
struct DownloadRecord {
    enum State : uint32_t { Created = 1, ThreadStarted = 2, Receiving = 3, Finished = 4, ThreadFailed = 5 };

    uint32_t state = Created;
    SpooledBody body;
    uint64_t contentLength = 0;
    uint32_t lastChunk = 0;
    uint64_t received = 0;
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
    uint64_t resumeOffset = 0;
    uint32_t minSize = 0;
    uint32_t maxSize = 0;
    // The largest body that can be kept, the part stored before a resumed
    // retrieval included: beyond it the retrieval stops and drops the body.
    uint64_t bodyLimit = std::numeric_limits<uint32_t>::max();
    // The body went past the limit (its error code says so too).
    bool bodyTooLarge = false;
    uint32_t pauseTimer = 0;
    std::atomic<uint32_t> errorCode{0};
    // The scan of the body, when the worker made one.
    std::optional<ScannedBody> scanned;

    // The bytes stored before that the body continues: the resume offset of
    // a partial answer (206), else 0.
    uint64_t storedBefore() const { return statusCode == 206 ? resumeOffset : 0; }
    // The retrieval failed for network reasons and may be tried again.
    bool networkError() const;
    // The retrieval failed: a status of 400 or more, it was aborted, or its
    // body was too large to keep.
    bool failed() const { return statusCode >= 400 || aborted != 0 || bodyTooLarge; }
};

}  // namespace eng
