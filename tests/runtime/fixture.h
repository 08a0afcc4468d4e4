// Shared by the run-time suites: a fixture panel file, callbacks that record what they receive,
// and a test base that starts the run-time and cleans up after each case.
#pragma once

#include "runtime/panel_resources.h"
#include "runtime/testing.h"
#include "runtime/ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

namespace fixture {

inline const char* kFile = "fixture_pan.uir";

// Panel 1: one control of most kinds; panels 2 and 3: child panels for the tab control.
inline const char* kText = R"json({
  "file": "fixture_pan.uir",
  "panels": [
    { "resource": 1, "constant": "MAIN", "title": "Fixture", "callback": "PanelCB",
      "width": 520, "height": 420,
      "frames": [ { "name": "opts", "label": "Options", "geometry": [300, 300, 210, 110] } ],
      "controls": [
        { "id": 2, "constant": "APPLY", "kind": "command_button", "label": "Apply", "callback": "CtrlCB",
          "geometry": [10, 10, 90, 28] },
        { "id": 3, "constant": "RATE", "kind": "ring", "label": "Rate", "callback": "CtrlCB", "value": 1,
          "items": [ {"label": "48kHz", "value": 0}, {"label": "44.1kHz", "value": 1}, {"label": "32kHz", "value": 2} ],
          "geometry": [10, 44, 140, 44] },
        { "id": 4, "constant": "ENABLE", "kind": "check_box", "label": "Enable", "callback": "CtrlCB",
          "geometry": [10, 94, 120, 22] },
        { "id": 5, "constant": "GAIN", "kind": "numeric", "label": "Gain", "callback": "CtrlCB",
          "min": -10, "max": 10, "value": 3, "geometry": [10, 120, 140, 24] },
        { "id": 6, "constant": "LEVEL", "kind": "numeric", "type": "double", "precision": 2, "label": "Level",
          "min": 0, "max": 1, "geometry": [10, 150, 140, 24] },
        { "id": 7, "constant": "NAME", "kind": "string", "label": "Name", "callback": "CtrlCB", "value": "abc",
          "geometry": [10, 180, 140, 24] },
        { "id": 8, "constant": "SCRIPT", "kind": "text_box", "label": "Script", "value": "first\nsecond",
          "fixedFont": true, "geometry": [10, 210, 140, 90] },
        { "id": 9, "constant": "POWER", "kind": "led", "label": "Power", "color": 16711680, "indicator": true,
          "geometry": [10, 306, 120, 22] },
        { "id": 10, "constant": "DRAW", "kind": "canvas", "callback": "CanvasCB", "geometry": [170, 10, 120, 80] },
        { "id": 11, "constant": "TICK", "kind": "timer", "callback": "TimerCB", "interval": 0.02, "enabled": false },
        { "id": 12, "constant": "SETS", "kind": "list_box", "label": "Sets", "callback": "CtrlCB", "checkable": true,
          "items": [ {"label": "Default", "value": 0}, {"label": "Loud", "value": 1} ],
          "geometry": [170, 100, 120, 90] },
        { "id": 13, "constant": "REGS", "kind": "table", "label": "Registers", "callback": "CtrlCB", "rows": 3,
          "columns": [ {"label": "Addr", "type": "string", "width": 50, "editable": false},
                       {"label": "Hex Val", "format": "hex", "digits": 3, "width": 60, "min": 0, "max": 511},
                       {"label": "Bit 0", "min": 0, "max": 1, "width": 44},
                       {"label": "Pic", "type": "picture", "width": 30} ],
          "geometry": [300, 10, 210, 140] },
        { "id": 14, "constant": "CAPTION", "kind": "text_message", "label": "Jorbx", "callback": "CtrlCB",
          "geometry": [170, 200, 120, 20] },
        { "id": 15, "constant": "CHIP", "kind": "picture_button", "label": "KorJorb", "picture": "chip:Jorb",
          "callback": "CtrlCB", "geometry": [170, 226, 100, 60] },
        { "id": 16, "constant": "PROGRESS", "kind": "slide", "type": "double", "indicator": true, "precision": 1,
          "geometry": [10, 334, 140, 22] },
        { "id": 17, "constant": "DECO", "kind": "decoration", "geometry": [160, 296, 130, 60] },
        { "id": 18, "constant": "MODE", "kind": "ring_slide", "label": "Mode", "type": "string", "callback": "CtrlCB",
          "items": [ {"label": "Music", "value": "m"}, {"label": "Speech", "value": "s"} ],
          "geometry": [300, 156, 200, 44] },
        { "id": 19, "constant": "TABS", "kind": "canvas", "callback": "TabCB", "geometry": [300, 206, 210, 90] },
        { "id": 20, "constant": "BOOST", "kind": "check_box", "label": "Boost", "callback": "CtrlCB",
          "frame": "opts", "row": 0, "col": 0 },
        { "id": 21, "constant": "MIC", "kind": "ring", "label": "Mic", "frame": "opts", "row": 1, "col": 0,
          "items": [ {"label": "Off", "value": 0}, {"label": "On", "value": 1} ] },
        { "id": 22, "constant": "VOL", "kind": "slide", "label": "Volume", "callback": "CtrlCB", "min": -12,
          "max": 6, "step": 3, "geometry": [10, 362, 140, 44] },
        { "id": 23, "constant": "UNLABELLED", "kind": "check_box", "geometry": [160, 364, 20, 20] },
        { "id": 24, "constant": "VALUE", "kind": "numeric", "type": "unsigned", "label": "Value", "max": 511,
          "format": "hex", "callback": "CtrlCB", "geometry": [190, 362, 100, 24] }
      ] },
    { "resource": 2, "constant": "CHILD", "title": "Child A", "callback": "PanelCB", "width": 200, "height": 80,
      "controls": [ { "id": 2, "constant": "GO", "kind": "command_button", "label": "Go", "callback": "CtrlCB",
                      "geometry": [10, 10, 60, 26] } ] },
    { "resource": 3, "constant": "CHILD2", "title": "Child B", "width": 200, "height": 80, "controls": [] }
  ],
  "menubars": [
    { "resource": 1, "constant": "MENUBAR",
      "menus": [ { "id": 2, "constant": "DEVICE", "label": "Device",
                   "items": [ { "id": 3, "constant": "PYKA", "label": "KorPyka", "callback": "MenuCB" },
                              { "separator": true },
                              { "id": 4, "constant": "JORB", "label": "KorJorb", "callback": "MenuCB", "checked": true },
                              { "id": 5, "constant": "EXPORT", "label": "Export", "callback": "MenuCB", "dimmed": true } ] },
                 { "id": 6, "constant": "ABOUT", "label": "About", "callback": "MenuCB" } ] }
  ]
})json";

