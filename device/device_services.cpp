// The named operations of device control: the communication-mode operations, every board-block
// callback bound to the shared implementation with its model, the panel refreshes and the
// reset.
#include "device/device_services.h"

#include "device/device_model.h"
#include "link/usbcomvunt.h"
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

using device::DevId;

namespace {

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

}  // namespace

void ResetDeviceControlState() { FlagAudioInterfaceActive = 0; }

// ---- communication mode ------------------------------------------------------------------
void EnableCommModeJorb() { device::EnableCommModeOf(DevId::Jorb); }
void EnableCommModeJora() { device::EnableCommModeOf(DevId::Jora); }
void EnableCommModeQeva() { device::EnableCommModeOf(DevId::Qeva); }
void EnableCommModeQevb() { device::EnableCommModeOf(DevId::Qevb); }
void EnableCommModeZuta() { device::EnableCommModeOf(DevId::Zuta); }
void EnableCommModeZutb() { device::EnableCommModeOf(DevId::Zutb); }
void EnableCommModePykc() { device::EnableCommModeOf(DevId::Pykc); }
void EnableCommModePykb() { device::EnableCommModeOf(DevId::Pykb); }
void EnableCommModePyka() { device::EnableCommModeOf(DevId::Pyka); }

void ModeMenuChoice(uint8_t mode) { device::RunModeChoice(device::LoadedDevModel(), mode); }

void STReadGPIOSettings(unsigned char w[2]) { device::PackBoardWord(DevId::Jorb, w); }
void STReadGPIOSettings_Jora(unsigned char w[2]) { device::PackBoardWord(DevId::Jora, w); }
void STReadGPIOSettings_Qeva(unsigned char w[2]) { device::PackBoardWord(DevId::Qeva, w); }
void STReadGPIOSettings_Qevb(unsigned char w[2]) { device::PackBoardWord(DevId::Qevb, w); }
void STReadGPIOSettingsZuta(unsigned char w[2]) { device::PackBoardWord(DevId::Zuta, w); }
void STReadGPIOSettingsZutb(unsigned char w[2]) { device::PackBoardWord(DevId::Zutb, w); }
void MNReadGPIOSettings(unsigned char w[2]) { device::PackBoardWord(DevId::Pykc, w); }
void MNPykbReadGPIOSettings(unsigned char w[2]) { device::PackBoardWord(DevId::Pykb, w); }
void MNPykaReadGPIOSettings(unsigned char w[2]) { device::PackBoardWord(DevId::Pyka, w); }

// ---- board block callbacks ---------------------------------------------------------------
#define DEVICE_DEFINE_CALLBACK(name, model, op)                                        \
    int name(int panel, int control, int event, void*, int, int) {                    \
        return device::RunBoardOp(DevId::model, device::BoardOp::op, panel, control, event); \
    }
DEVICE_BOARD_CALLBACKS(DEVICE_DEFINE_CALLBACK)
#undef DEVICE_DEFINE_CALLBACK

// ---- panel refresh (the panels carry no register controls yet) ---------------------------
void UpdateDevCtrlPanel() {}
void UpdateDevCtrlPanel_Jora() {}
void UpdateDevCtrlPanel_Qeva() {}
void UpdateDevCtrlPanelZuta() {}
void UpdateDevCtrlPanelZutb() {}
void MNUpdateDevCtrlPanel() {}
void MNPykbUpdateDevCtrlPanel() {}
void MNPykaUpdateDevCtrlPanel() {}

// ---- reset -------------------------------------------------------------------------------
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
