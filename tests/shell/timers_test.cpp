// Refresh timers: which redraws each tab set runs on a tick, when, and the tab control.
#include <string>
#include <vector>

#include "tests/shell/model_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;
using modeltest::ModelFixture;
using Names = std::vector<std::string>;

class TimersTest : public ModelFixture {
protected:
    Names seen;
    std::vector<int> ledDuring;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        SetRedrawObserver([this](const char* name) {
            seen.emplace_back(name);
            ledDuring.push_back(Led(PANEL_LRefresh));
        });
    }
    // Raises the flag and ticks `timer`; returns the redraws run.
    Names TickWithFlag(int timer) {
        seen.clear();
        ledDuring.clear();
        FlagCFGUpdate = 1;
        Tick(timer);
        return seen;
    }
    void ShowTab(int panel) {
        rt::CallCtrlCallback(PHandlePanel, PANEL_CANVAS, rt::EVENT_ACTIVE_TAB_CHANGE, panel, 0);
    }
};

Names Suffixed(const char* suffix, bool withRegMap) {
    Names out = {"UpdateAllGroups", "UpdateSTPathView", "UpdateSTDemoPanel"};
    if (withRegMap) out.push_back("UpdateRegDisplay");
    for (const char* n : {"UpdateDevCtrlPanel", "UpdateInputSignalPanel", "UpdateOutputPanel", "UpdateADCFilterPanel",
                          "UpdateALCPanel", "UpdateDACPanel", "UpdateEQPanel"})
        out.emplace_back(n);
    for (std::string& n : out) n += suffix;
    return out;
}

Names Mono(const std::string& prefix, const std::string& demo, const std::string& regMap, bool withRegMap) {
    Names out = {prefix + "UpdateAllGroups", prefix + "UpdatePathView", demo};
    if (withRegMap) out.push_back(regMap);
    for (const char* n : {"UpdateDevCtrlPanel", "UpdateInputSignalPanel", "UpdateADCFilterPanel", "UpdateALCPanel",
                          "UpdateDACPanel", "UpdateOutputPanel"})
        out.push_back(prefix + n);
    return out;
}

