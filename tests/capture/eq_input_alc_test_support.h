// Fixture of the equaliser, input and ALC panel tests: the real start-up on the emulated board,
// a model chosen from the Device menu, controls changed as a user would (value, then the
// callback with the event the run-time delivers), the refresh timer ticked, and what the chip
// received read back with the pauses between the writes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "oslayer/os.h"
#include "tests/shell/model_test_support.h"

namespace capturetest {

using Writes = std::vector<std::pair<int, int>>;

class CapturePanelFixture : public modeltest::ModelFixture {
protected:
    // Milliseconds slept, each with the number of register writes the chip had received then.
    std::vector<std::pair<int, int>> sleeps;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        os::SetSleeper([this](int ms) { sleeps.emplace_back(ms, static_cast<int>(RegisterWrites().size())); });
    }

    // Chooses the model, then drops the reports, pauses and pending redraw that left behind.
    void Open(int menuItem) {
        Menu(menuItem);
        Clear();
        FlagCFGUpdate = 0;
    }
    void Clear() {
        board->ClearReceivedReports();
        sleeps.clear();
    }
    // One tick of the loaded family's refresh timer with a redraw pending.
    void Refresh(bool mono = false) {
        SetFlag(&FlagCFGUpdate);
        Tick(mono ? modeltest::PANEL_MNTIMER : modeltest::PANEL_STTIMER);
    }

    // The user sets a control: its new value, then the events the run-time delivers.
    void Commit(int panel, int control, int value) {
        rt::SetCtrlVal(panel, control, value);
        rt::CallCtrlCallback(panel, control, rt::EVENT_VAL_CHANGED, 0, 0);
        rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0);
    }
    void Commit(int panel, int control, double value) {
        rt::SetCtrlVal(panel, control, value);
        rt::CallCtrlCallback(panel, control, rt::EVENT_VAL_CHANGED, 0, 0);
        rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0);
    }

    int Val(int panel, int control) { return CtrlInt(panel, control); }
    double Real(int panel, int control) {
        double v = -1;
        rt::GetCtrlVal(panel, control, &v);
        return v;
    }
    // -1 when the ring shows nothing.
    int Index(int panel, int control) {
        int index = -2;
        rt::GetCtrlIndex(panel, control, &index);
        return index;
    }
    bool Dimmed(int panel, int control) {
        int dimmed = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &dimmed);
        return dimmed != 0;
    }
    // Total pause in milliseconds after the n-th write (n counted from 1) and before the next.
    int PauseAfterWrite(int n) const {
        int total = 0;
        for (const auto& s : sleeps)
            if (s.second == n) total += s.first;
        return total;
    }
    int TotalPause() const {
        int total = 0;
        for (const auto& s : sleeps) total += s.first;
        return total;
    }
};

// The same with `MenuItem`'s model chosen before each case and its panel `*Panel` at hand.
template <int MenuItem, int* Panel>
class OpenPanelFixture : public CapturePanelFixture {
protected:
    int P() const { return *Panel; }
    void SetUp() override {
        CapturePanelFixture::SetUp();
        if (HasFatalFailure()) return;
        Open(MenuItem);
    }
};

}  // namespace capturetest
