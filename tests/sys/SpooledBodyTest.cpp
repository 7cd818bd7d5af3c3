#include "sys/SpooledBody.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::span<const uint8_t> spanOf(const std::string &text) {
    return {reinterpret_cast<const uint8_t *>(text.data()), text.size()};
}

std::string patterned(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 2654435761u >> 24);
    return bytes;
}

// Past its memory limit a body moves to a file, and it reads back the same
// from any offset, piece by piece and joined to another body.
TEST(SpooledBodyTest, ABodyPastTheMemoryLimitGoesToAFileAndReadsBackTheSame) {
    const std::string whole = patterned(eng::SpooledBody::kMemoryLimit * 3 + 12345);
    eng::SpooledBody body;
    for (size_t at = 0; at < whole.size(); at += 4096)
        body.append(spanOf(whole).subspan(at, std::min<size_t>(4096, whole.size() - at)));
    EXPECT_TRUE(body.spooled());
    ASSERT_EQ(body.size(), whole.size());
    EXPECT_EQ(body.text(), whole);
    EXPECT_EQ(body.text(10), whole.substr(0, 10));

    std::string middle(100, '\0');
    EXPECT_EQ(body.read(eng::SpooledBody::kMemoryLimit - 50, {reinterpret_cast<uint8_t *>(middle.data()), 100}), 100u);
    EXPECT_EQ(middle, whole.substr(eng::SpooledBody::kMemoryLimit - 50, 100));

    const eng::MemoryBytes same(spanOf(whole));
    EXPECT_TRUE(body.sameBytes(same));
    std::string changed = whole;
    changed.back() ^= 1;
    EXPECT_FALSE(body.sameBytes(eng::MemoryBytes(spanOf(changed))));

    const std::string head = "stored part|";
    const eng::MemoryBytes before(spanOf(head));
    EXPECT_EQ(eng::JoinedBytes(before, body).text(), head + whole);

    body.assign("small");
    EXPECT_FALSE(body.spooled());
    EXPECT_EQ(body.text(), "small");
    body.clear();
    EXPECT_TRUE(body.empty());
}

}  // namespace
