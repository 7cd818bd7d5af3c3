#include "ReportPages.h"

#include <QBuffer>
#include <QIcon>

#include "EngineLibrary.h"
#include "FilterTestPage.h"
#include "KestProject.h"
#include "ProjectReportPage.h"
#include "TaskReportPage.h"
#include "views/StateIcons.h"

namespace {

InfoSchemeHandler::Answer page(const QByteArray &html) { return {"text/html", html}; }

InfoSchemeHandler::Answer picture(uint32_t state, int size) {
    QByteArray png;
    QBuffer device(&png);
    device.open(QIODevice::WriteOnly);
    stateIcon(state).pixmap(size, size).save(&device, "PNG");
    return {"image/png", png};
}

}  // namespace

std::optional<InfoSchemeHandler::Answer> reportAnswer(const QUrl &url) {
    const QString host = url.host();
    const QStringList path = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const uint32_t first = path.isEmpty() ? 0 : path[0].toUInt();
    if (host == QStringLiteral("taskicon2")) return picture(first, 16);
    if (engine().Eng_IsOpen() == 0) return std::nullopt;
    if (host == QStringLiteral("taskinfo")) return page(taskReportPage(first));
    if (host == QStringLiteral("projectreport")) return page(projectReportPage());
    if (host == QStringLiteral("urltestfilter")) return page(filterTestPage(first));
    if (host == QStringLiteral("urltestfilter2")) return page(freshFilterTestPage(first));
    if (host == QStringLiteral("itemtestfilter"))
        return page(itemFilterTestPage(first, path.size() > 1 ? path[1].toUInt() : 0).value_or(QByteArray()));
    if (host == QStringLiteral("taskicon")) {
        const std::optional<TaskRow> task = KestProject::storedTask(first);
        return picture(task ? task->state : 0, 32);
    }
    return std::nullopt;
}
