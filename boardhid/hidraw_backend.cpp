#include "boardhid/hidraw_backend.h"

#include <chrono>
#include <cstring>

#include "boardhid/boardhid.h"
#include "boardhid/input_reports.h"
#include "boardhid/protocol.h"
#include "oslayer/os.h"

namespace boardhid {

HidrawBackend::HidrawBackend(std::unique_ptr<HidApi> api, InputReports& reports, HidrawOptions options)
    : api_(std::move(api)), reports_(reports), options_(options) {}

HidrawBackend::~HidrawBackend() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
}

bool HidrawBackend::Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (device_ && !lost_) return true;
    CloseLocked();  // a device that failed is dropped before the board is opened anew

    // On the clock every wait reads, so a replaced sleeper (tests) counts the attempts exactly.
    const auto deadline = os::Now() + std::chrono::milliseconds(options_.openRetryMs);
    std::unique_ptr<HidDevice> device;
    for (;;) {
        if (!api_->Present(BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID)) return false;
        device = api_->Open(BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID);
        if (device) break;
        if (os::Now() >= deadline) return false;
        os::Sleep(options_.openRetryStepMs);
    }
    device_ = std::move(device);
    lost_ = false;
    expectedReply_ = 0;
    running_ = true;
    reader_ = std::thread(&HidrawBackend::ReaderLoop, this, device_.get());
    return true;
}

void HidrawBackend::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
}

void HidrawBackend::CloseLocked() {
    running_ = false;
    if (reader_.joinable()) reader_.join();
    device_.reset();
    lost_ = false;
}

bool HidrawBackend::IsPlugged() {
    if (lost_) return false;
    return api_->Present(BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID);
}

bool HidrawBackend::Send(const uint8_t* report, int size) {
    if (report == nullptr || size < 1 || size > kReportSize) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!device_ || lost_) return false;
    uint8_t buffer[1 + kReportSize] = {};  // report id 0, then the report padded to 64 bytes
    std::memcpy(buffer + 1, report, static_cast<size_t>(size));
    // Set before writing: the reply may arrive before the write returns.
    if (const int expected = ExpectedReplyLength(report, size); expected > 0) expectedReply_ = expected;
    return device_->Write(buffer, sizeof buffer) == static_cast<int>(sizeof buffer);
}

void HidrawBackend::ReaderLoop(HidDevice* device) {
    uint8_t buffer[kReportSize];
    while (running_) {
        const int n = device->Read(buffer, sizeof buffer, options_.readTimeoutMs);
        if (n < 0) {
            lost_ = true;  // unplugged: reported as not plugged until closed or reopened
            return;
        }
        if (n == 0) continue;
        const int expected = expectedReply_.exchange(0);
        int length = n > kReportSize ? kReportSize : n;
        if (length == kReportSize && expected > 0) length = expected;
        reports_.Push(buffer, static_cast<size_t>(length), length);
    }
}

}  // namespace boardhid
