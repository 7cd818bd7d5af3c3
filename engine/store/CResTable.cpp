#include "store/CResTable.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/EngineException.h"
#include "base/HtmlScanner.h"
#include "base/StyleSheetScanner.h"
#include "base/UrlHash.h"
#include "content/ResourceType.h"
#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"
#include "store/Blob.h"

namespace eng {

namespace {

constexpr size_t kContentTypeLength = 30;
// Byte counts of archived bodies: two bytes below 0xFFFF, else 0xFFFF and four.
constexpr uint16_t kLongBodyMarker = 0xFFFF;

std::string storedContentType(const std::string &contentType) {
    return contentType.empty() ? "n/a" : fitText(contentType, kContentTypeLength);
}

std::string_view textOf(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char *>(bytes.data()), bytes.size()};
}

int32_t hashOf(const ByteSource &bytes) {
    uint32_t hash = 0;
    bytes.forEachPiece([&hash](std::span<const uint8_t> piece) {
        hash = urlHash(textOf(piece), hash);
        return true;
    });
    return static_cast<int32_t>(hash);
}

// The bytes that decide the sniffed type: leading white space skipped, then
// as many as sniffing looks at.
std::string sniffedHead(const ByteSource &bytes) {
    std::string head;
    bytes.forEachPiece([&head](std::span<const uint8_t> piece) {
        std::string_view rest = textOf(piece);
        if (head.empty()) rest.remove_prefix(std::find_if_not(rest.begin(), rest.end(), isAsciiWhite) - rest.begin());
        head.append(rest.substr(0, kSniffLength - head.size()));
        return head.size() < kSniffLength;
    });
    return head;
}

}  // namespace

CResTable::CResTable(Database &db, CRelTable &links, SavedQueries &queries)
    : CTable(db, "Res",
             {
                 {"Hash", &ResRow::hash},
                 {"Size", &ResRow::size},
                 {"Type", &ResRow::type},
                 {"ContentType", &ResRow::contentType, kContentTypeLength},
                 {"RefCount", &ResRow::refCount},
                 {"Indexed", &ResRow::indexed},
             },
             {{"PrimaryKey", {"ResId"}}, {"SizeHash", {"Size", "Hash"}}}, "ResId", &ResRow::resId),
      links_(links),
      queries_(queries),
      readBody_(db.prepare("SELECT Body FROM Res WHERE ResId = ?")),
      writeBody_(db.prepare("UPDATE Res SET Body = zeroblob(?) WHERE ResId = ?")) {}

uint64_t CResTable::sizeLimit() const { return std::min<uint64_t>(db_.maxValueSize(), UINT32_MAX); }

std::string CResTable::tooLargeText(const std::string &url, uint64_t size) const {
    return "The body of " + url + " is too large to store (" + std::to_string(size) + " bytes; at most " +
           std::to_string(sizeLimit()) + ")";
}

CResTable::Stored CResTable::storeFetched(const ByteSource &bytes, const std::string &contentType,
                                          const std::string &url, const std::vector<PageLink> *scanned) {
    const auto type = static_cast<uint8_t>(sniffResourceType(sniffedHead(bytes), contentType));
    return {store(bytes, hashOf(bytes), type, contentType, url, scanned), type};
}

std::optional<uint32_t> CResTable::findIdentical(const ByteSource &bytes, int32_t hash) {
    const auto candidates = rows("SizeHash", {int64_t{static_cast<uint32_t>(bytes.size())}, int64_t{hash}});
    if (candidates.empty()) return std::nullopt;
    if (candidates.front().size == 0) return candidates.front().resId;
    for (const ResRow &candidate : candidates) {
        try {
            if (auto stored = bodyBytes(candidate.resId); stored && stored->sameBytes(bytes)) return candidate.resId;
        } catch (const std::exception &) {
            // A body that cannot be read back counts as different.
        }
    }
    return std::nullopt;
}

uint32_t CResTable::store(const ByteSource &bytes, int32_t hash, uint8_t type, const std::string &contentType,
                          const std::string &url, const std::vector<PageLink> *scanned) {
    if (bytes.size() > sizeLimit()) throw CEngineException(tooLargeText(url, bytes.size()));
    // A body with links of its own (a page, a style sheet) keeps its own row:
    // the same bytes at another address name other addresses.
    const bool withLinks = type == kHtml || isStyleSheetType(contentType);
    if (!withLinks)
        if (auto same = findIdentical(bytes, hash)) return *same;
    ResRow row;
    row.hash = hash;
    row.size = static_cast<uint32_t>(bytes.size());
    row.type = type;
    row.contentType = storedContentType(contentType);
    const uint32_t key = add(row);
    writeBody(key, bytes);
    if (withLinks && extractLinks_)
        for (const Link &link : extractLinks_(bytes, url, contentType, scanned)) links_.addLink(key, link);
    return key;
}

