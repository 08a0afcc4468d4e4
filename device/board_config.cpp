// The board block of every device-control panel: the interface boxes, the I2S source boxes,
// the board configuration word and "Config Board", which sends the word (bridge command 0x34)
// and switches the codec's own interface bit with it.
#include <initializer_list>

#include "device/bridge.h"
#include "device/device_model.h"
#include "device/device_services.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace device {

using ui::AudioCodec_pan::MENUBAR_MODE_I2CMode;
using ui::AudioCodec_pan::MENUBAR_MODE_SPI3WMode;
using ui::AudioCodec_pan::MENUBAR_MODE_SPI4WMode;

namespace {

constexpr double kWordPause = 0.3;
constexpr const char* kBoardMayDiffer =
    "The evaluation board may not have the settings the panel shows; \"Config Board\" sends them again.";
constexpr double kBridgePause = 0.1;

int MenuItemOf(uint8_t mode) {
    return mode == COMM_SPI3W ? MENUBAR_MODE_SPI3WMode
           : mode == COMM_SPI4W ? MENUBAR_MODE_SPI4WMode : MENUBAR_MODE_I2CMode;
}

bool MenuTicked(int item) {
    int on = 0;
    if (PHandleMenu > 0) rt::GetMenuBarAttribute(PHandleMenu, item, rt::ATTR_CHECKED, &on);
    return on != 0;
}

void TickModeMenu(uint8_t mode) {
    if (PHandleMenu <= 0) return;
    for (int item : {MENUBAR_MODE_SPI3WMode, MENUBAR_MODE_SPI4WMode, MENUBAR_MODE_I2CMode})
        rt::SetMenuBarAttribute(PHandleMenu, item, rt::ATTR_CHECKED, item == MenuItemOf(mode) ? 1 : 0);
}

int ModeBoxId(const DevModel& m, uint8_t mode) {
    return mode == COMM_SPI3W ? m.ids.spi3 : mode == COMM_SPI4W ? m.ids.spi4 : m.ids.i2c;
}

// The steps below do nothing once a send of the running Config Board was refused (the mode
// switches still put CommMode back).
void SendWord(const unsigned char word[2]) {
    if (ChipOperationStopped()) return;
    USBSend(CMD_BOARD_CONFIG, 2, word);
    if (!ChipOperationStopped()) rt::Delay(kWordPause);
}

// Sets or clears bit 8 of a codec register and writes it in the current framing; a refused
// write leaves the copy as the chip still has it.
void WriteInterfaceBit(int reg, bool set) {
    if (!WriteRegisterStep(reg, set ? CFG_REG[reg] | 0x100u : CFG_REG[reg] & ~0x100u)) return;
    rt::Delay(kWordPause);
}

// Read-modify-write of a bridge register with the board's pauses after the request, the reply
// and the write. A register whose value did not come back is left alone rather than written
// with a guess.
void ModifyBridgeRegister(int address, uint8_t set, uint8_t clear) {
    if (ChipOperationStopped()) return;
    uint8_t value = 0;
    const bool read = ReadBridgeRegister(address, &value);
    rt::Delay(kBridgePause);  // after the request
    rt::Delay(kBridgePause);  // after the reply
    if (!read) return;
    WriteBridgeRegister(address, static_cast<uint8_t>((value | set) & ~clear));
    rt::Delay(kBridgePause);
}

unsigned char WithBits(unsigned char byte, unsigned clear) { return static_cast<unsigned char>(byte & ~clear); }

// ---- Config Board per interface ------------------------------------------------------------

void CommonThreeWire(const unsigned char word[2]) {
    SendWord(word);
    WriteInterfaceBit(7, true);
}

// The codec bit travels in 3-wire framing between a first word (bits `firstClear` of byte 0
// cleared) and the word itself; CommMode ends as `mode`.
void CommonSwitch(const unsigned char word[2], unsigned firstClear, bool interfaceBit, uint8_t mode) {
    const unsigned char first[2] = {WithBits(word[0], firstClear), word[1]};
    SendWord(first);
    CommMode = COMM_SPI3W;
    WriteInterfaceBit(7, interfaceBit);
    SendWord(word);
    CommMode = mode;
}

void ZutbThreeWire(const DevModel& m, const unsigned char word[2]) {
    ModifyBridgeRegister(0x14A0, 0x80, 0);
    SendWord(word);
    WriteInterfaceBit(m.interfaceReg, false);
}

void ZutbI2C(const unsigned char word[2]) {
    ModifyBridgeRegister(0x1457, 0, 0x08);
    if (!ChipOperationStopped()) rt::Delay(kBridgePause);
    ModifyBridgeRegister(0x1453, 0, 0x08);
    ModifyBridgeRegister(0x14A0, 0, 0x80);
    const unsigned char sent[2] = {WithBits(word[0], 0x08), word[1]};
    SendWord(sent);
    CommMode = COMM_I2C;
}

void FourWire(const DevModel& m, unsigned char word[2]) {
    switch (m.variant) {
        case ConfigVariant::Common:
            CommonSwitch(word, 0x20, true, COMM_SPI4W);
            break;
        case ConfigVariant::Jorb:
            word[0] = WithBits(word[0], 0x08);
            SendWord(word);
            WriteInterfaceBit(m.interfaceReg, true);
            CommMode = COMM_SPI4W;
            break;
        case ConfigVariant::Zuta:
            WriteInterfaceBit(m.interfaceReg, true);
            word[0] |= 0x20;
            SendWord(word);
            break;
        case ConfigVariant::Zutb:
            WriteInterfaceBit(m.interfaceReg, true);
            break;
    }
}

// ---- the boxes -----------------------------------------------------------------------------

using Box = int DevCtrlIds::*;

struct Exclusion {
    Box ticked;
    std::initializer_list<Box> cleared;
};

// Which I2S sources a newly ticked source clears.
const Exclusion kSourceExclusions[] = {
    {&DevCtrlIds::usbI2S, {&DevCtrlIds::apMaster, &DevCtrlIds::daMaster}},
    {&DevCtrlIds::apMaster,
     {&DevCtrlIds::usbI2S, &DevCtrlIds::daMaster, &DevCtrlIds::apSlave, &DevCtrlIds::daSlave, &DevCtrlIds::direct}},
    {&DevCtrlIds::daMaster, {&DevCtrlIds::usbI2S, &DevCtrlIds::apMaster, &DevCtrlIds::apSlave}},
    {&DevCtrlIds::apSlave, {&DevCtrlIds::apMaster, &DevCtrlIds::daMaster}},
    {&DevCtrlIds::daSlave, {&DevCtrlIds::apSlave, &DevCtrlIds::apMaster, &DevCtrlIds::daMaster, &DevCtrlIds::direct}},
    {&DevCtrlIds::direct, {&DevCtrlIds::daMaster, &DevCtrlIds::apSlave, &DevCtrlIds::daSlave}},
};
// The Qevb board block: only USB I2S and the digital-audio master exclude each other.
const Exclusion kQevbSourceExclusions[] = {
    {&DevCtrlIds::usbI2S, {&DevCtrlIds::daMaster}},
    {&DevCtrlIds::daMaster, {&DevCtrlIds::usbI2S}},
};

template <size_t N>
void ApplyExclusions(const DevModel& m, int panel, Box box, const Exclusion (&table)[N]) {
    if (!CtrlValue(panel, m.ids.*box)) return;
    for (const Exclusion& e : table)
        if (e.ticked == box)
            for (Box cleared : e.cleared) SetCtrl(panel, m.ids.*cleared, 0);
}

// An I2S source box: ticked, it clears the sources that cannot share the interface with it.
// The board learns the sources at the next Config Board.
void SourceBox(const DevModel& m, int panel, Box box) {
    if (m.interfaceFromMenu)
        ApplyExclusions(m, panel, box, kQevbSourceExclusions);
    else
        ApplyExclusions(m, panel, box, kSourceExclusions);
    if (box == &DevCtrlIds::usbI2S && m.stereo) FlagCFGUpdate = 1;
}

// "Digital Audio Reset": ticked, the digital-audio master and slave are cleared and dimmed.
void DigitalReset(const DevModel& m, int panel) {
    const int ticked = CtrlValue(panel, m.ids.digitalReset);
    for (int id : {m.ids.daMaster, m.ids.daSlave}) {
        if (ticked) SetCtrl(panel, id, 0);
        DimCtrl(panel, id, ticked ? 1 : 0);
    }
}

// The board configuration word. A set bit means "box not ticked", except byte 0 bits 2 (an
// interface is chosen) and 3 (not SPI). Sets CommMode from the interface boxes (Qevb: from the
// Mode menu's marks); with none ticked CommMode keeps its value.
void Pack(const DevModel& m, int panel, unsigned char word[2]) {
    int spi3 = 0, spi4 = 0, i2c = 0;
    if (m.interfaceFromMenu) {
        spi3 = MenuTicked(MENUBAR_MODE_SPI3WMode);
        spi4 = MenuTicked(MENUBAR_MODE_SPI4WMode);
        i2c = MenuTicked(MENUBAR_MODE_I2CMode);
    } else {
        spi3 = CtrlValue(panel, m.ids.spi3);
        spi4 = CtrlValue(panel, m.ids.spi4);
        i2c = CtrlValue(panel, m.ids.i2c);
    }
    unsigned b0 = 0x08;
    if (spi3) {
        b0 = (b0 | 0x04) & ~0x08u;
        CommMode = COMM_SPI3W;
    } else if (spi4) {
        b0 = (b0 | 0x04) & ~0x08u;
        CommMode = COMM_SPI4W;
    } else if (i2c) {
        b0 |= 0x04;
        CommMode = COMM_I2C;
    }
    const DevCtrlIds& ids = m.ids;
    auto off = [&](int id, unsigned bit) { return CtrlValue(panel, id) ? 0u : bit; };
    b0 |= off(ids.digitalReset, 0x01) | off(ids.external, 0x02) | off(ids.apSlave, 0x10) | off(ids.modePin, 0x20);
    const unsigned b1 = off(ids.apMaster, 0x01) | off(ids.daMaster, 0x02) | off(ids.usbI2S, 0x04) |
                        off(ids.daSlave, 0x08) | off(ids.direct, 0x10);
    word[0] = static_cast<unsigned char>(b0);
    word[1] = static_cast<unsigned char>(b1);
    FlagAudioInterfaceActive = (b1 & 0x03) == 0x03 ? 0 : 1;
    FlagCFGUpdate = 1;
}

// "Config Board": packs the word and configures board and codec for the mode the packing left
// in CommMode; the Mode menu's marks follow. The first send the board refuses stops it (told).
void ConfigBoard(const DevModel& m, int panel) {
    ChipOperation op("Config Board");
    unsigned char word[2];
    Pack(m, panel, word);
    const uint8_t mode = CommMode;
    switch (mode) {
        case COMM_SPI3W:
            if (m.variant == ConfigVariant::Zutb)
                ZutbThreeWire(m, word);
            else
                CommonThreeWire(word);
            break;
        case COMM_SPI4W:
            FourWire(m, word);
            break;
        case COMM_I2C:
            if (m.variant == ConfigVariant::Zutb)
                ZutbI2C(word);
            else
                CommonSwitch(word, 0x28, false, COMM_I2C);
            break;
        default:
            return;  // no interface was ever chosen: nothing to configure
    }
    TickModeMenu(mode);
    // The boxes keep what the user chose; the board may have an earlier word, or a first one of
    // the sequence.
    if (op.Stopped()) NoteInStoppedOperation(kBoardMayDiffer);
}

// The interface operation of a ticked mode box: the other interface boxes and "External
// Control" cleared, "Set Mode Pin High" ticked for 3-wire SPI only and dimmed, the I2C clock
// free under I2C only; then Config Board.
void ModeOperation(const DevModel& m, int panel, uint8_t mode) {
    for (int id : {m.ids.spi3, m.ids.spi4, m.ids.i2c})
        if (id != ModeBoxId(m, mode)) SetCtrl(panel, id, 0);
    SetCtrl(panel, m.ids.external, 0);
    SetCtrl(panel, m.ids.modePin, mode == COMM_SPI3W ? 1 : 0);
    DimCtrl(panel, m.ids.modePin, 1);
    DimCtrl(panel, m.ids.i2cClock, mode == COMM_I2C ? 0 : 1);
    ConfigBoard(m, panel);
}

// Qevb's interface operations, bound to no control: they act while the Mode menu carries their
// mark.
void QevbInterfaceOperation(const DevModel& m, int panel, uint8_t mode) {
    if (!MenuTicked(MenuItemOf(mode))) return;
    SetCtrl(panel, m.ids.external, 0);
    SetCtrl(panel, m.ids.modePin, mode == COMM_SPI3W ? 1 : 0);
    DimCtrl(panel, m.ids.modePin, 1);
    ConfigBoard(m, panel);
}

void InterfaceBox(const DevModel& m, int panel, int control, uint8_t mode) {
    if (m.interfaceFromMenu) {
        QevbInterfaceOperation(m, panel, mode);
        return;
    }
    const int box = control > 0 ? control : ModeBoxId(m, mode);
    if (CtrlValue(panel, box)) ModeOperation(m, panel, mode);
}

// "External Control": ticked, the interface boxes are cleared, "Set Mode Pin High" is free and
// the I2C clock dimmed; nothing is sent (CommMode keeps its value). Qevb: the box only frees or
// dims "Set Mode Pin High".
void ExternalControl(const DevModel& m, int panel) {
    const int ticked = CtrlValue(panel, m.ids.external);
    if (m.interfaceFromMenu) {
        DimCtrl(panel, m.ids.modePin, ticked ? 0 : 1);
        return;
    }
    if (!ticked) return;
    for (int id : {m.ids.spi3, m.ids.spi4, m.ids.i2c}) SetCtrl(panel, id, 0);
    DimCtrl(panel, m.ids.modePin, 0);
    DimCtrl(panel, m.ids.i2cClock, 1);
}

}  // namespace

