#include "CommonNamePart.h"

QString commonNamePart(const QString &first, const QString &second) {
    const bool firstShorter = first.size() < second.size();
    const QString &shorter = firstShorter ? first : second;
    const QString &other = firstShorter ? second : first;
    for (qsizetype length = shorter.size(); length > 0; --length)
        for (qsizetype start = 0; start < shorter.size(); ++start)
            if (const QString part = shorter.mid(start, length); other.contains(part)) return part;
    return {};
}
