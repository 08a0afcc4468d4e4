// Device arrival and removal notices through DeviceMonitor's pollable fd and Dispatch().
#include <gtest/gtest.h>

#include <poll.h>

#include <string>
#include <thread>
#include <vector>

#include "oslayer/os.h"

namespace {

constexpr uint16_t kVid = 0xB7C4;
constexpr uint16_t kPid = 0x9A2E;

struct Notice {
    unsigned message;
    unsigned code;
    std::string path;
};

// A monitor that records what its window procedure would receive.
struct Recorder {
    std::vector<Notice> seen;
    os::DeviceMonitor monitor;
    Recorder(uint16_t vid, uint16_t pid)
        : monitor(vid, pid, [this](unsigned m, unsigned c, const std::string& p) { seen.push_back({m, c, p}); }) {}
};

bool Readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN);
}

TEST(DevicePath, Format) {
    EXPECT_EQ(os::DeviceMonitor::DevicePath(0xB7C4, 0x9A2E, "hidraw3"), "\\\\?\\HID#VID_B7C4&PID_9A2E#hidraw3");
    EXPECT_EQ(os::DeviceMonitor::DevicePath(0x00ab, 0x0c0d, "x"), "\\\\?\\HID#VID_00AB&PID_0C0D#x");
    EXPECT_EQ(os::DeviceMonitor::DevicePath(0xB7C4, 0x9A2E, ""), std::string(R"(\\?\HID#VID_B7C4&PID_9A2E#)"));
}

TEST(DeviceMonitor, IsOkWithAPollableFdEvenWithoutUdev) {
    Recorder r(kVid, kPid);
    EXPECT_TRUE(r.monitor.Ok());
    EXPECT_GE(r.monitor.fd(), 0);
}

TEST(DeviceMonitor, DispatchWithNothingPendingReturnsAtOnce) {
    Recorder r(kVid, kPid);
    // Whatever real hidraw devices come and go on this machine are not ours (no board here).
    for (int i = 0; i < 10; ++i) r.monitor.Dispatch();  // blocks for nothing (else the test's time-out ends it)
    EXPECT_TRUE(r.seen.empty());
}

TEST(DeviceMonitor, SyntheticArrivalIsDeliveredOnceWithPathAndCodes) {
    Recorder r(kVid, kPid);
    os::PostDeviceNotice(true, kVid, kPid, "hidraw7");
    ASSERT_TRUE(Readable(r.monitor.fd(), 1000));
    r.monitor.Dispatch();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].message, os::WM_DEVICECHANGE);
    EXPECT_EQ(r.seen[0].message, 0x219u);
    EXPECT_EQ(r.seen[0].code, os::DBT_DEVICEARRIVAL);
    EXPECT_EQ(r.seen[0].code, 0x8000u);
    EXPECT_EQ(r.seen[0].path, "\\\\?\\HID#VID_B7C4&PID_9A2E#hidraw7");
    // Delivered once: nothing more is pending.
    EXPECT_FALSE(Readable(r.monitor.fd(), 0));
    r.monitor.Dispatch();
    EXPECT_EQ(r.seen.size(), 1u);
}

TEST(DeviceMonitor, SyntheticRemovalIsDelivered) {
    Recorder r(kVid, kPid);
    os::PostDeviceNotice(false, kVid, kPid, "emulated");
    ASSERT_TRUE(Readable(r.monitor.fd(), 1000));
    r.monitor.Dispatch();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].message, os::WM_DEVICECHANGE);
    EXPECT_EQ(r.seen[0].code, os::DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(r.seen[0].code, 0x8004u);
    EXPECT_EQ(r.seen[0].path, os::DeviceMonitor::DevicePath(kVid, kPid, "emulated"));
}

