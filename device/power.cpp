// Power-up, power-down and reset of the codec, the device buttons and the power-management
// controls of every device-control panel, driven by each model's power description.
#include "device/power.h"

#include <algorithm>
#include <cstdint>

#include "device/device_services.h"
#include "device/power_model.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "regmap/config_tables.h"
#include "runtime/ui.h"
#include "shell/modes.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace device {
namespace {

const char* const kNotAttached = "Evaluation Board is not attached... ";
const char* const kSoftwareDemo = "This is going to be a pure software demo... ";
const char* const kWritingRegisters = "Powering up, writing registers  ... ";
const char* const kMonoDone = "Successfully powered up, eiting Power-up sequence... ";

void PowerLed(int on) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, ui::AudioCodec_pan::PANEL_LPowerUp, on);
}

bool BoardOpen() { return bDeviceOpened != 0; }

void Message(int steps, const char* text) { UpdateProgressAndMessage(1, steps, text); }

void NotAttachedMessages() {
    StartProgressBar(kNotAttached, 1);
    rt::Delay(1.0);
    Message(0, kSoftwareDemo);
    rt::Delay(1.0);
    Message(1, kSoftwareDemo);
}

void DimBoostIcons(const PowerModel& p) {
    const int path = p.pathPanel ? *p.pathPanel : 0;
    for (int icon : p.boostIcons) DimCtrl(path, icon, 1);
}

bool FiveVoltSupply(const PowerModel& p, int panel) { return CtrlValue(panel, p.buttons.vdd5) != 0; }

// One register step of a sequence: change the copy, write the register, pause, advance the bar.
// A refused write leaves the copy as the chip still has it, and the steps after it do nothing.
void Step(int reg, uint32_t set, uint32_t clear, double pause, int bar = 0) {
    if (!WriteRegisterStep(reg, (CFG_REG[reg] & ~clear) | set)) return;
    if (pause > 0) rt::Delay(pause);
    if (bar) ForwardProgress(bar);
}
void Assign(int reg, uint32_t value, double pause, int bar = 0) { Step(reg, value, 0x1FF, pause, bar); }

void OrUpdateBits(const PowerModel& p) {
    if (!p.updateBits || !*p.updateBits) return;
    for (const UpdateBitsRegister* row = *p.updateBits; row->name[0] != '\0'; ++row)
        CFG_REG[row->reg] |= static_cast<uint32_t>(row->mask);
}

// ---- power-up ------------------------------------------------------------------------------

void StereoPowerUp(const PowerModel& p, int panel) {
    ChipOperation op("Power Up");
    if (!BoardOpen()) NotAttachedMessages();  // the rest runs on the register copy
    p.mute(-1);
    p.turnOnOff(-1);
    if (op.Stopped()) return;
    rt::Delay(0.1);
    CFG_REG[1] = 0x10D;
    CFG_REG[10] |= 0x08;
    if (p.setsR14) CFG_REG[14] |= 0x08;
    if (FiveVoltSupply(p, panel)) {
        CFG_REG[49] &= ~0x1Cu;
        CFG_REG[3] &= ~0x10u;
        CFG_REG[1] |= 0x100;
    } else {
        CFG_REG[49] |= 0x1C;
        CFG_REG[3] |= 0x10;
        CFG_REG[1] &= ~0x100u;
        DimBoostIcons(p);
    }
    for (int output : {2, 3, 4, 5}) p.turnOnOff(output);
    if (op.Stopped()) return;
    OrUpdateBits(p);
    if (p.groups) EmptySoftwareResetGroup(*p.groups);
    StartProgressBar("Powering up ...", 18);
    if (DeviceAttached) {
        Message(12, kWritingRegisters);
        if (ZelqxWriteAllReg(0, nullptr) != 1) {
            // Refused by its mode guard or by the board (both are told): the chip did not get
            // the registers.
            StopProgress();
            FlagCFGUpdate = 1;
            return;
        }
        Message(3, kWritingRegisters);
        rt::Delay(0.2);
        Message(3, "Successfully Powered up, exiting ... ");
        rt::Delay(0.2);
        rt::Delay(0.5);
    } else {
        Message(18, " ");
    }
    PoweredUp = 1;
    FlagCFGUpdate = 1;
    if (BoardOpen()) PowerLed(1);
}

// The first write is the software reset (R15), which asks first under 4-wire SPI: No stops the
// power-up with nothing sent and the copy as it was.
void ZutbPowerUp() {
    ChipOperation op("Power Up");
    if (!BoardOpen()) NotAttachedMessages();
    const struct { int reg; uint32_t value; } writes[] = {{15, 0}, {7, 0}, {38, 0x10A}, {6, 0x1FD}};
    for (const auto& w : writes)
        if (!WriteRegisterStep(w.reg, w.value)) return;  // declined or refused: nothing more
    PoweredUp = 1;
    FlagCFGUpdate = 1;
    if (BoardOpen()) PowerLed(1);
}