// Control ids of panel 1.
enum {
    APPLY = 2, RATE, ENABLE, GAIN, LEVEL, NAME, SCRIPT, POWER, DRAW, TICK, SETS, REGS, CAPTION, CHIP,
    PROGRESS, DECO, MODE, TABS, BOOST, MIC, VOL, UNLABELLED, VALUE
};

struct Event {
    int panel, control, event, data1, data2;
    bool operator==(const Event&) const = default;
};

inline std::vector<Event>& Events() {
    static std::vector<Event> events;
    return events;
}

inline std::vector<int> EventCodes(int control) {
    std::vector<int> codes;
    for (const Event& e : Events())
        if (e.control == control) codes.push_back(e.event);
    return codes;
}

// What a recording callback does besides recording (set by a test, cleared after each).
inline std::function<void(int panel, int control, int event)>& OnCtrl() {
    static std::function<void(int, int, int)> fn;
    return fn;
}

inline void RegisterRecorders() {
    auto ctrl = [](int panel, int control, int event, void*, int d1, int d2) {
        Events().push_back({panel, control, event, d1, d2});
        if (OnCtrl()) OnCtrl()(panel, control, event);
        return 0;
    };
    for (const char* name : {"CtrlCB", "CanvasCB", "TimerCB", "TabCB"}) rt::RegisterCtrlCallback(name, ctrl);
    rt::RegisterPanelCallback("PanelCB", [](int panel, int event, void*, int d1, int d2) {
        Events().push_back({panel, 0, event, d1, d2});
        return 0;
    });
    rt::RegisterMenuCallback("MenuCB", [](int bar, int item, void*, int panel) {
        Events().push_back({panel, item, -bar, 0, 0});
    });
}

class RuntimeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(rt::InitCVIRTE(), 0);
        RegisterRecorders();
        rt::RegisterPanelResource(kFile, kText);
    }

    void SetUp() override { Events().clear(); }

    void TearDown() override {
        OnCtrl() = nullptr;
        rt::testing::ResetRuntime();
        Events().clear();
    }

    // Loads panel 1 and shows it, so that events reach its widgets as they would on screen.
    int LoadMain() {
        int p = rt::LoadPanel(0, kFile, 1);
        EXPECT_GT(p, 0) << rt::LastLoadError();
        rt::DisplayPanel(p);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(rt::testing::PanelWindow(p)));
        return p;
    }

    static QWidget* W(int panel, int control) { return rt::testing::ControlWidget(panel, control); }
};

}  // namespace fixture
