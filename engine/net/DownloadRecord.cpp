#include "net/DownloadRecord.h"

#include <algorithm>
#include <strings.h>

namespace eng {

namespace {
// Error codes that mean the network, not the server, failed.
constexpr uint32_t kNetworkErrors[] = {12001, 12002, 12003, 12007, 12012, 12017,
                                       12020, 12023, 12029, 12030, 12031, 12033};
constexpr uint32_t kNotAccepted = 406;
}  // namespace

bool DownloadRecord::networkError() const {
    if (aborted) return false;
    const uint32_t code = errorCode.load();
    if (std::find(std::begin(kNetworkErrors), std::end(kNetworkErrors), code) != std::end(kNetworkErrors))
        return true;
    const bool ftp = url.size() >= 3 && strncasecmp(url.c_str(), "ftp", 3) == 0;
    if (!ftp && statusCode < 100) return true;  // no response arrived
    if (statusCode == kNotAccepted || contentLength == 0) return false;
    return body.size() != contentLength;  // a cut transfer
}

}  // namespace eng
