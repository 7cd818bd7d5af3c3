// Listing task items and related resources as (item, URL resource) pairs,
// and the links stored for a page.
#include "base/CanonicalUrl.h"
#include "core/AddressLookup.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/Records.h"
#include "engine.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

static_assert(sizeof(EngLinkRecord) == 4 + 2 * sizeof(char *));

void writePair(DispatchContext &c, MemoryStream &out, const ItemRow &item, const UrlResRow &resource) {
    writeItemRecord(out, item);
    writeUrlResRecord(out, resource, c.engine.tables().strings);
}

// Writes each item read with its resource as a pair.
ItemResourceQuery::Visit pairsInto(MemoryStream &out) {
    return [&out](const ItemWithResource &listed) {
        writeItemRecord(out, listed.item);
        writeUrlResRecord(out, listed.resource, listed.url, listed.formData);
    };
}

intptr_t getTaskItems(DispatchContext &c) {
    const uint32_t task = c.args().readUInt32();
    MemoryStream &out = c.answer();
    c.engine.tables().itemResources.ofTask(task, pairsInto(out));
    return 0;
}

intptr_t findTaskItem(DispatchContext &c) {
    const uint32_t taskId = c.args().readUInt32();
    uint32_t itemId = c.args().readUInt32();
    MemoryStream &out = c.answer();
    auto task = c.engine.tables().tasks.find(int64_t{taskId});
    if (!task) return 0;
    if (itemId == 0) itemId = task->mainItemId;
    c.engine.tables().itemResources.ofItem(itemId, pairsInto(out));
    return 0;
}

void writeLinksOut(DispatchContext &c, MemoryStream &out, const UrlResRow &resource, int16_t group) {
    ProjectTables &t = c.engine.tables();
    for (const RelRow &link : t.rel.linksOf(resource.resId)) {
        const bool embedded = link.relation > ENG_LINK_HYPERLINK && link.relation <= ENG_LINK_LAST;
        if ((group == ENG_REL_EMBEDDED && !embedded) ||
            (group == ENG_REL_HYPERLINKS && link.relation != ENG_LINK_HYPERLINK))
            continue;
        auto target = t.urlRes.findLatest(link.urlId, link.postId);
        // A target never fetched is shown by its address alone.
        UrlResRow shown = target ? *target : UrlResRow{};
        if (!target) shown.urlId = link.urlId;
        writePair(c, out, ItemRow{}, shown);
    }
}

void writeLinkedBy(DispatchContext &c, MemoryStream &out, const UrlResRow &resource) {
    ProjectTables &t = c.engine.tables();
    Statement &query = t.queries.get("Select Linked By");
    SavedQueries::bind(query, "[URLID_PARAM]", resource.urlId);
    SavedQueries::bind(query, "[POSTID_PARAM]", resource.postId);
    std::vector<uint32_t> linking;
    while (query.step())
        if (!query.isNull(0)) linking.push_back(static_cast<uint32_t>(query.integer(0)));
    query.reset();
    for (uint32_t id : linking)
        if (auto row = t.urlRes.find(int64_t{id})) writePair(c, out, ItemRow{}, *row);
}

intptr_t getRelItems(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    const int16_t group = c.args().readInt16();
    MemoryStream &out = c.answer();
    auto resource = c.engine.tables().urlRes.find(int64_t{id});
    if (!resource) return 0;
    if (group == ENG_REL_EMBEDDED || group == ENG_REL_HYPERLINKS)
        writeLinksOut(c, out, *resource, group);
    else if (group == ENG_REL_LINKED_BY)
        writeLinkedBy(c, out, *resource);
    return 0;
}

void writeLinkRecord(MemoryStream &out, const Link &link) {
    EngLinkRecord r{};
    r.kind = link.kind;
    r.url = out.newString(link.url);
    r.formData = out.newString(link.formData);
    out.writeRecord(r);
}

// The links of the latest fetch of an address that has a body; the result
// says whether there is one.
intptr_t getStoredLinks(DispatchContext &c) {
    const std::string address = canonicalUrl(c.args().readCallerText());
    const std::string formData = c.args().readCallerText();
    MemoryStream &out = c.answer();
    ProjectTables &t = c.engine.tables();
    const auto keys = storedKeysOf(t, address, formData);
    if (!keys) return 0;
    for (const UrlResRow &fetch : t.urlRes.fetchesOf(keys->urlId, keys->postId)) {
        if (fetch.resId == 0) continue;
        for (const RelRow &row : t.rel.linksOf(fetch.resId)) writeLinkRecord(out, t.rel.linkOf(row));
        c.setResult(1);
        return 0;
    }
    return 0;
}

}  // namespace

void addItemCommands(CommandTable &table) {
    table.set(msg::kGetTaskItems, {getTaskItems});
    table.set(msg::kFindTaskItem, {findTaskItem});
    table.set(msg::kGetRelItems, {getRelItems});
    table.set(msg::kGetStoredLinks, {getStoredLinks});
}

}  // namespace eng
