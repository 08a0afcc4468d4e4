// Model choice: one implementation driven by a table of the eleven chips (ten models and the
// Jorbx variant) and a table of the nine tab-panel sets.
#include "shell/model_select.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "demo/demo_services.h"
#include "device/device_services.h"
#include "link/chip_operation.h"
#include "panels/AudioCodec_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "pathview/pathview_services.h"
#include "playback/playback_services.h"
#include "regmap/regmap_model.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

rt::IniText STIniConfig = nullptr;
rt::IniText MNIniConfig = nullptr;
char STcfgFileName[kCfgFileNameSize] = "";
char MNcfgFileName[kCfgFileNameSize] = "";

namespace {

// ---- tab-panel sets ------------------------------------------------------------------------
struct TabSet {
    int model;
    std::vector<int*> tabs;  // left to right
};

const std::vector<TabSet>& TabSets() {
    static const std::vector<TabSet> sets = {
        {UI_PYKC, {&PHandleMNDemo, &PHandleMNPath, &PHandleMNDevCtrl, &PHandleMNInput, &PHandleMNALC,
                   &PHandleMNADC, &PHandleMNDAC, &PHandleMNOutput, &PHandleMNRegMap, &PHandleMNScript}},
        {UI_JORB, {&PHandleSTDemo, &PHandleSTPath, &PHandleSTDevCtrl, &PHandleSTInSignal, &PHandleSTADCFilter,
                   &PHandleSTEQ, &PHandleSTALC, &PHandleSTDAC, &PHandleSTOUTPUT, &PHandleSTRegMap,
                   &PHandleSTScript}},
        {UI_JORA, {&PHdlDemoJora, &PHdlPathJora, &PHdlDevJora, &PHdleInputJora, &PHdlADCJora, &PHdlEQJora,
                   &PHdlALCJora, &PHdlDACJora, &PHdlOutputJora, &PHdlRegMapJora, &PHdlScriptJora}},
        {UI_QEVA, {&PHdlDemoQeva, &PHdlPathQeva, &PHdlDevQeva, &PHdlEQQeva, &PHdlDACQeva, &PHdlOutputQeva,
                   &PHdlRegMapQeva, &PHdlScriptQeva}},
        {UI_PYKA, {&PHandleMNPykaDemo, &PHandleMNPykaPath, &PHandleMNPykaDevCtrl, &PHandleMNPykaInput,
                   &PHandleMNPykaALC, &PHandleMNPykaADC, &PHandleMNPykaDAC, &PHandleMNPykaOutput,
                   &PHandleMNPykaRegMap, &PHandleMNPykaScript}},
        {UI_QEVB, {&PHdlDemoQevb}},
        {UI_ZUTA, {&PHandleSTDemoZuta, &PHandleSTPathZuta, &PHandleSTDevCtrlZuta, &PHandleSTInSignalZuta,
                   &PHandleSTADCFilterZuta, &PHandleSTEQZuta, &PHandleSTALCZuta, &PHandleSTDACZuta,
                   &PHandleSTOUTPUTZuta, &PHandleSTRegMapZuta, &PHandleSTScriptZuta}},
        {UI_ZUTB, {&PHandleSTDemoZutb, &PHandleSTPathZutb, &PHandleSTDevCtrlZutb, &PHandleSTInSignalZutb,
                   &PHandleSTADCFilterZutb, &PHandleSTEQZutb, &PHandleSTALCZutb, &PHandleSTDACZutb,
                   &PHandleSTOUTPUTZutb, &PHandleSTRegMapZutb, &PHandleSTScriptZutb}},
        {UI_PYKB, {&PHandleMNPykbDemo, &PHandleMNPykbPath, &PHandleMNPykbDevCtrl, &PHandleMNPykbInput,
                   &PHandleMNPykbALC, &PHandleMNPykbADC, &PHandleMNPykbDAC, &PHandleMNPykbOutput,
                   &PHandleMNPykbRegMap, &PHandleMNPykbScript}},
    };
    return sets;
}

const TabSet* FindSet(int model) {
    for (const TabSet& s : TabSets())
        if (s.model == model) return &s;
    return nullptr;
}

// Each set's path panel, where a right click on any of its block panels leads. Jorbx shares
// the Jorb set; Qevb has no path panel.
int PathPanelOfSet(int model) {
    switch (model) {
        case UI_PYKC: return PHandleMNPath;
        case UI_JORB: return PHandleSTPath;
        case UI_JORA: return PHdlPathJora;
        case UI_QEVA: return PHdlPathQeva;
        case UI_PYKA: return PHandleMNPykaPath;
        case UI_ZUTA: return PHandleSTPathZuta;
        case UI_ZUTB: return PHandleSTPathZutb;
        case UI_PYKB: return PHandleMNPykbPath;
        default: return 0;
    }
}

bool IsTab(int panel) {
    if (panel <= 0 || PHandlePanel <= 0 || tabCtrl <= 0) return false;
    std::vector<int> shown = rt::EasyTab_Panels(PHandlePanel, tabCtrl);
    return std::find(shown.begin(), shown.end(), panel) != shown.end();
}

}  // namespace

