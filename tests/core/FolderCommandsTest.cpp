#include <gtest/gtest.h>

#include <vector>

#include "client/RecordBuffer.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"

namespace {

struct Folder {
    uint32_t id, parent, subfolders;
    std::string name;
};

// Takes a folder-record buffer apart and releases it.
std::vector<Folder> folders(eng::client::EngineBuffer buffer) {
    const eng::client::RecordBuffer<EngFolderRecord> records(std::move(buffer));
    EXPECT_TRUE(records.whole());
    std::vector<Folder> out;
    for (const EngFolderRecord &r : records)
        out.push_back({r.folder, r.parent, r.subfolders, eng::client::text(r.name)});
    return out;
}

std::vector<Folder> subFolders(uint32_t parent) {
    return folders(eng::client::receive(Eng_FreeMem, Eng_GetSubFolders, parent));
}

std::vector<Folder> folder(uint32_t id) {
    void *addr = reinterpret_cast<void *>(1);
    uint32_t len = 99;
    Eng_GetFolder(id, &addr, &len);
    if (len == 0) {
        EXPECT_EQ(addr, nullptr);
    }
    return folders(eng::client::EngineBuffer(addr, len, Eng_FreeMem));
}

}  // namespace

TEST(Folders, CreateListRenameDelete) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    const int32_t news = Eng_CreateFolder(1, "News");
    const int32_t blogs = Eng_CreateFolder(1, "Blogs");
    const int32_t daily = Eng_CreateFolder(news, "Daily");
    EXPECT_GT(news, 1);
    EXPECT_GT(daily, blogs);

    auto root = subFolders(0);
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(root[0].id, 1u);
    EXPECT_EQ(root[0].parent, 0u);
    EXPECT_EQ(root[0].subfolders, 2u);
    EXPECT_EQ(root[0].name, "Root");
    auto top = subFolders(1);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].name, "News");
    EXPECT_EQ(top[0].subfolders, 1u);
    EXPECT_EQ(top[1].subfolders, 0u);

    EXPECT_EQ(Eng_RenameFolder(blogs, std::string(60, 'n').c_str()), 1);
    EXPECT_EQ(folder(blogs).at(0).name, std::string(50, 'n'));
    EXPECT_EQ(Eng_RenameFolder(9999, "x"), 0);
    EXPECT_TRUE(folder(9999).empty());

    EXPECT_EQ(Eng_DeleteFolder(news), 1);
    EXPECT_EQ(Eng_DeleteFolder(news), 0);
    // The deleted folder's subfolder stays, unreachable from the tree.
    EXPECT_EQ(folder(daily).at(0).parent, static_cast<uint32_t>(news));
    EXPECT_EQ(subFolders(1).size(), 1u);
}

TEST(Folders, TheRootStaysAndMovesNeverMakeALoop) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    const int32_t a = Eng_CreateFolder(1, "a");
    const int32_t b = Eng_CreateFolder(a, "b");
    const int32_t c = Eng_CreateFolder(b, "c");
    const int32_t other = Eng_CreateFolder(1, "other");

    EXPECT_EQ(Eng_DeleteFolder(1), 0);
    EXPECT_EQ(Eng_MoveFolder(1, a), 0);
    EXPECT_EQ(Eng_MoveFolder(a, a), 0);  // under itself
    EXPECT_EQ(Eng_MoveFolder(a, c), 0);  // under its own grandchild
    EXPECT_EQ(Eng_MoveFolder(9999, 1), 0);
    EXPECT_EQ(folder(a).at(0).parent, 1u);

    EXPECT_EQ(Eng_MoveFolder(b, other), 1);
    EXPECT_EQ(folder(b).at(0).parent, static_cast<uint32_t>(other));
    EXPECT_EQ(Eng_MoveFolder(a, c), 1);  // c is no longer below a
    EXPECT_EQ(subFolders(c).at(0).id, static_cast<uint32_t>(a));
    // A parent that does not exist is accepted, as the application asks.
    EXPECT_EQ(Eng_MoveFolder(other, 5000), 1);
}

TEST(Folders, EmptyNamesAndAListOfNothing) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    const int32_t unnamed = Eng_CreateFolder(1, "");
    EXPECT_GT(unnamed, 0);
    EXPECT_EQ(folder(unnamed).at(0).name, "");
    void *addr = reinterpret_cast<void *>(1);
    uint32_t len = 7;
    Eng_GetSubFolders(unnamed, &addr, &len);
    EXPECT_EQ(addr, nullptr);
    EXPECT_EQ(len, 0u);
}
