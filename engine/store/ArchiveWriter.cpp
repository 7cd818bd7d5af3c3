#include "store/ArchiveWriter.h"

#include <cerrno>
#include <cstring>

#include "base/EngineException.h"

namespace eng {

namespace {
[[noreturn]] void fail(const std::string &what, const std::string &path) {
    throw CEngineException(what + " \"" + path + "\": " + std::strerror(errno));
}
}  // namespace

ArchiveWriter::ArchiveWriter(const std::string &path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) fail("Cannot create the archive", path_);
    std::setvbuf(file_.get(), buffer_, _IOFBF, sizeof buffer_);
}

ArchiveWriter::~ArchiveWriter() {
    if (!file_) return;
    file_.reset();
    std::remove(path_.c_str());
}

void ArchiveWriter::write(const void *bytes, size_t count) {
    if (!file_) throw CEngineException("The archive \"" + path_ + "\" is already closed");
    if (count && std::fwrite(bytes, 1, count, file_.get()) != count) fail("Cannot write the archive", path_);
}

void ArchiveWriter::writeString(std::string_view text) {
    const size_t n = text.size();
    if (n < kArchiveLongLength) {
        writeByte(static_cast<uint8_t>(n));
    } else {
        writeByte(kArchiveLongLength);
        if (n < kArchiveWideMarker) {
            writeInt16(static_cast<int16_t>(n));
        } else {
            writeInt16(static_cast<int16_t>(kArchiveHugeLength));
            writeUInt32(static_cast<uint32_t>(n));
        }
    }
    write(text.data(), n);
}

void ArchiveWriter::writeDate(const ArchiveDate &date) {
    writeInt32(static_cast<int32_t>(date.status));
    write(&date.value, sizeof date.value);
}

void ArchiveWriter::finish() {
    if (!file_) return;
    FILE *f = file_.release();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) fail("Cannot write the archive", path_);
}

}  // namespace eng
