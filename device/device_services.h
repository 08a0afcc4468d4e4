// What the rest of the program uses of the device-control panels: the communication-mode
// operations, every callback of the board block (interface and I2S boxes, "Config Board",
// bridge registers, routing, PCM transmitter and settings, I2C clock), the reset, the panel
// refreshes and the globals the diagrams and volume ramps share.
//
// Every callback takes (panel, control, event, callbackData, eventData1, eventData2), acts on
// the commit event only and returns 0. It works on the panel it is called with (its own
// model's device-control panel when that is 0); a panel of another model that borrows a
// callback gives the controls it shares with the callback's model the same control ids.
//
// Other modules run them as a user's commit, for example the demo panels' "Load Settings":
//   BConfigBoardCBJora(PHdlDevJora, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
//   CUSBI2SEnCBJora(PHdlDevJora, 0, rt::EVENT_COMMIT, nullptr, 0, 0);  // after ticking the box
//   BUSBCODECCBJora(0, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
#pragma once

#include <cstdint>

#include "device/power.h"

// 1 while the board's digital audio interface is routed (lights the audio-interface group of
// the diagrams); set by the routing buttons and the board-word packing, cleared by each
// path-view initialisation.
extern int FlagAudioInterfaceActive;

// Output volume codes (0 to 63) last put into bits 5:0 of registers 52 to 55 (mono: 54).
extern int STLout1CurrentVOL;
extern int STRout1CurrentVOL;
extern int STLout2CurrentVOL;
extern int STRout2CurrentVOL;
extern int MNSPKCurrentVOL;

// ---- communication mode ------------------------------------------------------------------
// Re-apply CommMode (0x40 3-wire SPI, 0x80 4-wire SPI, 0xC0 I2C) on the model's device-control
// panel: tick the matching interface box, clear the others and run its operation, which
// configures the board (word 0x34) and the codec's interface bit. Other values do nothing.
void EnableCommModeJorb();
void EnableCommModeJora();
void EnableCommModeQeva();
void EnableCommModeZuta();
void EnableCommModeZutb();
void EnableCommModePykc();
void EnableCommModePykb();
void EnableCommModePyka();
// Qevb keeps its board block on the demo panel and takes the interface from the Mode menu's
// marks; CommMode 0 ticks its "External Control" box.
void EnableCommModeQevb();

// The Mode menu's choice of `mode` (0x40, 0x80, 0xC0) carried out on the loaded model's panel
// (Jorb with none loaded): its interface box ticked and its operation run (Qevb: its interface
// operation). The menu's marks are the caller's.
void ModeMenuChoice(uint8_t mode);

// Packs the two-byte board configuration word from the model's panel; sets CommMode from the
// interface boxes, FlagAudioInterfaceActive and FlagCFGUpdate. No traffic.
void STReadGPIOSettings(unsigned char word[2]);
void STReadGPIOSettings_Jora(unsigned char word[2]);
void STReadGPIOSettings_Qeva(unsigned char word[2]);
void STReadGPIOSettings_Qevb(unsigned char word[2]);
void STReadGPIOSettingsZuta(unsigned char word[2]);
void STReadGPIOSettingsZutb(unsigned char word[2]);
void MNReadGPIOSettings(unsigned char word[2]);
void MNPykbReadGPIOSettings(unsigned char word[2]);
void MNPykaReadGPIOSettings(unsigned char word[2]);

