// Refresh timers: the redraw list of each tab set, as data, run on a tick when the flag is up.
#include "shell/timers.h"

#include <utility>
#include <vector>

#include "capture/capture_services.h"
#include "demo/demo_services.h"
#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "pathview/pathview_services.h"
#include "playback/playback_services.h"
#include "regmap/regmap_model.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/progress.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

namespace {

using Fn = void (*)();

// A step runs always, or only while its tab is the one shown (the slow register-map and Zutb
// diagram redraws).
enum class When { Always, Shown };

struct Step {
    const char* name;
    Fn run;
    When when = When::Always;
    // The tab the step draws (the register map, the Zutb diagram): it is drawn again whenever
    // that tab comes to the front, so it never shows what a hidden tick left out.
    int* tab = nullptr;
};

struct RedrawList {
    int model;
    bool stereo;  // served by STTIMER, else by MNTIMER
    std::vector<Step> steps;
    Fn title;     // register-map title redraw (none: nullptr)
};

const std::vector<RedrawList>& RedrawLists() {
    static const std::vector<RedrawList> lists = {
        {UI_JORB, true,
         {{"UpdateAllGroups", UpdateAllGroups},
          {"UpdateSTPathView", UpdateSTPathView},
          {"UpdateSTDemoPanel", UpdateSTDemoPanel},
          {"UpdateRegDisplay", [] { UpdateRegDisplay(0); }, When::Shown, &PHandleSTRegMap},
          {"UpdateDevCtrlPanel", UpdateDevCtrlPanel},
          {"UpdateInputSignalPanel", UpdateInputSignalPanel},
          {"UpdateOutputPanel", UpdateOutputPanel},
          {"UpdateADCFilterPanel", UpdateADCFilterPanel},
          {"UpdateALCPanel", UpdateALCPanel},
          {"UpdateDACPanel", UpdateDACPanel},
          {"UpdateEQPanel", UpdateEQPanel}},
         UpdateRegMapTitle},
        {UI_JORA, true,
         {{"UpdateAllGroups_Jora", UpdateAllGroups_Jora},
          {"UpdateSTPathView_Jora", UpdateSTPathView_Jora},
          {"UpdateSTDemoPanel_Jora", UpdateSTDemoPanel_Jora},
          {"UpdateRegDisplay_Jora", [] { UpdateRegDisplay_Jora(0); }, When::Always, &PHdlRegMapJora},
          {"UpdateDevCtrlPanel_Jora", UpdateDevCtrlPanel_Jora},
          {"UpdateInputSignalPanel_Jora", UpdateInputSignalPanel_Jora},
          {"UpdateOutputPanel_Jora", UpdateOutputPanel_Jora},
          {"UpdateADCFilterPanel_Jora", UpdateADCFilterPanel_Jora},
          {"UpdateALCPanel_Jora", UpdateALCPanel_Jora},
          {"UpdateDACPanel_Jora", UpdateDACPanel_Jora},
          {"UpdateEQPanel_Jora", UpdateEQPanel_Jora}},
         UpdateRegMapTitle_Jora},
        {UI_QEVA, true,
         {{"UpdateAllGroups_Qeva", UpdateAllGroups_Qeva},
          {"UpdateSTPathView_Qeva", UpdateSTPathView_Qeva},
          {"UpdateSTDemoPanel_Qeva", UpdateSTDemoPanel_Qeva},
          {"UpdateRegDisplay_Qeva", [] { UpdateRegDisplay_Qeva(0); }, When::Always, &PHdlRegMapQeva},
          {"UpdateDevCtrlPanel_Qeva", UpdateDevCtrlPanel_Qeva},
          {"UpdateOutputPanel_Qeva", UpdateOutputPanel_Qeva},
          {"UpdateDACPanel_Qeva", UpdateDACPanel_Qeva},
          {"UpdateEQPanel_Qeva", UpdateEQPanel_Qeva}},
         UpdateRegMapTitle_Qeva},
        {UI_QEVB, true, {{"UpdateSTDemoPanel_Qevb", UpdateSTDemoPanel_Qevb}}, nullptr},
        {UI_ZUTA, true,
         {{"UpdateAllGroupsZuta", UpdateAllGroupsZuta},
          {"UpdateSTPathViewZuta", UpdateSTPathViewZuta},
          {"UpdateSTDemoPanelZuta", UpdateSTDemoPanelZuta},
          {"UpdateRegDisplayZuta", [] { UpdateRegDisplayZuta(0); }, When::Shown, &PHandleSTRegMapZuta},
          {"UpdateDevCtrlPanelZuta", UpdateDevCtrlPanelZuta},
          {"UpdateInputSignalPanelZuta", UpdateInputSignalPanelZuta},
          {"UpdateOutputPanelZuta", UpdateOutputPanelZuta},
          {"UpdateADCFilterPanelZuta", UpdateADCFilterPanelZuta},
          {"UpdateALCPanelZuta", UpdateALCPanelZuta},
          {"UpdateDACPanelZuta", UpdateDACPanelZuta},
          {"UpdateEQPanelZuta", UpdateEQPanelZuta}},
         UpdateRegMapTitleZuta},
        {UI_ZUTB, true,
         {{"UpdateAllGroupsZutb", UpdateAllGroupsZutb},
          {"UpdateSTPathViewZutb", UpdateSTPathViewZutb, When::Shown, &PHandleSTPathZutb},
          {"UpdateSTDemoPanelZutb", UpdateSTDemoPanelZutb},
          {"UpdateRegDisplayZutb", [] { UpdateRegDisplayZutb(0); }, When::Shown, &PHandleSTRegMapZutb},
          {"UpdateDevCtrlPanelZutb", UpdateDevCtrlPanelZutb},
          {"UpdateInputSignalPanelZutb", UpdateInputSignalPanelZutb},
          {"UpdateOutputPanelZutb", UpdateOutputPanelZutb},
          {"UpdateADCFilterPanelZutb", UpdateADCFilterPanelZutb},
          {"UpdateALCPanelZutb", UpdateALCPanelZutb},
          {"UpdateDACPanelZutb", UpdateDACPanelZutb},
          {"UpdateEQPanelZutb", UpdateEQPanelZutb}},
         UpdateRegMapTitleZutb},
        // The Pykc set also redraws its EQ panel, shown (Pykd) or not, so it is current when
        // its tab comes back.
        {UI_PYKC, false,
         {{"MNUpdateAllGroups", MNUpdateAllGroups},
          {"MNUpdatePathView", MNUpdatePathView},
          {"UpdateMNDemoPanel", UpdateMNDemoPanel},
          {"UpdateRegDisplay_Pykc", [] { UpdateRegDisplay_Pykc(0); }, When::Always, &PHandleMNRegMap},
          {"MNUpdateDevCtrlPanel", MNUpdateDevCtrlPanel},
          {"MNUpdateInputSignalPanel", MNUpdateInputSignalPanel},
          {"MNUpdateADCFilterPanel", MNUpdateADCFilterPanel},
          {"MNUpdateALCPanel", MNUpdateALCPanel},
          {"MNUpdateDACPanel", MNUpdateDACPanel},
          {"MNUpdateOutputPanel", MNUpdateOutputPanel},
          {"UpdateMNEQPanel", UpdateMNEQPanel}},
         UpdateRegMapTitle_Pykc},
        {UI_PYKB, false,
         {{"MNPykbUpdateAllGroups", MNPykbUpdateAllGroups},
          {"MNPykbUpdatePathView", MNPykbUpdatePathView},
          {"UpdateMNPykbDemoPanel", UpdateMNPykbDemoPanel},
          {"UpdateRegDisplay_Pykb", [] { UpdateRegDisplay_Pykb(0); }, When::Always, &PHandleMNPykbRegMap},
          {"MNPykbUpdateDevCtrlPanel", MNPykbUpdateDevCtrlPanel},
          {"MNPykbUpdateInputSignalPanel", MNPykbUpdateInputSignalPanel},
          {"MNPykbUpdateADCFilterPanel", MNPykbUpdateADCFilterPanel},
          {"MNPykbUpdateALCPanel", MNPykbUpdateALCPanel},
          {"MNPykbUpdateDACPanel", MNPykbUpdateDACPanel},
          {"MNPykbUpdateOutputPanel", MNPykbUpdateOutputPanel}},
         UpdateRegMapTitle_Pykb},
        {UI_PYKA, false,
         {{"MNPykaUpdateAllGroups", MNPykaUpdateAllGroups},
          {"MNPykaUpdatePathView", MNPykaUpdatePathView},
          {"UpdateMNPykaDemoPanel", UpdateMNPykaDemoPanel},
          {"UpdateRegDisplay_Pyka", [] { UpdateRegDisplay_Pyka(0); }, When::Shown, &PHandleMNPykaRegMap},
          {"MNPykaUpdateDevCtrlPanel", MNPykaUpdateDevCtrlPanel},
          {"MNPykaUpdateInputSignalPanel", MNPykaUpdateInputSignalPanel},
          {"MNPykaUpdateADCFilterPanel", MNPykaUpdateADCFilterPanel},
          {"MNPykaUpdateALCPanel", MNPykaUpdateALCPanel},
          {"MNPykaUpdateDACPanel", MNPykaUpdateDACPanel},
          {"MNPykaUpdateOutputPanel", MNPykaUpdateOutputPanel}},
         UpdateRegMapTitle_Pyka},
    };
    return lists;
}

const RedrawList* FindList(int model) {
    for (const RedrawList& l : RedrawLists())
        if (l.model == model) return &l;
    return nullptr;
}

RedrawObserver observer;

bool StepRuns(const Step& s) {
    switch (s.when) {
        case When::Always: return true;
        case When::Shown: return *s.tab > 0 && NowPanel == *s.tab;
    }
    return true;
}

void Run(const Step& s) {
    if (observer) observer(s.name);
    s.run();
}

void SetRefreshLed(int on) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, PANEL_LRefresh, on);
}

