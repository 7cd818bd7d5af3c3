#include "items/ItemFileName.h"

#include <gtest/gtest.h>

#include "items/ItemRow.h"

namespace {

ItemRow file(const QString &address, int32_t type = ItemRow::Html, const QString &contentType = {}) {
    ItemRow row;
    row.resource = 1;
    row.address = address;
    row.type = type;
    row.contentType = contentType;
    return row;
}

}  // namespace

TEST(ItemFileNameTest, TakesTheLastSegmentOfThePathElseTheHost) {
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/a/b/page.htm?x=1"))), "page.htm");
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/images/logo.png"), ItemRow::Other)), "logo.png");
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/dir/"))), "site.html");
    EXPECT_EQ(itemFileName(file(QString())), "Default1.html");
}

TEST(ItemFileNameTest, AnHtmlFileWithoutExtensionEndsInHtml) {
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/about"))), "about.html");
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/README"), ItemRow::Text)), "README");
}

TEST(ItemFileNameTest, TheNameParameterOfTheContentTypeComesFirst) {
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/get?id=3"), ItemRow::Other,
                                QStringLiteral("application/pdf; Name=\"report.pdf\""))),
              "report.pdf");
}

TEST(ItemFileNameTest, CharactersNoFileNameHoldsBecomeUnderscores) {
    EXPECT_EQ(itemFileName(file(QStringLiteral("http://site/x"), ItemRow::Other,
                                QStringLiteral("text/plain; name=a:b?c*d|e<f>.txt"))),
              "a_b_c_d_e_f_.txt");
}
