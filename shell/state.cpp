#include "shell/state.h"

#include <algorithm>

#include "boardhid/codec_start_values.h"

uint32_t CFG_REG[kRegisterSlots];
int FlagCFGUpdate = 0;
int FlagRegMapTitle = 0;
uint8_t CommMode = COMM_I2C;
uint8_t QuillonMode = 0;
int UILoaded = UI_NONE;
int g_dev_type = DEV_NONE;
uint8_t EQMode = 0;
uint8_t notDebug = 0;
int DeviceAttached = 0;
int PoweredUp = 0;
int USBpresent = 0;
int NowPanel = 0;
int PHandlePanel = 0;
int PHandleMenu = 0;
int tabCtrl = 0;
int PHandleLastPanel = 0;
namespace {
// Registers 0 to 63 at the chip's start values, every other slot 0.
void LoadCfgRegStartValues() {
    std::fill(std::begin(CFG_REG), std::end(CFG_REG), 0u);
    std::copy(std::begin(boardhid::kCodecStartValues), std::end(boardhid::kCodecStartValues), CFG_REG);
}

// CFG_REG starts with its defaults even before ResetShellState runs.
struct CfgRegInit {
    CfgRegInit() { LoadCfgRegStartValues(); }
} cfgRegInit;
}  // namespace

std::string PanelTitle = kStartPanelTitle;
os::ThreadPool* poolHandle = nullptr;

void SetFlag(int* flag) { *flag = 1; }
void ClearFlag(int* flag) { *flag = 0; }

void ResetShellState() {
    LoadCfgRegStartValues();
    FlagCFGUpdate = 0;
    FlagRegMapTitle = 0;
    CommMode = COMM_I2C;
    QuillonMode = 0;
    UILoaded = UI_NONE;
    g_dev_type = DEV_NONE;
    EQMode = 0;
    notDebug = 0;
    DeviceAttached = 0;
    PoweredUp = 0;
    USBpresent = 0;
    NowPanel = 0;
    PHandleLastPanel = PHandlePanel;
    PanelTitle = kStartPanelTitle;
}
