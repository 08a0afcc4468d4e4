// Device arrival and removal notices: a libudev monitor on the hidraw subsystem, plus a
// synthetic channel (PostDeviceNotice) that the emulated board uses, both behind one pollable
// file descriptor.
#include "oslayer/os.h"

#include <libudev.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace os {

namespace {

struct Notice {
    bool arrival;
    std::string path;
};

bool ParseHex(const char* text, unsigned long& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoul(text, &end, 16);
    return errno == 0 && end != text;
}

// HID_ID is "BUS:VENDOR:PRODUCT" in hexadecimal, e.g. "0003:0000B7C4:00009A2E".
bool ParseHidId(const char* id, unsigned long& vendor, unsigned long& product) {
    if (!id) return false;
    const char* first = std::strchr(id, ':');
    if (!first) return false;
    const char* second = std::strchr(first + 1, ':');
    if (!second) return false;
    return ParseHex(first + 1, vendor) && ParseHex(second + 1, product);
}

// Reads the vendor and product ids of a hidraw device from its USB parent, else from its HID
// parent's HID_ID. False when neither can be read (e.g. the device is gone already).
bool DeviceIds(udev_device* dev, unsigned long& vendor, unsigned long& product) {
    if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_device")) {
        if (ParseHex(udev_device_get_sysattr_value(usb, "idVendor"), vendor) &&
            ParseHex(udev_device_get_sysattr_value(usb, "idProduct"), product))
            return true;
    }
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr)) {
        if (ParseHidId(udev_device_get_property_value(hid, "HID_ID"), vendor, product)) return true;
    }
    return false;
}

std::string OrEmpty(const char* s) { return s ? std::string(s) : std::string(); }

// The state of one monitor (DeviceMonitor::Impl is this; the live list needs a name for it).
struct MonitorCore {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    DeviceChangeHandler handler;

    int epollFd = -1;
    int eventFd = -1;
    udev* ctx = nullptr;
    udev_monitor* monitor = nullptr;

    std::mutex queueMutex;          // guards queue (PostDeviceNotice runs on any thread)
    std::deque<Notice> queue;

    // Matching hidraw devices seen so far: syspath -> sysname, devnode -> sysname. On removal
    // the parents' attributes may be unreadable, so removal is recognised from these.
    std::map<std::string, std::string> knownSyspaths;
    std::map<std::string, std::string> knownDevnodes;

    bool Ok() const { return epollFd >= 0 && eventFd >= 0; }

    bool Matches(udev_device* dev) const {
        unsigned long v = 0, p = 0;
        return DeviceIds(dev, v, p) && v == vendorId && p == productId;
    }

    void Remember(udev_device* dev) {
        std::string sysname = OrEmpty(udev_device_get_sysname(dev));
        if (const char* sp = udev_device_get_syspath(dev)) knownSyspaths[sp] = sysname;
        if (const char* dn = udev_device_get_devnode(dev)) knownDevnodes[dn] = sysname;
    }

    // True (and forgets it) when the device was a known matching one.
    bool Forget(udev_device* dev) {
        bool known = false;
        if (const char* sp = udev_device_get_syspath(dev)) known |= knownSyspaths.erase(sp) > 0;
        if (const char* dn = udev_device_get_devnode(dev)) known |= knownDevnodes.erase(dn) > 0;
        return known;
    }

    void StartUdev() {
        ctx = udev_new();
        if (!ctx) return;
        monitor = udev_monitor_new_from_netlink(ctx, "udev");
        if (monitor) {
            bool ok = udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) >= 0 &&
                      udev_monitor_enable_receiving(monitor) >= 0;
            int fd = ok ? udev_monitor_get_fd(monitor) : -1;
            if (fd >= 0) {
                epoll_event ev{};
                ev.events = EPOLLIN;
                ev.data.fd = fd;
                ok = epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &ev) == 0;
            } else {
                ok = false;
            }
            if (!ok) monitor = udev_monitor_unref(monitor);
        }
        // The boards present now (after the monitor is listening, so none slips between).
        if (udev_enumerate* en = udev_enumerate_new(ctx)) {
            if (udev_enumerate_add_match_subsystem(en, "hidraw") >= 0 && udev_enumerate_scan_devices(en) >= 0) {
                udev_list_entry* entry;
                udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en)) {
                    const char* syspath = udev_list_entry_get_name(entry);
                    if (!syspath) continue;
                    if (udev_device* dev = udev_device_new_from_syspath(ctx, syspath)) {
                        if (Matches(dev)) Remember(dev);
                        udev_device_unref(dev);
                    }
                }
            }
            udev_enumerate_unref(en);
        }
    }

    // Turns one udev event into a notice (or nothing).
    void Translate(udev_device* dev, std::vector<Notice>& out) {
        const char* action = udev_device_get_action(dev);
        if (!action) return;
        std::string sysname = OrEmpty(udev_device_get_sysname(dev));
        if (std::strcmp(action, "add") == 0) {
            if (!Matches(dev)) return;
            Remember(dev);
            out.push_back({true, DeviceMonitor::DevicePath(vendorId, productId, sysname)});
        } else if (std::strcmp(action, "remove") == 0) {
            bool known = Forget(dev);
            if (!known) known = Matches(dev);  // the HID parent may still be readable
            if (known) out.push_back({false, DeviceMonitor::DevicePath(vendorId, productId, sysname)});
        }
    }

    void Post(bool arrival, const std::string& path) {
        {
            std::lock_guard<std::mutex> lock(queueMutex);
            queue.push_back({arrival, path});
        }
        uint64_t one = 1;
        ssize_t n;
        do {
            n = write(eventFd, &one, sizeof one);
        } while (n < 0 && errno == EINTR);
    }
};

