#include "store/CStrTable.h"

#include "base/FitText.h"
#include "base/ImageMapCoordinates.h"
#include "base/UrlHash.h"

namespace eng {

CStrTable::CStrTable(Database &db, CStrChunks &chunks)
    : CTable(db, "Strings",
             {
                 {"Type", &StrRow::type},
                 {"Hash", &StrRow::hash},
                 {"RefCount", &StrRow::refCount},
                 {"String", &StrRow::text, kRowLength},
             },
             {{"PrimaryKey", {"StrId"}}, {"TypeHash", {"Type", "Hash"}}}, "StrId", &StrRow::strId),
      chunks_(chunks) {}

bool CStrTable::mayContinue(std::string_view rowText) {
    // A row cut short of a character boundary may hold up to three bytes less.
    return rowText.size() + 3 >= kRowLength;
}

int32_t CStrTable::hashOf(std::string_view text) {
    return static_cast<int32_t>(urlHash(stripImageMapCoordinates(text)));
}

uint32_t CStrTable::intern(std::string_view text, StringKind kind, bool create) {
    if (text.empty()) return 0;
    const std::string stored = fitText(text, kMaxLength);
    const std::string normalised = stripImageMapCoordinates(stored);
    const int32_t hash = static_cast<int32_t>(urlHash(normalised));
    for (const StrRow &candidate : rows("TypeHash", {int64_t{static_cast<uint8_t>(kind)}, int64_t{hash}})) {
        // Only a candidate that could be equal is read in full.
        const std::string full = mayContinue(candidate.text) ? textOf(candidate.strId) : candidate.text;
        if (stripImageMapCoordinates(full) == normalised) return candidate.strId;
    }
    return create ? add(stored, kind, hash) : 0;
}

uint32_t CStrTable::add(std::string_view text, StringKind kind, int32_t hash) {
    StrRow row;
    row.type = static_cast<uint8_t>(kind);
    row.hash = hash;
    row.text = fitText(text, kRowLength);
    const uint32_t key = CTable::add(row);
    std::string_view rest = text.substr(row.text.size());
    for (uint32_t offset = 0; !rest.empty(); ++offset) {
        ChunkRow chunk{key, offset, fitText(rest, kChunkLength)};
        rest.remove_prefix(chunk.value.size());
        chunks_.add(chunk);
    }
    return key;
}

std::string CStrTable::textOf(uint32_t strId) {
    if (strId == 0) return {};
    auto row = find(int64_t{strId});
    return row ? completed(strId, std::move(row->text)) : std::string();
}

std::string CStrTable::completed(uint32_t strId, std::string rowText) {
    if (mayContinue(rowText))
        for (const ChunkRow &chunk : chunks_.chunksOf(strId)) rowText += chunk.value;
    return rowText;
}

void CStrTable::addReference(uint32_t strId) {
    if (strId == 0) return;
    // One statement instead of reading and writing the whole row: every
    // link of every stored page takes a reference. It returns no row: a
    // RETURNING clause costs more than the change itself.
    Statement &s = statement(R"(UPDATE "Strings" SET "RefCount" = "RefCount" + 1 WHERE "StrId" = ?)");
    s.bind(1, int64_t{strId});
    s.run();
}

uint32_t CStrTable::release(uint32_t strId) {
    if (strId == 0) return 0;
    auto row = find(int64_t{strId});
    if (!row) return 0;
    if (row->refCount <= 1) {
        chunks_.removeChunksOf(strId);
        remove(int64_t{strId});
        return 0;
    }
    --row->refCount;
    edit(*row);
    return row->refCount;
}

}  // namespace eng
