#include "FilterTestSubject.h"

#include <gtest/gtest.h>

namespace {

TEST(FilterTestSubjectTest, TheChoiceGivesTheKindAndOtherPlacesKeepIt) {
    FilterTestSubject subject;
    EXPECT_EQ(subject.address(), "http://");
    EXPECT_EQ(subject.kind(), 0);
    subject.chooseKind(2);
    EXPECT_EQ(subject.kind(), 9);
    for (int outside : {4, -1, 100}) {
        subject.chooseKind(outside);
        EXPECT_EQ(subject.kind(), 9) << outside;
    }
    subject.chooseKind(3);
    EXPECT_EQ(subject.kind(), 14);
    subject.chooseKind(1);
    EXPECT_EQ(subject.kind(), 1);
    subject.chooseKind(0);
    EXPECT_EQ(subject.kind(), 0);
}

}  // namespace
