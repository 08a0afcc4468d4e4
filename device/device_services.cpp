// The named operations of device control: the communication-mode operations, every board-block
// callback bound to the shared implementation with its model, and the panel refreshes.
#include "device/device_services.h"

#include "device/device_model.h"
#include "device/power_model.h"
#include "runtime/ui.h"
#include "shell/state.h"

int FlagAudioInterfaceActive = 0;
int STLout1CurrentVOL = 0;
int STRout1CurrentVOL = 0;
int STLout2CurrentVOL = 0;
int STRout2CurrentVOL = 0;
int MNSPKCurrentVOL = 0;

using device::DevId;

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

// ---- panel refresh from CFG_REG (no traffic) ---------------------------------------------
void UpdateDevCtrlPanel() { device::RefreshPowerControls(DevId::Jorb); }
void UpdateDevCtrlPanel_Jora() { device::RefreshPowerControls(DevId::Jora); }
void UpdateDevCtrlPanel_Qeva() { device::RefreshPowerControls(DevId::Qeva); }
void UpdateDevCtrlPanelZuta() { device::RefreshPowerControls(DevId::Zuta); }
void UpdateDevCtrlPanelZutb() { device::RefreshPowerControls(DevId::Zutb); }
void MNUpdateDevCtrlPanel() { device::RefreshPowerControls(DevId::Pykc); }
void MNPykbUpdateDevCtrlPanel() { device::RefreshPowerControls(DevId::Pykb); }
void MNPykaUpdateDevCtrlPanel() { device::RefreshPowerControls(DevId::Pyka); }
