#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "store/Database.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"

// A process killed in the middle of a write transaction loses nothing that
// it had committed, and leaves a file that opens.
TEST(Crash, KillDuringAWriteKeepsCommittedWork) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        eng::Database db(path);
        db.takeExclusiveLock();
        for (int i = 0; i < 50; ++i) {
            eng::Transaction t(db);
            db.execute("INSERT INTO Folders (ParentId, Name) VALUES (1, 'committed')");
            t.commit();
        }
        db.begin();
        for (int i = 0;; ++i) {
            db.execute("INSERT INTO Folders (ParentId, Name) VALUES (1, 'uncommitted " + std::to_string(i) + "')");
            if (i == 1000) (void)!write(ready[1], "x", 1);
        }
    }
    close(ready[1]);
    char signal;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    eng::Database db(path);
    db.takeExclusiveLock();
    eng::Statement count = db.prepare("SELECT count(*), sum(Name = 'committed') FROM Folders WHERE FolderId > 1");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 50);
    EXPECT_EQ(count.integer(1), 50);
    eng::Statement check = db.prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");
}
