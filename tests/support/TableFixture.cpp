#include "support/TableFixture.h"

#include "support/ProjectFiles.h"

namespace test {

TableFixture::TableFixture(const std::string &setupSql) : path(dir.file("p.slk")) {
    writeProjectFile(path);
    if (!setupSql.empty()) executeSql(path, setupSql);
    db = std::make_unique<eng::Database>(path);
    db->takeExclusiveLock();
    tables = std::make_unique<eng::ProjectTables>(
        *db, [this](eng::CAdvUrlResTable::Event event, const eng::UrlResRow *now, const eng::UrlResRow *before) {
            events.push_back({event, now ? now->state : 0, before ? before->state : 0});
        });
}

int64_t TableFixture::scalar(const std::string &sql) {
    eng::Statement s = db->prepare(sql);
    s.step();
    return s.integer(0);
}

}  // namespace test
