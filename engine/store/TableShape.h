#pragma once

#include <string>
#include <vector>

#include "store/RecordValues.h"

namespace eng {

// The columns of a table as a row read from a damaged file must match them:
// the same number of columns, each holding what its declared type lets
// SQLite store there. A record that does not match is damage, not a row.
struct TableShape {
    // How a column's declared type lets values be stored.
    enum class Affinity { Integer, Real, Text, Blob };

    struct Column {
        std::string name;
        Affinity affinity = Affinity::Blob;
        bool rowKey = false;  // the INTEGER PRIMARY KEY: stored as null, the row's key is its value
    };

    std::string table;
    std::vector<Column> columns;

    // The affinity SQLite gives a declared column type.
    static Affinity affinityOf(const std::string &declaredType);

    bool fits(const std::vector<RecordValue> &values) const;
};

}  // namespace eng
