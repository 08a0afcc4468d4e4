// Fixture of the demo-panel tests: the real start-up on the emulated board, models chosen
// through the Device menu, popups recorded, and every wait recorded (and made instant) with the
// number of register writes the chip had received when it began, so tests can check where the
// pauses fall.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "device/device_services.h"
#include "tests/shell/model_test_support.h"

namespace demotest {

using namespace ui::AudioCodec_pan;
using Write = std::pair<int, int>;  // (register, value)

class DemoFixture : public modeltest::ModelFixture {
protected:
    struct Pause {
        size_t afterWrites;  // register writes received when the sleep began
        int ms;
    };
    std::vector<Pause> pauses;
    // Recording a pause looks at every report received so far: tests that check where pauses
    // fall turn it on.
    bool recordPauses = false;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        os::SetSleeper([this](int ms) {
            if (recordPauses) pauses.push_back({RegisterWrites().size(), ms});
        });
        STLout1CurrentVOL = STRout1CurrentVOL = STLout2CurrentVOL = STRout2CurrentVOL = 0;
        MNSPKCurrentVOL = 0;
    }
    void TearDown() override {
        os::SetSleeper([](int) {});
        ModelFixture::TearDown();
    }

    // Chooses a model and forgets what that did on the board, in popups and in waits.
    void Choose(int menuItem) {
        Menu(menuItem);
        Forget();
    }
    void Forget() {
        board->ClearReceivedReports();
        prompter.shown.clear();
        pauses.clear();
        FlagCFGUpdate = 0;
    }

    // The demo panel under test: the user sets one of its controls (or one of `onPanel`) to
    // `value` and lets go; what a control shows.
    int panel = 0;
    template <typename T>
    void Commit(int control, T value, int onPanel = 0) {
        const int p = onPanel ? onPanel : panel;
        rt::SetCtrlVal(p, control, value);
        rt::CallCtrlCallback(p, control, rt::EVENT_COMMIT, 0, 0);
    }
    double Shown(int control) {
        double v = 0;
        rt::GetCtrlVal(panel, control, &v);
        return v;
    }
    int ShownInt(int control, int onPanel = 0) { return CtrlInt(onPanel ? onPanel : panel, control); }

    std::vector<int> WrittenRegisters() const {
        std::vector<int> out;
        for (const Write& w : RegisterWrites()) out.push_back(w.first);
        return out;
    }
    // Milliseconds slept between the n-th and the (n+1)-th register write (n counted from 1;
    // n = the number of writes: after the last one).
    int SleptAfterWrite(size_t n) const {
        int total = 0;
        for (const Pause& p : pauses)
            if (p.afterWrites == n) total += p.ms;
        return total;
    }
    int TotalSlept() const {
        int total = 0;
        for (const Pause& p : pauses) total += p.ms;
        return total;
    }
};

}  // namespace demotest