bool LoadedModelShowsRegisterMap() {
    const TabSet* set = FindSet(UILoaded);
    if (set == nullptr) return false;
    const int* const maps[] = {&PHandleMNRegMap,     &PHandleSTRegMap,     &PHdlRegMapJora,      &PHdlRegMapQeva,
                               &PHandleMNPykaRegMap, &PHandleSTRegMapZuta, &PHandleSTRegMapZutb, &PHandleMNPykbRegMap};
    for (const int* tab : set->tabs)
        if (std::find(std::begin(maps), std::end(maps), tab) != std::end(maps)) return true;
    return false;
}

void ReserveTabSetRoom() {
    if (PHandlePanel <= 0 || tabCtrl <= 0) return;
    for (const TabSet& s : TabSets()) {
        std::vector<int> panels;
        for (int* h : s.tabs)
            if (*h > 0) panels.push_back(*h);
        // Pykd shows the Pykc set with its EQ tab last.
        if (s.model == UI_PYKC && PHandleMNEQ > 0) panels.push_back(PHandleMNEQ);
        rt::EasyTab_ReserveRoom(PHandlePanel, tabCtrl, panels);
    }
}

namespace {

void AddTab(int panel) {
    if (panel <= 0 || PHandlePanel <= 0 || tabCtrl <= 0 || IsTab(panel)) return;
    rt::EasyTab_AddPanels(PHandlePanel, tabCtrl, 1, {panel});
}

void RemoveTab(int panel) {
    if (!IsTab(panel)) return;
    rt::EasyTab_RemovePanel(PHandlePanel, tabCtrl, panel);
}

// Hides the four bridge-register controls (address, value, read, write) of the register maps
// that carry them.
void ApplyNotDebug() {
    if (notDebug == 0) return;
    struct Hidden { int* panel; int ids[4]; };
    const Hidden hidden[] = {
        {&PHandleMNRegMap,
         {ui::MNRegMap_pan::MNREGMAP_NVuntRegAddr, ui::MNRegMap_pan::MNREGMAP_NVuntRegVal,
          ui::MNRegMap_pan::MNREGMAP_BACSTReg08Read, ui::MNRegMap_pan::MNREGMAP_BACSTReg08Write}},
        {&PHandleSTRegMap,
         {ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegAddr, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegVal,
          ui::cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Read, ui::cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Write}},
        {&PHandleSTRegMapZutb,
         {ui::cfgMapZutb_Pan::CFGMAPZutb_NVuntRegAddr, ui::cfgMapZutb_Pan::CFGMAPZutb_NVuntRegVal,
          ui::cfgMapZutb_Pan::CFGMAPZutb_BACSTReg08Read, ui::cfgMapZutb_Pan::CFGMAPZutb_BACSTReg08Write}},
        {&PHandleMNPykbRegMap,
         {ui::MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegAddr, ui::MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegVal,
          ui::MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Read, ui::MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Write}},
    };
    for (const Hidden& h : hidden) {
        if (*h.panel <= 0) continue;
        for (int id : h.ids) rt::SetCtrlAttribute(*h.panel, id, rt::ATTR_VISIBLE, 0);
    }
}

// ---- the chips -----------------------------------------------------------------------------
using Fn = void (*)();
using RegDisplayFn = void (*)(int);
using InitConfigFn = int (*)(rt::IniText*, const char*, int, int);
using CtrlFn = int (*)(int, int, int, void*, int, int);

enum class Family { Stereo, Mono, Qevb };

struct ModelChoice {
    int devType;
    int set;            // tab set (UILoaded)
    int menuItem;       // Device-menu item checked while chosen
    const char* title;
    Family family;
    uint8_t eqMode;     // mono choices: EQMode they set
    const char* cfgFile;  // configuration-set file in the project directory (none: nullptr)
    InitConfigFn initConfig;
    Fn populate;
    Fn constructMap;
    Fn pathViewInit;
    Fn drawPathView;    // mono models draw their diagram at once
    RegDisplayFn updateRegDisplay;
    Fn initDemo;
    Fn updateDemo;
    Fn updateDevCtrl;
    CtrlFn readAll;     // read-back handler (none: nullptr)
    int* readAllPanel;  // the register map whose button it serves
    bool noReadUnder3W;
    Fn enableCommMode;
    int forceCommMode;  // CommMode set before the mode is applied (0: none)
    const char* regMapLabel;  // label of the register table (mono models)
    int* regMapPanel;
    bool showEQ;        // Pykc and Pykd show or hide the EQ tab
};

constexpr int kRegTable = 2;  // the register table of the mono register maps

const ModelChoice kChoices[] = {
    {DEV_JORB, UI_JORB, MENUBAR_DEVICE_StereoJorb, "Tervalo Audio Codec    ---- Jorb Demo ---- ", Family::Stereo, 0,
     "STconfig.dat", InitConfig, PopulatePanelCFGListBox, STConstructMap, STPathViewInit, nullptr,
     UpdateRegDisplay, STInitDemoPanel, UpdateSTDemoPanel, UpdateDevCtrlPanel, STReadAllCB, &PHandleSTRegMap,
     false, EnableCommModeJorb, 0, nullptr, nullptr, false},
    {DEV_JORBX, UI_JORB, MENUBAR_DEVICE_StereoJorb, "Tervalo Audio Codec    ---- Jorbx Demo ---- ", Family::Stereo,
     0, "STconfig.dat", InitConfig, PopulatePanelCFGListBox, STConstructMap, STPathViewInit, nullptr,
     UpdateRegDisplay, STInitDemoPanel, UpdateSTDemoPanel, UpdateDevCtrlPanel, STReadAllCB, &PHandleSTRegMap,
     false, EnableCommModeJorb, 0, nullptr, nullptr, false},
    {DEV_JORA, UI_JORA, MENUBAR_DEVICE_StereoJora, "Tervalo Audio Codec    ---- Jora Demo ---- ", Family::Stereo, 0,
     "STconfigJora.dat", InitConfigJora, PopulatePanelCFGListBoxJora, STConstructMap_Jora, STPathViewInit_Jora,
     nullptr, UpdateRegDisplay_Jora, STInitDemoPanel_Jora, UpdateSTDemoPanel_Jora, UpdateDevCtrlPanel_Jora,
     STReadAllCBJora, &PHdlRegMapJora, true, EnableCommModeJora, 0, nullptr, nullptr, false},
    {DEV_QEVA, UI_QEVA, MENUBAR_DEVICE_StereoQeva, "Tervalo Audio Codec    ---- Qeva Demo ---- ", Family::Stereo, 0,
     "STconfigQeva.dat", InitConfigQeva, PopulatePanelCFGListBoxQeva, STConstructMap_Qeva, STPathViewInit_Qeva,
     nullptr, UpdateRegDisplay_Qeva, STInitDemoPanel_Qeva, UpdateSTDemoPanel_Qeva, UpdateDevCtrlPanel_Qeva,
     STReadAllCBQeva, &PHdlRegMapQeva, true, EnableCommModeQeva, 0, nullptr, nullptr, false},
    {DEV_QEVB, UI_QEVB, MENUBAR_DEVICE_StereoQevb, "Tervalo Audio Codec    ---- Qevb Demo ---- ", Family::Qevb, 0,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, STInitDemoPanel_Qevb, UpdateSTDemoPanel_Qevb,
     nullptr, nullptr, nullptr, false, EnableCommModeQevb, 0, nullptr, nullptr, false},
    // Zuta shares the Jorb configuration-set file, reader and read-back handler.
    {DEV_ZUTA, UI_ZUTA, MENUBAR_DEVICE_StereoZuta, "Tervalo Audio Codec    ---- Zuta Demo ---- ", Family::Stereo, 0,
     "STconfig.dat", InitConfig, PopulatePanelCFGListBoxZuta, STConstructMapZuta, STPathViewInitZuta, nullptr,
     UpdateRegDisplayZuta, STInitDemoPanelZuta, UpdateSTDemoPanelZuta, UpdateDevCtrlPanelZuta, STReadAllCB,
     &PHandleSTRegMap, false, EnableCommModeZuta, 0, nullptr, nullptr, false},
    {DEV_ZUTB, UI_ZUTB, MENUBAR_DEVICE_StereoZutb, "Tervalo Audio Codec    ---- Zutb Demo ---- ", Family::Stereo, 0,
     "STZutbconfig.dat", InitConfigZutb, PopulatePanelCFGListBoxZutb, STConstructMapZutb, STPathViewInitZutb,
     nullptr, UpdateRegDisplayZutb, STInitDemoPanelZutb, UpdateSTDemoPanelZutb, UpdateDevCtrlPanelZutb, nullptr,
     nullptr, false, EnableCommModeZutb, 0, nullptr, nullptr, false},
    // The mono models read back through the Jorb handler.
    {DEV_PYKC, UI_PYKC, MENUBAR_DEVICE_Mono, "Tervalo Audio Codec    ---- Pykc Demo ---- ", Family::Mono, 0,
     "MNconfig.dat", InitConfigPykc, PopulatePanelCFGListBoxPykc, MNConstructMap, MNPathViewInit, MNUpdatePathView,
     UpdateRegDisplay_Pykc, MNInitDemoPanel, UpdateMNDemoPanel, MNUpdateDevCtrlPanel, STReadAllCB,
     &PHandleSTRegMap, false, EnableCommModePykc, 0, "ZelPykc Register Map", &PHandleMNRegMap, true},
    {DEV_PYKD, UI_PYKC, MENUBAR_DEVICE_MonoPykd, "Tervalo Audio Codec    ---- Pykd Demo ---- ", Family::Mono, 1,
     "MNconfig.dat", InitConfigPykc, PopulatePanelCFGListBoxPykc, MNConstructMap, MNPathViewInit, MNUpdatePathView,
     UpdateRegDisplay_Pykc, MNInitDemoPanel, UpdateMNDemoPanel, MNUpdateDevCtrlPanel, STReadAllCB,
     &PHandleSTRegMap, false, EnableCommModePykc, 0, "KorPykd Register Map", &PHandleMNRegMap, true},
    {DEV_PYKA, UI_PYKA, MENUBAR_DEVICE_MonoPyka, "Tervalo Audio Codec    ---- Pyka Demo ---- ", Family::Mono, 0,
     "MNPykaconfig.dat", InitConfigPyka, PopulatePanelCFGListBoxPyka, MNPykaConstructMap, MNPykaPathViewInit,
     MNPykaUpdatePathView, UpdateRegDisplay_Pyka, MNPykaInitDemoPanel, UpdateMNPykaDemoPanel,
     MNPykaUpdateDevCtrlPanel, STReadAllCB, &PHandleSTRegMap, false, EnableCommModePyka, 0,
     "KorPyka Register Map", &PHandleMNPykaRegMap, false},
    // Pykb shares the Pykc file and reader (its group table is the same), never reads back and
    // always runs the board in 3-wire SPI.
    {DEV_PYKB, UI_PYKB, MENUBAR_DEVICE_MonoPykb, "Tervalo Audio Codec    ---- Pykb Demo ---- ", Family::Mono, 0,
     "MNconfig.dat", InitConfigPykc, PopulatePanelCFGListBoxPykb, MNPykbConstructMap, MNPykbPathViewInit,
     MNPykbUpdatePathView, UpdateRegDisplay_Pykb, MNPykbInitDemoPanel, UpdateMNPykbDemoPanel,
     MNPykbUpdateDevCtrlPanel, nullptr, nullptr, false, EnableCommModePykb, COMM_SPI3W, "KorPykb Register Map",
     &PHandleMNPykbRegMap, false},
};

const ModelChoice& Choice(int devType) {
    for (const ModelChoice& c : kChoices)
        if (c.devType == devType) return c;
    return kChoices[0];
}

constexpr int kModelMenuItems[] = {
    MENUBAR_DEVICE_MonoPyka,   MENUBAR_DEVICE_Mono,       MENUBAR_DEVICE_MonoPykb, MENUBAR_DEVICE_MonoPykd,
    MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoQeva, MENUBAR_DEVICE_StereoQevb,
    MENUBAR_DEVICE_StereoZuta, MENUBAR_DEVICE_StereoZutb,
};

// Checks the chosen model's Device-menu item only, and undims Import and Export.
void MarkDeviceMenu(int checkedItem) {
    if (PHandleMenu <= 0) return;
    for (int item : kModelMenuItems)
        rt::SetMenuBarAttribute(PHandleMenu, item, rt::ATTR_CHECKED, item == checkedItem ? 1 : 0);
    rt::SetMenuBarAttribute(PHandleMenu, MENUBAR_CONFIG_Import, rt::ATTR_DIMMED, 0);
    rt::SetMenuBarAttribute(PHandleMenu, MENUBAR_CONFIG_Export, rt::ATTR_DIMMED, 0);
}

void SetTitle(const char* title) {
    PanelTitle = title;
    if (PHandlePanel > 0) rt::SetPanelAttribute(PHandlePanel, rt::ATTR_TITLE, title);
}

void StopChipIdentification() {
    if (PHandlePanel > 0) rt::SetCtrlAttribute(PHandlePanel, PANEL_DevIDTimer, rt::ATTR_ENABLED, 0);
}

void EnableRefreshTimer(bool stereo) {
    if (PHandlePanel <= 0) return;
    rt::SetCtrlAttribute(PHandlePanel, PANEL_STTIMER, rt::ATTR_ENABLED, stereo ? 1 : 0);
    rt::SetCtrlAttribute(PHandlePanel, PANEL_MNTIMER, rt::ATTR_ENABLED, stereo ? 0 : 1);
}

bool BoardLedOn() {
    if (PHandlePanel <= 0) return false;
    int on = 0;
    rt::GetCtrlVal(PHandlePanel, PANEL_LDevAttached, &on);
    return on != 0;
}

// Opens the model's configuration-set file into the loaded family's INI object.
void OpenConfigurationSets(const ModelChoice& c) {
    bool mono = c.family == Family::Mono;
    char* name = mono ? MNcfgFileName : STcfgFileName;
    rt::IniText* ini = mono ? &MNIniConfig : &STIniConfig;
    std::string path = rt::MakePathname(rt::GetProjectDir(), c.cfgFile);
    // A path longer than the system can open is refused, never cut, so no set is ever read
    // from or written to a truncated path; the popup says why.
    if (path.size() >= static_cast<size_t>(kCfgFileNameSize)) {
        name[0] = '\0';
        if (*ini) {
            rt::Ini_Dispose(*ini);
            *ini = nullptr;
        }
        const std::string why = " Error Opening Config File\nIts path is " + std::to_string(path.size()) +
                                " characters long; the system opens paths of at most " +
                                std::to_string(kCfgFileNameSize - 1) + " characters.";
        rt::MessagePopup("ERROR", why.c_str());
        return;
    }
    std::snprintf(name, kCfgFileNameSize, "%s", path.c_str());
    if (*ini) {
        rt::Ini_Dispose(*ini);
        *ini = nullptr;
    }
    c.initConfig(ini, name, 0, 1);
    c.populate();
}

void ShowStatusControls() {
    if (PHandlePanel <= 0) return;
    for (int id : {PANEL_DecorationStatus1, PANEL_LDevAttached, PANEL_LPowerUp, PANEL_LRefresh, PANEL_ProgressBar})
        rt::SetCtrlAttribute(PHandlePanel, id, rt::ATTR_VISIBLE, 1);
}

void ReadBack(const ModelChoice& c) {
    if (!c.readAll || !BoardLedOn() || QuillonMode != 0) return;
    if (c.noReadUnder3W && CommMode == COMM_SPI3W) return;
    c.readAll(c.readAllPanel ? *c.readAllPanel : 0, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
}

// The chosen model's communication mode is applied to board and chip as one operation.
const char* const kModeWrites = "Setting the communication mode";

// Everything after the tabs: file, diagram, panels, timers, mode, read-back.
void CommonTail(const ModelChoice& c) {
    if (c.family == Family::Qevb) {
        c.initDemo();
        c.updateDemo();
        if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, PANEL_LPowerUp, 1);
        // The stereo timer serves the Qevb set too; without it the demo panel would never follow
        // a change after a mono model had run.
        EnableRefreshTimer(true);
        SetFlag(&FlagCFGUpdate);
        ChipOperation mode(kModeWrites);
        c.enableCommMode();
        return;
    }
    OpenConfigurationSets(c);
    c.constructMap();
    c.pathViewInit();
    if (c.drawPathView) c.drawPathView();
    c.updateRegDisplay(1);
    c.initDemo();
    c.updateDemo();
    c.updateDevCtrl();
    EnableRefreshTimer(c.family == Family::Stereo);
    SetFlag(&FlagCFGUpdate);
    ShowStatusControls();
    if (c.forceCommMode) CommMode = static_cast<uint8_t>(c.forceCommMode);
    {
        ChipOperation mode(kModeWrites);
        c.enableCommMode();
        if (mode.Stopped()) return;  // the board refused: reading back would go the same way
    }
    ReadBack(c);
}

// The model buttons in the order a reader meets them on the panel: left to right, top down.
constexpr int kModelButtons[] = {PANEL_PB_Jorb, PANEL_PB_Jora, PANEL_PB_Zuta, PANEL_PB_Zutb, PANEL_PB_Qeva,
                                 PANEL_PB_Qevb, PANEL_PB_Pykc, PANEL_PB_Pykd, PANEL_PB_Pykb, PANEL_PB_Pyka};

void ChooseModel(int devType) {
    const ModelChoice& c = Choice(devType);
    if (c.family == Family::Mono) {
        EQMode = c.eqMode;
        MarkDeviceMenu(c.menuItem);
        LoadUI(c.set);
        g_dev_type = c.devType;
        SetTitle(c.title);
        if (c.showEQ) ShowEQ();
        if (c.regMapPanel && *c.regMapPanel > 0)
            rt::SetCtrlAttribute(*c.regMapPanel, kRegTable, rt::ATTR_LABEL_TEXT, c.regMapLabel);
    } else {
        g_dev_type = c.devType;
        LoadUI(c.set);
        // Title and marks follow every choice, also one that keeps the set shown (Jorb and
        // Jorbx share a set).
        SetTitle(c.title);
        MarkDeviceMenu(c.menuItem);
    }
    CommonTail(c);
    SetInitialFocus();
}

// The Pykc EQ tab and the Pykc demo panel's EQ controls follow EQMode.
void ShowPykcEQ(bool show) {
    if (show)
        AddTab(PHandleMNEQ);
    else
        RemoveTab(PHandleMNEQ);
    ShowMNDemoEQControls(show ? 1 : 0);
}

}  // namespace

