// Device control, as far as the rest of the program needs it now: the communication mode (the
// mode boxes, the board configuration word and the codec's interface bit), the reset and
// routing buttons. One implementation for every model, driven by a table of each model's
// device-control panel.
//
// A box that the model's panel does not carry (yet) is kept here as a remembered tick, so the
// word is packed the same way whether the box is on the screen or not.
#include "device/device_services.h"

#include <array>

#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/cfgDemoQevb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "regmap/regmap_model.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

int FlagAudioInterfaceActive = 0;
int STLout1CurrentVOL = 0;
int STRout1CurrentVOL = 0;
int STLout2CurrentVOL = 0;
int STRout2CurrentVOL = 0;
int MNSPKCurrentVOL = 0;

namespace {

using ui::AudioCodec_pan::MENUBAR_MODE_I2CMode;
using ui::AudioCodec_pan::MENUBAR_MODE_SPI3WMode;
using ui::AudioCodec_pan::MENUBAR_MODE_SPI4WMode;

enum Box {
    kBox3W, kBox4W, kBoxI2C, kBoxExternal, kBoxModePin, kBoxDigitalReset, kBoxAPSlave,
    kBoxAPMaster, kBoxDAMaster, kBoxUSBI2S, kBoxDASlave, kBoxDirect, kBoxCount
};

enum Model { kJorb, kJora, kQeva, kQevb, kZuta, kZutb, kPykc, kPykb, kPyka, kModelCount };

struct DevPanel {
    int* panel;
    std::array<int, kBoxCount> ids;  // control id of each box on the panel, 0 when absent
    bool interfaceFromMenu;          // Qevb: the interface comes from the Mode menu's marks
};

DevPanel kPanels[kModelCount] = {
    {&PHandleSTDevCtrl,
     {ui::cfgDevJorb_pan::CFGDEVJorb_ST3WSPIModeEn, ui::cfgDevJorb_pan::CFGDEVJorb_ST4WSPIModeEn,
      ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn}, false},
    {&PHdlDevJora, {}, false},
    {&PHdlDevQeva, {}, false},
    {&PHdlDemoQevb, {0, 0, 0, ui::cfgDemoQevb_pan::STDemo_STExternalCtrl}, true},
    {&PHandleSTDevCtrlZuta, {}, false},
    {&PHandleSTDevCtrlZutb, {}, false},
    {&PHandleMNDevCtrl,
     {ui::MNDevCtrl_pan::MNDEVCTRL_MN3WSPIModeEn, ui::MNDevCtrl_pan::MNDEVCTRL_MN4WSPIModeEn,
      ui::MNDevCtrl_pan::MNDEVCTRL_MNI2CModeEn}, false},
    {&PHandleMNPykbDevCtrl, {}, false},
    {&PHandleMNPykaDevCtrl, {0, 0, ui::MNPykaDevCtrl_pan::MNPykaDEVCTRL_MNI2CModeEn}, false},
};

// Ticks of the boxes a panel does not carry.
std::array<std::array<int, kBoxCount>, kModelCount> rememberedTicks{};

bool OnScreen(Model m, Box b) { return kPanels[m].ids[b] > 0 && *kPanels[m].panel > 0; }

int Ticked(Model m, Box b) {
    if (!OnScreen(m, b)) return rememberedTicks[m][b];
    int v = 0;
    rt::GetCtrlVal(*kPanels[m].panel, kPanels[m].ids[b], &v);
    return v != 0;
}

void Tick(Model m, Box b, int on) {
    if (OnScreen(m, b))
        rt::SetCtrlVal(*kPanels[m].panel, kPanels[m].ids[b], on ? 1 : 0);
    else
        rememberedTicks[m][b] = on ? 1 : 0;
}

void Dim(Model m, Box b, int dimmed) {
    if (OnScreen(m, b)) rt::SetCtrlAttribute(*kPanels[m].panel, kPanels[m].ids[b], rt::ATTR_DIMMED, dimmed);
}

int MenuTicked(int item) {
    int on = 0;
    if (PHandleMenu > 0) rt::GetMenuBarAttribute(PHandleMenu, item, rt::ATTR_CHECKED, &on);
    return on != 0;
}

void TickModeMenu(int item) {
    if (PHandleMenu <= 0) return;
    for (int i : {MENUBAR_MODE_SPI3WMode, MENUBAR_MODE_SPI4WMode, MENUBAR_MODE_I2CMode})
        rt::SetMenuBarAttribute(PHandleMenu, i, rt::ATTR_CHECKED, i == item ? 1 : 0);
}

// Packs the board configuration word. A set bit means "box not ticked", except byte 0 bits 2
// (an interface is chosen) and 3 (not SPI).
void Pack(Model m, unsigned char word[2]) {
    int spi3 = 0, spi4 = 0, i2c = 0;
    if (kPanels[m].interfaceFromMenu) {
        spi3 = MenuTicked(MENUBAR_MODE_SPI3WMode);
        spi4 = MenuTicked(MENUBAR_MODE_SPI4WMode);
        i2c = MenuTicked(MENUBAR_MODE_I2CMode);
    } else {
        spi3 = Ticked(m, kBox3W);
        spi4 = Ticked(m, kBox4W);
        i2c = Ticked(m, kBoxI2C);
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
    if (!Ticked(m, kBoxDigitalReset)) b0 |= 0x01;
    if (!Ticked(m, kBoxExternal)) b0 |= 0x02;
    if (!Ticked(m, kBoxAPSlave)) b0 |= 0x10;
    if (!Ticked(m, kBoxModePin)) b0 |= 0x20;
    unsigned b1 = 0;
    if (!Ticked(m, kBoxAPMaster)) b1 |= 0x01;
    if (!Ticked(m, kBoxDAMaster)) b1 |= 0x02;
    if (!Ticked(m, kBoxUSBI2S)) b1 |= 0x04;
    if (!Ticked(m, kBoxDASlave)) b1 |= 0x08;
    if (!Ticked(m, kBoxDirect)) b1 |= 0x10;
    word[0] = static_cast<unsigned char>(b0);
    word[1] = static_cast<unsigned char>(b1);
    FlagAudioInterfaceActive = (b1 & 0x03) == 0x03 ? 0 : 1;
    FlagCFGUpdate = 1;
}

void SendWord(const unsigned char word[2]) {
    USBSend(CMD_BOARD_CONFIG, 2, word);
    rt::Delay(0.3);
}

// Sets or clears the codec's interface bit (register 7 bit 8) and writes register 7.
void WriteInterfaceBit(bool set) {
    if (set)
        CFG_REG[7] |= 0x100u;
    else
        CFG_REG[7] &= ~0x100u;
    ZelqxWriteOneReg(7);
    rt::Delay(0.3);
}

// "Config Board": packs the word and configures board and codec for the mode the packing left
// in CommMode. The SPI-to-I2C and 4-wire changes write register 7 in 3-wire framing between two
// sends of the word.
void ConfigBoard(Model m) {
    unsigned char word[2];
    Pack(m, word);
    switch (CommMode) {
        case COMM_SPI3W:
            SendWord(word);
            WriteInterfaceBit(true);
            TickModeMenu(MENUBAR_MODE_SPI3WMode);
            break;
        case COMM_SPI4W: {
            unsigned char first[2] = {static_cast<unsigned char>(word[0] & ~0x20u), word[1]};
            SendWord(first);
            CommMode = COMM_SPI3W;
            WriteInterfaceBit(true);
            SendWord(word);
            CommMode = COMM_SPI4W;
            TickModeMenu(MENUBAR_MODE_SPI4WMode);
            break;
        }
        case COMM_I2C: {
            unsigned char first[2] = {static_cast<unsigned char>(word[0] & ~0x28u), word[1]};
            SendWord(first);
            CommMode = COMM_SPI3W;
            WriteInterfaceBit(false);
            SendWord(word);
            CommMode = COMM_I2C;
            TickModeMenu(MENUBAR_MODE_I2CMode);
            break;
        }
        default:
            break;
    }
}

Box BoxOf(uint8_t mode) {
    return mode == COMM_SPI3W ? kBox3W : mode == COMM_SPI4W ? kBox4W : kBoxI2C;
}

// The mode box operation: the other boxes and "External Control" cleared, "Set Mode Pin High"
// ticked for 3-wire SPI only and dimmed, then Config Board.
void ModeOperation(Model m, uint8_t mode) {
    for (Box b : {kBox3W, kBox4W, kBoxI2C})
        if (b != BoxOf(mode)) Tick(m, b, 0);
    Tick(m, kBoxExternal, 0);
    Tick(m, kBoxModePin, mode == COMM_SPI3W ? 1 : 0);
    Dim(m, kBoxModePin, 1);
    ConfigBoard(m);
}

int ModeBoxCallback(Model m, uint8_t mode, int panel, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    int on = 0;
    if (panel > 0 && control > 0 && rt::GetCtrlVal(panel, control, &on) >= 0) {
        if (!on) return 0;
    } else if (!Ticked(m, BoxOf(mode))) {
        return 0;
    }
    ModeOperation(m, mode);
    return 0;
}

void EnableCommModeOf(Model m) {
    uint8_t mode = CommMode;
    if (mode != COMM_SPI3W && mode != COMM_SPI4W && mode != COMM_I2C) return;
    for (Box b : {kBox3W, kBox4W, kBoxI2C}) Tick(m, b, b == BoxOf(mode) ? 1 : 0);
    ModeOperation(m, mode);
}

// Qevb: the interface operations act only while the Mode menu carries their mark.
int QevbInterfaceOperation(uint8_t mode, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    int item = mode == COMM_SPI3W ? MENUBAR_MODE_SPI3WMode
               : mode == COMM_SPI4W ? MENUBAR_MODE_SPI4WMode : MENUBAR_MODE_I2CMode;
    if (!MenuTicked(item)) return 0;
    Tick(kQevb, kBoxExternal, 0);
    Tick(kQevb, kBoxModePin, mode == COMM_SPI3W ? 1 : 0);
    Dim(kQevb, kBoxModePin, 1);
    ConfigBoard(kQevb);
    return 0;
}

// "Reset": a software reset of the codec, then the mode again and a read-back.
using ReadAllFn = int (*)(int, int, int, void*, int, int);
int Reset(int event, void (*enableCommMode)(), ReadAllFn readAll, int regMapPanel) {
    if (event != rt::EVENT_COMMIT) return 0;
    CFG_REG[0] = 0;
    ZelqxWriteOneReg(0);
    rt::Delay(0.3);
    if (QuillonMode == 0 && DeviceAttached) {
        enableCommMode();
        readAll(regMapPanel, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
    }
    PoweredUp = 0;
    FlagCFGUpdate = 1;
    return 0;
}

// "USB <--> PCM": route the board's audio; the interface counts as active whatever the send did.
int RouteUSBToPCM(int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    USBSend(CMD_USB_PCM_ROUTE, 0, nullptr);
    FlagAudioInterfaceActive = 1;
    FlagCFGUpdate = 1;
    return 0;
}

}  // namespace

// Forgets the remembered ticks (tests).
void ResetDeviceControlState() {
    rememberedTicks = {};
    FlagAudioInterfaceActive = 0;
}

// ---- communication mode ------------------------------------------------------------------
void EnableCommModeJorb() { EnableCommModeOf(kJorb); }
void EnableCommModeJora() { EnableCommModeOf(kJora); }
void EnableCommModeQeva() { EnableCommModeOf(kQeva); }
void EnableCommModeZuta() { EnableCommModeOf(kZuta); }
void EnableCommModeZutb() { EnableCommModeOf(kZutb); }
void EnableCommModePykc() { EnableCommModeOf(kPykc); }
void EnableCommModePykb() { EnableCommModeOf(kPykb); }
void EnableCommModePyka() { EnableCommModeOf(kPyka); }

void EnableCommModeQevb() {
    switch (CommMode) {
        case 0: Tick(kQevb, kBoxExternal, 1); break;
        case COMM_SPI3W:
        case COMM_SPI4W:
        case COMM_I2C: QevbInterfaceOperation(CommMode, rt::EVENT_COMMIT); break;
        default: break;
    }
}

int ST3WSPIModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kJorb, COMM_SPI3W, p, c, e); }
int ST4WSPIModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kJorb, COMM_SPI4W, p, c, e); }
int STI2CModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kJorb, COMM_I2C, p, c, e); }
int MN3WSPIModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kPykc, COMM_SPI3W, p, c, e); }
int MN4WSPIModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kPykc, COMM_SPI4W, p, c, e); }
int MNI2CModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kPykc, COMM_I2C, p, c, e); }
int MNPykaI2CModeEnCB(int p, int c, int e, void*, int, int) { return ModeBoxCallback(kPyka, COMM_I2C, p, c, e); }

