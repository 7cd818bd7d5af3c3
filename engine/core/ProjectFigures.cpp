// The figures of the open project: its file's version and the rows of its
// main tables.
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

static_assert(sizeof(EngProjectFigures) == 20);

uint32_t rows(int64_t count) { return static_cast<uint32_t>(count); }

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

}  // namespace

void addProjectFigures(CommandTable &table) { table.set(msg::kGetProjectFigures, {getProjectFigures}); }

}  // namespace eng
