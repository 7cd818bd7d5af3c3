#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "api/EngineProcess.h"
#include "core/CallFrame.h"
#include "core/Messages.h"
#include "engine.h"
#include "support/OpenProject.h"

using namespace std::chrono_literals;
using eng::CommandEntry;
using eng::DispatchContext;
namespace msg = eng::msg;

namespace {

std::atomic<int> pumpCalls{0};
void countingPump() { ++pumpCalls; }

// Handlers that answer from their arguments, so that every caller can check
// it got its own answer and not another thread's.
eng::CommandTable echoTable() {
    eng::CommandTable table;
    table.set(msg::kDeleteFolder, {[](DispatchContext &c) {
                  c.frame->result = static_cast<int32_t>(c.frame->stream.readUInt32() * 2);
                  return intptr_t{0};
              }});
    table.set(msg::kGetFolder, {[](DispatchContext &c) {
                  const uint32_t id = c.frame->stream.readUInt32();
                  c.frame->stream.truncate();
                  for (uint32_t i = 0; i < id % 5; ++i) {
                      c.frame->stream.writeUInt32(id);
                      c.frame->stream.writeStrRef(std::to_string(id));
                  }
                  return intptr_t{0};
              }});
    table.set(msg::kKivAbortWaiting, {[](DispatchContext &c) {
                  c.frame->result += 1;
                  return intptr_t{0};
              }});
    return table;
}

}  // namespace

TEST(CallStress, ConcurrentCallersEachGetTheirOwnAnswer) {
    test::OpenProject project(echoTable());
    ASSERT_EQ(project.openResult(), 0);
    Eng_CloseProject();
    ASSERT_EQ(eng::EngineProcess::instance().open(project.path().c_str(), nullptr, nullptr, countingPump, echoTable()),
              0);

    std::atomic<long> calls{0};
    std::atomic<long> wrong{0};
    const auto end = std::chrono::steady_clock::now() + 3s;
    auto worker = [&](uint32_t seed) {
        uint32_t n = seed;
        while (std::chrono::steady_clock::now() < end) {
            n = n * 1103515245u + 12345u;
            const uint32_t id = (n >> 8) % 100000;
            switch (n % 5) {
                case 0:
                    if (Eng_DeleteFolder(id) != static_cast<int32_t>(id * 2)) ++wrong;
                    break;
                case 1: {
                    void *addr = nullptr;
                    uint32_t len = 0;
                    Eng_GetFolder(id, &addr, &len);
                    const size_t record = 4 + sizeof(char *);
                    if (len != (id % 5) * record) ++wrong;
                    for (size_t off = 0; off < len; off += record) {
                        uint32_t value;
                        char *text;
                        std::memcpy(&value, static_cast<char *>(addr) + off, 4);
                        std::memcpy(&text, static_cast<char *>(addr) + off + 4, sizeof text);
                        if (value != id || std::to_string(id) != text) ++wrong;
                        Eng_FreeMem(text);
                    }
                    Eng_FreeMem(addr);
                    break;
                }
                case 2:
                    if (Eng_KivAbortWaiting(id) != static_cast<int32_t>(id + 1)) ++wrong;
                    break;
                case 3:
                    if (Eng_SetActiveFolder(id) != 1 || Eng_IsOpen() != 1) ++wrong;
                    break;
                default:
                    Eng_BeforeNavigate("http://example.com/", nullptr);
                    if (Eng_IsOnline() != 0) ++wrong;
            }
            ++calls;
        }
    };
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < 6; ++t) threads.emplace_back(worker, t + 1);
    for (auto &t : threads) t.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(calls, 1000);
    EXPECT_GT(pumpCalls, 0);
    EXPECT_EQ(Eng_CloseProject(), 0);
}

TEST(CallStress, ClosingWhileOthersCallEndsCleanly) {
    for (int round = 0; round < 5; ++round) {
        test::OpenProject project(echoTable());
        ASSERT_EQ(project.openResult(), 0);
        std::atomic<bool> stop{false};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                while (!stop) {
                    // Either the answer or the closed value; never a hang.
                    const int32_t r = Eng_DeleteFolder(21);
                    EXPECT_TRUE(r == 42 || r == 0) << r;
                }
            });
        }
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(Eng_CloseProject(), 0);
        std::this_thread::sleep_for(20ms);
        stop = true;
        for (auto &t : threads) t.join();
        EXPECT_EQ(Eng_IsOpen(), 0);
    }
}
