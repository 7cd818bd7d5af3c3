#pragma once

#include <unistd.h>

#include <utility>

namespace eng {

// Owns a file descriptor and closes it when the object ends; -1 is none.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    FileDescriptor(FileDescriptor &&other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept {
        std::swap(descriptor_, other.descriptor_);
        return *this;
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }

    int get() const { return descriptor_; }
    // Gives the descriptor up without closing it.
    int release() { return std::exchange(descriptor_, -1); }
    // Closes the descriptor now: close(2)'s result, 0 when there was none.
    int close() { return descriptor_ < 0 ? 0 : ::close(std::exchange(descriptor_, -1)); }
    explicit operator bool() const { return descriptor_ >= 0; }

private:
    int descriptor_ = -1;
};

}  // namespace eng
