// What the rest of the program uses of the device-control panels: the communication-mode
// operations, the mode boxes, the reset and routing buttons, the panel refreshes and the
// globals the diagrams and volume ramps share.
#pragma once

#include <cstdint>

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
// panel: tick the matching box, clear the others, configure the board (word 0x34) and the
// codec's interface bit (register 7 bit 8). Any other CommMode does nothing.
void EnableCommModeJorb();
void EnableCommModeJora();
void EnableCommModeQeva();
void EnableCommModeZuta();
void EnableCommModeZutb();
void EnableCommModePykc();
void EnableCommModePykb();
void EnableCommModePyka();
// Qevb keeps its board block on the demo panel and takes the mode from the Mode menu's marks;
// CommMode 0 ticks its "External Control" box.
void EnableCommModeQevb();

// Mode boxes (commit with the box ticked: clear the other boxes, configure board and codec).
int ST3WSPIModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int ST4WSPIModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int STI2CModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int MN3WSPIModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int MN4WSPIModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int MNI2CModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaI2CModeEnCB(int panel, int control, int event, void* data, int e1, int e2);
// The Qevb board block's interface operations (bound to no control; the Mode menu's marks).
int ST3WSPIModeEnCBQevb(int panel, int control, int event, void* data, int e1, int e2);
int ST4WSPIModeEnCBQevb(int panel, int control, int event, void* data, int e1, int e2);
int STI2CModeEnCBQevb(int panel, int control, int event, void* data, int e1, int e2);
int STExternalCtrlCBQevb(int panel, int control, int event, void* data, int e1, int e2);

// Packs the two-byte board configuration word from the model's panel; sets CommMode from the
// mode boxes, FlagAudioInterfaceActive and FlagCFGUpdate. No traffic.
void STReadGPIOSettings(unsigned char word[2]);
void STReadGPIOSettings_Jora(unsigned char word[2]);
void STReadGPIOSettings_Qeva(unsigned char word[2]);
void STReadGPIOSettings_Qevb(unsigned char word[2]);
void STReadGPIOSettingsZuta(unsigned char word[2]);
void STReadGPIOSettingsZutb(unsigned char word[2]);
void MNReadGPIOSettings(unsigned char word[2]);
void MNPykbReadGPIOSettings(unsigned char word[2]);
void MNPykaReadGPIOSettings(unsigned char word[2]);

// ---- panel refresh from CFG_REG (no traffic) ---------------------------------------------
void UpdateDevCtrlPanel();
void UpdateDevCtrlPanel_Jora();
void UpdateDevCtrlPanel_Qeva();
void UpdateDevCtrlPanelZuta();
void UpdateDevCtrlPanelZutb();
void MNUpdateDevCtrlPanel();
void MNPykbUpdateDevCtrlPanel();
void MNPykaUpdateDevCtrlPanel();

// ---- buttons -----------------------------------------------------------------------------
// "Reset": software reset of the codec (register 0 ← 0), then re-select the mode and read all
// registers back unless write-only mode is on or no board is attached.
int BResetCB(int panel, int control, int event, void* data, int e1, int e2);
int BResetCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BResetCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BResetCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BResetCBQeva(int panel, int control, int event, void* data, int e1, int e2);
// "USB <--> PCM": bridge command 0x35, then the audio interface counts as active.
int BUSBPCMCB(int panel, int control, int event, void* data, int e1, int e2);
int BUSBPCMCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BUSBPCMCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BUSBPCMCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BUSBPCMCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int MNBUSBPCMCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbBUSBPCMCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaBUSBPCMCB(int panel, int control, int event, void* data, int e1, int e2);

// Bridge command of the "USB <--> PCM" routing buttons.
inline constexpr uint8_t CMD_USB_PCM_ROUTE = 0x35;

// Forgets the remembered ticks of boxes no panel carries, and clears FlagAudioInterfaceActive
// (tests).
void ResetDeviceControlState();
