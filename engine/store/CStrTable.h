#pragma once

#include "store/CTable.h"

namespace eng {

struct StrRow {
    uint32_t strId = 0;
    uint8_t type = 0;
    int32_t hash = 0;
    uint32_t refCount = 0;
    std::string text;
};

// Table Strings: interned strings, their first 255 characters.
class CStrTable : public CTable<StrRow> {
public:
    explicit CStrTable(Database &db);
    std::vector<StrRow> withTypeAndHash(uint8_t type, int32_t hash) {
        return rows("TypeHash", {int64_t{type}, int64_t{hash}});
    }
};

}  // namespace eng