TEST(DeviceMonitor, OtherDevicesProduceNothing) {
    Recorder r(kVid, kPid);
    os::PostDeviceNotice(true, 0x046D, kPid, "hidraw1");   // other vendor
    os::PostDeviceNotice(true, kVid, 0x1234, "hidraw2");   // other product
    os::PostDeviceNotice(false, 0x1234, 0x5678, "hidraw3");
    EXPECT_FALSE(Readable(r.monitor.fd(), 20));
    r.monitor.Dispatch();
    EXPECT_TRUE(r.seen.empty());
}

TEST(DeviceMonitor, SeveralNoticesArriveInOrderInOneDispatch) {
    Recorder r(kVid, kPid);
    os::PostDeviceNotice(true, kVid, kPid, "a");
    os::PostDeviceNotice(false, kVid, kPid, "a");
    os::PostDeviceNotice(true, kVid, kPid, "b");
    ASSERT_TRUE(Readable(r.monitor.fd(), 1000));
    r.monitor.Dispatch();
    ASSERT_EQ(r.seen.size(), 3u);
    EXPECT_EQ(r.seen[0].code, os::DBT_DEVICEARRIVAL);
    EXPECT_EQ(r.seen[1].code, os::DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(r.seen[2].code, os::DBT_DEVICEARRIVAL);
    EXPECT_EQ(r.seen[2].path, os::DeviceMonitor::DevicePath(kVid, kPid, "b"));
    EXPECT_FALSE(Readable(r.monitor.fd(), 0));
}

TEST(DeviceMonitor, EveryLiveMatchingMonitorGetsTheNotice) {
    Recorder a(kVid, kPid), b(kVid, kPid), other(0x1111, 0x2222);
    os::PostDeviceNotice(true, kVid, kPid, "hidraw0");
    ASSERT_TRUE(Readable(a.monitor.fd(), 1000));
    ASSERT_TRUE(Readable(b.monitor.fd(), 1000));
    EXPECT_FALSE(Readable(other.monitor.fd(), 0));
    a.monitor.Dispatch();
    b.monitor.Dispatch();
    other.monitor.Dispatch();
    EXPECT_EQ(a.seen.size(), 1u);
    EXPECT_EQ(b.seen.size(), 1u);
    EXPECT_TRUE(other.seen.empty());
}

TEST(DeviceMonitor, NoticePostedFromAnotherThreadWakesThePoller) {
    Recorder r(kVid, kPid);
    std::thread poster([] {
        os::Sleep(20);
        os::PostDeviceNotice(true, kVid, kPid, "hidraw9");
    });
    const bool readable = Readable(r.monitor.fd(), 5000);
    poster.join();
    ASSERT_TRUE(readable);
    r.monitor.Dispatch();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].path, os::DeviceMonitor::DevicePath(kVid, kPid, "hidraw9"));
}

TEST(DeviceMonitor, NoticePostedFromTheHandlerWaitsForTheNextDispatch) {
    std::vector<std::string> paths;
    os::DeviceMonitor m(kVid, kPid, [&](unsigned, unsigned, const std::string& p) {
        paths.push_back(p);
        if (paths.size() == 1) os::PostDeviceNotice(false, kVid, kPid, "again");
    });
    os::PostDeviceNotice(true, kVid, kPid, "first");
    m.Dispatch();
    ASSERT_EQ(paths.size(), 1u);
    ASSERT_TRUE(Readable(m.fd(), 1000));  // the re-posted one is pending, not lost
    m.Dispatch();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[1], os::DeviceMonitor::DevicePath(kVid, kPid, "again"));
}

TEST(DeviceMonitor, NoMonitorNoProblem) {
    // Posting with no live monitor, and after one has gone, does nothing (and does not crash).
    os::PostDeviceNotice(true, kVid, kPid, "nobody");
    { Recorder r(kVid, kPid); }
    os::PostDeviceNotice(false, kVid, kPid, "nobody");
}

TEST(DeviceMonitor, EmptyHandlerIsHarmless) {
    os::DeviceMonitor m(kVid, kPid, nullptr);
    os::PostDeviceNotice(true, kVid, kPid, "x");
    m.Dispatch();
    EXPECT_FALSE(Readable(m.fd(), 0));
}

}  // namespace
