#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "OfflineAddress.h"
#include "base/WaitToken.h"
#include "kiv.h"

namespace kiv {

class EngineFunctions;
struct BodyReply;

// One request of the browser for an offline address, from Start to
// Terminate. Its worker thread asks the engine for the page, waits while a
// queued page is downloaded (until the engine's token is signalled or the
// request is aborted), and reports the redirect, the MIME type, the data and
// the result to the sink; the browser then reads the data.
class KivRequest {
public:
    KivRequest(const EngineFunctions &engine, BaseMap &bases) : engine_(engine), bases_(bases) {}
    KivRequest(const KivRequest &) = delete;
    KivRequest &operator=(const KivRequest &) = delete;
    ~KivRequest() { terminate(); }

    int32_t start(std::string_view address, uint32_t flags, std::string postData, const KivSink &sink);
    int32_t read(void *buffer, uint32_t size, uint32_t *count);
    int32_t abort();
    int32_t terminate();

private:
    void run();
    // Asks the engine for the page; KIV_S_OK, or the failure.
    int32_t fetch();
    // The body to deliver: a page's links combined into offline addresses.
    std::string delivered(const BodyReply &reply, const OfflineAddressBuilder &addresses);
    // Waits for the held token: true when it was signalled, false when the
    // request was aborted.
    bool waitForDownload();
    void holdToken(int token);
    void dropToken();
    void report(int32_t result);

    const EngineFunctions &engine_;
    BaseMap &bases_;
    std::string offlineAddress_;
    OfflineAddress request_;
    std::string postData_;
    KivSink sink_{};
    std::unique_ptr<eng::WaitToken> abortSignal_;
    std::atomic<bool> aborted_{false};
    std::thread worker_;

    std::mutex lock_;  // the token and the data, between the worker and the browser's calls
    int token_ = -1;
    std::string mimeType_;
    uint32_t statusPage_ = 0;  // the kind of the status page delivered, 0 for none
    std::string redirect_;
    std::string body_;
    size_t readAt_ = 0;
};

}  // namespace kiv
