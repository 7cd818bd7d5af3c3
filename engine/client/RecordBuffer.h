#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "EngineBuffer.h"
#include "PackedRecords.h"
#include "RecordRelease.h"

// A buffer of the engine's records, owned and read by type.
namespace eng::client {

// The records of one type that an engine buffer holds, one after the other
// (tasks, folders, item and resource pairs, link records, ...). It owns the
// buffer and the strings inside its records, and releases them together;
// move-only.
//
// Only whole records are read: bytes after the last whole record (a short or
// malformed buffer) are never read, and strings in them are not released.
// Records come out as copies; their string fields point into the engine's
// memory and are valid while the RecordBuffer lives (text() copies one out),
// so a record cannot be taken out of a temporary RecordBuffer.
template <class Record>
class RecordBuffer {
public:
    RecordBuffer() = default;
    explicit RecordBuffer(EngineBuffer buffer) : buffer_(std::move(buffer)) {
        buffer_.releaseStringsWith(&releaseStrings);
    }

    // The number of whole records.
    size_t size() const { return buffer_.bytes().size() / sizeof(Record); }
    bool empty() const { return size() == 0; }
    // Whether the buffer holds whole records and nothing after them.
    bool whole() const { return buffer_.bytes().size() % sizeof(Record) == 0; }
    std::span<const std::byte> bytes() const { return buffer_.bytes(); }

    // The record at the index; std::out_of_range from the first index past the last whole record.
    Record at(size_t index) const & {
        if (index >= size()) throw std::out_of_range("no record " + std::to_string(index) + " in the engine's buffer");
        return *recordAt<Record>(buffer_.bytes(), index * sizeof(Record));
    }
    Record at(size_t index) const && = delete;
    // The first record; nothing when there is no whole one.
    std::optional<Record> first() const & { return empty() ? std::nullopt : std::optional<Record>(at(0)); }
    std::optional<Record> first() const && = delete;

    // Iterates over the whole records, each a copy.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Record;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Record;

        Iterator() = default;
        Record operator*() const { return records_->at(index_); }
        Iterator &operator++() {
            ++index_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const Iterator &other) const = default;

    private:
        friend class RecordBuffer;
        Iterator(const RecordBuffer *records, size_t index) : records_(records), index_(index) {}

        const RecordBuffer *records_ = nullptr;
        size_t index_ = 0;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, size()); }

private:
    static void releaseStrings(std::span<const std::byte> bytes, FreeMem freeMem) {
        for (size_t offset = 0; bytes.size() - offset >= sizeof(Record); offset += sizeof(Record))
            releaseRecordStrings(*recordAt<Record>(bytes, offset), freeMem);
    }

    EngineBuffer buffer_;
};

// Calls an export that answers with records of one type (its last two
// parameters receive the buffer) and owns them.
template <class Record, class Result, class... Parameters, class... Arguments>
RecordBuffer<Record> receiveRecords(FreeMem freeMem, Result (*call)(Parameters...), Arguments &&...arguments) {
    return RecordBuffer<Record>(receive(freeMem, call, std::forward<Arguments>(arguments)...));
}

}  // namespace eng::client