// Every live monitor, for PostDeviceNotice.
struct MonitorList {
    std::mutex m;
    std::vector<MonitorCore*> live;
};

MonitorList& Monitors() {
    static MonitorList* l = new MonitorList;  // never destroyed
    return *l;
}

}  // namespace

struct DeviceMonitor::Impl : MonitorCore {};

DeviceMonitor::DeviceMonitor(uint16_t vendorId, uint16_t productId, DeviceChangeHandler handler)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.vendorId = vendorId;
    d.productId = productId;
    d.handler = std::move(handler);
    d.eventFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    d.epollFd = epoll_create1(EPOLL_CLOEXEC);
    if (d.eventFd >= 0 && d.epollFd >= 0) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = d.eventFd;
        if (epoll_ctl(d.epollFd, EPOLL_CTL_ADD, d.eventFd, &ev) != 0) {
            close(d.epollFd);
            d.epollFd = -1;
        }
    }
    if (!d.Ok()) {
        if (d.eventFd >= 0) close(d.eventFd);
        if (d.epollFd >= 0) close(d.epollFd);
        d.eventFd = d.epollFd = -1;
        return;
    }
    d.StartUdev();  // udev's part is optional: the synthetic channel works without it
    auto& list = Monitors();
    std::lock_guard<std::mutex> lock(list.m);
    list.live.push_back(impl_.get());
}

DeviceMonitor::~DeviceMonitor() {
    Impl& d = *impl_;
    {
        auto& list = Monitors();
        std::lock_guard<std::mutex> lock(list.m);
        list.live.erase(std::remove(list.live.begin(), list.live.end(), impl_.get()), list.live.end());
    }
    if (d.monitor) udev_monitor_unref(d.monitor);
    if (d.ctx) udev_unref(d.ctx);
    if (d.eventFd >= 0) close(d.eventFd);
    if (d.epollFd >= 0) close(d.epollFd);
}

bool DeviceMonitor::Ok() const { return impl_->Ok(); }

int DeviceMonitor::fd() const { return impl_->Ok() ? impl_->epollFd : -1; }

void DeviceMonitor::Dispatch() {
    Impl& d = *impl_;
    if (!d.Ok()) return;
    std::vector<Notice> notices;
    // Clear the wake-up first: a notice posted after this point writes it again.
    uint64_t count;
    while (read(d.eventFd, &count, sizeof count) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard<std::mutex> lock(d.queueMutex);
        notices.assign(std::make_move_iterator(d.queue.begin()), std::make_move_iterator(d.queue.end()));
        d.queue.clear();
    }
    if (d.monitor) {
        // The monitor's socket is non-blocking: this returns null once nothing is pending.
        while (udev_device* dev = udev_monitor_receive_device(d.monitor)) {
            d.Translate(dev, notices);
            udev_device_unref(dev);
        }
    }
    if (!d.handler) return;
    for (const Notice& n : notices)
        d.handler(WM_DEVICECHANGE, n.arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, n.path);
}

std::string DeviceMonitor::DevicePath(uint16_t vendorId, uint16_t productId, const std::string& instance) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\\\\?\\HID#VID_%04X&PID_%04X#", static_cast<unsigned>(vendorId),
                  static_cast<unsigned>(productId));
    return buf + instance;
}

void PostDeviceNotice(bool arrival, uint16_t vendorId, uint16_t productId, const std::string& instance) {
    const std::string path = DeviceMonitor::DevicePath(vendorId, productId, instance);
    auto& list = Monitors();
    std::lock_guard<std::mutex> lock(list.m);
    for (MonitorCore* d : list.live) {
        if (d->vendorId == vendorId && d->productId == productId) d->Post(arrival, path);
    }
}

}  // namespace os
