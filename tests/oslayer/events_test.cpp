// Named and unnamed events: create-or-open, manual and auto reset, time-outs, wake-ups, and the
// same named event seen from another shared library.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "oslayer/os.h"

namespace {

// A name no other test uses (tests of one binary share the process when run together).
std::string UniqueName(const char* base) {
    static std::atomic<int> n{0};
    return std::string("cbos.test.") + base + "." + std::to_string(n++);
}

TEST(Events, CreateThenCreateAgainOpensTheSameObjectAndIgnoresFlags) {
    const std::string name = UniqueName("same");
    os::EventHandle a = os::CreateEvent(name.c_str(), true, false);
    ASSERT_NE(a, nullptr);
    // Second create: auto-reset and signalled requested, both ignored.
    os::EventHandle b = os::CreateEvent(name.c_str(), false, true);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);  // a new handle...
    EXPECT_EQ(os::WaitForEvent(a, 0), os::WAIT_TIMEOUT);  // ...to the same, still unsignalled object
    EXPECT_TRUE(os::SetEvent(b));
    EXPECT_EQ(os::WaitForEvent(a, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForEvent(a, 0), os::WAIT_OBJECT_0);  // manual reset, as first created
    EXPECT_TRUE(os::ResetEvent(a));
    EXPECT_EQ(os::WaitForEvent(b, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(a);
    os::CloseEvent(b);
}

TEST(Events, OpenFindsOnlyExistingNames) {
    const std::string name = UniqueName("open");
    EXPECT_EQ(os::OpenEvent(name.c_str()), nullptr);
    EXPECT_EQ(os::OpenEvent(nullptr), nullptr);
    os::EventHandle a = os::CreateEvent(name.c_str(), true, true);
    os::EventHandle b = os::OpenEvent(name.c_str());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(os::WaitForEvent(b, 0), os::WAIT_OBJECT_0);
    os::CloseEvent(a);
    // Still open through b: the name stays.
    os::EventHandle c = os::OpenEvent(name.c_str());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(os::WaitForEvent(c, 0), os::WAIT_OBJECT_0);
    os::CloseEvent(b);
    os::CloseEvent(c);
    // The last handle closed: the name is gone, and a new create starts afresh.
    EXPECT_EQ(os::OpenEvent(name.c_str()), nullptr);
    os::EventHandle d = os::CreateEvent(name.c_str(), true, false);
    EXPECT_EQ(os::WaitForEvent(d, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(d);
}

TEST(Events, UnnamedEventsAreDistinct) {
    os::EventHandle a = os::CreateEvent(nullptr, true, false);
    os::EventHandle b = os::CreateEvent(nullptr, true, false);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    os::SetEvent(a);
    EXPECT_EQ(os::WaitForEvent(a, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForEvent(b, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(a);
    os::CloseEvent(b);
}

TEST(Events, NullHandlesFail) {
    EXPECT_FALSE(os::SetEvent(nullptr));
    EXPECT_FALSE(os::ResetEvent(nullptr));
    EXPECT_EQ(os::WaitForEvent(nullptr, 0), os::WAIT_FAILED);
    os::CloseEvent(nullptr);  // harmless
}

TEST(Events, ManualResetStaysSignalledUntilReset) {
    os::EventHandle e = os::CreateEvent(UniqueName("manual").c_str(), true, false);
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_TIMEOUT);
    os::SetEvent(e);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(os::WaitForEvent(e, 10), os::WAIT_OBJECT_0);
    os::ResetEvent(e);
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(e);
}

TEST(Events, ManualResetReleasesEveryWaiter) {
    os::EventHandle e = os::CreateEvent(nullptr, true, false);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            if (os::WaitForEvent(e, 5000) == os::WAIT_OBJECT_0) ++woken;
        });
    os::Sleep(20);
    os::SetEvent(e);
    for (auto& t : waiters) t.join();
    EXPECT_EQ(woken, 4);
    os::CloseEvent(e);
}

TEST(Events, AutoResetIsTakenByOneWait) {
    os::EventHandle e = os::CreateEvent(UniqueName("auto").c_str(), false, true);
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_TIMEOUT);
    os::SetEvent(e);
    os::SetEvent(e);  // not counted: still one release
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_OBJECT_0);
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(e);
}

TEST(Events, AutoResetReleasesOneWaiterPerSet) {
    os::EventHandle e = os::CreateEvent(nullptr, false, false);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (os::WaitForEvent(e, 10000) == os::WAIT_OBJECT_0) ++woken;
        });
    auto waitForWoken = [&](int n) {
        const int64_t deadline = os::MonotonicMs() + 5000;
        while (woken < n && os::MonotonicMs() < deadline) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // room for a wrong extra one
    };
    for (int n = 1; n <= 3; ++n) {
        os::SetEvent(e);
        waitForWoken(n);
        EXPECT_EQ(woken, n);  // each Set released exactly one waiter
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(os::WaitForEvent(e, 0), os::WAIT_TIMEOUT);
    os::CloseEvent(e);
}

TEST(Events, WaitTimesOutAfterTheTimeGiven) {
    os::EventHandle e = os::CreateEvent(nullptr, true, false);
    const int64_t t0 = os::MonotonicMs();
    EXPECT_EQ(os::WaitForEvent(e, 60), os::WAIT_TIMEOUT);
    EXPECT_GE(os::MonotonicMs() - t0, 60);
    // Under the tests' clock the wait moves the clock on by its time, and does not run out while
    // work under way will still signal it, however long that takes.
    os::SetSleeper([](int) {});
    const os::Clock::time_point start = os::Now();
    EXPECT_EQ(os::WaitForEvent(e, 60), os::WAIT_TIMEOUT);
    EXPECT_EQ(os::Now() - start, std::chrono::milliseconds(60));
    std::atomic<bool> underWay{true};
    const int probe = os::AddWorkProbe([&] { return underWay.load(); });
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        os::SetEvent(e);
        underWay = false;
    });
    EXPECT_EQ(os::WaitForEvent(e, 20), os::WAIT_OBJECT_0);
    late.join();
    os::RemoveWorkProbe(probe);
    EXPECT_EQ(os::Now() - start, std::chrono::milliseconds(60));
    os::SetSleeper({});
    os::CloseEvent(e);
}

