#pragma once

#include <functional>
#include <optional>

#include <QMap>
#include <QString>
#include <QStringList>

// The program's report pages are HTML templates in which each tag written
// "<#NAME parameters>" is replaced by its value. Parameters are separated
// by blanks; a parameter in double quotes may hold blanks.
namespace report {

// The value of a tag; nothing for a tag the page does not know.
using TagValue = std::function<std::optional<QString>(const QString &name, const QStringList &parameters)>;

// Tag values by name, as a TagValue.
using TagValues = QMap<QString, QString>;
TagValue valuesOf(const TagValues &values);

// The template with every tag replaced: by its value, or by the text for
// unknown tags. Values are inserted as they are: the caller escapes them.
QString fill(const QString &page, const TagValue &value, const QString &unknown);

// The template of that name from the program's resources.
QString pageTemplate(const QString &name);

// Text escaped for HTML, quotes included.
QString escaped(const QString &text);

}  // namespace report