void Tick(bool stereo) {
    const RedrawList* list = FindList(UILoaded);
    if (!list || list->stereo != stereo) return;
    if (FlagCFGUpdate) {
        SetRefreshLed(0);
        for (const Step& s : list->steps)
            if (StepRuns(s)) Run(s);
        ClearFlag(&FlagCFGUpdate);
        SetRefreshLed(1);
    }
    // The title redraw clears the flag itself.
    if (FlagRegMapTitle && list->title) {
        if (observer) observer("RegMapTitle");
        list->title();
    }
}

}  // namespace

RedrawObserver SetRedrawObserver(RedrawObserver o) {
    RedrawObserver previous = std::move(observer);
    observer = std::move(o);
    return previous;
}

void RunRedrawList(int model) {
    if (const RedrawList* list = FindList(model))
        for (const Step& s : list->steps)
            if (StepRuns(s)) Run(s);
}

int STTIMERCB(int, int, int event, void*, int, int) {
    if (event == rt::EVENT_TIMER_TICK) Tick(true);
    return 0;
}

int MNTIMERCB(int, int, int event, void*, int, int) {
    if (event == rt::EVENT_TIMER_TICK) Tick(false);
    return 0;
}

int TabCallBack(int, int, int event, void*, int eventData1, int) {
    if (event != rt::EVENT_ACTIVE_TAB_CHANGE) return 1;
    NowPanel = eventData1;
    // The tab that came to the front shows the copy as it is now: a register map or diagram
    // redrawn only while shown may have missed changes made on another tab.
    if (const RedrawList* list = FindList(UILoaded); list && NowPanel > 0)
        for (const Step& s : list->steps)
            if (s.tab && *s.tab == NowPanel) Run(s);
    return 0;
}

