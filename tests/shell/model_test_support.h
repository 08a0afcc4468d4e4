// Fixture of the model-choice and refresh-timer tests: the real start-up with the emulated
// board plugged, then choices made through the Device menu and the picture buttons.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "device/device_services.h"
#include "playback/playback_services.h"
#include "shell/model_select.h"
#include "shell/timers.h"
#include "tests/shell/shell_test_support.h"

namespace modeltest {

using namespace ui::AudioCodec_pan;

class ModelFixture : public shelltest::ShellFixture {
protected:
    std::filesystem::path home;

    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        home = std::filesystem::temp_directory_path() /
               ("codecbench-model-" + std::to_string(::getpid()));
        std::filesystem::create_directories(home);
        setenv("CODECBENCH_HOME", home.c_str(), 1);
        ResetDeviceControlState();
        ResetJorbxSampleRates();
        StartShell(true);
        if (HasFatalFailure()) return;
        // The refresh timers are ticked by the tests only.
        rt::SetCtrlAttribute(PHandlePanel, PANEL_STTIMER, rt::ATTR_ENABLED, 0);
        rt::SetCtrlAttribute(PHandlePanel, PANEL_MNTIMER, rt::ATTR_ENABLED, 0);
        board->ClearReceivedReports();
        prompter.shown.clear();
    }

    void TearDown() override {
        SetRedrawObserver(nullptr);
        ShellFixture::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
        unsetenv("CODECBENCH_HOME");
    }

    void Menu(int item) { rt::CallMenuCallback(PHandleMenu, item); }
    // One user click on a picture button: the run-time reports the press, then the release.
    void Click(int control) {
        rt::CallCtrlCallback(PHandlePanel, control, rt::EVENT_LEFT_CLICK, 0, 0);
        rt::CallCtrlCallback(PHandlePanel, control, rt::EVENT_COMMIT, 0, 0);
    }
    // A click on a text message reports the press only.
    void ClickText(int control) { rt::CallCtrlCallback(PHandlePanel, control, rt::EVENT_LEFT_CLICK, 0, 0); }

    std::vector<int> Tabs() const { return rt::EasyTab_Panels(PHandlePanel, tabCtrl); }
    int ActiveTab() const {
        int panel = 0;
        rt::EasyTab_GetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &panel);
        return panel;
    }
    std::string Title() const {
        std::string title;
        rt::GetPanelAttribute(PHandlePanel, rt::ATTR_TITLE, &title);
        return title;
    }
    std::vector<int> CheckedDeviceItems() {
        std::vector<int> out;
        for (int item = MENUBAR_DEVICE_MonoPyka; item <= MENUBAR_DEVICE_StereoZutb; ++item)
            if (MenuChecked(item)) out.push_back(item);
        return out;
    }
    bool Visible(int panel, int control) {
        int v = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_VISIBLE, &v);
        return v != 0;
    }
    // Board configuration words received, in order.
    std::vector<std::vector<uint8_t>> BoardWords() const {
        std::vector<std::vector<uint8_t>> out;
        for (const shelltest::Report& r : ReceivedWithCommand(CMD_BOARD_CONFIG))
            out.push_back({r[3], r[4]});
        return out;
    }
    // Block-read requests (first block) received: one per read-all.
    int ReadAlls() const {
        int n = 0;
        for (const shelltest::Report& r : board->ReceivedReports())
            if (!r.empty() && (r[0] & 0x3F) == CMD_CODEC_READ_BLOCK1) ++n;
        return n;
    }
    std::vector<std::string> RingLabels(int panel, int control) {
        int count = 0;
        rt::GetNumListItems(panel, control, &count);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            std::string label;
            rt::GetLabelFromIndex(panel, control, i, &label);
            out.push_back(label);
        }
        return out;
    }
};

}  // namespace modeltest
