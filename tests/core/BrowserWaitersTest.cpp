#include "core/BrowserWaiters.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/WaitToken.h"
#include "engine.h"
#include "support/OpenProject.h"

namespace {

bool signalled(uint32_t token) { return eng::WaitToken::waitFor(static_cast<int>(token), 0); }

TEST(BrowserWaiters, EveryWaiterOfAResourceWakes) {
    eng::BrowserWaiters waiters;
    const uint32_t first = waiters.add(7), second = waiters.add(7), other = waiters.add(8);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_FALSE(signalled(first));
    waiters.wake(7);
    EXPECT_TRUE(signalled(first));
    EXPECT_TRUE(signalled(second));  // not only one of them
    EXPECT_FALSE(signalled(other));
    EXPECT_FALSE(waiters.waiting(7));

    // A later request for the same resource waits afresh.
    const uint32_t later = waiters.add(7);
    EXPECT_FALSE(signalled(later));
    waiters.releaseAll();
    EXPECT_TRUE(signalled(later));
    EXPECT_TRUE(signalled(other));
    for (const uint32_t token : {first, second, other, later}) ::close(static_cast<int>(token));
}

TEST(BrowserWaiters, AbortingARequestsTokenFindsNoWaiter) {
    eng::BrowserWaiters waiters;
    const uint32_t token = waiters.add(3);
    EXPECT_FALSE(waiters.abortWaiting(token));  // the request holds a duplicate
    EXPECT_FALSE(waiters.abortWaiting(0));
    EXPECT_TRUE(waiters.waiting(3));
    ::close(static_cast<int>(token));

    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EXPECT_EQ(Eng_KivAbortWaiting(token), 0);
}

}  // namespace
