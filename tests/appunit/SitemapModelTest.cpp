#include "items/SitemapModel.h"

#include <gtest/gtest.h>

#include <map>

#include <QAbstractItemModelTester>

#include "ItemModelTesting.h"
#include "views/TaskRow.h"

namespace {

// A site in memory: what each resource embeds and links to, and how often it was asked.
class SitemapModelTest : public ::testing::Test {
protected:
    SitemapModelTest() { ensureOffscreenApplication(); }

    SitemapModel &model() {
        if (!model_) {
            model_ = std::make_unique<SitemapModel>([this](uint32_t resource) {
                ++asked_[resource];
                return links_[resource];
            });
        }
        return *model_;
    }
    // From now on every change is checked against the model contract. The
    // tester opens every node it can at once, and it is not to be there at a
    // reset: it fetches while the reset is still announced.
    void watch() {
        tester_ = std::make_unique<QAbstractItemModelTester>(model_.get(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    QString text(const QModelIndex &index) const { return index.data().toString(); }
    int picture(const QModelIndex &index) const { return index.data(SitemapModel::kStatePictureRole).toInt(); }
    QModelIndex opened(const QModelIndex &index) {
        EXPECT_TRUE(model().canFetchMore(index));
        model().fetchMore(index);
        return index;
    }

    std::map<uint32_t, std::vector<ItemRow>> links_;
    std::map<uint32_t, int> asked_;
    std::unique_ptr<SitemapModel> model_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(SitemapModelTest, ANodeIsItsTitleAndAddressOrItsAddressAloneCutAt200Characters) {
    EXPECT_EQ(SitemapModel::caption(storedFile(1, "http://h/", TaskRow::Ok, 1, "Home")), "Home, (http://h/)");
    EXPECT_EQ(SitemapModel::caption(storedFile(1, "http://h/")), "http://h/");
    const QString longTitle(190, u't');
    const QString cut = SitemapModel::caption(storedFile(1, "http://h/a.html", TaskRow::Ok, 1, longTitle));
    EXPECT_EQ(cut, longTitle + ", (http://...");
    EXPECT_EQ(cut.size(), 203);
    EXPECT_EQ(SitemapModel::caption(storedFile(1, QString(200, u'a'))), QString(200, u'a'));
}

TEST_F(SitemapModelTest, OnlyARetrievedHtmlPageOpens) {
    EXPECT_TRUE(SitemapModel::expandable(storedFile(1, "a", TaskRow::Ok)));
    EXPECT_TRUE(SitemapModel::expandable(storedFile(1, "a", TaskRow::Failed)));
    for (uint32_t state :
         {TaskRow::NotRetrieved, TaskRow::NotAccepted, TaskRow::Queued, TaskRow::Downloading, TaskRow::Stopped})
        EXPECT_FALSE(SitemapModel::expandable(storedFile(1, "a", state))) << state;
    EXPECT_FALSE(SitemapModel::expandable(storedFile(1, "a.png", TaskRow::Ok, ItemRow::Gif)));
    EXPECT_FALSE(SitemapModel::expandable(storedFile(1, "a.bin", TaskRow::Ok, ItemRow::Other)));
}

TEST_F(SitemapModelTest, APageShowsItsPagesAndOtherFilesButNoPictures) {
    links_[1] = {storedFile(2, "http://h/logo.png", TaskRow::Ok, ItemRow::Gif), storedFile(3, "http://h/b.html"),
                 storedFile(4, "http://h/data.bin", TaskRow::Ok, ItemRow::Other),
                 storedFile(0, "http://down/x.html", TaskRow::NotRetrieved, ItemRow::Other)};
    model().reset(storedFile(1, "http://h/", TaskRow::Ok, ItemRow::Html, "Home"));
    ASSERT_EQ(model().rowCount(), 1);
    const QModelIndex top = model().index(0, 0);
    EXPECT_EQ(text(top), "Home, (http://h/)");
    EXPECT_TRUE(model().hasChildren(top));
    EXPECT_EQ(asked_[1], 0);  // nothing is read before the page opens
    opened(top);
    watch();
    ASSERT_EQ(model().rowCount(top), 3);
    EXPECT_EQ(text(model().index(0, 0, top)), "http://h/b.html");
    EXPECT_EQ(text(model().index(1, 0, top)), "http://h/data.bin");
    EXPECT_EQ(text(model().index(2, 0, top)), "http://down/x.html");
    EXPECT_EQ(picture(model().index(0, 0, top)), TaskRow::Ok);
    EXPECT_EQ(picture(model().index(2, 0, top)), SitemapModel::kNotRetrieved);
    EXPECT_FALSE(model().hasChildren(model().index(1, 0, top)));
    EXPECT_FALSE(model().canFetchMore(top));
    model().fetchMore(top);
    EXPECT_EQ(asked_[1], 1);
}

TEST_F(SitemapModelTest, APageLinkingBackToItsParentShowsItMarkedAndClosed) {
    links_[1] = {storedFile(2, "http://h/b.html"), storedFile(3, "http://h/c.html")};
    links_[2] = {storedFile(1, "http://h/"), storedFile(3, "http://h/c.html"), storedFile(2, "http://h/b.html")};
    model().reset(storedFile(1, "http://h/"));
    const QModelIndex top = opened(model().index(0, 0));
    const QModelIndex b = opened(model().index(0, 0, top));
    ASSERT_EQ(model().rowCount(b), 3);
    const QModelIndex parentAgain = model().index(0, 0, b);
    EXPECT_EQ(picture(parentAgain), SitemapModel::kRepeated);
    EXPECT_FALSE(model().hasChildren(parentAgain));
    EXPECT_FALSE(model().canFetchMore(parentAgain));
    EXPECT_EQ(picture(model().index(2, 0, b)), SitemapModel::kRepeated);  // the page itself
    // A page shown elsewhere, not above itself, opens as usual and shares its row.
    const QModelIndex c = model().index(1, 0, b);
    EXPECT_EQ(picture(c), TaskRow::Ok);
    EXPECT_TRUE(model().canFetchMore(c));
    EXPECT_EQ(model().file(c), model().file(model().index(1, 0, top)));
    watch();  // opens every node that opens: the circle ends
    EXPECT_EQ(asked_[1], 1);
    EXPECT_EQ(asked_[2], 1);
    EXPECT_EQ(asked_[3], 2);  // below the top, and below b
}

TEST_F(SitemapModelTest, NoMainFileLeavesTheTreeEmpty) {
    model().reset(std::nullopt);
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_FALSE(model().canFetchMore({}));
}

}  // namespace
