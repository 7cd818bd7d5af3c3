// The figures of the open project: its file's version and the rows of its
// main tables, and its statistics: the time it has been online and its
// bodies counted and summed by resource type.
#include <algorithm>
#include <cstdint>

#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

static_assert(sizeof(EngProjectFigures) == 20);

uint32_t rows(int64_t count) { return static_cast<uint32_t>(count); }

// The record's fields are 32-bit; a larger sum shows as the largest value
// rather than wrapping round to a small one.
uint32_t saturated(int64_t value) { return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, UINT32_MAX)); }

intptr_t getProjectFigures(DispatchContext &c) {
    ProjectTables &t = c.engine.tables();
    EngProjectFigures figures{};
    const auto project = t.project.load();
    figures.version = project ? project->version : 0;
    figures.tasks = rows(t.tasks.count());
    figures.urlResources = rows(t.urlRes.CUrlResTable::count());
    figures.bodies = rows(t.res.count());
    figures.strings = rows(t.strings.count());
    c.answer().writeRecord(figures);
    return 0;
}

// The online time, then Type, Files and Size for each type in the order of
// the saved query.
intptr_t getStatistics(DispatchContext &c) {
    MemoryStream &answer = c.answer();
    answer.writeDate(c.engine.onlineTime());
    Statement &query = c.engine.tables().queries.get("Get Statistics");
    query.reset();
    while (query.step()) {
        answer.writeUInt32(saturated(query.integer(0)));
        answer.writeUInt32(saturated(query.integer(2)));
        answer.writeUInt32(saturated(query.integer(1)));
    }
    query.reset();
    return 0;
}

}  // namespace

void addProjectFigures(CommandTable &table) {
    table.set(msg::kGetProjectFigures, {getProjectFigures});
    table.set(msg::kGetStatistics, {getStatistics});
}

}  // namespace eng
