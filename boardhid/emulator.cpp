#include "boardhid/emulator.h"

#include <algorithm>
#include <cstring>

#include "boardhid/boardhid.h"
#include "boardhid/input_reports.h"

namespace boardhid {

namespace {

constexpr const char* kNoticeInstance = "emulator";

bool InBridgeWindow(int address) { return address >= kBridgeFirst && address <= kBridgeLast; }

}  // namespace

EmulatorBackend::EmulatorBackend(InputReports& reports)
    : reports_(reports), bridge_(kBridgeLast - kBridgeFirst + 1, 0) {
    ResetRegistersLocked();
    ApplyEnvironmentLocked();
    worker_ = std::thread(&EmulatorBackend::Worker, this);
    // A reply owed is work under way: under the tests' clock a wait for it does not run out
    // however slowly it comes.
    workProbe_ = os::AddWorkProbe([this] {
        std::lock_guard<std::mutex> lock(mutex_);
        return !replies_.empty();
    });
}

EmulatorBackend::~EmulatorBackend() {
    os::RemoveWorkProbe(workProbe_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

// ---- the board's side of the USB link ----------------------------------------------------

bool EmulatorBackend::Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!plugged_ || faults_.refuseOpen) return false;
    open_ = true;
    return true;
}

void EmulatorBackend::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
}

void EmulatorBackend::CloseLocked() {
    open_ = false;
    replies_.clear();
    reports_.Clear();
}

bool EmulatorBackend::IsPlugged() {
    std::lock_guard<std::mutex> lock(mutex_);
    return plugged_;
}

bool EmulatorBackend::Send(const uint8_t* report, int size) {
    if (report == nullptr || size < 1 || size > kReportSize) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) return false;
        const bool sendFaultDue = faults_.faultAfterSends == 0;
        if (!sendFaultDue) --faults_.faultAfterSends;  // this one still arrives
        if (sendFaultDue && faults_.failSends > 0) {
            --faults_.failSends;
            return false;
        }
        if (!sendFaultDue || !faults_.unplugOnNextSend) {
            received_.emplace_back(report, report + size);
            if (auto reply = AnswerLocked(report, size)) ScheduleReplyLocked(std::move(*reply));
            return true;
        }
        // The board goes away while the report is on its way: it never arrives.
        faults_.unplugOnNextSend = false;
        plugged_ = false;
        CloseLocked();
    }
    os::PostDeviceNotice(false, BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID, kNoticeInstance);
    return false;
}

// ---- the firmware ------------------------------------------------------------------------

std::optional<std::vector<uint8_t>> EmulatorBackend::AnswerLocked(const uint8_t* report, int size) {
    if (size < kHeaderSize) return std::nullopt;  // no header: the firmware drops it
    const uint8_t command = report[0];
    const int length = (report[1] << 8) | report[2];
    if (length > size - kHeaderSize) return std::nullopt;  // payload shorter than announced
    const uint8_t* payload = report + kHeaderSize;

    uint8_t mode = 0, code = 0;
    if (DecodeCodecCommand(command, &mode, &code)) {
        const bool canRead = mode != kMode3WireSpi;  // 3-wire SPI has no data line back
        std::vector<uint8_t> reply;
        auto appendPairs = [&](int first, int last) {
            for (int r = first; r <= last; ++r) {
                const auto pair = CodecPairLocked(r);
                reply.insert(reply.end(), pair.begin(), pair.end());
            }
        };
        switch (code) {
            case kCodecReadOne:
                if (!canRead || length < 1) return std::nullopt;
                return CodecPairLocked(payload[0]);
            case kCodecReadBlock1:
                if (!canRead) return std::nullopt;
                appendPairs(1, 24);
                return reply;
            case kCodecReadBlock2:
                if (!canRead) return std::nullopt;
                appendPairs(25, 48);
                return reply;
            case kCodecReadBlock3:
                if (!canRead) return std::nullopt;
                appendPairs(49, 63);
                return reply;
            case kCodecWriteOne:
                if (length >= 2) WritePairLocked(payload[0], payload[1]);
                return std::nullopt;
            default:  // block writes: each pair goes to the register it names
                for (int i = 0; i + 1 < length; i += 2) WritePairLocked(payload[i], payload[i + 1]);
                return std::nullopt;
        }
    }

    switch (command) {
        case kFirmwareDate:
            return std::vector<uint8_t>(kFirmwareText, kFirmwareText + kFirmwareDateLength);
        case kBridgeRead: {
            if (length < 2) return std::nullopt;
            const int address = (payload[0] << 8) | payload[1];
            return std::vector<uint8_t>{InBridgeWindow(address) ? bridge_[address - kBridgeFirst] : uint8_t{0}};
        }
        case kBridgeWrite:
            if (length >= 3) {
                const int address = (payload[0] << 8) | payload[1];
                if (InBridgeWindow(address)) bridge_[address - kBridgeFirst] = payload[2];
            }
            return std::nullopt;
        case kBridgeMaskedWrite:
            if (length >= 4) {
                const int address = (payload[0] << 8) | payload[1];
                if (InBridgeWindow(address)) {
                    uint8_t& value = bridge_[address - kBridgeFirst];
                    const uint8_t keep = payload[2];
                    value = static_cast<uint8_t>((value & keep) | (payload[3] & ~keep));
                }
            }
            return std::nullopt;
        case kBoardConfigWord:
            configWord_.assign(payload, payload + length);
            return std::nullopt;
        default:
            if (command >= kRouteFirst && command <= kRouteLast) routing_.push_back(command);
            return std::nullopt;  // anything else is ignored by the firmware
    }
}

