#include "ReportTemplate.h"

#include <QFile>
#include <QRegularExpression>

// The templates are resources of a static library, which register only when asked to.
static void registerTemplates() { Q_INIT_RESOURCE(reports); }

namespace report {

QString fill(const QString &page, const TagValue &value, const QString &unknown) {
    static const QRegularExpression tag(QStringLiteral("<#([A-Za-z_0-9]+)((?:\\s+(?:\"[^\"]*\"|[^\\s\">]+))*)\\s*>"));
    static const QRegularExpression parameter(QStringLiteral("\"([^\"]*)\"|([^\\s\">]+)"));
    QString out;
    qsizetype from = 0;
    for (auto it = tag.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(page).mid(from, match.capturedStart() - from);
        QStringList parameters;
        for (auto p = parameter.globalMatch(match.captured(2)); p.hasNext();) {
            const QRegularExpressionMatch one = p.next();
            parameters << (one.capturedLength(1) > 0 || one.captured(0).startsWith(QLatin1Char('"')) ? one.captured(1)
                                                                                                     : one.captured(2));
        }
        out += value(match.captured(1), parameters).value_or(unknown);
        from = match.capturedEnd();
    }
    return out + page.mid(from);
}

TagValue valuesOf(const TagValues &values) {
    return [values](const QString &name, const QStringList &) -> std::optional<QString> {
        const auto value = values.find(name);
        return value == values.end() ? std::nullopt : std::optional<QString>(*value);
    };
}

QString pageTemplate(const QString &name) {
    static const bool registered = (registerTemplates(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/reports/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString escaped(const QString &text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

}  // namespace report
