// HidApi over hidapi's hidraw backend.
#include <hidapi.h>

#include "boardhid/hidraw_backend.h"

namespace boardhid {

namespace {

class HidapiDevice final : public HidDevice {
public:
    explicit HidapiDevice(hid_device* device) : device_(device) {}
    ~HidapiDevice() override { hid_close(device_); }
    int Write(const uint8_t* data, size_t size) override { return hid_write(device_, data, size); }
    int Read(uint8_t* data, size_t size, int timeoutMs) override {
        return hid_read_timeout(device_, data, size, timeoutMs);
    }

private:
    hid_device* device_;
};

class Hidapi final : public HidApi {
public:
    Hidapi() : ok_(hid_init() == 0) {}
    ~Hidapi() override {
        if (ok_) hid_exit();
    }

    bool Present(uint16_t vendorId, uint16_t productId) override {
        if (!ok_) return false;
        hid_device_info* list = hid_enumerate(vendorId, productId);
        const bool found = list != nullptr;
        hid_free_enumeration(list);
        return found;
    }

    std::unique_ptr<HidDevice> Open(uint16_t vendorId, uint16_t productId) override {
        if (!ok_) return nullptr;
        hid_device_info* list = hid_enumerate(vendorId, productId);
        hid_device* device = nullptr;
        for (hid_device_info* d = list; d != nullptr && device == nullptr; d = d->next)
            if (d->path != nullptr) device = hid_open_path(d->path);
        hid_free_enumeration(list);
        if (device == nullptr) return nullptr;
        return std::make_unique<HidapiDevice>(device);
    }

private:
    bool ok_;
};

}  // namespace

std::unique_ptr<HidApi> MakeHidapi() { return std::make_unique<Hidapi>(); }

}  // namespace boardhid