std::vector<uint8_t> EmulatorBackend::CodecPairLocked(int reg) const {
    const uint16_t value = reg >= 0 && reg < kCodecRegisterCount ? regs_[static_cast<size_t>(reg)] : 0;
    return {static_cast<uint8_t>(((reg << 1) | (value >> 8)) & 0xFF), static_cast<uint8_t>(value & 0xFF)};
}

void EmulatorBackend::WritePairLocked(uint8_t first, uint8_t second) {
    const int reg = first >> 1;
    const uint16_t value = static_cast<uint16_t>(((first & 1) << 8) | second);
    if (IsSoftwareResetLocked(reg)) {
        ResetRegistersLocked();  // software reset
    } else if (reg != 62 && reg != 95) {  // the identity registers are read-only
        regs_[static_cast<size_t>(reg)] = value;
    }
}

// The chip resets on a write of its software-reset register (register 0, Zutb register 15).
bool EmulatorBackend::IsSoftwareResetLocked(int reg) const { return reg == resetRegister_; }

void EmulatorBackend::ResetRegistersLocked() {
    regs_.fill(0);
    std::copy(std::begin(kCodecStartValues), std::end(kCodecStartValues), regs_.begin());
    regs_[62] = id62_;
    regs_[95] = id95_;
}

void EmulatorBackend::ScheduleReplyLocked(std::vector<uint8_t> reply) {
    int announced = static_cast<int>(reply.size());
    if (faults_.faultAfterReplies > 0) {
        --faults_.faultAfterReplies;  // this one still goes out as it should
    } else {
        if (faults_.dropReplies > 0) {
            --faults_.dropReplies;
            return;
        }
        if (faults_.shortReplies > 0) {
            --faults_.shortReplies;
            if (!reply.empty()) reply.pop_back();
        }
        if (faults_.longReplies > 0) {
            --faults_.longReplies;
            reply.push_back(0xEE);
        }
        announced = static_cast<int>(reply.size());
        if (faults_.badLengthReports > 0) {
            --faults_.badLengthReports;
            announced = 0;
        }
    }
    replies_.push_back(PendingReply{Clock::now() + std::chrono::milliseconds(replyDelayMs_),
                                    std::move(reply), announced});
    wake_.notify_all();
}

void EmulatorBackend::Worker() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (replies_.empty()) {
            wake_.wait(lock);
            continue;
        }
        if (Clock::now() < replies_.front().due) {
            wake_.wait_until(lock, replies_.front().due);
            continue;
        }
        PendingReply reply = std::move(replies_.front());
        replies_.pop_front();
        // Pushed under the board's lock, so a close or unplug cannot let a stale reply through.
        if (open_) {
            sent_.push_back(reply.data);
            reports_.Push(reply.data.data(), reply.data.size(), reply.announced);
        }
    }
}

// ---- test control ------------------------------------------------------------------------

void EmulatorBackend::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    ResetLocked();
}

void EmulatorBackend::ResetLocked() {
    CloseLocked();
    plugged_ = true;
    id62_ = kDefaultId62;
    id95_ = kDefaultId95;
    resetRegister_ = 0;
    ResetRegistersLocked();
    std::fill(bridge_.begin(), bridge_.end(), 0);
    configWord_.clear();
    routing_.clear();
    received_.clear();
    sent_.clear();
    faults_ = FaultPlan{};
    replyDelayMs_ = 1;
    ApplyEnvironmentLocked();
}

void EmulatorBackend::Plug() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (plugged_) return;
        plugged_ = true;
    }
    os::PostDeviceNotice(true, BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID, kNoticeInstance);
}

void EmulatorBackend::Unplug() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!plugged_) return;
        plugged_ = false;
        CloseLocked();
    }
    os::PostDeviceNotice(false, BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID, kNoticeInstance);
}

bool EmulatorBackend::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

uint16_t EmulatorBackend::CodecRegister(int reg) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reg >= 0 && reg < kCodecRegisterCount ? regs_[static_cast<size_t>(reg)] : 0;
}

void EmulatorBackend::SetCodecRegister(int reg, uint16_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (reg >= 0 && reg < kCodecRegisterCount) regs_[static_cast<size_t>(reg)] = value & 0x1FF;
}

void EmulatorBackend::SetSoftwareResetRegister(int reg) {
    std::lock_guard<std::mutex> lock(mutex_);
    resetRegister_ = reg;
}

void EmulatorBackend::SetIdentity(uint16_t reg62, uint16_t reg95) {
    std::lock_guard<std::mutex> lock(mutex_);
    id62_ = reg62 & 0x1FF;
    id95_ = reg95 & 0x1FF;
    regs_[62] = id62_;
    regs_[95] = id95_;
}

uint8_t EmulatorBackend::BridgeRegister(int address) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return InBridgeWindow(address) ? bridge_[static_cast<size_t>(address - kBridgeFirst)] : 0;
}

void EmulatorBackend::SetBridgeRegister(int address, uint8_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (InBridgeWindow(address)) bridge_[static_cast<size_t>(address - kBridgeFirst)] = value;
}

std::vector<uint8_t> EmulatorBackend::BoardConfigWord() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return configWord_;
}

std::vector<uint8_t> EmulatorBackend::RoutingCommands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return routing_;
}

std::vector<std::vector<uint8_t>> EmulatorBackend::ReceivedReports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void EmulatorBackend::ClearReceivedReports() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

std::vector<std::vector<uint8_t>> EmulatorBackend::SentReplies() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
}

void EmulatorBackend::SetFaults(const FaultPlan& plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = plan;
}

FaultPlan EmulatorBackend::Faults() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_;
}

void EmulatorBackend::SetReplyDelayMs(int ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    replyDelayMs_ = std::max(0, ms);
}

std::string EmulatorBackend::FirmwareDate() const {
    return std::string(kFirmwareText, kFirmwareText + kFirmwareDateLength);
}

}  // namespace boardhid
