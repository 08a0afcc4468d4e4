// The program's shared state: the register copy, the redraw and mode flags and the main panel
// handles. Owned by the shell; only the UI thread touches it.
#pragma once

#include <cstdint>
#include <string>

namespace os { class ThreadPool; }

inline constexpr int kRegisterSlots = 300;
inline constexpr int kCodecRegisters = 128;  // register numbers a two-byte pair can carry

// Communication modes (CommMode): the bus between the board and the codec.
inline constexpr uint8_t COMM_I2C = 0xC0;
inline constexpr uint8_t COMM_SPI4W = 0x80;
inline constexpr uint8_t COMM_SPI3W = 0x40;

// Loaded tab set (UILoaded).
enum ModelCode : int {
    UI_NONE = 0, UI_PYKC = 1, UI_JORB = 2, UI_JORA = 3, UI_QEVA = 4, UI_PYKA = 5,
    UI_QEVB = 6, UI_ZUTA = 7, UI_ZUTB = 8, UI_PYKB = 9
};
// Chosen chip (g_dev_type).
enum DeviceTypeCode : int {
    DEV_NONE = 0, DEV_PYKC = 1, DEV_PYKD = 2, DEV_QEVA = 3, DEV_JORA = 4, DEV_JORB = 5,
    DEV_PYKA = 6, DEV_QEVB = 7, DEV_ZUTA = 8, DEV_ZUTB = 9, DEV_PYKB = 10, DEV_JORBX = 11
};

extern uint32_t CFG_REG[kRegisterSlots];
extern int FlagCFGUpdate;
extern int FlagRegMapTitle;
extern uint8_t CommMode;
extern uint8_t QuillonMode;
extern int UILoaded;
extern int g_dev_type;
extern uint8_t EQMode;
extern uint8_t notDebug;
extern int DeviceAttached;
extern int PoweredUp;
extern int USBpresent;
extern int NowPanel;
extern int PHandlePanel;
extern int PHandleMenu;
extern int tabCtrl;
extern int PHandleLastPanel;
// The main window's title while no model is chosen.
inline constexpr const char* kStartPanelTitle = "Tervalo Audio Codec ";
extern std::string PanelTitle;
extern os::ThreadPool* poolHandle;


void SetFlag(int* flag);
void ClearFlag(int* flag);

// Puts every shell global back to its start value (tests call it between cases).
void ResetShellState();