TEST(Events, InfiniteWaitIsWokenByAnotherThread) {
    os::EventHandle e = os::CreateEvent(UniqueName("forever").c_str(), true, false);
    std::atomic<int> result{-2};
    std::thread waiter([&] { result = os::WaitForEvent(e, os::INFINITE); });
    os::Sleep(30);
    EXPECT_EQ(result, -2);  // still waiting
    os::SetEvent(e);
    waiter.join();
    EXPECT_EQ(result, os::WAIT_OBJECT_0);
    os::CloseEvent(e);
}

// Two threads hand a token back and forth through two events; a lost wake-up would leave one
// of them waiting out its time-out.
void PingPong(bool manualReset) {
    constexpr int kRounds = 3000;
    os::EventHandle ping = os::CreateEvent(nullptr, manualReset, false);
    os::EventHandle pong = os::CreateEvent(nullptr, manualReset, false);
    std::atomic<int> failures{0};
    std::thread other([&] {
        for (int i = 0; i < kRounds; ++i) {
            if (os::WaitForEvent(ping, 5000) != os::WAIT_OBJECT_0) {
                ++failures;
                return;
            }
            if (manualReset) os::ResetEvent(ping);
            os::SetEvent(pong);
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        os::SetEvent(ping);
        if (os::WaitForEvent(pong, 5000) != os::WAIT_OBJECT_0) {
            ++failures;
            break;
        }
        if (manualReset) os::ResetEvent(pong);
    }
    other.join();
    EXPECT_EQ(failures, 0);
    os::CloseEvent(ping);
    os::CloseEvent(pong);
}

TEST(Events, NoLostWakeUpAutoReset) { PingPong(false); }
TEST(Events, NoLostWakeUpManualReset) { PingPong(true); }

// A setter races waiters with short time-outs; every Set must be seen by some wait.
TEST(Events, EverySetIsTakenUnderContention) {
    constexpr int kSets = 2000;
    os::EventHandle e = os::CreateEvent(nullptr, false, false);
    os::EventHandle taken = os::CreateEvent(nullptr, false, false);
    std::atomic<bool> done{false};
    std::atomic<int> got{0};
    std::vector<std::thread> waiters;
    for (int w = 0; w < 3; ++w)
        waiters.emplace_back([&] {
            while (!done) {
                if (os::WaitForEvent(e, 1) == os::WAIT_OBJECT_0) {
                    ++got;
                    os::SetEvent(taken);
                }
            }
        });
    int lost = 0;
    for (int i = 0; i < kSets; ++i) {
        os::SetEvent(e);
        if (os::WaitForEvent(taken, 5000) != os::WAIT_OBJECT_0) {
            ++lost;
            break;
        }
    }
    done = true;
    for (auto& t : waiters) t.join();
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(got, kSets);
    os::CloseEvent(e);
    os::CloseEvent(taken);
}

TEST(Events, CreateOpenCloseFromManyThreads) {
    const std::string name = UniqueName("threads");
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                os::EventHandle h = os::CreateEvent(name.c_str(), true, false);
                if (!h) ++failures;
                os::SetEvent(h);
                os::CloseEvent(h);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(os::OpenEvent(name.c_str()), nullptr);  // every handle closed: gone
}

// ---- across a library boundary ------------------------------------------------------------

class EventsAcrossLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        lib_ = os::LoadLibrary(CBOS_TEST_MODULE_PATH);
        ASSERT_NE(lib_, nullptr) << CBOS_TEST_MODULE_PATH;
    }
    void TearDown() override {
        if (lib_) os::FreeLibrary(lib_);
    }
    template <typename F>
    F Bind(const char* symbol) {
        return reinterpret_cast<F>(os::GetProcAddress(lib_, symbol));
    }
    os::LibraryHandle lib_ = nullptr;
};

