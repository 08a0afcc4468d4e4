// The real board over hidraw, through hidapi.
//
// The hidapi calls sit behind HidApi/HidDevice so that the framing and the reader thread can
// be exercised with a fake device.
//
// Framing: an output report goes out as report id 0 followed by the report, padded with zeros
// to 64 bytes. An input report carries the reply without header. A short read is taken at its
// length; a full 64-byte read is a padded reply, whose length is the reply length of the last
// request that expects one (a register read 2, block reads 48 or 30, bridge read 1, firmware
// date 20), or 64 when no such request is outstanding.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "boardhid/backend.h"

namespace boardhid {

class InputReports;

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Writes one output report, report-id byte first; bytes written or -1.
    virtual int Write(const uint8_t* data, size_t size) = 0;
    // Reads one input report; bytes read, 0 on time-out, -1 when the device failed (gone).
    virtual int Read(uint8_t* data, size_t size, int timeoutMs) = 0;
};

class HidApi {
public:
    virtual ~HidApi() = default;
    // True when a device with these ids is enumerated.
    virtual bool Present(uint16_t vendorId, uint16_t productId) = 0;
    // Opens the first such device; null on failure.
    virtual std::unique_ptr<HidDevice> Open(uint16_t vendorId, uint16_t productId) = 0;
};

// hidapi's hidraw backend (defined in the shared library only).
std::unique_ptr<HidApi> MakeHidapi();

struct HidrawOptions {
    // After an arrival udev may not yet have given the node its permissions: an open that
    // fails while the board is enumerated is retried for this long.
    int openRetryMs = 1000;
    int openRetryStepMs = 100;
    // The reader wakes this often to see whether it must stop.
    int readTimeoutMs = 50;
};

class HidrawBackend final : public Backend {
public:
    HidrawBackend(std::unique_ptr<HidApi> api, InputReports& reports, HidrawOptions options = {});
    ~HidrawBackend() override;

    bool Open() override;
    void Close() override;
    bool IsPlugged() override;
    bool Send(const uint8_t* report, int size) override;

private:
    void CloseLocked();
    void ReaderLoop(HidDevice* device);

    std::unique_ptr<HidApi> api_;
    InputReports& reports_;
    const HidrawOptions options_;
    std::mutex mutex_;  // guards device_ and reader_
    std::unique_ptr<HidDevice> device_;
    std::thread reader_;
    std::atomic<bool> running_{false};
    std::atomic<bool> lost_{false};          // the open device failed: the board is gone
    std::atomic<int> expectedReply_{0};      // reply length of the last request expecting one
};

}  // namespace boardhid
