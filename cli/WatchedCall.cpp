#include "WatchedCall.h"

#include <chrono>
#include <future>

namespace lark {

WatchedResult watchedCall(WindowQueue &window, const std::function<int32_t()> &call,
                          const std::function<void(const Posted &)> &take, const std::function<void()> &show) {
    const auto start = std::chrono::steady_clock::now();
    auto running = std::async(std::launch::async, call);
    while (running.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        while (auto posted = window.take()) take(*posted);
        show();
    }
    const int32_t result = running.get();
    while (auto posted = window.take()) take(*posted);
    return {result, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

}  // namespace lark