// ---- refresh-all ---------------------------------------------------------------------------
namespace {

struct RefreshAll {
    Fn input, alc, adc, dac, output;
    void (*regDisplay)(int);
};

int UpdateAll(int newMessage, const RefreshAll& r) {
    const struct { const char* text; Fn run; } steps[] = {
        {"Updating Input Panel...", r.input}, {"Updating ALC Panel...", r.alc},
        {"Updating ADC Panel...", r.adc},     {"Updating DAC Panel...", r.dac},
        {"Updating Output Panel...", r.output},
    };
    for (const auto& s : steps) {
        UpdateProgressAndMessage(newMessage, 1, s.text);
        if (s.run) s.run();
    }
    UpdateProgressAndMessage(newMessage, 1, "Updating Register Map...");
    r.regDisplay(0);
    return 0;
}

}  // namespace

int UpdateALLCfg(int m) {
    return UpdateAll(m, {UpdateInputSignalPanel, UpdateALCPanel, UpdateADCFilterPanel, UpdateDACPanel,
                         UpdateOutputPanel, UpdateRegDisplay});
}
int UpdateALLCfg_Jora(int m) {
    return UpdateAll(m, {UpdateInputSignalPanel_Jora, UpdateALCPanel_Jora, UpdateADCFilterPanel_Jora,
                         UpdateDACPanel_Jora, UpdateOutputPanel_Jora, UpdateRegDisplay_Jora});
}
// Qeva has no input, ALC and ADC panels: their messages show without a redraw.
int UpdateALLCfg_Qeva(int m) {
    return UpdateAll(m, {nullptr, nullptr, nullptr, UpdateDACPanel_Qeva, UpdateOutputPanel_Qeva,
                         UpdateRegDisplay_Qeva});
}
int UpdateALLCfgZuta(int m) {
    return UpdateAll(m, {UpdateInputSignalPanelZuta, UpdateALCPanelZuta, UpdateADCFilterPanelZuta,
                         UpdateDACPanelZuta, UpdateOutputPanelZuta, UpdateRegDisplayZuta});
}
int UpdateALLCfgZutb(int m) {
    return UpdateAll(m, {UpdateInputSignalPanelZutb, UpdateALCPanelZutb, UpdateADCFilterPanelZutb,
                         UpdateDACPanelZutb, UpdateOutputPanelZutb, UpdateRegDisplayZutb});
}
int MNUpdateALLCfg(int m) {
    return UpdateAll(m, {MNUpdateInputSignalPanel, MNUpdateALCPanel, MNUpdateADCFilterPanel, MNUpdateDACPanel,
                         MNUpdateOutputPanel, UpdateRegDisplay_Pykc});
}
int MNPykbUpdateALLCfg(int m) {
    return UpdateAll(m, {MNPykbUpdateInputSignalPanel, MNPykbUpdateALCPanel, MNPykbUpdateADCFilterPanel,
                         MNPykbUpdateDACPanel, MNPykbUpdateOutputPanel, UpdateRegDisplay_Pykb});
}
int MNPykaUpdateALLCfg(int m) {
    return UpdateAll(m, {MNPykaUpdateInputSignalPanel, MNPykaUpdateALCPanel, MNPykaUpdateADCFilterPanel,
                         MNPykaUpdateDACPanel, MNPykaUpdateOutputPanel, UpdateRegDisplay_Pyka});
}