// The mono walk from the clock set-up to the speaker at 0 dB; the 3.3 V supply keeps the
// speaker's boost bits and mutes the mono output.
void MonoWalk(const PowerModel& p, bool fiveVolt) {
    StartProgressBar("Entering Power-up Sequence...", fiveVolt ? 24 : 23);
    Message(2, fiveVolt ? "Configuring Clock register..." : "Configuring Clock register");
    Message(1, "Powering up..");
    if (fiveVolt) {
        Step(49, 0x02, 0x0C, 0.01, 1);
        Step(3, 0, 0x10, 0.01, 1);
        Assign(54, 0x40, 0.3, 1);
        Assign(56, 0x40, 0.01, 1);
    } else {
        Step(49, 0x0E, 0, 0.01);
        Step(3, 0x10, 0, 0.01, 2);
        Assign(54, 0x40, 0.01, 1);
        Assign(56, 0x40, 0.3, 1);
    }
    Step(1, 0x0E, 0x01, 0.01, 1);
    rt::Delay(0.5);
    Step(3, 0x01, 0, 0.01, 1);
    Step(50, 0, 0x23, 0.01);
    Step(56, 0, 0x07, 0.01);
    if (!fiveVolt) Step(54, 0x80, 0, 0.01);
    if (ChipOperationStopped()) return;
    MNSPKCurrentVOL = 37;
    p.ramp(MNSPKCurrentVOL, 57, 1, 1);
    ForwardProgress(13);
    Assign(56, 0, 0.01, 1);
    if (ChipOperationStopped()) return;
    Message(1, "Reading back device registers...");
    Message(0, kMonoDone);
    rt::Delay(0.1);
    Message(1, kMonoDone);
}

void MonoPowerUp(const PowerModel& p, int panel) {
    ChipOperation op("Power Up");
    const bool fiveVolt = FiveVoltSupply(p, panel);
    if (fiveVolt) {
        CFG_REG[49] &= ~0x0Cu;
        CFG_REG[1] |= 0x100;
    } else {
        CFG_REG[49] |= 0x0C;
        CFG_REG[1] &= ~0x100u;
    }
    if (!BoardOpen()) {
        NotAttachedMessages();
        FlagCFGUpdate = 1;
        return;
    }
    Step(1, 0x08, 0, 0);
    ForwardProgress(1);
    Step(10, 0x08, 0, 0);
    Step(14, 0x08, 0, 0);
    if (fiveVolt || p.family != PowerFamily::MonoPykb) MonoWalk(p, fiveVolt);
    FlagCFGUpdate = 1;
    if (BoardOpen() && !op.Stopped()) PowerLed(1);
}

void PowerUp(const PowerModel& p, int panel) {
    switch (p.family) {
        case PowerFamily::Stereo: StereoPowerUp(p, panel); break;
        case PowerFamily::Zutb: ZutbPowerUp(); break;
        case PowerFamily::Mono:
        case PowerFamily::MonoPykb: MonoPowerUp(p, panel); break;
    }
}

// ---- power-down ----------------------------------------------------------------------------

// A power-down step lets queued user-interface events run before the bar moves (not once the
// power-down has stopped: they run after it, outside it).
void MonoStep(int reg, uint32_t set, uint32_t clear, bool bar) {
    Step(reg, set, clear, 0.01);
    if (ChipOperationStopped()) return;
    rt::ProcessSystemEvents();
    if (bar) ForwardProgress(1);
}

// A power-down the board stopped leaves the chip partly up: PoweredUp and the LED stay.
void PowerDown(const PowerModel& p) {
    ChipOperation op("Power Down");
    switch (p.family) {
        case PowerFamily::Stereo:
            p.mute(-1);
            if (!op.Stopped()) PoweredUp = 0;
            break;
        case PowerFamily::Zutb:
            Step(6, 0, 0x0C, 0);
            if (!op.Stopped()) PoweredUp = 0;
            break;
        case PowerFamily::Mono:
        case PowerFamily::MonoPykb:
            // The only sequence that lets queued events run between its writes.
            StartProgressBar("Powering Down ...", 5);
            ForwardProgress(1);
            MonoStep(10, 0x40, 0, true);
            MonoStep(54, 0x40, 0x1FF, true);
            MonoStep(56, 0x40, 0x1FF, true);
            MonoStep(1, 0, 0x1FF, true);
            MonoStep(3, 0, 0xED, false);
            break;
    }
    FlagCFGUpdate = 1;
    if (!op.Stopped()) PowerLed(0);
}

