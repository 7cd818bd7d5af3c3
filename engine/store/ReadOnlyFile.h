#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace eng {

// A file opened for reading only, closed with the object. A file that cannot
// be opened reads as empty.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string &path);
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;
    ~ReadOnlyFile();

    bool isOpen() const { return fd_ >= 0; }
    // Reads exactly `size` bytes at `offset`; false when the file ends first.
    bool readAt(uint8_t *into, size_t size, uint64_t offset) const;

private:
    int fd_;
};

}  // namespace eng
