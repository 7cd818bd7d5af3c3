#include "KivRequest.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "BaseHref.h"
#include "BodyReply.h"
#include "DateText.h"
#include "DeliveredLinks.h"
#include "EngineFunctions.h"
#include "StatusPage.h"
#include "base/AsciiText.h"

namespace kiv {

namespace {

constexpr int kWaitStepMs = 500;

// The MIME type of a content type, without parameters, in lower case.
std::string mimeOf(std::string_view contentType) {
    return eng::asciiLowered(eng::trimmedWhite(contentType.substr(0, contentType.find(';'))));
}

// Waits up to one step for either descriptor: true when the first is readable.
bool readableWithin(int descriptor, int alsoWatched, int milliseconds) {
    pollfd watched[2] = {{descriptor, POLLIN, 0}, {alsoWatched, POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(watched, 2, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (watched[0].revents & POLLIN) != 0;
}

}  // namespace

int32_t KivRequest::start(std::string_view address, uint32_t flags, std::string postData, const KivSink &sink) {
    if (worker_.joinable()) return KIV_E_FAIL;  // one request per handler
    const auto parsed = OfflineAddress::parse(address);
    if (!parsed) return KIV_E_INVALID_URL;
    offlineAddress_ = address;
    request_ = *parsed;
    postData_ = std::move(postData);
    sink_ = sink;
    if (flags & KIV_BIND_RESYNCHRONIZE) {
        const auto date = dateOfText(request_.dateText);
        if (!date) return KIV_E_FAIL;
        engine_.refreshUrlRes2(request_.task, request_.address.c_str(), postData_.c_str(), *date);
    }
    try {
        abortSignal_ = std::make_unique<eng::WaitToken>();
        worker_ = std::thread([this] { run(); });
    } catch (const std::exception &) {
        return KIV_E_FAIL;
    }
    return KIV_S_OK;
}

int32_t KivRequest::read(void *buffer, uint32_t size, uint32_t *count) {
    std::lock_guard guard(lock_);
    const size_t n = std::min<size_t>(size, body_.size() - readAt_);
    std::memcpy(buffer, body_.data() + readAt_, n);
    readAt_ += n;
    if (count) *count = static_cast<uint32_t>(n);
    return n == 0 ? KIV_S_FALSE : KIV_S_OK;
}

int32_t KivRequest::abort() {
    aborted_ = true;
    std::unique_lock guard(lock_);
    const int token = token_;
    guard.unlock();
    if (token < 0 || !worker_.joinable()) return KIV_S_OK;
    // The engine keeps no waiter under a request's own token, so it answers
    // 0; the request's worker is then woken through its own signal, because
    // signalling the token would wake every other request for the page.
    if (engine_.kivAbortWaiting(static_cast<uint32_t>(token)) == 0) abortSignal_->signal();
    if (worker_.get_id() != std::this_thread::get_id()) worker_.join();
    return KIV_S_OK;
}

int32_t KivRequest::terminate() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
    dropToken();
    std::lock_guard guard(lock_);
    sink_ = KivSink{};
    body_.clear();
    body_.shrink_to_fit();
    readAt_ = 0;
    return KIV_S_OK;
}

void KivRequest::run() {
    int32_t result = fetch();
    while (result == KIV_S_OK && token_ >= 0) {
        const bool downloaded = waitForDownload();
        dropToken();
        if (!downloaded) return;
        result = fetch();
    }
    if (!aborted_) report(result);
}

int32_t KivRequest::fetch() {
    const auto date = dateOfText(request_.dateText);
    if (!date) return KIV_E_FAIL;
    void *record = nullptr;
    uint32_t length = 0;
    engine_.getBody(request_.address.c_str(), postData_.c_str(), static_cast<uint32_t>(request_.referrerKey),
                    request_.task, *date, &record, &length);
    if (!record) return KIV_E_FAIL;
    const auto reply = BodyReply::parse({static_cast<const uint8_t *>(record), length});
    engine_.freeMem(record);
    if (!reply || length == 0) return KIV_E_FAIL;

    const OfflineAddressBuilder addresses(request_, bases_);
    std::string mimeType = "text/html", body;
    uint32_t shownStatus = 0;
    if (reply->status != 0) {
        if (reply->mainPage) {
            body = statusPage(static_cast<int32_t>(reply->status), reply->urlResId, request_.address);
            shownStatus = reply->status;
        }
    } else {
        if (!reply->finalAddress.empty()) {
            std::lock_guard guard(lock_);
            redirect_ = addresses.ownForm(reply->finalAddress);
            request_.address = reply->finalAddress;
        }
        mimeType = reply->contentType;
        if (reply->waitToken != 0) {
            holdToken(static_cast<int>(reply->waitToken));
            return KIV_S_OK;
        }
        body = delivered(*reply, addresses);
    }
    std::lock_guard guard(lock_);
    mimeType_ = std::move(mimeType);
    statusPage_ = shownStatus;
    body_ = std::move(body);
    readAt_ = 0;
    return KIV_S_OK;
}

std::string KivRequest::delivered(const BodyReply &reply, const OfflineAddressBuilder &addresses) {
    const std::string mime = mimeOf(reply.contentType);
    if (mime != "text/html" && mime != "text/css") return reply.body;
    // The address the browser would combine the page's links against: the
    // page's own, or the one its BASE now names.
    std::string documentBase = redirect_.empty() ? offlineAddress_ : redirect_;
    std::string page = reply.body;
    if (mime == "text/html") {
        OfflineBase rewritten = withOfflineBase(page, request_.address, addresses, bases_);
        page = std::move(rewritten.page);
        if (!rewritten.base.empty()) documentBase = std::move(rewritten.base);
    }
    const auto base = OfflineAddress::parse(documentBase);
    if (!base) return page;
    const LinkCombiner combine = [&](std::string_view value) {
        return OfflineAddressBuilder::combine(*base, value, bases_);
    };
    return mime == "text/css" ? cssWithOfflineLinks(page, combine) : withOfflineLinks(page, request_.address, combine);
}

bool KivRequest::waitForDownload() {
    for (;;) {
        if (aborted_) return false;
        if (readableWithin(token_, abortSignal_->descriptor(), kWaitStepMs)) return true;
    }
}

void KivRequest::holdToken(int token) {
    std::lock_guard guard(lock_);
    token_ = token;
}

void KivRequest::dropToken() {
    std::lock_guard guard(lock_);
    if (token_ >= 0) ::close(token_);
    token_ = -1;
}

void KivRequest::report(int32_t result) {
    if (result != KIV_S_OK) {
        if (sink_.result) sink_.result(sink_.context, KIV_E_FAIL, static_cast<uint32_t>(result));
        return;
    }
    if (!redirect_.empty() && sink_.progress) sink_.progress(sink_.context, KIV_STATUS_REDIRECTING, redirect_.c_str());
    if (statusPage_ != 0 && sink_.progress)
        sink_.progress(sink_.context, KIV_STATUS_STATUS_PAGE, std::to_string(statusPage_).c_str());
    if (mimeType_ != "n/a" && sink_.progress)
        sink_.progress(sink_.context, KIV_STATUS_MIMETYPE_AVAILABLE, mimeType_.c_str());
    const auto size = static_cast<uint32_t>(body_.size());
    if (sink_.data) sink_.data(sink_.context, KIV_DATA_LAST_NOTIFICATION | KIV_DATA_FULLY_AVAILABLE, size, size);
    if (sink_.result) sink_.result(sink_.context, KIV_S_OK, 0);
}

}  // namespace kiv
