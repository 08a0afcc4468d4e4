// Counting semaphores: counts, maximum, time-outs, cross-thread release.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "oslayer/os.h"

namespace {

TEST(Semaphores, InvalidArgumentsGiveNoSemaphore) {
    EXPECT_EQ(os::CreateSemaphore(3, 2), nullptr);
    EXPECT_EQ(os::CreateSemaphore(-1, 2), nullptr);
    EXPECT_EQ(os::CreateSemaphore(0, 0), nullptr);
    EXPECT_EQ(os::WaitForSemaphore(nullptr, 0), os::WAIT_FAILED);
    EXPECT_FALSE(os::ReleaseSemaphore(nullptr));
    os::CloseSemaphore(nullptr);
}

TEST(Semaphores, InitialCountIsTakenThenWaitsTimeOut) {
    os::SemaphoreHandle s = os::CreateSemaphore(2, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_TIMEOUT);
    os::CloseSemaphore(s);
}

TEST(Semaphores, ReleaseStopsAtTheMaximum) {
    os::SemaphoreHandle s = os::CreateSemaphore(0, 2);
    EXPECT_TRUE(os::ReleaseSemaphore(s));
    EXPECT_TRUE(os::ReleaseSemaphore(s));
    EXPECT_FALSE(os::ReleaseSemaphore(s));  // at maximum: nothing changes
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_TIMEOUT);
    EXPECT_TRUE(os::ReleaseSemaphore(s));
    os::CloseSemaphore(s);
}

TEST(Semaphores, TimedWaitLastsTheTimeGiven) {
    os::SemaphoreHandle s = os::CreateSemaphore(0, 1);
    const int64_t t0 = os::MonotonicMs();
    EXPECT_EQ(os::WaitForSemaphore(s, 50), os::WAIT_TIMEOUT);
    EXPECT_GE(os::MonotonicMs() - t0, 50);
    os::CloseSemaphore(s);
}

TEST(Semaphores, InfiniteWaitIsWokenByARelease) {
    os::SemaphoreHandle s = os::CreateSemaphore(0, 1);
    std::atomic<int> result{-2};
    std::thread waiter([&] { result = os::WaitForSemaphore(s, os::INFINITE); });
    os::Sleep(20);
    EXPECT_EQ(result, -2);
    EXPECT_TRUE(os::ReleaseSemaphore(s));
    waiter.join();
    EXPECT_EQ(result, os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForSemaphore(s, 0), os::WAIT_TIMEOUT);  // the count was taken
    os::CloseSemaphore(s);
}

TEST(Semaphores, ProducerConsumerCountsEveryRelease) {
    constexpr int kItems = 5000;
    os::SemaphoreHandle s = os::CreateSemaphore(0, kItems);
    std::atomic<int> consumed{0};
    std::thread consumer([&] {
        for (int i = 0; i < kItems; ++i) {
            if (os::WaitForSemaphore(s, 5000) != os::WAIT_OBJECT_0) return;
            ++consumed;
        }
    });
    for (int i = 0; i < kItems; ++i) ASSERT_TRUE(os::ReleaseSemaphore(s));
    consumer.join();
    EXPECT_EQ(consumed, kItems);
    os::CloseSemaphore(s);
}

}  // namespace
