#pragma once

#include <optional>

#include "base/DateTime.h"
#include "store/Database.h"

namespace eng {

struct ProjectRow {
    uint32_t noteId = 0;
    uint32_t usrData = 0;
    Date onlineTime = 0;
    uint32_t prjFilterId = 0;
    uint32_t version = 0;
    uint32_t optionsFlags = 0;
};

// Table Project: its single row holds the project's stored properties.
class CProjectTable {
public:
    explicit CProjectTable(Database &db);
    // The single row; none in a file that lost it.
    std::optional<ProjectRow> load();
    void save(const ProjectRow &row);
    void add(const ProjectRow &row);

private:
    void bindRow(Statement &s, const ProjectRow &row);

    Statement select_;
    Statement update_;
    Statement insert_;
};

}  // namespace eng
