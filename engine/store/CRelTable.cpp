#include "store/CRelTable.h"

#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"

namespace eng {

CRelTable::CRelTable(Database &db, CStrTable &strings)
    : CTable(db, "Rel",
             {
                 {"ResId", &RelRow::resId},
                 {"UrlId", &RelRow::urlId},
                 {"PostId", &RelRow::postId},
                 {"Relation", &RelRow::relation},
             },
             {{"ResId", {"ResId"}}, {"UrlId", {"UrlId", "PostId"}}}, ""),
      strings_(strings) {}

void CRelTable::addLink(uint32_t resId, const Link &link) {
    RelRow row{resId, strings_.intern(link.url, StringKind::Url, true),
               strings_.intern(link.formData, StringKind::FormData, true), link.kind};
    strings_.addReference(row.urlId);
    strings_.addReference(row.postId);
    add(row);
}

Link CRelTable::linkOf(const RelRow &row) {
    return Link{row.relation, strings_.textOf(row.urlId), strings_.textOf(row.postId)};
}

void CRelTable::removeLinksOf(uint32_t resId) {
    for (const RelRow &row : linksOf(resId)) {
        strings_.release(row.urlId);
        strings_.release(row.postId);
    }
    removeAll("ResId", {int64_t{resId}});
}

void CRelTable::write(ArchiveWriter &archive, const RelRow &row) {
    const Link link = linkOf(row);
    archive.writeByte(link.kind);
    archive.writeString(link.url);
    archive.writeString(link.formData);
}

Link CRelTable::read(ArchiveReader &archive) {
    Link link;
    link.kind = archive.readByte();
    link.url = archive.readString();
    link.formData = archive.readString();
    return link;
}

}  // namespace eng
