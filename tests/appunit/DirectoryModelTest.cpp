#include "items/DirectoryModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "ItemModelTesting.h"
#include "views/TaskRow.h"

namespace {

class DirectoryModelTest : public ::testing::Test {
protected:
    DirectoryModelTest() { ensureOffscreenApplication(); }
    // From now on every change is checked against the model contract. The
    // tester opens every folder at once, and it is not to be there at a
    // reset: it fetches while the reset is still announced.
    void watch() {
        tester_ =
            std::make_unique<QAbstractItemModelTester>(&model_, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    // The node below the parent with the text, its children made.
    QModelIndex open(const QString &text, const QModelIndex &parent = {}) {
        for (int row = 0; row < model_.rowCount(parent); ++row) {
            const QModelIndex at = model_.index(row, 0, parent);
            if (at.data().toString() != text) continue;
            if (model_.canFetchMore(at)) model_.fetchMore(at);
            return at;
        }
        ADD_FAILURE() << "no node " << text.toStdString();
        return {};
    }
    QStringList texts(const QModelIndex &parent) const {
        QStringList shown;
        for (int row = 0; row < model_.rowCount(parent); ++row) shown << model_.index(row, 0, parent).data().toString();
        return shown;
    }

    DirectoryModel model_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(DirectoryModelTest, AFolderShowsItsChildrenOnlyOnceFetchedAndEachFileGivesItsAddressBack) {
    model_.reset({storedFile(1, "http://h/b/2.html"), storedFile(2, "http://h/"), storedFile(3, "http://h/a.html")});
    EXPECT_EQ(texts({}), QStringList{"http:/"});
    const QModelIndex scheme = model_.index(0, 0);
    EXPECT_TRUE(model_.hasChildren(scheme));
    EXPECT_EQ(model_.rowCount(scheme), 0);
    QSignalSpy inserted(&model_, &QAbstractItemModel::rowsInserted);
    model_.fetchMore(scheme);
    EXPECT_EQ(inserted.count(), 1);
    watch();
    const QModelIndex host = open("h", scheme);
    EXPECT_EQ(texts(host), (QStringList{"b", "(Default page)", "a.html"}));
    EXPECT_EQ(model_.file(host), nullptr);
    const QModelIndex page = model_.index(1, 0, host);
    ASSERT_NE(model_.file(page), nullptr);
    EXPECT_EQ(model_.file(page)->resource, 2u);
    EXPECT_EQ(model_.address(page), "http://h/");
    EXPECT_EQ(model_.parent(page), host);
}

TEST_F(DirectoryModelTest, AnArrivingFileIsInsertedWhereItsFolderIsShownAndAChangeRedrawsIt) {
    model_.reset({storedFile(1, "http://h/b.html")});
    watch();
    const QModelIndex host = open("h", open("http:/"));
    QSignalSpy inserted(&model_, &QAbstractItemModel::rowsInserted);
    model_.add(storedFile(2, "http://h/a.html", TaskRow::Queued));
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.front().at(0).value<QModelIndex>(), host);
    EXPECT_EQ(inserted.front().at(1).toInt(), 0);
    EXPECT_EQ(texts(host), (QStringList{"a.html", "b.html"}));
    EXPECT_EQ(model_.fileCount(), 2u);

    QSignalSpy changed(&model_, &QAbstractItemModel::dataChanged);
    model_.add(storedFile(2, "http://h/a.html", TaskRow::Ok));  // known already: a change
    EXPECT_EQ(model_.fileCount(), 2u);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().at(0).value<QModelIndex>(), model_.index(0, 0, host));
    EXPECT_EQ(model_.file(model_.index(0, 0, host))->state, TaskRow::Ok);

    // The tester would open the new folder while its insertion is still being announced.
    tester_.reset();
    model_.add(storedFile(3, "http://h/deep/c.html"));  // a new folder, closed
    EXPECT_EQ(texts(host), (QStringList{"deep", "a.html", "b.html"}));
    EXPECT_EQ(texts(open("deep", host)), QStringList{"c.html"});
}

TEST_F(DirectoryModelTest, ARemovedFileLeavesTheTreeWithTheFoldersItEmptied) {
    model_.reset({storedFile(1, "http://h/a/1.html"), storedFile(2, "http://h/b.html")});
    const QModelIndex host = open("h", open("http:/"));
    open("a", host);
    watch();
    QSignalSpy removed(&model_, &QAbstractItemModel::rowsRemoved);
    model_.remove(1);
    EXPECT_EQ(removed.count(), 2);  // the file, then its folder
    EXPECT_EQ(texts(host), QStringList{"b.html"});
    EXPECT_EQ(model_.fileCount(), 1u);
    model_.remove(1);
    EXPECT_EQ(removed.count(), 2);
    EXPECT_FALSE(model_.find("http://h/a/1.html", "").isValid());
}

TEST_F(DirectoryModelTest, FindingAFileOpensTheFoldersOnItsWayAndTellsFilesApartByFormData) {
    ItemRow posted = storedFile(3, "http://h/x/form.cgi");
    posted.formData = "a=1";
    model_.reset({storedFile(1, "http://h/x/form.cgi"), posted, storedFile(2, "http://h/y.html")});
    watch();
    const QModelIndex found = model_.find("http://h/x/form.cgi", "a=1");
    ASSERT_TRUE(found.isValid());
    EXPECT_EQ(model_.file(found)->resource, 3u);
    EXPECT_EQ(model_.file(model_.find("http://H/x/form.cgi", ""))->resource, 1u);
    EXPECT_FALSE(model_.find("http://h/x/form.cgi", "b=2").isValid());
    EXPECT_FALSE(model_.find("http://h/z.html", "").isValid());
    EXPECT_FALSE(model_.find("http://h/x", "").isValid());
}

}  // namespace
