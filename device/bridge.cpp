// The Vunt bridge area of the device-control panels: register read and write by address, the
// audio routing buttons, the PCM transmitter, the PCM frame and bit-clock settings and the I2C
// clock divider.
#include "device/bridge.h"

#include <cstdio>
#include <initializer_list>

#include "device/device_model.h"
#include "device/device_services.h"
#include "link/usbcomvunt.h"
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

void Route(uint8_t command) { USBSend(command, 0, nullptr); }

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

void RegisterWrite(const DevModel& m, int panel) {
    const int address = CtrlValue(panel, m.ids.regAddr) & 0xFFFF;
    WriteBridgeRegister(address, static_cast<uint8_t>(CtrlValue(panel, m.ids.regVal) & 0xFF));
}

// "I2C CLK" 100K, 300K, 500K: the divider, low byte then high byte, without a pause between.
void I2CClock(const DevModel& m, int panel) {
    static constexpr int kDividers[] = {14, 4, 2};
    const int choice = CtrlValue(panel, m.ids.i2cClock);
    const int divider = kDividers[choice >= 0 && choice < 3 ? choice : 0];
    WriteBridgeRegister(kI2CDividerLow, Low(divider));
    WriteBridgeRegister(kI2CDividerHigh, High(divider));
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
    return true;
}

void WriteBridgeRegister(int address, uint8_t value) {
    const uint8_t payload[3] = {High(address), Low(address), value};
    USBSend(CMD_BRIDGE_WRITE, 3, payload);
}

void MaskedWriteBridgeRegister(int address, uint8_t keep, uint8_t value) {
    const uint8_t payload[4] = {High(address), Low(address), keep, value};
    USBSend(CMD_BRIDGE_MASKED_WRITE, 4, payload);
}

int RunBridgeOp(DevId id, BoardOp op, int panel, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const DevModel& m = ModelOfPanel(panel, id);
    const int p = PanelFor(m, panel);
    const DevCtrlIds& ids = m.ids;
    switch (op) {
        case BoardOp::RegRead: RegisterRead(m, p); break;
        case BoardOp::RegWrite: RegisterWrite(m, p); break;
        case BoardOp::UsbCodec: Route(CMD_ROUTE_USB_CODEC); break;
        case BoardOp::UsbPcm:
            // The diagrams light the audio interface whatever the send did.
            Route(CMD_ROUTE_USB_PCM);
            FlagAudioInterfaceActive = 1;
            FlagCFGUpdate = 1;
            break;
        case BoardOp::CodecPcm: Route(CMD_ROUTE_CODEC_PCM); break;
        case BoardOp::MixAll: Route(CMD_ROUTE_MIX_ALL); break;
        case BoardOp::PcmtEnable: WriteBridgeRegister(kPcmConfig, kPcmtOn); break;
        case BoardOp::PcmtDisable: WriteBridgeRegister(kPcmConfig, 0x00); break;
        case BoardOp::BitClock:
            MaskedWriteBridgeRegister(kPcmConfig, 0xF8, static_cast<uint8_t>(CtrlValue(p, ids.bitClock) & 0x07));
            break;
        case BoardOp::FsLocation:
            MaskedWriteBridgeRegister(kPcmConfig, 0xE7, static_cast<uint8_t>((CtrlValue(p, ids.fsLocation) << 3) & 0x18));
            break;
        case BoardOp::FsLength:
            MaskedWriteBridgeRegister(kPcmFrame, 0xF0, static_cast<uint8_t>(CtrlValue(p, ids.fsLength) & 0x0F));
            break;
        case BoardOp::FsDelay:
            MaskedWriteBridgeRegister(kPcmFrame, 0xDF, static_cast<uint8_t>((CtrlValue(p, ids.fsDelay) << 5) & 0x20));
            break;
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
