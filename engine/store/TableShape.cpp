#include "store/TableShape.h"

#include <algorithm>
#include <cctype>

namespace eng {

namespace {

bool valueFits(const TableShape::Column &column, const RecordValue &value) {
    using Kind = RecordValue::Kind;
    if (column.rowKey) return value.kind == Kind::Null;
    switch (column.affinity) {
        case TableShape::Affinity::Integer:
        case TableShape::Affinity::Real:
            // A numeric column stores text only when it does not read as a
            // number; the project's columns never get such text.
            return value.kind == Kind::Null || value.kind == Kind::Integer || value.kind == Kind::Real;
        case TableShape::Affinity::Text:
            return value.kind != Kind::Integer && value.kind != Kind::Real;
        case TableShape::Affinity::Blob:
            return true;
    }
    return false;
}

}  // namespace

TableShape::Affinity TableShape::affinityOf(const std::string &declaredType) {
    std::string type = declaredType;
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::toupper(c); });
    const auto has = [&](const char *word) { return type.find(word) != std::string::npos; };
    if (has("INT")) return Affinity::Integer;
    if (has("CHAR") || has("CLOB") || has("TEXT")) return Affinity::Text;
    if (has("BLOB") || type.empty()) return Affinity::Blob;
    return Affinity::Real;  // REAL, FLOA, DOUB and every other name are numeric
}

bool TableShape::fits(const std::vector<RecordValue> &values) const {
    if (values.size() != columns.size()) return false;
    for (size_t i = 0; i < values.size(); ++i)
        if (!valueFits(columns[i], values[i])) return false;
    return true;
}

}  // namespace eng