TEST_F(EventsAcrossLibraries, ModuleSetsTheEventThisSideCreated) {
    auto setNamed = Bind<int (*)(const char*)>("cbos_test_set_named_event");
    ASSERT_NE(setNamed, nullptr);
    const std::string name = UniqueName("OrbanelInputEvent");
    EXPECT_EQ(setNamed(name.c_str()), 0);  // nothing of that name yet
    os::EventHandle mine = os::CreateEvent(name.c_str(), true, false);
    ASSERT_EQ(os::WaitForEvent(mine, 0), os::WAIT_TIMEOUT);
    EXPECT_EQ(setNamed(name.c_str()), 1);
    EXPECT_EQ(os::WaitForEvent(mine, 0), os::WAIT_OBJECT_0);
    os::CloseEvent(mine);
}

TEST_F(EventsAcrossLibraries, ModuleWakesAWaiterOnThisSide) {
    auto setNamed = Bind<int (*)(const char*)>("cbos_test_set_named_event");
    ASSERT_NE(setNamed, nullptr);
    const std::string name = UniqueName("wake");
    os::EventHandle mine = os::CreateEvent(name.c_str(), false, false);
    std::atomic<int> result{-2};
    std::thread waiter([&] { result = os::WaitForEvent(mine, 5000); });
    os::Sleep(20);
    EXPECT_EQ(setNamed(name.c_str()), 1);
    waiter.join();
    EXPECT_EQ(result, os::WAIT_OBJECT_0);
    os::CloseEvent(mine);
}

TEST_F(EventsAcrossLibraries, EventCreatedByTheModuleIsOpenedHere) {
    auto create = Bind<int (*)(const char*)>("cbos_test_create_signalled_event");
    auto closeKept = Bind<void (*)()>("cbos_test_close_kept_event");
    ASSERT_NE(create, nullptr);
    ASSERT_NE(closeKept, nullptr);
    const std::string name = UniqueName("modulemade");
    ASSERT_EQ(create(name.c_str()), 1);
    os::EventHandle mine = os::OpenEvent(name.c_str());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(os::WaitForEvent(mine, 0), os::WAIT_OBJECT_0);
    closeKept();
    os::CloseEvent(mine);
    EXPECT_EQ(os::OpenEvent(name.c_str()), nullptr);
}

TEST_F(EventsAcrossLibraries, LoadedByBareNameFromTheExecutableFolder) {
    os::LibraryHandle again = os::LoadLibrary(CBOS_TEST_MODULE_NAME);
    ASSERT_NE(again, nullptr) << "not found beside " << os::ExecutableDir();
    // The same object as loaded by full path.
    EXPECT_EQ(os::GetProcAddress(again, "cbos_test_set_named_event"),
              os::GetProcAddress(lib_, "cbos_test_set_named_event"));
    os::FreeLibrary(again);
}

TEST_F(EventsAcrossLibraries, ServiceRegistryIsShared) {
    auto find = Bind<void* (*)(const char*)>("cbos_test_find_service");
    ASSERT_NE(find, nullptr);
    int object = 0;
    const std::string name = UniqueName("service");
    os::PublishService(name.c_str(), &object);
    EXPECT_EQ(find(name.c_str()), &object);
    os::PublishService(name.c_str(), nullptr);
    EXPECT_EQ(find(name.c_str()), nullptr);
}

}  // namespace
