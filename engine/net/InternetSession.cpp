#include "net/InternetSession.h"

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <cstdlib>

#include "net/CurlShare.h"

namespace eng {

namespace {

// Certificates are checked against the trusted authorities, but an expired or
// not yet valid certificate is accepted, as is one issued for another host
// name: archived sites often carry such certificates.
int acceptOutdatedCertificates(int preverified, X509_STORE_CTX *context) {
    if (preverified) return 1;
    const int error = X509_STORE_CTX_get_error(context);
    if (error != X509_V_ERR_CERT_HAS_EXPIRED && error != X509_V_ERR_CERT_NOT_YET_VALID) return 0;
    X509_STORE_CTX_set_error(context, X509_V_OK);
    return 1;
}

CURLcode setCertificateRules(CURL *, void *sslContext, void *) {
    SSL_CTX_set_verify(static_cast<SSL_CTX *>(sslContext), SSL_VERIFY_PEER, acceptOutdatedCertificates);
    return CURLE_OK;
}

// The authorities: the system's, or those that the usual variables name.
void setTrustedAuthorities(CURL *easy) {
    if (const char *file = std::getenv("SSL_CERT_FILE"); file && *file) curl_easy_setopt(easy, CURLOPT_CAINFO, file);
    if (const char *dir = std::getenv("SSL_CERT_DIR"); dir && *dir) curl_easy_setopt(easy, CURLOPT_CAPATH, dir);
}

}  // namespace

InternetSession::InternetSession(SessionOptions options)
    : options_(std::move(options)), settings_(NetworkSettings::current()) {}

void InternetSession::close() {
    std::lock_guard guard(lock_);
    closed_ = true;
    if (running_) curl_multi_wakeup(running_);
}

void InternetSession::attach(CURLM *multi) {
    std::lock_guard guard(lock_);
    running_ = multi;
}

void InternetSession::detach(CURLM *multi) {
    std::lock_guard guard(lock_);
    if (running_ == multi) running_ = nullptr;
}

void InternetSession::configure(CURL *easy) const {
    curl_easy_setopt(easy, CURLOPT_SHARE, sharedCurlData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, options_.userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(easy, CURLOPT_HTTP_TRANSFER_DECODING, 1L);
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.sendTimeoutSeconds) * 1000);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, setCertificateRules);
    setTrustedAuthorities(easy);
    switch (options_.accessType) {
        case AccessType::Direct:
            curl_easy_setopt(easy, CURLOPT_PROXY, "");
            break;
        case AccessType::NamedProxy:
            curl_easy_setopt(easy, CURLOPT_PROXY, options_.proxy.c_str());
            break;
        case AccessType::System:
            break;  // the proxy variables of the environment
    }
}

}  // namespace eng
