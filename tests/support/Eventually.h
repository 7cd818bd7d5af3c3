#pragma once

#include <chrono>
#include <thread>

namespace test {

// Polls the condition until it holds or the time is up; its last answer.
template <class Predicate>
bool eventually(Predicate condition, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
}

}  // namespace test
