#include "net/DownloadRecord.h"

#include <strings.h>

#include <algorithm>

#include "sys/InternetErrors.h"

namespace eng {

namespace {
// Error codes that mean the network, not the server, failed.
constexpr uint32_t kNetworkErrors[] = {kErrOutOfHandles,      kErrTimeout,         kErrExtendedError,
                                       kErrNameNotResolved,   kErrShutdown,        kErrOperationCancelled,
                                       kErrNotProxyRequest,   kErrNoDirectAccess,  kErrCannotConnect,
                                       kErrConnectionAborted, kErrConnectionReset, kErrInvalidProxyRequest};
constexpr uint32_t kNotAccepted = 406;
}  // namespace

bool DownloadRecord::networkError() const {
    if (aborted || bodyTooLarge) return false;
    const uint32_t code = errorCode.load();
    if (std::find(std::begin(kNetworkErrors), std::end(kNetworkErrors), code) != std::end(kNetworkErrors)) return true;
    const bool ftp = url.size() >= 3 && strncasecmp(url.c_str(), "ftp", 3) == 0;
    if (!ftp && statusCode < 100) return true;  // no response arrived
    if (statusCode == kNotAccepted || contentLength == 0) return false;
    return body.size() != contentLength;  // a cut transfer
}

}  // namespace eng