// ---- tab sets ------------------------------------------------------------------------------
void LoadUI(int model) {
    const TabSet* set = FindSet(model);
    if (!set || model == UILoaded) return;
    if (UILoaded != UI_NONE) UnLoadUI(UILoaded);
    for (int* tab : set->tabs) AddTab(*tab);
    ApplyNotDebug();
    PHandleLastPanel = PHandlePanel;
    UILoaded = model;
}

void UnLoadUI(int model) {
    if (const TabSet* set = FindSet(model))
        for (int* tab : set->tabs) RemoveTab(*tab);
    // The Pykc EQ tab goes with any set it may still be shown beside.
    RemoveTab(PHandleMNEQ);
    UILoaded = UI_NONE;
}

void ShowEQ() { ShowPykcEQ(EQMode != 0); }

int cbHome(int, int, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT || UILoaded == UI_NONE) return 0;
    RemoveJorbxSampleRates();
    UnLoadUI(UILoaded);
    // With no model shown the window no longer names one.
    SetTitle(kStartPanelTitle);
    SetInitialFocus();
    return 0;
}

void SetInitialFocus() {
    if (PHandlePanel <= 0) return;
    if (UILoaded != UI_NONE && !rt::EasyTab_Panels(PHandlePanel, tabCtrl).empty() &&
        rt::SetActiveCtrl(PHandlePanel, tabCtrl) == 0)
        return;
    for (int button : kModelButtons)
        if (rt::SetActiveCtrl(PHandlePanel, button) == 0) return;
}

