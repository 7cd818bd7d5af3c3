#include "TaskExport.h"

#include <algorithm>

#include <QDir>
#include <QMessageBox>

#include "EngineLibrary.h"
#include "ExportParamDialog.h"
#include "ExportProgressDialog.h"
#include "ItemExport.h"
#include "ItemFileName.h"
#include "KestProject.h"
#include "RecordBuffer.h"

namespace {

constexpr uint32_t kSingleFileOptions = ENG_EXPORT_HTML_EXTENSION | ENG_EXPORT_NAME_LENGTH | ENG_EXPORT_PAGE_ONLY;
constexpr uint32_t kSingleFileLength = 50;

// Exports the task's main file alone into the folder.
bool exportMainFile(KestProject &project, uint32_t task, const QString &folder) {
    const auto found = eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem,
                                                                              engine().Eng_FindTaskItem, task, 0u);
    const auto pair = found.first();
    if (!pair || pair->resource.id == 0) return false;
    const ItemRow row = ItemRow::fromPair(*pair);
    const QString target = freePath(QDir(folder).filePath(itemFileName(row)));
    return project.exportResource(target, row.resource, kSingleFileOptions, kSingleFileLength);
}

}  // namespace

TaskExportResult exportTasks(QWidget *parent, KestProject &project, const std::vector<uint32_t> &tasks,
                             const QString &folder, uint32_t options, uint32_t nameLength) {
    std::vector<TaskRow> rows;
    for (uint32_t id : tasks)
        if (auto row = project.task(id)) rows.push_back(std::move(*row));
    const bool singleFiles = std::ranges::all_of(rows, [](const TaskRow &row) { return row.retrieved <= 1; });
    ExportProgressDialog progress(project, QStringLiteral("Save Task(s) As ..."), parent);
    progress.showTotal(static_cast<int>(rows.size()));
    TaskExportResult result;
    progress.run([&] {
        for (size_t k = 0; k < rows.size() && !progress.cancelled(); ++k) {
            const TaskRow &row = rows[k];
            progress.setName(row.caption());
            progress.setTotalPosition(static_cast<int>(k));
            if (row.retrieved == 0) continue;
            const bool done = singleFiles ? exportMainFile(project, row.id, folder)
                                          : project.exportTask(folder, row.id, options, nameLength);
            if (!done) continue;
            if (result.exported++ == 0) result.firstName = row.caption();
        }
        progress.setTotalPosition(static_cast<int>(rows.size()));
    });
    result.cancelled = progress.cancelled();
    return result;
}

int saveTasksAs(QWidget *parent, KestProject &project, const std::vector<uint32_t> &tasks) {
    if (tasks.empty()) return 0;
    ExportParamDialog parameters(QStringLiteral("Export Task"), parent);
    if (parameters.exec() != QDialog::Accepted) return 0;
    const QString folder = ExportParamDialog::asFolder(parameters.destination());
    QDir().mkpath(folder);
    const TaskExportResult result =
        exportTasks(parent, project, tasks, folder, parameters.options(), parameters.nameLength());
    const int failed = static_cast<int>(tasks.size()) - result.exported;
    if (failed > 0 && !result.cancelled)
        QMessageBox::information(
            parent, QStringLiteral("Sitelark"),
            QStringLiteral("%1 of %2 task(s) were not exported due to an error.").arg(failed).arg(tasks.size()));
    return result.exported;
}
