#include "store/CResTable.h"

namespace eng {

CResTable::CResTable(Database &db)
    : CTable(db, "Res",
             {
                 {"Hash", &ResRow::hash},
                 {"Size", &ResRow::size},
                 {"Type", &ResRow::type},
                 {"ContentType", &ResRow::contentType, 30},
                 {"RefCount", &ResRow::refCount},
                 {"Indexed", &ResRow::indexed},
             },
             {{"PrimaryKey", {"ResId"}}, {"SizeHash", {"Size", "Hash"}}}, "ResId", &ResRow::resId),
      readBody_(db.prepare("SELECT Body FROM Res WHERE ResId = ?")),
      writeBody_(db.prepare("UPDATE Res SET Body = ? WHERE ResId = ?")) {}

uint32_t CResTable::add(ResRow &row, const std::vector<uint8_t> &body) {
    const uint32_t key = CTable::add(row);
    writeBody_.bind(1, std::span<const uint8_t>(body)).bind(2, int64_t{key});
    writeBody_.run();
    return key;
}

std::vector<uint8_t> CResTable::body(uint32_t resId) {
    readBody_.bind(1, int64_t{resId});
    std::vector<uint8_t> bytes;
    if (readBody_.step()) bytes = readBody_.blob(0);
    readBody_.reset();
    return bytes;
}

}  // namespace eng
