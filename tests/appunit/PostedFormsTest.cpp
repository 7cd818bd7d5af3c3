#include "PostedForms.h"

#include <gtest/gtest.h>

namespace {

const QString kAnswer = QStringLiteral("kiv:3:0:1:http://h/answer.cgi");

// The body a page is opened with goes to that page's next request alone, once;
// the bodies of posted forms stay for every POST of their address.
TEST(PostedFormsTest, AnOpenedPagesBodyGoesToItsNextRequestOnce) {
    PostedForms &forms = PostedForms::instance();
    ASSERT_TRUE(forms.openWith(kAnswer, "q=1"));
    EXPECT_TRUE(forms.takeOpened(QStringLiteral("kiv:3:0:1:http://h/other")).isEmpty());
    EXPECT_EQ(forms.takeOpened(kAnswer), "q=1");
    EXPECT_TRUE(forms.takeOpened(kAnswer).isEmpty());
    EXPECT_TRUE(forms.bodyFor(kAnswer).isEmpty());  // not a posted form

    ASSERT_TRUE(forms.remember(kAnswer, "q=2"));
    EXPECT_TRUE(forms.takeOpened(kAnswer).isEmpty());
    EXPECT_EQ(forms.bodyFor(kAnswer), "q=2");
    EXPECT_EQ(forms.bodyFor(kAnswer), "q=2");
}

TEST(PostedFormsTest, ABodyPastTheLimitIsNotKept) {
    PostedForms &forms = PostedForms::instance();
    const QByteArray huge(PostedForms::kMaxBody + 1, 'x');
    EXPECT_FALSE(forms.openWith(kAnswer, huge));
    EXPECT_TRUE(forms.takeOpened(kAnswer).isEmpty());
    EXPECT_FALSE(forms.remember(kAnswer + QLatin1Char('2'), huge));
    EXPECT_TRUE(forms.bodyFor(kAnswer + QLatin1Char('2')).isEmpty());
}

}  // namespace
