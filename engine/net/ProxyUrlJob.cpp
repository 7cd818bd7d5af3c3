#include "net/ProxyUrlJob.h"

#include "base/Url.h"
#include "net/FtpCredentials.h"
#include "net/HttpExchangeText.h"
#include "net/HttpRequest.h"
#include "sys/InternetErrors.h"

namespace eng {

void ProxyUrlJob::run() {
    lastError_ = 0;
    const auto parts = url::split(record_.url);
    const std::string server = parts ? parts->host : std::string();
    const std::string headers = requestHeaderText(record_);
    HttpRequest request(session(), record_.url);
    request.setProxyCredentials({record_.userName, record_.password});
    if (!request.send(headers, {})) {
        lastError_ = request.error();
        return;
    }
    setHandlesOpen();
    const uint32_t firstStatus = request.head().status();
    bool resend = false;
    if (isChallenge(firstStatus) && !record_.userName.empty()) {
        if (firstStatus == 401) {
            const Credentials login = ftpCredentials(record_.url);
            record_.userName = login.userName;
            record_.password = login.password;
        }
        applyCredentials(request, firstStatus);
        resend = true;
    }
    for (uint32_t retry = 0; attempt(request, headers, resend); ++retry) {
        if (!isChallenge(record_.statusCode) || retry >= kCredentialRetries) break;
        if (!answerChallenge(request.head(), retry, server)) break;
        applyCredentials(request, record_.statusCode);
        resend = true;
    }
    // Only a redirect is followed; a location on any other answer is dropped
    // rather than kept unresolved.
    if (record_.statusCode >= 300 && record_.statusCode <= 303)
        resolveLocation();
    else
        whileRunning([this] { record_.location.clear(); });
}

bool ProxyUrlJob::attempt(HttpRequest &request, const std::string &headers, bool send) {
    resetBody();
    if (send && !request.send(headers, {})) recordError(request.error());
    if (record_.errorCode.load() == 0 && !request.head().isHttp()) recordError(kErrIncorrectHandleType);
    resetBody();
    if (record_.errorCode.load() != 0) return false;
    readResponseHead(request.head());
    beginBody();
    readBody(request.transfer(), false);
    return true;
}

}  // namespace eng