int ST3WSPIModeEnCBQevb(int, int, int e, void*, int, int) { return QevbInterfaceOperation(COMM_SPI3W, e); }
int ST4WSPIModeEnCBQevb(int, int, int e, void*, int, int) { return QevbInterfaceOperation(COMM_SPI4W, e); }
int STI2CModeEnCBQevb(int, int, int e, void*, int, int) { return QevbInterfaceOperation(COMM_I2C, e); }

// "External Control" of the Qevb board block: "Set Mode Pin High" is free only while it is
// ticked. Nothing is sent.
int STExternalCtrlCBQevb(int, int, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    Dim(kQevb, kBoxModePin, Ticked(kQevb, kBoxExternal) ? 0 : 1);
    return 0;
}

void STReadGPIOSettings(unsigned char w[2]) { Pack(kJorb, w); }
void STReadGPIOSettings_Jora(unsigned char w[2]) { Pack(kJora, w); }
void STReadGPIOSettings_Qeva(unsigned char w[2]) { Pack(kQeva, w); }
void STReadGPIOSettings_Qevb(unsigned char w[2]) { Pack(kQevb, w); }
void STReadGPIOSettingsZuta(unsigned char w[2]) { Pack(kZuta, w); }
void STReadGPIOSettingsZutb(unsigned char w[2]) { Pack(kZutb, w); }
void MNReadGPIOSettings(unsigned char w[2]) { Pack(kPykc, w); }
void MNPykbReadGPIOSettings(unsigned char w[2]) { Pack(kPykb, w); }
void MNPykaReadGPIOSettings(unsigned char w[2]) { Pack(kPyka, w); }

