#include "ItemFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The value of the NAME parameter of a content type, unquoted; empty when it has none.
QString nameParameter(const QString &contentType) {
    const QStringList parameters = contentType.split(QLatin1Char(';'));
    for (qsizetype k = 1; k < parameters.size(); ++k) {
        const QString parameter = parameters[k].trimmed();
        const qsizetype equals = parameter.indexOf(QLatin1Char('='));
        if (equals < 0 || parameter.left(equals).trimmed().toUpper() != QStringLiteral("NAME")) continue;
        QString value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

QString withoutForbiddenCharacters(QString name) {
    for (const QChar c : QStringLiteral("\"*/:<>?\\|")) name.replace(c, QLatin1Char('_'));
    return name;
}

}  // namespace

QString itemFileName(const QString &address, const QString &contentType, bool html) {
    const QUrl url(address);
    QString name = nameParameter(contentType);
    // The segment is cut from the encoded path, so that an escaped "/" stays in it.
    if (name.isEmpty())
        name = QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).section(QLatin1Char('/'), -1).toUtf8());
    if (name.isEmpty() && !url.host().isEmpty()) name = url.host() + QStringLiteral(".html");
    if (name.isEmpty()) name = QStringLiteral("Default1.html");
    if (html && !name.contains(QLatin1Char('.'))) name += QStringLiteral(".html");
    return withoutForbiddenCharacters(name);
}

QString countedName(const QString &name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    QString base = dot > 0 ? name.left(dot) : name;
    static const QRegularExpression counter(QStringLiteral("\\[(\\d{1,9})\\]$"));
    const QRegularExpressionMatch match = counter.match(base);
    if (match.hasMatch()) {
        base.chop(match.capturedLength());
        return base + QLatin1Char('[') + QString::number(match.captured(1).toLongLong() + 1) + QLatin1Char(']') +
               extension;
    }
    return base + QStringLiteral("[1]") + extension;
}

QString freePath(const QString &path, const std::function<bool(const QString &)> &exists) {
    const QFileInfo file(path);
    QString name = file.fileName();
    QString candidate = path;
    // Bounded: a folder cannot hold that many names of one stem.
    for (int tries = 0; exists(candidate) && tries < 100000; ++tries) {
        name = countedName(name);
        candidate = file.dir().filePath(name);
    }
    return candidate;
}

QString freePath(const QString &path) {
    return freePath(path, [](const QString &candidate) { return QFileInfo::exists(candidate); });
}
