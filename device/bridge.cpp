// The Vunt bridge area of the device-control panels: register read and write by address, the
// audio routing buttons, the PCM transmitter, the PCM frame and bit-clock settings and the I2C
// clock divider.
#include "device/bridge.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <unordered_map>

#include "device/device_model.h"
#include "device/device_services.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace device {

namespace {

constexpr int kPcmConfig = 0x1470;   // PCMT enable, bit clock (2:0), frame-sync location (4:3)
constexpr int kPcmFrame = 0x1472;    // frame-sync length (3:0), frame-sync delay (5)
constexpr int kI2CDividerLow = 0x14B2;
constexpr int kI2CDividerHigh = 0x14B3;
constexpr uint8_t kPcmtOn = 0x85;

uint8_t High(int address) { return static_cast<uint8_t>((address >> 8) & 0xFF); }
uint8_t Low(int address) { return static_cast<uint8_t>(address & 0xFF); }

// ---- what the board's bridge registers hold ------------------------------------------------
// Learnt from the writes the board took and the reads it answered since it was opened: per
// register the bits known and their values. The panels keep no other copy of the bridge.
// Addresses outside the board's window are not kept by the board, so nothing is learnt of them.

struct BridgeKnown {
    unsigned session = 0;  // BoardSession() when learnt
    uint8_t bits = 0;      // the bits known
    uint8_t value = 0;
};
std::unordered_map<int, BridgeKnown> bridgeRecord;

bool InBridgeWindow(int address) { return address >= kFirstBridgeRegister && address <= kLastBridgeRegister; }

void NoteBoardHolds(int address, uint8_t bits, uint8_t value) {
    if (!InBridgeWindow(address)) return;
    BridgeKnown& known = bridgeRecord[address];
    if (known.session != BoardSession()) known = BridgeKnown{BoardSession(), 0, 0};
    known.value = static_cast<uint8_t>((known.value & ~bits) | (value & bits));
    known.bits |= bits;
}

// The `bits` of a bridge register as the board holds them, when all of them are known.
bool BoardHolds(int address, uint8_t bits, uint8_t* value) {
    const auto it = bridgeRecord.find(address);
    if (it == bridgeRecord.end() || it->second.session != BoardSession() || (it->second.bits & bits) != bits)
        return false;
    *value = static_cast<uint8_t>(it->second.value & bits);
    return true;
}

std::string LabelOf(int panel, int control, const char* fallback) {
    std::string label;
    if (rt::GetCtrlAttribute(panel, control, rt::ATTR_LABEL_TEXT, &label) < 0 || label.empty()) return fallback;
    return label;
}

// A button whose send has no control to go back: refused, the board keeps what it had.
constexpr const char* kBoardKeepsItsSetting = "The board keeps its previous setting.";

// A routing button. "USB <--> PCM" lights the audio interface in the diagrams once the board
// took it (or, with no board open, in the demo the panels then are).
void Route(uint8_t command) {
    SingleSend send;
    USBSend(command, 0, nullptr);
    if (send.NotTaken()) {
        send.Closing(kBoardKeepsItsSetting);
        return;
    }
    if (command == CMD_ROUTE_USB_PCM) {
        FlagAudioInterfaceActive = 1;
        FlagCFGUpdate = 1;
    }
}

// "Enable Vunt PCMT" and "Disable Vunt PCMT": the whole PCM configuration byte.
void PcmTransmitter(uint8_t value) {
    SingleSend send;
    WriteBridgeRegister(kPcmConfig, value);
    if (send.NotTaken()) send.Closing(kBoardKeepsItsSetting);
}

// A PCM setting: one masked write of its field (`field` bits of `address`, the control's value
// shifted left by `shift`). When the board does not take it, the control goes back to the field
// the board holds, when that is known.
void PcmField(int panel, int control, const char* label, int address, uint8_t field, int shift) {
    SingleSend send;
    const uint8_t value = static_cast<uint8_t>((CtrlValue(panel, control) << shift) & field);
    MaskedWriteBridgeRegister(address, static_cast<uint8_t>(~field), value);
    uint8_t holds = 0;
    if (!send.NotTaken() || !BoardHolds(address, field, &holds)) return;
    SetCtrl(panel, control, holds >> shift);
    send.Closing(ShowsWhatBoardHolds(LabelOf(panel, control, label)));
}

void RegisterRead(const DevModel& m, int panel) {
    const int address = CtrlValue(panel, m.ids.regAddr) & 0xFFFF;
    uint8_t value = 0;
    int result = 0;
    if (!ReadBridgeRegister(address, &value, &result)) {
        // An over-long reply did arrive: the board answered, but not with the one byte asked for.
        char message[200];
        if (result == USB_READ_LONG)
            std::snprintf(message, sizeof message,
                          "The board answered the read of Vunt register 0x%04X with more than one byte.\n"
                          "\"Register Value\" is unchanged.",
                          address);
        else
            std::snprintf(message, sizeof message,
                          "The board did not answer the read of Vunt register 0x%04X.\n\"Register Value\" is unchanged.",
                          address);
        rt::MessagePopup("Vunt Register Read Failed", message);
        return;
    }
    SetCtrl(panel, m.ids.regVal, value);
}

// "I2C CLK" 100K, 300K, 500K: the divider, low byte then high byte, without a pause between.
constexpr int kDividers[] = {14, 4, 2};

// The ring's item for the divider the board holds; -1 when not known or none stands for it.
int BoardI2CClock() {
    uint8_t low = 0, high = 0;
    if (!BoardHolds(kI2CDividerLow, 0xFF, &low) || !BoardHolds(kI2CDividerHigh, 0xFF, &high)) return -1;
    const int divider = (high << 8) | low;
    for (int item = 0; item < 3; ++item)
        if (kDividers[item] == divider) return item;
    return -1;
}

// The two writes are one action: the first refusal stops it (the high byte does not follow a
// refused low byte) and one popup tells it; the ring then shows the clock the board has, when
// known.
void I2CClock(const DevModel& m, int panel) {
    WriteAction action(panel, m.ids.i2cClock, "I2C CLK");
    const int choice = CtrlValue(panel, m.ids.i2cClock);
    const int divider = kDividers[choice >= 0 && choice < 3 ? choice : 0];
    WriteBridgeRegister(kI2CDividerLow, Low(divider));
    WriteBridgeRegister(kI2CDividerHigh, High(divider));
    if (!action.Stopped()) return;
    const int holds = BoardI2CClock();
    if (holds < 0) {
        SetStoppedOperationClosing(kPanelMayDiffer);
        return;
    }
    SetCtrl(panel, m.ids.i2cClock, holds);
    SetStoppedOperationClosing(ShowsWhatBoardHolds(LabelOf(panel, m.ids.i2cClock, "I2C CLK")));
}

// "Vunt MCU Configuration Enable": the bridge register and routing controls are usable only
// while it is ticked.
void VuntConfigEnable(const DevModel& m, int panel) {
    const int dimmed = CtrlValue(panel, m.ids.vuntConfigEn) ? 0 : 1;
    const DevCtrlIds& ids = m.ids;
    for (int id : {ids.usbCodec, ids.usbPcm, ids.codecPcm, ids.mixAll, ids.regAddr, ids.regVal, ids.regRead,
                   ids.regWrite})
        DimCtrl(panel, id, dimmed);
}

}  // namespace