// Makes room for the whole body in the row, then writes it piece by piece.
void CResTable::writeBody(uint32_t key, const ByteSource &bytes) {
    if (bytes.empty()) return;
    writeBody_.bind(1, static_cast<int64_t>(bytes.size())).bind(2, int64_t{key});
    writeBody_.run();
    Blob body(db_.handle(), "Res", "Body", key, true);
    uint64_t offset = 0;
    bytes.forEachPiece([&](std::span<const uint8_t> piece) {
        body.write(offset, piece);
        offset += piece.size();
        return true;
    });
}

std::optional<StoredBody> CResTable::read(uint32_t key) {
    auto row = find(int64_t{key});
    if (!row) return std::nullopt;
    StoredBody body;
    body.type = row->type;
    body.contentType = row->contentType;
    readBody_.bind(1, int64_t{key});
    if (readBody_.step()) body.bytes = readBody_.blob(0);
    readBody_.reset();
    return body;
}

std::unique_ptr<ByteSource> CResTable::bodyBytes(uint32_t key) {
    auto row = find(int64_t{key});
    if (!row) return nullptr;
    if (row->size == 0) return std::make_unique<MemoryBytes>(std::span<const uint8_t>());
    return std::make_unique<Blob>(db_.handle(), "Res", "Body", key, false);
}

void CResTable::addReference(uint32_t key) {
    if (key == 0) return;
    // One statement, not a read and a write of the whole row: every
    // resource that takes a body takes a reference.
    Statement &s = statement(R"(UPDATE "Res" SET "RefCount" = "RefCount" + 1 WHERE "ResId" = ?)");
    s.bind(1, int64_t{key});
    s.run();
}

int64_t CResTable::release(uint32_t key) {
    auto row = key ? find(int64_t{key}) : std::nullopt;
    if (!row) return -1;
    if (row->refCount > 1) {
        --row->refCount;
        edit(*row);
        return row->refCount;
    }
    links_.removeLinksOf(key);
    if (row->indexed) {
        Statement &words = queries_.get("Delete ResId From Index");
        SavedQueries::bind(words, "[RESID_PARAM]", key);
        words.run();
    }
    remove(int64_t{key});
    return 0;
}

void CResTable::setIndexed(uint32_t key, bool indexed) {
    if (auto row = find(int64_t{key})) {
        row->indexed = indexed;
        edit(*row);
    }
}

void CResTable::writeArchive(ArchiveWriter &archive, const std::vector<std::pair<uint32_t, std::string>> &bodies) {
    for (const auto &[key, name] : bodies) {
        auto row = find(int64_t{key});
        auto body = read(key);
        if (!row || !body) throw CEngineException("ResTable serialization error!");
        archive.writeString(name);
        if (body->bytes.size() < kLongBodyMarker) {
            archive.writeInt16(static_cast<int16_t>(body->bytes.size()));
        } else {
            archive.writeInt16(static_cast<int16_t>(kLongBodyMarker));
            archive.writeUInt32(static_cast<uint32_t>(body->bytes.size()));
        }
        archive.writeBytes(body->bytes);
        archive.writeUInt32(key);
        archive.writeInt32(row->hash);
        archive.writeUInt32(row->size);
        archive.writeInt32(row->type);
        archive.writeString(row->contentType);
        std::vector<RelRow> browsed;
        for (const RelRow &link : links_.linksOf(key))
            if (link.relation == kBrowsedLinkKind) browsed.push_back(link);
        archive.writeUInt32(static_cast<uint32_t>(browsed.size()));
        for (const RelRow &link : browsed) links_.write(archive, link);
    }
}

std::map<uint32_t, uint32_t> CResTable::readArchive(ArchiveReader &archive) {
    std::map<uint32_t, uint32_t> keys;
    while (archive.nextRecord()) {
        const std::string name = archive.readString();  // the address a page's links are relative to
        uint32_t count = static_cast<uint16_t>(archive.readInt16());
        if (count == kLongBodyMarker) count = archive.readUInt32();
        const std::vector<uint8_t> bytes = archive.readBytes(count);
        const uint32_t oldKey = archive.readUInt32();
        const int32_t hash = archive.readInt32();
        archive.readUInt32();  // the size, which the bytes carry
        const auto type = static_cast<uint8_t>(archive.readInt32());
        const std::string contentType = archive.readString();
        const uint32_t newKey = store(MemoryBytes(bytes), hash, type, contentType, name, nullptr);
        keys[oldKey] = newKey;
        const int32_t links = archive.readCount();
        for (int32_t i = 0; i < links; ++i) links_.addLink(newKey, CRelTable::read(archive));
    }
    return keys;
}

}  // namespace eng
