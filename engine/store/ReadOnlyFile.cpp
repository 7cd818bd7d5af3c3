#include "store/ReadOnlyFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace eng {

ReadOnlyFile::ReadOnlyFile(const std::string &path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool ReadOnlyFile::readAt(uint8_t *into, size_t size, uint64_t offset) const {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, into + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace eng