// ---- board block callbacks: (name, model, operation) -------------------------------------
// Interface boxes (Spi3W, Spi4W, I2C, External; Qevb's three interface operations are bound
// to no control), "Set Mode Pin High" of Qevb (ModeSelect: runs Config Board), "I2C CLK",
// "Config Board", the I2S source boxes and "Digital Audio Reset", the bridge "Read" and
// "Write", the routing buttons (UsbPcm also lights the audio interface), "Enable Vunt PCMT" /
// "Disable Vunt PCMT", the PCM rings and box, "Vunt MCU Configuration Enable" and "Config Vunt
// PCM" (no operation).
#define DEVICE_BOARD_CALLBACKS(X) \
    X(ST3WSPIModeEnCB, Jorb, Spi3W) \
    X(ST3WSPIModeEnCBZuta, Zuta, Spi3W) \
    X(ST3WSPIModeEnCBZutb, Zutb, Spi3W) \
    X(ST3WSPIModeEnCBJora, Jora, Spi3W) \
    X(ST3WSPIModeEnCBQeva, Qeva, Spi3W) \
    X(ST3WSPIModeEnCBQevb, Qevb, Spi3W) \
    X(MN3WSPIModeEnCB, Pykc, Spi3W) \
    X(MNPykb3WSPIModeEnCB, Pykb, Spi3W) \
    X(MNPyka3WSPIModeEnCB, Pyka, Spi3W) \
    X(ST4WSPIModeEnCB, Jorb, Spi4W) \
    X(ST4WSPIModeEnCBZuta, Zuta, Spi4W) \
    X(ST4WSPIModeEnCBZutb, Zutb, Spi4W) \
    X(ST4WSPIModeEnCBJora, Jora, Spi4W) \
    X(ST4WSPIModeEnCBQeva, Qeva, Spi4W) \
    X(ST4WSPIModeEnCBQevb, Qevb, Spi4W) \
    X(MN4WSPIModeEnCB, Pykc, Spi4W) \
    X(MNPykb4WSPIModeEnCB, Pykb, Spi4W) \
    X(MNPyka4WSPIModeEnCB, Pyka, Spi4W) \
    X(STI2CModeEnCB, Jorb, I2C) \
    X(STI2CModeEnCBZuta, Zuta, I2C) \
    X(STI2CModeEnCBZutb, Zutb, I2C) \
    X(STI2CModeEnCBJora, Jora, I2C) \
    X(STI2CModeEnCBQeva, Qeva, I2C) \
    X(STI2CModeEnCBQevb, Qevb, I2C) \
    X(MNI2CModeEnCB, Pykc, I2C) \
    X(MNPykbI2CModeEnCB, Pykb, I2C) \
    X(MNPykaI2CModeEnCB, Pyka, I2C) \
    X(STExternalCtrlCB, Jorb, External) \
    X(STExternalCtrlCBZuta, Zuta, External) \
    X(STExternalCtrlCBZutb, Zutb, External) \
    X(STExternalCtrlCBJora, Jora, External) \
    X(STExternalCtrlCBQeva, Qeva, External) \
    X(STExternalCtrlCBQevb, Qevb, External) \
    X(MNExternalCtrlCB, Pykc, External) \
    X(MNPykbExternalCtrlCB, Pykb, External) \
    X(MNPykaExternalCtrlCB, Pyka, External) \
    X(ModeSelectCB, Qevb, ModeSelect) \
    X(STCI2CRateCB, Jorb, I2CClock) \
    X(STCI2CRateCBZuta, Zuta, I2CClock) \
    X(STCI2CRateCBZutb, Zutb, I2CClock) \
    X(STCI2CRateCBJora, Jora, I2CClock) \
    X(STCI2CRateCBQeva, Qeva, I2CClock) \
    X(MNCI2CRateM, Pykc, I2CClock) \
    X(MNPykaCI2CRateM, Pyka, I2CClock) \
    X(BConfigBoardCB, Jorb, ConfigBoard) \
    X(BConfigBoardCBZuta, Zuta, ConfigBoard) \
    X(BConfigBoardCBZutb, Zutb, ConfigBoard) \
    X(BConfigBoardCBJora, Jora, ConfigBoard) \
    X(BConfigBoardCBQeva, Qeva, ConfigBoard) \
    X(BConfigBoardCBQevb, Qevb, ConfigBoard) \
    X(MNBConfigBoardCB, Pykc, ConfigBoard) \
    X(MNPykbBConfigBoardCB, Pykb, ConfigBoard) \
    X(MNPykaBConfigBoardCB, Pyka, ConfigBoard) \
    X(CDigitalResetCB, Jorb, DigitalReset) \
    X(CDigitalResetCBZuta, Zuta, DigitalReset) \
    X(CDigitalResetCBZutb, Zutb, DigitalReset) \
    X(CDigitalResetCBJora, Jora, DigitalReset) \
    X(CDigitalResetCBQeva, Qeva, DigitalReset) \
    X(MNCDigitalResetCB, Pykc, DigitalReset) \
    X(MNPykbCDigitalResetCB, Pykb, DigitalReset) \
    X(MNPykaCDigitalResetCB, Pyka, DigitalReset) \
    X(CUSBI2SEnCB, Jorb, UsbI2S) \
    X(CUSBI2SEnCBZuta, Zuta, UsbI2S) \
    X(CUSBI2SEnCBZutb, Zutb, UsbI2S) \
    X(CUSBI2SEnCBJora, Jora, UsbI2S) \
    X(CUSBI2SEnCBQeva, Qeva, UsbI2S) \
    X(CUSBI2SEnCBQevb, Qevb, UsbI2S) \
    X(MNCUSBI2SEnCB, Pykc, UsbI2S) \
    X(MNPykbCUSBI2SEnCB, Pykb, UsbI2S) \
    X(MNPykaCUSBI2SEnCB, Pyka, UsbI2S) \
    X(CAPMASEnCB, Jorb, ApMaster) \
    X(CAPMASEnCBZuta, Zuta, ApMaster) \
    X(CAPMASEnCBZutb, Zutb, ApMaster) \
    X(CAPMASEnCBJora, Jora, ApMaster) \
    X(CAPMASEnCBQeva, Qeva, ApMaster) \
    X(MNCAPMASEnCB, Pykc, ApMaster) \
    X(MNPykbCAPMASEnCB, Pykb, ApMaster) \
    X(MNPykaCAPMASEnCB, Pyka, ApMaster) \
    X(CSPDIFMASEnCB, Jorb, DaMaster) \
    X(CSPDIFMASEnCBZuta, Zuta, DaMaster) \
    X(CSPDIFMASEnCBZutb, Zutb, DaMaster) \
    X(CSPDIFMASEnCBJora, Jora, DaMaster) \
    X(CSPDIFMASEnCBQeva, Qeva, DaMaster) \
    X(CSPDIFMASEnCBQevb, Qevb, DaMaster) \
    X(MNCSPDIFMASEnCB, Pykc, DaMaster) \
    X(MNPykbCSPDIFMASEnCB, Pykb, DaMaster) \
    X(MNPykaCSPDIFMASEnCB, Pyka, DaMaster) \
    X(CAPSLAVEEnCB, Jorb, ApSlave) \
    X(CAPSLAVEEnCBZuta, Zuta, ApSlave) \
    X(CAPSLAVEEnCBZutb, Zutb, ApSlave) \
    X(CAPSLAVEEnCBJora, Jora, ApSlave) \
    X(CAPSLAVEEnCBQeva, Qeva, ApSlave) \
    X(MNCAPSLAVEEnCB, Pykc, ApSlave) \
    X(MNPykbCAPSLAVEEnCB, Pykb, ApSlave) \
    X(MNPykaCAPSLAVEEnCB, Pyka, ApSlave) \
    X(CSPDIFSLAVEEnCB, Jorb, DaSlave) \
    X(CSPDIFSLAVEEnCBZuta, Zuta, DaSlave) \
    X(CSPDIFSLAVEEnCBZutb, Zutb, DaSlave) \
    X(CSPDIFSLAVEEnCBJora, Jora, DaSlave) \
    X(CSPDIFSLAVEEnCBQeva, Qeva, DaSlave) \
    X(MNCSPDIFSLAVEEnCB, Pykc, DaSlave) \
    X(MNPykbCSPDIFSLAVEEnCB, Pykb, DaSlave) \
    X(MNPykaCSPDIFSLAVEEnCB, Pyka, DaSlave) \
    X(CDirectDUTEnCB, Jorb, Direct) \
    X(CDirectDUTEnCBZuta, Zuta, Direct) \
    X(CDirectDUTEnCBZutb, Zutb, Direct) \
    X(CDirectDUTEnCBJora, Jora, Direct) \
    X(CDirectDUTEnCBQeva, Qeva, Direct) \
    X(MNCDirectDUTEnCB, Pykc, Direct) \
    X(MNPykbCDirectDUTEnCB, Pykb, Direct) \
    X(MNPykaCDirectDUTEnCB, Pyka, Direct) \
    X(BVuntRegReadCB, Jorb, RegRead) \
    X(BVuntRegReadCBZuta, Zuta, RegRead) \
    X(BVuntRegReadCBZutb, Zutb, RegRead) \
    X(BVuntRegReadCBJora, Jora, RegRead) \
    X(BVuntRegReadCBQeva, Qeva, RegRead) \
    X(MNBVuntRegReadCB, Pykc, RegRead) \
    X(MNPykaBVuntRegReadCB, Pyka, RegRead) \
    X(BVuntRrgWriteCB, Jorb, RegWrite) \
    X(BVuntRrgWriteCBZuta, Zuta, RegWrite) \
    X(BVuntRrgWriteCBZutb, Zutb, RegWrite) \
    X(BVuntRrgWriteCBJora, Jora, RegWrite) \
    X(BVuntRrgWriteCBQeva, Qeva, RegWrite) \
    X(MNBVuntRrgWriteCB, Pykc, RegWrite) \
    X(MNPykaBVuntRrgWriteCB, Pyka, RegWrite) \
    X(BUSBCODECCB, Jorb, UsbCodec) \
    X(BUSBCODECCBZuta, Zuta, UsbCodec) \
    X(BUSBCODECCBZutb, Zutb, UsbCodec) \
    X(BUSBCODECCBJora, Jora, UsbCodec) \
    X(BUSBCODECCBQeva, Qeva, UsbCodec) \
    X(BUSBCODECCBQevb, Qevb, UsbCodec) \
    X(MNBUSBCODECCB, Pykc, UsbCodec) \
    X(MNPykbBUSBCODECCB, Pykb, UsbCodec) \
    X(MNPykaBUSBCODECCB, Pyka, UsbCodec) \
    X(BUSBPCMCB, Jorb, UsbPcm) \
    X(BUSBPCMCBZuta, Zuta, UsbPcm) \
    X(BUSBPCMCBZutb, Zutb, UsbPcm) \
    X(BUSBPCMCBJora, Jora, UsbPcm) \
    X(BUSBPCMCBQeva, Qeva, UsbPcm) \
    X(BUSBPCMCBQevb, Qevb, UsbPcm) \
    X(MNBUSBPCMCB, Pykc, UsbPcm) \
    X(MNPykbBUSBPCMCB, Pykb, UsbPcm) \
    X(MNPykaBUSBPCMCB, Pyka, UsbPcm) \
    X(BCODECPCMCB, Jorb, CodecPcm) \
    X(BCODECPCMCBZuta, Zuta, CodecPcm) \
    X(BCODECPCMCBZutb, Zutb, CodecPcm) \
    X(BCODECPCMCBJora, Jora, CodecPcm) \
    X(BCODECPCMCBQeva, Qeva, CodecPcm) \
    X(MNBCODECPCMCB, Pykc, CodecPcm) \
    X(MNPykbBCODECPCMCB, Pykb, CodecPcm) \
    X(MNPykaBCODECPCMCB, Pyka, CodecPcm) \
    X(BMIXALLCB, Jorb, MixAll) \
    X(BMIXALLCBZuta, Zuta, MixAll) \
    X(BMIXALLCBZutb, Zutb, MixAll) \
    X(MNBMIXALLCB, Pykc, MixAll) \
    X(MNPykbBMIXALLCB, Pykb, MixAll) \
    X(MNPykaBMIXALLCB, Pyka, MixAll) \
    X(BEnableUSBPCMCB, Jorb, PcmtEnable) \
    X(BEnableUSBPCMCBZuta, Zuta, PcmtEnable) \
    X(BEnableUSBPCMCBZutb, Zutb, PcmtEnable) \
    X(BEnableUSBPCMCBJora, Jora, PcmtEnable) \
    X(BEnableUSBPCMCBQeva, Qeva, PcmtEnable) \
    X(BEnableUSBPCMCBQevb, Qevb, PcmtEnable) \
    X(BMNEnableUSBPCMCB, Pykc, PcmtEnable) \
    X(BMNPykbEnableUSBPCMCB, Pykb, PcmtEnable) \
    X(BMNPykaEnableUSBPCMCB, Pyka, PcmtEnable) \
    X(BDisableUSBPCMCB, Jorb, PcmtDisable) \
    X(BDisableUSBPCMCBZuta, Zuta, PcmtDisable) \
    X(BDisableUSBPCMCBZutb, Zutb, PcmtDisable) \
    X(BDisableUSBPCMCBJora, Jora, PcmtDisable) \
    X(BDisableUSBPCMCBQeva, Qeva, PcmtDisable) \
    X(BDisableUSBPCMCBQevb, Qevb, PcmtDisable) \
    X(BMNDisableUSBPCMCB, Pykc, PcmtDisable) \
    X(BMNPykbDisableUSBPCMCB, Pykb, PcmtDisable) \
    X(BMNPykaDisableUSBPCMCB, Pyka, PcmtDisable) \
    X(RBCLKSelectCB, Jorb, BitClock) \
    X(RBCLKSelectCBZuta, Zuta, BitClock) \
    X(RBCLKSelectCBZutb, Zutb, BitClock) \
    X(MNRBCLKSelectCB, Pykc, BitClock) \
    X(MNPykbRBCLKSelectCB, Pykb, BitClock) \
    X(MNPykaRBCLKSelectCB, Pyka, BitClock) \
    X(RFSLocSelectCB, Jorb, FsLocation) \
    X(RFSLocSelectCBZuta, Zuta, FsLocation) \
    X(RFSLocSelectCBZutb, Zutb, FsLocation) \
    X(MNRFSLocSelectCB, Pykc, FsLocation) \
    X(MNPykbRFSLocSelectCB, Pykb, FsLocation) \
    X(MNPykaRFSLocSelectCB, Pyka, FsLocation) \
    X(RFSLengthSelectCB, Jorb, FsLength) \
    X(RFSLengthSelectCBZuta, Zuta, FsLength) \
    X(RFSLengthSelectCBZutb, Zutb, FsLength) \
    X(MNRFSLengthSelectCB, Pykc, FsLength) \
    X(MNPykbRFSLengthSelectCB, Pykb, FsLength) \
    X(MNPykaRFSLengthSelectCB, Pyka, FsLength) \
    X(CFSDELAYCB, Jorb, FsDelay) \
    X(CFSDELAYCBZuta, Zuta, FsDelay) \
    X(CFSDELAYCBZutb, Zutb, FsDelay) \
    X(MNCFSDELAYCB, Pykc, FsDelay) \
    X(MNPykbCFSDELAYCB, Pykb, FsDelay) \
    X(MNPykaCFSDELAYCB, Pyka, FsDelay) \
    X(STVuntConfigENCB, Jorb, VuntConfigEn) \
    X(STVuntConfigENCBZuta, Zuta, VuntConfigEn) \
    X(STVuntConfigENCBZutb, Zutb, VuntConfigEn) \
    X(BConfigVuntPCMCB, Jorb, ConfigVuntPcm) \
    X(BConfigVuntPCMCBZuta, Zuta, ConfigVuntPcm) \
    X(BConfigVuntPCMCBZutb, Zutb, ConfigVuntPcm)

DEVICE_BOARD_CALLBACKS(DEVICE_DECLARE_CALLBACK)

// ---- panel refresh from CFG_REG (no traffic) ---------------------------------------------
void UpdateDevCtrlPanel();
void UpdateDevCtrlPanel_Jora();
void UpdateDevCtrlPanel_Qeva();
void UpdateDevCtrlPanelZuta();
void UpdateDevCtrlPanelZutb();
void MNUpdateDevCtrlPanel();
void MNPykbUpdateDevCtrlPanel();
void MNPykaUpdateDevCtrlPanel();

// ---- power, reset and device buttons (device/power.h) ------------------------------------
// Bridge command of the "USB <--> PCM" routing buttons.
inline constexpr uint8_t CMD_USB_PCM_ROUTE = 0x35;

// Clears FlagAudioInterfaceActive (tests).
void ResetDeviceControlState();
