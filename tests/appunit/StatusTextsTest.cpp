#include "StatusTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusTextsTest, PhrasesFollowTheTableIncludingItsOwnWordings) {
    EXPECT_EQ(status_texts::phrase(100), "Continue");
    EXPECT_EQ(status_texts::phrase(207), "MultiStatus [WEBDAV]");
    EXPECT_EQ(status_texts::phrase(302), "Moved Temporarily");
    EXPECT_EQ(status_texts::phrase(406), "None Acceptable");
    EXPECT_EQ(status_texts::phrase(499), "Connection aborted by user");
    EXPECT_EQ(status_texts::phrase(507), "Insufficient Storage");
}

TEST(StatusTextsTest, CodesOutsideTheTableHaveNoPhrase) {
    for (int code : {0, 99, 103, 208, 306, 418, 421, 426, 506, 508, 999, -1})
        EXPECT_TRUE(status_texts::phrase(code).isEmpty()) << code;
}

TEST(StatusTextsTest, AFailedFetchReadingOkShowsItsStatus) {
    EXPECT_EQ(status_texts::resultText("Ok.", true, 404), "Not Found");
    EXPECT_EQ(status_texts::resultText("Ok.", true, 418), "HTTP Error code:418");
    EXPECT_EQ(status_texts::resultText("Ok.", false, 404), "Ok.");
    EXPECT_EQ(status_texts::resultText("The server name could not be resolved.", true, 0),
              "The server name could not be resolved.");
}

}  // namespace
