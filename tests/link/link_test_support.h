// Shared fixture of the device-link tests: the emulated board opened through the real link,
// popups answered by script, the board's fixed waits made instant.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "boardhid/emulator_control.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "runtime/ui.h"
#include "shell/state.h"
#include "tests/support/recording_prompter.h"

namespace linktest {

using testsupport::Popup;
using testsupport::RecordingPrompter;

using Report = std::vector<uint8_t>;

class LinkTest : public ::testing::Test {
protected:
    RecordingPrompter prompter;
    rt::Prompter* previousPrompter = nullptr;
    os::Sleeper previousSleeper;
    std::vector<int> sleeps;  // every os::Sleep request, in milliseconds
    boardhid::EmulatedBoard* board = nullptr;

    void SetUp() override {
        rt::InitCVIRTE();
        previousPrompter = rt::SetPrompter(&prompter);
        previousSleeper = os::SetSleeper([this](int ms) { sleeps.push_back(ms); });
        ResetShellState();
        ASSERT_EQ(LoadHidModule(), 1) << "libboardhid.so not found beside the test";
        board = boardhid::FindEmulatedBoard();
        ASSERT_NE(board, nullptr) << "the emulated board is not active";
        board->Reset();
        bDeviceOpened = 0;
        ASSERT_EQ(USBInit(), 1);
        ASSERT_EQ(bDeviceOpened & 1, 1);
        board->ClearReceivedReports();
        sleeps.clear();
    }

    void TearDown() override {
        StopListener();
        USBcomStop();
        rt::SetPrompter(previousPrompter);
        os::SetSleeper(previousSleeper);
    }

    std::vector<Report> Received() const { return board->ReceivedReports(); }
};

}  // namespace linktest
