// The lookups the browser windows make for the addresses they show: the
// item and resource of an address, a resource by id, a stored body as
// source text, and refreshing the resource of an address.
#include "base/CanonicalUrl.h"
#include "core/AddressLookup.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/Records.h"
#include "core/ResourceRefresh.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

// An address and its form data as the application names them, with the task
// and the date that pick the stored version.
struct AddressQuery {
    std::string address;
    std::string formData;
    uint32_t task = 0;
    Date date = 0;
};

AddressQuery readQuery(DispatchContext &c) {
    AddressQuery query;
    query.address = c.args().readCallerText();
    query.formData = c.args().readCallerText();
    query.task = c.args().readUInt32();
    query.date = c.args().readDate();
    return query;
}

// The keys of the query's address, canonicalised, and form data.
std::optional<AddressKeys> keysOf(ProjectTables &t, const AddressQuery &query) {
    return storedKeysOf(t, canonicalUrl(query.address), query.formData);
}

void writeResource(DispatchContext &c, const UrlResRow &resource) {
    MemoryStream &out = c.answer();
    writeItemRecord(out, ItemRow{});
    writeUrlResRecord(out, resource, c.engine.tables().strings);
}

intptr_t getItemFromUrl(DispatchContext &c) {
    const AddressQuery query = readQuery(c);
    c.answer();
    ProjectTables &t = c.engine.tables();
    const auto keys = keysOf(t, query);
    if (!keys) return 0;
    auto resource = taskResource(t, query.task, *keys);
    if (!resource && query.date != 0) resource = t.urlRes.findClosest(keys->urlId, keys->postId, query.date);
    if (!resource) resource = t.urlRes.findLatest(keys->urlId, keys->postId);
    if (resource) writeResource(c, *resource);
    return 0;
}

intptr_t getItemFromUrlResId(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    c.answer();
    if (auto resource = c.engine.tables().urlRes.find(int64_t{id})) writeResource(c, *resource);
    return 0;
}

intptr_t getSource(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    MemoryStream &out = c.answer();
    ProjectTables &t = c.engine.tables();
    const auto resource = t.urlRes.find(int64_t{id});
    if (!resource || resource->resId == 0) return 0;
    if (auto body = t.res.read(resource->resId))
        out.writeCountedText({reinterpret_cast<const char *>(body->bytes.data()), body->bytes.size()});
    return 0;
}

// With a task, only the task's own resource for the address counts.
intptr_t refreshUrlRes2(DispatchContext &c) {
    AddressQuery query;
    query.task = c.args().readUInt32();
    query.address = c.args().readCallerText();
    query.formData = c.args().readCallerText();
    query.date = c.args().readDate();
    ProjectTables &t = c.engine.tables();
    const auto keys = keysOf(t, query);
    std::optional<UrlResRow> resource;
    if (keys)
        resource = query.task ? taskResource(t, query.task, *keys)
                              : t.urlRes.findClosest(keys->urlId, keys->postId, query.date);
    c.setResult(resource && refreshResource(c.engine, resource->urlResId, false) ? 1 : 0);
    return 0;
}

// The token comes in the result slot.
intptr_t kivAbortWaiting(DispatchContext &c) {
    c.setResult(c.engine.waiters().abortWaiting(static_cast<uint32_t>(c.frame->result)) ? 1 : 0);
    return 0;
}

}  // namespace

void addBrowserLookups(CommandTable &table) {
    table.set(msg::kKivAbortWaiting, {kivAbortWaiting});
    table.set(msg::kGetItemFromUrl, {getItemFromUrl});
    table.set(msg::kGetItemFromUrlResId, {getItemFromUrlResId});
    table.set(msg::kGetSource, {getSource});
    table.set(msg::kRefreshUrlRes2, {refreshUrlRes2});
}

}  // namespace eng
