#include "net/NetworkJob.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/CanonicalUrl.h"
#include "base/Url.h"
#include "net/CurlTransfer.h"
#include "net/HttpExchangeText.h"
#include "net/HttpRequest.h"
#include "net/ResponseHead.h"
#include "sys/InternetErrors.h"

namespace eng {

namespace {

constexpr uint32_t kNotAccepted = 406;
constexpr std::string_view kSizeFilterMessage =
    "This resource is not accepted, because it not fulfil requirements of the size filter.";
// Header values are taken up to this length; a challenge header up to the other.
constexpr size_t kHeaderValueLimit = 4095;
constexpr size_t kChallengeLimit = 1023;

void copyField(const ResponseHead &head, std::string_view name, std::string &target) {
    if (auto value = head.field(name)) target = value->substr(0, kHeaderValueLimit);
}

}  // namespace

bool NetworkJob::openSession() {
    std::lock_guard guard(lock_);
    if (cancelled()) return false;
    session_ = std::make_unique<InternetSession>(SessionOptions{
        .userAgent = record_.userAgent,
        .accessType = accessType(),
        .proxy = record_.proxy,
    });
    return true;
}

void NetworkJob::interrupt() {
    promptCancel_.cancel();
    if (session_) session_->close();
}

void NetworkJob::close() {
    std::lock_guard guard(lock_);
    session_.reset();
}

void NetworkJob::finish() {
    if (record_.errorCode.load() != 0) return;
    if (!handlesOpen_) recordError(lastError_);
    if ((record_.statusCode == 200 || record_.statusCode == 206) && record_.body.empty())
        recordError(kErrConnectionReset);
}

void NetworkJob::readResponseHead(const ResponseHead &head) {
    whileRunning([&] {
        record_.statusCode = head.status();
        record_.contentLength = head.contentLength();
        if (auto type = head.field("Content-Type"))
            record_.contentType = asciiLowered(type->substr(0, kHeaderValueLimit));
        if (!head.version().empty()) record_.httpVersion = head.version().substr(0, kHeaderValueLimit);
        copyField(head, "Server", record_.server);
        if (!head.statusText().empty()) record_.statusText = head.statusText().substr(0, kHeaderValueLimit);
        copyField(head, "Last-Modified", record_.lastModified);
        copyField(head, "Location", record_.location);
        const bool challenged = record_.statusCode == 401 || record_.statusCode == 407;
        if (!challenged && record_.resumeOffset != 0 && record_.statusCode != 206) record_.resumeOffset = 0;
    });
    lastError_ = 0;
}

void NetworkJob::beginBody() {
    const bool running = whileRunning([this] { record_.state = DownloadRecord::Receiving; });
    if (running) reportProgress();
}

bool NetworkJob::sizeFilterPasses(uint64_t length) const {
    if (record_.minSize == 0 && record_.maxSize == 0) return true;
    return record_.minSize <= length && length <= record_.maxSize;
}

void NetworkJob::rejectBySize(size_t lastChunk) {
    whileRunning([&] {
        record_.received += lastChunk;
        record_.lastChunk = static_cast<uint32_t>(lastChunk);
        record_.statusCode = kNotAccepted;
        record_.body.assign(kSizeFilterMessage);
        record_.contentType = "text/html";
    });
}

bool NetworkJob::readBody(CurlTransfer &transfer, bool sizeFiltered) {
    const bool filtered = sizeFiltered && (record_.minSize != 0 || record_.maxSize != 0);
    bool rejected = false;
    transfer.receive(kChunkSize, [&](const uint8_t *bytes, size_t count) {
        if (filtered && record_.received + count > record_.maxSize) {
            rejectBySize(count);
            rejected = true;
            return false;
        }
        return appendChunk(bytes, count);
    });
    if (!rejected && transfer.error() != 0) recordError(transfer.error());
    return !rejected;
}

void NetworkJob::resolveLocation() {
    if (record_.location.empty()) return;
    const auto combined = url::combine(record_.url, record_.location, url::NoEncode);
    std::string absolute = combined ? canonicalUrl(*combined) : std::string();
    whileRunning([&] { record_.location = std::move(absolute); });
}

bool NetworkJob::answerChallenge(const ResponseHead &head, uint32_t retry, const std::string &server) {
    const auto challenge = head.field(head.status() == 407 ? "Proxy-Authenticate" : "WWW-Authenticate");
    const std::string text = challenge.value_or(std::string()).substr(0, kChallengeLimit);
    record_.realm = realmOf(text);
    challengeScheme_ = isDigestChallenge(text) ? AuthScheme::Digest : AuthScheme::Basic;
    return askCredentials(retry, server);
}

void NetworkJob::applyCredentials(HttpRequest &request, uint32_t status) const {
    Credentials credentials{record_.userName, record_.password};
    if (status == 407)
        request.setProxyCredentials(std::move(credentials), challengeScheme_);
    else
        request.setServerCredentials(std::move(credentials), challengeScheme_);
}

bool NetworkJob::askCredentials(uint32_t retry, const std::string &server) {
    if (record_.urlResId == 0 || !prompt()) return false;
    return prompt()(record_, retry, server, promptCancel_);
}

}  // namespace eng
