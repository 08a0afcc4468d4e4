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

    void SetUp() override {
        ModelFixture::SetUp();
        os::SetSleeper([this](int ms) { pauses.push_back({RegisterWrites().size(), ms}); });
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
