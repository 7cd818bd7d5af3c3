#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "store/ArchiveFormat.h"

namespace eng {

// Reads a transfer archive through a 4096-byte buffer. An archive holds top-
// level records one after the other with no count: the file ending exactly
// where a record would begin is its normal end (nextRecord() returns false),
// while a file that ends inside a record is an error (CEngineException).
class ArchiveReader {
public:
    explicit ArchiveReader(const std::string &path);

    // True when another record follows; false at the clean end of the file.
    bool nextRecord();

    uint8_t readByte() { return readValue<uint8_t>(); }
    int16_t readInt16() { return readValue<int16_t>(); }
    int32_t readInt32() { return readValue<int32_t>(); }
    uint32_t readUInt32() { return readValue<uint32_t>(); }
    std::string readString();
    // Exactly count bytes; a file that ends first is cut inside a record.
    std::vector<uint8_t> readBytes(size_t count);
    ArchiveDate readDate();
    // The count that starts a counted sequence (never negative).
    int32_t readCount();

private:
    template <class T>
    T readValue() {
        T v;
        read(&v, sizeof v);
        return v;
    }
    void read(void *bytes, size_t count);
    uint32_t readLength();
    std::string readWideString();

    struct Closer {
        void operator()(FILE *f) const { std::fclose(f); }
    };
    std::string path_;
    std::unique_ptr<FILE, Closer> file_;
    char buffer_[kArchiveBufferSize];
};

}  // namespace eng
