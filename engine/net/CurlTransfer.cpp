#include "net/CurlTransfer.h"

#include <algorithm>
#include <cstring>

#include "net/CurlErrors.h"
#include "net/InternetSession.h"
#include "sys/InternetErrors.h"

namespace eng {

namespace {
// The longest sleep between two looks at the session's state.
constexpr std::chrono::milliseconds kLongestPoll{1000};
// Body bytes kept before anyone reads them.
constexpr size_t kPendingLimit = 64 * 1024;

// The multi handle of the thread's last ended transfer: the connections it
// keeps open serve the thread's next transfer to the same server.
thread_local std::unique_ptr<CURLM, CurlTransfer::MultiDeleter> parkedMulti;

std::unique_ptr<CURLM, CurlTransfer::MultiDeleter> takeMulti() {
    if (parkedMulti) return std::move(parkedMulti);
    return std::unique_ptr<CURLM, CurlTransfer::MultiDeleter>(curl_multi_init());
}
}  // namespace

CurlTransfer::CurlTransfer(InternetSession &session, const std::string &url)
    : session_(session), easy_(curl_easy_init()), multi_(takeMulti()) {
    if (!easy_ || !multi_) {
        error_ = kErrOutOfHandles;
        return;
    }
    session_.configure(easy_.get());
    curl_easy_setopt(easy_.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_.get(), CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy_.get(), CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_.get(), CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy_.get(), CURLOPT_WRITEDATA, this);
    session_.attach(multi_.get());
}

CurlTransfer::~CurlTransfer() {
    if (!multi_) return;
    session_.detach(multi_.get());
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
    if (!parkedMulti) parkedMulti = std::move(multi_);
}

size_t CurlTransfer::onHeader(char *data, size_t size, size_t count, void *self) {
    auto &transfer = *static_cast<CurlTransfer *>(self);
    transfer.lastActivity_ = Clock::now();
    transfer.anythingReceived_ = true;
    transfer.head_.addLine(std::string_view(data, size * count));
    return size * count;
}

size_t CurlTransfer::onBody(char *data, size_t size, size_t count, void *self) {
    auto &transfer = *static_cast<CurlTransfer *>(self);
    const size_t total = size * count;
    transfer.lastActivity_ = Clock::now();
    transfer.anythingReceived_ = true;
    if (transfer.curlAnswersHead()) return total;  // the body of a challenge that curl answers
    if (transfer.consumer_) return transfer.deliver(reinterpret_cast<const uint8_t *>(data), total) ? total : 0;
    if (transfer.pending_.size() >= kPendingLimit) {
        transfer.paused_ = true;
        return CURL_WRITEFUNC_PAUSE;  // curl keeps these bytes and offers them again
    }
    transfer.pending_.append(data, total);
    return total;
}

bool CurlTransfer::deliver(const uint8_t *bytes, size_t count) {
    while (count > 0 && !consumerStopped_) {
        const size_t piece = std::min(count, pieceSize_);
        consumerStopped_ = !(*consumer_)(bytes, piece);
        bytes += piece;
        count -= piece;
    }
    return !consumerStopped_;
}

void CurlTransfer::fail(uint32_t error) {
    if (error_ != kErrOperationCancelled) error_ = error;
    drop();
}

void CurlTransfer::drop() {
    ended_ = true;
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
    added_ = false;
}

void CurlTransfer::collectResult() {
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi_.get(), &left)) {
        if (message->msg != CURLMSG_DONE) continue;
        result_ = message->data.result;
        curl_multi_remove_handle(multi_.get(), easy_.get());
        added_ = false;
        if (result_ == CURLE_COULDNT_CONNECT && !anythingReceived_ &&
            connectAttempts_ < session_.settings().connectRetries) {
            ++connectAttempts_;
            added_ = curl_multi_add_handle(multi_.get(), easy_.get()) == CURLM_OK;
            if (added_) continue;
        }
        ended_ = true;
        const bool stoppedByConsumer = result_ == CURLE_WRITE_ERROR && consumerStopped_;
        if (result_ != CURLE_OK && !stoppedByConsumer && error_ != kErrOperationCancelled)
            error_ = internetErrorOf(result_);
    }
}

std::chrono::milliseconds CurlTransfer::timeLeft() const {
    const std::chrono::milliseconds limit{static_cast<int64_t>(session_.settings().receiveTimeoutSeconds) * 1000};
    if (limit.count() == 0) return kLongestPoll;  // no time-out set
    return std::chrono::duration_cast<std::chrono::milliseconds>(lastActivity_ + limit - Clock::now());
}

template <typename Ready>
void CurlTransfer::runUntil(Ready ready) {
    while (!ended_ && !ready()) {
        if (session_.closed()) return fail(kErrOperationCancelled);
        int running = 0;
        if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) return fail(kErrInternalError);
        collectResult();
        if (ended_ || ready()) return;
        const auto left = timeLeft();
        if (left.count() <= 0) return fail(kErrTimeout);
        curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(std::min(left, kLongestPoll).count()), nullptr);
    }
}

bool CurlTransfer::start() {
    if (error_ != 0) return false;
    if (session_.closed()) {
        error_ = kErrOperationCancelled;
        return false;
    }
    added_ = curl_multi_add_handle(multi_.get(), easy_.get()) == CURLM_OK;
    if (!added_) {
        error_ = kErrInternalError;
        return false;
    }
    lastActivity_ = Clock::now();
    runUntil([this] { return (head_.complete() && !curlAnswersHead()) || !pending_.empty(); });
    return error_ == 0 || head_.complete() || !pending_.empty();
}

bool CurlTransfer::curlAnswersHead() const {
    const bool challenge = head_.status() == 401 || head_.status() == 407;
    return answersChallenges_ && head_.complete() && challenge && !ended_;
}

void CurlTransfer::receive(size_t pieceSize, const Consumer &consume) {
    consumer_ = &consume;
    pieceSize_ = pieceSize;
    const bool more = deliver(reinterpret_cast<const uint8_t *>(pending_.data()), pending_.size());
    pending_.clear();
    if (paused_ && more && !ended_) {
        paused_ = false;
        curl_easy_pause(easy_.get(), CURLPAUSE_CONT);  // hands over the held bytes at once
    }
    if (consumerStopped_)
        drop();
    else
        runUntil([] { return false; });
    consumer_ = nullptr;
}

int64_t CurlTransfer::fileTime() const {
    curl_off_t time = -1;
    if (curl_easy_getinfo(easy_.get(), CURLINFO_FILETIME_T, &time) != CURLE_OK) return -1;
    return time;
}

int64_t CurlTransfer::announcedSize() const {
    curl_off_t size = -1;
    if (curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) != CURLE_OK) return -1;
    return size;
}

}  // namespace eng
