// Export of tasks, single pages and whole projects to files on disk.
#include <algorithm>
#include <cstdint>

#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "export/ProjectExport.h"
#include "export/ResourceExport.h"
#include "export/TaskExport.h"

namespace eng {

namespace {

static_assert(sizeof(EngExportProgressRecord) == 16);
static_assert(sizeof(EngExportSummaryRecord) == 40);

int32_t cell(uint64_t value) { return static_cast<int32_t>(std::min<uint64_t>(value, INT32_MAX)); }

void postProgress(const Notifier &notifier, const ExportProgress &p) {
    const EngExportProgressRecord record{p.phase, cell(p.total), cell(p.current), 0};
    notifier.post(ENG_NOTIFY_EXPORT, [&](MemoryStream &s) { s.writeRecord(record); });
}

void postSummary(const Notifier &notifier, const ExportSummary &summary) {
    const EngExportSummaryRecord record{{ENG_EXPORT_FINISHED, cell(summary.files), cell(summary.files), 0},
                                        summary.bytes,
                                        summary.localLinks,
                                        summary.absoluteLinks,
                                        summary.notWritten,
                                        0};
    notifier.post(ENG_NOTIFY_EXPORT, [&](MemoryStream &s) { s.writeRecord(record); });
}

ExportOptions exportOptions(uint32_t flags, uint32_t nameLength) {
    return {(flags & ENG_EXPORT_HTML_EXTENSION) != 0, (flags & ENG_EXPORT_NAME_LENGTH) != 0 ? nameLength : 0};
}

intptr_t exportTaskCommand(DispatchContext &c) {
    const std::string destination = c.args().readCountedText();
    const uint32_t task = c.args().readUInt32();
    const uint32_t flags = c.args().readUInt32();
    const uint32_t nameLength = c.args().readUInt32();
    const Notifier &notifier = c.engine.notifier();
    const auto summary = exportTask(c.engine.tables(), destination, task, exportOptions(flags, nameLength),
                                    [&](const ExportProgress &p) { postProgress(notifier, p); });
    if (summary) postSummary(notifier, *summary);
    c.setResult(summary ? 1 : 0);
    return 0;
}

// The destination comes as the address of the caller's text.
intptr_t exportResCommand(DispatchContext &c) {
    const std::string destination = c.args().readCallerText();
    const uint32_t urlRes = c.args().readUInt32();
    const uint32_t flags = c.args().readUInt32();
    const uint32_t nameLength = c.args().readUInt32();
    ExportSummary summary;
    const bool written = exportResource(c.engine.tables(), destination, urlRes, exportOptions(flags, nameLength),
                                        (flags & ENG_EXPORT_PAGE_ONLY) != 0, summary);
    if (written) postSummary(c.engine.notifier(), summary);
    c.setResult(written ? 1 : 0);
    return 0;
}

intptr_t exportDatabaseCommand(DispatchContext &c) {
    const std::string destination = c.args().readCountedText();
    const uint32_t flags = c.args().readUInt32();
    const uint32_t nameLength = c.args().readUInt32();
    const Notifier &notifier = c.engine.notifier();
    const ExportSummary summary =
        exportProject(c.engine.tables(), c.engine.projectPath(), destination, exportOptions(flags, nameLength),
                      [&](const ExportProgress &p) { postProgress(notifier, p); });
    postSummary(notifier, summary);
    c.setResult(1);
    return 0;
}

}  // namespace

void addExportCommands(CommandTable &table) {
    table.set(msg::kExportDatabase, {exportDatabaseCommand});
    table.set(msg::kExportTask, {exportTaskCommand});
    table.set(msg::kExportRes, {exportResCommand});
}

}  // namespace eng
