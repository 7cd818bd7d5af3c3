#include "ProjectReportPage.h"

#include <array>
#include <cmath>

#include "EngineLibrary.h"
#include "ProjectStatistics.h"
#include "ReportTemplate.h"
#include "views/ProgressTexts.h"
#include "views/TaskRow.h"

namespace {

// The rows of the types table by resource type; type 0 counts only in the total.
constexpr std::array<std::pair<uint32_t, const char *>, 6> kTypeTags{
    {{1, "HTML"}, {2, "GIF"}, {3, "JPEG"}, {4, "BMP"}, {6, "TEXT"}, {5, "OTHER"}}};

}  // namespace

QByteArray projectReportPage() {
    const auto statistics = eng::client::readProjectStatistics(engine().Eng_GetStatistics, engine().Eng_FreeMem)
                                .value_or(eng::client::ProjectStatistics{});
    report::TagValues values;
    uint64_t totalCount = 0, totalSize = 0;
    for (const auto &[type, tag] : kTypeTags) {
        uint64_t count = 0, size = 0;
        for (const eng::client::TypeFigures &figures : statistics.types)
            if (figures.type == type) count += figures.bodies, size += figures.bytes;
        values.insert(QLatin1String(tag) + QStringLiteral("COUNT"), groupedNumber(count));
        values.insert(QLatin1String(tag) + QStringLiteral("SIZE"), groupedNumber(size));
    }
    for (const eng::client::TypeFigures &figures : statistics.types)
        totalCount += figures.bodies, totalSize += figures.bytes;
    values.insert(QStringLiteral("TOTALCOUNT"), groupedNumber(totalCount));
    values.insert(QStringLiteral("TOTALSIZE"), groupedNumber(totalSize));
    values.insert(QStringLiteral("ONLINETIME"),
                  elapsedText(static_cast<int64_t>(std::llround(statistics.onlineDays * 86400.0))));
    values.insert(QStringLiteral("TCPERRORS"),
                  QString::number(engine().Eng_CountRefreshable(ENG_REFRESH_CONNECTION_ERRORS)));
    return report::fill(report::pageTemplate(QStringLiteral("projectreport.html")), report::valuesOf(values), QString())
        .toUtf8();
}
