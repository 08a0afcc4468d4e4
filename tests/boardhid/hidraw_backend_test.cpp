// The hidraw backend's framing, open and reader logic, against a fake hidapi device.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "boardhid/hidraw_backend.h"
#include "boardhid/input_reports.h"
#include "oslayer/os.h"

namespace {

using Bytes = std::vector<uint8_t>;
using boardhid::HidrawBackend;
using boardhid::InputReports;

// What the fake bus holds; shared by the fake api and the devices it opens.
struct FakeBus {
    std::mutex mutex;
    std::condition_variable arrived;
    bool present = true;
    int failOpens = 0;       // the next N opens fail (node not accessible yet)
    int opens = 0;           // open attempts
    bool broken = false;     // reads fail: the device is gone
    std::vector<Bytes> written;
    std::deque<Bytes> inbound;

    void Deliver(Bytes report) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            inbound.push_back(std::move(report));
        }
        arrived.notify_all();
    }
};

class FakeDevice final : public boardhid::HidDevice {
public:
    explicit FakeDevice(FakeBus& bus) : bus_(bus) {}
    int Write(const uint8_t* data, size_t size) override {
        std::lock_guard<std::mutex> lock(bus_.mutex);
        if (bus_.broken) return -1;
        bus_.written.emplace_back(data, data + size);
        return static_cast<int>(size);
    }
    int Read(uint8_t* data, size_t size, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(bus_.mutex);
        bus_.arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return bus_.broken || !bus_.inbound.empty(); });
        if (bus_.broken) return -1;
        if (bus_.inbound.empty()) return 0;
        Bytes report = std::move(bus_.inbound.front());
        bus_.inbound.pop_front();
        const size_t n = std::min(size, report.size());
        std::copy(report.begin(), report.begin() + static_cast<long>(n), data);
        return static_cast<int>(n);
    }

private:
    FakeBus& bus_;
};

class FakeApi final : public boardhid::HidApi {
public:
    explicit FakeApi(FakeBus& bus) : bus_(bus) {}
    bool Present(uint16_t vendorId, uint16_t productId) override {
        std::lock_guard<std::mutex> lock(bus_.mutex);
        return bus_.present && vendorId == 0xB7C4 && productId == 0x9A2E;
    }
    std::unique_ptr<boardhid::HidDevice> Open(uint16_t, uint16_t) override {
        std::lock_guard<std::mutex> lock(bus_.mutex);
        ++bus_.opens;
        if (!bus_.present || bus_.failOpens > 0) {
            if (bus_.failOpens > 0) --bus_.failOpens;
            return nullptr;
        }
        return std::make_unique<FakeDevice>(bus_);
    }

private:
    FakeBus& bus_;
};

class HidrawBackendTest : public ::testing::Test {
protected:
    HidrawBackendTest()
        : event_(os::CreateEvent(nullptr, true, false)),
          reports_(event_, nullptr),
          backend_(std::make_unique<FakeApi>(bus_), reports_, Options()),
          previousSleeper_(os::SetSleeper([this](int ms) { sleeps_.push_back(ms); })) {}
    ~HidrawBackendTest() override {
        backend_.Close();
        os::SetSleeper(previousSleeper_);
        os::CloseEvent(event_);
    }

    static boardhid::HidrawOptions Options() {
        boardhid::HidrawOptions o;
        o.openRetryMs = 200;
        o.openRetryStepMs = 20;
        o.readTimeoutMs = 10;
        return o;
    }

    bool Send(const Bytes& report) { return backend_.Send(report.data(), static_cast<int>(report.size())); }

    // The next input report as the program fetches it; empty when none comes.
    Bytes Receive() {
        if (os::WaitForEvent(event_, 1000) != os::WAIT_OBJECT_0) return {};
        os::ResetEvent(event_);
        const int n = reports_.PendingLength();
        uint8_t buffer[64] = {};
        if (n < 1 || reports_.Take(buffer) != n) return {};
        return Bytes(buffer, buffer + n);
    }

    static Bytes Padded(Bytes reply) {
        reply.resize(64, 0xA5);
        return reply;
    }

    FakeBus bus_;
    os::EventHandle event_;
    InputReports reports_;
    HidrawBackend backend_;
    std::vector<int> sleeps_;  // the backend's waits between open attempts, on the tests' clock
    os::Sleeper previousSleeper_;
};

TEST_F(HidrawBackendTest, MissingBoardIsNotPluggedAndOpensAtOnceWithoutRetry) {
    bus_.present = false;
    EXPECT_FALSE(backend_.IsPlugged());
    EXPECT_FALSE(backend_.Open());
    EXPECT_EQ(bus_.opens, 0);  // nothing to open, nothing retried
    EXPECT_FALSE(Send({0xD0, 0, 1, 6}));
}

