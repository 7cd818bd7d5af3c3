#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "store/ArchiveFormat.h"

namespace eng {

// Writes a transfer archive through a 4096-byte buffer. Errors are thrown as
// CEngineException; finish() must be called to know that every byte reached
// the file. A writer dropped before finish() (the work failed half-way)
// removes its file, so that no half-written archive is left behind.
class ArchiveWriter {
public:
    explicit ArchiveWriter(const std::string &path);
    ArchiveWriter(const ArchiveWriter &) = delete;
    ArchiveWriter &operator=(const ArchiveWriter &) = delete;
    ~ArchiveWriter();

    void writeByte(uint8_t v) { write(&v, 1); }
    void writeInt16(int16_t v) { write(&v, 2); }
    void writeInt32(int32_t v) { write(&v, 4); }
    void writeUInt32(uint32_t v) { write(&v, 4); }
    void writeString(std::string_view text);
    void writeBytes(std::span<const uint8_t> bytes) { write(bytes.data(), bytes.size()); }
    void writeDate(const ArchiveDate &date);
    // The count that starts a counted sequence.
    void writeCount(int32_t count) { writeInt32(count); }
    void finish();

private:
    void write(const void *bytes, size_t count);

    struct Closer {
        void operator()(FILE *f) const { std::fclose(f); }
    };
    std::string path_;
    std::unique_ptr<FILE, Closer> file_;
    char buffer_[kArchiveBufferSize];
};

}  // namespace eng
