// The emulated evaluation board: bridge firmware, bridge registers and the codec's register
// file, answering every command the way the board does.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "boardhid/backend.h"
#include "boardhid/emulator_control.h"
#include "boardhid/protocol.h"

namespace boardhid {

class InputReports;

class EmulatorBackend final : public Backend, public EmulatedBoard {
public:
    static constexpr uint16_t kDefaultId62 = 0xFD;
    static constexpr uint16_t kDefaultId95 = 0x1A;     // a chip that needs no audio-id probe
    static constexpr uint16_t kUnconfirmedId95 = 0x00;  // today's chips: start-up probes them
    static constexpr const char kFirmwareText[] = "codecbench emulator";  // + NUL = 20 bytes
    static_assert(sizeof kFirmwareText == kFirmwareDateLength);

    explicit EmulatorBackend(InputReports& reports);
    ~EmulatorBackend() override;

    // Backend
    bool Open() override;
    void Close() override;
    bool IsPlugged() override;
    bool Send(const uint8_t* report, int size) override;

    // EmulatedBoard
    void Reset() override;
    void Plug() override;
    void Unplug() override;
    bool IsOpen() const override;
    uint16_t CodecRegister(int reg) const override;
    void SetCodecRegister(int reg, uint16_t value) override;
    void SetSoftwareResetRegister(int reg) override;
    void SetIdentity(uint16_t reg62, uint16_t reg95) override;
    uint8_t BridgeRegister(int address) const override;
    void SetBridgeRegister(int address, uint8_t value) override;
    std::vector<uint8_t> BoardConfigWord() const override;
    std::vector<uint8_t> RoutingCommands() const override;
    std::vector<std::vector<uint8_t>> ReceivedReports() const override;
    void ClearReceivedReports() override;
    std::vector<std::vector<uint8_t>> SentReplies() const override;
    void SetFaults(const FaultPlan& plan) override;
    FaultPlan Faults() const override;
    void SetReplyDelayMs(int ms) override;
    std::string FirmwareDate() const override;

    // The board as the environment describes it, read once when the library is loaded and
    // applied then and at every Reset() (emulator_env.cpp):
    //   BOARDHID_EMULATOR_CHIP=stereo|mono   identity register 62: 0xFD (default) or 0xFE
    //   BOARDHID_EMULATOR_AUDIOID=confirmed|unconfirmed
    //                                        identity register 95: 0x1A (default) or 0x00
    //   BOARDHID_EMULATOR_FAULT=KIND         drop, short, long, badlength, failsend, unplug,
    //                                        refuseopen or absent (none by default)
    //   BOARDHID_EMULATOR_FAULT_AFTER=N      the fault starts after N good replies (drop, short,
    //                                        long, badlength) or N good sends (failsend, unplug);
    //                                        default 0
    //   BOARDHID_EMULATOR_FAULT_COUNT=N      how many replies or sends it spoils (default 1)
    struct EnvironmentSettings {
        uint16_t id62 = kDefaultId62;
        uint16_t id95 = kDefaultId95;
        std::string fault;  // empty: none
        int after = 0;
        int count = 1;
    };
    static EnvironmentSettings ReadEnvironment();

private:
    using Clock = std::chrono::steady_clock;
    void ApplyEnvironmentLocked();
    struct PendingReply {
        Clock::time_point due;
        std::vector<uint8_t> data;
        int announced;
    };

    void ResetLocked();
    void ResetRegistersLocked();
    void CloseLocked();
    std::optional<std::vector<uint8_t>> AnswerLocked(const uint8_t* report, int size);
    std::vector<uint8_t> CodecPairLocked(int reg) const;
    void WritePairLocked(uint8_t first, uint8_t second);
    bool IsSoftwareResetLocked(int reg) const;
    void ScheduleReplyLocked(std::vector<uint8_t> reply);
    void Worker();

    InputReports& reports_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<PendingReply> replies_;  // made pending by the worker when due
    bool stopping_ = false;

    bool plugged_ = true;
    bool open_ = false;
    std::array<uint16_t, kCodecRegisterCount> regs_{};
    uint16_t id62_ = kDefaultId62;
    uint16_t id95_ = kDefaultId95;
    int resetRegister_ = 0;
    std::vector<uint8_t> bridge_;
    std::vector<uint8_t> configWord_;
    std::vector<uint8_t> routing_;
    std::vector<std::vector<uint8_t>> received_;
    std::vector<std::vector<uint8_t>> sent_;
    FaultPlan faults_;
    int replyDelayMs_ = 1;
    EnvironmentSettings environment_ = ReadEnvironment();

    int workProbe_ = 0;
    std::thread worker_;  // last: started once everything above exists
};

}  // namespace boardhid