// ---- Device menu ---------------------------------------------------------------------------
void MonoCB(int, int menuItem, void*, int) {
    ChooseModel(menuItem == MENUBAR_DEVICE_MonoPykd ? DEV_PYKD : DEV_PYKC);
}
void MonoCBPyka(int, int, void*, int) { ChooseModel(DEV_PYKA); }
void MonoCBPykb(int, int, void*, int) { ChooseModel(DEV_PYKB); }
void StereoCBJorb(int, int, void*, int) {
    RemoveJorbxSampleRates();
    ChooseModel(DEV_JORB);
}
void StereoCBJora(int, int, void*, int) { ChooseModel(DEV_JORA); }
void StereoCBQeva(int, int, void*, int) { ChooseModel(DEV_QEVA); }
void StereoCBQevb(int, int, void*, int) { ChooseModel(DEV_QEVB); }
void StereoCBZuta(int, int, void*, int) { ChooseModel(DEV_ZUTA); }
void StereoCBZutb(int, int, void*, int) { ChooseModel(DEV_ZUTB); }

// ---- picture buttons -----------------------------------------------------------------------
namespace {
using MenuFn = void (*)(int, int, void*, int);

int PictureButton(int event, int eqMode, MenuFn menu, int item) {
    if (event != rt::EVENT_COMMIT) return 0;
    StopChipIdentification();
    if (eqMode >= 0) EQMode = static_cast<uint8_t>(eqMode);
    menu(PHandleMenu, item, nullptr, PHandlePanel);
    return 0;
}
}  // namespace