// ---- reset ---------------------------------------------------------------------------------

// Writes 0 to the model's software-reset register. False when the user declined the 4-wire
// question or the board refused the write: then nothing has changed.
bool SoftwareReset(const PowerModel& p) {
    if (!WriteRegisterStep(p.resetReg, 0)) return false;
    PowerLed(0);
    return true;
}

void FourWireFromModeMenu() {
    SPI4WModeCB(PHandleMenu, ui::AudioCodec_pan::MENUBAR_MODE_SPI4WMode, nullptr, PHandlePanel);
}

// True when the whole reset went through; a reset the board stopped after the reset write
// itself still leaves the chip reset (PoweredUp 0).
bool Reset(const PowerModel& p) {
    const bool mono = p.family == PowerFamily::Mono || p.family == PowerFamily::MonoPykb;
    ChipOperation op(mono ? "Reset" : "Reset Device");
    const uint8_t mode = CommMode;
    if (!SoftwareReset(p)) return false;
    if (mono) {
        if (mode == COMM_SPI4W) FourWireFromModeMenu();
        return !op.Stopped();
    }
    const auto stopped = [&] {
        if (!op.Stopped()) return false;
        PoweredUp = 0;
        FlagCFGUpdate = 1;
        return true;
    };
    StartProgressBar("Resetting ...", 12);
    if (!DeviceAttached) {
        Message(12, "board is not attached, returning ... ");
        rt::Delay(1.0);
    }
    rt::Delay(0.3);
    if (mode == COMM_SPI4W) FourWireFromModeMenu();
    if (stopped()) return false;
    if (QuillonMode == 0 && DeviceAttached) {
        Message(6, "Reading registers after Reset ... ");
        RunModeChoice(p.id, COMM_I2C);
        if (stopped()) return false;
        p.readAll(*p.regMapPanel, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
        if (stopped()) return false;
        if (mode == COMM_SPI4W || mode == COMM_SPI3W) RunModeChoice(p.id, mode);
        if (stopped()) return false;
        Message(6, "Reset finished ");
        rt::Delay(0.3);
    } else {
        ForwardProgress(12);
    }
    DimBoostIcons(p);
    PoweredUp = 0;
    FlagCFGUpdate = 1;
    return true;
}

// ---- update bits and output buttons ----------------------------------------------------------

void LoadUpdateBits(const PowerModel& p) {
    ChipOperation op("Load Default Update Bits");
    if (p.family == PowerFamily::Zutb) {
        if (DeviceAttached && p.updateBits && *p.updateBits) {
            StartProgressBar("Writing update bits ...", UpdateBitsCount(*p.updateBits));
            for (const UpdateBitsRegister* row = *p.updateBits; row->name[0] != '\0' && !op.Stopped(); ++row) {
                Step(row->reg, static_cast<uint32_t>(row->mask), 0, 0, 1);
            }
        }
        FlagCFGUpdate = 1;
        return;
    }
    OrUpdateBits(p);
    if (DeviceAttached) {
        StartProgressBar("Writing update bits ...", 6);
        rt::Delay(0.5);
        if (ZelqxWriteAllReg(0, nullptr) != 1) StopProgress();  // refused, and told
    }
    FlagCFGUpdate = 1;
}

// ---- power-management controls -------------------------------------------------------------

// A stereo or mono power register rebuilt whole from the controls bound to its operation; bits
// without a control are written as 0.
void RebuildRegister(const PowerModel& p, int panel, int group) {
    uint32_t value = 0;
    for (const PowerCtrl& c : p.ctrls)
        if (c.group == group) value |= (static_cast<uint32_t>(CtrlValue(panel, c.id)) & c.mask) << c.shift;
    const int reg = p.groupReg[group];
    CFG_REG[reg] = value;
    FlagCFGUpdate = 1;
    ZelqxWriteOneReg(reg);
}

// Zutb: the committed control changes its own field and sends its register.
void ChangeField(const PowerModel& p, int panel, int control) {
    const auto it = std::find_if(p.ctrls.begin(), p.ctrls.end(), [&](const PowerCtrl& c) { return c.id == control; });
    FlagCFGUpdate = 1;
    if (it == p.ctrls.end()) return;
    const PowerCtrl& c = *it;
    const uint32_t v = static_cast<uint32_t>(CtrlValue(panel, c.id));
    switch (c.kind) {
        case PowerFieldKind::None: return;
        case PowerFieldKind::RefImp:
            if (v == 0) {
                CFG_REG[33] &= ~0x08u;
            } else {
                CFG_REG[10] = (CFG_REG[10] & ~0x0Cu) | (((v - 1) & 3) << 2);
                ZelqxWriteOneReg(10);
                CFG_REG[33] |= 0x08;
            }
            ZelqxWriteOneReg(33);
            return;
        case PowerFieldKind::MicBias:
        case PowerFieldKind::Field:
            CFG_REG[c.reg] = (CFG_REG[c.reg] & ~(c.mask << c.shift)) | ((v & c.mask) << c.shift);
            if (c.kind == PowerFieldKind::MicBias) CFG_REG[c.reg] |= 0x100;
            ZelqxWriteOneReg(c.reg);
            return;
    }
}

void PowerControl(const PowerModel& p, int panel, int control, int group) {
    if (p.wholeRegisters)
        RebuildRegister(p, panel, group);
    else
        ChangeField(p, panel, control);
}

// The speaker supply boxes form a pair: committing one sets the other to the opposite state.
void SupplyPair(const PowerModel& p, int panel, int control) {
    const int other = control == p.buttons.vdd5 ? p.buttons.vdd33 : p.buttons.vdd5;
    SetCtrl(panel, other, CtrlValue(panel, control) ? 0 : 1);
}

}  // namespace

