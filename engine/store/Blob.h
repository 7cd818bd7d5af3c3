#pragma once

#include <cstdint>
#include <span>

#include "sys/ByteSource.h"

struct sqlite3;
struct sqlite3_blob;

namespace eng {

// One stored value of a row, opened for reading (and writing) piece by
// piece, so that a large body never has to be in memory at once. The handle
// is closed with the object; it stays usable while its row is not changed.
class Blob : public ByteSource {
public:
    Blob(sqlite3 *db, const char *table, const char *column, int64_t row, bool writable);
    Blob(Blob &&other) noexcept;
    Blob &operator=(Blob &&) = delete;
    Blob(const Blob &) = delete;
    Blob &operator=(const Blob &) = delete;
    ~Blob() override;

    uint64_t size() const override;
    size_t read(uint64_t offset, std::span<uint8_t> into) const override;
    // Overwrites bytes in place: a blob never grows.
    void write(uint64_t offset, std::span<const uint8_t> bytes);

private:
    [[noreturn]] void fail(int code) const;

    sqlite3 *db_;
    sqlite3_blob *blob_ = nullptr;
};

}  // namespace eng