int SelectMono(int, int, int event, void*, int, int) {
    return PictureButton(event, 0, MonoCB, MENUBAR_DEVICE_Mono);
}
int SelectMonoPykd(int, int, int event, void*, int, int) {
    return PictureButton(event, 1, MonoCB, MENUBAR_DEVICE_MonoPykd);
}
int SelectMonoPykb(int, int, int event, void*, int, int) {
    return PictureButton(event, 1, MonoCBPykb, MENUBAR_DEVICE_MonoPykb);
}
int SelectMonoPyka(int, int, int event, void*, int, int) {
    return PictureButton(event, 0, MonoCBPyka, MENUBAR_DEVICE_MonoPyka);
}
int SelectStereoJora(int, int, int event, void*, int, int) {
    return PictureButton(event, -1, StereoCBJora, MENUBAR_DEVICE_StereoJora);
}
int SelectStereoQeva(int, int, int event, void*, int, int) {
    return PictureButton(event, -1, StereoCBQeva, MENUBAR_DEVICE_StereoQeva);
}
int SelectStereoQevb(int, int, int event, void*, int, int) {
    return PictureButton(event, -1, StereoCBQevb, MENUBAR_DEVICE_StereoQevb);
}
int SelectStereoZuta(int, int, int event, void*, int, int) {
    return PictureButton(event, -1, StereoCBZuta, MENUBAR_DEVICE_StereoZuta);
}
int SelectStereoZutb(int, int, int event, void*, int, int) {
    return PictureButton(event, -1, StereoCBZutb, MENUBAR_DEVICE_StereoZutb);
}

