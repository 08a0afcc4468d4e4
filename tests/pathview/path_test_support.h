// Fixture of the path-view tests: the real start-up on the emulated board, Jorb chosen from the
// Device menu, the path tab in front, and helpers that click the canvas with real mouse events,
// tick the stereo refresh timer and read the canvas's pixels.
#pragma once

#include <QPoint>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "panels/cfgPathJorb_pan.h"
#include "runtime/testing.h"
#include "tests/shell/model_test_support.h"

namespace pathtest {

using namespace ui::cfgPathJorb_pan;
using namespace ui::AudioCodec_pan;

inline constexpr int kMagenta = 0xFF00FF;
inline constexpr int kGrey = 0xA0A0A0;
inline constexpr int kRed = 0xFF0000;
inline constexpr int kWhite = 0xFFFFFF;

class JorbPathFixture : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        Menu(MENUBAR_DEVICE_StereoJorb);
        ASSERT_EQ(UILoaded, UI_JORB);
        ShowTab(PHandleSTPath);
        Refresh();
        board->ClearReceivedReports();
        prompter.shown.clear();
    }

    void ShowTab(int panel) {
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, panel);
        rt::ProcessSystemEvents();
    }

    // One tick of the stereo refresh timer with a redraw pending.
    void Refresh() {
        SetFlag(&FlagCFGUpdate);
        Tick(PANEL_STTIMER);
    }

    QWidget* Canvas() { return rt::testing::ControlWidget(PHandleSTPath, CFGPATHJorb_CVSCONFIG); }

    // A real mouse press and release on the canvas, at canvas pixel (x, y).
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(Canvas(), button, {}, QPoint(x, y));
    }

    int Pixel(int x, int y) {
        int colour = -1;
        EXPECT_EQ(rt::CanvasGetPixel(PHandleSTPath, CFGPATHJorb_CVSCONFIG, rt::MakePoint(x, y), &colour), 0);
        return colour;
    }

    bool Shown(int control) { return Visible(PHandleSTPath, control); }
    int Ring(int control) { return CtrlInt(PHandleSTPath, control); }
    std::string Text(int control) {
        std::string text;
        rt::GetCtrlVal(PHandleSTPath, control, &text);
        return text;
    }

    // A ring chosen by the user: the value set, then the commit the run-time delivers.
    void Choose(int control, int value) {
        ASSERT_EQ(rt::SetCtrlVal(PHandleSTPath, control, value), 0) << "no item of value " << value;
        rt::CallCtrlCallback(PHandleSTPath, control, rt::EVENT_COMMIT, 0, 0);
    }
    // A picture button pressed and released with the mouse.
    void Press(int control) {
        QTest::mouseClick(rt::testing::ControlWidget(PHandleSTPath, control), Qt::LeftButton, {}, QPoint(5, 5));
    }

    std::vector<std::pair<int, int>> Writes() const { return RegisterWrites(); }
    const PathTables& Tables() { return SharedPathTables(); }
    bool GroupOn(int g) { return SharedPathTables().groups[g].on != 0; }
    int ActivePanel() const { return ActiveTab(); }
};

}  // namespace pathtest
