#pragma once

#include <vector>

#include "store/CTable.h"

namespace eng {

// A stored body's row without the bytes, which are read and written on
// their own so that bookkeeping never loads them.
struct ResRow {
    uint32_t resId = 0;
    int32_t hash = 0;
    uint32_t size = 0;
    uint8_t type = 0;
    std::string contentType;
    uint32_t refCount = 0;
    bool indexed = false;
};

// Table Res: stored bodies, each stored once.
class CResTable : public CTable<ResRow> {
public:
    explicit CResTable(Database &db);
    std::vector<ResRow> withSizeAndHash(uint32_t size, int32_t hash) {
        return rows("SizeHash", {int64_t{size}, int64_t{hash}});
    }
    // Adds a body with its bytes; returns its new key.
    uint32_t add(ResRow &row, const std::vector<uint8_t> &body);
    std::vector<uint8_t> body(uint32_t resId);

private:
    Statement readBody_;
    Statement writeBody_;
};

}  // namespace eng