bool ReadBridgeRegister(int address, uint8_t* value, int* result) {
    const uint8_t request[2] = {High(address), Low(address)};
    USBSend(CMD_BRIDGE_READ, 2, request);
    uint8_t reply = 0;
    const int read = USBRead(1, &reply);
    if (result) *result = read;
    if (read != 1) return false;
    *value = reply;
    NoteBoardHolds(address, 0xFF, reply);
    return true;
}

void WriteBridgeRegister(int address, uint8_t value) {
    const uint8_t payload[3] = {High(address), Low(address), value};
    if (USBSend(CMD_BRIDGE_WRITE, 3, payload) == 1) NoteBoardHolds(address, 0xFF, value);
}

void MaskedWriteBridgeRegister(int address, uint8_t keep, uint8_t value) {
    const uint8_t payload[4] = {High(address), Low(address), keep, value};
    if (USBSend(CMD_BRIDGE_MASKED_WRITE, 4, payload) == 1) NoteBoardHolds(address, static_cast<uint8_t>(~keep), value);
}

// "Write": refused, the value box goes back to what the register holds when the program read or
// wrote it before (from any panel, register map or script); else it keeps the value not written.
void WriteBridgeRegisterFromBoxes(int panel, int addressBox, int valueBox, const char* fallbackLabel) {
    SingleSend send;
    const int address = CtrlValue(panel, addressBox) & 0xFFFF;
    WriteBridgeRegister(address, static_cast<uint8_t>(CtrlValue(panel, valueBox) & 0xFF));
    uint8_t holds = 0;
    if (!send.NotTaken() || !BoardHolds(address, 0xFF, &holds)) return;
    SetCtrl(panel, valueBox, holds);
    send.Closing(ShowsWhatBoardHolds(LabelOf(panel, valueBox, fallbackLabel)));
}

