#include "net/HttpJob.h"

#include "base/Url.h"
#include "net/HttpExchangeText.h"
#include "net/HttpRequest.h"
#include "sys/InternetErrors.h"

namespace eng {

void HttpJob::run() {
    lastError_ = 0;
    const auto parts = url::split(record_.url);
    if (!parts || (parts->kind != url::SchemeKind::Http && parts->kind != url::SchemeKind::Https)) {
        lastError_ = kErrInvalidUrl;
        return;
    }
    HttpRequest request(session(), record_.url);
    Credentials initial{record_.userName, record_.password};
    if (session().options().accessType == AccessType::NamedProxy)
        request.setProxyCredentials(std::move(initial));
    else
        request.setServerCredentials(std::move(initial));
    setHandlesOpen();

    const std::string headers = requestHeaderText(record_);
    resetBody();
    bool sent = request.send(headers, record_.postData);
    for (uint32_t retry = 0;; ++retry) {
        if (!sent) {
            recordError(request.error());
            break;
        }
        if (!receive(request)) break;
        if (!isChallenge(record_.statusCode) || retry >= kCredentialRetries) break;
        if (!answerChallenge(request.head(), retry, parts->host)) break;
        applyCredentials(request, record_.statusCode);
        resetBody();
        sent = request.send(headers, record_.postData);
    }
    resolveLocation();
}

bool HttpJob::receive(HttpRequest &request) {
    readResponseHead(request.head());
    if (!sizeFilterPasses(record_.contentLength)) {
        rejectBySize();
        return false;
    }
    beginBody();
    return readBody(request.transfer(), true);
}

}  // namespace eng
