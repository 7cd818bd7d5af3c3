#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

#include "net/CurlTransfer.h"
#include "sys/Credentials.h"

namespace eng {

class InternetSession;

// How credentials go with a request: Basic with every request, or Digest,
// where curl first fetches the server's challenge and answers it.
enum class AuthScheme { Basic, Digest };

// An HTTP/1.0 request on a session: the address, the verb (POST when there is
// form data), the credentials for the server and for the proxy. Each send
// makes a fresh exchange with exactly the given header lines after the Host
// and User-Agent lines, then "Connection: Keep-Alive": a server that keeps
// the connection open serves the thread's next request over it. Redirects
// are not followed and bodies are not decoded. Credentials go with the
// request when a user name is set, in the scheme given with them (Basic
// unless told).
class HttpRequest {
public:
    HttpRequest(InternetSession &session, std::string url);

    void setServerCredentials(Credentials credentials, AuthScheme scheme = AuthScheme::Basic) {
        server_ = std::move(credentials);
        serverScheme_ = scheme;
    }
    void setProxyCredentials(Credentials credentials, AuthScheme scheme = AuthScheme::Basic) {
        proxy_ = std::move(credentials);
        proxyScheme_ = scheme;
    }

    // Sends the request with the header text (lines ending in CR LF) and the
    // form data as its body, and waits for the response head. False when no
    // answer came; error() tells why.
    bool send(const std::string &headerText, const std::string &formData);

    const ResponseHead &head() const { return transfer_->head(); }
    CurlTransfer &transfer() { return *transfer_; }
    uint32_t error() const { return transfer_ ? transfer_->error() : 0; }

private:
    struct ListDeleter {
        void operator()(curl_slist *list) const { curl_slist_free_all(list); }
    };

    void configure(const std::string &headerText, const std::string &formData);

    InternetSession &session_;
    std::string url_;
    Credentials server_;
    Credentials proxy_;
    AuthScheme serverScheme_ = AuthScheme::Basic;
    AuthScheme proxyScheme_ = AuthScheme::Basic;
    std::unique_ptr<curl_slist, ListDeleter> headers_;
    std::unique_ptr<CurlTransfer> transfer_;
};

}  // namespace eng
