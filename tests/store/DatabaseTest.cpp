#include "store/Database.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/ProjectVersion.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"

TEST(Database, NestedLevelsRollBackOnTheirOwn) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    test::executeSql(path, "CREATE TABLE T(v INTEGER)");
    {
        eng::Database db(path);
        eng::checkProjectVersion(db);
        db.takeExclusiveLock();
        eng::Transaction outer(db);
        db.execute("INSERT INTO T VALUES(1)");
        {
            eng::Transaction inner(db);
            db.execute("INSERT INTO T VALUES(2)");
            EXPECT_EQ(db.transactionDepth(), 2);
        }  // not committed: only the inner row goes
        {
            eng::Transaction inner(db);
            db.execute("INSERT INTO T VALUES(3)");
            inner.commit();
        }
        outer.commit();
        EXPECT_EQ(db.transactionDepth(), 0);
        eng::Transaction dropped(db);
        db.execute("INSERT INTO T VALUES(4)");
    }
    EXPECT_EQ(test::queryInteger(path, "SELECT group_concat(v) = '1,3' FROM T"), 1);
}

TEST(Database, SecondOpenerOfAnOpenProjectFailsAtOnce) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    eng::Database first(path);
    eng::checkProjectVersion(first);
    first.takeExclusiveLock();
    EXPECT_THROW(
        {
            eng::Database second(path);
            eng::checkProjectVersion(second);
        },
        std::exception);
}

TEST(Database, CommittedWorkSurvivesWithoutAClose) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    test::executeSql(path, "CREATE TABLE T(v INTEGER)");
    // A child process commits and dies without closing anything.
    const pid_t child = fork();
    if (child == 0) {
        eng::Database db(path);
        db.takeExclusiveLock();
        eng::Transaction t(db);
        db.execute("INSERT INTO T VALUES(7)");
        t.commit();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(test::queryInteger(path, "SELECT v FROM T"), 7);
}

TEST(Database, RunTimeTablesOfAnInterruptedSearchAreDroppedAtOpen) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    test::executeSql(path,
                     "CREATE TABLE tmp_Title_Idx (ResId INTEGER); CREATE TABLE tmp_UrlresID (UrlResId INTEGER);"
                     "CREATE TABLE tmp_0badf00d (ResId INTEGER); CREATE TABLE TMP_Keep (x); CREATE TABLE tmpKeep (x);");
    eng::Database db(path);
    db.dropRuntimeTables();
    eng::Statement names = db.prepare(
        "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE "
        "type = 'table' AND name LIKE 'tmp%' ORDER BY name)");
    ASSERT_TRUE(names.step());
    EXPECT_EQ(names.text(0), "TMP_Keep,tmpKeep");
}

TEST(Database, OlderSqliteCountsAsNoDatabaseEngine) {
    EXPECT_FALSE(eng::databaseEngineInstalled(3034001));
    EXPECT_TRUE(eng::databaseEngineInstalled(eng::kMinimumSqliteVersion));
    EXPECT_TRUE(eng::databaseEngineInstalled());
}
