#pragma once

#include "store/CTable.h"

namespace eng {

struct ChunkRow {
    uint32_t strId = 0;
    uint32_t offset = 0;  // the chunk's number from 0; a text of multi-byte characters may need more than 256
    std::string value;
};

// Table StrChunks: the rest of strings longer than 255 characters.
class CStrChunks : public CTable<ChunkRow> {
public:
    explicit CStrChunks(Database &db);
    // A string's chunks in order.
    std::vector<ChunkRow> chunksOf(uint32_t strId) { return rows("StrId", {int64_t{strId}}); }
    void removeChunksOf(uint32_t strId) { removeAll("ChunksStrId", {int64_t{strId}}); }
};

}  // namespace eng
