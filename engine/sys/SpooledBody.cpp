#include "sys/SpooledBody.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace eng {

namespace {

[[noreturn]] void failWith(int error, const char *what) {
    throw std::system_error(error, std::generic_category(), what);
}

// An anonymous file in the temporary folder: it has no name from the start,
// or loses it at once where the file system cannot make one without.
FileDescriptor anonymousFile() {
    const std::string folder = std::filesystem::temp_directory_path().string();
    FileDescriptor file(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (file) return file;
    std::string name = folder + "/sitelark-body-XXXXXX";
    file = FileDescriptor(::mkostemp(name.data(), O_CLOEXEC));
    if (!file) failWith(errno, "Cannot make a temporary file for a body");
    ::unlink(name.c_str());
    return file;
}

}  // namespace

size_t SpooledBody::read(uint64_t offset, std::span<uint8_t> into) const {
    if (offset >= size_) return 0;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(into.size(), size_ - offset));
    if (!file_) {
        std::memcpy(into.data(), memory_.data() + offset, wanted);
        return wanted;
    }
    size_t done = 0;
    while (done < wanted) {
        const ssize_t count =
            ::pread(file_.get(), into.data() + done, wanted - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) failWith(errno, "Cannot read a body back from its temporary file");
        if (count == 0) break;
        done += static_cast<size_t>(count);
    }
    return done;
}

void SpooledBody::append(std::span<const uint8_t> bytes) {
    if (!file_ && memory_.size() + bytes.size() > kMemoryLimit) spill();
    if (file_) {
        writeAt(size_, bytes);
    } else {
        memory_.insert(memory_.end(), bytes.begin(), bytes.end());
    }
    size_ += bytes.size();
}

void SpooledBody::spill() {
    FileDescriptor file = anonymousFile();
    std::swap(file_, file);
    try {
        writeAt(0, memory_);
    } catch (...) {
        std::swap(file_, file);
        throw;
    }
    memory_ = {};
}

void SpooledBody::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count =
            ::pwrite(file_.get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) failWith(errno, "Cannot write a body to its temporary file");
        done += static_cast<size_t>(count);
    }
}

void SpooledBody::assign(std::string_view text) {
    clear();
    append(std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
}

void SpooledBody::clear() {
    memory_ = {};
    file_ = FileDescriptor();
    size_ = 0;
}

}  // namespace eng
