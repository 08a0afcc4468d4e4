// Fixture of the device-control tests: the real start-up with the emulated board plugged, a
// model chosen through the Device menu, and the board's pauses summed instead of waited.
#pragma once

#include <vector>

#include "device/device_services.h"
#include "oslayer/os.h"
#include "shell/handles.h"
#include "tests/shell/model_test_support.h"

namespace devicetest {

using shelltest::Report;

class DeviceFixture : public modeltest::ModelFixture {
protected:
    int sleptMs = 0;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        os::SetSleeper([this](int ms) { sleptMs += ms; });
    }

    // Chooses a model through the Device menu; the reports and pauses of the choice are
    // forgotten, so a test sees only what it does itself.
    void Choose(int menuItem) {
        Menu(menuItem);
        Forget();
    }
    void Forget() {
        board->ClearReceivedReports();
        prompter.shown.clear();
        sleptMs = 0;
    }

    // A user's change of a box, ring or numeric: the value, then the commit.
    void Commit(int panel, int control, int value) {
        rt::SetCtrlVal(panel, control, value);
        rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0);
    }
    // A user's click on a command button.
    void Press(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }

    bool Dimmed(int panel, int control) {
        int d = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &d);
        return d != 0;
    }
    // Received reports cut to their announced length (header and payload).
    std::vector<Report> Reports() const {
        std::vector<Report> out;
        for (Report r : Received()) {
            if (r.size() >= 3) r.resize(std::min<size_t>(r.size(), 3u + ((r[1] << 8) | r[2])));
            out.push_back(r);
        }
        return out;
    }
    std::vector<int> CheckedModeItems() {
        std::vector<int> out;
        for (int item : {modeltest::MENUBAR_MODE_SPI3WMode, modeltest::MENUBAR_MODE_SPI4WMode,
                         modeltest::MENUBAR_MODE_I2CMode})
            if (MenuChecked(item)) out.push_back(item);
        return out;
    }
};

}  // namespace devicetest
