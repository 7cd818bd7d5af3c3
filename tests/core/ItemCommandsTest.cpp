#include <gtest/gtest.h>

#include <cstring>

#include "client/RecordRelease.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"

namespace {

struct Pair {
    EngItemRecord item;
    uint32_t resource;
    std::string url;
};

std::vector<Pair> pairs(void *addr, uint32_t len) {
    const size_t size = sizeof(EngItemRecord) + sizeof(EngUrlResRecord);
    EXPECT_EQ(len % size, 0u);
    std::vector<Pair> out;
    for (size_t off = 0; off + size <= len; off += size) {
        Pair p;
        std::memcpy(&p.item, static_cast<char *>(addr) + off, sizeof p.item);
        EngUrlResRecord r;
        std::memcpy(&r, static_cast<char *>(addr) + off + sizeof p.item, sizeof r);
        p.resource = r.id;
        p.url = r.url;
        eng::releaseRecordStrings(r, Eng_FreeMem);
        out.push_back(p);
    }
    Eng_FreeMem(addr);
    return out;
}

template <class Call>
std::vector<Pair> call(Call c) {
    void *addr = nullptr;
    uint32_t len = 0;
    c(&addr, &len);
    return pairs(addr, len);
}

// Task 1 holds a page (item 1, its main item), an image (item 2) and a page
// not fetched yet (item 3). The page links to the image (kind 1), to itself
// twice (kind 0) and to a page never fetched (kind 0).
void fill(const std::string &path) {
    test::executeSql(path, R"(
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES
          (1, 1, 3, 'http://h/'), (2, 1, 2, 'http://h/logo.gif'), (3, 1, 2, 'http://h/later.html');
        INSERT INTO Tasks (TaskId, UrlId, MainItemId, State) VALUES (1, 1, 1, 2);
        INSERT INTO Res (ResId, Size, Hash, Type, ContentType, RefCount) VALUES (1, 10, 1, 1, 'text/html', 1);
        INSERT INTO UrlRes (UrlResId, UrlId, ResId, State, Url, DoneTime, RefCount) VALUES
          (1, 1, 1, 2, 'http://h/', 45000, 1), (2, 2, 0, 2, 'http://h/logo.gif', 45000, 1);
        INSERT INTO Items (ItemId, TaskId, UrlId, UrlResId, Level) VALUES (1, 1, 1, 1, 0), (2, 1, 2, 2, 0),
          (3, 1, 3, 0, 1);
        INSERT INTO Rel (ResId, UrlId, PostId, Relation) VALUES (1, 2, 0, 1), (1, 1, 0, 0), (1, 1, 0, 0),
          (1, 3, 0, 0);
    )");
}

}  // namespace

TEST(ItemCommands, TaskItemsLeaveOutItemsWithoutAResource) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    auto items = call([](void **a, uint32_t *l) { Eng_GetTaskItems(1, a, l); });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].item.item, 1u);
    EXPECT_EQ(items[0].url, "http://h/");
    EXPECT_EQ(items[1].resource, 2u);
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_GetTaskItems(9, a, l); }).empty());

    auto main = call([](void **a, uint32_t *l) { Eng_FindTaskItem(1, 0, a, l); });
    ASSERT_EQ(main.size(), 1u);
    EXPECT_EQ(main[0].item.item, 1u);
    EXPECT_EQ(call([](void **a, uint32_t *l) { Eng_FindTaskItem(1, 2, a, l); }).at(0).resource, 2u);
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_FindTaskItem(1, 3, a, l); }).empty());
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_FindTaskItem(7, 0, a, l); }).empty());
}

TEST(ItemCommands, RelatedResourcesByGroup) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    auto embedded = call([](void **a, uint32_t *l) { Eng_GetRelItems(1, 1, a, l); });
    ASSERT_EQ(embedded.size(), 1u);
    EXPECT_EQ(embedded[0].resource, 2u);
    EXPECT_EQ(embedded[0].item.task, 0u);

    auto out = call([](void **a, uint32_t *l) { Eng_GetRelItems(1, 2, a, l); });
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2].resource, 0u);  // never fetched: the address alone
    EXPECT_EQ(out[2].url, "http://h/later.html");

    auto linking = call([](void **a, uint32_t *l) { Eng_GetRelItems(1, 3, a, l); });
    EXPECT_EQ(linking.size(), 2u);  // the page links to itself twice
    EXPECT_EQ(call([](void **a, uint32_t *l) { Eng_GetRelItems(2, 3, a, l); }).size(), 1u);
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_GetRelItems(1, 0, a, l); }).empty());
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_GetRelItems(1, 4, a, l); }).empty());
    EXPECT_TRUE(call([](void **a, uint32_t *l) { Eng_GetRelItems(99, 1, a, l); }).empty());
}
