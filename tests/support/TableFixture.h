#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/ProjectTables.h"
#include "support/TempDir.h"

namespace test {

// A new project in a temporary folder, filled by the given SQL, opened
// directly with all its table objects (no engine thread).
struct TableFixture {
    explicit TableFixture(const std::string &setupSql = "");

    TempDir dir;
    std::string path;
    std::unique_ptr<eng::Database> db;
    std::unique_ptr<eng::ProjectTables> tables;

    int64_t scalar(const std::string &sql);

    // The URL resource table's events, as (event, new state, old state); 0 for no row.
    struct Event {
        eng::CAdvUrlResTable::Event event;
        uint32_t now;
        uint32_t before;
    };
    std::vector<Event> events;
};

}  // namespace test
