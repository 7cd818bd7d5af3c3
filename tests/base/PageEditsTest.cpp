#include "base/PageEdits.h"

#include <gtest/gtest.h>

using eng::applyPageEdits;

TEST(PageEditsTest, AppliesEveryEditOnceInOrderOfOffset) {
    EXPECT_EQ(applyPageEdits("<a href=x><img src=y>", {{19, 1, "Y"}, {8, 1, "X1"}, {10, 0, "<!-- -->"}}),
              "<a href=X1><!-- --><img src=Y>");
    // An insertion and a replacement at one offset both apply, in the order given.
    EXPECT_EQ(applyPageEdits("abc", {{1, 0, "+"}, {1, 1, "B"}}), "a+Bc");
    // Overlapping edits and edits past the end are left out.
    EXPECT_EQ(applyPageEdits("abcdef", {{1, 3, "X"}, {2, 1, "Y"}, {5, 2, "Z"}, {9, 0, "W"}}), "aXef");
    EXPECT_EQ(applyPageEdits("", {}), "");
}
