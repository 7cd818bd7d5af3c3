#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

static_assert(std::endian::native == std::endian::little, "records are written as little-endian memory images");

// A block handed to a receiver, who releases it (and every string address
// written into it) with Eng_FreeMem.
struct DetachedBuffer {
    void *data = nullptr;
    uint32_t length = 0;
};

// The byte stream in which arguments, answers and notifications cross the
// engine's interface: a growable buffer with a position and a length, or a
// read-only wrap of a caller's buffer. Integers are little-endian and fields
// follow each other without gaps.
//
// Strings written as string references are allocated with the engine's
// allocator and stay owned by the stream until it is detached, so that a
// stream that is truncated or dropped (an answer abandoned on an error, a
// notification that could not be posted) leaks none of them.
class MemoryStream {
public:
    static constexpr size_t kGrowthStep = 128;

    MemoryStream() = default;
    // Wraps a caller's buffer for reading; it is neither grown nor freed.
    static MemoryStream attach(const void *data, size_t length);

    MemoryStream(MemoryStream &&other) noexcept;
    MemoryStream &operator=(MemoryStream &&other) noexcept;
    MemoryStream(const MemoryStream &) = delete;
    MemoryStream &operator=(const MemoryStream &) = delete;
    ~MemoryStream();

    size_t length() const { return length_; }
    size_t position() const { return position_; }
    size_t capacity() const { return capacity_; }
    const uint8_t *data() const { return data_; }

    void write(const void *bytes, size_t count);
    // Reads exactly count bytes; a stream too short for them is an error.
    void read(void *bytes, size_t count);
    void seekToStart() { position_ = 0; }
    // Empties the stream and releases the strings written into it.
    void truncate();
    // Hands the buffer and its strings to the receiver; the stream is empty after.
    DetachedBuffer detach();

    // Field kinds.
    void writeByte(uint8_t v) { write(&v, 1); }
    void writeInt16(int16_t v) { write(&v, 2); }
    void writeInt32(int32_t v) { write(&v, 4); }
    void writeUInt32(uint32_t v) { write(&v, 4); }
    void writeBool32(bool v) { writeUInt32(v ? 1 : 0); }
    void writeDate(double v) { write(&v, 8); }
    void writeCallerAddr(const void *v) { write(&v, sizeof v); }
    void writeCountedText(std::string_view text);
    // Allocates a copy of the text, writes its address, and keeps it owned.
    void writeStrRef(std::string_view text);
    // Allocates a copy of the text owned by this stream, for use inside a record.
    char *newString(std::string_view text);
    // Writes a fixed-size record image.
    template <class Record>
    void writeRecord(const Record &record) {
        write(&record, sizeof record);
    }

    uint8_t readByte() { return readValue<uint8_t>(); }
    int16_t readInt16() { return readValue<int16_t>(); }
    int32_t readInt32() { return readValue<int32_t>(); }
    uint32_t readUInt32() { return readValue<uint32_t>(); }
    bool readBool32() { return readUInt32() != 0; }
    double readDate() { return readValue<double>(); }
    const void *readCallerAddr() { return readValue<const void *>(); }
    // A caller's NUL-terminated text passed by address; null reads as empty.
    std::string readCallerText();
    std::string readCountedText();

private:
    template <class T>
    T readValue() {
        T v;
        read(&v, sizeof v);
        return v;
    }
    void reserve(size_t needed);
    void releaseStrings();
    void swap(MemoryStream &other) noexcept;

    uint8_t *data_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
    size_t position_ = 0;
    bool owned_ = true;
    std::vector<char *> strings_;
};

// A copy of the text in the engine's allocator, for a string reference
// handed to a caller (a 1-byte block for an empty text).
char *allocateString(std::string_view text);
// Releases a block of the engine's allocator; null is ignored.
void freeBlock(void *block);

}  // namespace eng
