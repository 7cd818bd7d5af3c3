// The search of stored URL resources by the words of their bodies and
// titles and by their own fields.
#include <cerrno>

#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/Records.h"
#include "engine.h"
#include "search/ResourceSearch.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

static_assert(sizeof(EngSearchProgressRecord) == 16);

// The request's twelve fields, in the order of Eng_SearchItems.
SearchRequest readRequest(MemoryStream &args) {
    SearchRequest r;
    r.maxResults = args.readInt32();
    r.bodyQuery = args.readCountedText();
    r.states = args.readInt16();
    r.urlPattern = args.readCountedText();
    r.titleQuery = args.readCountedText();
    r.minSize = args.readInt32();
    r.maxSize = args.readInt32();
    r.doneFrom = args.readDate();
    r.doneTo = args.readDate();
    r.modifiedFrom = args.readDate();
    r.modifiedTo = args.readDate();
    r.type = static_cast<int16_t>(args.readInt32());
    return r;
}

void postSearchState(const Notifier &notifier, int32_t state, int32_t error) {
    const EngSearchProgressRecord record{state, error, 0, 0};
    notifier.post(ENG_NOTIFY_SEARCH, [&](MemoryStream &s) { s.writeRecord(record); });
}

// Answers 1 with a pair of records per resource found (an item record of no
// task, then the resource's record), or -1 when a query does not parse.
intptr_t searchItems(DispatchContext &c) {
    const SearchRequest request = readRequest(c.args());
    MemoryStream &out = c.answer();
    const Notifier &notifier = c.engine.notifier();
    postSearchState(notifier, ENG_SEARCH_STARTED, 0);
    ProjectTables &tables = c.engine.tables();
    try {
        const SearchStatement statement = searchStatement(c.engine.database(), request, c.engine.words());
        if (statement.error) {
            c.setResult(-1);
            return 0;
        }
        for (uint32_t id : runSearch(c.engine.database(), statement)) {
            if (const auto resource = tables.urlRes.find(int64_t{id})) {
                writeItemRecord(out, ItemRow{});
                writeUrlResRecord(out, *resource, tables.strings);
            }
        }
    } catch (...) {
        postSearchState(notifier, ENG_SEARCH_FAILED, errno);
        throw;
    }
    c.setResult(1);
    return 0;
}

}  // namespace

void addSearchCommands(CommandTable &table) { table.set(msg::kSearchItems, {searchItems}); }

}  // namespace eng
