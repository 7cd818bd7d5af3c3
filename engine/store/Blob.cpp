#include "store/Blob.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <utility>

#include "store/DatabaseException.h"

namespace eng {

Blob::Blob(sqlite3 *db, const char *table, const char *column, int64_t row, bool writable) : db_(db) {
    const int code = sqlite3_blob_open(db, "main", table, column, row, writable ? 1 : 0, &blob_);
    if (code != SQLITE_OK) {
        sqlite3_blob_close(blob_);  // a failed open may still hand out a handle
        blob_ = nullptr;
        fail(code);
    }
}

Blob::Blob(Blob &&other) noexcept : db_(other.db_), blob_(std::exchange(other.blob_, nullptr)) {}

Blob::~Blob() { sqlite3_blob_close(blob_); }

void Blob::fail(int code) const {
    throw CDatabaseException(std::string(sqlite3_errstr(code)) + ": " + sqlite3_errmsg(db_));
}

uint64_t Blob::size() const { return static_cast<uint64_t>(sqlite3_blob_bytes(blob_)); }

size_t Blob::read(uint64_t offset, std::span<uint8_t> into) const {
    if (offset >= size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(into.size(), size() - offset));
    const int code = sqlite3_blob_read(blob_, into.data(), static_cast<int>(count), static_cast<int>(offset));
    if (code != SQLITE_OK) fail(code);
    return count;
}

void Blob::write(uint64_t offset, std::span<const uint8_t> bytes) {
    const int code = sqlite3_blob_write(blob_, bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(offset));
    if (code != SQLITE_OK) fail(code);
}

}  // namespace eng
