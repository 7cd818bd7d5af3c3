#include "TaskImport.h"

#include <QStringList>

#include "dialogs/FilterText.h"

namespace {

// The filter entry of a "FILTER" line covers every kind of link.
constexpr uint32_t kEveryKind = 0x1FFFF;

bool startsWith(const QString &line, const char *keyword) {
    return line.startsWith(QLatin1String(keyword), Qt::CaseInsensitive);
}

}  // namespace

std::vector<ImportedTask> readTaskImport(const QByteArray &text) {
    QStringList lines = QString::fromUtf8(text).split(u'\n');
    if (text.endsWith('\n')) lines.removeLast();  // what follows the last line end is no line
    for (QString &line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    std::vector<ImportedTask> tasks;
    if (lines.isEmpty() || !startsWith(lines.first(), "URL")) {
        for (const QString &line : lines)
            if (!line.trimmed().isEmpty()) tasks.push_back({line.trimmed(), {}, {}, 0});
        return tasks;
    }
    ImportedTask record;
    std::vector<FilterEntry> filter;
    for (const QString &line : lines) {
        if (startsWith(line, "URL")) {
            record.url = line.mid(4);
        } else if (startsWith(line, "FILTER")) {
            filter.push_back({kEveryKind, 0, 0, line.mid(7)});
        } else if (startsWith(line, "POST")) {
            record.formData = line.mid(5);
        } else if (startsWith(line, "LEVELS")) {
            record.depth = line.mid(7).trimmed().toInt();
        } else if (line.isEmpty()) {
            record.filter = composeFilter(filter);
            tasks.push_back(record);
            record.url.clear();
            record.depth = 0;
            filter.clear();
        }
    }
    return tasks;
}
