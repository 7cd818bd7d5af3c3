#include "FilterTestPage.h"

#include "EngineLibrary.h"
#include "FilterTestSubject.h"
#include "KestProject.h"
#include "ProjectProps.h"
#include "RecordBuffer.h"
#include "ReportTemplate.h"
#include "TaskReportPage.h"
#include "items/ItemRow.h"

namespace {

constexpr qsizetype kLongestReport = 10000;

struct FilterVerdict {
    bool accepted = false;
    QString report;  // HTML from the engine, its texts escaped there
};

FilterVerdict testFilter(const QByteArray &filter, const QString &address, int kind) {
    char *text = nullptr;
    const QByteArray url = address.toUtf8();
    const bool accepted = engine().Eng_TestFilter(filter.constData(), url.constData(), kind, &text) != 0;
    const QString report = QString::fromUtf8(eng::client::takeText(text, engine().Eng_FreeMem));
    return {accepted, report.isEmpty() ? QStringLiteral("The filter is empty.") : report.left(kLongestReport)};
}

QString verdictText(const QString &filter, bool accepted) {
    return accepted ? QStringLiteral("<font color=green> %1 (accepted) </font>").arg(filter)
                    : QStringLiteral("<font color=red> %1 (not accepted) </font>").arg(filter);
}

QString resultText(bool accepted) {
    return accepted ? QStringLiteral(
                          "<img src=\"qzinfo://taskicon2/6/\"> <font color=green> The URL is accepted by "
                          "the filter. </font>")
                    : QStringLiteral(
                          "<img src=\"qzinfo://taskicon2/7/\"> <font color=red> The URL is not accepted "
                          "by the filter. </font>");
}

// The second or third parameter of a CL tag: whether the kind under test is in the mask.
std::optional<QString> choice(const QStringList &parameters, int kind) {
    if (parameters.size() < 3) return std::nullopt;
    const uint32_t mask = parameters[0].toUInt();
    const bool in = kind >= 0 && kind < 32 && (mask & (1u << kind)) != 0;
    return report::escaped(parameters[in ? 1 : 2]);
}

}  // namespace

QByteArray filterTestPage(uint32_t id) {
    const std::optional<TaskRow> task = KestProject::storedTask(id);
    if (!task) return taskNotFoundPage(id);
    const FilterTestSubject &subject = FilterTestSubject::instance();
    const auto projectProps = eng::client::readProjectProps(engine().Eng_GetProjectProp, engine().Eng_FreeMem);
    const QByteArray projectFilter = QByteArray::fromStdString(projectProps ? projectProps->filter : std::string());
    const FilterVerdict taskVerdict = testFilter(task->filter, subject.address(), subject.kind());
    const FilterVerdict projectVerdict = testFilter(projectFilter, subject.address(), subject.kind());
    const report::TagValues values{
        {QStringLiteral("TASK_FILTER"), taskVerdict.report},
        {QStringLiteral("GLOBAL_FILTER"), projectVerdict.report},
        {QStringLiteral("TASKNAME"), report::escaped(task->name)},
        {QStringLiteral("TASKURL"), report::escaped(task->url)},
        {QStringLiteral("TASKID"), QString::number(task->id)},
        {QStringLiteral("RESULT"), resultText(taskVerdict.accepted && projectVerdict.accepted)},
        {QStringLiteral("TASK_RESULT"), verdictText(QStringLiteral("Task Filter"), taskVerdict.accepted)},
        {QStringLiteral("PROJECT_RESULT"), verdictText(QStringLiteral("Project Filter"), projectVerdict.accepted)},
        {QStringLiteral("URL"), report::escaped(subject.address())},
        {QStringLiteral("UPDATEURL"), QStringLiteral("qzinfo://urltestfilter/%1/").arg(task->id)},
    };
    const report::TagValue named = report::valuesOf(values);
    const auto value = [&](const QString &name, const QStringList &parameters) {
        return name == QStringLiteral("CL") ? choice(parameters, subject.kind()) : named(name, parameters);
    };
    return report::fill(report::pageTemplate(QStringLiteral("filtertest.html")), value, QStringLiteral("&nbsp;"))
        .toUtf8();
}

QByteArray freshFilterTestPage(uint32_t task) {
    FilterTestSubject &subject = FilterTestSubject::instance();
    subject.setAddress(QStringLiteral("http://"));
    subject.setKind(ENG_LINK_HYPERLINK);
    return filterTestPage(task);
}

std::optional<QByteArray> itemFilterTestPage(uint32_t task, uint32_t item) {
    const auto found = eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem,
                                                                              engine().Eng_FindTaskItem, task, item);
    const auto pair = found.first();
    if (!pair || pair->item.item != item) return std::nullopt;
    FilterTestSubject &subject = FilterTestSubject::instance();
    subject.setAddress(ItemRow::fromPair(*pair).address);
    subject.setKind(pair->item.tag);
    return filterTestPage(task);
}