// ---- panel refresh (the panels carry no register controls yet) ---------------------------
void UpdateDevCtrlPanel() {}
void UpdateDevCtrlPanel_Jora() {}
void UpdateDevCtrlPanel_Qeva() {}
void UpdateDevCtrlPanelZuta() {}
void UpdateDevCtrlPanelZutb() {}
void MNUpdateDevCtrlPanel() {}
void MNPykbUpdateDevCtrlPanel() {}
void MNPykaUpdateDevCtrlPanel() {}

// ---- buttons -----------------------------------------------------------------------------
int BResetCB(int, int, int e, void*, int, int) { return Reset(e, EnableCommModeJorb, STReadAllCB, PHandleSTRegMap); }
int BResetCBZuta(int, int, int e, void*, int, int) {
    return Reset(e, EnableCommModeZuta, STReadAllCBZuta, PHandleSTRegMapZuta);
}
int BResetCBZutb(int, int, int e, void*, int, int) {
    return Reset(e, EnableCommModeZutb, STReadAllCBZutb, PHandleSTRegMapZutb);
}
int BResetCBJora(int, int, int e, void*, int, int) {
    return Reset(e, EnableCommModeJora, STReadAllCBJora, PHdlRegMapJora);
}
int BResetCBQeva(int, int, int e, void*, int, int) {
    return Reset(e, EnableCommModeQeva, STReadAllCBQeva, PHdlRegMapQeva);
}

int BUSBPCMCB(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int BUSBPCMCBZuta(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int BUSBPCMCBZutb(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int BUSBPCMCBJora(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int BUSBPCMCBQeva(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int MNBUSBPCMCB(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int MNPykbBUSBPCMCB(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
int MNPykaBUSBPCMCB(int, int, int e, void*, int, int) { return RouteUSBToPCM(e); }
