// Loads libboardhid.so by name, as the program does, and binds its nine operations.
#pragma once

#include <string>
#include <type_traits>

#include "boardhid/boardhid.h"
#include "oslayer/os.h"

namespace boardhid_test {

struct BoardLibrary {
    os::LibraryHandle handle = nullptr;
    OpenDeviceFn OpenDevice = nullptr;
    StartDevDetectionFn StartDevDetection = nullptr;
    StopDevDetectionFn StopDevDetection = nullptr;
    CloseDeviceFn CloseDevice = nullptr;
    IsDevicePluggedFn IsDevicePlugged = nullptr;
    HandleDeviceChangeFn HandleDeviceChange = nullptr;
    SendDataFn SendData = nullptr;
    GetDataLengthFn GetDataLength = nullptr;
    GetDataFn GetData = nullptr;

    // Empty when loaded and all nine are bound; else what is missing.
    std::string Load() {
        handle = os::LoadLibrary("libboardhid.so");
        if (handle == nullptr) return "libboardhid.so not loaded";
        std::string missing;
        auto bind = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(os::GetProcAddress(handle, name));
            if (slot == nullptr) missing += std::string(missing.empty() ? "" : ", ") + name;
        };
        bind(OpenDevice, "OpenDevice");
        bind(StartDevDetection, "StartDevDetection");
        bind(StopDevDetection, "StopDevDetection");
        bind(CloseDevice, "CloseDevice");
        bind(IsDevicePlugged, "IsDevicePlugged");
        bind(HandleDeviceChange, "HandleDeviceChange");
        bind(SendData, "SendData");
        bind(GetDataLength, "GetDataLength");
        bind(GetData, "GetData");
        return missing.empty() ? std::string() : "not exported: " + missing;
    }
};

}  // namespace boardhid_test
