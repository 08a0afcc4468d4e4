// Shared fixture of the shell tests: the emulated board reached through the real device link,
// popups answered by script and recorded, the board's fixed waits made instant, and the real
// start-up run on demand. Other shell suites may use it as it is.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "boardhid/emulator_control.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "tests/support/recording_prompter.h"
#include "shell/devchange.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace shelltest {

using testsupport::Popup;
using testsupport::RecordingPrompter;

using Report = std::vector<uint8_t>;

// Each test starts with the emulated board plugged and closed, the shell state at its start
// values and no panel loaded; StartShell() runs the real start-up. The board identifies itself
// as kBoardId62 / kBoardId95, so start-up reads its identity and nothing more (no audio-id
// probe, no communication mode); tests that need another identity set it before StartShell().
inline constexpr uint16_t kBoardId62 = 0xFE;
inline constexpr uint16_t kBoardId95 = 0x1A;

class ShellFixture : public ::testing::Test {
protected:
    RecordingPrompter prompter;
    rt::Prompter* previousPrompter = nullptr;
    os::Sleeper previousSleeper;
    boardhid::EmulatedBoard* board = nullptr;

    void SetUp() override {
        // The suite runs headless on the emulated board even when started by hand.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("BOARDHID_BACKEND", "emulator", 0);
        ASSERT_EQ(rt::InitCVIRTE(), 0);
        previousPrompter = rt::SetPrompter(&prompter);
        previousSleeper = os::SetSleeper([](int) {});
        ASSERT_EQ(LoadHidModule(), 1) << "libboardhid.so not found beside the test";
        board = boardhid::FindEmulatedBoard();
        ASSERT_NE(board, nullptr) << "the emulated board is not active";
        CloseLink();
        board->Reset();
        board->SetIdentity(kBoardId62, kBoardId95);
        DrainDeviceNotices();  // left over from an earlier test
        CloseLink();
        board->ClearReceivedReports();
        ResetShellState();
        ResetPanelHandles();
        prompter.shown.clear();
    }

    void TearDown() override {
        CloseLink();
        DrainDeviceNotices();
        DiscardShellPanels();
        ResetShellState();
        ResetPanelHandles();
        rt::SetPrompter(previousPrompter);
        os::SetSleeper(previousSleeper);
    }

    // Runs start-up with the board present (plugged) or absent. The start poll and the
    // chip-identification timer are stopped afterwards, so only the test ticks them.
    void StartShell(bool boardPresent = true) {
        if (!boardPresent) {
            board->Unplug();
            DrainDeviceNotices();
        }
        ASSERT_EQ(ShellStartup(), 0);
        startTDevEnabled = TimerEnabled(ui::AudioCodec_pan::PANEL_TDev);
        startDevIdEnabled = TimerEnabled(ui::AudioCodec_pan::PANEL_DevIDTimer);
        rt::SetCtrlAttribute(PHandlePanel, ui::AudioCodec_pan::PANEL_TDev, rt::ATTR_ENABLED, 0);
        rt::SetCtrlAttribute(PHandlePanel, ui::AudioCodec_pan::PANEL_DevIDTimer, rt::ATTR_ENABLED, 0);
    }
    bool startTDevEnabled = false;
    bool startDevIdEnabled = false;

    // Delivers the pending arrival and removal notices to the window procedure right away.
    void DrainDeviceNotices() {
        os::DeviceMonitor* monitor = nullptr;
        RegisterForDevChange(PHandlePanel, &monitor);
        if (monitor) monitor->Dispatch();
    }

    // Runs the event loop until `done` holds or `timeoutMs` passes; true when it held.
    bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            rt::ProcessSystemEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Ticks a timer of the main panel as the run-time would.
    void Tick(int control) { rt::CallCtrlCallback(PHandlePanel, control, rt::EVENT_TIMER_TICK, 0, 0); }

    bool TimerEnabled(int control) {
        int enabled = 0;
        rt::GetCtrlAttribute(PHandlePanel, control, rt::ATTR_ENABLED, &enabled);
        return enabled != 0;
    }
    int CtrlInt(int panel, int control) {
        int value = -1;
        rt::GetCtrlVal(panel, control, &value);
        return value;
    }
    int Led(int control) { return CtrlInt(PHandlePanel, control); }
    bool CtrlDimmed(int control) {
        int dimmed = 0;
        rt::GetCtrlAttribute(PHandlePanel, control, rt::ATTR_DIMMED, &dimmed);
        return dimmed != 0;
    }
    bool MenuDimmed(int item) {
        int dimmed = 0;
        rt::GetMenuBarAttribute(PHandleMenu, item, rt::ATTR_DIMMED, &dimmed);
        return dimmed != 0;
    }
    bool MenuChecked(int item) {
        int checked = 0;
        rt::GetMenuBarAttribute(PHandleMenu, item, rt::ATTR_CHECKED, &checked);
        return checked != 0;
    }

    std::vector<Report> Received() const { return board->ReceivedReports(); }
    // The reports whose command byte is `command`.
    std::vector<Report> ReceivedWithCommand(uint8_t command) const {
        std::vector<Report> out;
        for (const Report& r : board->ReceivedReports())
            if (!r.empty() && r[0] == command) out.push_back(r);
        return out;
    }
    // The single-register writes the chip received, as (register, value).
    std::vector<std::pair<int, int>> RegisterWrites() const {
        std::vector<std::pair<int, int>> out;
        for (const Report& r : board->ReceivedReports())
            if (r.size() >= 5 && (r[0] & 0x3F) == CMD_CODEC_WRITE_ONE && (r[0] & 0xC0) != 0)
                out.emplace_back(r[3] >> 1, ((r[3] & 1) << 8) | r[4]);
        return out;
    }

    // Stops the listener and closes the board, as a fresh process would find them.
    static void CloseLink() {
        StopListener();
        USBcomStop();
        bDeviceOpened = 0;
    }
};

}  // namespace shelltest
