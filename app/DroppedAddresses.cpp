#include "DroppedAddresses.h"

#include <QFile>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextStream>
#include <QUrl>

namespace {

// The address an internet shortcut file holds (its "URL=" line).
QString shortcutAddress(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QStringLiteral("URL="), Qt::CaseInsensitive)) return line.mid(4);
    }
    return {};
}

}  // namespace

QStringList droppedAddresses(const QMimeData &data) {
    QStringList addresses;
    for (const QUrl &url : data.urls()) {
        if (!url.isLocalFile())
            addresses << url.toString();
        else if (url.toLocalFile().endsWith(QStringLiteral(".url"), Qt::CaseInsensitive))
            addresses << shortcutAddress(url.toLocalFile());
        else
            addresses << url.toLocalFile();
    }
    if (addresses.isEmpty() && data.hasText())
        addresses = data.text().split(QRegularExpression(QStringLiteral("[\r\n]+")));
    addresses.removeAll(QString());
    return addresses;
}
