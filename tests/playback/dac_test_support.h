// Fixture of the DAC, clock and ADC-filter panel tests: the real start-up on the emulated board,
// a model chosen from the Device menu, commits through the panels' real callbacks, and the
// register writes the chip received with the pause taken after each one.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/shell/model_test_support.h"

namespace dactest {

using namespace ui::AudioCodec_pan;

// A register write and the time waited after it, before the next write (milliseconds).
struct TimedWrite {
    int reg;
    int value;
    int pauseMs;
    bool operator==(const TimedWrite&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TimedWrite& w) {
    return os << "R" << w.reg << "=0x" << std::hex << w.value << std::dec << " +" << w.pauseMs << "ms";
}

class PanelFixture : public modeltest::ModelFixture {
protected:
    // (writes received so far, milliseconds) for each sleep.
    std::vector<std::pair<int, int>> sleeps;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        os::SetSleeper([this](int ms) { sleeps.emplace_back(static_cast<int>(RegisterWrites().size()), ms); });
    }

    // Chooses the model, refreshes its panels and forgets what that sent.
    void Open(int menuItem, bool mono = false) {
        timer = mono ? PANEL_MNTIMER : PANEL_STTIMER;
        Menu(menuItem);
        Refresh();
        Forget();
    }
    void Forget() {
        board->ClearReceivedReports();
        sleeps.clear();
        prompter.shown.clear();
        FlagCFGUpdate = 0;
    }
    void Refresh() {
        SetFlag(&FlagCFGUpdate);
        Tick(timer);
    }

    void Commit(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }
    void Set(int panel, int control, int value) { ASSERT_GE(rt::SetCtrlVal(panel, control, value), 0) << control; }
    void Set(int panel, int control, double value) { ASSERT_GE(rt::SetCtrlVal(panel, control, value), 0) << control; }
    template <typename T>
    void Choose(int panel, int control, T value) {
        Set(panel, control, value);
        Commit(panel, control);
    }

    int Int(int panel, int control) {
        int v = -12345;
        rt::GetCtrlVal(panel, control, &v);
        return v;
    }
    double Real(int panel, int control) {
        double v = -1;
        rt::GetCtrlVal(panel, control, &v);
        return v;
    }
    bool Dimmed(int panel, int control) {
        int d = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &d);
        return d != 0;
    }
    int Index(int panel, int control) {
        int i = -2;
        rt::GetCtrlIndex(panel, control, &i);
        return i;
    }

    std::vector<std::pair<int, int>> Writes() const { return RegisterWrites(); }
    std::vector<TimedWrite> Timed() const {
        std::vector<TimedWrite> out;
        for (const auto& [reg, value] : RegisterWrites()) out.push_back({reg, value, 0});
        for (const auto& [written, ms] : sleeps)
            if (written >= 1 && written <= static_cast<int>(out.size())) out[written - 1].pauseMs += ms;
        return out;
    }
    std::vector<std::string> PopupTexts() const {
        std::vector<std::string> out;
        for (const auto& p : prompter.shown) out.push_back(p.title + "|" + p.text);
        return out;
    }

    int timer = PANEL_STTIMER;
};

}  // namespace dactest