// The Jorb picture button chooses the plain Jorb on its commit (the left click that comes with
// the same user click is left alone, so one click chooses once); a left click on the "KorJorbx"
// text chooses the Jorbx variant, whose DAC panel adds the 96 kHz and 192 kHz rates.
int SelectStereoJorb(int, int control, int event, void*, int, int) {
    if (control == PANEL_TM_KorJorbx) {
        if (event != rt::EVENT_LEFT_CLICK) return 0;
        StopChipIdentification();
        ChooseModel(DEV_JORBX);
        AddJorbxSampleRates();
        return 0;
    }
    if (event != rt::EVENT_COMMIT) return 0;
    StopChipIdentification();
    StereoCBJorb(PHandleMenu, MENUBAR_DEVICE_StereoJorb, nullptr, PHandlePanel);
    return 0;
}

std::vector<std::string> ConfigSetFileNames() {
    std::vector<std::string> names;
    for (const ModelChoice& c : kChoices)
        if (c.cfgFile && std::find(names.begin(), names.end(), c.cfgFile) == names.end()) names.push_back(c.cfgFile);
    return names;
}

// ---- right click on a block panel ----------------------------------------------------------
int PathPanelOf(int blockPanel) {
    if (blockPanel <= 0) return 0;
    for (const TabSet& s : TabSets()) {
        for (int* tab : s.tabs)
            if (*tab == blockPanel) return PathPanelOfSet(s.model);
    }
    if (blockPanel == PHandleMNEQ) return PHandleMNPath;
    return 0;
}

int TabPanelRightClickCB(int panel, int event, void*, int, int) {
    if (event != rt::EVENT_RIGHT_CLICK) return 0;
    int path = PathPanelOf(panel);
    if (path <= 0 || path == panel || PHandlePanel <= 0 || tabCtrl <= 0) return 0;
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, path);
    rt::EasyTab_SetTabAttribute(PHandlePanel, tabCtrl, path, rt::ATTR_EASY_TAB_VISIBLE, 1);
    PHandleLastPanel = panel;
    return 0;
}
