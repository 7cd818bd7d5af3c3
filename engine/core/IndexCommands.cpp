// The word index of the open project: building it and counting the bodies it
// still lacks.
#include <algorithm>

#include "base/SettingsStore.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "search/WordIndexer.h"

namespace eng {

namespace {

static_assert(sizeof(EngIndexProgressRecord) == 20);

void postProgress(const Notifier &notifier, const IndexProgress &p) {
    const EngIndexProgressRecord record{p.phase, static_cast<int32_t>(p.bodies), static_cast<int32_t>(p.done),
                                        static_cast<int32_t>(p.words), 0};
    notifier.post(ENG_NOTIFY_INDEX, [&](MemoryStream &s) { s.writeRecord(record); });
}

// A measure cut to a whole number that fits the 32-bit cell it goes to.
uint32_t whole32(double value) { return static_cast<uint32_t>(std::clamp(value, 0.0, 4294967295.0)); }

// Words per second; a run too short to time counts its words as done in a
// microsecond.
uint32_t wordsPerSecond(uint32_t words, double seconds) { return whole32(words / std::max(seconds, 1e-6)); }

// The speeds the application estimates indexing time from.
void storeSpeeds(const IndexRun &run) {
    SettingsStore settings;
    settings.writeNumber(SettingsStore::kIndexWordsPerSec, wordsPerSecond(run.words, run.importSeconds));
    settings.writeNumber(SettingsStore::kExtractWordsPerSec, wordsPerSecond(run.words, run.extractSeconds));
}

intptr_t indexDatabase(DispatchContext &c) {
    ProjectTables &tables = c.engine.tables();
    const Notifier &notifier = c.engine.notifier();
    IndexRun run =
        WordIndexer(tables, c.engine.words()).run([&](const IndexProgress &p) { postProgress(notifier, p); });
    if (run.bodies > 0) storeSpeeds(run);
    c.setResult(1);
    return 0;
}

// Stores a count into the caller's 32-bit cell, when it gave one.
void storeAt(const void *cell, uint32_t value) {
    if (cell) *static_cast<uint32_t *>(const_cast<void *>(cell)) = value;
}

intptr_t countNotIndexedResources(DispatchContext &c) {
    const void *countCell = c.args().readCallerAddr();
    const void *sizeCell = c.args().readCallerAddr();
    Statement &query = c.engine.tables().queries.get("Get Not Indexed Size");
    query.reset();
    uint32_t count = 0;
    uint32_t size = 0;
    if (query.step()) {
        count = static_cast<uint32_t>(query.integer(0));
        size = whole32(query.real(1));
    }
    query.reset();
    storeAt(countCell, count);
    storeAt(sizeCell, size);
    return 0;
}

}  // namespace

void addIndexCommands(CommandTable &table) {
    table.set(msg::kIndexDatabase, {indexDatabase});
    table.set(msg::kCountNotIndexedResources, {countNotIndexedResources});
}

}  // namespace eng
