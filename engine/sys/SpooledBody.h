#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sys/ByteSource.h"
#include "sys/FileDescriptor.h"

namespace eng {

// A body as it arrives: held in memory up to a threshold, and beyond it kept
// in an unlinked temporary file (which disappears with the object, whatever
// happens), so that a body of any size costs a bounded amount of memory.
// Appending belongs to one thread; reading is safe once the appending ended.
class SpooledBody : public ByteSource {
public:
    // The most bytes held in memory; a larger body goes to a file.
    static constexpr size_t kMemoryLimit = 1 << 20;

    SpooledBody() = default;
    SpooledBody(SpooledBody &&) noexcept = default;
    SpooledBody &operator=(SpooledBody &&) noexcept = default;

    uint64_t size() const override { return size_; }
    size_t read(uint64_t offset, std::span<uint8_t> into) const override;

    // Adds the bytes at the end. Throws std::system_error, with the system's
    // error, when the temporary file cannot be made or written; the body then
    // holds what it held before.
    void append(std::span<const uint8_t> bytes);
    // Replaces the body by the text.
    void assign(std::string_view text);
    // Empties the body and gives its memory and file back.
    void clear();
    // The body went to a file.
    bool spooled() const { return static_cast<bool>(file_); }

private:
    void spill();
    void writeAt(uint64_t offset, std::span<const uint8_t> bytes);

    std::vector<uint8_t> memory_;
    FileDescriptor file_;
    uint64_t size_ = 0;
};

}  // namespace eng
