#include <gtest/gtest.h>

#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"

// Storing a page through the engine records the links its scanner finds,
// resolved against the page's BASE when it declares one.
TEST(PageLinks, StoringAPageRecordsItsLinks) {
    eng::CommandTable table = eng::defaultCommandTable();
    table.set(eng::msg::kGetStatistics, {[](eng::DispatchContext &c) {
                  const std::string page =
                      "<base href=\"http://mirror.example/\"><a href=a.html>"
                      "<img src=/i.gif><a href=\"mailto:x@y\">";
                  c.engine.tables().res.storeFetched(eng::MemoryBytes(std::vector<uint8_t>(page.begin(), page.end())),
                                                     "text/html", "http://h/p.html");
                  return intptr_t{0};
              }});
    test::OpenProject project(table);
    ASSERT_EQ(project.openResult(), 0);
    Eng_GetStatistics(nullptr, nullptr);
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT group_concat(Relation || ' ' || String, ', ') FROM "
                              "(SELECT Relation, String FROM Rel JOIN Strings ON StrId = UrlId "
                              "ORDER BY Rel.rowid)"),
              "0 http://mirror.example/a.html, 1 http://mirror.example/i.gif");
}
