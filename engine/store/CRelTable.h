#pragma once

#include <string>

#include "store/CStrTable.h"
#include "store/CTable.h"

namespace eng {

class ArchiveReader;
class ArchiveWriter;

struct RelRow {
    uint32_t resId = 0;
    uint32_t urlId = 0;
    uint32_t postId = 0;
    uint8_t relation = 0;
};

// A link as the rest of the engine sees it: its kind and its target's texts.
struct Link {
    uint8_t kind = 0;
    std::string url;
    std::string formData;
};

// The kind under which references that the browser asked for while showing
// a page are recorded; parsing the page again cannot restore them.
inline constexpr uint8_t kBrowsedLinkKind = 14;

// Table Rel: the links found in stored bodies. Each row holds a reference on
// its target's address and form-data strings.
class CRelTable : public CTable<RelRow> {
public:
    CRelTable(Database &db, CStrTable &strings);

    void addLink(uint32_t resId, const Link &link);
    // A body's rows, in index order.
    std::vector<RelRow> linksOf(uint32_t resId) { return rows("ResId", {int64_t{resId}}); }
    std::vector<RelRow> linksTo(uint32_t urlId, uint32_t postId) {
        return rows("UrlId", {int64_t{urlId}, int64_t{postId}});
    }
    Link linkOf(const RelRow &row);
    // Deletes a body's rows, releasing their strings.
    void removeLinksOf(uint32_t resId);

    // Archive form of a link: kind, address, form data.
    void write(ArchiveWriter &archive, const RelRow &row);
    static Link read(ArchiveReader &archive);

private:
    CStrTable &strings_;
};

}  // namespace eng
