// Sleep and its injectable sleeper, the monotonic clock, the thread pool, the service registry.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "oslayer/os.h"

namespace {

// ---- sleep -------------------------------------------------------------------------------

TEST(Sleep, InjectedSleeperReplacesTheRealOne) {
    std::vector<int> asked;
    os::Sleeper previous = os::SetSleeper([&](int ms) { asked.push_back(ms); });
    EXPECT_FALSE(previous);  // the real sleeper is the empty one
    const int64_t t0 = os::MonotonicMs();
    os::Sleep(5000);
    os::Sleep(250);
    EXPECT_EQ(os::MonotonicMs() - t0, 5250);  // the sleeps moved the clock on, nothing else did
    EXPECT_EQ(asked, (std::vector<int>{5000, 250}));
    os::Sleeper mine = os::SetSleeper({});  // restores the real one, returns ours
    ASSERT_TRUE(mine);
    mine(7);
    EXPECT_EQ(asked.back(), 7);
}

TEST(Sleep, RealSleeperSleeps) {
    os::SetSleeper({});
    const int64_t t0 = os::MonotonicMs();
    os::Sleep(30);
    EXPECT_GE(os::MonotonicMs() - t0, 30);
    os::Sleep(0);   // returns at once
    os::Sleep(-5);  // so does a negative time
}

TEST(Sleep, SetSleeperReturnsThePreviousOne) {
    int firstCalls = 0, secondCalls = 0;
    os::SetSleeper([&](int) { ++firstCalls; });
    os::Sleeper prev = os::SetSleeper([&](int) { ++secondCalls; });
    os::Sleep(1);
    ASSERT_TRUE(prev);
    prev(1);
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 1);
    os::SetSleeper({});
}

// Under a replaced sleeper the clock stands but for the sleeps; a wait to a deadline asks for
// the whole milliseconds left; the clock never goes back when the real sleep returns.
TEST(Clock, ReplacedSleeperMovesTheClockAndTheRealOneNeverTakesItBack) {
    std::vector<int> asked;
    os::SetSleeper([&](int ms) { asked.push_back(ms); });
    const os::Clock::time_point t0 = os::Now();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(os::Now(), t0);
    os::SleepUntil(t0 + std::chrono::microseconds(2500));
    os::SleepUntil(t0 + std::chrono::milliseconds(1));  // passed: no sleep
    EXPECT_EQ(asked, (std::vector<int>{3}));
    EXPECT_EQ(os::Now(), t0 + std::chrono::milliseconds(3));
    os::Sleep(60000);
    const os::Clock::time_point ahead = os::Now();
    os::SetSleeper({});
    EXPECT_GE(os::Now(), ahead);
    const os::Clock::time_point real = os::Now();
    os::SleepUntil(real + std::chrono::milliseconds(5));
    EXPECT_GE(os::Now(), real + std::chrono::milliseconds(5));
    EXPECT_EQ(asked.size(), 2u);  // the real sleep took the last wait
}

// ---- thread pool -------------------------------------------------------------------------

TEST(ThreadPool, RunsEveryTask) {
    os::SemaphoreHandle done = os::CreateSemaphore(0, 1000);
    std::atomic<int> count{0};
    {
        os::ThreadPool pool(4);
        EXPECT_EQ(pool.ThreadCount(), 4);
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(pool.Schedule([&] {
                ++count;
                os::ReleaseSemaphore(done);
            }));
        for (int i = 0; i < 200; ++i) ASSERT_EQ(os::WaitForSemaphore(done, 5000), os::WAIT_OBJECT_0);
    }
    EXPECT_EQ(count, 200);
    os::CloseSemaphore(done);
}

TEST(ThreadPool, OneThreadRunsTasksInOrder) {
    std::vector<int> order;
    std::mutex m;
    os::EventHandle last = os::CreateEvent(nullptr, true, false);
    {
        os::ThreadPool pool(1);
        for (int i = 0; i < 50; ++i)
            pool.Schedule([&, i] {
                std::lock_guard<std::mutex> lock(m);
                order.push_back(i);
                if (i == 49) os::SetEvent(last);
            });
        ASSERT_EQ(os::WaitForEvent(last, 5000), os::WAIT_OBJECT_0);
    }
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
    os::CloseEvent(last);
}

