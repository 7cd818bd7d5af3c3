#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/HtmlScanner.h"
#include "store/CRelTable.h"
#include "store/CTable.h"
#include "store/SavedQueries.h"
#include "sys/ByteSource.h"

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

// A body read back: the bytes, the sniffed type and the content type.
struct StoredBody {
    std::vector<uint8_t> bytes;
    uint8_t type = 0;
    std::string contentType;
};

// Finds the links of an HTML page or a style sheet being stored (its body,
// its own address and its content type); set by the content analysis, none
// until then. `scanned` holds the links that a scan of the same body found
// before, when there was one; the body is read only when more is needed.
using LinkExtractor =
    std::function<std::vector<Link>(const ByteSource &body, const std::string &pageUrl, const std::string &contentType,
                                    const std::vector<PageLink> *scanned)>;

// Table Res: every fetched body. Bodies other than HTML pages and style
// sheets are stored once and shared by every fetch that returned the same
// bytes; each page and style sheet gets its own row and its own links. A body goes, with its links and word-index
// rows, when the last URL resource that uses it lets go.
class CResTable : public CTable<ResRow> {
public:
    static constexpr uint8_t kHtml = 1;

    CResTable(Database &db, CRelTable &links, SavedQueries &queries);

    void setLinkExtractor(LinkExtractor extractor) { extractLinks_ = std::move(extractor); }

    struct Stored {
        uint32_t key;
        uint8_t type;
    };
    // Stores a fetched body (or finds the identical one stored before) and,
    // for a page or a style sheet, records its links. The new row has no references yet. The
    // bytes are hashed, compared and written piece by piece. A body over the
    // size limit is an error. `scanned`: the links a scan of these bytes found.
    Stored storeFetched(const ByteSource &bytes, const std::string &contentType, const std::string &url,
                        const std::vector<PageLink> *scanned = nullptr);
    // The largest body that can be stored.
    uint64_t sizeLimit() const;
    // The error for a body of the address that is over the size limit.
    std::string tooLargeText(const std::string &url, uint64_t size) const;
    // Reads a body into memory at once (at most the size limit).
    std::optional<StoredBody> read(uint32_t key);
    // The stored bytes of a body, to be read piece by piece while the row is
    // not changed; nothing when the key has no row.
    std::unique_ptr<ByteSource> bodyBytes(uint32_t key);
    // Counts one more reference; nothing happens for key 0 or a key without a row.
    void addReference(uint32_t key);
    // The new count, at zero with the body deleted; -1 for key 0 or a key without a row.
    int64_t release(uint32_t key);
    void setIndexed(uint32_t key, bool indexed);

    // Writes each body with its name (the address its page's links are
    // relative to), then its browsed links (which parsing cannot restore). A
    // key without a row is an error.
    void writeArchive(ArchiveWriter &archive, const std::vector<std::pair<uint32_t, std::string>> &bodies);
    // Stores every body of an archive, a page's links found against its
    // name; returns which new key each archived key became.
    std::map<uint32_t, uint32_t> readArchive(ArchiveReader &archive);

private:
    std::optional<uint32_t> findIdentical(const ByteSource &bytes, int32_t hash);
    uint32_t store(const ByteSource &bytes, int32_t hash, uint8_t type, const std::string &contentType,
                   const std::string &url, const std::vector<PageLink> *scanned);
    void writeBody(uint32_t key, const ByteSource &bytes);

    CRelTable &links_;
    SavedQueries &queries_;
    LinkExtractor extractLinks_;
    Statement readBody_;
    Statement writeBody_;
};

}  // namespace eng