int RunBoardBoxOp(DevId id, BoardOp op, int panel, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const DevModel& m = ModelOfPanel(panel, id);
    const int p = PanelFor(m, panel);
    switch (op) {
        case BoardOp::Spi3W: InterfaceBox(m, p, control, COMM_SPI3W); break;
        case BoardOp::Spi4W: InterfaceBox(m, p, control, COMM_SPI4W); break;
        case BoardOp::I2C: InterfaceBox(m, p, control, COMM_I2C); break;
        case BoardOp::External: ExternalControl(m, p); break;
        case BoardOp::ModeSelect:
        case BoardOp::ConfigBoard: ConfigBoard(m, p); break;
        case BoardOp::DigitalReset: DigitalReset(m, p); break;
        case BoardOp::UsbI2S: SourceBox(m, p, &DevCtrlIds::usbI2S); break;
        case BoardOp::ApMaster: SourceBox(m, p, &DevCtrlIds::apMaster); break;
        case BoardOp::DaMaster: SourceBox(m, p, &DevCtrlIds::daMaster); break;
        case BoardOp::ApSlave: SourceBox(m, p, &DevCtrlIds::apSlave); break;
        case BoardOp::DaSlave: SourceBox(m, p, &DevCtrlIds::daSlave); break;
        case BoardOp::Direct: SourceBox(m, p, &DevCtrlIds::direct); break;
        default: break;
    }
    return 0;
}

void PackBoardWord(DevId id, unsigned char word[2]) {
    const DevModel& m = Model(id);
    Pack(m, *m.panel, word);
}

void RunModeChoice(DevId id, uint8_t mode) {
    const DevModel& m = Model(id);
    const int panel = *m.panel;
    if (panel <= 0) return;  // panels not loaded: nothing to carry the change
    if (!m.interfaceFromMenu)
        for (int box : {m.ids.spi3, m.ids.spi4, m.ids.i2c}) SetCtrl(panel, box, box == ModeBoxId(m, mode) ? 1 : 0);
    RunBoardBoxOp(id, mode == COMM_SPI3W ? BoardOp::Spi3W : mode == COMM_SPI4W ? BoardOp::Spi4W : BoardOp::I2C,
                  panel, 0, rt::EVENT_COMMIT);
}

void EnableCommModeOf(DevId id) {
    const DevModel& m = Model(id);
    const uint8_t mode = CommMode;
    if (m.interfaceFromMenu && mode == 0) {
        SetCtrl(*m.panel, m.ids.external, 1);
        return;
    }
    if (mode != COMM_SPI3W && mode != COMM_SPI4W && mode != COMM_I2C) return;
    RunModeChoice(id, mode);
}

}  // namespace device