void RefreshPowerControls(DevId id) {
    const PowerModel& p = PowerOf(id);
    const int panel = *Model(id).panel;
    if (panel <= 0) return;
    for (const PowerCtrl& c : p.ctrls) {
        switch (c.kind) {
            case PowerFieldKind::None: break;
            case PowerFieldKind::RefImp:
                // The item the chip uses: none while R33[3] is clear, else R10[3:2] plus one.
                SetCtrl(panel, c.id, (CFG_REG[33] & 0x08) ? std::min<int>(((CFG_REG[10] >> 2) & 3) + 1, 3) : 0);
                break;
            default: SetCtrl(panel, c.id, static_cast<int>((CFG_REG[c.reg] >> c.shift) & c.mask)); break;
        }
    }
}

int RunPowerOp(DevId id, PowerOp op, int panel, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const DevModel& m = ModelOfPanel(panel, id);
    const PowerModel& p = PowerOf(m.id);
    const int pnl = PanelFor(m, panel);
    switch (op) {
        case PowerOp::Reset: Reset(p); break;
        case PowerOp::PowerUp: PowerUp(p, pnl); break;
        case PowerOp::PowerDown: PowerDown(p); break;
        case PowerOp::LoadUpdateBits: LoadUpdateBits(p); break;
        case PowerOp::MuteAll: {
            ChipOperation mute("Mute All Outputs");
            p.mute(-1);
            if (!mute.Stopped()) rt::Delay(0.1);
            FlagCFGUpdate = 1;
            break;
        }
        case PowerOp::EnableAll: {
            ChipOperation enable("Enable All Outputs");
            for (int output : {2, 3, 4, 5}) p.turnOnOff(output);
            break;
        }
        case PowerOp::DisableAll: {
            ChipOperation disable("Disable All Outputs");
            p.turnOnOff(-1);
            break;
        }
        case PowerOp::InitBoard: {
            ChipOperation init("Initialize Board");
            SetCtrl(pnl, m.ids.usbI2S, 1);
            RunBoardOp(m.id, BoardOp::UsbI2S, pnl, m.ids.usbI2S, rt::EVENT_COMMIT);
            RunBoardOp(m.id, BoardOp::ConfigBoard, pnl, m.ids.configBoard, rt::EVENT_COMMIT);
            if (!init.Stopped()) RunBoardOp(m.id, BoardOp::UsbCodec, pnl, m.ids.usbCodec, rt::EVENT_COMMIT);
            break;
        }
        case PowerOp::InitDevice: {
            ChipOperation init("Initialize Device");
            bool reset = false;
            {
                // The reset and the power-up take about as long; Zutb's power-up, four writes
                // without pauses, takes no time.
                ProgressPart first(p.family == PowerFamily::Zutb ? 100.0 : 50.0);
                reset = Reset(p);
            }
            if (reset) PowerUp(p, pnl);
            break;
        }
        case PowerOp::Power1: PowerControl(p, pnl, control, 1); break;
        case PowerOp::Power2: PowerControl(p, pnl, control, 2); break;
        case PowerOp::Power3: PowerControl(p, pnl, control, 3); break;
        case PowerOp::Power4: PowerControl(p, pnl, control, 4); break;
        case PowerOp::Vddspk: SupplyPair(p, pnl, control); break;
    }
    return 0;
}

}  // namespace device

#define DEVICE_DEFINE_POWER_CALLBACK(name, model, op)                                             \
    int name(int panel, int control, int event, void*, int, int) {                               \
        return device::RunPowerOp(device::DevId::model, device::PowerOp::op, panel, control, event); \
    }
DEVICE_POWER_CALLBACKS(DEVICE_DEFINE_POWER_CALLBACK)
#undef DEVICE_DEFINE_POWER_CALLBACK
