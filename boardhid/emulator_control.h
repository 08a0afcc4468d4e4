// Test-side control of the emulated evaluation board inside libboardhid.so.
//
// The library exports only its nine board operations; with BOARDHID_BACKEND=emulator it
// publishes one EmulatedBoard object in the process-wide service registry under
// kEmulatedBoardService when the library is loaded (so before any of its operations is
// called), and tests reach it with FindEmulatedBoard(). The program never uses this header.
//
// The board answers each command as the real one does and sends no report where none is due.
// Codec reads over 3-wire SPI (command bits 0x40) get no reply: that bus has no data line back.
// Bridge addresses outside 0x1440 to 0x1FFF read as 0 (a reply is still sent) and ignore
// writes and masked writes. Replies become pending from a worker thread after the reply delay.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "oslayer/os.h"

namespace boardhid {

inline constexpr const char* kEmulatedBoardService = "boardhid.emulator";

// How the emulated board misbehaves on the next replies or sends (tests set and clear these).
struct FaultPlan {
    int dropReplies = 0;      // the next N commands that expect a reply get none
    int shortReplies = 0;     // the next N replies lose their last byte
    int longReplies = 0;      // the next N replies carry one extra byte (0xEE)
    int failSends = 0;        // the next N SendData calls return 0 and are not received
    bool refuseOpen = false;  // OpenDevice returns 0
    bool unplugOnNextSend = false;  // the next SendData unplugs the board mid-transfer
    int badLengthReports = 0;  // the next N replies announce a length of 0 (not fetchable)
    // The reply faults above (drop, short, long, bad length) start only after this many
    // replies have gone out normally, so a test can spoil the third reply of a sequence.
    int faultAfterReplies = 0;
    // The send faults (failed sends, unplug on send) start only after this many sends have been
    // received normally, so a test can refuse a send in the middle of a sequence that gets no
    // replies (a power-up).
    int faultAfterSends = 0;
};

// One send refused after `goodSends` sends went through: the fault most tests of a stopped
// operation need.
inline FaultPlan RefuseOneSend(int goodSends = 0) {
    FaultPlan plan;
    plan.faultAfterSends = goodSends;
    plan.failSends = 1;
    return plan;
}

class EmulatedBoard {
public:
    virtual ~EmulatedBoard() = default;

    // Back to the start state: plugged, closed, nothing pending, registers at their start
    // values, bridge registers 0, nothing received, no faults, reply delay 1 ms, identity
    // 0xFD / 0x1A: a stereo chip (62 = 0xFD dims the mono models) whose register 95 answers
    // 0x1A, so start-up only reads its identity: no audio-id probe, no communication mode.
    // Posts no notice. The BOARDHID_EMULATOR_* variables read when the library was loaded
    // (chip, audio id, fault) then apply again; the test programs clear them at start. With
    // BOARDHID_EMULATOR_AUDIOID=unconfirmed, or SetIdentity(..., 0), register 95 reads 0 as on
    // today's chips, and start-up runs the probe (answered 0x1A) and applies the mode.
    virtual void Reset() = 0;

    // Presence on the bus; a change posts an arrival or removal notice (os::PostDeviceNotice,
    // instance "emulator"), a call that changes nothing posts none. Unplugging closes the device
    // and drops the replies not yet fetched.
    virtual void Plug() = 0;
    virtual void Unplug() = 0;
    virtual bool IsOpen() const = 0;

    // The codec register file: 128 nine-bit registers (out-of-range numbers read 0). Writing
    // the software-reset register over the bus resets the file to its start values.
    virtual uint16_t CodecRegister(int reg) const = 0;
    virtual void SetCodecRegister(int reg, uint16_t value) = 0;
    // The chip's software-reset register: writing it over the bus resets the register file. 0 on
    // the stereo and mono chips (the start value, also after Reset()), 15 on Zutb, whose
    // register 0 is an ordinary register (the left PGA gain).
    virtual void SetSoftwareResetRegister(int reg) = 0;
    // Identity registers read by chip identification (62) and the start-up probe (95). They are
    // read-only to the bus (writes, bulk writes included, leave them) and survive a reset.
    virtual void SetIdentity(uint16_t reg62, uint16_t reg95) = 0;

    // Bridge registers 0x1440 to 0x1FFF, one byte each.
    virtual uint8_t BridgeRegister(int address) const = 0;
    virtual void SetBridgeRegister(int address, uint8_t value) = 0;
    // Last board configuration word (command 0x34), as sent; empty before any.
    virtual std::vector<uint8_t> BoardConfigWord() const = 0;
    // Routing commands 0x35 to 0x38 received, in order.
    virtual std::vector<uint8_t> RoutingCommands() const = 0;

    // Every output report received (as SendData passed it, full length), in order.
    virtual std::vector<std::vector<uint8_t>> ReceivedReports() const = 0;
    virtual void ClearReceivedReports() = 0;
    // Every input report produced, in order.
    virtual std::vector<std::vector<uint8_t>> SentReplies() const = 0;

    virtual void SetFaults(const FaultPlan& plan) = 0;
    virtual FaultPlan Faults() const = 0;

    // Delay before a reply is made pending, in milliseconds (default 1).
    virtual void SetReplyDelayMs(int ms) = 0;

    // The firmware-date reply (20 bytes: "codecbench emulator" and a NUL).
    virtual std::string FirmwareDate() const = 0;
};

// The emulated board of the loaded libboardhid.so, or null (library not loaded, or another
// backend).
inline EmulatedBoard* FindEmulatedBoard() {
    return static_cast<EmulatedBoard*>(os::FindService(kEmulatedBoardService));
}

}  // namespace boardhid
