#include "store/CStrChunks.h"

namespace eng {

CStrChunks::CStrChunks(Database &db)
    : CTable(db, "StrChunks",
             {
                 {"StrId", &ChunkRow::strId},
                 {"Offset", &ChunkRow::offset},
                 {"Value", &ChunkRow::value, 50},
             },
             {{"ChunksStrId", {"StrId"}}, {"StrId", {"StrId", "Offset"}}}, "") {}

}  // namespace eng
