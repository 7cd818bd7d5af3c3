#pragma once

#include <QString>

// Comparisons of the sort keys of the lists: below 0, 0 or above 0 as the
// first value sorts before, with or after the second.
namespace sort_order {

// Texts compare without regard to case.
inline int compareTexts(const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive); }

template <class Value>
int compareValues(Value a, Value b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace sort_order
