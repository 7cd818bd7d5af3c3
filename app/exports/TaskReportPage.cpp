#include "TaskReportPage.h"

#include <QDateTime>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "ReportTemplate.h"
#include "views/TaskRow.h"

namespace {

QString picture(const QString &address) { return QStringLiteral("<img src=\"%1\">").arg(address); }

QString statePicture(uint32_t state) { return picture(QStringLiteral("qzinfo://taskicon2/%1/").arg(state)); }

QString stateText(const TaskRow &task) {
    switch (task.state) {
        case TaskRow::Queued:
            return QStringLiteral("The task is not yet finished.");
        case TaskRow::Stopped:
            return QStringLiteral("The task is stopped.");
        case TaskRow::Ok:
            return QStringLiteral("The task is finished.");
        case TaskRow::Failed:
            return QStringLiteral("Error: ") + report::escaped(task.result);
        default:
            return {};
    }
}

QString timeText(double days) { return days == 0 ? QStringLiteral("n/a") : dateText(days); }

}  // namespace

QByteArray taskNotFoundPage(uint32_t task) {
    return "<html><b> Task not found. TaskID:" + QByteArray::number(task) + "</html>";
}

QByteArray taskReportPage(uint32_t id) {
    const std::optional<TaskRow> found = KestProject::storedTask(id);
    if (!found) return taskNotFoundPage(id);
    const TaskRow &task = *found;
    const QString offline = offlineAddress(task.url, task.id, QDateTime::currentDateTime());
    const uint32_t errors = std::min(task.errorCount, task.retrieved);
    const report::TagValues values{
        {QStringLiteral("TASKNAME"), report::escaped(task.name)},
        {QStringLiteral("TASKID"), QString::number(task.id)},
        {QStringLiteral("TASKLEVEL"), QString::number(task.depth)},
        {QStringLiteral("IMG1"), picture(QStringLiteral("qzinfo://taskicon/%1/").arg(task.id))},
        {QStringLiteral("IMG2"), statePicture(task.state)},
        {QStringLiteral("IMG_OK"), statePicture(TaskRow::Ok)},
        {QStringLiteral("IMG_ERROR"), statePicture(TaskRow::Failed)},
        {QStringLiteral("IMG_NOTACCEPT"), statePicture(TaskRow::NotAccepted)},
        {QStringLiteral("TASKURL"), QStringLiteral("<a id=\"address\" href=\"%1\">%2</a>")
                                        .arg(report::escaped(offline), report::escaped(task.url))},
        {QStringLiteral("TASKSTATE"), stateText(task)},
        {QStringLiteral("RETRFILES"), QString::number(task.retrieved - errors)},
        {QStringLiteral("ERRORFILES"), QString::number(errors - std::min(errors, task.transportErrorCount))},
        {QStringLiteral("TCPERRORFILES"), QString::number(task.transportErrorCount)},
        {QStringLiteral("QUEUEDEDFILES"), QString::number(task.queued)},
        {QStringLiteral("NOTACCEPTEDFILES"), QString::number(engine().Eng_CountNotAcceptedResources(task.id))},
        {QStringLiteral("TASKSIZE"), groupedNumber(task.size)},
        {QStringLiteral("CREATEDTIME"), timeText(task.created)},
        {QStringLiteral("DONETIME"), timeText(task.done)},
    };
    return report::fill(report::pageTemplate(QStringLiteral("taskreport.html")), report::valuesOf(values),
                        QStringLiteral("&nbsp;"))
        .toUtf8();
}
