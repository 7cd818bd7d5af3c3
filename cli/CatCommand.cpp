#include "CatCommand.h"

#include <condition_variable>
#include <ctime>
#include <iostream>
#include <mutex>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "engine.h"
#include "kiv.h"

namespace lark {

namespace {

// What the handler reported, collected from its worker thread.
class CollectingSink {
public:
    KivSink sink() {
        return KivSink{
            this,
            [](void *self, uint32_t status, const char *text) {
                static_cast<CollectingSink *>(self)->progress(status, text);
            },
            nullptr, [](void *self, int32_t result, uint32_t) { static_cast<CollectingSink *>(self)->finish(result); }};
    }

    // Waits for the result.
    int32_t result() {
        std::unique_lock guard(lock_);
        finished_.wait(guard, [this] { return done_; });
        return result_;
    }
    std::string redirect, mimeType;

private:
    void progress(uint32_t status, const char *text) {
        std::lock_guard guard(lock_);
        (status == KIV_STATUS_REDIRECTING ? redirect : mimeType) = text;
    }
    void finish(int32_t result) {
        std::lock_guard guard(lock_);
        result_ = result;
        done_ = true;
        finished_.notify_all();
    }

    std::mutex lock_;
    std::condition_variable finished_;
    bool done_ = false;
    int32_t result_ = KIV_E_FAIL;
};

// Now as an offline address writes dates: day-month-year-hour-minute-second.
std::string stampOfNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%d-%m-%Y-%H-%M-%S", &local);
    return stamp;
}

// The web address an offline address wraps: the text after its fourth ':'.
std::string wrappedAddress(const std::string &offline) {
    size_t at = 0;
    for (int field = 0; field < 4 && at != std::string::npos; ++field) at = offline.find(':', at + (field > 0));
    return at == std::string::npos ? offline : offline.substr(at + 1);
}

class Handler {
public:
    Handler() : handler_(Kiv_CreateHandler()) {
        if (!handler_) throw Failure("the offline protocol handler cannot reach the engine");
    }
    Handler(const Handler &) = delete;
    Handler &operator=(const Handler &) = delete;
    ~Handler() { Kiv_ReleaseHandler(handler_); }
    KivHandler *get() const { return handler_; }

private:
    KivHandler *handler_;
};

void printBody(KivHandler *handler) {
    char buffer[65536];
    uint32_t read = 0;
    while (Kiv_Read(handler, buffer, sizeof buffer, &read) == KIV_S_OK) std::cout.write(buffer, read);
}

}  // namespace

int catPage(const std::vector<std::string> &words) {
    Arguments args(words, {"task", "date"}, {});
    args.expectCount(2, 2);
    return reportingFailures("cat", [&] {
        const std::string url = args.at(1);
        const unsigned long task = args.number("task", 0);
        const std::string stamp = args.value("date").value_or(stampOfNow());
        OpenedProject project(args.at(0));
        if (!Kiv_Register(nullptr)) throw Failure("the offline protocol handler cannot reach the engine");
        Eng_BeforeNavigate(url.c_str(), nullptr);
        const std::string address = "kiv:0:" + stamp + ":" + std::to_string(task) + ":" + url;
        Handler handler;
        CollectingSink sink;
        const KivSink reports = sink.sink();
        const int32_t started = Kiv_Start(handler.get(), address.c_str(), 0, nullptr, 0, &reports);
        if (started == KIV_E_INVALID_URL) throw Failure("\"" + url + "\" makes no offline address");
        if (started != KIV_S_OK || sink.result() != KIV_S_OK)
            throw Failure("no page for " + url + " (the date must read day-month-year-hour-minute-second)");
        std::cout << "Content-Type: " << sink.mimeType << '\n'
                  << "Address: " << (sink.redirect.empty() ? url : wrappedAddress(sink.redirect)) << "\n\n";
        printBody(handler.get());
        std::cout.flush();
        return 0;
    });
}

}  // namespace lark