TEST_F(HidrawBackendTest, OpenRetriesUntilTheNodeBecomesAccessible) {
    bus_.failOpens = 3;
    EXPECT_TRUE(backend_.Open());
    EXPECT_EQ(bus_.opens, 4);
    EXPECT_EQ(sleeps_, (std::vector<int>{20, 20, 20}));
    EXPECT_TRUE(backend_.Open());  // already open: no second device
    EXPECT_EQ(bus_.opens, 4);
}

TEST_F(HidrawBackendTest, OpenGivesUpAfterTheRetryWindow) {
    bus_.failOpens = 1000;
    EXPECT_FALSE(backend_.Open());
    // An attempt every 20 ms from 0 to the window's end at 200 ms, then no more.
    EXPECT_EQ(bus_.opens, 11);
    EXPECT_EQ(sleeps_, std::vector<int>(10, 20));
    EXPECT_FALSE(Send({0xD0, 0, 1, 6}));
}

TEST_F(HidrawBackendTest, WritesCarryReportIdZeroAndArePaddedTo64Bytes) {
    ASSERT_TRUE(backend_.Open());
    ASSERT_TRUE(Send({0xD4, 0x00, 0x02, 0x17, 0xFF}));
    ASSERT_EQ(bus_.written.size(), 1u);
    Bytes expected(65, 0);
    expected[1] = 0xD4, expected[3] = 0x02, expected[4] = 0x17, expected[5] = 0xFF;
    EXPECT_EQ(bus_.written[0], expected);
}

TEST_F(HidrawBackendTest, PaddedReplyIsCutToTheLengthItsRequestExpects) {
    ASSERT_TRUE(backend_.Open());
    const struct {
        Bytes request;
        size_t length;
    } cases[] = {
        {{0xD0, 0, 1, 6}, 2},       {{0x90, 0, 1, 6}, 2},  {{0xD1, 0, 0}, 48}, {{0xD2, 0, 0}, 48},
        {{0xD3, 0, 0}, 30},         {{0x20, 0, 0}, 20},    {{0x30, 0, 2, 0x14, 0x70}, 1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Send(c.request));
        Bytes reply(c.length);
        for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(i + 1);
        bus_.Deliver(Padded(reply));
        EXPECT_EQ(Receive(), reply) << "request " << int(c.request[0]);
    }
}

TEST_F(HidrawBackendTest, ShortReadOrFullReportWithoutARequestIsTakenWhole) {
    ASSERT_TRUE(backend_.Open());
    ASSERT_TRUE(Send({0xD1, 0, 0}));
    bus_.Deliver({0x02, 0x00, 0x04});  // a short packet: its own length
    EXPECT_EQ(Receive(), (Bytes{0x02, 0x00, 0x04}));
    ASSERT_TRUE(Send({0xD4, 0x00, 0x02, 0x17, 0xFF}));  // a write expects nothing
    bus_.Deliver(Padded({1, 2}));
    EXPECT_EQ(Receive().size(), 64u);
    // A request's length serves its own reply only.
    ASSERT_TRUE(Send({0xD0, 0, 1, 6}));
    bus_.Deliver(Padded({0x0D, 0x40}));
    bus_.Deliver(Padded({9}));
    EXPECT_EQ(Receive(), (Bytes{0x0D, 0x40}));
    EXPECT_EQ(Receive().size(), 64u);
}

TEST_F(HidrawBackendTest, BoardThatDisappearsIsReportedAsNotPlugged) {
    ASSERT_TRUE(backend_.Open());
    EXPECT_TRUE(backend_.IsPlugged());
    {
        std::lock_guard<std::mutex> lock(bus_.mutex);
        bus_.broken = true;  // still enumerated, but the device fails
    }
    bus_.arrived.notify_all();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (backend_.IsPlugged() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(backend_.IsPlugged());
    EXPECT_FALSE(Send({0xD0, 0, 1, 6}));

    // Back on the bus: a new open gives a working device.
    {
        std::lock_guard<std::mutex> lock(bus_.mutex);
        bus_.broken = false;
    }
    ASSERT_TRUE(backend_.Open());
    EXPECT_TRUE(backend_.IsPlugged());
    ASSERT_TRUE(Send({0xD0, 0, 1, 6}));
    bus_.Deliver(Padded({0x0D, 0x40}));
    EXPECT_EQ(Receive(), (Bytes{0x0D, 0x40}));

    backend_.Close();
    EXPECT_FALSE(Send({0xD0, 0, 1, 6}));
}

}  // namespace
