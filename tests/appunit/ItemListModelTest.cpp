#include "items/ItemListModel.h"

#include <gtest/gtest.h>

#include "views/TaskRow.h"

namespace {

ItemRow file(uint32_t resource, const QString &title, uint32_t size, int32_t type = ItemRow::Html,
             uint32_t state = TaskRow::Ok, uint32_t task = 4) {
    ItemRow row;
    row.item = resource + 100;
    row.task = task;
    row.resource = resource;
    row.title = title;
    row.address = QStringLiteral("http://site/") + title;
    row.size = size;
    row.type = type;
    row.state = state;
    row.result = QStringLiteral("Ok.");
    return row;
}

std::vector<uint32_t> resources(const ItemListModel &model) {
    std::vector<uint32_t> keys;
    for (int k = 0; k < model.size(); ++k) keys.push_back(model.row(k).resource);
    return keys;
}

ItemChange change(uint8_t action, const ItemRow &row) { return {action, row.resource, row.item, row.task, row}; }

}  // namespace

TEST(ItemListModelTest, SortsByEachKeyAndFlipsOnTheSameKeyAgain) {
    ItemListModel model;
    model.append({file(1, QStringLiteral("beta"), 30), file(2, QStringLiteral("Alpha"), 10),
                  file(3, QStringLiteral("gamma"), 20)});
    model.sortBy(ItemListModel::Title);  // texts compare without case
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{2, 1, 3}));
    model.sortBy(ItemListModel::Title);
    EXPECT_EQ(model.sortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{3, 1, 2}));
    model.sortBy(ItemListModel::Size);  // another key starts ascending
    EXPECT_EQ(model.sortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{2, 3, 1}));
    // Rows are still found by their resource after sorting.
    EXPECT_EQ(model.indexOf(1), 2);
    EXPECT_EQ(model.indexOf(9), -1);
}

TEST(ItemListModelTest, SortsByStateAndFileTypeBeyondTheColumns) {
    ItemListModel model;
    model.append({file(1, QStringLiteral("a"), 1, ItemRow::Other, TaskRow::Failed),
                  file(2, QStringLiteral("b"), 1, ItemRow::Gif, TaskRow::Queued),
                  file(3, QStringLiteral("c"), 1, ItemRow::Html, TaskRow::Ok)});
    model.sortBy(ItemListModel::StateKey);
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{2, 3, 1}));
    model.sortBy(ItemListModel::IconKey);  // type 0 counts as 5
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{3, 2, 1}));
    EXPECT_EQ(ItemListModel::keyCaption(ItemListModel::IconKey), "File type");
    EXPECT_EQ(model.headerData(ItemListModel::ErrorDescription, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Error Description");
}

TEST(ItemListModelTest, TheTypeFilterDecidesWhatALoadAndAnAdditionTake) {
    ItemListModel model;
    model.setTask(4);
    model.setTypeMask(1 | 16);  // HTML and text
    model.append({file(1, QStringLiteral("page"), 5), file(2, QStringLiteral("picture"), 7, ItemRow::Jpeg),
                  file(3, QStringLiteral("notes"), 9, ItemRow::Text)});
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(model.totalSize(), 14u);
    EXPECT_FALSE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(4, QStringLiteral("x"), 1, ItemRow::Gif))));
    EXPECT_FALSE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(5, QStringLiteral("y"), 1, 1, 6, 8))));
    EXPECT_TRUE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(6, QStringLiteral("z"), 100))));
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{1, 3, 6}));
    EXPECT_EQ(model.totalSize(), 114u);
}

TEST(ItemListModelTest, AListWithoutTaskTakesNoNewFiles) {
    ItemListModel model;
    EXPECT_FALSE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(1, QStringLiteral("a"), 1))));
    EXPECT_EQ(model.size(), 0);
}

TEST(ItemListModelTest, AChangeBetweenQueuedAndStoppedChangesOnlyTheState) {
    ItemListModel model;
    model.setTask(4);
    model.append({file(1, QStringLiteral("page"), 5, ItemRow::Html, TaskRow::Queued)});
    ItemRow stopped = file(1, QStringLiteral("other title"), 99, ItemRow::Html, TaskRow::Stopped);
    EXPECT_TRUE(model.follow(change(ENG_URLRES_CHANGED, stopped)));
    EXPECT_EQ(model.row(0).state, TaskRow::Stopped);
    EXPECT_EQ(model.row(0).title, "page");
    EXPECT_EQ(model.totalSize(), 5u);
    // Any other change takes the whole row.
    ItemRow done = file(1, QStringLiteral("done"), 50, ItemRow::Html, TaskRow::Ok);
    EXPECT_TRUE(model.follow(change(ENG_URLRES_CHANGED, done)));
    EXPECT_EQ(model.row(0).title, "done");
    EXPECT_EQ(model.totalSize(), 50u);
    // A file announced again is updated, not shown twice.
    EXPECT_TRUE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(1, QStringLiteral("again"), 50))));
    EXPECT_EQ(model.size(), 1);
    EXPECT_EQ(model.row(0).title, "again");
    EXPECT_FALSE(model.follow(change(ENG_URLRES_CHANGED, file(2, QStringLiteral("unknown"), 1))));
}

TEST(ItemListModelTest, RemovingAResourceRemovesEachOfItsRowsAndKeepsTheOthersFound) {
    ItemListModel model;
    // Search results may show one resource under two tasks.
    ItemRow underAnotherTask = file(1, QStringLiteral("a"), 1, ItemRow::Html, TaskRow::Ok, 7);
    underAnotherTask.item = 900;
    model.append({file(1, QStringLiteral("a"), 1), file(2, QStringLiteral("b"), 2), underAnotherTask,
                  file(3, QStringLiteral("c"), 3)});
    EXPECT_EQ(model.size(), 4);
    EXPECT_TRUE(model.follow(change(ENG_URLRES_DELETING, file(1, QStringLiteral("a"), 1))));
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(model.indexOf(3), 1);
    EXPECT_EQ(model.totalSize(), 5u);
    EXPECT_FALSE(model.itemRemoved(1));
}

TEST(ItemListModelTest, AFileAnnouncedDuringALoadIsNotShownTwice) {
    ItemListModel model;
    model.setTask(4);
    EXPECT_TRUE(model.follow(change(ENG_URLRES_ITEM_GOT_RESOURCE, file(2, QStringLiteral("b"), 2))));
    model.append({file(1, QStringLiteral("a"), 1), file(2, QStringLiteral("b"), 2)});
    EXPECT_EQ(resources(model), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(model.totalSize(), 3u);
}

TEST(ItemListModelTest, ARowWithoutResourceShowsNotAvailable) {
    ItemListModel model;
    ItemRow bare;
    bare.title = QStringLiteral("ignored");
    model.append({bare});
    for (int column : {ItemListModel::Title, ItemListModel::ContentType, ItemListModel::Modified,
                       ItemListModel::Retrieved, ItemListModel::ErrorDescription})
        EXPECT_EQ(model.data(model.index(0, column), Qt::DisplayRole).toString(), "n/a") << column;
}
