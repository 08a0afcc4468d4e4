// The device-control panels' power and device buttons and power-management controls: reset,
// power-up, power-down, "Load Default Update Bits", the output buttons, "Initialize Board" and
// "Initialize Device", the speaker supply pair and the power-register operations. Each takes
// (panel, control, event, callbackData, eventData1, eventData2), acts on commit only and
// returns 0; the panel argument is the device-control panel the control sits on (0: the
// model's own). The demo panels' "Load Settings" run the power-up of their model as a commit
// when the chip is not powered up.
#pragma once

// (name, model, operation)
#define DEVICE_POWER_CALLBACKS(X) \
    X(BResetCB, Jorb, Reset) \
    X(BResetCBZuta, Zuta, Reset) \
    X(BResetCBZutb, Zutb, Reset) \
    X(BResetCBJora, Jora, Reset) \
    X(BResetCBQeva, Qeva, Reset) \
    X(MNBResetCB, Pykc, Reset) \
    X(MNPykbBResetCB, Pykb, Reset) \
    X(MNPykaBResetCB, Pyka, Reset) \
    X(BPowerUpCB, Jorb, PowerUp) \
    X(BPowerUpCBZuta, Zuta, PowerUp) \
    X(BPowerUpCBZutb, Zutb, PowerUp) \
    X(BPowerUpCBJora, Jora, PowerUp) \
    X(BPowerUpCBQeva, Qeva, PowerUp) \
    X(MNPowerUpCB, Pykc, PowerUp) \
    X(MNPykbPowerUpCB, Pykb, PowerUp) \
    X(MNPykaPowerUpCB, Pyka, PowerUp) \
    X(BPowerDownCB, Jorb, PowerDown) \
    X(BPowerDownCBZuta, Zuta, PowerDown) \
    X(BPowerDownCBZutb, Zutb, PowerDown) \
    X(BPowerDownCBJora, Jora, PowerDown) \
    X(BPowerDownCBQeva, Qeva, PowerDown) \
    X(MNPowerDownCB, Pykc, PowerDown) \
    X(MNPykbPowerDownCB, Pykb, PowerDown) \
    X(MNPykaPowerDownCB, Pyka, PowerDown) \
    X(BLoadUpdateBitsCB, Jorb, LoadUpdateBits) \
    X(BLoadUpdateBitsCBZuta, Zuta, LoadUpdateBits) \
    X(BLoadUpdateBitsCBZutb, Zutb, LoadUpdateBits) \
    X(BLoadUpdateBitsCBJora, Jora, LoadUpdateBits) \
    X(BLoadUpdateBitsCBQeva, Qeva, LoadUpdateBits) \
    X(BMuteAllCB, Jorb, MuteAll) \
    X(BMuteAllCBZuta, Zuta, MuteAll) \
    X(BMuteAllCBJora, Jora, MuteAll) \
    X(BMuteAllCBQeva, Qeva, MuteAll) \
    X(BEnableAllOutputsCB, Jorb, EnableAll) \
    X(BEnableAllOutputsCBZuta, Zuta, EnableAll) \
    X(BEnableAllOutputsCBJora, Jora, EnableAll) \
    X(BEnableAllOutputsCBQeva, Qeva, EnableAll) \
    X(BDisableAllOutputsCB, Jorb, DisableAll) \
    X(BDisableAllOutputsCBZuta, Zuta, DisableAll) \
    X(BDisableAllOutputsCBJora, Jora, DisableAll) \
    X(BDisableAllOutputsCBQeva, Qeva, DisableAll) \
    X(BInitBoardCB, Jorb, InitBoard) \
    X(BInitBoardCBZuta, Zuta, InitBoard) \
    X(BInitBoardCBZutb, Zutb, InitBoard) \
    X(BInitBoardCBJora, Jora, InitBoard) \
    X(BInitBoardCBQeva, Qeva, InitBoard) \
    X(BInitDeviceCB, Jorb, InitDevice) \
    X(BInitDeviceCBZuta, Zuta, InitDevice) \
    X(BInitDeviceCBZutb, Zutb, InitDevice) \
    X(BInitDeviceCBJora, Jora, InitDevice) \
    X(BInitDeviceCBQeva, Qeva, InitDevice) \
    X(STVDDSPKCB, Jorb, Vddspk) \
    X(STVDDSPKCBZuta, Zuta, Vddspk) \
    X(STVDDSPKCBJora, Jora, Vddspk) \
    X(STVDDSPKCBQeva, Qeva, Vddspk) \
    X(MNVDDSPKCB, Pykc, Vddspk) \
    X(MNPykbVDDSPKCB, Pykb, Vddspk) \
    X(MNPykaVDDSPKCB, Pyka, Vddspk) \
    X(PowerByte1CBJorb, Jorb, Power1) \
    X(PowerByte1CBZuta, Zuta, Power1) \
    X(PowerByte1CBZutb, Zutb, Power1) \
    X(PowerByte1CBJora, Jora, Power1) \
    X(PowerByte1CBQeva, Qeva, Power1) \
    X(PowerByte1CBPykc, Pykc, Power1) \
    X(PowerByte1CBPykb, Pykb, Power1) \
    X(PowerByte1CBPyka, Pyka, Power1) \
    X(PowerByte2CBJorb, Jorb, Power2) \
    X(PowerByte2CBZuta, Zuta, Power2) \
    X(PowerByte2CBZutb, Zutb, Power2) \
    X(PowerByte2CBJora, Jora, Power2) \
    X(PowerByte2CBQeva, Qeva, Power2) \
    X(PowerByte2CBPykc, Pykc, Power2) \
    X(PowerByte2CBPykb, Pykb, Power2) \
    X(PowerByte2CBPyka, Pyka, Power2) \
    X(PowerByte3CBJorb, Jorb, Power3) \
    X(PowerByte3CBZuta, Zuta, Power3) \
    X(PowerByte3CBJora, Jora, Power3) \
    X(PowerByte3CBQeva, Qeva, Power3) \
    X(PowerByte3CBPykc, Pykc, Power3) \
    X(PowerByte3CBPykb, Pykb, Power3) \
    X(PowerByte3CBPyka, Pyka, Power3) \
    X(PowerByte4CBJorb, Jorb, Power4) \
    X(PowerByte4CBZuta, Zuta, Power4) \
    X(PowerByte4CBZutb, Zutb, Power4) \
    X(PowerByte4CBJora, Jora, Power4) \
    X(PowerByte4CBQeva, Qeva, Power4) \
    X(PowerByte4CBPykc, Pykc, Power4) \
    X(PowerByte4CBPykb, Pykb, Power4) \
    X(PowerByte4CBPyka, Pyka, Power4)

// Declares one callback of such a list (device_services.h uses it for the board block too).
#define DEVICE_DECLARE_CALLBACK(name, model, op) int name(int panel, int control, int event, void* data, int e1, int e2);
DEVICE_POWER_CALLBACKS(DEVICE_DECLARE_CALLBACK)