TEST(ThreadPool, AtLeastOneThread) {
    os::ThreadPool pool(0);
    EXPECT_EQ(pool.ThreadCount(), 1);
    EXPECT_FALSE(pool.Schedule({}));  // an empty task is refused
}

// Sets an event when the last copy of it goes away (i.e. when a queued task is dropped).
struct SetOnDrop {
    os::EventHandle e;
    ~SetOnDrop() { os::SetEvent(e); }
};

TEST(ThreadPool, DestructorFinishesTheRunningTaskAndDropsTheQueued) {
    os::EventHandle started = os::CreateEvent(nullptr, true, false);
    os::EventHandle gate = os::CreateEvent(nullptr, true, false);
    std::atomic<bool> firstFinished{false};
    std::atomic<int> queuedRan{0};
    std::atomic<int> scheduleDuringShutdown{-1};
    auto pool = std::make_unique<os::ThreadPool>(1);
    os::ThreadPool* raw = pool.get();
    pool->Schedule([&] {
        os::SetEvent(started);
        // Released only once the destructor has dropped the queue (see below).
        EXPECT_EQ(os::WaitForEvent(gate, 5000), os::WAIT_OBJECT_0);
        scheduleDuringShutdown = raw->Schedule([] {}) ? 1 : 0;
        firstFinished = true;
    });
    ASSERT_EQ(os::WaitForEvent(started, 5000), os::WAIT_OBJECT_0);
    {
        std::shared_ptr<SetOnDrop> dropGuard(new SetOnDrop{gate});
        for (int i = 0; i < 10; ++i) pool->Schedule([&, dropGuard] { ++queuedRan; });
    }
    pool.reset();  // drops the ten queued tasks (which opens the gate), then joins
    EXPECT_TRUE(firstFinished);
    EXPECT_EQ(queuedRan, 0);
    EXPECT_EQ(scheduleDuringShutdown, 0);
    os::CloseEvent(started);
    os::CloseEvent(gate);
}

TEST(ThreadPool, ATaskThatThrowsDoesNotStopThePool) {
    os::EventHandle after = os::CreateEvent(nullptr, true, false);
    {
        os::ThreadPool pool(1);
        pool.Schedule([] { throw 42; });
        pool.Schedule([&] { os::SetEvent(after); });
        EXPECT_EQ(os::WaitForEvent(after, 5000), os::WAIT_OBJECT_0);
    }
    os::CloseEvent(after);
}

// ---- service registry --------------------------------------------------------------------

TEST(Services, PublishFindReplaceWithdraw) {
    int a = 1, b = 2;
    EXPECT_EQ(os::FindService("cbos.test.svc"), nullptr);
    os::PublishService("cbos.test.svc", &a);
    EXPECT_EQ(os::FindService("cbos.test.svc"), &a);
    os::PublishService("cbos.test.svc", &b);
    EXPECT_EQ(os::FindService("cbos.test.svc"), &b);
    os::PublishService("cbos.test.svc", nullptr);
    EXPECT_EQ(os::FindService("cbos.test.svc"), nullptr);
    EXPECT_EQ(os::FindService(nullptr), nullptr);
    os::PublishService(nullptr, &a);  // ignored
}

TEST(Services, ConcurrentPublishAndFind) {
    std::vector<int> objects(8);
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            const std::string name = "cbos.test.concurrent." + std::to_string(t);
            for (int i = 0; i < 500; ++i) {
                os::PublishService(name.c_str(), &objects[t]);
                if (os::FindService(name.c_str()) != &objects[t]) ++wrong;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, 0);
    for (int t = 0; t < 8; ++t) {
        const std::string name = "cbos.test.concurrent." + std::to_string(t);
        EXPECT_EQ(os::FindService(name.c_str()), &objects[t]);
        os::PublishService(name.c_str(), nullptr);
    }
}

}  // namespace
