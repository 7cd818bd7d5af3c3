#include "net/HttpJob.h"

#include "net/HttpExchangeText.h"
#include "net/HttpRequest.h"
#include "net/Url.h"
#include "sys/InternetErrors.h"

namespace eng {

namespace {
bool isChallenge(uint32_t status) { return status == 401 || status == 407; }
}  // namespace

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
        if (!retryWithCredentials(request, retry, parts->host)) break;
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

bool HttpJob::retryWithCredentials(HttpRequest &request, uint32_t retry, const std::string &server) {
    const bool proxy = record_.statusCode == 407;
    const auto challenge = request.head().field(proxy ? "Proxy-Authenticate" : "WWW-Authenticate");
    record_.realm = realmOf(challenge.value_or(std::string()).substr(0, 1023));
    if (!askCredentials(retry, server)) return false;
    Credentials credentials{record_.userName, record_.password};
    if (proxy)
        request.setProxyCredentials(std::move(credentials));
    else
        request.setServerCredentials(std::move(credentials));
    return true;
}

}  // namespace eng
