#include "shell/devchange.h"

#include <memory>
#include <strings.h>

#include "boardhid/boardhid.h"
#include "device/device_services.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/modes.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

WindowProc OrigProc;

namespace {

constexpr size_t kPathPrefixLength = 4;  // "\\?\"
constexpr const char kBoardInterfaceName[] = "HID#VID_B7C4&PID_9A2E";
constexpr size_t kBoardInterfaceLength = sizeof kBoardInterfaceName - 1;  // 21

// USBpresent after a removal.
constexpr int kUsbRemoved = -11;

// The window the notices are delivered for (the main panel).
int notifiedWindow = 0;

void SetMainLed(int control, int on) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, control, on);
}

void BoardArrived() {
    VPEusbAttach();
    USBpresent = USBInit();
    ApplyModeOfPluggedInBoard();
}

// Every model choice is offered again. Nothing is written: there is no chip to take it, and the
// register copy keeps what the chip last had.
void BoardRemoved() {
    ReleaseUSB();
    USBpresent = kUsbRemoved;
    VPEusbRemove();
    CheckDeviceID(-1);
}

}  // namespace

void BoardDisconnected() { BoardRemoved(); }

bool IsBoardDevicePath(const std::string& devicePath) {
    if (devicePath.size() < kPathPrefixLength + kBoardInterfaceLength) return false;
    return strncasecmp(devicePath.c_str() + kPathPrefixLength, kBoardInterfaceName, kBoardInterfaceLength) == 0;
}

int VPEwinProc(int window, unsigned message, unsigned wParam, const std::string& devicePath) {
    if (message == os::WM_DEVICECHANGE &&
        (wParam == os::DBT_DEVICEARRIVAL || wParam == os::DBT_DEVICEREMOVECOMPLETE) &&
        IsBoardDevicePath(devicePath)) {
        if (wParam == os::DBT_DEVICEARRIVAL)
            BoardArrived();
        else
            BoardRemoved();
        return 0;
    }
    return OrigProc ? OrigProc(window, message, wParam, devicePath) : 0;
}

void VPEusbAttach() {
    SetMainLed(PANEL_LDevAttached, 1);
    DeviceAttached = 1;
}

void VPEusbRemove() {
    SetMainLed(PANEL_LDevAttached, 0);
    SetMainLed(PANEL_LPowerUp, 0);
    SetMainLed(PANEL_LRefresh, 0);
    DeviceAttached = 0;
    PoweredUp = 0;
}

int RegisterForDevChange(int window, os::DeviceMonitor** notificationHandleOut) {
    // Kept for the life of the process: the event loop watches its descriptor from the first
    // registration on, and there is no way to stop watching it.
    static std::unique_ptr<os::DeviceMonitor> monitor;
    static bool watched = false;
    notifiedWindow = window;
    if (!monitor) {
        monitor = std::make_unique<os::DeviceMonitor>(
            static_cast<uint16_t>(BOARDHID_VENDOR_ID), static_cast<uint16_t>(BOARDHID_PRODUCT_ID),
            [](unsigned message, unsigned eventCode, const std::string& path) {
                VPEwinProc(notifiedWindow, message, eventCode, path);
            });
    }
    if (!watched && monitor->Ok()) {
        os::DeviceMonitor* m = monitor.get();
        watched = rt::WatchFd(m->fd(), [m] { m->Dispatch(); }) >= 0;
    }
    if (notificationHandleOut) *notificationHandleOut = monitor.get();
    return watched ? 1 : 0;
}
