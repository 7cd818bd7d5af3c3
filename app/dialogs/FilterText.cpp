#include "FilterText.h"

#include <QList>

namespace {

constexpr char kEntryEnd = '\xFF';

}  // namespace

std::vector<FilterEntry> parseFilter(const QByteArray &text) {
    std::vector<FilterEntry> entries;
    for (const QByteArray &entry : text.split(kEntryEnd)) {
        const QList<QByteArray> fields = entry.split(';');
        if (fields.size() < 4) break;
        // The expression may hold ';' itself: it is everything after the third.
        const qsizetype expressionStart = fields[0].size() + fields[1].size() + fields[2].size() + 3;
        entries.push_back({fields[0].toUInt(), fields[1].toUInt(), fields[2].toUInt(),
                           QString::fromUtf8(entry.mid(expressionStart))});
    }
    return entries;
}

QByteArray composeFilter(const std::vector<FilterEntry> &entries) {
    QByteArray text;
    for (const FilterEntry &entry : entries)
        text += QByteArray::number(entry.mask) + ';' + QByteArray::number(entry.minSize) + ';' +
                QByteArray::number(entry.maxSize) + ';' + entry.expression.toUtf8() + kEntryEnd;
    return text;
}

bool coversLinks(const std::vector<FilterEntry> &entries) {
    for (const FilterEntry &entry : entries)
        if (entry.mask & filter_masks::kLinks) return true;
    return false;
}
