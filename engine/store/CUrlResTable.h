#pragma once

#include "base/DateTime.h"
#include "store/CTable.h"

namespace eng {

struct UrlResRow {
    uint32_t urlResId = 0;
    uint32_t urlId = 0;
    uint32_t postId = 0;
    uint32_t redirectUrlId = 0;
    uint32_t resId = 0;
    uint8_t type = 0;
    Date lastModified = 0;
    std::string httpVersion;
    int16_t statusCode = 0;
    std::string server;
    std::string contentType;
    uint32_t contentLength = 0;
    bool tcpError = false;
    uint32_t lastError = 0;
    Date doneTime = 0;
    uint32_t refCount = 0;
    bool error = false;
    int32_t priority = 0;
    uint32_t domain = 0;
    uint32_t state = 0;
    std::string url;
    uint32_t urlHash = 0;
    uint32_t runCount = 0;
    uint32_t userAgentId = 0;
    uint32_t retries = 0;
    uint32_t size = 0;
    std::string title;
    uint32_t tag = 0;
    uint32_t minSize = 0;
    uint32_t maxSize = 0;
    uint32_t referer = 0;
};

// Status stored for a download that found the stored copy unchanged.
inline constexpr int16_t kStatusUnchanged = 499;

// The statuses under which a resource's body is a copy of the resource (whole,
// the part before a cut, or kept as unchanged): one to refresh or resume.
inline bool holdsStoredCopy(int16_t status) { return status == 200 || status == 206 || status == kStatusUnchanged; }

// Table UrlRes: one row per fetch of an address.
class CUrlResTable : public CTable<UrlResRow> {
public:
    explicit CUrlResTable(Database &db);
    std::vector<UrlResRow> withHash(uint32_t urlHash) { return rows("Hash", {int64_t{urlHash}}); }
    std::vector<UrlResRow> withBody(uint32_t resId) { return rows("ResId", {int64_t{resId}}); }
    // The fetches of an address with its form data, newest first.
    std::vector<UrlResRow> fetchesOf(uint32_t urlId, uint32_t postId) {
        return rows("UrlRes", {int64_t{urlId}, int64_t{postId}});
    }
    // The resource in a state with the highest priority.
    std::optional<UrlResRow> firstInState(uint32_t state) { return seek("StatePriority", {int64_t{state}}); }
};

}  // namespace eng
