#include "OptionsText.h"

#include <algorithm>
#include <array>
#include <map>
#include <type_traits>

#include "OptionFields.h"

namespace {

const QString kHeader = QStringLiteral("object TProgramOptions");
const QString kEnd = QStringLiteral("end");
const QString kAssign = QStringLiteral(" = ");
const std::array<QString, 4> kViewStyles = {QStringLiteral("vsIcon"), QStringLiteral("vsSmallIcon"),
                                            QStringLiteral("vsList"), QStringLiteral("vsReport")};

QString quoted(const QString &text) {
    QString out;
    bool inQuotes = false;
    for (const QChar c : text) {
        const bool control = c.unicode() < 32;
        if (control == inQuotes) {
            out += u'\'';
            inQuotes = !inQuotes;
        }
        if (control)
            out += u'#' + QString::number(c.unicode());
        else
            out += c == u'\'' ? QStringLiteral("''") : QString(c);
    }
    if (inQuotes) out += u'\'';
    return out.isEmpty() ? QStringLiteral("''") : out;
}

// A text of quoted pieces and "#code" characters, side by side.
std::optional<QString> unquoted(QStringView value) {
    QString text;
    qsizetype at = 0;
    while (at < value.size()) {
        if (value[at] == u'#') {
            qsizetype end = ++at;
            while (end < value.size() && value[end].isDigit()) ++end;
            bool ok = false;
            const uint code = value.mid(at, end - at).toUInt(&ok);
            if (!ok || code > 0xFFFF) return std::nullopt;
            text += QChar(char16_t(code));
            at = end;
        } else if (value[at] == u'\'') {
            for (++at;; ++at) {
                if (at >= value.size()) return std::nullopt;  // no closing quote
                if (value[at] != u'\'') {
                    text += value[at];
                } else if (at + 1 < value.size() && value[at + 1] == u'\'') {
                    text += u'\'';
                    ++at;
                } else {
                    break;
                }
            }
            ++at;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

template <typename Field>
QString valueText(const Field &field) {
    if constexpr (std::is_same_v<Field, bool>)
        return field ? QStringLiteral("True") : QStringLiteral("False");
    else if constexpr (std::is_same_v<Field, QString>)
        return quoted(field);
    else if constexpr (std::is_same_v<Field, ViewStyleField>)
        return kViewStyles.at(static_cast<size_t>(std::clamp(field.style, 0, 3)));
    else
        return QString::number(field);
}

template <typename Field>
bool readValue(const QString &value, Field &&field) {
    using Type = std::remove_cvref_t<Field>;
    bool ok = true;
    if constexpr (std::is_same_v<Type, bool>) {
        ok = value.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 ||
             value.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0;
        field = value.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0;
    } else if constexpr (std::is_same_v<Type, QString>) {
        const std::optional<QString> text = unquoted(value);
        ok = text.has_value();
        if (ok) field = *text;
    } else if constexpr (std::is_same_v<Type, ViewStyleField>) {
        const auto found = std::find(kViewStyles.begin(), kViewStyles.end(), value);
        ok = found != kViewStyles.end();
        if (ok) field.style = static_cast<int>(found - kViewStyles.begin());
    } else if constexpr (std::is_same_v<Type, uint32_t>) {
        field = value.toUInt(&ok);
    } else {
        field = value.toInt(&ok);
    }
    return ok;
}

// The values by name; lines ending with "+" go on in the next line.
std::optional<std::map<QString, QString>> valuesByName(const QStringList &lines) {
    if (lines.size() < 2 || lines.first().trimmed() != kHeader || lines.last().trimmed() != kEnd) return std::nullopt;
    std::map<QString, QString> values;
    QString *continued = nullptr;
    for (const QString &line : lines.mid(1, lines.size() - 2)) {
        QString piece = line.trimmed();
        const bool goesOn = piece.endsWith(u'+');
        if (goesOn) piece = piece.chopped(1).trimmed();
        if (continued) {
            *continued += piece;
        } else {
            const qsizetype assign = piece.indexOf(u'=');
            if (assign <= 0) return std::nullopt;
            continued = &(values[piece.left(assign).trimmed()] = piece.mid(assign + 1).trimmed());
        }
        if (!goesOn) continued = nullptr;
    }
    return values;
}

}  // namespace

QStringList optionsText(const ProgramOptions &options) {
    QStringList lines{kHeader};
    ProgramOptions copy = options;
    visitOptionFields(copy, [&lines](const char *name, const auto &field) {
        lines << QStringLiteral("  ") + QLatin1String(name) + kAssign + valueText(field);
    });
    lines << kEnd;
    return lines;
}

std::optional<ProgramOptions> readOptionsText(const QStringList &lines) {
    const auto values = valuesByName(lines);
    if (!values) return std::nullopt;
    ProgramOptions options;
    bool readable = true;
    visitOptionFields(options, [&](const char *name, auto &&field) {
        const auto found = values->find(QLatin1String(name));
        if (found != values->end() && !readValue(found->second, field)) readable = false;
    });
    if (!readable) return std::nullopt;
    return options;
}
