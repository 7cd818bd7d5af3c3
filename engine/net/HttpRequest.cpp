#include "net/HttpRequest.h"

#include <string_view>

#include "net/InternetSession.h"

namespace eng {

namespace {

// The header lines of a header text, each without its line end, then the
// line that asks the server to keep the connection open for the thread's
// next request (an HTTP/1.0 connection closes after each answer otherwise).
// Curl's own Accept and Expect lines are replaced or dropped by them.
curl_slist *headerList(std::string_view text) {
    curl_slist *list = nullptr;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        const std::string line(text.substr(0, end));
        if (!line.empty()) list = curl_slist_append(list, line.c_str());
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 2);
    }
    list = curl_slist_append(list, "Connection: Keep-Alive");
    return curl_slist_append(list, "Expect:");
}

long curlAuth(AuthScheme scheme) { return scheme == AuthScheme::Digest ? CURLAUTH_DIGEST : CURLAUTH_BASIC; }

}  // namespace

HttpRequest::HttpRequest(InternetSession &session, std::string url) : session_(session), url_(std::move(url)) {}

void HttpRequest::configure(const std::string &headerText, const std::string &formData) {
    CURL *easy = transfer_->handle();
    if (!easy) return;
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    headers_.reset(headerList(headerText));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.get());
    if (!formData.empty()) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(formData.size()));
        curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, formData.c_str());
    }
    if (serverScheme_ == AuthScheme::Digest || proxyScheme_ == AuthScheme::Digest) transfer_->answerChallenges();
    if (!server_.userName.empty()) {
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, curlAuth(serverScheme_));
        curl_easy_setopt(easy, CURLOPT_USERNAME, server_.userName.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, server_.password.c_str());
    }
    if (!proxy_.userName.empty()) {
        curl_easy_setopt(easy, CURLOPT_PROXYAUTH, curlAuth(proxyScheme_));
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy_.userName.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxy_.password.c_str());
    }
}

bool HttpRequest::send(const std::string &headerText, const std::string &formData) {
    transfer_.reset();  // its connection goes before the next one opens
    transfer_ = std::make_unique<CurlTransfer>(session_, url_);
    configure(headerText, formData);
    return transfer_->start();
}

}  // namespace eng