int RunBridgeOp(DevId id, BoardOp op, int panel, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const DevModel& m = ModelOfPanel(panel, id);
    const int p = PanelFor(m, panel);
    const DevCtrlIds& ids = m.ids;
    switch (op) {
        case BoardOp::RegRead: RegisterRead(m, p); break;
        case BoardOp::RegWrite: WriteBridgeRegisterFromBoxes(p, ids.regAddr, ids.regVal, "Register Value"); break;
        case BoardOp::UsbCodec: Route(CMD_ROUTE_USB_CODEC); break;
        case BoardOp::UsbPcm: Route(CMD_ROUTE_USB_PCM); break;
        case BoardOp::CodecPcm: Route(CMD_ROUTE_CODEC_PCM); break;
        case BoardOp::MixAll: Route(CMD_ROUTE_MIX_ALL); break;
        case BoardOp::PcmtEnable: PcmTransmitter(kPcmtOn); break;
        case BoardOp::PcmtDisable: PcmTransmitter(0x00); break;
        case BoardOp::BitClock: PcmField(p, ids.bitClock, "Bit Clock", kPcmConfig, 0x07, 0); break;
        case BoardOp::FsLocation: PcmField(p, ids.fsLocation, "FST Location", kPcmConfig, 0x18, 3); break;
        case BoardOp::FsLength: PcmField(p, ids.fsLength, "FS Length", kPcmFrame, 0x0F, 0); break;
        case BoardOp::FsDelay: PcmField(p, ids.fsDelay, "Frame Sync Delay Enable", kPcmFrame, 0x20, 5); break;
        case BoardOp::I2CClock: I2CClock(m, p); break;
        case BoardOp::VuntConfigEn: VuntConfigEnable(m, p); break;
        default: break;  // "Config Vunt PCM" has no operation
    }
    return 0;
}

int RunBoardOp(DevId id, BoardOp op, int panel, int control, int event) {
    switch (op) {
        case BoardOp::Spi3W:
        case BoardOp::Spi4W:
        case BoardOp::I2C:
        case BoardOp::External:
        case BoardOp::ModeSelect:
        case BoardOp::ConfigBoard:
        case BoardOp::DigitalReset:
        case BoardOp::UsbI2S:
        case BoardOp::ApMaster:
        case BoardOp::DaMaster:
        case BoardOp::ApSlave:
        case BoardOp::DaSlave:
        case BoardOp::Direct: return RunBoardBoxOp(id, op, panel, control, event);
        default: return RunBridgeOp(id, op, panel, event);
    }
}

}  // namespace device
