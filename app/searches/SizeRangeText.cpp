#include "SizeRangeText.h"

#include <limits>

namespace {

constexpr int32_t kAnySize = std::numeric_limits<int32_t>::max();

std::optional<int32_t> sizeOf(const QString &text) {
    const QString digits = text.trimmed();
    bool ok = false;
    const uint value = digits.toUInt(&ok);
    // Digits only: toUInt takes a leading "+" as well.
    if (!ok || digits.front() == u'+' || value > uint(kAnySize)) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace

std::optional<SizeRange> readSizeRange(const QString &text) {
    if (text.trimmed().isEmpty()) return SizeRange{0, kAnySize};
    const qsizetype dash = text.indexOf(u'-');
    const std::optional<int32_t> min = dash < 0 ? 0 : sizeOf(text.left(dash));
    const std::optional<int32_t> max = sizeOf(text.mid(dash + 1));
    if (!min || !max || *min > *max) return std::nullopt;
    return SizeRange{*min, *max};
}

QString sizeRangeText(SizeRange range) {
    if (range.min == 0 && range.max == kAnySize) return {};
    if (range.min == 0) return QString::number(range.max);
    return QStringLiteral("%1-%2").arg(range.min).arg(range.max);
}