// The redraw list of every set, first with another tab shown, then with its register map
// (and the Zutb diagram) shown.
TEST_F(TimersTest, EachSetRedrawsItsPanelsInOrder) {
    struct Case {
        int item;
        int timer;
        int* regMap;
        Names hidden, shown;
    };
    const Names qeva = {"UpdateAllGroups_Qeva", "UpdateSTPathView_Qeva", "UpdateSTDemoPanel_Qeva",
                        "UpdateRegDisplay_Qeva", "UpdateDevCtrlPanel_Qeva", "UpdateOutputPanel_Qeva",
                        "UpdateDACPanel_Qeva", "UpdateEQPanel_Qeva"};
    Names pykc = Mono("MN", "UpdateMNDemoPanel", "UpdateRegDisplay_Pykc", true);
    pykc.push_back("UpdateMNEQPanel");
    Names zutbHidden = Suffixed("Zutb", false);
    zutbHidden.erase(zutbHidden.begin() + 1);  // the diagram only while shown
    const Case cases[] = {
        {MENUBAR_DEVICE_StereoJorb, PANEL_STTIMER, &PHandleSTRegMap, Suffixed("", false), Suffixed("", true)},
        {MENUBAR_DEVICE_StereoJora, PANEL_STTIMER, &PHdlRegMapJora, Suffixed("_Jora", true), Suffixed("_Jora", true)},
        {MENUBAR_DEVICE_StereoQeva, PANEL_STTIMER, &PHdlRegMapQeva, qeva, qeva},
        {MENUBAR_DEVICE_StereoQevb, PANEL_STTIMER, &PHdlDemoQevb, {"UpdateSTDemoPanel_Qevb"},
         {"UpdateSTDemoPanel_Qevb"}},
        {MENUBAR_DEVICE_StereoZuta, PANEL_STTIMER, &PHandleSTRegMapZuta, Suffixed("Zuta", false),
         Suffixed("Zuta", true)},
        {MENUBAR_DEVICE_StereoZutb, PANEL_STTIMER, &PHandleSTRegMapZutb, zutbHidden,
         [] { Names n = Suffixed("Zutb", true); n.erase(n.begin() + 1); return n; }()},
        // Pykc redraws its EQ panel even though it shows no EQ tab.
        {MENUBAR_DEVICE_Mono, PANEL_MNTIMER, &PHandleMNRegMap, pykc, pykc},
        {MENUBAR_DEVICE_MonoPykb, PANEL_MNTIMER, &PHandleMNPykbRegMap,
         Mono("MNPykb", "UpdateMNPykbDemoPanel", "UpdateRegDisplay_Pykb", true),
         Mono("MNPykb", "UpdateMNPykbDemoPanel", "UpdateRegDisplay_Pykb", true)},
        {MENUBAR_DEVICE_MonoPyka, PANEL_MNTIMER, &PHandleMNPykaRegMap,
         Mono("MNPyka", "UpdateMNPykaDemoPanel", "UpdateRegDisplay_Pyka", false),
         Mono("MNPyka", "UpdateMNPykaDemoPanel", "UpdateRegDisplay_Pyka", true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Menu(c.item);
        ShowTab(PHandlePanel);  // no tab of the set
        EXPECT_EQ(TickWithFlag(c.timer), c.hidden);
        EXPECT_EQ(FlagCFGUpdate, 0);
        EXPECT_EQ(Led(PANEL_LRefresh), 1);
        for (int led : ledDuring) EXPECT_EQ(led, 0);
        ShowTab(*c.regMap);
        EXPECT_EQ(TickWithFlag(c.timer), c.shown);
        // Without the flag nothing is redrawn.
        seen.clear();
        Tick(c.timer);
        EXPECT_TRUE(seen.empty());
    }
}

// Showing the Zutb path tab redraws its diagram at once; with the flag raised the timer then
// redraws it too.
TEST_F(TimersTest, ZutbDiagramFollowsItsTab) {
    Menu(MENUBAR_DEVICE_StereoZutb);
    seen.clear();
    EXPECT_EQ(TabCallBack(PHandlePanel, PANEL_CANVAS, rt::EVENT_ACTIVE_TAB_CHANGE, nullptr, PHandleSTPathZutb, 0), 0);
    EXPECT_EQ(NowPanel, PHandleSTPathZutb);
    EXPECT_EQ(seen, Names{"UpdateSTPathViewZutb"});
    Names n = TickWithFlag(PANEL_STTIMER);
    EXPECT_EQ(n[1], "UpdateSTPathViewZutb");
    seen.clear();
    ShowTab(PHandleSTRegMapZutb);
    EXPECT_EQ(seen, Names{"UpdateRegDisplayZutb"});
    // Any other event on the tab control is handed back to the run-time.
    EXPECT_EQ(TabCallBack(PHandlePanel, PANEL_CANVAS, rt::EVENT_LEFT_CLICK, nullptr, 0, 0), 1);
    EXPECT_EQ(NowPanel, PHandleSTRegMapZutb);
}

// A timer serves its own family only; with no set loaded a raised flag stays raised.
TEST_F(TimersTest, TheOtherTimerAndNoSetRedrawNothing) {
    EXPECT_TRUE(TickWithFlag(PANEL_STTIMER).empty());
    EXPECT_TRUE(TickWithFlag(PANEL_MNTIMER).empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_TRUE(TickWithFlag(PANEL_MNTIMER).empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
    Menu(MENUBAR_DEVICE_MonoPyka);
    EXPECT_TRUE(TickWithFlag(PANEL_STTIMER).empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
    // Only the tick event counts.
    seen.clear();
    rt::CallCtrlCallback(PHandlePanel, PANEL_MNTIMER, rt::EVENT_COMMIT, 0, 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(TimersTest, TitleRedrawAndPykdEQ) {
    Menu(MENUBAR_DEVICE_StereoJora);
    FlagCFGUpdate = 0;
    FlagRegMapTitle = 1;
    seen.clear();
    Tick(PANEL_STTIMER);
    EXPECT_EQ(seen, Names{"RegMapTitle"});
    EXPECT_EQ(FlagRegMapTitle, 0);

    Menu(MENUBAR_DEVICE_MonoPykd);
    Names n = TickWithFlag(PANEL_MNTIMER);
    EXPECT_EQ(n.back(), "UpdateMNEQPanel");
    // Pykc hides the EQ tab, yet its panel is redrawn all the same.
    Menu(MENUBAR_DEVICE_Mono);
    n = TickWithFlag(PANEL_MNTIMER);
    EXPECT_EQ(n.back(), "UpdateMNEQPanel");
}

// The timer the choice enables really ticks from the event loop.
TEST_F(TimersTest, EnabledTimerRedrawsFromTheEventLoop) {
    Menu(MENUBAR_DEVICE_StereoQeva);
    EXPECT_TRUE(TimerEnabled(PANEL_STTIMER));
    FlagCFGUpdate = 1;
    EXPECT_TRUE(ProcessEventsUntil([] { return FlagCFGUpdate == 0; }, 3000));
    rt::SetCtrlAttribute(PHandlePanel, PANEL_STTIMER, rt::ATTR_ENABLED, 0);
}

}  // namespace
