// Board arrival and removal: the main window's device-change procedure and the notices that
// feed it.
#pragma once

#include <functional>
#include <string>

namespace os { class DeviceMonitor; }

// The form of a window procedure here: (window, message, event code, device path) -> result.
// The device path stands where the platform passed a pointer to its device-interface record.
using WindowProc = std::function<int(int window, unsigned message, unsigned wParam, const std::string& devicePath)>;

// What VPEwinProc hands on for every message it does not act on (tests install a recorder).
// Empty: such messages are dropped with result 0.
extern WindowProc OrigProc;

// Arrival (0x8000) and removal (0x8004) notices of the board (device-change message 0x219)
// attach or release the board; everything else goes to OrigProc unchanged.
int VPEwinProc(int window, unsigned message, unsigned wParam, const std::string& devicePath);

// True when the 21 characters after the 4-character path prefix name the board's vendor and
// product ("HID#VID_B7C4&PID_9A2E"), in any letter case.
bool IsBoardDevicePath(const std::string& devicePath);

// The device link found the board gone under a transfer: released and shown absent at once, as
// its removal notice (which may wait for the running operation) would; the notice that follows
// changes nothing more.
void BoardDisconnected();

// LED "Device Attached" on; DeviceAttached 1.
void VPEusbAttach();
// LEDs "Device Attached", "Power Up" and "Refresh" off; DeviceAttached and PoweredUp 0.
void VPEusbRemove();

// Starts watching the board's arrival and removal (vendor 0xB7C4, product 0x9A2E) for
// `window`: each notice reaches VPEwinProc on the user-interface thread. One watcher serves the
// whole process; later calls reuse it. Returns 1 when notices can be delivered, else 0, and
// stores the watcher in *notificationHandleOut when that is not null.
int RegisterForDevChange(int window, os::DeviceMonitor** notificationHandleOut);
