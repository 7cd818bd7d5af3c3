#include "ItemFileName.h"

#include <QUrl>

#include "ItemRow.h"

namespace {

// The value of the content type's "name" parameter, without its quotes; empty without one.
QString nameParameter(const QString &contentType) {
    const QStringList parameters = contentType.split(u';');
    for (qsizetype k = 1; k < parameters.size(); ++k) {
        const QString parameter = parameters[k].trimmed();
        const qsizetype equals = parameter.indexOf(u'=');
        if (equals < 0 || parameter.left(equals).trimmed().toUpper() != QStringLiteral("NAME")) continue;
        QString value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

QString proposedName(const ItemRow &row) {
    if (QString name = nameParameter(row.contentType); !name.isEmpty()) return name;
    const QUrl address(row.address);
    const QString path = address.path();
    if (QString last = path.mid(path.lastIndexOf(u'/') + 1); !last.isEmpty()) return last;
    if (!address.host().isEmpty()) return address.host() + QStringLiteral(".html");
    return QStringLiteral("Default1.html");
}

}  // namespace

QString itemFileName(const ItemRow &row) {
    QString name = proposedName(row);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (row.type == ItemRow::Html && dot < 0) name += QStringLiteral(".html");
    for (QChar &c : name)
        if (QStringView(u"\"*/:<>?\\|").contains(c)) c = u'_';
    return name;
}
